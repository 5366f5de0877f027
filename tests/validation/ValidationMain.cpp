// Validation host runner: every run gets a home folder of its own, so each process meets the plug-in
// as a first-time user does (no settings, no library, no saved ports). The main thread is the message
// thread.
#include "HostedPlugin.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <X11/Xlib.h>

#include <atomic>
#include <cstdlib>
#include <iostream>

namespace
{
// A bare virtual display has no window manager, so the window-manager atoms that every desktop has
// do not exist yet, and the framework's window code hands the missing atom to the server, which
// ends the process. Create them, as a window manager would, and keep the connection open for the
// whole run: a virtual server forgets its atoms when its last client leaves.
Display* provideWindowManagerAtoms()
{
    auto* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return nullptr;
    for (const char* name :
         {"WM_PROTOCOLS", "WM_TAKE_FOCUS", "WM_DELETE_WINDOW", "_NET_WM_PING", "WM_CHANGE_STATE", "WM_STATE",
          "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_WINDOW_TYPE_DIALOG", "_NET_WM_STATE",
          "_NET_WM_STATE_HIDDEN", "_NET_WM_STATE_FULLSCREEN", "_NET_FRAME_EXTENTS", "_NET_WORKAREA",
          "_MOTIF_WM_HINTS", "_NET_WM_ALLOWED_ACTIONS"})
        XInternAtom(display, name, False);
    XSync(display, False);
    return display;
}
std::atomic<int> xErrors{0};

int countXError(Display*, XErrorEvent*)
{
    ++xErrors;
    return 0;
}
} // namespace

namespace zentak::validation
{
// Hosts keep X errors harmless with a handler of their own, since a plug-in's framework that shuts
// down its display connection puts back the handler it found, the library's default, which ends the
// process at the next error of any window. Put back after every turn of the message loop.
void keepXErrorsHarmless()
{
    XSetErrorHandler(countXError);
}
} // namespace zentak::validation

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);

    const auto home = juce::File::getSpecialLocation(juce::File::tempDirectory)
                          .getNonexistentChildFile("zentak-validation-home", "", false);
    home.createDirectory();
    setenv("HOME", home.getFullPathName().toRawUTF8(), 1);

    auto* atomKeeper = provideWindowManagerAtoms();
    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI gui;
        result = RUN_ALL_TESTS();
        juce::DeletedAtShutdown::deleteAll();
    }
    home.deleteRecursively();
    if (xErrors.load() > 0)
        std::cout << "[ figures  ] " << xErrors.load() << " X errors kept harmless" << std::endl;
    if (atomKeeper != nullptr)
        XCloseDisplay(atomKeeper);
    return result;
}
