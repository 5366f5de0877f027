// StateEnvelopes: each format's host wraps the plug-in's own chunk in a state of its own (an FXB bank
// for VST 2, an XML state with encoded component data for VST3, an LV2 state text). These helpers
// find the plug-in's chunk inside such a host state and put other bytes in its place, so a check can
// hand the plug-in a foreign, truncated or random chunk exactly as the host would deliver it. Pure
// functions; any thread.
#pragma once

#include "HostedPlugin.h"

namespace zentak::validation
{
/** The plug-in's own chunk inside a host state of the format (empty when not found). */
juce::MemoryBlock pluginChunkIn(Format format, const juce::MemoryBlock& hostState);

/** The host state with the plug-in's chunk replaced by the given bytes (empty when not found). */
juce::MemoryBlock withPluginChunk(Format format, const juce::MemoryBlock& hostState,
                                  const juce::MemoryBlock& chunk);

/** A chunk as another plug-in built on the same framework saves it: a binary XML state. */
juce::MemoryBlock foreignPluginChunk();
} // namespace zentak::validation
