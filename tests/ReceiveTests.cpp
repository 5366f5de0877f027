// The instrument's messages as the MIDI-input thread delivers them: reassembly, dispatch and the
// mends for malformed or out-of-range input.
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace zentak;
using namespace zentak::test;

namespace
{
struct ReceiveFixture : ::testing::Test
{
    TempFolder temp;
    std::shared_ptr<RecordingDevices> devices = std::make_shared<RecordingDevices>();
    std::unique_ptr<MidiCntrState> state;
    std::unique_ptr<CodeRecorder> rec;

    void SetUp() override
    {
        state = std::make_unique<MidiCntrState>(MidiCntrStateOptions{temp.folder, {}, devices, false});
        rec = std::make_unique<CodeRecorder>(*state);
    }

    void in(std::vector<juce::uint8> bytes)
    {
        state->handleIncomingMidiMessage(nullptr, juce::MidiMessage(bytes.data(), (int)bytes.size()));
        state->deliverPendingWakes();
    }

    HostLog host;

    /** What the instrument's edits handed to the host since the last call: (index, byte) pairs. */
    std::vector<std::pair<int, int>> values()
    {
        state->setHostNotifier(&host);
        state->deliverHostEvents();
        std::vector<std::pair<int, int>> v;
        for (const auto& e : host.events)
            if (e.kind == 'v')
                v.emplace_back(e.index, e.byte);
        begins += (int)std::count_if(host.events.begin(), host.events.end(), [](auto& e) { return e.kind == 'b'; });
        host.events.clear();
        state->setHostNotifier(nullptr);
        return v;
    }
    int begins = 0;

    static std::vector<juce::uint8> programDump(int command, int bank, int slot, int fill)
    {
        std::vector<juce::uint8> record(192, (juce::uint8)fill);
        record[0] = 0x85;
        std::vector<juce::uint8> m = {
            0xF0, 0x01, 0x20, 0x01, (juce::uint8)command, (juce::uint8)bank, (juce::uint8)slot};
        m.resize(7 + 220);
        records::packProgramPayload(record.data(), m.data() + 7);
        m.push_back(0xF7);
        return m;
    }

    static std::vector<juce::uint8> nameMessage(int bank, int slot, const char* name)
    {
        std::vector<juce::uint8> m = {0xF0, 0x01, 0x20, 0x01, 0x11, (juce::uint8)bank, (juce::uint8)slot};
        for (int i = 0; i < 16; ++i)
            m.push_back((juce::uint8)name[i]);
        m.push_back(0xF7);
        return m;
    }
};
} // namespace

TEST_F(ReceiveFixture, PanelEditsBecomeHostValuesInsideGestures)
{
    struct Case
    {
        std::vector<juce::uint8> message;
        int index, value; // index -1: dropped
    };
    const Case cases[] = {
        {bytes({0xF0, 0x01, 0x20, 0x01, 0x01, 0x14, 0x0A, 0x05, 0xF7}), 20, 90},
        {bytes({0xF0, 0x01, 0x20, 0x01, 0x08, 0x03, 0x04, 0x06, 0xF7}), 131, 100},
        {bytes({0xF0, 0x7F, 0x20, 0x7F, 0x01, 0x14, 0x01, 0x00, 0xF7}), 20, 1},  // bytes 1 and 3 are not read
        {bytes({0xF0, 0x01, 0x20, 0x01, 0x01, 0x14, 0x7A, 0x75, 0xF7}), 20, 90}, // nibbles masked to 4 bits
        {bytes({0xF0, 0x01, 0x20, 0x01, 0x01, 0x14, 0x05, 0xF7}), 20, 5},        // bytes after F7 read 0
        {bytes({0xF0, 0x01, 0x20, 0x01, 0x01, 0x10, 0x0F, 0x0F, 0xF7}), 16, 164}, // limited to the maximum
        {bytes({0xF0, 0x01, 0x20, 0x01, 0x01, 0x80, 0x01, 0x00, 0xF7}), -1, 0},   // no parameter 128
        {bytes({0xF0, 0x01, 0x20, 0x01, 0x08, 0x40, 0x01, 0x00, 0xF7}), -1, 0},   // no step 64
        {bytes({0xF0, 0x01, 0x21, 0x01, 0x01, 0x14, 0x01, 0x00, 0xF7}), -1, 0},   // another family
        {bytes({0xF0, 0x7E, 0x20, 0x06, 0x01, 0x14, 0x01, 0x00, 0xF7}), -1, 0},   // device-inquiry reply
    };
    for (const auto& c : cases)
    {
        in(c.message);
        const auto v = values();
        if (c.index < 0)
        {
            EXPECT_TRUE(v.empty()) << std::hex << (int)c.message[5];
            continue;
        }
        ASSERT_EQ(v.size(), 1u);
        EXPECT_EQ(v[0], std::make_pair(c.index, c.value));
        EXPECT_EQ(state->editByte(c.index), c.value); // in the edit record as it arrives
    }
    EXPECT_EQ(begins, 3); // one gesture each for 20, 131 and 16
}

