// SoundDesign: randomize, mutate, morph and breed on program records. Pure functions; any thread.
#include "SoundDesign.h"

#include "sounddata/ParamCatalogue.h"
#include "sounddata/SoundRecords.h"

#include <cmath>

namespace zentak::editing
{

namespace
{
constexpr int numParams = params::numProgramParams;
constexpr int stepMaximum = 100; // a step's value; 101 resets the sequence, 102 (sequence 1) is off

struct Section
{
    int lo, hi;
};

/** A scale parameter's sections: a value moves freely inside one; changing section is a choice
    (routing in or out of the filter, key-synced LFO, fingered glide, clock-synced times). */
std::vector<Section> sectionsOf(int index)
{
    if (index >= params::firstSeqStep)
        return {{0, stepMaximum}};
    const auto* info = params::info(index);
    switch (info->rule)
    {
    case TextRule::InOut:
        return {{0, 99}, {100, 199}};
    case TextRule::LfoAmount:
        return {{0, 100}, {101, 200}};
    case TextRule::Glide:
        return {{0, 100}, {101, 199}, {200, 200}};
    case TextRule::DelayTime:
        return {{0, 150}, {151, info->maximum}};
    case TextRule::LfoFrequency:
        return {{0, 150}, {151, info->maximum}};
    default:
        return {{info->minimum, info->maximum}};
    }
}

int sectionIndex(const std::vector<Section>& sections, int value)
{
    for (size_t i = 0; i < sections.size(); ++i)
        if (value <= sections[i].hi)
            return (int)i;
    return (int)sections.size() - 1;
}

int byteAt(const juce::MemoryBlock& record, int index)
{
    return (size_t)index < record.getSize() ? (int)(std::uint8_t)record[(size_t)index] : 0;
}

void setByte(juce::MemoryBlock& record, int index, int value)
{
    record[(size_t)index] = (char)(std::uint8_t)value;
}

juce::MemoryBlock normalised(const juce::MemoryBlock& record)
{
    juce::MemoryBlock copy(record);
    if (copy.getSize() < (size_t)records::programSize)
        copy.setSize((size_t)records::programSize, true);
    return copy;
}

bool isMarker(int index, int value)
{
    return kindOf(index) == ParamKind::seqStep && value > stepMaximum;
}

int randomValue(int index, int current, DesignRandom& random)
{
    const auto kind = kindOf(index);
    if (kind == ParamKind::seqStep)
        return isMarker(index, current) ? current : random.between(0, stepMaximum);
    return random.between(params::rangeMinimum(index), params::rangeMaximum(index));
}

int mutatedValue(int index, int current, double amount, DesignRandom& random)
{
    switch (kindOf(index))
    {
    case ParamKind::toggle:
        return current == 0 ? 1 : 0;
    case ParamKind::choice:
        return random.between(params::rangeMinimum(index), params::rangeMaximum(index));
    case ParamKind::seqStep:
    case ParamKind::continuous:
        break;
    }
    if (isMarker(index, current))
        return current;
    const auto sections = sectionsOf(index);
    auto section = sections[(size_t)sectionIndex(sections, current)];
    // A section change is a choice: it happens rarely, more often the larger the amount.
    if (sections.size() > 1 && random.unit() < amount * 0.25)
    {
        section = sections[(size_t)random.between(0, (int)sections.size() - 1)];
        return random.between(section.lo, section.hi);
    }
    const int span = section.hi - section.lo;
    const int reach = juce::jmax(1, (int)std::lround(amount * span * 0.5));
    return juce::jlimit(section.lo, section.hi, current + random.between(-reach, reach));
}

int blended(int index, int a, int b, double position)
{
    const auto kind = kindOf(index);
    if (kind == ParamKind::choice || kind == ParamKind::toggle)
        return position < 0.5 ? a : b;
    if (kind == ParamKind::seqStep && (isMarker(index, a) || isMarker(index, b)))
        return isMarker(index, a) ? a : b;
    const auto sections = sectionsOf(index);
    if (sectionIndex(sections, a) != sectionIndex(sections, b))
        return position < 0.5 ? a : b;
    return (int)std::lround(a + (b - a) * position);
}

// Parameters the guards look at.
constexpr int oscLevels[] = {3, 7, 11, 15};
constexpr int noiseLevel = 60;
constexpr int lpfFrequency = 16, lpfEnvAmount = 17;
constexpr int ampLevel = 24, ampEnvAmount = 25, ampAttack = 26, ampDecay = 27, ampSustain = 28;
constexpr int outputVolume = 31;
constexpr int feedbackLevel = 33, delayFeedback1 = 37, delayFeedback2 = 38;
constexpr int hpfFrequency = 84;
} // namespace

ParamKind kindOf(int index)
{
    if (index >= params::firstSeqStep && index < numParams)
        return ParamKind::seqStep;
    const auto* info = params::info(index);
    if (info == nullptr)
        return ParamKind::choice;
    switch (info->rule)
    {
    case TextRule::OffOn:
    case TextRule::FilterPoles:
    case TextRule::EnvelopeCurve:
        return ParamKind::toggle;
    case TextRule::Plain:
    case TextRule::Offset50:
    case TextRule::Offset99:
    case TextRule::NoteName:
    case TextRule::DelayTime:
    case TextRule::LfoFrequency:
    case TextRule::LfoAmount:
    case TextRule::Glide:
    case TextRule::Tempo:
    case TextRule::InOut:
        return ParamKind::continuous;
    default:
        return ParamKind::choice;
    }
}

ParamSet groupParams(const juce::String& group)
{
    ParamSet set;
    for (int i = 0; i < params::numSoundParams; ++i)
        if (group == params::info(i)->group)
            set.set((size_t)i);
    if (group == "Grp_Seq")
        for (int i = params::firstSeqStep; i < numParams; ++i)
            set.set((size_t)i);
    return set;
}

juce::StringArray groupNames()
{
    juce::StringArray names;
    for (int i = 0; i < params::numSoundParams; ++i)
        names.addIfNotAlreadyThere(params::info(i)->group);
    return names;
}

int DesignRandom::between(int lo, int hi)
{
    if (hi <= lo)
        return lo;
    const auto span = (std::uint64_t)(hi - lo) + 1;
    return lo + (int)(((std::uint64_t)engine() * span) >> 32);
}

double DesignRandom::unit()
{
    return (double)engine() / 4294967296.0;
}

juce::MemoryBlock randomize(const juce::MemoryBlock& record, const ParamSet& which, const ParamSet& locked,
                            DesignRandom& random)
{
    auto result = normalised(record);
    const ParamSet free = which & ~locked;
    for (int i = 0; i < numParams; ++i)
        if (free.test((size_t)i))
            setByte(result, i, randomValue(i, byteAt(result, i), random));
    applyGuards(result, normalised(record), free);
    return result;
}

juce::MemoryBlock mutate(const juce::MemoryBlock& record, double amount, const ParamSet& locked,
                         DesignRandom& random)
{
    amount = juce::jlimit(0.0, 1.0, amount);
    if (amount >= 1.0)
        return randomize(record, ~ParamSet(), locked, random);
    auto result = normalised(record);
    if (amount <= 0.0)
        return result;
    ParamSet changed;
    for (int i = 0; i < numParams; ++i)
    {
        if (locked.test((size_t)i) || random.unit() >= amount)
            continue;
        setByte(result, i, mutatedValue(i, byteAt(result, i), amount, random));
        changed.set((size_t)i);
    }
    applyGuards(result, normalised(record), changed);
    return result;
}

juce::MemoryBlock morph(const juce::MemoryBlock& a, const juce::MemoryBlock& b, double position)
{
    position = juce::jlimit(0.0, 1.0, position);
    if (position <= 0.0)
        return normalised(a);
    if (position >= 1.0)
        return normalised(b);
    auto result = normalised(position < 0.5 ? a : b);
    const auto fromA = normalised(a), fromB = normalised(b);
    for (int i = 0; i < numParams; ++i)
        setByte(result, i, blended(i, byteAt(fromA, i), byteAt(fromB, i), position));
    return result;
}

void applyGuards(juce::MemoryBlock& record, const juce::MemoryBlock& source, const ParamSet& mayChange)
{
    auto may = [&](int index) { return mayChange.test((size_t)index); };
    auto raiseTo = [&](int index, int least)
    {
        if (may(index) && byteAt(record, index) < least)
            setByte(record, index, least);
    };
    auto lowerTo = [&](int index, int most)
    {
        if (may(index) && byteAt(record, index) > most)
            setByte(record, index, most);
    };

    if (may(outputVolume))
        setByte(record, outputVolume, byteAt(source, outputVolume));

    // Something sounds: an oscillator or the noise at a useful level.
    constexpr int audible = 40;
    bool anyAudible = byteAt(record, noiseLevel) >= audible;
    for (int level : oscLevels)
        anyAudible = anyAudible || byteAt(record, level) >= audible;
    if (!anyAudible)
        for (int level : {oscLevels[0], oscLevels[1], oscLevels[2], oscLevels[3], noiseLevel})
            if (may(level))
            {
                setByte(record, level, 80);
                break;
            }

    // The amplifier opens, soon enough to be heard, and does not close at once.
    if (byteAt(record, ampLevel) < audible)
        raiseTo(ampEnvAmount, 60);
    lowerTo(ampAttack, 80);
    if (byteAt(record, ampSustain) < 20)
        raiseTo(ampDecay, 40);

    // The low-pass filter lets something through; the high-pass filter does not take everything.
    if (byteAt(record, lpfEnvAmount) <= 99)
        raiseTo(lpfFrequency, 40);
    if (may(hpfFrequency))
    {
        const int v = byteAt(record, hpfFrequency);
        const int route = v / 100 * 100;
        setByte(record, hpfFrequency, route + juce::jmin(v - route, 60));
    }

    // No runaway feedback.
    lowerTo(feedbackLevel, 80);
    lowerTo(delayFeedback1, 85);
    lowerTo(delayFeedback2, 85);
}

std::vector<juce::MemoryBlock> breed(const juce::MemoryBlock& parentA, const juce::MemoryBlock& parentB,
                                     const ParamSet& locked, DesignRandom& random)
{
    std::vector<juce::MemoryBlock> children;
    const auto a = normalised(parentA);
    if (parentB.getSize() == 0)
    {
        for (int n = 0; n < 8; ++n)
            children.push_back(mutate(a, 0.05 + 0.05 * n, locked, random));
        return children;
    }
    const auto b = normalised(parentB);
    children.push_back(mutate(a, 0.15, locked, random));
    children.push_back(mutate(b, 0.15, locked, random));

    const auto groups = groupNames();
    for (int n = 0; n < 3; ++n)
    {
        auto child = a;
        for (const auto& group : groups)
        {
            if (random.unit() < 0.5)
                continue;
            const auto set = groupParams(group);
            for (int i = 0; i < numParams; ++i)
                if (set.test((size_t)i))
                    setByte(child, i, byteAt(b, i));
        }
        children.push_back(std::move(child));
    }
    for (int n = 0; n < 3; ++n)
        children.push_back(morph(a, b, 0.2 + 0.6 * random.unit()));

    for (auto& child : children)
        for (int i = 0; i < numParams; ++i)
            if (locked.test((size_t)i))
                setByte(child, i, byteAt(a, i));
    return children;
}

void Breeder::start(const juce::MemoryBlock& parentA, const juce::MemoryBlock& parentB,
                    const ParamSet& locked, DesignRandom& random)
{
    generations.clear();
    Generation first;
    first.parents.push_back(parentA);
    if (parentB.getSize() > 0)
        first.parents.push_back(parentB);
    first.children = breed(parentA, parentB, locked, random);
    generations.push_back(std::move(first));
    current = 0;
}

bool Breeder::next(const std::vector<int>& keep, const ParamSet& locked, DesignRandom& random)
{
    if (current < 0)
        return false;
    Generation nextGeneration;
    for (int k : keep)
        if (k >= 0 && k < (int)currentGeneration().children.size())
            nextGeneration.parents.push_back(currentGeneration().children[(size_t)k]);
    if (nextGeneration.parents.empty())
        return false;

    const auto& parents = nextGeneration.parents;
    if (parents.size() <= 2)
        nextGeneration.children =
            breed(parents[0], parents.size() > 1 ? parents[1] : juce::MemoryBlock(), locked, random);
    else
        for (int n = 0; n < 4; ++n)
        {
            const int i = random.between(0, (int)parents.size() - 1);
            int j = random.between(0, (int)parents.size() - 2);
            j += j >= i ? 1 : 0;
            auto pair = breed(parents[(size_t)i], parents[(size_t)j], locked, random);
            nextGeneration.children.push_back(pair[(size_t)random.between(0, 7)]);
            nextGeneration.children.push_back(pair[(size_t)random.between(0, 7)]);
        }
    generations.resize((size_t)current + 1);
    generations.push_back(std::move(nextGeneration));
    current = (int)generations.size() - 1;
    return true;
}

bool Breeder::goBack(int number)
{
    if (number < 1 || number > (int)generations.size())
        return false;
    current = number - 1;
    return true;
}

} // namespace zentak::editing
