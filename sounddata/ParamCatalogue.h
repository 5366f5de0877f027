// ParamCatalogue: the fixed numbering, names, ranges, defaults and value-text rules of every
// program parameter (0..191) and of the instrument's global parameters. Constant data; any thread.
#pragma once

#include <array>
#include <cstdint>

namespace zentak
{

/** The value-text rule that shows a parameter's value (see ParDes). */
enum class TextRule : std::uint8_t
{
    Plain,
    Offset50,
    Offset99,
    NoteName,
    OscShape,
    WaveNumber,
    PanMode,
    OffOn,
    DelayTime,
    LfoFrequency,
    LfoShape,
    LfoAmount,
    TriggerSelect,
    KeyOffTranspose,
    ExtInMode,
    Glide,
    Tempo,
    ClockDivide,
    KeyMode,
    ShapeSequence,
    FilterPoles,
    InOut,
    ModSource,
    EnvelopeCurve,
    ModDestination,
    SeqDestination
};

struct ParamInfo
{
    const char* name;  // the name the host sees
    const char* group; // the parameter group class that shows the control
    const char* label; // the control's label
    int minimum;       // editor range, low end
    int maximum;       // editor range, high end
    int hostMaximum;   // the host scale divides by this
    TextRule rule;
    int init; // value in the initial program
};

struct GlobalParamInfo
{
    int number;
    const char* label;
    int minimum;
    int maximum;
};

namespace params
{
constexpr int numSoundParams = 128;   // 0..127
constexpr int numProgramParams = 192; // 0..191 incl. the 64 sequencer steps
constexpr int tableSize = 200;        // the range tables hold 200 entries
constexpr int firstSeqStep = 128;
constexpr int seqStepKind = 567; // display kind of every sequencer step
constexpr int tempoIndex = 66;
constexpr int categoryIndex = 117; // byte 117 doubles as the program category

/** Program parameter number of a sequencer step; sequence 0..3, step 0..15. */
constexpr int seqStepIndex(int sequence, int step)
{
    return firstSeqStep + 16 * sequence + step;
}

/** The catalogue entry of sound parameter 0..127, or nullptr. */
const ParamInfo* info(int index);

/** Host maximum of any index 0..199 (127 for the unused 192..199 and out-of-range indices). */
int hostMaximum(int index);

/** Editor range maximum of 0..191 (102 for sequence 1 steps, 101 for the others). */
int rangeMaximum(int index);

/** Editor range minimum (30 for Tempo, 0 otherwise). */
int rangeMinimum(int index);

/** The name the host sees: catalogue name, "Seq N Step M", or "" for 192 and above. */
const char* hostName(int index);

/** The 192 bytes of the initial program (Init column, sequencer steps 0). */
const std::array<std::uint8_t, numProgramParams>& initialProgram();

/** The global parameters shown on the global settings panel, in panel order. */
const std::array<GlobalParamInfo, 11>& globalParams();

/** Fills the three 200-entry range tables of the controller state. */
void fillTables(std::int16_t* minimum, std::int16_t* maximum, std::int16_t* displayKind);
} // namespace params

} // namespace zentak
