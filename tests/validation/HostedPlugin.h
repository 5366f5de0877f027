// HostedPlugin: loads one built artefact of the plug-in through the framework's plug-in hosting, the
// way a host does, and offers the small steps the validation checks share (pumping the message loop,
// running audio blocks, reading all parameter values). Message thread, except processBlocks, which
// the checks also call from an audio thread of their own.
#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <vector>

namespace zentak::validation
{
enum class Format
{
    vst2,
    vst3,
    lv2
};

const char* formatName(Format format);

/** The plug-in's editor sizes, widest first: the first one that fits the screen's usable area, less
    a window frame and title bar, is the size the editor opens at. */
struct EditorSize
{
    int width, height;
};
extern const EditorSize editorSizes[6];
juce::Point<int> editorSizeForScreenArea(int screenWidth, int screenHeight);

/** The plug-in's own host parameters: the first 192 a host sees, in order. */
constexpr int numOwnParameters = 192;

struct HostedPlugin
{
    std::unique_ptr<juce::AudioPluginInstance> instance;
    juce::String error;

    /** Every parameter the host sees, in the host's order (the plug-in's own and the format's). */
    juce::Array<juce::AudioProcessorParameter*> allParameters() const;
    /** The plug-in's own 192 parameters in the plug-in's order (an LV2 host orders them by its own
        rule; they are matched by their identifiers there). Empty when any is missing. */
    juce::Array<juce::AudioProcessorParameter*> parameters() const;
    std::vector<float> parameterValues(int count = numOwnParameters) const;
    juce::MemoryBlock state() const;
};

/** Loads the artefact of the given format from the build tree, created at 48 kHz / 512. */
HostedPlugin loadPlugin(Format format);

/** Installs the host's own X error handler (message thread). */
void keepXErrorsHarmless();

/** Runs the message loop for the given time, so the plug-in's and the host's messages are handled. */
void pumpMessages(int milliseconds);

/** Stereo test signal: a different ramp per channel and per block, never silence. */
void fillSignal(juce::AudioBuffer<float>& buffer, int seed);

/** True when every sample of a equals the one of b. */
bool sameAudio(const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b);

/** Writes the plug-in's port settings so that its next instance opens the given devices ("" none). */
void choosePluginMidiDevices(const juce::String& input, const juce::String& output);
} // namespace zentak::validation
