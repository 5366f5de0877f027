// The on-screen keyboard, driven by synthetic mouse events on the real components: notes and their
// release whatever the octave, position velocity, glissandi, lost releases, hit testing, the octave
// strip, the velocity bar, snapping; and against the simulator, host wheels that move ours without
// sending and a window closed with a key held.
#include "WidgetTestSupport.h"

#include "plugin/ZentakAudioProcessor.h"
#include "plugin/ZentakAudioProcessorEditor.h"
#include "synthlink/SystemMidiDevices.h"
#include "synthlink/simulator/EvolverSimulator.h"
#include "ui/keyboard/KeyBrd.h"
#include "ui/main/MainComp.h"

using namespace zentak;
using namespace zentak::test;

namespace
{
struct KeyTest : SkinTest, StateRig
{
    std::unique_ptr<MidiCntrState> state;
    std::unique_ptr<KeyBrd> keyboard;
    bool buttonDown = true;

    void SetUp() override
    {
        state = std::make_unique<MidiCntrState>(options());
        state->ports().openOutputPort(1);
        state->instrumentChannel = 2;
        keyboard = std::make_unique<KeyBrd>(*state);
        pad().buttonHeld = [this] { return buttonDown; };
    }

    PianoPad& pad() { return keyboard->pad(); }
    KeyOverlay& overlay() { return pad().overlay(); }
    /** A point on key i: low on a white key (below the black keys), high on a black one. */
    juce::Point<float> on(int i) const
    {
        auto& k = keyboard->pad().key(i);
        const float y = k.getKind() == PianoKey::white ? 130.0f : 50.0f;
        return {(float)k.getX() + (float)k.getWidth() * 0.5f, y * keyboard->getScale()};
    }
    void down(juce::Point<float> p) { overlay().mouseDown(mouse(overlay(), p.x, p.y)); }
    void drag(juce::Point<float> p) { overlay().mouseDrag(mouse(overlay(), p.x, p.y)); }
    void up(juce::Point<float> p) { overlay().mouseUp(mouse(overlay(), p.x, p.y)); }

    std::vector<std::vector<juce::uint8>> sent()
    {
        state->ports().waitUntilSent();
        auto m = devices->messages();
        devices->sent.clear();
        return m;
    }
    int sounding() const
    {
        int n = 0;
        for (int i = 0; i < PianoPad::numKeys; ++i)
            n += keyboard->pad().key(i).isPressed() ? 1 : 0;
        return n;
    }
};
} // namespace

TEST_F(KeyTest, KeysPlayTheirNotesOnTheInstrumentChannel)
{
    struct Case
    {
        int key, octave;
        std::vector<std::vector<juce::uint8>> sent;
    };
    const Case cases[] = {
        {0, 3, {bytes({0x91, 36, 100}), bytes({0x81, 36, 0})}},
        {1, 3, {bytes({0x91, 37, 100}), bytes({0x81, 37, 0})}},
        {91, 3, {bytes({0x91, 127, 100}), bytes({0x81, 127, 0})}},
        {92, 3, {}},
        {93, 3, {}},
        {93, 0, {bytes({0x91, 93, 100}), bytes({0x81, 93, 0})}},
    };
    for (const auto& c : cases)
    {
        state->keyboardOctave = c.octave;
        down(on(c.key));
        EXPECT_EQ(overlay().dragKey, c.key);
        up(on(c.key));
        EXPECT_EQ(sent(), c.sent) << c.key << "/" << c.octave;
        EXPECT_EQ(sounding(), 0);
    }
    juce::MidiBuffer host;
    state->drainHostQueue(host, 100);
    EXPECT_TRUE(host.isEmpty()) << "notes go to the instrument only";
}

