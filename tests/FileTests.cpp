// The plug-in's own files (settings, ports, data image), the library's SysEx files and the factory
// sets.
#include "TestSupport.h"
#include "library/DataImage.h"
#include "library/FactorySets.h"
#include "library/LibraryFiles.h"
#include "sounddata/ParamCatalogue.h"
#include "synthlink/SettingsFiles.h"
#include "synthlink/SystemMidiDevices.h"

#include <gtest/gtest.h>

using namespace zentak;
using namespace zentak::test;
namespace sf = zentak::settingsfiles;

namespace
{
std::unique_ptr<MidiCntrState>
makeState(const juce::File& folder,
          std::shared_ptr<MidiDeviceBackend> devices = std::make_shared<NoMidiDevices>())
{
    return std::make_unique<MidiCntrState>(MidiCntrStateOptions{folder, {}, std::move(devices), true});
}

juce::MemoryBlock fileData(const juce::File& f)
{
    juce::MemoryBlock data;
    f.loadFileAsData(data);
    return data;
}

juce::String field(const juce::String& s)
{
    return "^|" + s + "|^";
}
} // namespace

TEST(SettingsFile, FieldsAreParsedAsWritten)
{
    auto three = sf::parseFields(field("2.0.2") + field("a") + field("b"));
    ASSERT_EQ(three.size(), 50);
    EXPECT_EQ(three[1], juce::String("a"));
    EXPECT_EQ(three[2], juce::String("b"));
    EXPECT_EQ(three[3], juce::String("0"));
    EXPECT_EQ(three[49], juce::String("0"));

    EXPECT_EQ(sf::parseFields(field("x") + field("y")), sf::newFields()); // two fields count as empty
    EXPECT_EQ(sf::parseFields("^|ab"), sf::newFields());
    const auto empty = sf::parseFields("^||^" + field("1") + field("2"));
    EXPECT_EQ(empty[0], juce::String()); // a marker pair yields one empty field
    EXPECT_EQ(empty[1], juce::String("1"));

    juce::String many;
    for (int i = 0; i < 82; ++i)
        many << field(juce::String(i));
    const auto first50 = sf::parseFields(many);
    EXPECT_EQ(first50.size(), 50);
    EXPECT_EQ(first50[49], juce::String("49"));

    const auto fresh = sf::newFields();
    EXPECT_EQ(fresh[0], juce::String("2.0.2"));
    EXPECT_EQ(fresh[4], juce::String("100"));
    EXPECT_EQ(fresh[6], juce::String());
    EXPECT_EQ(fresh[8], juce::String("1"));
    EXPECT_EQ(fresh[42], juce::String("0"));
}

TEST(SettingsFile, ChannelIsReadAndTheFileKeeps82Fields)
{
    TempFolder temp;
    auto fields = sf::newFields();
    fields.set(42, "17");
    temp.folder.getChildFile(sf::settingsFile).replaceWithText(sf::formatFields(fields));
    {
        auto state = makeState(temp.folder);
        EXPECT_EQ(state->instrumentChannel.load(), 1);
        EXPECT_EQ(state->settings[42], juce::String("1"));
        state->settings.set(42, "9");
    }
    const auto text = temp.folder.getChildFile(sf::settingsFile).loadFileAsString();
    int count = 0;
    for (int p = 0; (p = text.indexOf(p, "^|")) >= 0; ++p)
        ++count;
    EXPECT_EQ(count, 82);
    auto again = makeState(temp.folder);
    EXPECT_EQ(again->instrumentChannel.load(), 9);
}

