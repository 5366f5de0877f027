// The import engine's Standard MIDI File reader: walks the chunks and the events of every track and
// hands the bytes of SysEx events (F0 events, F7 continuation and escape events) to a per-track
// stream that reassembles the messages. Every length is checked against the end of its chunk.
#include "ProgramImportDetail.h"

#include <cstring>

namespace zentak::programimport::detail
{
namespace
{
std::uint32_t bigEndian(const std::uint8_t* p, int bytes)
{
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | p[i];
    return v;
}

/** A variable-length quantity at p (at most four bytes, none past end); false if malformed. */
bool readVarLen(const std::uint8_t* d, size_t& p, size_t end, std::uint32_t& value)
{
    value = 0;
    for (int i = 0; i < 4; ++i)
    {
        if (p >= end)
            return false;
        const std::uint8_t b = d[p++];
        value = (value << 7) | (b & 0x7Fu);
        if ((b & 0x80) == 0)
            return true;
    }
    return false;
}

/** Data bytes that follow a channel status byte. */
size_t channelDataBytes(std::uint8_t status)
{
    const int type = status & 0xF0;
    return type == 0xC0 || type == 0xD0 ? 1 : 2;
}

void scanTrack(const std::uint8_t* d, size_t begin, size_t end, int track, Collector& collector)
{
    Stream stream(collector, Use::midiStructure);
    std::uint8_t running = 0;
    size_t p = begin, eventStart = begin;
    auto stop = [&](const juce::String& why)
    {
        collector.warn("track " + juce::String(track) + ", byte " + juce::String((juce::int64)eventStart) +
                       ": " + why + "; the rest of the track is skipped");
        collector.count(Use::garbage, end - eventStart);
        p = end;
    };
    while (p < end)
    {
        eventStart = p;
        std::uint32_t delta = 0;
        if (!readVarLen(d, p, end, delta) || p >= end)
        {
            stop("an unreadable delta time");
            break;
        }
        const std::uint8_t status = d[p];
        if (status == 0xF0 || status == 0xF7)
        {
            size_t q = p + 1;
            std::uint32_t length = 0;
            if (!readVarLen(d, q, end, length))
            {
                stop("an unreadable SysEx event length");
                break;
            }
            const size_t available = end - q;
            const size_t take = length <= available ? (size_t)length : available;
            if (status == 0xF0)
            {
                collector.count(Use::midiStructure, p - eventStart);
                stream.feed(d + p, 1, p); // the event's status byte is the message's F0
                collector.count(Use::midiStructure, q - p - 1);
            }
            else
            {
                collector.count(Use::midiStructure, q - eventStart);
            }
            // Data of a continuation joins the message under way; an escape's data is fed the same
            // way, so that a whole message packed in one is found as well.
            stream.feed(d + q, take, q);
            p = q + take;
            if (take < length)
                collector.warn("track " + juce::String(track) +
                               ": a SysEx event runs past the end of its track");
            continue;
        }
        if (status == 0xFF)
        {
            size_t q = p + 1;
            std::uint32_t length = 0;
            if (q >= end || (++q, !readVarLen(d, q, end, length)))
            {
                stop("an unreadable meta event");
                break;
            }
            const size_t take = juce::jmin((size_t)length, end - q);
            collector.count(Use::midiStructure, q + take - eventStart);
            p = q + take;
            continue;
        }
        size_t dataStart = p;
        std::uint8_t channelStatus = running;
        if (status >= 0x80)
        {
            if (status > 0xEF)
            {
                stop("an event of status " + juce::String::toHexString((int)status).toUpperCase() +
                     ", which a MIDI file cannot hold");
                break;
            }
            channelStatus = running = status;
            dataStart = p + 1;
        }
        else if (running == 0)
        {
            stop("a data byte without a status byte");
            break;
        }
        const size_t take = juce::jmin(channelDataBytes(channelStatus), end - dataStart);
        p = dataStart + take;
        collector.count(Use::midiStructure, p - eventStart);
    }
    stream.end();
}
} // namespace

void scanMidiFile(const std::uint8_t* d, size_t n, Collector& collector, ImportResult& result)
{
    // Header chunk: "MThd", length (6 or more), format, number of tracks, division.
    const size_t headerLength = n >= 8 ? bigEndian(d + 4, 4) : 0;
    if (n < 14 || headerLength < 6)
    {
        collector.count(Use::garbage, n);
        collector.warn("a MIDI file header that is cut short");
        return;
    }
    result.midiFormat = (int)bigEndian(d + 8, 2);
    const int declaredTracks = (int)bigEndian(d + 10, 2);
    if (result.midiFormat > 2)
        collector.warn("MIDI file format " + juce::String(result.midiFormat) +
                       " is unknown; read as format 1");

    size_t p = 8 + juce::jmin(headerLength, n - 8);
    collector.count(Use::midiStructure, p);
    while (p < n)
    {
        if (n - p < 8)
        {
            collector.count(Use::garbage, n - p);
            collector.warn(juce::String((juce::int64)(n - p)) + " bytes after the last chunk");
            break;
        }
        const size_t length = bigEndian(d + p + 4, 4);
        const size_t body = p + 8;
        const size_t end = body + juce::jmin(length, n - body);
        if (end - body < length)
            collector.warn("the chunk at byte " + juce::String((juce::int64)p) +
                           " runs past the end of the file");
        if (std::memcmp(d + p, "MTrk", 4) == 0)
        {
            collector.count(Use::midiStructure, 8);
            ++result.midiTracks;
            scanTrack(d, body, end, result.midiTracks, collector);
        }
        else
        {
            collector.count(Use::midiStructure, end - p);
        }
        p = end;
    }
    if (result.midiTracks != declaredTracks)
        collector.warn("the header announces " + juce::String(declaredTracks) + " tracks; " +
                       juce::String(result.midiTracks) + " found");
}
} // namespace zentak::programimport::detail
