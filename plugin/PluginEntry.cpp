// The plug-in's creation function, called by every format wrapper.
#include "ZentakAudioProcessor.h"

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new zentak::ZentakAudioProcessor();
}
