// Tests of the edit history: undo, redo and the redo branch, the bounds, the gesture recorder and the
// labels and cable costs of steps.
#include "editing/EditHistory.h"
#include "sounddata/ParamCatalogue.h"
#include "tests/RecordSupport.h"

#include <gtest/gtest.h>

using namespace zentak;
using namespace zentak::editing;

namespace
{
juce::MemoryBlock initialRecord()
{
    return testrecords::initialRecord();
}

EditStep oneChange(int index, int before, int after)
{
    EditStep step;
    step.changes.push_back({(std::uint8_t)index, (std::uint8_t)before, (std::uint8_t)after});
    step.label = changeLabel(step.changes);
    return step;
}
} // namespace

TEST(EditHistory, UndoAndRedoRestoreEveryByteAndANewEditDropsTheRedoBranch)
{
    EditHistory history;
    auto record = initialRecord();
    std::vector<juce::MemoryBlock> states{record};

    // Three parameter steps and a replacement, each applied to the record as the state would.
    for (auto [index, value] : {std::pair{16, 92}, {16, 30}, {140, 77}})
    {
        auto step = oneChange(index, (std::uint8_t)record[(size_t)index], value);
        applyStep(step, true, record);
        ASSERT_TRUE(history.record(step));
        states.push_back(record);
    }
    auto other = initialRecord();
    other[0] = 99;
    other[200] = 'Z';
    auto replacement = replacementStep("A:003 Night Groove loaded", record, other);
    ASSERT_TRUE(replacement.has_value());
    applyStep(*replacement, true, record);
    history.record(*replacement);
    states.push_back(record);

    for (int i = (int)states.size() - 1; i > 0; --i)
    {
        const auto* step = history.undo();
        ASSERT_NE(step, nullptr);
        applyStep(*step, false, record);
        EXPECT_EQ(record, states[(size_t)i - 1]) << "after undoing to " << i - 1;
    }
    EXPECT_EQ(history.undo(), nullptr);
    for (size_t i = 1; i < states.size(); ++i)
    {
        applyStep(*history.redo(), true, record);
        EXPECT_EQ(record, states[i]);
    }
    EXPECT_EQ(history.redo(), nullptr);

    // Two undos, then a new edit: the two undone steps are gone for good.
    applyStep(*history.undo(), false, record);
    applyStep(*history.undo(), false, record);
    history.record(oneChange(24, (std::uint8_t)record[24], 5));
    EXPECT_EQ(history.size(), 3);
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.nextUndo()->label, changeLabel({{24, (std::uint8_t)record[24], 5}}));
}

TEST(EditHistory, StepsThatChangeNothingAreNotRecorded)
{
    EditHistory history;
    EXPECT_FALSE(history.record(oneChange(3, 40, 40)));
    EXPECT_FALSE(history.record(EditStep{}));
    EXPECT_FALSE(replacementStep("Paste", initialRecord(), initialRecord()).has_value());
    EXPECT_EQ(history.size(), 0);
}

TEST(EditHistory, BoundsKeepAtLeastAThousandStepsWithinOneMegabyteOldestFirst)
{
    struct Case
    {
        const char* what;
        bool replacements;
    };
    for (const Case& c : {Case{"parameter steps", false}, Case{"replacements", true}})
    {
        EditHistory history;
        auto record = initialRecord();
        for (int n = 0; n < 6000; ++n)
        {
            if (c.replacements)
            {
                auto next = record;
                next[(size_t)(n % 192)] = (char)((std::uint8_t)next[(size_t)(n % 192)] ^ 1);
                auto step = replacementStep("step " + juce::String(n), record, next);
                history.record(*step);
                record = next;
            }
            else
            {
                auto step = oneChange(n % 192, n % 100, n % 100 + 1);
                step.label = "step " + juce::String(n);
                history.record(step);
            }
        }
        EXPECT_GE(history.size(), 1000) << c.what;
        EXPECT_LE(history.footprint(), EditHistory::defaultMaxBytes) << c.what;
        EXPECT_EQ(history.position(), history.size()) << c.what;
        EXPECT_EQ(history.step(history.size() - 1).label, "step 5999") << c.what;
        EXPECT_EQ(history.step(0).label, "step " + juce::String(6000 - history.size())) << c.what;
    }
}

TEST(EditHistory, BoundsDropStepsUnderAnUndonePositionWithoutLosingTheRedoBranch)
{
    EditHistory history(4, EditHistory::defaultMaxBytes);
    for (int n = 0; n < 4; ++n)
        history.record(oneChange(n, 0, 1));
    history.undo();
    history.undo();
    EXPECT_EQ(history.position(), 2);
    history.record(oneChange(10, 0, 1)); // drops the two undone steps
    history.record(oneChange(11, 0, 1));
    history.record(oneChange(12, 0, 1)); // five steps: the oldest goes
    EXPECT_EQ(history.size(), 4);
    EXPECT_EQ(history.position(), 4);
    EXPECT_EQ(history.step(0).changes[0].index, 1);
}

TEST(GestureRecorder, OverlappingGesturesMakeOneStepAndLooseValuesMakeTheirOwn)
{
    GestureRecorder recorder;
    recorder.begin(16, 44);
    recorder.value(16, 44, 60);
    recorder.begin(16, 60); // a second owner of the same gesture
    recorder.begin(176, 10);
    recorder.value(176, 10, 20);
    EXPECT_FALSE(recorder.end(16, 92).has_value()); // 176 still open
    auto step = recorder.end(176, 30);
    ASSERT_TRUE(step.has_value());
    ASSERT_EQ(step->changes.size(), 2u);
    EXPECT_EQ(step->changes[0].index, 16);
    EXPECT_EQ(step->changes[0].before, 44);
    EXPECT_EQ(step->changes[0].after, 92);
    EXPECT_EQ(step->changes[1].index, 176);
    EXPECT_EQ(step->changes[1].before, 10);
    EXPECT_EQ(step->changes[1].after, 30);
    EXPECT_FALSE(recorder.anyOpen());

    // A drag that ends where it began, and an end with no begin: no step.
    recorder.begin(24, 50);
    recorder.value(24, 50, 70);
    EXPECT_FALSE(recorder.end(24, 50).has_value());
    EXPECT_FALSE(recorder.end(25, 3).has_value());

    // A value with no gesture open (a toggle): one step of its own.
    auto toggle = recorder.value(34, 0, 1);
    ASSERT_TRUE(toggle.has_value());
    EXPECT_EQ(toggle->changes.size(), 1u);
    EXPECT_FALSE(recorder.value(34, 1, 1).has_value());
}

TEST(EditStep, LabelsAndCableCosts)
{
    EXPECT_EQ(changeLabel({{16, 44, 92}}), juce::String::fromUTF8("LPF Frequency 44 \xe2\x86\x92 92"));
    EXPECT_EQ(changeLabel({{16, 44, 92}, {17, 0, 1}, {18, 0, 1}}), "LPF Frequency and 2 more");
    EXPECT_EQ(changeLabel({{128, 0, 101}}).substring(0, 11), "Seq 1 Step ");

    EditStep step;
    for (int n = 1; n <= 30; ++n)
    {
        step.changes.push_back({(std::uint8_t)n, 0, 1});
        EXPECT_EQ(wireBytes(step), std::min(9 * n, 226)) << n;
    }
    EXPECT_EQ(wireBytes(*replacementStep("Recv", juce::MemoryBlock(208, true), initialRecord())), 226);
}
