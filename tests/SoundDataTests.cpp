#include "sounddata/DSI_Program.h"
#include "ui/widgets/ParDesMenu.h"
#include "sounddata/GlobalRecord.h"
#include "sounddata/ParDes.h"
#include "sounddata/ParamCatalogue.h"
#include "sounddata/SoundRecords.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

using namespace zentak;

namespace
{
struct TextCase
{
    int kind, value;
    const char* text;
};

const TextCase kValueTexts[] = {
    {0, 0, "C-2"},
    {0, 11, "B-2"},
    {0, 24, "C0"},
    {0, 60, "C3"},
    {0, 120, "C8"},
    {0, 127, "G8"},
    {0, 128, "128"},
    {1, 0, "-50"},
    {1, 50, "0"},
    {1, 100, "50"},
    {17, 0, "-99"},
    {17, 198, "99"},
    {114, 99, "0"},
    {2, 0, "Saw"},
    {2, 1, "TRI"},
    {2, 2, "MIX"},
    {2, 3, "P-0"},
    {2, 102, "P-99"},
    {10, 0, "R-1"},
    {10, 95, "R-96"},
    {10, 96, "U-1"},
    {10, 127, "U-32"},
    {30, 0, "L<<>>R"},
    {30, 3, "MONO"},
    {30, 6, "R<<>>L"},
    {30, 7, "7"},
    {34, 0, "OFF"},
    {65, 1, "ON"},
    {35, 150, "150"},
    {35, 152, "s16"},
    {35, 160, "s16"},
    {35, 153, "s 8"},
    {35, 166, "st6"},
    {35, 167, "167"},
    {40, 150, "150"},
    {40, 154, "seq/4"},
    {40, 153, "Seq/8"},
    {40, 160, "16C/st"},
    {41, 1, "Reverse Sawtooth"},
    {42, 100, "100"},
    {42, 101, "s101"},
    {42, 200, "s200"},
    {54, 13, "MIDI Sq SP"},
    {55, 0, "No MIDI"},
    {55, 1, "-36"},
    {55, 36, "-1"},
    {55, 37, "----"},
    {55, 38, "1"},
    {55, 73, "36"},
    {55, 74, "74"},
    {62, 3, "Split"},
    {64, 100, "100"},
    {64, 101, "F2"},
    {64, 199, "F100"},
    {64, 200, "OFF"},
    {64, 201, "201"},
    {66, 120, "120 BPM"},
    {67, 0, "1/2n"},
    {67, 12, "64nt"},
    {71, 23, "Uni 2 Last RT"},
    {74, 0, "OFF"},
    {78, 4, "Seq 4"},
    {74, 5, "5"},
    {80, 0, "2 P"},
    {80, 1, "4 P"},
    {84, 99, "99 OUT"},
    {84, 100, "0 IN"},
    {103, 199, "99 IN"},
    {103, 255, "155 IN"},
    {85, 0, "- - - - -"},
    {85, 24, "Osc 4"},
    {88, 0, "Expon"},
    {88, 1, "Linear"},
    {43, 1, "Osc 1 Freqency"},
    {43, 68, "Distortion"},
    {43, 69, "69"},
    {56, 20, "Filter Frequency"},
    {56, 69, "Seq Clk Mulitipl"},
    {56, 75, "MIDI Foot Cntr"},
    {56, 76, "76"},
    {567, 55, "55"},
    {128, 7, "7"},
    {199, 3, "3"},
    {-1, 4, "4"},
    {20, -3, "-3"},
};

const TextCase kGlobalTexts[] = {
    {2, 77, "77"},
    {3, 36, "0"},
    {3, 0, "-36"},
    {4, 20, "20 BPM"},
    {5, 3, "8n1/2s"},
    {6, 1, "ON"},
    {7, 6, "MIDI Clk In - No Start/Stop"},
    {7, 7, "7"},
    {8, 0, "OFF"},
    {9, 2, "MIDI Note Echoed"},
    {10, 12, "12 dB"},
    {11, 0, "-50"},
    {14, 0, "All Channels"},
    {14, 16, "Channel 16"},
    {14, -1, "-1"}, // below the channels: the plain number
    {13, 9, "9"},
};
} // namespace

TEST(ValueTexts, EveryRuleAndItsFallbacks)
{
    for (const auto& c : kValueTexts)
        EXPECT_EQ(ParDes::valueText(c.kind, c.value), juce::String(c.text))
            << "kind " << c.kind << " value " << c.value;
    for (const auto& c : kGlobalTexts)
        EXPECT_EQ(ParDes::globalValueText(c.kind, c.value), juce::String(c.text)) << "global " << c.kind;
}

