// StsLabel and StsGrid: labels of rows, fills by bank and by category, selection, scrolling and the
// grip, including lists with fewer rows than fit and empty lists.
#include "WidgetTestSupport.h"

#include "ui/widgets/StsGrid.h"
#include "ui/widgets/StsLabel.h"

using namespace zentak;
using namespace zentak::test;

namespace
{
struct Selection
{
    int event, row, slot, bank;
};

struct GridTest : SkinTest
{
    TempFolder temp;
    std::unique_ptr<MidiCntrState> state;
    std::unique_ptr<StsGrid> grid;
    std::unique_ptr<ChangeLog<Selection>> log;

    void SetUp() override
    {
        MidiCntrStateOptions o;
        o.settingsFolder = temp.folder;
        state = std::make_unique<MidiCntrState>(o);
        grid = std::make_unique<StsGrid>(state.get());
        grid->setColumnWidths({50, 140, 0, 0});
        grid->setDefaultColours();
        grid->columnCount = 2;
        grid->rowHeight = 26;
        grid->fontSize = 15;
        grid->scrollBarWidth = 32;
        grid->setBounds(0, 0, 246, 390); // 15 visible rows
        log = std::make_unique<ChangeLog<Selection>>(
            *grid,
            [this] {
                return Selection{grid->eventCode, grid->selectedRow, grid->selectedSlot, grid->selectedBank};
            });
    }

    void setCategory(int bank, int slot, int category)
    {
        auto record = state->programBank(bank)->getSlot(slot);
        static_cast<juce::uint8*>(record.getData())[117] = (juce::uint8)category;
        state->programBank(bank)->setSlot(slot, record);
    }

    /** Gives every slot of every bank category 0, then the given slots category 9. */
    void categoryNine(std::initializer_list<std::pair<int, int>> slots)
    {
        for (int b = 0; b < 4; ++b)
            for (int s = 0; s < 128; ++s)
                setCategory(b, s, 0);
        for (auto [b, s] : slots)
            setCategory(b, s, 9);
    }

    void press(float x, float y, juce::ModifierKeys m = leftButton)
    {
        grid->mouseDown(mouse(*grid, x, y, m));
    }
    void wheelStep(float delta) { grid->mouseWheelMove(mouse(*grid, 20, 20), wheel(delta)); }
    bool gripDrawn()
    {
        const auto image = render(*grid);
        return image.getPixelAt(246 - 32 + 2 + 15, 16).getAlpha() > 0;
    }
};
} // namespace

TEST(StsGridLabels, SlotNumbersHaveThreeDigits)
{
    const std::pair<int, const char*> cases[] = {{0, "A:001"},  {8, "A:009"},  {9, "A:010"},
                                                 {98, "A:099"}, {99, "A:100"}, {127, "A:128"}};
    for (auto [slot, text] : cases)
        EXPECT_EQ(StsGrid::rowLabel(0, slot), text);
    EXPECT_EQ(StsGrid::rowLabel(2, 4), "C:005");
}

TEST_F(GridTest, BankFillListsEverySlotAndTheGripAppearsOnlyWhenRowsDoNotFit)
{
    grid->fill(0, 2);
    EXPECT_EQ(grid->rowCount, 128);
    EXPECT_EQ(grid->rowSlot(127), 127);
    EXPECT_EQ(grid->rowBank(5), 2);
    EXPECT_EQ(grid->visibleRows(), 0 + 15);
    EXPECT_TRUE(gripDrawn());
    grid->rowCount = 15;
    EXPECT_FALSE(gripDrawn());
    grid->rowCount = 16;
    EXPECT_TRUE(gripDrawn());
}

TEST_F(GridTest, CategoryFillSearchesBanksAToCOnly)
{
    categoryNine({{0, 5}, {3, 1}, {2, 127}, {1, 0}, {0, 77}});
    grid->fill(1, 9);
    ASSERT_EQ(grid->rowCount, 4);
    const std::pair<int, int> expected[] = {{0, 5}, {0, 77}, {1, 0}, {2, 127}};
    for (int r = 0; r < 4; ++r)
    {
        EXPECT_EQ(grid->rowBank(r), expected[r].first);
        EXPECT_EQ(grid->rowSlot(r), expected[r].second);
    }
    grid->fill(1, 25); // nobody has it: an empty list, no rows, no grip
    EXPECT_EQ(grid->rowCount, 0);
    EXPECT_FALSE(gripDrawn());
}

