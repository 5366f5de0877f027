#include "library/Bank_Combo.h"
#include "library/Bank_Program.h"
#include "library/DataImage.h"
#include "library/WaveBank.h"
#include "sounddata/ParamCatalogue.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zentak;

namespace
{
juce::MemoryBlock patternImage()
{
    juce::MemoryBlock image(image::size);
    auto* d = static_cast<std::uint8_t*>(image.getData());
    for (size_t i = 0; i < image.getSize(); ++i)
        d[i] = (std::uint8_t)((i * 7 + i / 251) & 0xff);
    return image;
}

std::vector<std::uint8_t> allSlots(const Bank_Program& b)
{
    return std::vector<std::uint8_t>(b.slotData(0), b.slotData(0) + Bank_Program::bankBytes);
}
} // namespace

TEST(BankProgram, InitialiseGivesTheInitialProgramEverywhere)
{
    Bank_Program bank("Program Bank A");
    bank.initialise();
    for (int s : {0, 63, 127})
    {
        EXPECT_EQ(bank.slotName(s), juce::String("Untitled        "));
        for (int i = 0; i < params::numSoundParams; ++i)
            ASSERT_EQ(bank.slotData(s)[i], params::info(i)->init) << s << " " << i;
    }
    EXPECT_EQ(bank.editName(), juce::String("Untitled        "));
    EXPECT_EQ(bank.editByte(66), 120);
}

TEST(BankProgram, SlotWritesKeepOrReplaceTheName)
{
    Bank_Program bank("B");
    bank.initialise();
    bank.setSlotName(5, "Keep Me");
    bank.setSlot(5, juce::MemoryBlock(192, true));
    EXPECT_EQ(bank.slotName(5), juce::String("Keep Me         "));
    EXPECT_EQ(bank.slotData(5)[0], 0);

    juce::MemoryBlock full(208, true);
    std::memset(static_cast<char*>(full.getData()) + 192, 'Z', 16);
    bank.setSlot(5, full);
    EXPECT_EQ(bank.slotName(5), juce::String("ZZZZZZZZZZZZZZZZ"));

    EXPECT_EQ(bank.getSlot(-1), bank.getSlot(0));
    EXPECT_EQ(bank.getSlot(128).getSize(), 0u);
    EXPECT_EQ(bank.slotName(-1), juce::String()); // no slot, no name: never a neighbour's
    EXPECT_EQ(bank.slotName(128), juce::String());

    // A write longer than the last slot stops at the end of the bank.
    juce::MemoryBlock tooLong(1000, true);
    const auto before = allSlots(bank);
    bank.setSlot(127, tooLong);
    const auto after = allSlots(bank);
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 127 * 208, after.begin()));
    bank.setSlot(128, tooLong); // ignored
    bank.setSlot(-3, tooLong);  // ignored
    EXPECT_EQ(allSlots(bank), after);
}

TEST(BankProgram, StoreEditTouchesOnlyItsSlot)
{
    Bank_Program bank("Program Bank");
    bank.initialise();
    juce::MemoryBlock edit(208);
    std::memset(edit.getData(), 0x5a, 208);
    bank.setEdit(edit);
    const auto before = allSlots(bank);
    const auto copy = bank.storeEdit(127);
    const auto after = allSlots(bank);
    EXPECT_EQ(copy, edit);
    for (size_t i = 0; i < before.size(); ++i)
    {
        if (i >= 26416 && i <= 26623)
            ASSERT_EQ(after[i], 0x5a) << i;
        else
            ASSERT_EQ(after[i], before[i]) << i;
    }
}

TEST(BankProgram, EditWritesFromOffsetZero)
{
    Bank_Program bank("Program Bank");
    bank.initialise();
    bank.setEditName("Lead Name");
    bank.setEdit(juce::MemoryBlock(80, true)); // a combo record covers only 0..79
    EXPECT_EQ(bank.editByte(79), 0);
    EXPECT_EQ(bank.editByte(120), 106);
    EXPECT_EQ(bank.editName(), juce::String("Lead Name       "));
    EXPECT_EQ(bank.slotMessage(3).getSize(), 226u);
}

TEST(DataImage, BanksLoadFromTheirOffsetsAndRebuildTheSameImage)
{
    const auto image = patternImage();
    const auto* d = static_cast<const std::uint8_t*>(image.getData());

    std::array<std::unique_ptr<Bank_Program>, 4> programs;
    std::array<std::unique_ptr<Bank_Combo>, 3> combos;
    WaveBank waves;
    for (int b = 0; b < 4; ++b)
    {
        programs[(size_t)b] = std::make_unique<Bank_Program>("P");
        programs[(size_t)b]->loadFromImage(b, image);
    }
    for (int c = 0; c < 3; ++c)
    {
        combos[(size_t)c] = std::make_unique<Bank_Combo>("C");
        combos[(size_t)c]->loadFromImage(c, image);
    }
    waves.loadUserShapesFromImage(image);

    EXPECT_EQ(programs[2]->slotData(9)[0], d[24576 * 2 + 192 * 9]);
    EXPECT_EQ(programs[2]->slotData(9)[191], d[24576 * 2 + 192 * 9 + 191]);
    EXPECT_EQ(programs[3]->slotData(127)[192], d[106496 + 2048 * 3 + 16 * 127]);
    EXPECT_EQ(combos[1]->getSlot(4)[0], (char)d[114688 + 10240 + 80 * 4]);
    EXPECT_EQ(waves.data()[24576], d[98304]);

    const Bank_Program* const p[4] = {programs[0].get(), programs[1].get(), programs[2].get(),
                                      programs[3].get()};
    const Bank_Combo* const c[3] = {combos[0].get(), combos[1].get(), combos[2].get()};
    EXPECT_EQ(image::build(p, waves, c), image);
}

TEST(DataImage, ShortImagesReadAsZeroBeyondTheirEnd)
{
    Bank_Program bank("P");
    bank.initialise();
    juce::MemoryBlock tiny(10);
    std::memset(tiny.getData(), 9, 10);
    bank.loadFromImage(0, tiny);
    EXPECT_EQ(bank.slotData(0)[9], 9);
    EXPECT_EQ(bank.slotData(0)[10], 0);
    EXPECT_EQ(bank.slotData(127)[200], 0);
    bank.loadFromImage(4, tiny); // no such bank: nothing changes
    EXPECT_EQ(bank.slotData(0)[9], 9);
}

TEST(WaveBankTest, SamplesAreSignedLittleEndian)
{
    WaveBank waves;
    std::vector<std::uint8_t> fixed(24576, 0);
    fixed[2] = 0x00;
    fixed[3] = 0x80; // shape 0 sample 1 = -32768
    fixed[256] = 0xff;
    fixed[257] = 0x7f; // shape 1 sample 0 = 32767
    waves.loadFixedShapes(fixed.data(), fixed.size());
    EXPECT_EQ(waves.sample(0, 1), -32768);
    EXPECT_EQ(waves.sample(1, 0), 32767);
    EXPECT_EQ(waves.sample(128, 0), 0);
    EXPECT_EQ(waves.getName(), juce::String("Wave Bank"));
    EXPECT_EQ(waves.userShapes().getSize(), 8192u);
}