TEST(PortSettings, NamesRoundTripAndBadFilesAreHarmless)
{
    const juce::StringArray names{juce::CharPointer_UTF8("Ger\xc3\xa4t In"), "Port Out", "NONE"};
    const auto file = sf::formatPortNames(names);
    const auto* d = static_cast<const juce::uint8*>(file.getData());
    EXPECT_EQ(d[file.getSize() - 1], 0x11);
    juce::String in, out;
    bool hasOut = false;
    ASSERT_TRUE(sf::parsePortNames(file, in, out, hasOut));
    EXPECT_EQ(in, names[0]);
    EXPECT_EQ(out, names[1]);
    EXPECT_TRUE(hasOut);

    const juce::uint8 reversed[] = {'O', 'u', 't', 0x10, 'I', 'n', 'p', 0x0F, 'x', 0x11};
    ASSERT_TRUE(sf::parsePortNames(juce::MemoryBlock(reversed, sizeof(reversed)), in, out, hasOut));
    EXPECT_EQ(in, juce::String(juce::CharPointer_UTF8("Out\x10Inp")));
    EXPECT_FALSE(hasOut);

    const juce::uint8 noMarkers[] = {'a', 'b', 'c', 'd'};
    EXPECT_FALSE(sf::parsePortNames(juce::MemoryBlock(noMarkers, sizeof(noMarkers)), in, out, hasOut));
    const juce::uint8 atStart[] = {0x0F, 0x10, 'x'};
    EXPECT_FALSE(sf::parsePortNames(juce::MemoryBlock(atStart, sizeof(atStart)), in, out, hasOut));
    EXPECT_FALSE(sf::parsePortNames(juce::MemoryBlock(), in, out, hasOut));
}

TEST(PortSettings, SavedPortsOpenAtStartUp)
{
    TempFolder temp;
    auto devices = std::make_shared<SystemMidiDevices>(false);
    const auto file = temp.folder.getChildFile(sf::portsFile);
    const auto saved = sf::formatPortNames({"Evolver Simulator", "Evolver Simulator", "NONE"});
    file.replaceWithData(saved.getData(), saved.getSize());
    {
        auto state = makeState(temp.folder, devices);
        EXPECT_TRUE(state->ports().isInputOpen());
        EXPECT_TRUE(state->ports().isOutputOpen());
    }

    // A two-byte file is replaced by one built from the current names; a two-character name is never
    // looked up; an unplugged device leaves the port closed but keeps its name.
    file.replaceWithData("ab", 2);
    {
        auto state = makeState(temp.folder, devices);
        EXPECT_FALSE(state->ports().isInputOpen());
    }
    EXPECT_GT(file.getSize(), 3);
    {
        // A two-character name is never looked up, even when a device of that very name exists.
        auto shortNamed = std::make_shared<RecordingDevices>();
        shortNamed->outputName = "Ev";
        const auto twoLetters = sf::formatPortNames({"NONE", "Ev", "NONE"});
        file.replaceWithData(twoLetters.getData(), twoLetters.getSize());
        EXPECT_FALSE(makeState(temp.folder, shortNamed)->ports().isOutputOpen());
        shortNamed->outputName = "Evo";
        const auto threeLetters = sf::formatPortNames({"NONE", "Evo", "NONE"});
        file.replaceWithData(threeLetters.getData(), threeLetters.getSize());
        EXPECT_TRUE(makeState(temp.folder, shortNamed)->ports().isOutputOpen());
    }
    const auto unplugged = sf::formatPortNames({"Gone Away", "Ev", "NONE"});
    file.replaceWithData(unplugged.getData(), unplugged.getSize());
    auto state = makeState(temp.folder, devices);
    EXPECT_FALSE(state->ports().isInputOpen());
    EXPECT_FALSE(state->ports().isOutputOpen());
    EXPECT_EQ(state->portNames[0], juce::String("Gone Away"));
    state->selectOutputPort(1);
    state->savePortSettings();
    juce::MemoryBlock back;
    file.loadFileAsData(back);
    EXPECT_EQ(back, sf::formatPortNames({"Gone Away", "Evolver Simulator", "NONE"}));
}

