#include "StateEnvelopes.h"

namespace zentak::validation
{
namespace
{
const char bankHeader[] = "EvolverPluginBank";
constexpr size_t bankHeaderLength = sizeof(bankHeader) - 1;

bool startsWithBankHeader(const juce::MemoryBlock& block)
{
    return block.getSize() >= bankHeaderLength &&
           std::memcmp(block.getData(), bankHeader, bankHeaderLength) == 0;
}

// FXB bank: 'CcnK', byte size, 'FBCh', version, fx id, fx version, programs, 128 reserved bytes,
// chunk size, chunk; numbers big-endian.
constexpr size_t fxbChunkOffset = 160;

void writeBigEndian(juce::MemoryBlock& block, size_t offset, juce::uint32 value)
{
    auto* p = static_cast<juce::uint8*>(block.getData()) + offset;
    p[0] = (juce::uint8)(value >> 24);
    p[1] = (juce::uint8)(value >> 16);
    p[2] = (juce::uint8)(value >> 8);
    p[3] = (juce::uint8)value;
}

// The quoted strings of an LV2 state text that decode to the plug-in's chunk.
juce::Range<int> lv2ChunkLiteral(const juce::String& text, juce::MemoryBlock* decoded)
{
    for (int start = text.indexOfChar('"'); start >= 0; start = text.indexOfChar(start + 1, '"'))
    {
        const int end = text.indexOfChar(start + 1, '"');
        if (end < 0)
            break;
        juce::MemoryBlock block;
        if (block.fromBase64Encoding(text.substring(start + 1, end)) && startsWithBankHeader(block))
        {
            if (decoded != nullptr)
                *decoded = block;
            return {start + 1, end};
        }
        start = end;
    }
    return {};
}
} // namespace

juce::MemoryBlock pluginChunkIn(Format format, const juce::MemoryBlock& hostState)
{
    switch (format)
    {
    case Format::vst2:
        if (hostState.getSize() > fxbChunkOffset)
        {
            juce::MemoryBlock chunk(static_cast<const char*>(hostState.getData()) + fxbChunkOffset,
                                    hostState.getSize() - fxbChunkOffset);
            if (startsWithBankHeader(chunk))
                return chunk;
        }
        return {};
    case Format::vst3:
        if (auto xml = juce::AudioProcessor::getXmlFromBinary(hostState.getData(), (int)hostState.getSize()))
            if (auto* component = xml->getChildByName("IComponent"))
            {
                juce::MemoryBlock chunk;
                if (chunk.fromBase64Encoding(component->getAllSubText().trim()) &&
                    startsWithBankHeader(chunk))
                    return chunk;
            }
        return {};
    case Format::lv2:
    {
        juce::MemoryBlock chunk;
        if (!lv2ChunkLiteral(hostState.toString(), &chunk).isEmpty())
            return chunk;
        return {};
    }
    }
    return {};
}

juce::MemoryBlock withPluginChunk(Format format, const juce::MemoryBlock& hostState,
                                  const juce::MemoryBlock& chunk)
{
    if (pluginChunkIn(format, hostState).isEmpty())
        return {};
    switch (format)
    {
    case Format::vst2:
    {
        juce::MemoryBlock result(hostState.getData(), fxbChunkOffset);
        result.append(chunk.getData(), chunk.getSize());
        writeBigEndian(result, 4, (juce::uint32)(result.getSize() - 8));
        writeBigEndian(result, fxbChunkOffset - 4, (juce::uint32)chunk.getSize());
        return result;
    }
    case Format::vst3:
    {
        auto xml = juce::AudioProcessor::getXmlFromBinary(hostState.getData(), (int)hostState.getSize());
        auto* component = xml->getChildByName("IComponent");
        component->deleteAllTextElements();
        component->addTextElement(chunk.toBase64Encoding());
        juce::MemoryBlock result;
        juce::AudioProcessor::copyXmlToBinary(*xml, result);
        return result;
    }
    case Format::lv2:
    {
        const auto text = hostState.toString();
        const auto range = lv2ChunkLiteral(text, nullptr);
        const auto replaced =
            text.replaceSection(range.getStart(), range.getLength(), chunk.toBase64Encoding());
        return juce::MemoryBlock(replaced.toRawUTF8(), replaced.getNumBytesAsUTF8());
    }
    }
    return {};
}

juce::MemoryBlock foreignPluginChunk()
{
    juce::XmlElement state("PARAMETERS");
    for (int i = 0; i < 8; ++i)
    {
        auto* p = state.createNewChildElement("PARAM");
        p->setAttribute("id", "gain" + juce::String(i));
        p->setAttribute("value", 0.125 * i);
    }
    juce::MemoryBlock chunk;
    juce::AudioProcessor::copyXmlToBinary(state, chunk);
    return chunk;
}
} // namespace zentak::validation
