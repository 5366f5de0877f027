// SoundDesign: new sounds from old ones. Randomize, mutate, morph and breed program records within
// each parameter's range and kind, keeping locked parameters and a few guards that keep results
// playable. Pure functions on 208-byte records and a seedable random source; any thread.
#pragma once

#include <juce_core/juce_core.h>

#include <bitset>
#include <cstdint>
#include <random>
#include <vector>

namespace zentak::editing
{

/** How a parameter's value behaves when it is changed at random or blended. */
enum class ParamKind : std::uint8_t
{
    continuous, // a scale: steps and interpolation make sense
    choice,     // a list of choices: jumps only
    toggle,     // on/off
    seqStep     // a sequencer step: 0..100, and reset (101) or off (102) markers
};

ParamKind kindOf(int index);

/** One bit per program parameter 0..191. */
using ParamSet = std::bitset<192>;

/** The parameters shown by a parameter group ("Grp_LowPassFlt", …; "Grp_Seq" includes the 64 steps). */
ParamSet groupParams(const juce::String& group);

/** The group names in catalogue order, each once. */
juce::StringArray groupNames();

/** A seedable random source whose results are the same on every platform. */
class DesignRandom
{
public:
    explicit DesignRandom(std::uint32_t seed) : engine(seed) {}
    /** lo … hi inclusive. */
    int between(int lo, int hi);
    /** 0 ≤ x < 1. */
    double unit();

private:
    std::mt19937 engine;
};

/** Every parameter in `which` that is not locked takes a random value in its range; then the guards
    mend what they may change. The name is kept. */
juce::MemoryBlock randomize(const juce::MemoryBlock& record, const ParamSet& which, const ParamSet& locked,
                            DesignRandom& random);

/** Each unlocked parameter changes with probability `amount` (0 … 1): scales by a step bounded by the
    amount around the current value, choices and switches by a jump. 0: unchanged; 1: randomize. */
juce::MemoryBlock mutate(const juce::MemoryBlock& record, double amount, const ParamSet& locked,
                         DesignRandom& random);

/** Blend of A and B at position 0 … 1: scales interpolate, choices and switches take A's value below
    0.5 and B's from 0.5, sequencer steps interpolate and keep a reset or off marker where either side
    has one. 0 gives A and 1 gives B exactly, names included; between, the name follows the choices. */
juce::MemoryBlock morph(const juce::MemoryBlock& a, const juce::MemoryBlock& b, double position);

/** Mends a record so it stays playable, changing only parameters in `mayChange`: output volume as in
    `source`, at least one oscillator or the noise audible, the amplifier opening, the low-pass and
    high-pass filters not closed, feedback and delay feedback below runaway. */
void applyGuards(juce::MemoryBlock& record, const juce::MemoryBlock& source, const ParamSet& mayChange);

/** Eight children of one or two parents (parentB empty: one parent). One parent: mutations at rising
    amounts. Two: two mutations, three crossovers by groups of two, three morphs at random positions.
    Locked parameters keep parent A's values. */
std::vector<juce::MemoryBlock> breed(const juce::MemoryBlock& parentA, const juce::MemoryBlock& parentB,
                                     const ParamSet& locked, DesignRandom& random);

/** The generations of a breeding session: each is its parents and its eight children. */
class Breeder
{
public:
    struct Generation
    {
        std::vector<juce::MemoryBlock> parents;
        std::vector<juce::MemoryBlock> children;
    };

    /** Starts over from one parent (or two) as generation 1. */
    void start(const juce::MemoryBlock& parentA, const juce::MemoryBlock& parentB, const ParamSet& locked,
               DesignRandom& random);
    /** Breeds the next generation from the chosen children of the current one (one or more; with more
        than two, pairs are drawn at random for the crossovers). False when none is chosen. */
    bool next(const std::vector<int>& keep, const ParamSet& locked, DesignRandom& random);
    /** Makes generation `number` (1-based) the current one again; later ones are dropped when the
        next generation is bred from it. */
    bool goBack(int number);

    int generationCount() const { return (int)generations.size(); }
    int currentNumber() const { return current + 1; }
    const Generation& currentGeneration() const { return generations[(size_t)current]; }

private:
    std::vector<Generation> generations;
    int current = -1;
};

} // namespace zentak::editing
