#include "FactorySets.h"

#include "FactoryData.h"

namespace zentak::factory
{
juce::MemoryBlock image(int set)
{
    switch (set)
    {
    case 1:
        return juce::MemoryBlock(FactoryData::set1_evl, (size_t)FactoryData::set1_evlSize);
    case 2:
        return juce::MemoryBlock(FactoryData::set2_evl, (size_t)FactoryData::set2_evlSize);
    case 3:
        return juce::MemoryBlock(FactoryData::set3_evl, (size_t)FactoryData::set3_evlSize);
    default:
        return {};
    }
}

juce::String title(int set)
{
    switch (set)
    {
    case 1:
        return "Evolver Factory Presets ";
    case 2:
        return "PolyEvolver Rack Factory Presets ";
    case 3:
        return "PolyEvolver Keyboards Factory Presets ";
    default:
        return {};
    }
}

const void* fixedShapes()
{
    return FactoryData::fixed_waves_bin;
}

size_t fixedShapesSize()
{
    return (size_t)FactoryData::fixed_waves_binSize;
}
} // namespace zentak::factory