TEST(DataImageFile, MissingOrWrongSizedImagesFallBackToFactorySetOne)
{
    TempFolder temp;
    const auto image = temp.folder.getChildFile(sf::libraryFile);
    {
        auto state = makeState(temp.folder);
        EXPECT_EQ(state->programBank(0)->slotName(0), juce::String("Big Ana Orch    "));
        EXPECT_EQ(state->programBank(1)->slotName(127), juce::String("Basic Program   "));
        state->programBank(3)->setSlotName(5, "Saved Slot");
    }
    EXPECT_EQ(image.getSize(), (juce::int64)image::size);
    {
        auto state = makeState(temp.folder);
        EXPECT_EQ(state->programBank(3)->slotName(5), juce::String("Saved Slot      "));
    }

    for (size_t size : {image::size - 1, image::size + 1})
    {
        juce::MemoryBlock wrong(size, true);
        image.replaceWithData(wrong.getData(), wrong.getSize());
        auto state = makeState(temp.folder);
        Bank_Program factoryD("D");
        factoryD.loadFactory(1, 3);
        EXPECT_EQ(state->programBank(3)->slotName(5), factoryD.slotName(5));
        EXPECT_EQ(state->programBank(0)->slotName(0), juce::String("Big Ana Orch    "));
        EXPECT_EQ(state->takeNotices().size(), 1);
    }
    // Each rejected file was kept whole under a name of its own; nothing was written in their place
    // because nothing changed.
    EXPECT_EQ(temp.folder.getChildFile(sf::rejectedLibraryFile).getSize(), (juce::int64)image::size - 1);
    EXPECT_EQ(temp.folder.getChildFile(juce::String(sf::rejectedLibraryFile) + "2").getSize(),
              (juce::int64)image::size + 1);
    EXPECT_FALSE(image.exists());
    {
        auto state = makeState(temp.folder);
        state->programBank(1)->setSlotName(7, "Changed");
    }
    EXPECT_EQ(image.getSize(), (juce::int64)image::size); // a change is saved again
}

TEST(DataImageFile, AnUnreadableLibraryIsKeptAndNeverOverwritten)
{
    TempFolder temp;
    const auto image = temp.folder.getChildFile(sf::libraryFile);
    const auto earlierBackup = temp.folder.getChildFile(sf::rejectedLibraryFile);
    {
        auto state = makeState(temp.folder);
        state->programBank(2)->setSlotName(3, "User Sound");
    }
    const auto library = fileData(image);
    earlierBackup.replaceWithText("an earlier backup");

    // The disk fails to read the file: it is moved aside intact, the earlier backup stays, the user
    // is told once, and the next shutdown writes nothing.
    MidiCntrStateOptions failing{temp.folder, {}, std::make_shared<NoMidiDevices>(), true};
    failing.readLibraryFile = [](const juce::File&, juce::MemoryBlock&) { return false; };
    {
        MidiCntrState state(failing);
        const auto notices = state.takeNotices();
        ASSERT_EQ(notices.size(), 1);
        EXPECT_TRUE(notices[0].contains(juce::String(sf::rejectedLibraryFile) + "2")) << notices[0];
        EXPECT_TRUE(state.takeNotices().isEmpty());
    }
    EXPECT_EQ(earlierBackup.loadFileAsString(), juce::String("an earlier backup"));
    EXPECT_EQ(fileData(temp.folder.getChildFile(juce::String(sf::rejectedLibraryFile) + "2")), library);
    EXPECT_FALSE(image.exists());

    // A file that appears meanwhile and cannot be read either is kept whole before anything is
    // written in its place.
    {
        MidiCntrState state(failing);
        image.replaceWithData(library.getData(), library.getSize());
        state.programBank(0)->setSlotName(0, "Changed Here");
        EXPECT_TRUE(state.saveLibrary());
    }
    EXPECT_EQ(fileData(temp.folder.getChildFile(juce::String(sf::rejectedLibraryFile) + "3")), library);
    auto after = makeState(temp.folder);
    EXPECT_EQ(after->programBank(0)->slotName(0).trim(), juce::String("Changed Here"));
}

