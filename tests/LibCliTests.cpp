// zentak-lib, run as a child process: round trips through its outputs and the library's readers,
// its exit codes, and that it replaces nothing it was not told to.
#include "TestSupport.h"
#include "library/DataImage.h"
#include "library/LibraryFiles.h"
#include "library/ProgramImport.h"
#include "sounddata/ParamCatalogue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

using namespace zentak;
using namespace zentak::test;

namespace
{
struct CliRun
{
    int code;
    juce::String out, err;
};

juce::String quoted(const juce::String& s)
{
    return "'" + s.replace("'", "'\\''") + "'";
}

class LibCli : public ::testing::Test
{
protected:
    TempFolder temp;

    void SetUp() override
    {
        for (const char* name : {"import_mixed.syx", "import_two_tracks.mid", "init_program.syx"})
            juce::File(ZENTAK_TEST_DATA).getChildFile(name).copyFileTo(file(name));
    }

    juce::File file(const juce::String& name) const { return temp.folder.getChildFile(name); }

    /** Runs zentak-lib in the temporary folder with the given arguments (shell words). */
    CliRun run(const juce::String& arguments) const
    {
        const auto out = file(".stdout"), err = file(".stderr");
        const auto command = "cd " + quoted(temp.folder.getFullPathName()) + " && " +
                             quoted(ZENTAK_LIB_PATH) + " " + arguments + " >" +
                             quoted(out.getFullPathName()) + " 2>" + quoted(err.getFullPathName());
        const int status = std::system(command.toRawUTF8());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out.loadFileAsString(), err.loadFileAsString()};
    }

    juce::MemoryBlock bytes(const juce::String& name) const
    {
        juce::MemoryBlock b;
        file(name).loadFileAsData(b);
        return b;
    }
};

juce::StringArray lines(const juce::String& text)
{
    juce::StringArray l;
    l.addLines(text.trimEnd());
    return l;
}
} // namespace

TEST_F(LibCli, ListShowsIndexSlotNameAndCategory)
{
    const auto r = run("list import_mixed.syx");
    EXPECT_EQ(r.code, 0) << r.err;
    const juce::StringArray expected = {
        "   1  edit   import_mixed 1    Keys",      "   2  C:010  Glass Keys        Strings",
        "   3  A:001  PROGRAM A-001     Soft Bass", "   4  B:128  Pad               Pads",
        "   5  edit   import_mixed 2    Synth",
    };
    EXPECT_EQ(lines(r.out), expected);

    // A folder stands for the library files in it; each file gets a heading.
    const auto folder = run("list .");
    EXPECT_EQ(folder.code, 0) << folder.err;
    EXPECT_TRUE(folder.out.contains("import_two_tracks.mid:\n   1  A:006  Split Lead"));
    EXPECT_EQ(lines(folder.out).size(), 3 + 5 + 1 + 3);
}

