#include "ProgramCategories.h"

namespace zentak::categories
{
namespace
{
constexpr const char* kNames[count] = {
    "- Not Assigned -", // 0
    "Keys",             // 1
    "Organs",           // 2
    "Strings",          // 3
    "Soft Lead",        // 4
    "Bright Lead",      // 5
    "Res Lead",         // 6
    "Sync",             // 7
    "Soft Bass",        // 8
    "Bright Bass",      // 9
    "Res Bass",         // 10
    "Sub Bass",         // 11
    "Brass",            // 12
    "Instruments",      // 13
    "Evolution",        // 14
    "Motion",           // 15
    "Synth",            // 16
    "Vox",              // 17
    "Bells",            // 18
    "Harmonics",        // 19
    "Sequence",         // 20
    "Percussion",       // 21
    "Noise",            // 22
    "Sound FX",         // 23
    "Pads",             // 24
    "Arpeggiator",      // 25
};
} // namespace

const char* name(int index)
{
    return index >= 0 && index < count ? kNames[index] : "";
}
} // namespace zentak::categories