TEST(DataImageFile, TwoInstancesNeverLoseEachOthersEdits)
{
    TempFolder temp;
    const auto image = temp.folder.getChildFile(sf::libraryFile);
    const auto name = [&](int bank, int slot)
    {
        auto state = makeState(temp.folder);
        return state->programBank(bank)->slotName(slot).trim();
    };

    // One edits and closes; the other, unchanged, closes later: the edit survives.
    {
        auto a = makeState(temp.folder);
        auto b = makeState(temp.folder);
        a->programBank(1)->setSlotName(4, "From A");
        a.reset();
        b.reset();
    }
    EXPECT_EQ(name(1, 4), juce::String("From A"));

    // Both edit different slots: both survive.
    {
        auto a = makeState(temp.folder);
        auto b = makeState(temp.folder);
        a->programBank(0)->setSlotName(1, "A Slot");
        b->programBank(3)->setSlotName(2, "B Slot");
        a.reset();
        b.reset();
    }
    EXPECT_EQ(name(0, 1), juce::String("A Slot"));
    EXPECT_EQ(name(3, 2), juce::String("B Slot"));
    EXPECT_EQ(name(1, 4), juce::String("From A"));

    // Both edit the same slot: the last to close wins it, the other's file is kept whole, and the
    // next start tells the user.
    {
        auto a = makeState(temp.folder);
        auto b = makeState(temp.folder);
        a->programBank(2)->setSlotName(9, "A Version");
        b->programBank(2)->setSlotName(9, "B Version");
        a.reset();
        b.reset();
    }
    const auto backup = temp.folder.getChildFile(sf::rejectedLibraryFile);
    ASSERT_TRUE(backup.existsAsFile());
    Bank_Program kept("kept");
    kept.loadFromImage(2, fileData(backup));
    EXPECT_EQ(kept.slotName(9).trim(), juce::String("A Version"));
    auto next = makeState(temp.folder);
    EXPECT_EQ(next->programBank(2)->slotName(9).trim(), juce::String("B Version"));
    const auto notices = next->takeNotices();
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains("1 library slots")) << notices[0];
    EXPECT_EQ(image.getSize(), (juce::int64)image::size);
}

TEST(ProgramBankFile, WritesAndReadsBackTheSameSlots)
{
    Bank_Program bank("Program Bank B");
    bank.loadFactory(1, 1);
    bank.setSlotName(3, juce::String::charToString((juce::juce_wchar)150) + "High Name");
    const auto file = libraryfiles::writeProgramBank(bank, 1);
    ASSERT_EQ(file.getSize(), libraryfiles::bankFileSize);
    const auto* d = static_cast<const juce::uint8*>(file.getData());
    EXPECT_EQ(d[4], 0x02);
    EXPECT_EQ(d[5], 1);
    EXPECT_EQ(d[252 * 3 + 228 + 4], 0x11);
    EXPECT_EQ(d[252 * 3 + 228 + 6], 3);
    EXPECT_EQ(d[252 * 3 + 228 + 7], 32); // name bytes of 128 and above travel as spaces
    for (size_t i = 0; i < file.getSize(); ++i)
    {
        if (d[i] != 0xF0 && d[i] != 0xF7)
        {
            ASSERT_LT(d[i], 0x80) << i;
        }
    }

    const auto back = libraryfiles::readProgramBank(file);
    ASSERT_TRUE(back.has_value());
    ASSERT_EQ(back->getSize(), libraryfiles::bankRecordBytes);
    for (int s = 0; s < 128; ++s)
    {
        const auto* got = static_cast<const juce::uint8*>(back->getData()) + 208 * s;
        ASSERT_EQ(std::memcmp(got, bank.slotData(s), 192), 0) << s;
        if (s != 3)
        {
            ASSERT_EQ(std::memcmp(got + 192, bank.slotData(s) + 192, 16), 0) << s;
        }
    }

    // Extra bytes around the messages are ignored; programs without names are rejected.
    juce::MemoryBlock padded;
    padded.append("junk", 4);
    padded.append(file.getData(), file.getSize());
    padded.append("tail", 4);
    EXPECT_TRUE(libraryfiles::readProgramBank(padded).has_value());
    juce::MemoryBlock programsOnly;
    for (int s = 0; s < 128; ++s)
        programsOnly.append(d + 252 * s, 228);
    EXPECT_FALSE(libraryfiles::readProgramBank(programsOnly).has_value());
    EXPECT_FALSE(libraryfiles::readProgramBank(juce::MemoryBlock(d, 9)).has_value());
    juce::MemoryBlock oneMore(file);
    oneMore.append(d, 252);
    EXPECT_FALSE(libraryfiles::readProgramBank(oneMore).has_value());
}