TEST_F(KeyTest, PositionVelocityComesFromWhereTheKeyIsStruck)
{
    EXPECT_EQ(keyboard->velocityBar().getVelocity(), 100);
    keyboard->velocityBar().setVelocity(0);
    struct Case
    {
        int key;
        float y;      // unscaled height of the press
        int velocity; // -1: nothing is sent
    };
    const Case cases[] = {
        {0, 100.0f, 60}, {0, 0.0f, 5}, {0, 60.0f, 10}, {1, 80.0f, 101}, {1, 1.0f, 5}, {2, 150.0f, 124},
    };
    for (float s : {1.0f, 1.5f})
    {
        keyboard->setDisplayScale(s);
        for (const auto& c : cases)
        {
            const auto& k = pad().key(c.key);
            const float x = (float)k.getX() + 3.0f;
            down({x, c.y * s});
            up({x, c.y * s});
            const auto m = sent();
            ASSERT_EQ(m.size(), 2u) << c.key << " at " << c.y << " scale " << s;
            EXPECT_EQ(m[0][2], c.velocity) << c.key << " at " << c.y << " scale " << s;
        }
    }
    EXPECT_EQ(PianoKey::positionVelocity(PianoKey::white, 160.0f), -1) << "below the keys";
}

TEST_F(KeyTest, AKeyReleasesTheNoteItSentWhateverTheOctaveIsNow)
{
    down(on(4)); // E at octave 3: 40
    keyboard->octaveStrip().setFirstNote(72);
    state->keyboardOctave = 6;
    state->instrumentChannel = 9;
    up(on(4));
    EXPECT_EQ(sent(), (std::vector<std::vector<juce::uint8>>{bytes({0x91, 40, 100}), bytes({0x81, 40, 0})}));

    // Octave 6: key 60 would be 132; nothing sounds, so nothing is left pressed to release later.
    down(on(60));
    EXPECT_FALSE(pad().key(60).isPressed());
    up(on(60));
    EXPECT_TRUE(sent().empty());
}

TEST_F(KeyTest, GlissandoHoldsOneNoteAtATime)
{
    down(on(0));
    drag(on(0));
    EXPECT_EQ(sounding(), 1);
    drag(on(2)); // onto D: C is released on this event ...
    EXPECT_EQ(sounding(), 0);
    drag(on(2)); // ... and D pressed on the next
    EXPECT_EQ(sounding(), 1);
    EXPECT_TRUE(pad().key(2).isPressed());
    drag(on(4));
    drag(on(4));
    up(on(4));
    EXPECT_EQ(sent(), (std::vector<std::vector<juce::uint8>>{bytes({0x91, 36, 100}), bytes({0x81, 36, 0}),
                                                             bytes({0x91, 38, 100}), bytes({0x81, 38, 0}),
                                                             bytes({0x91, 40, 100}), bytes({0x81, 40, 0})}));
}

TEST_F(KeyTest, AHeldKeyIsReleasedWhenTheReleaseNeverArrives)
{
    down(on(7));
    drag({on(7).x, 2000.0f}); // dragged far below the pad
    pad().timerCallback();
    EXPECT_TRUE(pad().key(7).isPressed()) << "the button is still down";
    buttonDown = false; // let go outside the window, the release went elsewhere
    pad().timerCallback();
    EXPECT_FALSE(pad().key(7).isPressed());
    EXPECT_EQ(overlay().dragKey, -1);
    EXPECT_EQ(sent(), (std::vector<std::vector<juce::uint8>>{bytes({0x91, 43, 100}), bytes({0x81, 43, 0})}));
}

TEST_F(KeyTest, KeysShowTheirStateAfterTheirTimers)
{
    auto& k = pad().key(0);
    const auto upImage = render(k);
    down(on(0));
    EXPECT_FALSE(k.isDrawnPressed()) << "shown 20 ms later";
    const auto downImage = render(k);
    EXPECT_TRUE(k.isDrawnPressed());
    int differing = 0;
    for (int y = 0; y < upImage.getHeight(); ++y)
        for (int x = 0; x < upImage.getWidth(); ++x)
            differing += upImage.getPixelAt(x, y) != downImage.getPixelAt(x, y) ? 1 : 0;
    EXPECT_GT(differing, 100);
    up(on(0));
}

