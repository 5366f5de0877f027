// Shared helpers for the tests: a temporary settings folder, a hand-driven clock, a listener that
// records notification codes, and a MIDI device backend whose one output records what is sent.
#pragma once

#include "synthlink/MidiCntrState.h"

#include <juce_core/juce_core.h>

#include <array>
#include <chrono>
#include <thread>
#include <mutex>
#include <string>
#include <vector>

namespace zentak::test
{

struct TempFolder
{
    juce::File folder = juce::File::createTempFile("zentak-test");
    TempFolder() { folder.createDirectory(); }
    ~TempFolder() { folder.deleteRecursively(); }
};

struct ManualClock
{
    std::shared_ptr<std::atomic<juce::uint32>> now = std::make_shared<std::atomic<juce::uint32>>(1000);
    std::function<juce::uint32()> function() const
    {
        auto n = now;
        return [n] { return n->load(); };
    }
    void set(juce::uint32 ms) { now->store(ms); }
};

class CodeRecorder : public MidiCntrStateListener
{
public:
    explicit CodeRecorder(MidiCntrState& s) : state(s) { state.addListener(this); }
    ~CodeRecorder() override { state.removeListener(this); }

    void midiCntrStateChanged(MidiCntrState* s) override
    {
        ++wakes;
        for (int c : s->takePendingCodes())
            codes.push_back(c);
    }

    int count(int code) const { return (int)std::count(codes.begin(), codes.end(), code); }

    MidiCntrState& state;
    std::vector<int> codes;
    int wakes = 0;
};

/** The host's side of the gestures: every begin, value and end the controller state hands over, in
    order, with a check that each value lies inside an open gesture of its parameter. */
class HostLog : public HostNotifier
{
public:
    struct Event
    {
        char kind; // 'b' begin, 'v' value, 'e' end
        int index, byte;
        bool fromInstrument;
        bool operator==(const Event& o) const
        {
            return kind == o.kind && index == o.index && byte == o.byte && fromInstrument == o.fromInstrument;
        }
    };

    void hostGestureBegin(int index) override { record({'b', index, 0, false}); }
    void hostValue(int index, int byte, bool fromInstrument) override { record({'v', index, byte, fromInstrument}); }
    void hostGestureEnd(int index) override { record({'e', index, 0, false}); }
    void hostValuesReplaced() override { ++replaced; }

    /** The events as text, e.g. "b20 v20=5 e20" (values from the instrument marked with i). */
    std::string text() const
    {
        std::string out;
        for (const auto& e : events)
        {
            if (!out.empty())
                out += ' ';
            out += e.kind + std::to_string(e.index);
            if (e.kind == 'v')
                out += (e.fromInstrument ? "=i" : "=") + std::to_string(e.byte);
        }
        return out;
    }
    std::vector<int> valuesOf(int index) const
    {
        std::vector<int> v;
        for (const auto& e : events)
            if (e.kind == 'v' && e.index == index)
                v.push_back(e.byte);
        return v;
    }

    std::vector<Event> events;
    std::vector<std::string> faults; // begin while open, end while closed, value outside a gesture
    std::array<bool, 256> open{};
    int replaced = 0;

private:
    void record(const Event& e)
    {
        events.push_back(e);
        auto& isOpen = open[(size_t)e.index];
        const auto where = std::to_string(events.size() - 1);
        if (e.kind == 'b' && isOpen)
            faults.push_back("second begin at " + where);
        if (e.kind == 'e' && !isOpen)
            faults.push_back("end without begin at " + where);
        if (e.kind == 'v' && !isOpen)
            faults.push_back("value outside a gesture at " + where);
        if (e.kind != 'v')
            isOpen = e.kind == 'b';
    }
};

/** One output ("Recorder Out") that keeps every message sent to it. */
class RecordingDevices : public MidiDeviceBackend
{
public:
    struct Output : MidiOutputDevice
    {
        Output(RecordingDevices& o, int n) : owner(o), number(n) {}
        void sendMessageNow(const juce::MidiMessage& m) override
        {
            if (owner.delayMs > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(owner.delayMs));
            std::lock_guard<std::mutex> l(owner.mutex);
            owner.sent.emplace_back(m.getRawData(), m.getRawData() + m.getRawDataSize());
            owner.openedAs.push_back(number);
        }
        RecordingDevices& owner;
        const int number;
    };

    juce::StringArray inputNames() override { return {}; }
    juce::StringArray outputNames() override { return {outputName}; }
    std::unique_ptr<MidiInputDevice> openInput(int, juce::MidiInputCallback*) override { return nullptr; }
    std::unique_ptr<MidiOutputDevice> openOutput(int index) override
    {
        return index == 0 ? std::make_unique<Output>(*this, ++opened) : nullptr;
    }

    std::vector<std::vector<juce::uint8>> messages()
    {
        std::lock_guard<std::mutex> l(mutex);
        return sent;
    }

    /** Which opening of the output (1, 2, ...) received each message. */
    std::vector<int> receivers()
    {
        std::lock_guard<std::mutex> l(mutex);
        return openedAs;
    }

    std::mutex mutex;
    std::vector<std::vector<juce::uint8>> sent;
    std::vector<int> openedAs;
    std::atomic<int> opened{0};
    std::atomic<int> delayMs{0}; // a slow cable: each message takes this long
    juce::String outputName{"Recorder Out"};
};

/** What every controller-state fixture starts from: a temporary settings folder, a hand-driven clock
    and a recording output device. */
struct StateRig
{
    TempFolder temp;
    ManualClock clock;
    std::shared_ptr<RecordingDevices> devices = std::make_shared<RecordingDevices>();

    MidiCntrStateOptions options() const { return {temp.folder, clock.function(), devices}; }
};

inline std::vector<juce::uint8> bytes(std::initializer_list<int> list)
{
    std::vector<juce::uint8> v;
    for (int b : list)
        v.push_back((juce::uint8)b);
    return v;
}

} // namespace zentak::test
