#include "ParamCatalogue.h"

#include <string>

namespace zentak::params
{
namespace
{
// name, group, label, min, max, host max, rule, init
const ParamInfo kParams[numSoundParams] = {
    {"OCS1 Frequency", "Grp_Osc", "Frequency", 0, 120, 120, TextRule::NoteName, 24},              // 0
    {"OCS1 Fine Tune", "Grp_Osc", "Fine Tune", 0, 100, 100, TextRule::Offset50, 49},              // 1
    {"OCS1 Shape/PW", "Grp_Osc", "Shape/PW", 0, 102, 102, TextRule::OscShape, 0},                 // 2
    {"OCS1 Level", "Grp_Osc", "Level", 0, 100, 100, TextRule::Plain, 100},                        // 3
    {"OCS2 Frequency", "Grp_Osc", "Frequency", 0, 120, 120, TextRule::NoteName, 24},              // 4
    {"OCS2 Fine Tune", "Grp_Osc", "Fine Tune", 0, 100, 100, TextRule::Offset50, 51},              // 5
    {"OCS2 Shape/PW", "Grp_Osc", "Shape/PW", 0, 102, 102, TextRule::OscShape, 0},                 // 6
    {"OCS2 Level", "Grp_Osc", "Level", 0, 100, 100, TextRule::Plain, 100},                        // 7
    {"OCS3 Frequency", "Grp_Osc", "Frequency", 0, 120, 120, TextRule::NoteName, 24},              // 8
    {"OCS3 Fine Tune", "Grp_Osc", "Fine Tune", 0, 100, 100, TextRule::Offset50, 50},              // 9
    {"OCS3 Shape/PW", "Grp_Osc", "Shape/PW", 0, 127, 127, TextRule::WaveNumber, 1},               // 10
    {"OCS3 Level", "Grp_Osc", "Level", 0, 100, 100, TextRule::Plain, 0},                          // 11
    {"OCS4 Frequency", "Grp_Osc", "Frequency", 0, 120, 120, TextRule::NoteName, 24},              // 12
    {"OCS4 Fine Tune", "Grp_Osc", "Fine Tune", 0, 100, 100, TextRule::Offset50, 50},              // 13
    {"OCS4 Shape/PW", "Grp_Osc", "Shape/PW", 0, 127, 127, TextRule::WaveNumber, 1},               // 14
    {"OCS4 Level", "Grp_Osc", "Level", 0, 100, 100, TextRule::Plain, 0},                          // 15
    {"LPF Frequency", "Grp_LowPassFlt", "Frequency", 0, 164, 164, TextRule::Plain, 114},          // 16
    {"LPF Env Amt", "Grp_LowPassFlt", "Env Amt", 0, 198, 198, TextRule::Offset99, 99},            // 17
    {"LPF Attack", "Grp_LowPassFlt", "Attack", 0, 110, 110, TextRule::Plain, 0},                  // 18
    {"LPF Decay", "Grp_LowPassFlt", "Decay", 0, 110, 110, TextRule::Plain, 40},                   // 19
    {"LPF Sustain", "Grp_LowPassFlt", "Sustain", 0, 100, 100, TextRule::Plain, 40},               // 20
    {"LPF Release", "Grp_LowPassFlt", "Release", 0, 110, 110, TextRule::Plain, 20},               // 21
    {"LPF Resonance", "Grp_LowPassFlt", "Resonance", 0, 100, 100, TextRule::Plain, 0},            // 22
    {"LPF Key Amt", "Grp_LowPassFlt", "Key Amt", 0, 100, 100, TextRule::Plain, 0},                // 23
    {"AMP VCA Level", "Grp_Amp", "VCA Level", 0, 100, 100, TextRule::Plain, 0},                   // 24
    {"AMP Amount", "Grp_Amp", "Amount", 0, 100, 100, TextRule::Plain, 0},                         // 25
    {"AMP Attack", "Grp_Amp", "Attack", 0, 110, 110, TextRule::Plain, 0},                         // 26
    {"AMP Decay", "Grp_Amp", "Decay", 0, 110, 110, TextRule::Plain, 40},                          // 27
    {"AMP Sustain", "Grp_Amp", "Sustain", 0, 100, 100, TextRule::Plain, 40},                      // 28
    {"AMP Release", "Grp_Amp", "Release", 0, 110, 110, TextRule::Plain, 20},                      // 29
    {"AMP Outp Pan", "Grp_Amp", "Outp Pan", 0, 6, 6, TextRule::PanMode, 0},                       // 30
    {"OUTP Volume", "Grp_Out", "Volume", 0, 100, 100, TextRule::Plain, 100},                      // 31
    {"FEEDB Frequency", "Grp_Feedb", "Frequency", 0, 48, 48, TextRule::Plain, 0},                 // 32
    {"FEEDB Level", "Grp_Feedb", "Level", 0, 100, 100, TextRule::Plain, 0},                       // 33
    {"FEEDB Grunge", "Grp_Feedb", "Grunge", 0, 1, 1, TextRule::OffOn, 0},                         // 34
    {"DLY 1 Time", "Grp_Delay", "1 Time", 0, 166, 166, TextRule::DelayTime, 0},                   // 35
    {"DLY 1 Amount", "Grp_Delay", "1 Amount", 0, 100, 100, TextRule::Plain, 0},                   // 36
    {"DLY Feedback 1", "Grp_Delay", "Feedback 1", 0, 100, 100, TextRule::Plain, 0},               // 37
    {"DLY Feedback 2", "Grp_Delay", "Feedback 2", 0, 100, 100, TextRule::Plain, 0},               // 38
    {"Out Hack Amount", "Grp_Out_Hack", "Out Hack Amt", 0, 14, 14, TextRule::Plain, 0},           // 39
    {"LFO1 Frequency", "Grp_LFO", "Frequency", 0, 160, 160, TextRule::LfoFrequency, 75},          // 40
    {"LFO1 Shape", "Grp_LFO", "Shape", 0, 4, 4, TextRule::LfoShape, 0},                           // 41
    {"LFO1 Amount", "Grp_LFO", "Amount", 0, 200, 200, TextRule::LfoAmount, 0},                    // 42
    {"LFO1 Dstn", "Grp_LFO", "Destination", 0, 68, 68, TextRule::ModDestination, 5},              // 43
    {"LFO2 Frequency", "Grp_LFO", "Frequency", 0, 160, 160, TextRule::LfoFrequency, 50},          // 44
    {"LFO2 Shape", "Grp_LFO", "Shape", 0, 4, 4, TextRule::LfoShape, 0},                           // 45
    {"LFO2 Amount", "Grp_LFO", "Amount", 0, 200, 200, TextRule::LfoAmount, 0},                    // 46
    {"LFO2 Dstn", "Grp_LFO", "Destination", 0, 68, 68, TextRule::ModDestination, 0},              // 47
    {"ENV3 Amount", "Grp_Env3", "Amount", 0, 198, 198, TextRule::Offset99, 99},                   // 48
    {"ENV3 Dstn", "Grp_Env3", "Destination", 0, 68, 68, TextRule::ModDestination, 0},             // 49
    {"ENV3 Attack", "Grp_Env3", "Attack", 0, 110, 110, TextRule::Plain, 0},                       // 50
    {"ENV3 Decay", "Grp_Env3", "Decay", 0, 110, 110, TextRule::Plain, 0},                         // 51
    {"ENV3 Sustain", "Grp_Env3", "Sustain", 0, 100, 100, TextRule::Plain, 0},                     // 52
    {"ENV3 Release", "Grp_Env3", "Release", 0, 110, 110, TextRule::Plain, 0},                     // 53
    {"ENV3 Trig Sel", "Grp_Env3", "Trigger Sel", 0, 13, 13, TextRule::TriggerSelect, 0},          // 54
    {"Key Off/Xpose", "Grp_KeyMode", "Key Off/Xpose", 0, 73, 73, TextRule::KeyOffTranspose, 13},  // 55
    {"SEQ1 Dstn", "Grp_Seq", "Seq 1 Destination", 0, 75, 76, TextRule::SeqDestination, 0},        // 56
    {"SEQ2 Dstn", "Grp_Seq", "Seq 2 Destination", 0, 75, 76, TextRule::SeqDestination, 0},        // 57
    {"SEQ3 Dstn", "Grp_Seq", "Seq 3 Destination", 0, 75, 76, TextRule::SeqDestination, 0},        // 58
    {"SEQ4 Dstn", "Grp_Seq", "Seq 4 Destination", 0, 75, 76, TextRule::SeqDestination, 0},        // 59
    {"NOISE Level", "Grp_Noise", "Level", 0, 100, 100, TextRule::Plain, 0},                       // 60
    {"EXIN Input Vol", "Grp_Ext_In", "Input Vol", 0, 193, 193, TextRule::Plain, 0},               // 61
    {"EXIN Input Mode", "Grp_Ext_In", "Input Mode", 0, 3, 3, TextRule::ExtInMode, 0},             // 62
    {"EXIN Amount", "Grp_Ext_In", "Amount", 0, 14, 14, TextRule::Plain, 0},                       // 63
    {"OSC1 Glide", "Grp_Osc", "Glide", 0, 200, 200, TextRule::Glide, 0},                          // 64
    {"OSC Sync", "Grp_Osc", "Sync", 0, 1, 1, TextRule::OffOn, 0},                                 // 65
    {"Tempo", "Grp_Seq", "Tempo", 30, 250, 250, TextRule::Tempo, 120},                            // 66
    {"Clock Divide", "Grp_Seq", "Clock Divide", 0, 12, 12, TextRule::ClockDivide, 2},             // 67
    {"OSC2 Glide", "Grp_Osc", "Glide", 0, 200, 200, TextRule::Glide, 0},                          // 68
    {"OSC Slop", "Grp_Osc", "OSC Slop", 0, 5, 5, TextRule::Plain, 0},                             // 69
    {"Pitch Bend Range", "Grp_Contr", "Pitch Bend Range", 0, 12, 12, TextRule::Plain, 7},         // 70
    {"Key Mode", "Grp_KeyMode", "Key Mode", 0, 23, 23, TextRule::KeyMode, 1},                     // 71
    {"OSC3 Glide", "Grp_Osc", "Glide", 0, 200, 200, TextRule::Glide, 0},                          // 72
    {"FM 4->3", "Grp_Osc3_4_Mods", "FM 4->3", 0, 100, 100, TextRule::Plain, 0},                   // 73
    {"Shape Seq", "Grp_Osc3_4_Mods", "Shape Seq", 0, 4, 4, TextRule::ShapeSequence, 0},           // 74
    {"RM 4->3", "Grp_Osc3_4_Mods", "RM 4->3", 0, 100, 100, TextRule::Plain, 0},                   // 75
    {"OSC4 Glide", "Grp_Osc", "Glide", 0, 200, 200, TextRule::Glide, 0},                          // 76
    {"FM 3->4", "Grp_Osc3_4_Mods", "FM 3->4", 0, 100, 100, TextRule::Plain, 0},                   // 77
    {"Shape Seq", "Grp_Osc3_4_Mods", "Shape Seq", 0, 4, 4, TextRule::ShapeSequence, 0},           // 78
    {"RM 3->4", "Grp_Osc3_4_Mods", "RM 3->4", 0, 100, 100, TextRule::Plain, 0},                   // 79
    {"LPF 4 Pole", "Grp_LowPassFlt", "4 Pole", 0, 1, 1, TextRule::FilterPoles, 1},                // 80
    {"LPF Velocity", "Grp_LowPassFlt", "Velocity", 0, 100, 100, TextRule::Plain, 0},              // 81
    {"LPF Audio Mod", "Grp_LowPassFlt", "Audio Mod", 0, 100, 100, TextRule::Plain, 0},            // 82
    {"LPF L/R Split", "Grp_LowPassFlt", "L/R Split", 0, 100, 100, TextRule::Plain, 0},            // 83
    {"HPF Frequency", "Grp_HP_Flt", "Frequency", 0, 199, 199, TextRule::InOut, 0},                // 84
    {"Mod 1 Source", "Grp_Mod", "Mod 1 Source", 0, 24, 24, TextRule::ModSource, 0},               // 85
    {"Mod 1 Amount", "Grp_Mod", "Amount", 0, 198, 198, TextRule::Offset99, 99},                   // 86
    {"Mod 1 Dstn", "Grp_Mod", "Mod 1 Destination", 0, 68, 68, TextRule::ModDestination, 0},       // 87
    {"Linear/Exp Env", "Grp_Amp", "Linear/Exp Env", 0, 1, 1, TextRule::EnvelopeCurve, 0},         // 88
    {"AMP Velocity", "Grp_Amp", "Velocity", 0, 100, 100, TextRule::Plain, 100},                   // 89
    {"Mod 2 Source", "Grp_Mod", "Mod 2 Source", 0, 24, 24, TextRule::ModSource, 0},               // 90
    {"Mod 2 Amount", "Grp_Mod", "Amount", 0, 198, 198, TextRule::Offset99, 99},                   // 91
    {"Mod 2 Dstn", "Grp_Mod", "Mod 2 Destination", 0, 68, 68, TextRule::ModDestination, 0},       // 92
    {"Mod 3 Source", "Grp_Mod", "Mod 3 Source", 0, 24, 24, TextRule::ModSource, 0},               // 93
    {"Mod 3 Amount", "Grp_Mod", "Amount", 0, 198, 198, TextRule::Offset99, 99},                   // 94
    {"Mod 3 Dstn", "Grp_Mod", "Mod 3 Destination", 0, 68, 68, TextRule::ModDestination, 0},       // 95
    {"Mod 4 Source", "Grp_Mod", "Mod 4 Source", 0, 24, 24, TextRule::ModSource, 0},               // 96
    {"Mod 4 Amount", "Grp_Mod", "Amount", 0, 198, 198, TextRule::Offset99, 99},                   // 97
    {"Mod 4 Dstn", "Grp_Mod", "Mod 4 Destination", 0, 68, 68, TextRule::ModDestination, 0},       // 98
    {"DLY 2 Time", "Grp_Delay", "2 Time", 0, 166, 166, TextRule::DelayTime, 0},                   // 99
    {"DLY 2 Amount", "Grp_Delay", "2 Amount", 0, 100, 100, TextRule::Plain, 0},                   // 100
    {"DLY 3 Time", "Grp_Delay", "3 Time", 0, 166, 166, TextRule::DelayTime, 0},                   // 101
    {"DLY 3 Amount", "Grp_Delay", "3 Amount", 0, 100, 100, TextRule::Plain, 0},                   // 102
    {"Distortion", "Grp_Dist", "Distortion", 0, 199, 199, TextRule::InOut, 0},                    // 103
    {"LFO3 Frequency", "Grp_LFO", "Frequency", 0, 160, 160, TextRule::LfoFrequency, 50},          // 104
    {"LFO3 Shape", "Grp_LFO", "Shape", 0, 4, 4, TextRule::LfoShape, 0},                           // 105
    {"LFO3 Amount", "Grp_LFO", "Amount", 0, 200, 200, TextRule::LfoAmount, 0},                    // 106
    {"LFO3 Dstn", "Grp_LFO", "Destination", 0, 68, 68, TextRule::ModDestination, 0},              // 107
    {"LFO4 Frequency", "Grp_LFO", "Frequency", 0, 160, 160, TextRule::LfoFrequency, 50},          // 108
    {"LFO4 Shape", "Grp_LFO", "Shape", 0, 4, 4, TextRule::LfoShape, 0},                           // 109
    {"LFO4 Amount", "Grp_LFO", "Amount", 0, 200, 200, TextRule::LfoAmount, 0},                    // 110
    {"LFO4 Dstn", "Grp_LFO", "Destination", 0, 68, 68, TextRule::ModDestination, 0},              // 111
    {"ENV3 Delay", "Grp_Env3", "Delay", 0, 100, 100, TextRule::Plain, 0},                         // 112
    {"ENV3 Velocity", "Grp_Env3", "Velocity", 0, 100, 100, TextRule::Plain, 0},                   // 113
    {"EXIN PD Amount", "Grp_Ext_In", "Amount", 0, 198, 198, TextRule::Offset99, 99},              // 114
    {"EXIN Peak Dstn", "Grp_Ext_In", "Peak Destination", 0, 68, 68, TextRule::ModDestination, 0}, // 115
    {"EXIN EFD Amount", "Grp_Ext_In", "Amount", 0, 198, 198, TextRule::Offset99, 99},             // 116
    {"EXIN EnvFlwDstn", "Grp_Ext_In", "Env Follow Dst", 0, 68, 68, TextRule::ModDestination, 0},  // 117
    {"VD Amount", "Grp_Contr", "Amount", 0, 198, 198, TextRule::Offset99, 99},                    // 118
    {"Velocity Dstn", "Grp_Contr", "Velocity Dest", 0, 68, 68, TextRule::ModDestination, 0},      // 119
    {"MDW Amount", "Grp_Contr", "Amount", 0, 198, 198, TextRule::Offset99, 106},                  // 120
    {"Mod Wheel Dstn", "Grp_Contr", "Mod Wheel Dest", 0, 68, 68, TextRule::ModDestination, 43},   // 121
    {"PD Amount", "Grp_Contr", "Amount", 0, 198, 198, TextRule::Offset99, 141},                   // 122
    {"Pressure Dstn", "Grp_Contr", "Pressure Dest", 0, 68, 68, TextRule::ModDestination, 20},     // 123
    {"BCD Amount", "Grp_Contr", "Amount", 0, 198, 198, TextRule::Offset99, 99},                   // 124
    {"Breath Cnt Dstn", "Grp_Contr", "Breath Cnt Dest", 0, 68, 68, TextRule::ModDestination, 0},  // 125
    {"FCD Amount", "Grp_Contr", "Amount", 0, 198, 198, TextRule::Offset99, 99},                   // 126
    {"Foot Cnt Dstn", "Grp_Contr", "Foot Cnt Dest", 0, 68, 68, TextRule::ModDestination, 0},      // 127
};

const std::array<GlobalParamInfo, 11> kGlobals = {{
    {2, "Master Volume", 0, 100},
    {3, "Transpose", 0, 72},
    {4, "Tempo", 20, 250},
    {5, "Clock Divide", 0, 12},
    {6, "Use Program Tempo", 0, 1},
    {7, "MIDI Clock Select", 0, 6},
    {8, "Lock Sequence", 0, 1},
    {9, "Poly Chain", 0, 2},
    {10, "Input Gain", 0, 24},
    {11, "Fine Tune", 0, 100},
    {14, "MIDI Channel", 0, 16},
}};

struct StepNames
{
    std::array<std::string, 64> names;
    StepNames()
    {
        for (int i = 0; i < 64; ++i)
            names[(size_t)i] = "Seq " + std::to_string(i / 16 + 1) + " Step " + std::to_string(i % 16 + 1);
    }
};
} // namespace

const ParamInfo* info(int index)
{
    return index >= 0 && index < numSoundParams ? &kParams[index] : nullptr;
}

int hostMaximum(int index)
{
    if (index >= 0 && index < numSoundParams)
        return kParams[index].hostMaximum;
    if (index >= firstSeqStep && index < firstSeqStep + 16)
        return 102;
    if (index >= firstSeqStep + 16 && index < numProgramParams)
        return 101;
    return 127;
}

int rangeMaximum(int index)
{
    if (index >= 0 && index < numSoundParams)
        return kParams[index].maximum;
    return hostMaximum(index);
}

int rangeMinimum(int index)
{
    return index == tempoIndex ? 30 : 0;
}

const char* hostName(int index)
{
    static const StepNames steps;
    if (index >= 0 && index < numSoundParams)
        return kParams[index].name;
    if (index >= firstSeqStep && index < numProgramParams)
        return steps.names[(size_t)(index - firstSeqStep)].c_str();
    return "";
}

const std::array<std::uint8_t, numProgramParams>& initialProgram()
{
    static const auto bytes = []
    {
        std::array<std::uint8_t, numProgramParams> b{};
        for (int i = 0; i < numSoundParams; ++i)
            b[(size_t)i] = (std::uint8_t)kParams[i].init;
        return b;
    }();
    return bytes;
}

const std::array<GlobalParamInfo, 11>& globalParams()
{
    return kGlobals;
}

void fillTables(std::int16_t* minimum, std::int16_t* maximum, std::int16_t* displayKind)
{
    for (int i = 0; i < tableSize; ++i)
    {
        minimum[i] = (std::int16_t)rangeMinimum(i);
        maximum[i] = (std::int16_t)hostMaximum(i);
        displayKind[i] = (std::int16_t)(i >= firstSeqStep && i < numProgramParams ? seqStepKind : i);
    }
}
} // namespace zentak::params
