// ControlEdits: turns what the user does on a page's value controls into host gestures and values for
// the controller state. It keeps per parameter whether this page has a gesture open, begins one only
// when none is open and ends one only when one is, so coalesced change messages, toggles, wheel steps
// and value menus never leave a parameter latched or end a gesture that was never begun; whatever is
// still open when it goes is ended. Message thread only.
#pragma once

#include "sounddata/ParamCatalogue.h"
#include "synthlink/MidiCntrState.h"
#include "ui/widgets/StsCont.h"

#include <array>
#include <functional>
#include <memory>

namespace zentak
{
class ControlEdits
{
public:
    /** Shows value v on control c (and whatever else shows its parameter); never sends. */
    using Show = std::function<void(StsCont& c, int v)>;

    ControlEdits(MidiCntrState& state, Show show);
    ~ControlEdits();

    /** Runs the control's latest change kind. held: the user still holds the control (or what drives
        it), so a drag value keeps its gesture open. */
    void controlChanged(StsCont& c, bool held);
    /** Shows v on c and sends it inside a gesture, which ends here when wholeGesture and it began here. */
    void sendEdit(StsCont& c, int v, bool wholeGesture);
    /** Begins a gesture on p unless this page has one open; true when it began one. */
    bool beginIfClosed(int p);
    void endIfOpen(int p);
    bool isOpen(int p) const { return p >= 0 && p < params::tableSize && open[(size_t)p]; }

private:
    MidiCntrState& controller;
    Show show;
    std::array<bool, params::tableSize> open{};
    std::shared_ptr<bool> alive = std::make_shared<bool>(true); // for menus answering after we are gone
};
} // namespace zentak
