#include "ParDes.h"

#include "ParamCatalogue.h"

namespace zentak
{
namespace
{
// kTriggerSelect: values 0..13
constexpr const char* kTriggerSelect[] = {
    "Seq/MIDI",     // 0
    "Sequencer",    // 1
    "MIDI",         // 2
    "MIDI Reset",   // 3
    "MIDI Gate",    // 4
    "MIDI G/R",     // 5
    "Ext In",       // 6
    "Ext In Reset", // 7
    "Ext In Gate",  // 8
    "Ext In G/R",   // 9
    "MIDI Seq 1",   // 10
    "MIDI Seq 1R",  // 11
    "Ext In Sq S",  // 12
    "MIDI Sq SP",   // 13
};

// kClockDivide: values 0..12
constexpr const char* kClockDivide[] = {
    "1/2n",    // 0
    "1/4n",    // 1
    "8n",      // 2
    "8n1/2s",  // 3
    "8n1s",    // 4
    "8nt",     // 5
    "16n",     // 6
    "16n1/2s", // 7
    "16n1s",   // 8
    "16nt",    // 9
    "32n",     // 10
    "32nt",    // 11
    "64nt",    // 12
};

// kKeyMode: values 0..23
constexpr const char* kKeyMode[] = {
    "Low Note",      // 0
    "Low Note RT",   // 1
    "High Note",     // 2
    "High Note RT",  // 3
    "Last Note",     // 4
    "Last Note RT",  // 5
    "Mono Low",      // 6
    "Mono Low RT",   // 7
    "Mono Hi",       // 8
    "Mono Hi RT",    // 9
    "Mono Last",     // 10
    "Mono Last RT",  // 11
    "Uni 1 Low",     // 12
    "Uni 1 Low RT",  // 13
    "Uni 1 Hi",      // 14
    "Uni 1 Hi RT",   // 15
    "Uni 1 Last",    // 16
    "Uni 1 Last RT", // 17
    "Uni 2 Low",     // 18
    "Uni 2 Low RT",  // 19
    "Uni 2 Hi",      // 20
    "Uni 2 Hi RT",   // 21
    "Uni 2 Last",    // 22
    "Uni 2 Last RT", // 23
};

// kModSource: values 0..24
constexpr const char* kModSource[] = {
    "- - - - -",        // 0
    "Seq 1",            // 1
    "Seq 2",            // 2
    "Seq 3",            // 3
    "Seq 4",            // 4
    "LFO 1",            // 5
    "LFO 2",            // 6
    "LFO 3",            // 7
    "LFO 4",            // 8
    "Filter Envelope",  // 9
    "AMP (VCA) Env",    // 10
    "Envelope 3",       // 11
    "Ext. In Peak",     // 12
    "Ext. In Env Flw",  // 13
    "MIDI-Pitch Bend",  // 14
    "MIDI-Mod Wheel",   // 15
    "MIDI-Pressure",    // 16
    "MIDI-Breath Cntr", // 17
    "MIDI-Foot Cntr",   // 18
    "MIDI-Note Vel",    // 19
    "MIDI-Note Number", // 20
    "MIDI-Expression",  // 21
    "Noise",            // 22
    "Osc 3",            // 23
    "Osc 4",            // 24
};

// kLfoShape: values 0..4
constexpr const char* kLfoShape[] = {
    "Triangle",         // 0
    "Reverse Sawtooth", // 1
    "Sawtooth",         // 2
    "Square",           // 3
    "Random",           // 4
};

// kPanMode: values 0..6
constexpr const char* kPanMode[] = {
    "L<<>>R", // 0
    "L<>R",   // 1
    "L-R",    // 2
    "MONO",   // 3
    "R-L",    // 4
    "R<>L",   // 5
    "R<<>>L", // 6
};

// kExtInMode: values 0..3
constexpr const char* kExtInMode[] = {
    "Stereo", // 0
    "Left",   // 1
    "Right",  // 2
    "Split",  // 3
};

// kDelayTime: values 151..166
constexpr const char* kDelayTime[] = {
    "s32", // 151
    "s16", // 152
    "s 8", // 153
    "s 4", // 154
    "s 2", // 155
    "s 1", // 156
    "st2", // 157
    "st4", // 158
    "st8", // 159
    "s16", // 160
    "s 6", // 161
    "s 3", // 162
    "s15", // 163
    "s05", // 164
    "st3", // 165
    "st6", // 166
};

// kLfoFrequency: values 151..160
constexpr const char* kLfoFrequency[] = {
    "Seq/32", // 151
    "Seq/16", // 152
    "Seq/8",  // 153
    "seq/4",  // 154
    "Seq/2",  // 155
    "1C/st",  // 156
    "2C/st",  // 157
    "4C/st",  // 158
    "8C/st",  // 159
    "16C/st", // 160
};

// kModDestination: values 0..68
constexpr const char* kModDestination[] = {
    "- - - - -",         // 0
    "Osc 1 Freqency",    // 1
    "Osc 2 Freqency",    // 2
    "Osc 3 Freqency",    // 3
    "Osc 4 Freqency",    // 4
    "Osc All Freqency",  // 5
    "Osc 1 Level",       // 6
    "Osc 2 Level",       // 7
    "Osc 3 Level",       // 8
    "Osc 4 Level",       // 9
    "Osc ALL Level",     // 10
    "Noise Level",       // 11
    "Ext. In Level",     // 12
    "Osc 1 Pulse W",     // 13
    "Osc 2 Pulse W",     // 14
    "Osc ALL Pulse W",   // 15
    "FM 4->3",           // 16
    "FM 3->4",           // 17
    "RM 4->3",           // 18
    "RM 3->4",           // 19
    "Filter Freqency",   // 20
    "Filter Split L/R",  // 21
    "Resonance",         // 22
    "Hi-Pass Freqency",  // 23
    "VCA Amount",        // 24
    "Pan",               // 25
    "Feedback Freqency", // 26
    "Feedback Amount",   // 27
    "Delay Time 1",      // 28
    "Delay Time 2",      // 29
    "Delay Time 3",      // 30
    "Delay Time ALL",    // 31
    "Delay Amount 1",    // 32
    "Delay Amount 2",    // 33
    "Delay Amount 3",    // 34
    "Delay Amount ALL",  // 35
    "Delay Feedback 1",  // 36
    "Delay Feedback 2",  // 37
    "LFO 1 Freqency",    // 38
    "LFO 2 Freqency",    // 39
    "LFO 3 Freqency",    // 40
    "LFO 4 Freqency",    // 41
    "LFO All Freqency",  // 42
    "LFO 1 Amount",      // 43
    "LFO 2 Amount",      // 44
    "LFO 3 Amount",      // 45
    "LFO 4 Amount",      // 46
    "LFO All Amount",    // 47
    "Env 1 Amount",      // 48
    "Env 2 Amount",      // 49
    "Env 3 Amount",      // 50
    "Env All Amount",    // 51
    "Env 1 Attack",      // 52
    "Env 2 Attack",      // 53
    "Env 3 Attack",      // 54
    "Env All Attack",    // 55
    "Env 1 Decay",       // 56
    "Env 2 Decay",       // 57
    "Env 3 Decay",       // 58
    "Env All Decay",     // 59
    "Env 1 Release",     // 60
    "Env 2 Release",     // 61
    "Env 3 Release",     // 62
    "Env All Release",   // 63
    "Filter 1 Freqency", // 64
    "Filter 2 Freqency", // 65
    "Filter 1 Reson",    // 66
    "Filter 2 Reson",    // 67
    "Distortion",        // 68
};

// kSeqDestination: values 0..75
constexpr const char* kSeqDestination[] = {
    "- - - - -",         // 0
    "Osc 1 Frequency",   // 1
    "Osc 2 Frequency",   // 2
    "Osc 3 Frequency",   // 3
    "Osc 4 Frequency",   // 4
    "Osc All",           // 5
    "Osc 1 Level",       // 6
    "Osc 2 Level",       // 7
    "Osc 3 Level",       // 8
    "Osc 4 Level",       // 9
    "Osc All Level",     // 10
    "Noise Level",       // 11
    "Ext. In Level",     // 12
    "Osc 1 Pulse W",     // 13
    "Osc 2 Pulse W",     // 14
    "Osc All Pulse W",   // 15
    "FM 4->3",           // 16
    "FM 3->4",           // 17
    "RM 4->3",           // 18
    "RM 3->4",           // 19
    "Filter Frequency",  // 20
    "Filter Split L/R",  // 21
    "Resonance",         // 22
    "Hi-Pass Frequency", // 23
    "VCA Amount",        // 24
    "Pan",               // 25
    "Feedback Freq",     // 26
    "Feedback Amount",   // 27
    "Delay Time 1",      // 28
    "Delay Time 2",      // 29
    "Delay Time 3",      // 30
    "Delay Time All",    // 31
    "Delay Amount 1",    // 32
    "Delay Amount 2",    // 33
    "Delay Amount 3",    // 34
    "Delay Amount All",  // 35
    "Delay Feedback 1",  // 36
    "Delay Feedback 2",  // 37
    "LFO 1 Frequency",   // 38
    "LFO 2 Frequency",   // 39
    "LFO 3 Frequency",   // 40
    "LFO 4 Frequency",   // 41
    "LFO All Frequency", // 42
    "LFO 1 Amount",      // 43
    "LFO 2 Amount",      // 44
    "LFO 3 Amount",      // 45
    "LFO 4 Amount",      // 46
    "LFO All Amount",    // 47
    "ENV 1 Amount",      // 48
    "ENV 2 Amount",      // 49
    "ENV 3 Amount",      // 50
    "ENV All Amount",    // 51
    "ENV 1 Attack",      // 52
    "ENV 2 Attack",      // 53
    "ENV 3 Attack",      // 54
    "ENV All Attack",    // 55
    "ENV 1 Decay",       // 56
    "ENV 2 Decay",       // 57
    "ENV 3 Decay",       // 58
    "ENV All Decay",     // 59
    "ENV 1 Release",     // 60
    "ENV 2 Release",     // 61
    "ENV 3 Release",     // 62
    "ENV All Release",   // 63
    "Filter 1 Freq",     // 64
    "Filter 2 Freq",     // 65
    "Filter 1 Reson",    // 66
    "Filter 2 Reson",    // 67
    "Distortion",        // 68
    "Seq Clk Mulitipl",  // 69
    "MIDI Note Number",  // 70
    "MIDI Velocity",     // 71
    "MIDI Mod Wheel",    // 72
    "MIDI Pressure",     // 73
    "MIDI Breath Cntr",  // 74
    "MIDI Foot Cntr",    // 75
};

// kMidiClockSelect: values 0..6
constexpr const char* kMidiClockSelect[] = {
    "Internal",                    // 0
    "Internal w/Send",             // 1
    "External",                    // 2
    "External w/Send",             // 3
    "External - Sequencer",        // 4
    "MIDI Notes Adv Seq",          // 5
    "MIDI Clk In - No Start/Stop", // 6
};

// kPolyChain: values 0..2
constexpr const char* kPolyChain[] = {
    "Normal MIDI",      // 0
    "All MIDI Echoed",  // 1
    "MIDI Note Echoed", // 2
};

template <size_t N> juce::String fromTable(const char* const (&table)[N], int value, int first = 0)
{
    const int i = value - first;
    if (i >= 0 && i < (int)N)
        return table[i];
    return juce::String(value);
}

const char* const kNoteLetters[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
const char* const kOscShapes[] = {"Saw", "TRI", "MIX"};
const char* const kOffOn[] = {"OFF", "ON"};
const char* const kShapeSequence[] = {"OFF", "Seq 1", "Seq 2", "Seq 3", "Seq 4"};
const char* const kFilterPoles[] = {"2 P", "4 P"};
const char* const kEnvelopeCurve[] = {"Expon", "Linear"};

juce::String ruleText(TextRule rule, int v)
{
    const juce::String plain(v);
    switch (rule)
    {
    case TextRule::Plain:
        return plain;
    case TextRule::Offset50:
        return juce::String(v - 50);
    case TextRule::Offset99:
        return juce::String(v - 99);
    case TextRule::NoteName:
        if (v >= 0 && v <= 127)
            return juce::String(kNoteLetters[v % 12]) + juce::String(v / 12 - 2);
        return plain;
    case TextRule::OscShape:
        if (v >= 3)
            return "P-" + juce::String(v - 3);
        return fromTable(kOscShapes, v);
    case TextRule::WaveNumber:
        if (v >= 0 && v <= 95)
            return "R-" + juce::String(v + 1);
        if (v >= 96)
            return "U-" + juce::String(v - 95);
        return plain;
    case TextRule::PanMode:
        return fromTable(kPanMode, v);
    case TextRule::OffOn:
        return fromTable(kOffOn, v);
    case TextRule::DelayTime:
        return fromTable(kDelayTime, v, 151);
    case TextRule::LfoFrequency:
        return fromTable(kLfoFrequency, v, 151);
    case TextRule::LfoShape:
        return fromTable(kLfoShape, v);
    case TextRule::LfoAmount:
        return v >= 101 ? "s" + plain : plain;
    case TextRule::TriggerSelect:
        return fromTable(kTriggerSelect, v);
    case TextRule::KeyOffTranspose:
        if (v == 0)
            return "No MIDI";
        if (v == 37)
            return "----";
        return v >= 1 && v <= 73 ? juce::String(v - 37) : plain;
    case TextRule::ExtInMode:
        return fromTable(kExtInMode, v);
    case TextRule::Glide:
        if (v >= 101 && v <= 199)
            return "F" + juce::String(v - 99);
        if (v == 200)
            return "OFF";
        return plain;
    case TextRule::Tempo:
        return plain + " BPM";
    case TextRule::ClockDivide:
        return fromTable(kClockDivide, v);
    case TextRule::KeyMode:
        return fromTable(kKeyMode, v);
    case TextRule::ShapeSequence:
        return fromTable(kShapeSequence, v);
    case TextRule::FilterPoles:
        return fromTable(kFilterPoles, v);
    case TextRule::InOut:
        return v < 100 ? plain + " OUT" : juce::String(v - 100) + " IN";
    case TextRule::ModSource:
        return fromTable(kModSource, v);
    case TextRule::EnvelopeCurve:
        return fromTable(kEnvelopeCurve, v);
    case TextRule::ModDestination:
        return fromTable(kModDestination, v);
    case TextRule::SeqDestination:
        return fromTable(kSeqDestination, v);
    }
    return plain;
}
} // namespace

juce::String ParDes::valueText(int kind, int value)
{
    if (const auto* p = params::info(kind))
        return ruleText(p->rule, value);
    return juce::String(value);
}

juce::String ParDes::globalValueText(int number, int value)
{
    switch (number)
    {
    case 3:
        return juce::String(value - 36);
    case 4:
        return ruleText(TextRule::Tempo, value);
    case 5:
        return ruleText(TextRule::ClockDivide, value);
    case 6:
    case 8:
        return ruleText(TextRule::OffOn, value);
    case 7:
        return fromTable(kMidiClockSelect, value);
    case 9:
        return fromTable(kPolyChain, value);
    case 10:
        return juce::String(value) + " dB";
    case 11:
        return ruleText(TextRule::Offset50, value);
    case 14:
        if (value < 0)
            return juce::String(value); // not a channel: the plain number, as every table falls back
        return value == 0 ? juce::String("All Channels") : "Channel " + juce::String(value);
    default:
        return juce::String(value);
    }
}
} // namespace zentak