TEST(ValueTexts, NoValueOfAnyParameterIsEmpty)
{
    for (int p = 0; p < params::numProgramParams; ++p)
        for (int v = 0; v <= 255; ++v)
            ASSERT_FALSE(ParDes::valueText(p, v).isEmpty()) << p << " " << v;
}

TEST(ValueMenu, OneItemPerValueWithIdValuePlusOne)
{
    auto menu = ParDesMenu::valueMenu(30, 6);
    juce::PopupMenu::MenuItemIterator it(menu);
    int n = 0;
    while (it.next())
    {
        const auto& item = it.getItem();
        EXPECT_EQ(item.itemID, n + 1);
        EXPECT_EQ(item.text, ParDes::valueText(30, n));
        EXPECT_TRUE(item.isEnabled);
        EXPECT_FALSE(item.isTicked);
        ++n;
    }
    EXPECT_EQ(n, 7);

    auto look = ParDesMenu::menuLook();
    EXPECT_EQ(look->findColour(juce::PopupMenu::backgroundColourId), juce::Colour(0xff000000));
    EXPECT_EQ(look->findColour(juce::PopupMenu::highlightedBackgroundColourId), juce::Colour(0xff808080));
    EXPECT_EQ(look->findColour(juce::PopupMenu::textColourId), juce::Colour(0xffffffff));
}

TEST(ParamTables, RangesScalesAndKinds)
{
    std::int16_t mn[200], mx[200], kind[200];
    params::fillTables(mn, mx, kind);
    struct Case
    {
        int index, minimum, maximum, kind;
    };
    const Case cases[] = {{0, 0, 120, 0},     {10, 0, 127, 10},   {56, 0, 76, 56},    {59, 0, 76, 59},
                          {66, 30, 250, 66},  {117, 0, 68, 117},  {128, 0, 102, 567}, {143, 0, 102, 567},
                          {144, 0, 101, 567}, {191, 0, 101, 567}, {192, 0, 127, 192}, {199, 0, 127, 199}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(mn[c.index], c.minimum) << c.index;
        EXPECT_EQ(mx[c.index], c.maximum) << c.index;
        EXPECT_EQ(kind[c.index], c.kind) << c.index;
    }
    EXPECT_EQ(params::rangeMaximum(56), 75); // the editor offers 0..75 while the host scale runs to 76
    EXPECT_EQ(params::globalParams()[2].minimum, 20); // global tempo goes down to 20
}

TEST(ParamTables, HostNamesKeepTheirSpelling)
{
    EXPECT_STREQ(params::hostName(0), "OCS1 Frequency");
    EXPECT_STREQ(params::hostName(74), "Shape Seq");
    EXPECT_STREQ(params::hostName(78), "Shape Seq");
    EXPECT_STREQ(params::hostName(117), "EXIN EnvFlwDstn");
    EXPECT_STREQ(params::info(117)->label, "Env Follow Dst");
    EXPECT_STREQ(params::hostName(127), "Foot Cnt Dstn");
    EXPECT_STREQ(params::hostName(128), "Seq 1 Step 1");
    EXPECT_STREQ(params::hostName(191), "Seq 4 Step 16");
    EXPECT_STREQ(params::hostName(192), "");
}

TEST(ParamTables, InitialProgramIsInsideEveryRange)
{
    const auto& init = params::initialProgram();
    for (int i = 0; i < params::numSoundParams; ++i)
    {
        EXPECT_GE(init[(size_t)i], params::info(i)->minimum) << i;
        EXPECT_LE(init[(size_t)i], params::info(i)->maximum) << i;
    }
    EXPECT_EQ(init[0], 24);
    EXPECT_EQ(init[120], 106);
    EXPECT_EQ(init[191], 0);
}

TEST(Names, EncodingCutsPadsAndReplaces)
{
    std::uint8_t b[16];
    records::encodeName("Untitled", b);
    EXPECT_EQ(records::decodeName(b), juce::String("Untitled        "));
    records::encodeName("A very long program name", b);
    EXPECT_EQ(records::decodeName(b), juce::String("A very long prog"));
    records::encodeName(juce::String::charToString((juce::juce_wchar)8364) + juce::String::charToString(19) +
                            juce::String::charToString(20) + juce::String::charToString(159),
                        b);
    EXPECT_EQ(b[0], 32);
    EXPECT_EQ(b[1], 32);
    EXPECT_EQ(b[2], 20);
    EXPECT_EQ(b[3], 159);
    const std::uint8_t withZero[16] = {'A', 0, 'B', 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32};
    EXPECT_EQ(records::decodeName(withZero), juce::String("AB") + juce::String::repeatedString(" ", 13));

    DSI_Program p;
    EXPECT_EQ(p.getName(), juce::String("Untitled        "));
    DSI_Program shortRecord;
    shortRecord.setRecord(juce::MemoryBlock(192, true));
    EXPECT_EQ(shortRecord.getName(), juce::String()); // too short to hold a name
    EXPECT_EQ(p.record().getSize(), 208u);
    EXPECT_EQ(static_cast<const std::uint8_t*>(p.record().getData())[0], 0);
}

