#include "ZentakAudioProcessor.h"

#include "HostParam.h"
#include "StateChunks.h"
#include "ZentakAudioProcessorEditor.h"
#include "sounddata/ParDes.h"

#include <cmath>

namespace zentak
{
ZentakAudioProcessor::ZentakAudioProcessor(MidiCntrStateOptions options)
    : juce::AudioProcessor(BusesProperties()
                               .withInput("Input", juce::AudioChannelSet::stereo(), true)
                               .withOutput("Output", juce::AudioChannelSet::stereo(), true)),
      controller(std::move(options))
{
    for (int i = 0; i < numHostParameters; ++i)
    {
        auto* p = new HostParam(*this, i);
        hostParams.add(p);
        addParameter(p);
    }

    controller.valueRelay().addChangeListener(this);
    controller.gestureEndRelay().addChangeListener(this);
    controller.gestureBeginRelay().addChangeListener(this);

    // The standalone app started with --simulator talks to the built-in instrument simulator.
    if (wrapperType == wrapperType_Standalone &&
        juce::JUCEApplicationBase::getCommandLineParameterArray().contains("--simulator"))
    {
        const juce::String sim("Evolver Simulator");
        controller.selectInputPort(controller.inputDeviceNames().indexOf(sim) + 1);
        controller.selectOutputPort(controller.outputDeviceNames().indexOf(sim) + 1);
    }

    int screenWidth = 0;
    if (auto* display = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay())
        screenWidth = display->userArea.getWidth();
    const auto size = editorSizeForScreenWidth(screenWidth);
    editorWidth = size.x;
    editorHeight = size.y;
}

ZentakAudioProcessor::~ZentakAudioProcessor()
{
    controller.valueRelay().removeChangeListener(this);
    controller.gestureEndRelay().removeChangeListener(this);
    controller.gestureBeginRelay().removeChangeListener(this);
}

juce::Point<int> ZentakAudioProcessor::editorSizeForScreenWidth(int w)
{
    if (w < 1030)
        return {964, 516};
    if (w < 1160)
        return {1124, 602};
    if (w < 1290)
        return {1205, 645};
    if (w < 1410)
        return {1365, 731};
    if (w < 1600)
        return {1526, 817};
    return {1607, 860};
}

bool ZentakAudioProcessor::isBusesLayoutSupported(const BusesLayout& layouts) const
{
    return layouts.getMainInputChannelSet() == juce::AudioChannelSet::stereo() &&
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
    // A value reported by the instrument's own panel is stored and shown, never sent back.
    const bool fromInstrument = controller.consumeInstrumentValue(i, v);
    if (v == controller.editByte(i))
        return;
    controller.hostBank().setEditByte(i, (std::uint8_t)v);
    if (!fromInstrument)
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
    controller.currentHostProgram.store(index);
    if (controller.hostDialogOpen.load())
    {
        controller.addEditorCommand(180);
        sendChangeMessage();
        return;
    }
    controller.loadHostProgram();
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
}

void ZentakAudioProcessor::getCurrentProgramStateInformation(juce::MemoryBlock& destData)
{
    chunks::writeProgram(controller, destData);
}

void ZentakAudioProcessor::setCurrentProgramStateInformation(const void* data, int sizeInBytes)
{
    chunks::readProgram(controller, data, sizeInBytes);
}

// Relays -----------------------------------------------------------------------------------------

void ZentakAudioProcessor::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    if (source == &controller.valueRelay())
    {
        for (const auto& e : controller.valueRelay().take())
            setParameterNotifyingHost(e.index, e.value);
        return;
    }

    const bool begin = source == &controller.gestureBeginRelay();
    if (!begin && source != &controller.gestureEndRelay())
        return;
    for (const auto& e : (begin ? controller.gestureBeginRelay() : controller.gestureEndRelay()).take())
    {
        if (e.index < 0 || e.index >= hostParams.size())
            continue;
        auto* p = hostParams.getUnchecked(e.index);
        if (begin)
            p->beginGesture();
        else
            p->endGesture();
    }
}
} // namespace zentak
