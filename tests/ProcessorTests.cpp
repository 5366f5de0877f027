#include "TestSupport.h"
#include "synthlink/SystemMidiDevices.h"
#include "synthlink/simulator/EvolverSimulator.h"
#include "plugin/HostParam.h"
#include "plugin/StateChunks.h"
#include "plugin/ZentakAudioProcessor.h"
#include "plugin/ZentakAudioProcessorEditor.h"

#include <gtest/gtest.h>

using namespace zentak;
using namespace zentak::test;

namespace
{
struct ProcessorFixture : ::testing::Test, StateRig
{
    std::unique_ptr<ZentakAudioProcessor> processor;

    void SetUp() override { processor = make(); }

    std::unique_ptr<ZentakAudioProcessor> make() { return std::make_unique<ZentakAudioProcessor>(options()); }

    MidiCntrState& state() { return processor->state(); }
};

struct GestureListener : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override
    {
        changes.emplace_back(index, value);
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override
    {
        events.push_back(index + 1000);
    }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override
    {
        events.push_back(index + 2000);
    }
    std::vector<std::pair<int, float>> changes;
    std::vector<int> events;
};
} // namespace

TEST_F(ProcessorFixture, ReportedProperties)
{
    EXPECT_EQ(processor->getName(), juce::String("Zentak VST"));
    EXPECT_STREQ(JucePlugin_Name, "Zentak Control");
    EXPECT_STREQ(JucePlugin_Manufacturer, "Marlovinex");
    EXPECT_STREQ(JucePlugin_VersionString, "2.0.2");
    EXPECT_EQ(JucePlugin_PluginCode, 0x4b767262); // 'Kvrb'
    EXPECT_EQ(JucePlugin_IsSynth, 0);
    EXPECT_TRUE(processor->acceptsMidi());
    EXPECT_TRUE(processor->producesMidi());
    EXPECT_EQ(processor->getTotalNumInputChannels(), 2);
    EXPECT_EQ(processor->getTotalNumOutputChannels(), 2);
    EXPECT_EQ(processor->getInputChannelName(0), juce::String("1"));
    EXPECT_EQ(processor->getOutputChannelName(1), juce::String("2"));
    EXPECT_TRUE(processor->isInputChannelStereoPair(0));
    EXPECT_FALSE(processor->silenceInProducesSilenceOut());
    EXPECT_EQ(processor->getTailLengthSeconds(), 0.0);
    EXPECT_TRUE(processor->hasEditor());
    EXPECT_EQ(processor->getNumPrograms(), 128);
    EXPECT_EQ(processor->getCurrentProgram(), 0);
}

TEST_F(ProcessorFixture, TheHostSees192NamedParameters)
{
    const auto& ps = processor->getParameters();
    ASSERT_EQ(ps.size(), 192);
    EXPECT_EQ(processor->getNumParameters(), 192);
    for (int i = 0; i < 192; ++i)
    {
        EXPECT_EQ(ps[i]->getName(64), juce::String(params::hostName(i)));
        EXPECT_EQ(ps[i]->getName(64), processor->getParameterName(i));
        EXPECT_TRUE(ps[i]->isAutomatable());
        EXPECT_FALSE(ps[i]->isMetaParameter());
        EXPECT_EQ(ps[i]->getDefaultValue(), 0.0f);
        EXPECT_TRUE(ps[i]->getLabel().isEmpty());
    }
    EXPECT_EQ(processor->getParameterName(192), juce::String());
    EXPECT_EQ(ps[30]->getCurrentValueAsText(), juce::String("L<<>>R"));
    EXPECT_EQ(ps[66]->getCurrentValueAsText(), juce::String("120 BPM"));
    EXPECT_EQ(ps[130]->getText(1.0f, 100), juce::String("102"));
    EXPECT_EQ(processor->getParameterText(195), juce::String());
}

