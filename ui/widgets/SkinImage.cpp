#include "SkinImage.h"

#include "SkinData.h"

namespace zentak
{
juce::Image skinImage(const char* name)
{
    int size = 0;
    const juce::String resource = juce::String(name) + "_png";
    const char* data = SkinData::getNamedResource(resource.toRawUTF8(), size);
    if (data == nullptr || size <= 0)
        return {};
    return juce::ImageCache::getFromMemory(data, size);
}
} // namespace zentak
