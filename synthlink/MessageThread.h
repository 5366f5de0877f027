// onMessageThread: whether the calling thread is the framework's message thread. Any thread.
#pragma once

#include <juce_events/juce_events.h>

namespace zentak
{
/** True on the message thread; false on every other thread and before a message manager exists. */
inline bool onMessageThread()
{
    auto* mm = juce::MessageManager::getInstanceWithoutCreating();
    return mm != nullptr && mm->isThisTheMessageThread();
}
} // namespace zentak
