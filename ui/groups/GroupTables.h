// GroupTables: the eighteen parameter groups described as data, one row per value control, so that
// one group class serves them all and a test can hold every row against the parameter catalogue.
// Constants; any thread.
#pragma once

#include "ui/widgets/StsCont.h"

#include <array>
#include <span>

namespace zentak::groups
{
/** The groups, in the order in which the editor page creates them. */
enum GroupId
{
    amp,
    contr,
    delay,
    dist,
    env3,
    extIn,
    feedb,
    hpFlt,
    keyMode,
    lfo,
    lowPassFlt,
    mod,
    noise,
    osc,
    osc34Mods,
    out,
    outHack,
    seq,
    numGroups
};

enum Extra : int
{
    none = 0,
    noBackground = 1, // drawn over the panel without a copy of its texture
    hidden = 2        // set up, placed and held by the page, but never shown (and no background)
};

struct ControlRow
{
    int parameter;
    const char* label;
    int kind; // StsCont::Kind
    int minimum, maximum;
    int x, y, width, height; // inside the group, unscaled
    int extra = Extra::none;
};

struct Title
{
    const char* text;
    int x, baseline;
};

struct GroupTable
{
    const char* name;
    int width, height;
    char scheme; // 'A' or 'B'
    int patchWidth, patchHeight;
    std::span<const Title> titles;
    int envelopeIndex; // -1: none; 0 amplifier, 1 filter, 2 envelope 3
    int envelopeX, envelopeY;
    bool sequencerButton;
    std::span<const ControlRow> controls;
};

/** Every group's description, indexed by GroupId. */
const std::array<GroupTable, numGroups>& allTables();
inline const GroupTable& table(GroupId id)
{
    return allTables()[(size_t)id];
}

/** The value box width of a control kind: 24 for the compact selector, 77 for every other. */
constexpr int boxWidthFor(int kind)
{
    return kind == StsCont::compactSelector ? 24 : 77;
}
} // namespace zentak::groups
