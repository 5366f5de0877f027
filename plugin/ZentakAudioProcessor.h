// ZentakAudioProcessor: the object the host loads. It makes no sound; it is the shell around the
// controller state and the bridge between that state and the host: host MIDI in, MIDI to the host,
// 192 host parameters, 128 host programs and the chunks. processBlock and setParameter run on the
// audio thread and neither allocate nor wait; the relays are emptied on the message thread.
#pragma once

#include "synthlink/MidiCntrState.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace zentak
{
class HostParam;

class ZentakAudioProcessor : public juce::AudioProcessor, public juce::ChangeBroadcaster, private HostNotifier
{
public:
    explicit ZentakAudioProcessor(MidiCntrStateOptions options = {});
    ~ZentakAudioProcessor() override;

    const juce::String getName() const override { return "Zentak VST"; }
    void prepareToPlay(double sampleRate, int blockSize) override;
    void releaseResources() override;
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using juce::AudioProcessor::processBlock;

    const juce::String getInputChannelName(int i) const override { return juce::String(i + 1); }
    const juce::String getOutputChannelName(int i) const override { return juce::String(i + 1); }
    bool isInputChannelStereoPair(int) const override { return true; }
    bool isOutputChannelStereoPair(int) const override { return true; }
    bool silenceInProducesSilenceOut() const override { return false; }
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return true; }
    bool isBusesLayoutSupported(const BusesLayout& layouts) const override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override { return true; }

    // Host parameters: host parameter i is edit byte i. These keep the framework's classic
    // index-based names; the hosts reach them through the 192 HostParam objects.
    static constexpr int numHostParameters = 192;
    int getNumParameters() override { return numHostParameters; }
    const juce::String getParameterName(int i) override;
    juce::String getParameterName(int i, int maximumLength) override;
    float getParameter(int i) override;
    const juce::String getParameterText(int i) override;
    juce::String getParameterText(int i, int maximumLength) override;
    void setParameter(int i, float x) override;
    /** Calls the host parameter's setValueNotifyingHost (message thread). */
    void setParameterNotifyingHost(int i, float x);
    /** Host value to byte: maximum x x in single precision, rounded half to even; x limited to 0..1. */
    static int hostToByte(float x, int maximum);

    // Host programs.
    int getNumPrograms() override { return 128; }
    int getCurrentProgram() override { return controller.currentHostProgram.load(); }
    void setCurrentProgram(int index) override;
    const juce::String getProgramName(int index) override;
    void changeProgramName(int index, const juce::String& newName) override;

    // Chunks.
    void getStateInformation(juce::MemoryBlock& destData) override;
    void setStateInformation(const void* data, int sizeInBytes) override;
    void getCurrentProgramStateInformation(juce::MemoryBlock& destData) override;
    void setCurrentProgramStateInformation(const void* data, int sizeInBytes) override;

    MidiCntrState& state() { return controller; }
    const MidiCntrState& state() const { return controller; }

    /** The editor's size, kept while the window is closed; 0 x 0 until a window has chosen one from
        the screen it opens on. */
    int editorWidth = 0, editorHeight = 0;
    /** The first editor size for a screen whose usable area (taskbars excluded) is w x h: the largest
        of the designed sizes whose window, with a title bar, fits the area in both directions. */
    static juce::Point<int> editorSizeForScreenArea(int w, int h);
    static constexpr int minimumEditorWidth = 730, maximumEditorWidth = 1928;

private:
    /** Stereo through, in a host. The standalone app makes no sound and takes no audio input, so it
        never asks for the microphone nor warns about a feedback loop. */
    static BusesProperties busesForWrapper();
    // HostNotifier: the controller state's gestures and values, passed on to the host.
    void hostGestureBegin(int index) override;
    void hostValue(int index, int byte, bool fromInstrument) override;
    void hostGestureEnd(int index) override;
    void hostValuesReplaced() override;

    MidiCntrState controller;
    // Set on the message thread while a value from the instrument is handed to the host: the byte is
    // in the edit record already and is not stored or sent again.
    std::atomic<bool> passingInstrumentValue{false};
    juce::Array<HostParam*> hostParams;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ZentakAudioProcessor)
};

} // namespace zentak