TEST_F(GridTest, PressesSelectRowsAndTheRightButtonReportsOnlyExistingRows)
{
    grid->fill(0, 1);
    press(60, 26 * 3 + 5);
    ASSERT_EQ(log->flush().size(), 1u);
    EXPECT_EQ(log->entries[0].event, StsGrid::rowSelected);
    EXPECT_EQ(log->entries[0].slot, 3);
    EXPECT_EQ(log->entries[0].bank, 1);
    EXPECT_TRUE(grid->isListPressed());
    EXPECT_EQ(grid->getClickedColumn(), 1);

    log->clear();
    press(20, 26 * 7 + 1, rightButton);
    ASSERT_EQ(log->flush().size(), 1u) << "one callback, which sees the right-button event";
    EXPECT_EQ(log->entries[0].event, StsGrid::rowPressedRight);
    EXPECT_EQ(log->entries[0].row, 7);
    EXPECT_EQ(grid->getClickedColumn(), 0);

    // A list of three: a press below the last row selects the last row.
    categoryNine({{0, 1}, {0, 2}, {1, 3}});
    grid->fill(1, 9);
    log->clear();
    press(60, 300);
    ASSERT_EQ(log->flush().size(), 1u);
    EXPECT_EQ(log->entries[0].row, 2);
    EXPECT_EQ(log->entries[0].slot, 3);

    // An empty list selects nothing and reports nothing, whichever button.
    grid->fill(1, 25);
    log->clear();
    press(60, 30);
    press(60, 30, rightButton);
    EXPECT_TRUE(log->flush().empty());
    EXPECT_EQ(grid->selectedRow, -1);

    press(246 - 10, 30);
    EXPECT_TRUE(grid->isScrollBarPressed());
    EXPECT_FALSE(grid->isListPressed());
}

TEST_F(GridTest, WheelStepsStopAtBothEnds)
{
    grid->fill(0, 0);
    wheelStep(1.0f); // at the top
    wheelStep(1.0f);
    EXPECT_EQ(grid->getScrollValue(), 0);
    EXPECT_EQ(grid->getFirstRow(), 0);
    wheelStep(-1.0f); // one step down moves at once
    EXPECT_EQ(grid->getFirstRow(), 1);

    grid->setScrollValue(500);
    EXPECT_EQ(grid->getScrollValue(), 113); // 128 rows - 15 visible
    EXPECT_EQ(grid->getFirstRow(), 113);
    wheelStep(-1.0f);
    wheelStep(-1.0f);
    EXPECT_EQ(grid->getFirstRow(), 113);
    wheelStep(1.0f);
    EXPECT_EQ(grid->getFirstRow(), 112);
}

TEST_F(GridTest, ScrollBarDragCoversTheWholeList)
{
    grid->fill(0, 0);
    press(246 - 10, 5);
    grid->mouseDrag(mouse(*grid, 246 - 10, 31 + 360)); // past the grip's travel of 15 rows x 26 - 31
    EXPECT_EQ(grid->getScrollValue(), 113);
    grid->mouseDrag(mouse(*grid, 246 - 10, 2000));
    EXPECT_EQ(grid->getScrollValue(), 113);
    grid->mouseDrag(mouse(*grid, 246 - 10, 10));
    EXPECT_EQ(grid->getScrollValue(), 0);

    // Dragging the list past its bottom edge moves the rows without moving the grip.
    press(60, 100);
    grid->mouseDrag(mouse(*grid, 60, 400));
    EXPECT_EQ(grid->getFirstRow(), 1);
    EXPECT_EQ(grid->getScrollValue(), 0);
    grid->mouseDrag(mouse(*grid, 60, -5));
    grid->mouseDrag(mouse(*grid, 60, -5));
    EXPECT_EQ(grid->getFirstRow(), 0);
}