TEST(Packing, ProgramRoundTripCarriesHighBitsButNotTheName)
{
    juce::MemoryBlock record(208);
    auto* r = static_cast<std::uint8_t*>(record.getData());
    for (int i = 0; i < 208; ++i)
        r[i] = (std::uint8_t)((i * 37 + 11) & 0xff);
    r[0] = 0x80;
    r[191] = 0xff;

    const auto message = records::packProgramMessage(record);
    ASSERT_EQ(message.getSize(), 226u);
    const auto* m = static_cast<const std::uint8_t*>(message.getData());
    EXPECT_EQ(m[0], 0xF0);
    EXPECT_EQ(m[1], 0x01);
    EXPECT_EQ(m[2], 0x20);
    EXPECT_EQ(m[3], 0x01);
    EXPECT_EQ(m[4], 0x03);
    EXPECT_EQ(m[225], 0xF7);
    for (int i = 5; i < 225; ++i)
        ASSERT_LT(m[i], 0x80) << i; // every payload byte is 7-bit
    EXPECT_EQ(m[5] & 1, 1);         // bit 7 of R[0] travels as bit 0 of the first high-bit byte
    EXPECT_EQ(m[6], 0x00);

    const auto back = records::unpackMessage(message);
    ASSERT_EQ(back.getSize(), 192u);
    EXPECT_EQ(std::memcmp(back.getData(), r, 192), 0);

    EXPECT_EQ(records::packProgramMessage(juce::MemoryBlock(192, true)).getSize(), 226u);
    EXPECT_EQ(records::packProgramMessage(juce::MemoryBlock(100, true)).getSize(), 0u);
}

TEST(Packing, AcceptedMessageLengths)
{
    const std::pair<size_t, size_t> cases[] = {{92, 80}, {220, 192}, {293, 256}, {226, 192}, {228, 192},
                                               {227, 0}, {100, 0},   {98, 0},    {0, 0},     {225, 0}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(records::unpackMessage(juce::MemoryBlock(in, true)).getSize(), out) << in;
}

TEST(Packing, ShortGroupTakesOnlyItsDataBytes)
{
    std::uint8_t payload[92] = {};
    payload[88] = 0x7f; // high bits of the final group: only bits 0..2 belong to data bytes
    payload[89] = 1;
    payload[90] = 2;
    payload[91] = 3;
    const auto u = records::unpackPayload(payload, sizeof(payload));
    ASSERT_EQ(u.getSize(), 80u);
    const auto* d = static_cast<const std::uint8_t*>(u.getData());
    EXPECT_EQ(d[77], 0x81);
    EXPECT_EQ(d[78], 0x82);
    EXPECT_EQ(d[79], 0x83);
}

TEST(GlobalDump, ShortMessagesAndExtraPairs)
{
    const std::uint8_t shortDump[] = {0xF0, 0x01, 0x20, 0x01, 0x0F, 0x04, 0x06, 0x0F};
    GlobalRecord g;
    g.decodeDump(shortDump, sizeof(shortDump));
    EXPECT_EQ(g.size(), 10);
    EXPECT_EQ(g.get(0), 100);
    EXPECT_EQ(g.get(1), 15);
    EXPECT_EQ(g.get(9), 0);
    EXPECT_EQ(g.get(14), 0); // not held: reads 0

    std::uint8_t full[38] = {0xF0, 0x01, 0x20, 0x01, 0x0F};
    for (int i = 0; i < 16; ++i)
    {
        full[5 + 2 * i] = (std::uint8_t)(i & 0x0f);
        full[6 + 2 * i] = (std::uint8_t)(i == 14 ? 1 : 0);
    }
    full[37] = 0xF7;
    GlobalRecord all;
    all.decodeDump(full, sizeof(full));
    EXPECT_EQ(all.size(), 16);
    EXPECT_EQ(all.get(10), 10);
    EXPECT_EQ(all.get(11), 11);
    EXPECT_EQ(all.get(14), 30);
}
