// The VST 2 interface as the validation host's copy of the framework's plug-in hosting code sees it:
// the Debian fst definitions, except for the speaker arrangement. The hosting code sizes every
// arrangement it allocates and copies as the struct plus room beyond eight speakers, so here the
// struct carries a fixed array of eight; its layout up to the speakers is the one the plug-in writes.
// Included by that hosting code only, inside its own namespace; no thread of its own.
#pragma once

#define FST2VST 1
#define VstSpeakerArrangement ZentakFstOpenSpeakerArrangement
#include <pluginterfaces/fst/fst.h>
#undef VstSpeakerArrangement

struct VstSpeakerArrangement
{
    VstInt32 type;
    VstInt32 numChannels;
    VstSpeakerProperties speakers[8];
};

static_assert(sizeof(VstSpeakerProperties) == 112, "a speaker's properties take 112 bytes");
static_assert(__builtin_offsetof(VstSpeakerArrangement, speakers) ==
                  __builtin_offsetof(ZentakFstOpenSpeakerArrangement, speakers),
              "the speakers start where the plug-in writes them");