TEST(ProgramBankFile, MessagesThatDoNotAlternateStillLoadInOrder)
{
    Bank_Program bank("P");
    bank.loadFactory(1, 0);
    const auto file = libraryfiles::writeProgramBank(bank, 0);
    const auto* d = static_cast<const juce::uint8*>(file.getData());
    juce::MemoryBlock swapped; // slot 0's name message first, then its program
    swapped.append(d + 228, 24);
    swapped.append(d, 228);
    swapped.append(d + 252, file.getSize() - 252);
    const auto back = libraryfiles::readProgramBank(swapped);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(std::memcmp(back->getData(), d + 228 + 7, 16), 0); // the slots shift accordingly
}

TEST(SingleProgramFile, FirstMessageCountsAndTheFileNameNamesIt)
{
    Bank_Program bank("P");
    bank.loadFactory(1, 0);
    const auto message = libraryfiles::writeSingleProgram(bank.getSlot(1));
    ASSERT_EQ(message.getSize(), 226u);

    juce::MemoryBlock file;
    file.append("xx", 2);
    file.append(message.getData(), message.getSize());
    const auto other = libraryfiles::writeSingleProgram(bank.getSlot(2));
    file.append(other.getData(), other.getSize());
    const auto record = libraryfiles::readSingleProgram(file, "My Patch.evp");
    ASSERT_TRUE(record.has_value());
    ASSERT_EQ(record->getSize(), 208u);
    EXPECT_EQ(std::memcmp(record->getData(), bank.slotData(1), 192), 0);
    EXPECT_EQ(records::decodeName(static_cast<const juce::uint8*>(record->getData()) + 192),
              juce::String("My Patch        "));
    EXPECT_EQ(libraryfiles::nameForFile(juce::File("/tmp/Lead.v2.syx")), juce::String("Lead.v2.syx"));

    juce::MemoryBlock withSlot(228, true); // the form naming bank and slot also loads
    auto* w = static_cast<juce::uint8*>(withSlot.getData());
    std::memcpy(w, message.getData(), 5);
    std::memcpy(w + 7, static_cast<const juce::uint8*>(message.getData()) + 5, 221);
    EXPECT_TRUE(libraryfiles::readSingleProgram(withSlot, "").has_value());

    juce::MemoryBlock combo(98, true); // a combo message is not a program
    static_cast<juce::uint8*>(combo.getData())[0] = 0xF0;
    static_cast<juce::uint8*>(combo.getData())[97] = 0xF7;
    EXPECT_FALSE(libraryfiles::readSingleProgram(combo, "x").has_value());
    EXPECT_FALSE(libraryfiles::readSingleProgram(juce::MemoryBlock(message.getData(), 9), "x").has_value());
    juce::MemoryBlock unterminated(message.getData(), 225);
    EXPECT_FALSE(libraryfiles::readSingleProgram(unterminated, "x").has_value());
}

