// FileSeam: the window's file dialogs and its replace question, shown asynchronously (hosts cannot run
// modal loops) through one replaceable shower each, so that a test chooses a file or answers the
// question without a display. Message thread only.
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace zentak::files
{
/** What a file dialog asks for. */
struct Request
{
    bool save = false;     // a save dialog (else: open one existing file)
    juce::String title;    // "Load Evolver Program Bank", …
    juce::String patterns; // "*.ebp;*.syx;"
    juce::File start;      // the folder (open) or the suggested file (save)
};

/** Receives the chosen file, or juce::File() when the dialog was cancelled. */
using Chosen = std::function<void(const juce::File&)>;
using Chooser = std::function<void(const Request& request, Chosen chosen)>;

/** Receives true when the user agreed. */
using Answer = std::function<void(bool)>;
using Asker = std::function<void(const juce::String& title, const juce::String& message,
                                 const juce::String& agreeText, Answer answer)>;

Chooser& chooser();
Asker& asker();

/** Shows a file dialog; chosen is called later (also for a cancel, with juce::File()). */
void choose(const Request& request, Chosen chosen);
/** Asks a yes/no question; answer is called later. */
void ask(const juce::String& title, const juce::String& message, const juce::String& agreeText,
         Answer answer);

/** Replaces the chooser while it lives (tests). */
struct ScopedChooser
{
    explicit ScopedChooser(Chooser replacement) : previous(std::move(chooser()))
    {
        chooser() = std::move(replacement);
    }
    ~ScopedChooser() { chooser() = std::move(previous); }
    Chooser previous;
};

/** Replaces the asker while it lives (tests). */
struct ScopedAsker
{
    explicit ScopedAsker(Asker replacement) : previous(std::move(asker()))
    {
        asker() = std::move(replacement);
    }
    ~ScopedAsker() { asker() = std::move(previous); }
    Asker previous;
};
} // namespace zentak::files
