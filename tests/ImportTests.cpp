// The import engine: the programs it finds in SysEx captures, MIDI files and our own files, where it
// says they came from, and that it accounts for every byte and stays inside any input.
#include "library/DataImage.h"
#include "library/FactorySets.h"
#include "library/LibraryFiles.h"
#include "library/ProgramImport.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace zentak;
using namespace zentak::programimport;

namespace
{
juce::File dataFile(const char* name)
{
    return juce::File(ZENTAK_TEST_DATA).getChildFile(name);
}

juce::MemoryBlock load(const char* name)
{
    juce::MemoryBlock b;
    dataFile(name).loadFileAsData(b);
    return b;
}

size_t accountedBytes(const ImportResult& r)
{
    return std::accumulate(r.tally.begin(), r.tally.end(), (size_t)0,
                           [](size_t sum, const Tally& t) { return sum + t.bytes; });
}

const std::uint8_t* bytesOf(const FoundProgram& p)
{
    return static_cast<const std::uint8_t*>(p.record.getData());
}

/** The fixture generator's programs: marker at byte 0, category at 117, 198 at 17, 0x81 at 191,
    120 at 66 and the index mod 100 everywhere else. */
void expectFixtureRecord(const FoundProgram& p, int marker, int category)
{
    ASSERT_EQ(p.record.getSize(), 208u);
    const auto* r = bytesOf(p);
    EXPECT_EQ(r[0], marker);
    EXPECT_EQ(r[117], category);
    EXPECT_EQ(r[17], 198);
    EXPECT_EQ(r[191], 0x81);
    EXPECT_EQ(r[66], 120);
    for (int i : {1, 16, 18, 99, 116, 118, 128, 189, 190})
        EXPECT_EQ(r[i], i % 100) << "byte " << i;
}

struct Expected
{
    int bank, slot; // -1 when the dump names none
    bool editBuffer;
    const char* name;
    int marker, category;
};

struct FixtureCase
{
    const char* file;
    FileKind kind;
    std::vector<Expected> programs;
};
} // namespace

TEST(Import, FixturesYieldTheirProgramsInOrder)
{
    const std::vector<FixtureCase> cases = {
        {"import_mixed.syx",
         FileKind::sysex,
         {{-1, -1, true, "import_mixed 1", 10, 1},
          {2, 9, false, "Glass Keys", 20, 3},
          {0, 0, false, "PROGRAM A-001", 30, 8},
          {1, 127, false, "Pad", 40, 24},
          {-1, -1, true, "import_mixed 2", 50, 16}}},
        {"import_malformed.syx", FileKind::sysex, {{0, 1, false, "Survivor", 60, 0}}},
        {"import_pairs.syx",
         FileKind::sysex,
         {{0, 2, false, "First", 110, 0},
          {0, 2, false, "Second", 120, 0},
          {-1, -1, false, "Bank Five", 130, 0}}},
        {"import_two_tracks.mid",
         FileKind::midiFile,
         {{0, 5, false, "Split Lead", 70, 4},
          {1, 32, false, "Early Name", 80, 18},
          {-1, -1, true, "import_two_track", 90, 17}}},
        {"import_format0.mid", FileKind::midiFile, {{3, 99, false, "Zero Format", 100, 12}}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.file);
        const auto r = importFile(dataFile(c.file));
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(accountedBytes(r), r.fileSize);
        ASSERT_EQ(r.programs.size(), c.programs.size());
        for (size_t i = 0; i < c.programs.size(); ++i)
        {
            SCOPED_TRACE(i + 1);
            const auto& p = r.programs[i];
            const auto& e = c.programs[i];
            EXPECT_EQ(p.bank, e.bank);
            EXPECT_EQ(p.slot, e.slot);
            EXPECT_EQ(p.editBuffer, e.editBuffer);
            EXPECT_EQ(p.name, juce::String(e.name).paddedRight(' ', 16));
            EXPECT_EQ(juce::String::createStringFromData(bytesOf(p) + 192, 16), p.name);
            expectFixtureRecord(p, e.marker, e.category);
        }
    }
}

