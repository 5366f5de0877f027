#include "ZentakAudioProcessor.h"

#include "HostParam.h"
#include "StateChunks.h"
#include "ZentakAudioProcessorEditor.h"
#include "ui/main/MainComp.h"
#include "sounddata/ParDes.h"

#include <cmath>

namespace zentak
{
namespace
{
bool loadedAsStandalone()
{
    return juce::PluginHostType::getPluginLoadedAs() == juce::AudioProcessor::wrapperType_Standalone;
}

} // namespace

juce::AudioProcessor::BusesProperties ZentakAudioProcessor::busesForWrapper()
{
    BusesProperties buses;
    if (!loadedAsStandalone())
        buses = buses.withInput("Input", juce::AudioChannelSet::stereo(), true);
    return buses.withOutput("Output", juce::AudioChannelSet::stereo(), true);
}

ZentakAudioProcessor::ZentakAudioProcessor(MidiCntrStateOptions options)
    : juce::AudioProcessor(busesForWrapper()), controller(std::move(options))
{
    for (int i = 0; i < numHostParameters; ++i)
    {
        auto* p = new HostParam(*this, i);
        hostParams.add(p);
        addParameter(p);
    }

    controller.setHostNotifier(this);
    // An LV2 host starts from the declared default of every parameter; the first message-thread
    // round tells it the values of the sound actually loaded.
    if (wrapperType == wrapperType_LV2)
        controller.editRecordReplaced();

    // The standalone app started with --simulator talks to the built-in instrument simulator.
    if (wrapperType == wrapperType_Standalone &&
        juce::JUCEApplicationBase::getCommandLineParameterArray().contains("--simulator"))
    {
        const juce::String sim("Evolver Simulator");
        controller.selectInputPort(controller.inputDeviceNames().indexOf(sim) + 1);
        controller.selectOutputPort(controller.outputDeviceNames().indexOf(sim) + 1);
    }
}

ZentakAudioProcessor::~ZentakAudioProcessor()
{
    controller.setHostNotifier(nullptr);
}

juce::Point<int> ZentakAudioProcessor::editorSizeForScreenArea(int w, int h)
{
    // Room for the window's own frame and title bar, which the usable area still contains.
    constexpr int frameWidth = 16, titleBarHeight = 40;
    const int roomW = w - frameWidth, roomH = h - titleBarHeight;
    for (const int width : {1607, 1526, 1365, 1205, 1124, 964})
        if (width <= roomW && MainComp::heightForWidth(width) <= roomH)
            return {width, MainComp::heightForWidth(width)};
    // A small screen: the widest window that fits, but never below the smallest the window allows.
    int width = juce::jlimit(minimumEditorWidth, 964, roomW);
    while (width > minimumEditorWidth && MainComp::heightForWidth(width) > roomH)
        --width;
    return {width, MainComp::heightForWidth(width)};
}

bool ZentakAudioProcessor::isBusesLayoutSupported(const BusesLayout& layouts) const
{
    const auto in = layouts.getMainInputChannelSet();
    return (in == juce::AudioChannelSet::stereo() || (loadedAsStandalone() && in.isDisabled())) &&
           layouts.getMainOutputChannelSet() == juce::AudioChannelSet::stereo();
}

void ZentakAudioProcessor::prepareToPlay(double, int)
{
    setLatencySamples(0);
    controller.clearHostQueue();
}

void ZentakAudioProcessor::releaseResources()
{
    controller.clearHostQueue();
}

void ZentakAudioProcessor::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    const int numSamples = buffer.getNumSamples();

    for (const auto meta : midi)
        controller.handleHostMidi(meta.data, meta.numBytes);
    midi.clear();
    controller.drainHostQueue(midi, numSamples);

    for (int ch = getTotalNumInputChannels(); ch < getTotalNumOutputChannels(); ++ch)
        buffer.clear(ch, 0, numSamples);
}

juce::AudioProcessorEditor* ZentakAudioProcessor::createEditor()
{
    return new ZentakAudioProcessorEditor(*this);
}

// Host parameters --------------------------------------------------------------------------------

int ZentakAudioProcessor::hostToByte(float x, int maximum)
{
    if (!(x >= 0.0f)) // NaN counts as 0
        x = 0.0f;
    if (x > 1.0f)
        x = 1.0f;
    const float v = (float)maximum * x;
    const float lower = std::floor(v);
    const float frac = v - lower;
    int r = (int)lower;
    if (frac > 0.5f || (frac == 0.5f && (r & 1) != 0))
        ++r;
    return r;
}

const juce::String ZentakAudioProcessor::getParameterName(int i)
{
    return params::hostName(i);
}

juce::String ZentakAudioProcessor::getParameterName(int i, int maximumLength)
{
    return getParameterName(i).substring(0, maximumLength);
}

float ZentakAudioProcessor::getParameter(int i)
{
    if (i < 0 || i >= numHostParameters)
        return 0.0f;
    const int maximum = controller.paramMaximum[i];
    return maximum > 0 ? (float)controller.editByte(i) / (float)maximum : 0.0f;
}

const juce::String ZentakAudioProcessor::getParameterText(int i)
{
    if (i < 0 || i >= numHostParameters)
        return {};
    return ParDes::valueText(controller.paramDisplayKind[i], controller.editByte(i));
}

juce::String ZentakAudioProcessor::getParameterText(int i, int maximumLength)
{
    return getParameterText(i).substring(0, maximumLength);
}

