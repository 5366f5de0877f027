#include "HostParam.h"

#include "ZentakAudioProcessor.h"
#include "sounddata/ParDes.h"
#include "sounddata/ParamCatalogue.h"

namespace zentak
{
HostParam::HostParam(ZentakAudioProcessor& owningProcessor, int i)
    : juce::AudioProcessorParameterWithID(juce::ParameterID("p" + juce::String(i), 1), params::hostName(i)),
      owner(owningProcessor), index(i)
{
}

float HostParam::getValue() const
{
    return owner.getParameter(index);
}

void HostParam::setValue(float newValue)
{
    owner.setParameter(index, newValue);
}

juce::String HostParam::getText(float normalisedValue, int maximumStringLength) const
{
    const int maximum = owner.state().paramMaximum[index];
    const int v = juce::jlimit(0, maximum, ZentakAudioProcessor::hostToByte(normalisedValue, maximum));
    auto text = ParDes::valueText(owner.state().paramDisplayKind[index], v);
    return maximumStringLength > 0 ? text.substring(0, maximumStringLength) : text;
}

juce::String HostParam::getCurrentValueAsText() const
{
    return owner.getParameterText(index);
}

void HostParam::beginGesture()
{
    if (inGesture)
        return;
    inGesture = true;
    beginChangeGesture();
}

void HostParam::endGesture()
{
    if (!inGesture)
        return;
    inGesture = false;
    endChangeGesture();
}

float HostParam::getValueForText(const juce::String& text) const
{
    const int maximum = owner.state().paramMaximum[index];
    const auto trimmed = text.trim();
    for (int v = 0; v <= maximum; ++v)
        if (ParDes::valueText(owner.state().paramDisplayKind[index], v) == trimmed)
            return maximum > 0 ? (float)v / (float)maximum : 0.0f;
    const int v = juce::jlimit(0, maximum, trimmed.getIntValue());
    return maximum > 0 ? (float)v / (float)maximum : 0.0f;
}
} // namespace zentak
