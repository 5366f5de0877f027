// skinImage: the decoded skin image of a name (such as "knobFilm"), from the PNG data compiled into
// the plug-in. Decoding goes through the framework's image cache, keyed by the data's address, so every
// caller of one name shares one decoded image. Message thread.
#pragma once

#include <juce_graphics/juce_graphics.h>

namespace zentak
{

/** The image of the given skin name; an invalid image for an unknown name. */
juce::Image skinImage(const char* name);

} // namespace zentak
