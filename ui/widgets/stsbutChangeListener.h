// stsbutChangeListener: told of every completed click of a text-style StsBut, newest listener first,
// before the button's change message. Message thread.
#pragma once

namespace zentak
{
class StsBut;

class stsbutChangeListener
{
public:
    virtual ~stsbutChangeListener() = default;
    virtual void stsbutChanged(StsBut& button) = 0;
};

} // namespace zentak