TEST(FactorySets, EverySetIsAValidImageWithItsExampleNames)
{
    for (int set = 1; set <= 3; ++set)
    {
        const auto image = factory::image(set);
        ASSERT_EQ(image.getSize(), image::size) << set;
        const auto* d = static_cast<const juce::uint8*>(image.getData());
        for (int b = 0; b < 4; ++b)
            for (int s = 0; s < 128; ++s)
            {
                const auto* p = d + 24576 * b + 192 * s;
                for (int i = 0; i < 192; ++i)
                {
                    ASSERT_GE(p[i], params::rangeMinimum(i)) << set << " " << b << " " << s << " " << i;
                    ASSERT_LE(p[i], params::rangeMaximum(i)) << set << " " << b << " " << s << " " << i;
                }
                ASSERT_LE(p[params::categoryIndex], 25);
                const auto* name = d + 106496 + 2048 * b + 16 * s;
                for (int i = 0; i < 16; ++i)
                    ASSERT_TRUE(name[i] >= 32 && name[i] <= 126);
            }
    }
    struct Example
    {
        int set, bank, slot;
        const char* name;
    };
    const Example examples[] = {
        {1, 0, 0, "Big Ana Orch"},    {1, 0, 1, "Key Trash Beat"},   {1, 1, 0, "Real Analog Sync"},
        {1, 1, 1, "Basic Wave Seq"},  {2, 0, 0, "AnaOrch Press FB"}, {2, 0, 1, "Key Trash Beat"},
        {3, 0, 0, "Big Sawz"},        {3, 0, 1, "Nice Pattern"},     {1, 1, 127, "Basic Program"},
        {3, 0, 127, "Basic Program"}, {3, 1, 127, "Basic Program"},  {3, 2, 127, "Basic Program"},
        {3, 3, 127, "Basic Program"}};
    for (const auto& e : examples)
    {
        Bank_Program bank("P");
        bank.loadFactory(e.set, e.bank);
        EXPECT_EQ(bank.slotName(e.slot), juce::String(e.name).paddedRight(' ', 16))
            << e.set << e.bank << e.slot;
    }
    EXPECT_EQ(factory::fixedShapesSize(), 24576u);
    EXPECT_EQ(factory::title(2), juce::String("PolyEvolver Rack Factory Presets "));
}

TEST(FactorySets, LoadingABankReplacesOnlyTheChosenProgramBank)
{
    TempFolder temp;
    auto state =
        MidiCntrState(MidiCntrStateOptions{temp.folder, {}, std::make_shared<NoMidiDevices>(), false});
    const auto combos = state.comboBank(0)->getSlot(0);
    const auto waves = state.waveBank().userShapes();
    const auto edit = state.hostBank().getEdit();
    const auto bankC = state.programBank(2)->getSlot(0);
    state.currentBank = 0;
    state.programBank(state.currentBank.load())
        ->loadFactory(2, 2); // set 2, "Bank C", into the current bank A
    Bank_Program expected("x");
    expected.loadFactory(2, 2);
    EXPECT_EQ(state.programBank(0)->getSlot(0), expected.getSlot(0));
    EXPECT_EQ(state.programBank(2)->getSlot(0), bankC);
    EXPECT_EQ(state.comboBank(0)->getSlot(0), combos);
    EXPECT_EQ(state.waveBank().userShapes(), waves);
    EXPECT_EQ(state.hostBank().getEdit(), edit);
}

namespace
{
juce::MemoryBlock fixture(const char* name)
{
    juce::MemoryBlock data;
    juce::File(ZENTAK_TEST_DATA).getChildFile(name).loadFileAsData(data);
    return data;
}
} // namespace

TEST(GoldenFiles, WritersMatchTheFixturesByteForByte)
{
    Bank_Program bankB("Program Bank B");
    bankB.loadFactory(1, 1);
    const auto bankFile = fixture("factory1_bankB.syx");
    ASSERT_EQ(bankFile.getSize(), libraryfiles::bankFileSize);
    EXPECT_EQ(libraryfiles::writeProgramBank(bankB, 1), bankFile);
    const auto read = libraryfiles::readProgramBank(bankFile);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(std::memcmp(read->getData(), bankB.slotData(0), libraryfiles::bankRecordBytes), 0);

    Bank_Program init("Program Bank");
    init.initialise();
    const auto single = fixture("init_program.syx");
    EXPECT_EQ(libraryfiles::writeSingleProgram(init.getEdit()), single);
    const auto record = libraryfiles::readSingleProgram(single, "Untitled.syx");
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(*record, init.getEdit());
}