TEST_F(ProcessorFixture, HostScalingRoundsHalvesToEven)
{
    struct Case
    {
        float x;
        int maximum, byte;
    };
    const Case cases[] = {{0.5f, 127, 64},
                          {0.5f, 1, 0},
                          {0.5f, 3, 2},
                          {0.5f, 5, 2},
                          {0.5f, 7, 4},
                          {1.0f, 250, 250},
                          {0.0f, 76, 0},
                          {2.0f, 127, 127},
                          {-0.5f, 127, 0},
                          {std::numeric_limits<float>::quiet_NaN(), 127, 0},
                          {std::numeric_limits<float>::infinity(), 100, 100},
                          {0.3f, 10, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(ZentakAudioProcessor::hostToByte(c.x, c.maximum), c.byte) << c.x << " x " << c.maximum;
}

TEST_F(ProcessorFixture, SetParameterStoresSendsAndReportsOnce)
{
    state().ports().openOutputPort(1);
    CodeRecorder rec(state());
    processor->setParameter(10, 0.5f);
    EXPECT_EQ(state().editByte(10), 64);
    EXPECT_FLOAT_EQ(processor->getParameter(10), 64.0f / 127.0f);
    EXPECT_EQ(rec.codes, (std::vector<int>{codes::paramChanged(10, 64)}));

    processor->setParameter(10, 0.5f); // same value: nothing sent, nothing posted
    processor->setParameter(192, 1.0f);
    processor->setParameter(-1, 1.0f);
    EXPECT_EQ(rec.codes.size(), 1u);

    processor->setParameter(131, 100.0f / 102.0f); // sequencer step: command 0x08 with step 3
    processor->setParameter(56, 1.0f);             // the host scale of a sequencer destination runs to 76
    EXPECT_EQ(state().editByte(56), 76);
    EXPECT_EQ(processor->getParameterText(56), juce::String("76"));
    state().ports().waitUntilSent();
    EXPECT_EQ(devices->messages(), (std::vector<std::vector<juce::uint8>>{
                                       bytes({0xF0, 0x01, 0x20, 0x01, 0x01, 10, 0x00, 0x04, 0xF7}),
                                       bytes({0xF0, 0x01, 0x20, 0x01, 0x08, 3, 0x04, 0x06, 0xF7}),
                                       bytes({0xF0, 0x01, 0x20, 0x01, 0x01, 56, 0x0C, 0x04, 0xF7})}));
    EXPECT_EQ(processor->getParameter(195), 0.0f);
}

TEST_F(ProcessorFixture, QueuedEventsAreSpreadOverTheBlock)
{
    juce::AudioBuffer<float> audio(2, 441);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 441; ++i)
            audio.setSample(ch, i, (float)(ch + 1) * 0.001f * (float)i);
    const juce::AudioBuffer<float> original(audio);

    for (juce::uint32 t : {1000u, 1005u, 1010u})
    {
        clock.set(t);
        state().queueHostProgramChange(1, (int)t % 100);
    }
    juce::MidiBuffer midi;
    midi.addEvent(juce::MidiMessage::noteOn(1, 60, (juce::uint8)100), 3); // host MIDI is never passed through
    processor->processBlock(audio, midi);

    std::vector<int> positions;
    for (const auto meta : midi)
    {
        EXPECT_TRUE(meta.getMessage().isProgramChange());
        positions.push_back(meta.samplePosition);
    }
    EXPECT_EQ(positions, (std::vector<int>{0, 200, 401}));
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 441; ++i)
            ASSERT_EQ(audio.getSample(ch, i), original.getSample(ch, i));

    clock.set(5000);
    state().queueHostProgramChange(1, 1);
    midi.clear();
    processor->processBlock(audio, midi);
    ASSERT_EQ(midi.getNumEvents(), 1);
    EXPECT_EQ(midi.getFirstEventTime(), 0);

    midi.clear();
    processor->processBlock(audio, midi); // the queue was emptied
    EXPECT_TRUE(midi.isEmpty());
}

