// HostRecorder: the host as the processor's listeners see it, for the tests. Message thread.
#pragma once

#include "plugin/ZentakAudioProcessor.h"

#include <array>
#include <string>
#include <vector>

namespace zentak::test
{
/** The host as the processor's listeners see it: every begin, value and end, with the faults of a
    value outside an open gesture or an unbalanced begin or end. */
struct HostRecorder : juce::AudioProcessorListener
{
    explicit HostRecorder(ZentakAudioProcessor& p) : processor(p) { processor.addListener(this); }
    ~HostRecorder() override { processor.removeListener(this); }

    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override
    {
        if (!open[(size_t)index])
            ++faults;
        const int maximum = processor.state().paramMaximum[index];
        values[(size_t)index].push_back(ZentakAudioProcessor::hostToByte(value, maximum));
        events.push_back(
            (juce::String("v") + juce::String(index) + "=" + juce::String(values[(size_t)index].back()))
                .toStdString());
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override
    {
        faults += open[(size_t)index] ? 1 : 0;
        open[(size_t)index] = true;
        ++begins;
        events.push_back((juce::String("b") + juce::String(index)).toStdString());
    }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override
    {
        faults += open[(size_t)index] ? 0 : 1;
        open[(size_t)index] = false;
        ++ends;
        events.push_back((juce::String("e") + juce::String(index)).toStdString());
    }

    ZentakAudioProcessor& processor;
    std::array<std::vector<int>, 192> values;
    std::array<bool, 192> open{};
    std::vector<std::string> events; // "b24", "v24=51", "e24" in the order the host saw them
    int begins = 0, ends = 0, faults = 0;
};
} // namespace zentak::test