TEST_F(KeyTest, HitTestingFollowsTheKeysAtEveryScale)
{
    for (float s : {1.0f, 0.8f, 1.25f})
    {
        keyboard->setDisplayScale(s);
        const int d = (int)(25.0f * s);
        EXPECT_EQ(pad().getWidth(), d * 55) << s;
        for (int i : {1, 3, 6, 8, 10, 90})
        {
            const auto& k = pad().key(i);
            const float right = (float)k.getRight();
            EXPECT_EQ(pad().keyAt(right + 2.0f * s - 0.5f, 10.0f), i) << i << " at " << s;
            EXPECT_EQ(pad().keyAt(right + 2.0f * s + 0.5f, 10.0f), i + 1) << i << " at " << s;
            EXPECT_EQ(pad().keyAt(right + 2.0f, 140.0f * s), i + 1) << "below the black keys" << s;
        }
        EXPECT_EQ(pad().keyAt(-1.0f, 140.0f * s), -1);
        EXPECT_EQ(pad().keyAt((float)pad().getWidth() - 1.0f, 140.0f * s), 93);
    }
}

TEST_F(KeyTest, OctaveStripChoosesTheOctave)
{
    auto& strip = keyboard->octaveStrip();
    EXPECT_EQ(strip.getFirstNote(), 36);
    // The middle of white key k of the strip (3.573 pixels each) gives that white key's note.
    for (auto [k, note] : {std::pair{0.5f, 0}, std::pair{1.5f, 2}, std::pair{2.5f, 4}, std::pair{3.5f, 5},
                           std::pair{6.5f, 11}, std::pair{7.5f, 12}, std::pair{20.5f, 35}})
        EXPECT_EQ(OctaveKeyClass::noteAtPixel(3.573f * k), note) << k;
    struct Case
    {
        int note, first, octave;
    };
    for (auto c : {Case{100, 72, 6}, Case{-3, 0, 0}, Case{47, 36, 3}, Case{60, 60, 5}})
    {
        strip.setFirstNote(c.note);
        EXPECT_EQ(strip.getFirstNote(), c.first) << c.note;
    }
    // Clicks: at the left end, the first octave; at the right end, the highest (72).
    const auto click = [&strip](float x) { strip.mouseDown(mouse(strip, x, 4)); };
    click(0.0f);
    EXPECT_EQ(state->keyboardOctave, 0);
    click((float)strip.getWidth());
    EXPECT_EQ(strip.getFirstNote(), 72);
    EXPECT_EQ(state->keyboardOctave, 6);
    click(-2.0f);
    EXPECT_EQ(state->keyboardOctave, 6) << "outside the strip: ignored";

    // A new keyboard shows the octave the keys play.
    KeyBrd again(*state);
    EXPECT_EQ(again.octaveStrip().getFirstNote(), 72);
}

TEST_F(KeyTest, VelocityBarNeverShowsMinusOne)
{
    VelIndClass fresh(state.get());
    VelIndClass zero(state.get());
    zero.setVelocity(0);
    const auto a = render(fresh), b = render(zero);
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            ASSERT_EQ(a.getPixelAt(x, y), b.getPixelAt(x, y)) << x << "," << y;
}

TEST_F(KeyTest, TopBarDragsAndSnaps)
{
    struct Case
    {
        float scale;
        int releasedAt, snapsTo;
    };
    const Case cases[] = {
        {1.0f, 640, 686}, {1.0f, 500, 534},  {1.0f, 300, 300},  {1.0f, 601, 686},  {1.0f, 449, 534},
        {1.0f, 448, 448}, {0.75f, 480, 514}, {0.75f, 375, 400}, {0.75f, 225, 225}, {1.0f, 10, 28},
    };
    for (const auto& c : cases)
    {
        keyboard->setDisplayScale(c.scale);
        const int rest = (int)(686.0f * c.scale);
        EXPECT_EQ(keyboard->getY(), rest);
        keyboard->mouseDown(mouse(*keyboard, 100, 5));
        keyboard->mouseDrag(mouse(*keyboard, 100, 5.0f + (float)(c.releasedAt - rest)));
        keyboard->mouseUp(mouse(*keyboard, 100, 5));
        EXPECT_EQ(keyboard->getY(), c.snapsTo) << c.releasedAt << " at " << c.scale;
        EXPECT_EQ(keyboard->getX(), 0);
    }
    // A press below the bar moves nothing.
    keyboard->setDisplayScale(1.0f);
    keyboard->mouseDown(mouse(*keyboard, 500, 60));
    keyboard->mouseDrag(mouse(*keyboard, 500, -200));
    keyboard->mouseUp(mouse(*keyboard, 500, -200));
    EXPECT_EQ(keyboard->getY(), 686);
}