TEST_F(ProcessorFixture, HostProgramsAndTheSlotChooser)
{
    processor->changeProgramName(5, "Host Five");
    EXPECT_EQ(processor->getCurrentProgram(), 5);
    EXPECT_EQ(processor->getProgramName(5), juce::String("Host Five       "));
    EXPECT_EQ(state().hostBank().editName(), juce::String("Host Five       "));
    EXPECT_EQ(processor->getProgramName(128), juce::String());
    EXPECT_EQ(processor->getProgramName(-1), juce::String());

    processor->setCurrentProgram(200); // ignored
    processor->setCurrentProgram(-1);
    EXPECT_EQ(processor->getCurrentProgram(), 5);

    state().hostBank().setEditByte(0, 99);
    state().hostDialogOpen = true;
    processor->setCurrentProgram(7);
    EXPECT_EQ(processor->getCurrentProgram(), 7);
    EXPECT_EQ(state().editByte(0), 99); // the edit record is left alone
    processor->changeProgramName(7, "Ignored");
    EXPECT_EQ(processor->getProgramName(7), juce::String("Untitled        "));

    // The flag above was left set with no dialog to show it: command 180 finds no dialog and does
    // nothing, and a new window starts without the flag.
    processor->setCurrentProgram(5);
    std::unique_ptr<juce::AudioProcessorEditor> editor(processor->createEditor());
    auto* frame = dynamic_cast<ZentakAudioProcessorEditor*>(editor.get());
    ASSERT_NE(frame, nullptr);
    frame->changeListenerCallback(processor.get());
    auto& window = frame->mainComponent();
    EXPECT_EQ(window.hostDialog(), nullptr);
    EXPECT_FALSE(state().hostDialogOpen.load());

    // With the dialog open, the host's program change moves it instead of loading the program.
    window.openHostDialog(7);
    ASSERT_NE(window.hostDialog(), nullptr);
    processor->setCurrentProgram(5);
    EXPECT_EQ(state().editByte(0), 99);
    frame->changeListenerCallback(processor.get());
    EXPECT_EQ(window.hostDialog()->getProgram(), 5);
    EXPECT_EQ(window.hostDialog()->label().getText(), juce::String("5: Host Five       "));

    // Closing the editor while the dialog is open clears the flag: the host's next choice loads.
    editor.reset();
    EXPECT_FALSE(state().hostDialogOpen.load());
    processor->setCurrentProgram(5);
    EXPECT_EQ(state().editByte(0), 24);
}

TEST_F(ProcessorFixture, EditorFrameRemembersItsSizeWithinTheLimits)
{
    // From the usable area, both ways: a 1366 x 768 laptop screen (taskbar 40) gets a window whose
    // keyboard and title bar fit on it; a wide but short screen is held by its height.
    const struct
    {
        int w, h;
        juce::Point<int> size;
    } screens[] = {{1366, 728, {1205, 644}}, {1920, 1040, {1607, 858}}, {1029, 900, {964, 515}},
                   {1920, 600, {964, 515}},  {800, 560, {784, 437}},    {600, 400, {730, 408}}};
    for (const auto& sc : screens)
    {
        const auto size = ZentakAudioProcessor::editorSizeForScreenArea(sc.w, sc.h);
        EXPECT_EQ(size, sc.size) << sc.w << " x " << sc.h;
        EXPECT_EQ(size.y, MainComp::heightForWidth(size.x));
    }

    {
        std::unique_ptr<juce::AudioProcessorEditor> editor(processor->createEditor());
        auto& frame = dynamic_cast<ZentakAudioProcessorEditor&>(*editor);
        EXPECT_EQ(editor->getWidth(), processor->editorWidth);
        editor->setSize(1000, 600);
        EXPECT_EQ(frame.mainComponent().getBounds(), juce::Rectangle<int>(0, 0, 1000, 600));
        EXPECT_EQ(frame.resizeCorner().getBounds(), juce::Rectangle<int>(984, 584, 16, 16));

        auto& limits = frame.sizeLimits();
        juce::Rectangle<int> small(0, 0, 100, 100), big(0, 0, 5000, 5000);
        limits.checkBounds(small, editor->getBounds(), {}, false, false, true, true);
        limits.checkBounds(big, editor->getBounds(), {}, false, false, true, true);
        EXPECT_EQ(small.getWidth(), 730);
        EXPECT_EQ(small.getHeight(), 408); // 390 for the page and keyboard, 18 for the status strip
        EXPECT_EQ(big.getWidth(), 1928);
        EXPECT_EQ(big.getHeight(), 1030);
        // Any drag keeps the one height for its width, so that the keyboard is never cut.
        for (int w : {731, 959, 960, 1200, 1607, 1927})
        {
            juce::Rectangle<int> r(0, 0, w, 300);
            limits.checkBounds(r, editor->getBounds(), {}, false, false, true, true);
            EXPECT_EQ(r, juce::Rectangle<int>(0, 0, w, MainComp::heightForWidth(w)));
        }

        juce::Image image(juce::Image::ARGB, 1000, 600, true);
        juce::Graphics g(image);
        editor->paintEntireComponent(g, false);
        // The window leaves no pixel unpainted at a size between the designed ones.
        for (auto pt : {juce::Point<int>(2, 2), juce::Point<int>(500, 300), juce::Point<int>(997, 597)})
            EXPECT_EQ(image.getPixelAt(pt.x, pt.y).getAlpha(), 255) << pt.toString();
    }
    std::unique_ptr<juce::AudioProcessorEditor> reopened(processor->createEditor());
    EXPECT_EQ(reopened->getWidth(), 1000);
    EXPECT_EQ(reopened->getHeight(), 600);
}

