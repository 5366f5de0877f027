#include "ControlEdits.h"

#include "MenuSeam.h"
#include "ui/widgets/ParDesMenu.h"

namespace zentak
{
ControlEdits::ControlEdits(MidiCntrState& state, Show showValue)
    : controller(state), show(std::move(showValue))
{
}

ControlEdits::~ControlEdits()
{
    *alive = false;
    for (int p = 0; p < params::tableSize; ++p)
        endIfOpen(p); // the host never keeps a gesture that the screen opened
}

bool ControlEdits::beginIfClosed(int p)
{
    if (p < 0 || p >= params::tableSize || open[(size_t)p])
        return false;
    open[(size_t)p] = true;
    controller.beginHostGesture(p);
    return true;
}

void ControlEdits::endIfOpen(int p)
{
    if (!isOpen(p))
        return;
    open[(size_t)p] = false;
    controller.endHostGesture(p);
}

void ControlEdits::sendEdit(StsCont& c, int v, bool wholeGesture)
{
    const int p = c.parameterNumber;
    const bool opened = beginIfClosed(p);
    show(c, v);
    controller.notifyHostValue(p, c.value);
    if (wholeGesture && opened)
        endIfOpen(p);
}

void ControlEdits::controlChanged(StsCont& c, bool held)
{
    // Change messages coalesce: the kind read here is the latest, and the bookkeeping above makes any
    // order of them safe. A drag value with no open gesture opens one, kept while the control is held;
    // a value that arrives when nothing is held any more is a gesture of its own.
    const int p = c.parameterNumber;
    switch (c.changeKind)
    {
    case StsCont::dragValue:
        sendEdit(c, c.requestedValue, !held);
        return;
    case StsCont::toggled:
    case StsCont::wheelStep:
        sendEdit(c, c.requestedValue, true);
        return;
    case StsCont::gestureEnd:
        endIfOpen(p);
        return;
    case StsCont::gestureStart:
        beginIfClosed(p);
        return;
    case StsCont::valueMenuWanted:
    {
        std::weak_ptr<bool> stillHere = alive;
        juce::Component::SafePointer<StsCont> target(&c);
        menus::show(ParDesMenu::valueMenu(p, c.maximum), &c,
                    [this, stillHere, target](int id)
                    {
                        if (id <= 0 || stillHere.expired() || target == nullptr)
                            return; // dismissed: nothing is sent and no gesture starts
                        target->requestedValue = juce::jlimit(target->minimum, target->maximum, id - 1);
                        sendEdit(*target, target->requestedValue, true);
                    });
        return;
    }
    default:
        return; // a right-button press: the control's owner may use it
    }
}
} // namespace zentak
