#include "ProgramImport.h"

#include "Bank_Program.h"
#include "DataImage.h"
#include "ProgramImportDetail.h"
#include "sounddata/SoundRecords.h"

#include <cstring>

namespace zentak::programimport
{
namespace
{
constexpr std::uint8_t kSysexStart = 0xF0, kSysexEnd = 0xF7;
constexpr std::uint8_t kManufacturer = 0x01, kFamily = 0x20;
constexpr std::uint8_t kProgramDump = 0x02, kEditDump = 0x03, kProgramDump2 = 0x0A;
constexpr std::uint8_t kGlobalDump = 0x0F, kProgramName = 0x11, kComboDump = 0x22, kComboDump2 = 0x37;
constexpr size_t kNameMessage = 24;
constexpr size_t kComboEdit = 98, kComboSlot = 100;
// Wave shape dumps are known by their 293-byte packed payload, with or without a shape number.
constexpr size_t kWaveEdit = 5 + records::wavePayload + 1, kWaveSlot = kWaveEdit + 1;
constexpr int kNumKeys = 128 * 128; // bank byte × slot byte as a message names them

/** The single-program reader's naming rule: the part before the first ".". */
juce::String stemOf(const juce::String& fileName)
{
    const int dot = fileName.indexOfChar('.');
    return dot >= 0 ? fileName.substring(0, dot) : fileName;
}

/** Scans raw bytes for F0 … F7 messages without copying them. */
void scanSysex(const std::uint8_t* d, size_t n, detail::Collector& collector)
{
    size_t p = 0;
    while (p < n)
    {
        if (d[p] != kSysexStart)
        {
            const void* next = std::memchr(d + p, kSysexStart, n - p);
            const size_t q = next != nullptr ? (size_t)(static_cast<const std::uint8_t*>(next) - d) : n;
            collector.count(Use::garbage, q - p);
            p = q;
            continue;
        }
        size_t q = p + 1;
        size_t realTime = 0; // clock and other real-time bytes may arrive inside a message
        while (q < n && (d[q] < 0x80 || d[q] >= 0xF8))
            realTime += d[q++] >= 0xF8 ? 1 : 0;
        if (q < n && d[q] == kSysexEnd && realTime > 0)
        {
            std::vector<std::uint8_t> whole;
            whole.reserve(q - p + 1 - realTime);
            for (size_t k = p; k <= q; ++k)
                if (d[k] < 0xF8)
                    whole.push_back(d[k]);
            collector.count(Use::garbage, realTime);
            collector.message(whole.data(), whole.size(), p);
            p = q + 1;
        }
        else if (q < n && d[q] == kSysexEnd)
        {
            collector.message(d + p, q - p + 1, p);
            p = q + 1;
        }
        else
        {
            // Cut short by the end of the file or by a status byte, which is looked at afresh.
            collector.cutShort(q - p, p);
            p = q;
        }
    }
}

void importImage(const std::uint8_t* d, ImportResult& result)
{
    const juce::MemoryBlock image(d, image::size);
    Bank_Program bank("Import");
    for (int b = 0; b < 4; ++b)
    {
        bank.loadFromImage(b, image);
        for (int s = 0; s < Bank_Program::numSlots; ++s)
        {
            FoundProgram p;
            p.record = bank.getSlot(s);
            p.name = records::decodeName(bank.slotData(s) + records::nameOffset);
            p.offset = image::paramsOffset + image::paramsBankStride * (size_t)b +
                       (size_t)records::programParamBytes * (size_t)s;
            p.bank = b;
            p.slot = s;
            result.programs.push_back(std::move(p));
        }
    }
    auto& t = result.tally;
    t[(size_t)Use::programs] = {4 * Bank_Program::numSlots, 4 * (size_t)Bank_Program::bankBytes};
    t[(size_t)Use::waves] = {records::numWaveShapes - records::numFixedShapes, image::userShapesSize};
    t[(size_t)Use::combos] = {3 * records::numSlots, image::size - image::combosOffset};
}
} // namespace

namespace detail
{
Collector::Collector(ImportResult& resultToFill) : result(resultToFill) {}

void Collector::count(Use use, size_t bytes, int items)
{
    auto& t = result.tally[(size_t)use];
    t.items += items;
    t.bytes += bytes;
}

void Collector::warn(const juce::String& text)
{
    if (result.warnings.size() < maxWarnings)
        result.warnings.add(text);
    else
        ++suppressedWarnings;
}

void Collector::cutShort(size_t bytes, size_t offset)
{
    count(Use::malformed, bytes, 1);
    warn("byte " + juce::String((juce::int64)offset) + ": a SysEx message of " +
         juce::String((juce::int64)bytes) + " bytes stops without its F7; skipped");
}

void Collector::message(const std::uint8_t* m, size_t n, size_t offset)
{
    const int index = result.sysexMessages++;
    if (n < 3 || m[1] != kManufacturer || m[2] != kFamily)
    {
        count(Use::foreign, n, 1);
        return;
    }
    const int command = n > 5 ? m[4] : -1;
    auto malformed = [&](const char* what, const char* expected)
    {
        count(Use::malformed, n, 1);
        warn("message " + juce::String(index + 1) + " at byte " + juce::String((juce::int64)offset) + ": " +
             what + " of " + juce::String((juce::int64)n) + " bytes (" + expected + " expected); skipped");
    };
    switch (command)
    {
    case kProgramDump:
    case kEditDump:
    case kProgramDump2:
        if (n == (size_t)records::slotProgramMessage || n == (size_t)records::editProgramMessage)
            programDump(m, n, offset, index);
        else
            malformed("program dump", "226 or 228");
        return;
    case kProgramName:
        if (n == kNameMessage)
        {
            Name name;
            std::memcpy(name.bytes, m + 7, 16);
            name.bank = m[5];
            name.slot = m[6];
            name.key = name.bank * 128 + name.slot;
            names.push_back(name);
        }
        else
        {
            malformed("name message", "24");
        }
        return;
    case kComboDump:
    case kComboDump2:
        if (n == kComboEdit || n == kComboSlot)
            count(Use::combos, n, 1);
        else
            malformed("combo dump", "98 or 100");
        return;
    case kGlobalDump:
        count(Use::globals, n, 1);
        return;
    default:
        count(n == kWaveEdit || n == kWaveSlot ? Use::waves : Use::otherEvolver, n, 1);
        return;
    }
}

void Collector::programDump(const std::uint8_t* m, size_t n, size_t offset, int index)
{
    const bool namesSlot = n == (size_t)records::slotProgramMessage;
    FoundProgram p;
    p.record = records::unpackPayload(m + (namesSlot ? 7 : 5), (size_t)records::programPayload);
    p.record.setSize((size_t)records::programSize, true);
    p.messageIndex = index;
    p.offset = offset;
    p.command = m[4];
    p.editBuffer = !namesSlot;
    int key = -1;
    if (namesSlot)
    {
        key = m[5] * 128 + m[6];
        if (m[5] < 4)
        {
            p.bank = m[5];
            p.slot = m[6];
        }
        else
        {
            p.warnings.add("names bank " + juce::String(m[5]) + ", which the instrument does not have");
        }
    }
    count(Use::programs, n, 1);
    result.programs.push_back(std::move(p));
    dumpKeys.push_back(key);
}

void Collector::finish(const juce::String& fileName)
{
    // The k-th dump naming a slot takes the k-th name message for that slot, wherever it stands.
    std::vector<int> nameFor(result.programs.size(), -1);
    if (!names.empty())
    {
        std::vector<int> first((size_t)kNumKeys + 1, 0);
        for (const auto& nm : names)
            ++first[(size_t)nm.key + 1];
        for (size_t k = 1; k < first.size(); ++k)
            first[k] += first[k - 1];
        std::vector<int> cursor(first.begin(), first.end() - 1);
        std::vector<int> order(names.size());
        for (size_t i = 0; i < names.size(); ++i)
            order[(size_t)cursor[(size_t)names[i].key]++] = (int)i;
        cursor.assign(first.begin(), first.end() - 1);
        for (size_t i = 0; i < dumpKeys.size(); ++i)
        {
            const int key = dumpKeys[i];
            if (key >= 0 && cursor[(size_t)key] < first[(size_t)key + 1])
                nameFor[i] = order[(size_t)cursor[(size_t)key]++];
        }
    }

    int unnamed = 0;
    for (size_t i = 0; i < result.programs.size(); ++i)
        unnamed += nameFor[i] < 0 ? 1 : 0;
    const juce::String stem = stemOf(fileName);

    int paired = 0, unnamedSoFar = 0;
    for (size_t i = 0; i < result.programs.size(); ++i)
    {
        auto& p = result.programs[i];
        auto* nameBytes = static_cast<std::uint8_t*>(p.record.getData()) + records::nameOffset;
        juce::String text;
        if (nameFor[i] >= 0)
        {
            const Name& nm = names[(size_t)nameFor[i]];
            ++paired;
            if (nm.bytes[0] == 0x7F && nm.bytes[1] == 0x7F && nm.bytes[2] == 0x7F)
            {
                text = records::placeholderName(nm.bank, nm.slot);
                p.warnings.add("its name is unset on the instrument (7F); named " + text);
            }
            else
            {
                std::uint8_t cleaned[16];
                for (int k = 0; k < 16; ++k)
                    cleaned[k] = nm.bytes[k] == 0x7F ? (std::uint8_t)' ' : nm.bytes[k]; // 7F pads
                text = records::decodeName(cleaned);
            }
        }
        else
        {
            ++unnamedSoFar;
            text = stem;
            if (unnamed > 1)
            {
                const juce::String number = " " + juce::String(unnamedSoFar);
                text = stem.substring(0, records::nameLength - number.length()) + number;
            }
            if (dumpKeys[i] >= 0)
                p.warnings.add("no name message for its slot; named after the file");
        }
        records::encodeName(text, nameBytes);
        p.name = records::decodeName(nameBytes);
    }

    // Every name message lands in exactly one use: paired or not.
    count(Use::names, (size_t)paired * kNameMessage, paired);
    const int unpaired = (int)names.size() - paired;
    count(Use::unpairedNames, (size_t)unpaired * kNameMessage, unpaired);
    if (unpaired > 0)
        warn(juce::String(unpaired) + " name message" + (unpaired == 1 ? "" : "s") +
             " for slots that no program dump in the file fills; skipped");
    if (suppressedWarnings > 0)
        result.warnings.add("… and " + juce::String(suppressedWarnings) + " more warnings");
}

Stream::Stream(Collector& collectorToFeed, Use outsideUse) : collector(collectorToFeed), outside(outsideUse)
{
}

void Stream::feed(const std::uint8_t* bytes, size_t n, size_t offset)
{
    size_t outsideRun = 0;
    for (size_t i = 0; i < n; ++i)
    {
        const std::uint8_t b = bytes[i];
        if (inMessage)
        {
            if (b < 0x80)
            {
                pending.push_back(b);
                continue;
            }
            if (b >= 0xF8)
            {
                ++outsideRun; // a real-time byte inside a message is not part of it
                continue;
            }
            if (b == kSysexEnd)
            {
                pending.push_back(b);
                collector.message(pending.data(), pending.size(), start);
                inMessage = false;
                continue;
            }
            end(); // any other status byte cuts the message short and is looked at afresh
        }
        if (b == kSysexStart)
        {
            collector.count(outside, outsideRun);
            outsideRun = 0;
            pending.clear();
            pending.push_back(b);
            start = offset + i;
            inMessage = true;
        }
        else
        {
            ++outsideRun;
        }
    }
    collector.count(outside, outsideRun);
}

void Stream::end()
{
    if (inMessage)
        collector.cutShort(pending.size(), start);
    inMessage = false;
    pending.clear();
}
} // namespace detail

ImportResult importBytes(const void* data, size_t size, const juce::String& fileName)
{
    ImportResult result;
    result.fileSize = size;
    const auto* d = static_cast<const std::uint8_t*>(data);
    if (d == nullptr)
        size = 0;

    if (size == image::size && d[0] != kSysexStart)
    {
        result.kind = FileKind::dataImage;
        importImage(d, result);
        return result;
    }

    detail::Collector collector(result);
    if (size >= 4 && std::memcmp(d, "MThd", 4) == 0)
    {
        result.kind = FileKind::midiFile;
        detail::scanMidiFile(d, size, collector, result);
    }
    else
    {
        result.kind = FileKind::sysex;
        scanSysex(d, size, collector);
        if (result.sysexMessages == 0 && result[Use::malformed].items == 0)
            collector.warn(fileName.endsWithIgnoreCase(".evl")
                               ? juce::String("not a data image (145408 bytes) and holds no SysEx message")
                               : juce::String("holds no SysEx message"));
    }
    collector.finish(fileName);
    return result;
}

ImportResult importFile(const juce::File& file)
{
    const auto name = file.getFileName();
    if (file.isDirectory() || !file.existsAsFile())
    {
        ImportResult result;
        result.kind = FileKind::unreadable;
        result.warnings.add("cannot read: no such file");
        return result;
    }
    if (file.getSize() > 0)
    {
        juce::MemoryMappedFile mapped(file, juce::MemoryMappedFile::readOnly);
        if (mapped.getData() != nullptr && (juce::int64)mapped.getSize() == file.getSize())
            return importBytes(mapped.getData(), mapped.getSize(), name);
    }
    juce::MemoryBlock bytes;
    if (!file.loadFileAsData(bytes))
    {
        ImportResult result;
        result.kind = FileKind::unreadable;
        result.warnings.add("cannot read the file");
        return result;
    }
    return importBytes(bytes.getData(), bytes.getSize(), name);
}

const char* useText(Use use)
{
    switch (use)
    {
    case Use::programs:
        return "programs";
    case Use::names:
        return "name messages paired with a program";
    case Use::unpairedNames:
        return "name messages without a program";
    case Use::combos:
        return "combos";
    case Use::globals:
        return "global settings dumps";
    case Use::waves:
        return "wave shapes";
    case Use::otherEvolver:
        return "other Evolver messages";
    case Use::foreign:
        return "messages for other instruments";
    case Use::malformed:
        return "truncated or malformed messages";
    case Use::garbage:
        return "bytes outside any message";
    case Use::midiStructure:
        return "MIDI file headers and other events";
    case Use::count:
        break;
    }
    return "";
}

juce::String kindText(const ImportResult& result)
{
    switch (result.kind)
    {
    case FileKind::sysex:
        return "SysEx";
    case FileKind::midiFile:
        return "Standard MIDI File, format " + juce::String(result.midiFormat) + ", " +
               juce::String(result.midiTracks) + (result.midiTracks == 1 ? " track" : " tracks");
    case FileKind::dataImage:
        return "data image";
    case FileKind::unreadable:
        return "unreadable";
    }
    return {};
}
} // namespace zentak::programimport