TEST_F(ProcessorFixture, BankChunkRoundTripBringsBackTheEditedSound)
{
    for (int s = 0; s < 128; ++s)
        processor->changeProgramName(s, "Slot " + juce::String(s));
    processor->setCurrentProgram(9);
    processor->setParameter(16, 0.25f); // an edit not stored into any host slot
    const int edited = state().editByte(16);

    juce::MemoryBlock chunk;
    processor->getStateInformation(chunk);
    ASSERT_EQ(chunk.getSize(), (size_t)(chunks::bankChunkSize + chunks::editSectionSize));
    EXPECT_EQ(juce::String((const char*)chunk.getData(), 17), juce::String("EvolverPluginBank"));
    EXPECT_EQ(juce::String((const char*)chunk.getData() + 17, 10), juce::String("Version100"));

    auto reopened = make();
    CodeRecorder rec(reopened->state());
    reopened->setStateInformation(chunk.getData(), (int)chunk.getSize());
    for (int s = 0; s < 128; ++s)
        ASSERT_EQ(reopened->state().hostBank().getSlot(s), state().hostBank().getSlot(s)) << s;
    EXPECT_EQ(reopened->getCurrentProgram(), 9);
    EXPECT_EQ(reopened->state().editByte(16), edited);
    EXPECT_EQ(reopened->state().hostBank().getEdit(), state().hostBank().getEdit());
    EXPECT_EQ(rec.codes, (std::vector<int>{CS_EDIT_BUFFER_LOADED}));

    // A chunk of the plain 26651-byte layout restores the slots and leaves the edit record alone.
    auto plain = make();
    const auto edit = plain->state().hostBank().getEdit();
    juce::MemoryBlock older(chunk.getData(), (size_t)chunks::bankChunkSize);
    std::memcpy(static_cast<char*>(older.getData()) + 17, "Version099", 10); // any version text
    plain->setStateInformation(older.getData(), (int)older.getSize());
    EXPECT_EQ(plain->getProgramName(127), juce::String("Slot 127        "));
    EXPECT_EQ(plain->state().hostBank().getEdit(), edit);
    EXPECT_EQ(plain->getCurrentProgram(), 0);
}