TEST_F(ReceiveFixture, SysexIsReassembledAcrossCallbacks)
{
    in(bytes({0xF8})); // a clock byte with no SysEx open
    in(bytes({0xF0, 0x01, 0x20, 0x01, 0x01, 0x14}));
    in(bytes({0xF8})); // real-time bytes never join a SysEx
    in(bytes({0x0A, 0x05, 0xF7}));
    auto v = values();
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0], std::make_pair(20, 90));

    // A partial SysEx reported by the framework is dropped, not dispatched.
    in(bytes({0xF0, 0x01, 0x20, 0x01, 0x01, 0x15}));
    state->handlePartialSysexMessage(nullptr, nullptr, 0, 0.0);
    in(bytes({0x0A, 0x05, 0xF7}));
    EXPECT_TRUE(values().empty());

    // A message beyond the reassembly cap is discarded whole.
    in(bytes({0xF0, 0x01, 0x20, 0x01, 0x01, 0x16}));
    std::vector<juce::uint8> filler(70000, 0x01);
    in(filler);
    in(bytes({0x0A, 0x05, 0xF7}));
    EXPECT_TRUE(values().empty());
}

TEST_F(ReceiveFixture, ProgramDumpsOutsideABankReceive)
{
    state->programBank(2)->setSlotName(9, "Kept Name");
    in(programDump(0x02, 2, 9, 33));
    EXPECT_EQ(state->currentBank.load(), 2);
    EXPECT_EQ(state->currentProgram.load(), 9);
    EXPECT_EQ(state->programBank(2)->slotData(9)[5], 33);
    EXPECT_EQ(state->programBank(2)->slotData(9)[0], 0x85);
    EXPECT_EQ(state->programBank(2)->slotName(9), juce::String("Kept Name       "));
    EXPECT_EQ(state->editByte(5), 33);
    EXPECT_EQ(rec->codes, (std::vector<int>{CS_PROGRAM_STORED, CS_EDIT_BUFFER_LOADED}));

    rec->codes.clear();
    auto edit = programDump(0x03, 0, 0, 44);
    edit.erase(edit.begin() + 5, edit.begin() + 7); // the 226-byte edit-buffer form
    state->hostBank().setEditName("Edit Name");
    in(edit);
    EXPECT_EQ(state->editByte(5), 44);
    EXPECT_EQ(state->hostBank().editName(), juce::String("Edit Name       "));
    EXPECT_EQ(rec->codes, (std::vector<int>{CS_EDIT_BUFFER_LOADED}));

    rec->codes.clear();
    in(programDump(0x0A, 1, 3, 55));
    EXPECT_EQ(state->programBank(1)->slotData(3)[5], 55);
    EXPECT_EQ(rec->codes, (std::vector<int>{CS_PROGRAM2_STORED, CS_PROGRAM2_EDIT_LOADED}));

    // Lengths and banks that do not fit change nothing.
    rec->codes.clear();
    auto shortDump = programDump(0x02, 0, 0, 66);
    shortDump.erase(shortDump.begin() + 100, shortDump.begin() + 103); // 225 bytes
    in(shortDump);
    in(programDump(0x02, 4, 0, 66));
    in(programDump(0x02, 0, 128, 66));
    EXPECT_TRUE(rec->codes.empty());
    EXPECT_EQ(state->editByte(5), 55);
    EXPECT_EQ(state->currentBank.load(), 1);
}