TEST(Import, SkippedMessagesAreCountedByKind)
{
    const auto mixed = importFile(dataFile("import_mixed.syx"));
    EXPECT_EQ(mixed.sysexMessages, 12);
    EXPECT_EQ(mixed[Use::programs].items, 5);
    EXPECT_EQ(mixed[Use::names].items, 3);
    EXPECT_EQ(mixed[Use::unpairedNames].items, 1);
    EXPECT_EQ(mixed[Use::foreign].items, 1);
    EXPECT_EQ(mixed[Use::foreign].bytes, 11u);
    EXPECT_EQ(mixed[Use::combos].items, 1);
    EXPECT_EQ(mixed[Use::globals].items, 1);
    EXPECT_EQ(mixed[Use::garbage].bytes, 11u);
    EXPECT_EQ(mixed[Use::malformed].items, 0);
    // Where each was found: the message index and the byte offset of its dump.
    EXPECT_EQ(mixed.programs[0].messageIndex, 0);
    EXPECT_EQ(mixed.programs[0].offset, 6u);
    EXPECT_EQ(mixed.programs[1].messageIndex, 3);
    EXPECT_EQ(mixed.programs[4].messageIndex, 11);
    EXPECT_TRUE(mixed.programs[2].warnings[0].contains("unset"));
    EXPECT_TRUE(mixed.programs[0].warnings.isEmpty());

    const auto bad = importFile(dataFile("import_malformed.syx"));
    EXPECT_EQ(bad[Use::malformed].items, 4); // oversized dump, cut by F0, short name, cut by the end
    EXPECT_EQ(bad.warnings.size(), 4);
    EXPECT_TRUE(bad.warnings[0].contains("229 bytes"));

    const auto pairs = importFile(dataFile("import_pairs.syx"));
    EXPECT_TRUE(pairs.programs[2].warnings[0].contains("bank 5"));
}

TEST(Import, OurOwnFilesGiveWhatTheLibraryReadersGive)
{
    const auto bankFile = load("factory1_bankB.syx");
    const auto bank = libraryfiles::readProgramBank(bankFile);
    ASSERT_TRUE(bank.has_value());
    const auto fromBank = importBytes(bankFile.getData(), bankFile.getSize(), "factory1_bankB.syx");
    ASSERT_EQ(fromBank.programs.size(), 128u);
    for (int s = 0; s < 128; ++s)
    {
        EXPECT_EQ(fromBank.programs[(size_t)s].bank, 1);
        EXPECT_EQ(fromBank.programs[(size_t)s].slot, s);
        EXPECT_EQ(std::memcmp(bytesOf(fromBank.programs[(size_t)s]),
                              static_cast<const std::uint8_t*>(bank->getData()) + 208 * s, 208),
                  0)
            << "slot " << s;
    }

    const auto single = load("init_program.syx");
    const auto record = libraryfiles::readSingleProgram(single, "init_program.syx");
    const auto fromSingle = importBytes(single.getData(), single.getSize(), "init_program.syx");
    ASSERT_TRUE(record.has_value());
    ASSERT_EQ(fromSingle.programs.size(), 1u);
    EXPECT_EQ(fromSingle.programs[0].record, *record);

    const auto image = factory::image(1);
    const auto fromImage = importBytes(image.getData(), image.getSize(), "set1.evl");
    EXPECT_EQ(fromImage.kind, FileKind::dataImage);
    EXPECT_EQ(accountedBytes(fromImage), image::size);
    ASSERT_EQ(fromImage.programs.size(), 512u);
    const auto* d = static_cast<const std::uint8_t*>(image.getData());
    for (int b = 0; b < 4; ++b)
        for (int s : {0, 77, 127})
        {
            const auto& p = fromImage.programs[(size_t)(128 * b + s)];
            EXPECT_EQ(p.bank, b);
            EXPECT_EQ(p.slot, s);
            EXPECT_EQ(std::memcmp(bytesOf(p), d + 24576 * b + 192 * s, 192), 0);
            EXPECT_EQ(std::memcmp(bytesOf(p) + 192, d + 106496 + 2048 * b + 16 * s, 16), 0);
        }

    // The same length starting with F0 is a SysEx file, not an image.
    juce::MemoryBlock notImage(image::size, true);
    notImage[0] = (char)0xF0;
    EXPECT_EQ(importBytes(notImage.getData(), notImage.getSize(), "x.evl").kind, FileKind::sysex);
}