void ZentakAudioProcessor::setParameter(int i, float x)
{
    if (i < 0 || i >= numHostParameters)
        return;
    const int maximum = controller.paramMaximum[i];
    const int v = juce::jlimit(0, juce::jmax(0, maximum), hostToByte(x, maximum));
    if (passingInstrumentValue.load() && juce::MessageManager::existsAndIsCurrentThread())
        return; // the instrument's own value, already in the edit record, on its way to the host
    if (v == controller.editByte(i))
        return;
    controller.hostBank().setEditByte(i, (std::uint8_t)v);
    controller.forgetRestoredEdit();
    // A host playing back what the instrument itself just sent (a format that returns the plug-in's
    // own changes to it) is stored and shown, never sent back.
    if (!controller.isInstrumentEcho(i, v))
    {
        if (i < params::numSoundParams)
            controller.sendParameterChange(i, v);
        else
            controller.sendSequencerStepChange(i - params::firstSeqStep, v);
    }
    controller.postChange(codes::paramChanged(i, v));
}

void ZentakAudioProcessor::setParameterNotifyingHost(int i, float x)
{
    if (i >= 0 && i < hostParams.size())
        hostParams.getUnchecked(i)->setValueNotifyingHost(x);
}

// Host programs ----------------------------------------------------------------------------------

void ZentakAudioProcessor::setCurrentProgram(int index)
{
    if (index < 0 || index >= 128)
        return;
    if (controller.keepsRestoredEdit(index))
        return; // the host re-selects the program it just restored: the restored sound stays
    controller.currentHostProgram.store(index);
    if (controller.hostDialogOpen.load())
    {
        controller.addEditorCommand(180);
        // From the audio thread (a VST3 program change arrives there) the window is woken through
        // the state's lock-free codes; a change message would lock and allocate.
        if (juce::MessageManager::existsAndIsCurrentThread())
            sendChangeMessage();
        else
            controller.postChange(CS_EDITOR_COMMAND);
        return;
    }
    controller.loadHostProgram();
    controller.sendEditRecordSoon(); // the instrument plays what the screen now shows
}

const juce::String ZentakAudioProcessor::getProgramName(int index)
{
    if (index < 0 || index >= 128)
        return {};
    return controller.hostBank().slotName(index);
}

void ZentakAudioProcessor::changeProgramName(int index, const juce::String& newName)
{
    if (index < 0 || index >= 128 || controller.hostDialogOpen.load())
        return;
    controller.hostBank().setSlotName(index, newName);
    controller.currentHostProgram.store(index);
    controller.loadHostProgram();
}

// Chunks -----------------------------------------------------------------------------------------

void ZentakAudioProcessor::getStateInformation(juce::MemoryBlock& destData)
{
    chunks::writeBank(controller, destData);
}

void ZentakAudioProcessor::setStateInformation(const void* data, int sizeInBytes)
{
    chunks::readBank(controller, data, sizeInBytes);
    // The VST3 and LV2 wrappers keep their own copy of every value: renewed now, not at the next
    // turn of the message loop, so a host reading a parameter right after the restore reads the
    // restored value.
    if (juce::MessageManager::existsAndIsCurrentThread())
        controller.deliverPendingWakes();
}

void ZentakAudioProcessor::getCurrentProgramStateInformation(juce::MemoryBlock& destData)
{
    chunks::writeProgram(controller, destData);
}

void ZentakAudioProcessor::setCurrentProgramStateInformation(const void* data, int sizeInBytes)
{
    chunks::readProgram(controller, data, sizeInBytes);
    if (juce::MessageManager::existsAndIsCurrentThread())
        controller.deliverPendingWakes();
}

// Host notifications ------------------------------------------------------------------------------

void ZentakAudioProcessor::hostGestureBegin(int index)
{
    if (index >= 0 && index < hostParams.size())
        hostParams.getUnchecked(index)->beginGesture();
}

void ZentakAudioProcessor::hostValue(int index, int byte, bool fromInstrument)
{
    if (index < 0 || index >= hostParams.size())
        return;
    const int maximum = controller.paramMaximum[index];
    const float x = maximum > 0 ? (float)byte / (float)maximum : 0.0f;
    if (!fromInstrument)
    {
        setParameterNotifyingHost(index, x);
        return;
    }
    passingInstrumentValue.store(true);
    setParameterNotifyingHost(index, x);
    passingInstrumentValue.store(false);
}

void ZentakAudioProcessor::hostGestureEnd(int index)
{
    if (index >= 0 && index < hostParams.size())
        hostParams.getUnchecked(index)->endGesture();
}

void ZentakAudioProcessor::hostValuesReplaced()
{
    // A VST 2 host re-reads the parameter values when told the display changed. The VST3 and LV2
    // wrappers keep a copy of every value of their own, which only a parameter's change message
    // renews; without it those hosts keep showing, and later play back, the sound before the
    // replacement. A host that sends the values back finds them in the edit record already, so
    // nothing reaches the instrument twice.
    updateHostDisplay(ChangeDetails().withParameterInfoChanged(true).withProgramChanged(true));
    if (wrapperType == wrapperType_VST3 || wrapperType == wrapperType_LV2)
        for (auto* p : hostParams)
            p->sendValueChangedMessageToListeners(p->getValue());
}
} // namespace zentak