TEST_F(ReceiveFixture, NamesGoToTheBankTheyName)
{
    in(nameMessage(0, 9,
                   "\x7f\x7f\x7f"
                   "abcdefghijklm"));
    EXPECT_EQ(state->programBank(0)->slotName(9), juce::String("PROGRAM A-010   "));
    EXPECT_EQ(state->hostBank().editName(), juce::String("PROGRAM A-010   "));
    EXPECT_EQ(rec->codes, (std::vector<int>{CS_NAMES_STORED, CS_EDIT_NAME_CHANGED}));

    state->currentBank = 1;
    const auto bankBName = state->programBank(1)->slotName(4);
    in(nameMessage(3, 127,
                   "\x7f\x7f\x7f"
                   "abcdefghijklm"));
    EXPECT_EQ(state->programBank(3)->slotName(127), juce::String("PROGRAM D-128   "));
    in(nameMessage(2, 4, "Warm Pad 4      "));
    EXPECT_EQ(state->programBank(2)->slotName(4), juce::String("Warm Pad 4      "));
    EXPECT_EQ(state->programBank(1)->slotName(4), bankBName);

    const auto before = rec->codes.size();
    in(nameMessage(4, 0, "No Such Bank    "));
    auto longer = nameMessage(0, 1, "Too Long Message");
    longer.insert(longer.begin() + 10, 'x');
    in(longer);
    EXPECT_EQ(rec->codes.size(), before);
}

TEST_F(ReceiveFixture, CombosStayInTheirComboBank)
{
    std::vector<juce::uint8> combo(80);
    for (int i = 0; i < 80; ++i)
        combo[(size_t)i] = (juce::uint8)(i * 3);
    std::vector<juce::uint8> m = {0xF0, 0x01, 0x20, 0x01, 0x22, 1, 77};
    m.resize(7 + 92);
    records::packPayload(combo.data(), 80, m.data() + 7);
    m.push_back(0xF7);

    const auto edit = state->hostBank().getEdit();
    in(m);
    EXPECT_EQ(state->comboBank(1)->getSlot(77), juce::MemoryBlock(combo.data(), 80));
    EXPECT_EQ(state->currentComboBank.load(), 1);
    EXPECT_EQ(state->currentCombo.load(), 77);
    EXPECT_EQ(state->hostBank().getEdit(), edit);
    EXPECT_EQ(rec->codes, (std::vector<int>{CS_COMBO_STORED, CS_COMBO_EDIT_LOADED}));

    rec->codes.clear();
    m[5] = 3; // no combo bank D
    in(m);
    EXPECT_TRUE(rec->codes.empty());
}

TEST_F(ReceiveFixture, MainDumpDecodesEveryPairAndMarksOnLine)
{
    std::vector<juce::uint8> m = {0xF0, 0x01, 0x20, 0x01, 0x0F};
    for (int i = 0; i < 16; ++i)
    {
        m.push_back((juce::uint8)((i * 5) & 0x0f));
        m.push_back((juce::uint8)(i == 14 ? 0 : 1));
    }
    m.push_back(0xF7);
    ASSERT_EQ(m.size(), 38u);
    in(m);
    EXPECT_TRUE(state->onLine.load());
    EXPECT_EQ(state->mainParameters.get(11), ((11 * 5) & 0x0f) + 16);
    EXPECT_EQ(state->mainParameters.get(14), (14 * 5) & 0x0f);
    EXPECT_EQ(rec->codes, (std::vector<int>{CS_SYNTH_ONLINE}));
}

TEST_F(ReceiveFixture, InstrumentProgramChoicesFollowOnScreenAndReachTheHost)
{
    state->ports().openOutputPort(1);
    in(bytes({0xB0, 0x20, 0x02}));
    EXPECT_EQ(state->currentBank.load(), 2);
    in(bytes({0xC0, 0x05}));
    EXPECT_EQ(state->currentProgram.load(), 5);
    EXPECT_EQ(state->hostBank().getEdit(), state->programBank(2)->getSlot(5));
    EXPECT_EQ(rec->count(CS_EDIT_BUFFER_LOADED), 2);
    in(bytes({0xB0, 0x20, 0x04})); // no bank E
    in(bytes({0x90, 60, 100}));
    in(bytes({0xE0, 0, 64}));
    EXPECT_EQ(rec->count(CS_EDIT_BUFFER_LOADED), 2);

    juce::MidiBuffer out;
    state->drainHostQueue(out, 64);
    EXPECT_EQ(out.getNumEvents(), 2); // one program change per message; controllers are dropped
    state->ports().waitUntilSent();
    EXPECT_TRUE(devices->messages().empty()); // nothing goes back to the instrument
}
