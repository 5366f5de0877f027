// The extended VST 2 interface for the validation host's plug-in hosting code: everything is in the
// basic header of this layer. No thread of its own.
#pragma once

#include "aeffect.h"