TEST_F(LibCli, BankThenListGivesTheSameNamesAndBytes)
{
    const auto made = run("bank import_mixed.syx import_two_tracks.mid -o packed.syx --bank C");
    ASSERT_EQ(made.code, 0) << made.err;
    EXPECT_TRUE(made.err.contains("slots 9 to 128")) << made.err;

    const auto bank = libraryfiles::readProgramBank(bytes("packed.syx"));
    ASSERT_TRUE(bank.has_value());
    std::vector<programimport::FoundProgram> sources;
    for (const char* name : {"import_mixed.syx", "import_two_tracks.mid"})
        for (auto& p : programimport::importFile(file(name)).programs)
            sources.push_back(p);
    ASSERT_EQ(sources.size(), 8u);
    const auto* b = static_cast<const std::uint8_t*>(bank->getData());
    for (size_t s = 0; s < sources.size(); ++s)
        EXPECT_EQ(std::memcmp(b + 208 * s, sources[s].record.getData(), 208), 0) << "slot " << s;
    EXPECT_EQ(std::memcmp(b + 208 * 8, params::initialProgram().data(), 192), 0);

    const auto listed = run("list packed.syx");
    ASSERT_EQ(listed.code, 0) << listed.err;
    const auto l = lines(listed.out);
    ASSERT_EQ(l.size(), 128);
    EXPECT_EQ(l[0], "   1  C:001  import_mixed 1    Keys");
    EXPECT_EQ(l[1], "   2  C:002  Glass Keys        Strings");
    EXPECT_EQ(l[7], "   8  C:008  import_two_track  Vox");
    EXPECT_TRUE(l[127].startsWith(" 128  C:128  Untitled"));

    // More than a bank holds: the first 128 from --start, and a note for the rest.
    const auto many = run("bank packed.syx import_mixed.syx -o more.syx --start 4");
    ASSERT_EQ(many.code, 0) << many.err;
    EXPECT_TRUE(many.err.contains("2 further programs left out; --start 132")) << many.err;
    const auto more = programimport::importFile(file("more.syx"));
    ASSERT_EQ(more.programs.size(), 128u);
    EXPECT_EQ(more.programs[0].name.trimEnd(), "Pad");
    EXPECT_EQ(more.programs[127].name.trimEnd(), "PROGRAM A-001");
}

TEST_F(LibCli, ExtractGivesTheRecordTheSingleProgramReaderReads)
{
    const auto r = run("extract import_mixed.syx --index 2 -o 'Glass Keys.syx'");
    ASSERT_EQ(r.code, 0) << r.err;
    const auto record = libraryfiles::readSingleProgram(bytes("Glass Keys.syx"), "Glass Keys.syx");
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(*record, programimport::importFile(file("import_mixed.syx")).programs[1].record);
    EXPECT_EQ(bytes("Glass Keys.syx").getSize(), 226u);
}

TEST_F(LibCli, DiffShowsNamesAndValueTextsAndNothingForTheSameProgram)
{
    const auto same = run("diff import_mixed.syx#2 import_mixed.syx#2");
    EXPECT_EQ(same.code, 0) << same.err;
    EXPECT_EQ(same.out, juce::String());

    // Programs 2 and 3 differ in the name, byte 0 (20 and 30) and byte 117 (3 and 8).
    const auto r = run("diff import_mixed.syx#2 import_mixed.syx#3");
    EXPECT_EQ(r.code, 0) << r.err;
    const juce::StringArray expected = {
        "name  \"Glass Keys\" | \"PROGRAM A-001\"",
        "   0  OCS1 Frequency    G#-1 | F#0",
        " 117  EXIN EnvFlwDstn   Osc 3 Freqency | Osc 3 Level",
    };
    EXPECT_EQ(lines(r.out), expected);

    // A file holding one program needs no number.
    EXPECT_EQ(run("diff init_program.syx import_mixed.syx#1").code, 0);
}

TEST_F(LibCli, DupesFindsSameSoundsAndNearOnes)
{
    ASSERT_EQ(run("extract import_mixed.syx --index 4 -o copy.syx").code, 0);
    const auto r = run("dupes import_mixed.syx copy.syx");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(lines(r.out)[0], "same sound (2 programs):");
    EXPECT_TRUE(lines(r.out)[1].startsWith("  import_mixed.syx#4"));
    EXPECT_TRUE(lines(r.out)[2].startsWith("  copy.syx#1"));
    EXPECT_EQ(lines(r.out).size(), 3);

    // The five fixture programs differ only in bytes 0 and 117: ten pairs within two parameters.
    const auto near = run("dupes import_mixed.syx --within 2");
    EXPECT_EQ(near.code, 0) << near.err;
    int pairs = 0;
    for (const auto& line : lines(near.out))
        pairs += line.startsWith("2 parameters apart") ? 1 : 0;
    EXPECT_EQ(pairs, 10);
    EXPECT_TRUE(near.out.contains("(OCS1 Frequency, EXIN EnvFlwDstn)"));
    EXPECT_EQ(run("dupes import_mixed.syx --within 1").out, juce::String());
}