TEST_F(GridTest, ShortListsNeverScroll)
{
    categoryNine({{0, 1}, {0, 2}, {1, 3}});
    grid->fill(1, 9);
    grid->setScrollValue(5);
    EXPECT_EQ(grid->getScrollValue(), 0);
    grid->setFirstRow(2);
    EXPECT_EQ(grid->getFirstRow(), 0);
    press(246 - 10, 5);
    grid->mouseDrag(mouse(*grid, 246 - 10, 300));
    EXPECT_EQ(grid->getScrollValue(), 0);
    EXPECT_TRUE(std::isfinite(grid->getScrollFactor()));
    EXPECT_GE(grid->getScrollFactor(), 0.0f);
    const auto image = render(*grid);
    EXPECT_TRUE(std::isfinite(grid->getScrollFactor()));
    EXPECT_GT(countNear(image, {0, 0, 50, 26 * 3}, juce::Colour(0xff00bbbb), 50), 5);
    EXPECT_EQ(countNear(image, {0, 26 * 3 + 2, 50, 100}, juce::Colour(0xff00bbbb), 50), 0);
}

TEST_F(GridTest, RowsShowLabelNameAndSelection)
{
    state->programBank(0)->setSlotName(2, "Glass Keys");
    grid->fill(0, 0);
    grid->selectedRow = 2;
    const auto image = render(*grid);
    // The list's background is translucent (25 % twice); lines, texts and fills are opaque.
    auto ink = [&image](juce::Rectangle<int> r)
    {
        int n = 0;
        for (int y = r.getY(); y < r.getBottom(); ++y)
            for (int x = r.getX(); x < r.getRight(); ++x)
                n += image.getPixelAt(x, y).getAlpha() > 200 ? 1 : 0;
        return n;
    };
    EXPECT_EQ(ink({60, 26, 130, 1}), 130); // the line above row 1, 0xFF555555
    EXPECT_EQ(ink({60, 27, 130, 1}), 0);
    EXPECT_GT(image.getPixelAt(60, 26).getRed(), 60);
    // The selected row's label is bold: more ink than the same label unselected.
    EXPECT_GT(ink({0, 52, 50, 26}), ink({0, 78, 50, 26}) + 10);
    EXPECT_GT(ink({56, 52, 140, 26}), 50);
    // The selected row's fill reaches 50 + 140 + 27 pixels across.
    EXPECT_GT(image.getPixelAt(210, 60).getAlpha(), 0);
    EXPECT_EQ(image.getPixelAt(210, 100).getAlpha(), 0);
}

TEST(StsLabelTest, ReportsPressesStrictlyInsideAndPaintsItsFrame)
{
    StsLabel label;
    label.setup("Chan: 1", "Arial", 12.0f, juce::Justification::centred);
    label.setBounds(0, 0, 57, 15);
    ChangeLog<int> log(label, [] { return 1; });
    label.mouseDown(mouse(label, 0, 5));
    label.mouseDown(mouse(label, 20, 15));
    EXPECT_TRUE(log.flush().empty());
    label.mouseDown(mouse(label, 1, 1));
    EXPECT_EQ(log.flush().size(), 1u);

    for (int mode : {0, 1, 2})
    {
        label.frameMode = mode;
        label.backgroundColour = 0xff000000;
        label.outlineColour = 0xff9f9f9f;
        const auto image = render(label);
        EXPECT_EQ(image.getPixelAt(0, 0).getAlpha(), mode == 0 ? 0 : 255) << mode;
        EXPECT_EQ(image.getPixelAt(0, 0) == juce::Colour(0xff9f9f9f), mode == 2) << mode;
        EXPECT_EQ(image.getPixelAt(2, 2) == juce::Colour(0xff000000), mode >= 1) << mode;
        EXPECT_GT(countNear(image, {10, 1, 37, 13}, juce::Colours::white, 40), 5) << mode;
    }
}