TEST_F(ProcessorFixture, WrongOrShortChunksChangeNothing)
{
    juce::MemoryBlock chunk;
    processor->getStateInformation(chunk);
    juce::MemoryBlock program;
    processor->getCurrentProgramStateInformation(program);

    auto fresh = make();
    fresh->changeProgramName(0, "Untouched");
    const auto before = fresh->state().hostBank().getSlot(0);
    fresh->setStateInformation(program.getData(), (int)program.getSize());  // wrong header
    fresh->setStateInformation(chunk.getData(), chunks::bankChunkSize - 1); // one byte short
    fresh->setStateInformation(chunk.getData(), 10);
    fresh->setStateInformation(nullptr, 0);
    fresh->setCurrentProgramStateInformation(chunk.getData(), (int)chunk.getSize()); // wrong header
    fresh->setCurrentProgramStateInformation(program.getData(), chunks::programChunkSize - 1);
    EXPECT_EQ(fresh->state().hostBank().getSlot(0), before);
    EXPECT_EQ(fresh->getProgramName(0), juce::String("Untouched       "));
}

TEST_F(ProcessorFixture, ProgramChunkCommitsAndRestoresTheEditRecord)
{
    processor->setCurrentProgram(3);
    state().hostBank().setEditName("Edited Lead");
    processor->setParameter(20, 1.0f);
    juce::MemoryBlock program;
    processor->getCurrentProgramStateInformation(program);
    ASSERT_EQ(program.getSize(), 239u);
    EXPECT_EQ(juce::String((const char*)program.getData(), 21), juce::String("EvolverPluginSettings"));
    EXPECT_EQ(processor->getProgramName(3), juce::String("Edited Lead     "));

    auto other = make();
    other->setCurrentProgram(6);
    CodeRecorder rec(other->state());
    other->setCurrentProgramStateInformation(program.getData(), (int)program.getSize());
    EXPECT_EQ(other->getProgramName(6), juce::String("Edited Lead     "));
    EXPECT_EQ(other->state().editByte(20), 100);
    EXPECT_EQ(rec.codes, (std::vector<int>{CS_EDIT_BUFFER_LOADED}));
}

TEST_F(ProcessorFixture, ScreenGesturesReachTheHostInOrder)
{
    GestureListener host;
    processor->addListener(&host);
    state().beginHostGesture(20);
    state().beginHostGesture(20); // a second begin while one is open is not passed on
    state().notifyHostValue(20, 50);
    state().endHostGesture(20);
    state().endHostGesture(20);
    processor->removeListener(&host);

    EXPECT_EQ(host.events, (std::vector<int>{1020, 2020}));
    ASSERT_EQ(host.changes.size(), 1u);
    EXPECT_EQ(host.changes[0].first, 20);
    EXPECT_FLOAT_EQ(host.changes[0].second, 0.5f);
    EXPECT_EQ(state().editByte(20), 50);
}

TEST_F(ProcessorFixture, NoDeviceAtAllStaysSilentAndStable)
{
    // The simulator is offered but never chosen: no port is open, so nothing may reach it.
    auto simDevices = std::make_shared<SystemMidiDevices>(false);
    auto bare = std::make_unique<ZentakAudioProcessor>(MidiCntrStateOptions{temp.folder, {}, simDevices});
    bare->prepareToPlay(44100.0, 512);
    juce::AudioBuffer<float> audio(2, 512);
    audio.clear();
    juce::MidiBuffer midi;
    midi.addEvent(juce::MidiMessage::programChange(1, 9), 0);
    bare->processBlock(audio, midi);
    bare->setParameter(3, 0.1f);
    EXPECT_EQ(bare->state().editByte(3),
              ZentakAudioProcessor::hostToByte(0.1f, bare->state().paramMaximum[3]));
    bare->state().checkConnection();
    bare->state().selectProgram(1, 1, true, true);
    bare->state().sendNoteOn(1, 60, 100);
    bare->state().sendPitchWheel(1, 100);
    EXPECT_FALSE(bare->state().ports().isOutputOpen());
    EXPECT_FALSE(bare->state().ports().isInputOpen());
    EXPECT_EQ(bare->state().currentProgram.load(), 1);
    bare->state().ports().waitUntilSent();
    simDevices->simulator().waitUntilIdle();
    EXPECT_EQ(simDevices->simulator().receivedCount(), 0u);
    bare->releaseResources();
}
