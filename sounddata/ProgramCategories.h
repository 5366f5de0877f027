// ProgramCategories: the names of the program categories that byte 117 of a program record holds
// (0..25). Constant data; any thread.
#pragma once

namespace zentak::categories
{
constexpr int count = 26;

/** The name of category index 0..25; any other index gives "". */
const char* name(int index);
} // namespace zentak::categories
