// Fuzzes every reader of outside bytes: single program and program bank files, the settings and port
// settings formats, and the host's bank and program chunks.
#include "FuzzSupport.h"
#include "library/LibraryFiles.h"
#include "plugin/ZentakAudioProcessor.h"
#include "synthlink/SettingsFiles.h"

#include <cstdint>
#include <cstring>

using namespace zentak;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    fuzz::countExecution("file");
    fuzz::initialiseFramework();
    static ZentakAudioProcessor& processor = *new ZentakAudioProcessor(fuzz::options()); // lives until exit

    const juce::MemoryBlock block(data, size);
    libraryfiles::readSingleProgram(block, "Fuzz.syx");
    libraryfiles::readProgramBank(block);

    juce::String in, out;
    bool hasOutput = false;
    settingsfiles::parsePortNames(block, in, out, hasOutput);
    settingsfiles::parseFields(juce::String::createStringFromData(data, (int)size));

    // The chunk readers see the bytes behind each header, as a host would hand them over.
    for (const char* header : {"EvolverPluginBank", "EvolverPluginSettings"})
    {
        juce::MemoryBlock chunk(header, std::strlen(header));
        chunk.append(data, size);
        processor.setStateInformation(chunk.getData(), (int)chunk.getSize());
        processor.setCurrentProgramStateInformation(chunk.getData(), (int)chunk.getSize());
    }
    processor.setStateInformation(data, (int)size);
    processor.state().takePendingCodes();
    return 0;
}