// The keyboard in the window, with the simulator as the instrument ------------------------------------

namespace
{
struct WindowTest : SkinTest
{
    TempFolder temp;
    std::shared_ptr<SystemMidiDevices> devices = std::make_shared<SystemMidiDevices>(false);
    std::unique_ptr<ZentakAudioProcessor> processor;

    void SetUp() override
    {
        processor =
            std::make_unique<ZentakAudioProcessor>(MidiCntrStateOptions{temp.folder, {}, devices, false});
        processor->state().selectOutputPort(1);
        processor->prepareToPlay(44100.0, 256);
    }
    void TearDown() override { processor->releaseResources(); }

    EvolverSimulator& sim() { return devices->simulator(); }
    size_t settledCount()
    {
        processor->state().ports().waitUntilSent();
        sim().waitUntilIdle();
        return sim().receivedCount();
    }
    /** One audio block carrying the given host MIDI; returns what the block sends to the host. */
    juce::MidiBuffer block(std::initializer_list<juce::MidiMessage> in)
    {
        juce::AudioBuffer<float> audio(2, 256);
        audio.clear();
        juce::MidiBuffer midi;
        for (const auto& m : in)
            midi.addEvent(m, 0);
        processor->processBlock(audio, midi);
        return midi;
    }
};
} // namespace

TEST_F(WindowTest, HostWheelsMoveOursWithoutSendingAnything)
{
    MainComp main(&processor->state());
    auto& keys = main.keyboard();
    EXPECT_EQ(keys.getY(), main.keyboardTop());
    const size_t before = settledCount();

    struct Case
    {
        juce::MidiMessage message;
        int pitch, modulation;
    };
    const Case cases[] = {
        {juce::MidiMessage::pitchWheel(1, 100 * 128 + 5), 100, 0},
        {juce::MidiMessage::controllerEvent(1, 1, 90), 100, 90},
        {juce::MidiMessage::controllerEvent(1, 7, 20), 100, 90}, // volume moves nothing
        {juce::MidiMessage::pitchWheel(16, 0), 0, 90},
        {juce::MidiMessage::controllerEvent(5, 1, 0), 0, 0},
    };
    for (const auto& c : cases)
    {
        EXPECT_TRUE(block({c.message}).isEmpty());
        main.handleAsyncUpdate();
        EXPECT_EQ(keys.pitchWheel().getValue(), c.pitch) << c.message.getDescription();
        EXPECT_EQ(keys.modulationWheel().getValue(), c.modulation) << c.message.getDescription();
    }
    EXPECT_EQ(settledCount(), before) << "nothing went to the instrument";
    EXPECT_TRUE(block({}).isEmpty()) << "nothing went to the host";

    // The user's wheel plays the instrument only.
    auto& mod = keys.modulationWheel();
    mod.mouseWheelMove(mouse(mod, 5, 5), wheel(1.0f));
    EXPECT_EQ(settledCount(), before + 1);
    EXPECT_EQ(sim().received().back(), bytes({0xb0, 1, 1}));
    EXPECT_TRUE(block({}).isEmpty());
}

TEST_F(WindowTest, ClosingTheEditorWithKeysHeldSendsTheirNoteOffs)
{
    const size_t before = settledCount();
    {
        auto editor = std::unique_ptr<juce::AudioProcessorEditor>(processor->createEditorIfNeeded());
        auto& main = static_cast<ZentakAudioProcessorEditor&>(*editor).mainComponent();
        auto& pad = main.keyboard().pad();
        pad.buttonHeld = [] { return true; };
        auto& overlay = pad.overlay();
        const auto& key = pad.key(12);
        overlay.mouseDown(mouse(overlay, (float)key.getX() + 4.0f, 120.0f * pad.getScale()));
        processor->state().keyboardOctave = 1; // changed while the key sounds
    }
    settledCount();
    const auto log = sim().received();
    std::vector<std::vector<std::uint8_t>> notes;
    for (size_t i = before; i < log.size(); ++i)
        if (!log[i].empty() && (log[i][0] & 0xe0) == 0x80)
            notes.push_back(log[i]);
    EXPECT_EQ(notes, (std::vector<std::vector<std::uint8_t>>{{0x90, 48, 100}, {0x80, 48, 0}}));
}