TEST(Import, RealTimeBytesInsideADumpAreSkipped)
{
    // A capture of what the instrument sent while a clock ran: F8 and FE land inside the dump.
    const auto single = load("init_program.syx");
    const auto record = libraryfiles::readSingleProgram(single, "init_program.syx");
    ASSERT_TRUE(record.has_value());
    juce::MemoryBlock captured;
    const auto* d = static_cast<const std::uint8_t*>(single.getData());
    for (size_t i = 0; i < single.getSize(); ++i)
    {
        if (i == 9 || i == 150)
        {
            const std::uint8_t realTime[] = {0xF8, 0xFE};
            captured.append(realTime, sizeof(realTime));
        }
        captured.append(d + i, 1);
    }
    const auto found = importBytes(captured.getData(), captured.getSize(), "init_program.syx");
    ASSERT_EQ(found.programs.size(), 1u);
    EXPECT_EQ(found.programs[0].record, *record);
    EXPECT_EQ(accountedBytes(found), captured.getSize());
}

TEST(Import, EveryPrefixOfAFixtureStaysInsideAndAccountsForEachByte)
{
    // A file cut anywhere: nothing read past the end (the sanitizer run checks that), every byte
    // counted once, and no program that is not whole.
    for (const char* name : {"import_mixed.syx", "import_two_tracks.mid", "import_malformed.syx"})
    {
        const auto whole = load(name);
        for (size_t n = 0; n <= whole.getSize(); ++n)
        {
            // A copy of exactly n bytes, so that a read past them is a read past the allocation.
            std::vector<std::uint8_t> prefix(static_cast<const std::uint8_t*>(whole.getData()),
                                             static_cast<const std::uint8_t*>(whole.getData()) + n);
            const auto r = importBytes(prefix.data(), prefix.size(), name);
            ASSERT_EQ(accountedBytes(r), n) << name << " cut at " << n;
            for (const auto& p : r.programs)
            {
                ASSERT_EQ(bytesOf(p)[17], 198) << name << " cut at " << n;
                ASSERT_EQ(bytesOf(p)[191], 0x81) << name << " cut at " << n;
            }
        }
        const auto full = importBytes(whole.getData(), whole.getSize(), name);
        const auto cut = importBytes(whole.getData(), whole.getSize() - 1, name);
        EXPECT_LE(cut.programs.size(), full.programs.size()) << name;
    }
}

TEST(Import, InputsWithoutProgramsGiveNoneAndSayWhy)
{
    struct Case
    {
        const char* what;
        std::vector<std::uint8_t> bytes;
        FileKind kind;
        Use where;
    };
    const std::vector<Case> cases = {
        {"empty", {}, FileKind::sysex, Use::garbage},
        {"text", {'h', 'e', 'l', 'l', 'o'}, FileKind::sysex, Use::garbage},
        {"lone F0", {0xF0}, FileKind::sysex, Use::malformed},
        {"F0 F7", {0xF0, 0xF7}, FileKind::sysex, Use::foreign},
        {"request", {0xF0, 0x01, 0x20, 0x01, 0x06, 0xF7}, FileKind::sysex, Use::otherEvolver},
        {"MIDI header only",
         {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0, 96},
         FileKind::midiFile,
         Use::midiStructure},
        {"MIDI header cut", {'M', 'T', 'h', 'd', 0, 0}, FileKind::midiFile, Use::garbage},
        // A track whose chunk length runs far past the file, with a delta time that never ends.
        {"broken track",
         {'M', 'T', 'h', 'd', 0,    0,    0,    6,    0,    0,    0,    1,    0,   96,
          'M', 'T', 'r', 'k', 0x7F, 0xFF, 0xFF, 0xFF, 0x81, 0x81, 0x81, 0x81, 0x81},
         FileKind::midiFile,
         Use::garbage},
        // A data byte without any status before it.
        {"no running status",
         {'M', 'T', 'h', 'd', 0,   0, 0, 6, 0, 0,    0,    1,   0,
          96,  'M', 'T', 'r', 'k', 0, 0, 0, 3, 0x00, 0x40, 0x40},
         FileKind::midiFile,
         Use::garbage},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const auto r = importBytes(c.bytes.data(), c.bytes.size(), "x.syx");
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_TRUE(r.programs.empty());
        EXPECT_EQ(accountedBytes(r), c.bytes.size());
        if (!c.bytes.empty())
        {
            EXPECT_GT(r[c.where].bytes, 0u);
        }
    }
    EXPECT_EQ(importFile(dataFile("no_such_file.syx")).kind, FileKind::unreadable);
}
