// The layout of the eighteen parameter groups as data: each group's size, panel scheme, background
// patch, titles and envelope display, and one row per value control (parameter number, caption, kind,
// range and bounds inside the group, all unscaled). Constants; any thread.
#include "GroupTables.h"

namespace zentak::groups
{
namespace
{
using K = StsCont::Kind;

const ControlRow kAmp[] = {
    {24, "VCA Level", K::knob, 0, 100, 10, 24, 51, 58},
    {25, "Amount", K::knob, 0, 100, 70, 24, 51, 58},
    {26, "Attack", K::knob, 0, 110, 10, 152, 51, 58},
    {27, "Decay", K::knob, 0, 110, 70, 152, 51, 58},
    {28, "Sustain", K::knob, 0, 100, 130, 152, 51, 58},
    {29, "Release", K::knob, 0, 110, 190, 152, 51, 58},
    {30, "Outp Pan", K::knob, 0, 6, 190, 24, 51, 58},
    {89, "Velocity", K::knob, 0, 100, 130, 24, 51, 58},
    {88, "Linear/Exp Env", K::ledSwitch, 0, 1, 45, 5, 120, 18},
};
const Title kAmpTitles[] = {{"AMP", 9, 17}};
const ControlRow kContr[] = {
    {70, "Pitch Bend Range", K::knob, 0, 12, 211, 150, 88, 58},
    {118, "Amount", K::knob, 0, 198, 320, 18, 51, 58},
    {119, "Velocity Dest", K::selector, 0, 68, 198, 26, 114, 32},
    {120, "Amount", K::knob, 0, 198, 134, 18, 51, 58},
    {121, "Mod Wheel Dest", K::selector, 0, 68, 13, 26, 114, 32},
    {122, "Amount", K::knob, 0, 198, 134, 84, 51, 58},
    {123, "Pressure Dest", K::selector, 0, 68, 13, 92, 114, 32},
    {124, "Amount", K::knob, 0, 198, 134, 150, 51, 58},
    {125, "Breath Cnt Dest", K::selector, 0, 68, 13, 158, 114, 32},
    {126, "Amount", K::knob, 0, 198, 320, 84, 51, 58},
    {127, "Foot Cnt Dest", K::selector, 0, 68, 198, 92, 114, 32},
};
const Title kContrTitles[] = {{"CONTROLS", 9, 17}};
const ControlRow kDelay[] = {
    {35, "1 Time", K::knob, 0, 166, 9, 32, 51, 58},
    {36, "1 Amount", K::knob, 0, 100, 9, 142, 51, 58},
    {37, "Feedback 1", K::knob, 0, 100, 189, 32, 51, 58},
    {38, "Feedback 2", K::knob, 0, 100, 189, 142, 51, 58},
    {99, "2 Time", K::knob, 0, 166, 69, 32, 51, 58},
    {100, "2 Amount", K::knob, 0, 100, 69, 142, 51, 58},
    {101, "3 Time", K::knob, 0, 166, 129, 32, 51, 58},
    {102, "3 Amount", K::knob, 0, 100, 129, 142, 51, 58, Extra::noBackground},
};
const Title kDelayTitles[] = {{"DELAY", 9, 17}};
const ControlRow kDist[] = {
    {103, "Distortion", K::knob, 0, 199, 20, 88, 51, 58},
};
const Title kDistTitles[] = {{"DISTORTION", 6, 17}};
const ControlRow kEnv3[] = {
    {48, "Amount", K::knob, 0, 198, 148, 18, 51, 58},
    {49, "Destination", K::selector, 0, 68, 22, 34, 113, 32},
    {50, "Attack", K::knob, 0, 110, 83, 84, 51, 58},
    {51, "Decay", K::knob, 0, 110, 148, 84, 51, 58},
    {52, "Sustain", K::knob, 0, 100, 210, 84, 51, 58},
    {53, "Release", K::knob, 0, 110, 272, 84, 51, 58},
    {54, "Trigger Sel", K::selector, 0, 13, 401, 112, 86, 32},
    {112, "Delay", K::knob, 0, 100, 272, 18, 51, 58},
    {113, "Velocity", K::knob, 0, 100, 210, 18, 51, 58},
};
const Title kEnv3Titles[] = {{"ENVELOPE 3", 9, 17}};
const ControlRow kExt_In[] = {
    {61, "Input Vol", K::knob, 0, 193, 24, 22, 51, 58},
    {62, "Input Mode", K::selector, 0, 3, 17, 100, 64, 32},
    {63, "Amount", K::selector, 0, 14, 14, 0, 66, 77, Extra::hidden},
    {114, "Amount", K::knob, 0, 198, 202, 22, 51, 58},
    {115, "Peak Destination", K::selector, 0, 68, 92, 32, 113, 32},
    {116, "Amount", K::knob, 0, 198, 202, 90, 51, 58},
    {117, "Env Follow Dst", K::selector, 0, 68, 92, 100, 113, 32},
};
const Title kExt_InTitles[] = {{"EXTERNAL INPUT", 9, 17}};
const ControlRow kFeedb[] = {
    {32, "Frequency", K::knob, 0, 48, 20, 24, 51, 58},
    {33, "Level", K::knob, 0, 100, 20, 152, 51, 58},
    {34, "Grunge", K::centredLedSwitch, 0, 1, 20, 99, 50, 33},
};
const Title kFeedbTitles[] = {{"FEEDBACK", 9, 17}};
const ControlRow kHP_Flt[] = {
    {84, "Frequency", K::knob, 0, 199, 20, 88, 51, 58},
};
const Title kHP_FltTitles[] = {{"HP FILTER", 12, 17}};
const ControlRow kKeyMode[] = {
    {55, "Key Off/Xpose", K::narrowSelector, 0, 73, 49, 45, 76, 32},
    {71, "Key Mode", K::selector, 0, 23, 36, 11, 102, 32},
};
const ControlRow kLFO[] = {
    {40, "Frequency", K::knob, 0, 160, 19, 18, 51, 58},
    {41, "Shape", K::selector, 0, 4, 19, 81, 113, 32},
    {42, "Amount", K::knob, 0, 200, 82, 18, 51, 58},
    {43, "Destination", K::selector, 0, 68, 19, 117, 113, 32},
    {44, "Frequency", K::knob, 0, 160, 159, 18, 51, 58},
    {45, "Shape", K::selector, 0, 4, 159, 81, 113, 32},
    {46, "Amount", K::knob, 0, 200, 222, 18, 51, 58},
    {47, "Destination", K::selector, 0, 68, 159, 117, 113, 32},
    {104, "Frequency", K::knob, 0, 160, 299, 18, 51, 58},
    {105, "Shape", K::selector, 0, 4, 299, 81, 113, 32},
    {106, "Amount", K::knob, 0, 200, 362, 18, 51, 58},
    {107, "Destination", K::selector, 0, 68, 299, 117, 113, 32},
    {108, "Frequency", K::knob, 0, 160, 439, 18, 51, 58},
    {109, "Shape", K::selector, 0, 4, 439, 81, 113, 32},
    {110, "Amount", K::knob, 0, 200, 502, 18, 51, 58},
    {111, "Destination", K::selector, 0, 68, 439, 117, 113, 32},
};
const Title kLFOTitles[] = {{"LFO 1", 58, 17}, {"LFO 2", 198, 17}, {"LFO 3", 338, 17}, {"LFO 4", 478, 17}};
const ControlRow kLowPassFlt[] = {
    {16, "Frequency", K::knob, 0, 164, 65, 24, 62, 58},
    {17, "Env Amt", K::knob, 0, 198, 189, 24, 62, 58},
    {18, "Attack", K::knob, 0, 110, 3, 152, 62, 58},
    {19, "Decay", K::knob, 0, 110, 65, 152, 62, 58},
    {20, "Sustain", K::knob, 0, 100, 127, 152, 62, 58},
    {21, "Release", K::knob, 0, 110, 189, 152, 62, 58},
    {22, "Resonance", K::knob, 0, 100, 127, 24, 62, 58},
    {23, "Key Amt", K::knob, 0, 100, 313, 24, 62, 58},
    {80, "4 Pole", K::centredLedSwitch, 0, 1, 3, 31, 77, 33},
    {81, "Velocity", K::knob, 0, 100, 251, 24, 62, 58},
    {82, "Audio Mod", K::knob, 0, 100, 251, 152, 62, 58},
    {83, "L/R Split", K::knob, 0, 100, 313, 152, 62, 58},
};
const Title kLowPassFltTitles[] = {{"LOW PASS FILTER", 9, 17}};
const ControlRow kMod[] = {
    {85, "Mod 1 Source", K::selector, 0, 24, 13, 27, 114, 32},
    {86, "Amount", K::knob, 0, 198, 133, 41, 51, 58},
    {87, "Mod 1 Destination", K::selector, 0, 68, 13, 70, 114, 32},
    {90, "Mod 2 Source", K::selector, 0, 24, 13, 136, 114, 32},
    {91, "Amount", K::knob, 0, 198, 133, 150, 51, 58},
    {92, "Mod 2 Destination", K::selector, 0, 68, 13, 179, 114, 32},
    {93, "Mod 3 Source", K::selector, 0, 24, 197, 27, 114, 32},
    {94, "Amount", K::knob, 0, 198, 316, 41, 51, 58},
    {95, "Mod 3 Destination", K::selector, 0, 68, 197, 70, 114, 32},
    {96, "Mod 4 Source", K::selector, 0, 24, 197, 136, 114, 32},
    {97, "Amount", K::knob, 0, 198, 316, 150, 51, 58},
    {98, "Mod 4 Destination", K::selector, 0, 68, 197, 179, 114, 32},
};
const Title kModTitles[] = {{"MODULATORS", 13, 17}};
const ControlRow kNoise[] = {
    {60, "Level", K::knob, 0, 100, 10, 33, 51, 58},
};
const Title kNoiseTitles[] = {{"NOISE", 14, 17}};
const ControlRow kOsc[] = {
    {0, "Frequency", K::knob, 0, 120, 24, 26, 51, 58},
    {1, "Fine Tune", K::knob, 0, 100, 86, 26, 51, 58},
    {2, "Shape/PW", K::knob, 0, 102, 148, 26, 51, 58},
    {3, "Level", K::knob, 0, 100, 210, 26, 51, 58},
    {4, "Frequency", K::knob, 0, 120, 24, 88, 51, 58},
    {5, "Fine Tune", K::knob, 0, 100, 86, 88, 51, 58},
    {6, "Shape/PW", K::knob, 0, 102, 148, 88, 51, 58},
    {7, "Level", K::knob, 0, 100, 210, 88, 51, 58},
    {8, "Frequency", K::knob, 0, 120, 24, 150, 51, 58},
    {9, "Fine Tune", K::knob, 0, 100, 86, 150, 51, 58},
    {10, "Shape/PW", K::waveSelector, 0, 127, 146, 150, 62, 62},
    {11, "Level", K::knob, 0, 100, 210, 150, 51, 58},
    {12, "Frequency", K::knob, 0, 120, 24, 212, 51, 58},
    {13, "Fine Tune", K::knob, 0, 100, 86, 212, 51, 58},
    {14, "Shape/PW", K::waveSelector, 0, 127, 146, 212, 62, 62},
    {15, "Level", K::knob, 0, 100, 210, 212, 51, 58},
    {64, "Glide", K::knob, 0, 200, 272, 26, 51, 58},
    {65, "Sync", K::ledSwitch, 0, 1, 119, 6, 60, 20},
    {68, "Glide", K::knob, 0, 200, 272, 88, 51, 58},
    {69, "OSC Slop", K::compactSelector, 0, 5, 191, 7, 80, 18},
    {72, "Glide", K::knob, 0, 200, 272, 150, 51, 58},
    {76, "Glide", K::knob, 0, 200, 272, 212, 51, 58},
};
const Title kOscTitles[] = {
    {"OSCILLATORS", 9, 17}, {"1", 13, 50}, {"2", 13, 113}, {"3", 13, 176}, {"4", 13, 239}};
const ControlRow kOsc3_4_Mods[] = {
    {73, "FM 4->3", K::knob, 0, 100, 10, 26, 55, 58},  {74, "Shape Seq", K::knob, 0, 4, 75, 26, 55, 58},
    {75, "RM 4->3", K::knob, 0, 100, 10, 150, 55, 58}, {77, "FM 3->4", K::knob, 0, 100, 10, 88, 55, 58},
    {78, "Shape Seq", K::knob, 0, 4, 75, 88, 55, 58},  {79, "RM 3->4", K::knob, 0, 100, 75, 150, 55, 58},
};
const Title kOsc3_4_ModsTitles[] = {{"OSC 3 AND 4 MODS", 9, 17}};
const ControlRow kOut[] = {
    {31, "Volume", K::knob, 0, 100, 18, 31, 51, 58},
};
const Title kOutTitles[] = {{"OUTPUT", 15, 17}};
const ControlRow kOut_Hack[] = {
    {39, "Out Hack Amt", K::knob, 0, 14, 5, 32, 75, 58}, // wide enough for its caption; the knob stays put
};
const Title kOut_HackTitles[] = {{"OUT HACK", 9, 17}};
const ControlRow kSeq[] = {
    {56, "Seq 1 Destination", K::selector, 0, 75, 129, 9, 128, 32},
    {57, "Seq 2 Destination", K::selector, 0, 75, 129, 45, 128, 32},
    {58, "Seq 3 Destination", K::selector, 0, 75, 129, 81, 128, 32},
    {59, "Seq 4 Destination", K::selector, 0, 75, 129, 117, 128, 32},
    {66, "Tempo", K::knob, 30, 250, 36, 52, 51, 58},
    {67, "Clock Divide", K::selector, 0, 12, 35, 117, 67, 32},
};
const Title kSeqTitles[] = {{"TEMPO", 39, 48}};
} // namespace

const std::array<GroupTable, numGroups>& allTables()
{
    static const std::array<GroupTable, numGroups> table{{
        {"Grp_Amp", 252, 220, 'B', 120, 58, kAmpTitles, 0, 18, 85, false, kAmp},
        {"Grp_Contr", 376, 220, 'B', 120, 58, kContrTitles, -1, 0, 0, false, kContr},
        {"Grp_Delay", 252, 220, 'B', 51, 58, kDelayTitles, -1, 0, 0, false, kDelay},
        {"Grp_Dist", 89, 220, 'B', 51, 58, kDistTitles, -1, 0, 0, false, kDist},
        {"Grp_Env3", 569, 154, 'A', 120, 58, kEnv3Titles, 2, 332, 30, false, kEnv3},
        {"Grp_Ext_In", 255, 158, 'B', 120, 58, kExt_InTitles, -1, 0, 0, false, kExt_In},
        {"Grp_Feedb", 89, 220, 'B', 51, 58, kFeedbTitles, -1, 0, 0, false, kFeedb},
        {"Grp_HP_Flt", 89, 220, 'B', 51, 58, kHP_FltTitles, -1, 0, 0, false, kHP_Flt},
        {"Grp_KeyMode", 173, 82, 'A', 102, 32, {}, -1, 0, 0, false, kKeyMode},
        {"Grp_LFO", 568, 154, 'A', 114, 58, kLFOTitles, -1, 0, 0, false, kLFO},
        {"Grp_LowPassFlt", 378, 220, 'B', 77, 58, kLowPassFltTitles, 1, 82, 85, false, kLowPassFlt},
        {"Grp_Mod", 372, 220, 'A', 114, 58, kModTitles, -1, 0, 0, false, kMod},
        {"Grp_Noise", 69, 110, 'B', 51, 58, kNoiseTitles, -1, 0, 0, false, kNoise},
        {"Grp_Osc", 330, 279, 'B', 80, 62, kOscTitles, -1, 0, 0, false, kOsc},
        {"Grp_Osc3_4_Mods", 139, 220, 'A', 55, 58, kOsc3_4_ModsTitles, -1, 0, 0, false, kOsc3_4_Mods},
        {"Grp_Out", 85, 109, 'B', 51, 58, kOutTitles, -1, 0, 0, false, kOut},
        {"Grp_Out_Hack", 85, 109, 'B', 75, 58, kOut_HackTitles, -1, 0, 0, false, kOut_Hack},
        {"Grp_Seq", 271, 154, 'A', 128, 58, kSeqTitles, -1, 0, 0, true, kSeq},
    }};
    return table;
}
} // namespace zentak::groups
