// EditHistory: undo and redo of edit-record changes, and the gesture recorder. Message thread.
#include "EditHistory.h"

#include "sounddata/ParDes.h"
#include "sounddata/ParamCatalogue.h"
#include "sounddata/SoundRecords.h"

namespace zentak::editing
{

namespace
{
constexpr int changeCableBytes = 9; // F0 01 20 01 01 param low high F7
int byteAt(const juce::MemoryBlock& block, int index)
{
    return index >= 0 && (size_t)index < block.getSize() ? (int)(std::uint8_t)block[(size_t)index] : 0;
}

juce::String valueText(int index, int byte)
{
    const int kind = index >= params::firstSeqStep ? params::seqStepKind : index;
    return ParDes::valueText(kind, byte);
}
} // namespace

std::size_t EditStep::footprint() const
{
    return sizeof(EditStep) + (size_t)label.getNumBytesAsUTF8() + changes.size() * sizeof(ParamChange) +
           before.getSize() + after.getSize();
}

EditHistory::EditHistory(std::size_t maxStepsToKeep, std::size_t maxBytesToKeep)
    : maxSteps(juce::jmax<std::size_t>(1, maxStepsToKeep)), maxBytes(maxBytesToKeep)
{
}

bool EditHistory::record(EditStep step)
{
    if (!step.isReplacement())
    {
        std::erase_if(step.changes, [](const ParamChange& c) { return c.before == c.after; });
        if (step.changes.empty())
            return false;
    }
    else if (step.before == step.after)
        return false;

    for (size_t i = (size_t)applied; i < steps.size(); ++i)
        bytes -= steps[i].footprint();
    steps.resize((size_t)applied);

    bytes += step.footprint();
    steps.push_back(std::move(step));
    applied = (int)steps.size();
    trimToBounds();
    return true;
}

void EditHistory::trimToBounds()
{
    size_t drop = 0;
    size_t kept = bytes;
    while (drop + 1 < steps.size() && (steps.size() - drop > maxSteps || kept > maxBytes))
        kept -= steps[drop++].footprint();
    if (drop == 0)
        return;
    steps.erase(steps.begin(), steps.begin() + (std::ptrdiff_t)drop);
    bytes = kept;
    applied = juce::jmax(0, applied - (int)drop);
}

const EditStep* EditHistory::undo()
{
    if (!canUndo())
        return nullptr;
    return &steps[(size_t)--applied];
}

const EditStep* EditHistory::redo()
{
    if (!canRedo())
        return nullptr;
    return &steps[(size_t)applied++];
}

void EditHistory::clear()
{
    steps.clear();
    applied = 0;
    bytes = 0;
}

void applyStep(const EditStep& step, bool forwards, juce::MemoryBlock& record)
{
    if (step.isReplacement())
    {
        const auto& source = forwards ? step.after : step.before;
        if (record.getSize() < source.getSize())
            record.setSize(source.getSize(), true);
        record.copyFrom(source.getData(), 0, juce::jmin(record.getSize(), source.getSize()));
        return;
    }
    for (const auto& change : step.changes)
        if ((size_t)change.index < record.getSize())
            record[(size_t)change.index] = (char)(forwards ? change.after : change.before);
}

std::vector<int> differingParameters(const juce::MemoryBlock& a, const juce::MemoryBlock& b)
{
    std::vector<int> result;
    for (int i = 0; i < params::numProgramParams; ++i)
        if (byteAt(a, i) != byteAt(b, i))
            result.push_back(i);
    return result;
}

std::optional<EditStep> replacementStep(const juce::String& label, const juce::MemoryBlock& before,
                                        const juce::MemoryBlock& after)
{
    if (before == after || after.getSize() == 0)
        return std::nullopt;
    EditStep step;
    step.label = label;
    step.before = before;
    step.after = after;
    return step;
}

juce::String changeLabel(const std::vector<ParamChange>& changes)
{
    if (changes.empty())
        return {};
    const auto& first = changes.front();
    const juce::String name(params::hostName(first.index));
    if (changes.size() == 1)
        return name + " " + valueText(first.index, first.before) + juce::String::fromUTF8(" \xe2\x86\x92 ") +
               valueText(first.index, first.after);
    return name + " and " + juce::String((int)changes.size() - 1) + " more";
}

int wireBytes(const EditStep& step)
{
    if (step.isReplacement())
        return records::editProgramMessage;
    return juce::jmin((int)step.changes.size() * changeCableBytes, records::editProgramMessage);
}

void GestureRecorder::begin(int index, std::uint8_t byteNow)
{
    if (index < 0 || index >= params::numProgramParams || open[(size_t)index])
        return;
    open[(size_t)index] = true;
    ++openCount;
    if (!touched[(size_t)index])
    {
        touched[(size_t)index] = true;
        before[(size_t)index] = byteNow;
        latest[(size_t)index] = byteNow;
    }
}

std::optional<EditStep> GestureRecorder::value(int index, std::uint8_t byteBefore, std::uint8_t after)
{
    if (index < 0 || index >= params::numProgramParams)
        return std::nullopt;
    if (!open[(size_t)index])
    {
        if (anyOpen())
        {
            // Part of the gesture in hand (a value of a pen stroke arriving between its gestures).
            if (!touched[(size_t)index])
            {
                touched[(size_t)index] = true;
                before[(size_t)index] = byteBefore;
            }
            latest[(size_t)index] = after;
            return std::nullopt;
        }
        if (byteBefore == after)
            return std::nullopt;
        EditStep step;
        step.changes.push_back({(std::uint8_t)index, byteBefore, after});
        step.label = changeLabel(step.changes);
        return step;
    }
    latest[(size_t)index] = after;
    return std::nullopt;
}

std::optional<EditStep> GestureRecorder::end(int index, std::uint8_t now)
{
    if (index < 0 || index >= params::numProgramParams || !open[(size_t)index])
        return std::nullopt;
    open[(size_t)index] = false;
    latest[(size_t)index] = now;
    if (--openCount > 0)
        return std::nullopt;
    return close();
}

std::optional<EditStep> GestureRecorder::close()
{
    EditStep step;
    for (int i = 0; i < params::numProgramParams; ++i)
        if (touched[(size_t)i] && before[(size_t)i] != latest[(size_t)i])
            step.changes.push_back(
                {(std::uint8_t)i, (std::uint8_t)before[(size_t)i], (std::uint8_t)latest[(size_t)i]});
    reset();
    if (step.changes.empty())
        return std::nullopt;
    step.label = changeLabel(step.changes);
    return step;
}

bool GestureRecorder::isOpen(int index) const
{
    return index >= 0 && index < params::numProgramParams && open[(size_t)index];
}

void GestureRecorder::reset()
{
    open.fill(false);
    touched.fill(false);
    openCount = 0;
}

} // namespace zentak::editing