TEST_F(LibCli, ImageHoldsFourBanksInOrder)
{
    const auto r = run("image import_mixed.syx import_two_tracks.mid -o lib.evl");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(file("lib.evl").getSize(), (juce::int64)image::size);
    const auto back = programimport::importFile(file("lib.evl"));
    ASSERT_EQ(back.programs.size(), 512u);
    EXPECT_EQ(back.programs[1].name.trimEnd(), "Glass Keys");
    EXPECT_EQ(back.programs[7].name.trimEnd(), "import_two_track");
    EXPECT_EQ(back.programs[8].name.trimEnd(), "Untitled");
}

TEST_F(LibCli, ExitCodesTellDoneRejectedAndUsage)
{
    file("junk.syx").replaceWithText("no sysex here");
    struct Case
    {
        const char* arguments;
        int code;
    };
    const Case cases[] = {
        {"", 2},
        {"frobnicate x.syx", 2},
        {"list --colour import_mixed.syx", 2},
        {"list", 2},
        {"list missing.syx", 1},
        {"list junk.syx", 1},
        {"list junk.syx import_mixed.syx", 0},
        {"info import_mixed.syx", 0},
        {"info junk.syx", 1},
        {"extract import_mixed.syx --index 9 -o x.syx", 2},
        {"extract import_mixed.syx --index 1", 2},
        {"extract import_mixed.syx --index one -o x.syx", 2},
        {"bank junk.syx -o x.syx", 1},
        {"bank import_mixed.syx missing.syx -o x.syx", 1},
        {"bank import_mixed.syx -o x.syx --bank E", 2},
        {"diff import_mixed.syx init_program.syx", 2},
        {"diff import_mixed.syx#0 init_program.syx", 2},
        {"dupes import_mixed.syx --within 0", 2},
        {"list --help", 0},
        {"--help", 0},
    };
    for (const auto& c : cases)
    {
        const auto r = run(c.arguments);
        EXPECT_EQ(r.code, c.code) << c.arguments << "\n" << r.err;
        if (c.code != 0)
        {
            EXPECT_TRUE(r.err.isNotEmpty()) << c.arguments;
        }
    }
    EXPECT_FALSE(file("x.syx").exists()); // nothing written by a rejected command
    EXPECT_TRUE(run("bank --help").out.contains("--force"));
}

TEST_F(LibCli, OutputsReplaceOnlyWithForceAndInputsNever)
{
    const auto mixedBefore = bytes("import_mixed.syx");
    file("out.syx").replaceWithText("keep me");

    const auto refused = run("bank import_mixed.syx -o out.syx");
    EXPECT_EQ(refused.code, 2);
    EXPECT_TRUE(refused.err.contains("--force")) << refused.err;
    EXPECT_EQ(file("out.syx").loadFileAsString(), "keep me");

    EXPECT_EQ(run("bank import_mixed.syx -o out.syx --force").code, 0);
    EXPECT_EQ(file("out.syx").getSize(), (juce::int64)libraryfiles::bankFileSize);

    // An input is never the output, even with --force.
    EXPECT_EQ(run("bank import_mixed.syx -o import_mixed.syx --force").code, 2);
    EXPECT_EQ(run("extract import_mixed.syx --index 1 -o import_mixed.syx --force").code, 2);
    EXPECT_EQ(bytes("import_mixed.syx"), mixedBefore);

    // Whole-file writes leave no temporary file behind.
    juce::StringArray names;
    for (const auto& f :
         temp.folder.findChildFiles(juce::File::findFiles, false, "*", juce::File::FollowSymlinks::no))
        if (!f.getFileName().startsWith(".std"))
            names.add(f.getFileName());
    names.sort(false);
    EXPECT_EQ(names, juce::StringArray(
                         {"import_mixed.syx", "import_two_tracks.mid", "init_program.syx", "out.syx"}));
}
