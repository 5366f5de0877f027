// Test helper: the initial program as a 208-byte record with a name. Any thread.
#pragma once

#include "sounddata/ParamCatalogue.h"

#include <juce_core/juce_core.h>

namespace zentak::testrecords
{
inline juce::MemoryBlock initialRecord(const char* name = "                ")
{
    juce::MemoryBlock record(208, true);
    const auto& init = params::initialProgram();
    record.copyFrom(init.data(), 0, init.size());
    record.copyFrom(name, 192, 16);
    return record;
}
} // namespace zentak::testrecords
