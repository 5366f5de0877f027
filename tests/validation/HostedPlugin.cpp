#include "HostedPlugin.h"

namespace zentak::validation
{
const EditorSize editorSizes[6] = {{1607, 858}, {1526, 815}, {1365, 729},
                                   {1205, 644}, {1124, 601}, {964, 515}};

juce::Point<int> editorSizeForScreenArea(int screenWidth, int screenHeight)
{
    constexpr int frameWidth = 16, titleBarHeight = 40;
    for (const auto& s : editorSizes)
        if (s.width <= screenWidth - frameWidth && s.height <= screenHeight - titleBarHeight)
            return {s.width, s.height};
    return {editorSizes[5].width, editorSizes[5].height};
}

const char* formatName(Format format)
{
    switch (format)
    {
    case Format::vst2:
        return "VST";
    case Format::vst3:
        return "VST3";
    case Format::lv2:
        return "LV2";
    }
    return "";
}

namespace
{
juce::AudioPluginFormatManager& formatManager()
{
    static juce::AudioPluginFormatManager manager;
    if (manager.getNumFormats() == 0)
        manager.addDefaultFormats();
    return manager;
}

juce::AudioPluginFormat* findFormat(Format format)
{
    auto& manager = formatManager();
    for (int i = 0; i < manager.getNumFormats(); ++i)
        if (manager.getFormat(i)->getName() == formatName(format))
            return manager.getFormat(i);
    return nullptr;
}

// Where the build tree keeps each artefact, as a host would be pointed at it.
juce::String artefactPath(Format format)
{
    switch (format)
    {
    case Format::vst2:
        return ZENTAK_VST2_PATH;
    case Format::vst3:
        // .../Zentak Control.vst3/Contents/x86_64-linux/Zentak Control.so: hosts load the bundle.
        return juce::File(ZENTAK_VST3_PATH)
            .getParentDirectory()
            .getParentDirectory()
            .getParentDirectory()
            .getFullPathName();
    case Format::lv2:
        return ZENTAK_LV2_BUNDLE;
    }
    return {};
}
} // namespace

juce::Array<juce::AudioProcessorParameter*> HostedPlugin::allParameters() const
{
    return instance != nullptr ? instance->getParameters() : juce::Array<juce::AudioProcessorParameter*>();
}

juce::Array<juce::AudioProcessorParameter*> HostedPlugin::parameters() const
{
    const auto all = allParameters();
    if (instance == nullptr || all.size() < numOwnParameters)
        return {};
    if (instance->getPluginDescription().pluginFormatName != "LV2")
    {
        juce::Array<juce::AudioProcessorParameter*> own;
        own.addArray(all, 0, numOwnParameters);
        return own;
    }
    // The plug-in's identifiers are "p" and the index, at the end of the parameter's URI.
    juce::Array<juce::AudioProcessorParameter*> own;
    own.insertMultiple(0, nullptr, numOwnParameters);
    for (auto* p : all)
        if (auto* hosted = dynamic_cast<juce::HostedAudioProcessorParameter*>(p))
        {
            const auto id = hosted->getParameterID();
            const auto tail = id.fromLastOccurrenceOf(":p", false, false);
            if (tail.isNotEmpty() && tail.containsOnly("0123456789") && tail.getIntValue() < numOwnParameters)
                own.set(tail.getIntValue(), p);
        }
    return own.contains(nullptr) ? juce::Array<juce::AudioProcessorParameter*>() : own;
}

std::vector<float> HostedPlugin::parameterValues(int count) const
{
    std::vector<float> values;
    const auto params = parameters();
    for (int i = 0; i < count && i < params.size(); ++i)
        values.push_back(params[i]->getValue());
    return values;
}

juce::MemoryBlock HostedPlugin::state() const
{
    juce::MemoryBlock block;
    if (instance != nullptr)
        instance->getStateInformation(block);
    return block;
}

HostedPlugin loadPlugin(Format format)
{
    HostedPlugin loaded;
    auto* pluginFormat = findFormat(format);
    if (pluginFormat == nullptr)
    {
        loaded.error = juce::String("this host has no ") + formatName(format) + " support";
        return loaded;
    }

    juce::String identifier = artefactPath(format);
    if (format == Format::lv2)
    {
        // An LV2 host finds plug-ins by URI in the bundles of its search path.
        pluginFormat->searchPathsForPlugins(
            juce::FileSearchPath(juce::File(identifier).getParentDirectory().getFullPathName()), false,
            false);
        identifier = ZENTAK_LV2_URI;
    }

    juce::OwnedArray<juce::PluginDescription> found;
    pluginFormat->findAllTypesForFile(found, identifier);
    if (found.isEmpty())
    {
        loaded.error = juce::String("no plug-in found in ") + identifier;
        return loaded;
    }
    loaded.instance = formatManager().createPluginInstance(*found[0], 48000.0, 512, loaded.error);
    keepXErrorsHarmless();
    return loaded;
}

void pumpMessages(int milliseconds)
{
    keepXErrorsHarmless();
    juce::MessageManager::getInstance()->runDispatchLoopUntil(milliseconds);
    keepXErrorsHarmless();
}

void fillSignal(juce::AudioBuffer<float>& buffer, int seed)
{
    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            buffer.setSample(ch, i,
                             0.25f * std::sin(0.01f * (float)(i + 37 * seed) * (float)(ch + 1)) +
                                 0.001f * (float)(seed % 17) + (ch == 0 ? 0.1f : -0.1f));
}

bool sameAudio(const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return false;
    for (int ch = 0; ch < a.getNumChannels(); ++ch)
        if (std::memcmp(a.getReadPointer(ch), b.getReadPointer(ch),
                        sizeof(float) * (size_t)a.getNumSamples()) != 0)
            return false;
    return true;
}

void choosePluginMidiDevices(const juce::String& input, const juce::String& output)
{
    // The plug-in keeps its ports by name in its settings folder: input, 0x0F, output, 0x10, 0x11.
    auto folder =
        juce::File::getSpecialLocation(juce::File::userApplicationDataDirectory).getChildFile("PlugSettings");
    folder.createDirectory();
    juce::MemoryOutputStream out;
    out << input;
    out.writeByte(0x0F);
    out << output;
    out.writeByte(0x10);
    out.writeByte(0x11);
    folder.getChildFile("evoplports.dat").replaceWithData(out.getData(), out.getDataSize());
}
} // namespace zentak::validation
