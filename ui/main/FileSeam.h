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

/** Receives the chosen option, 1 for the first of the options given, 0 for Cancel. */
using Choice = std::function<void(int)>;
using ChoiceAsker = std::function<void(const juce::String& title, const juce::String& message,
                                       const juce::StringArray& options, Choice choice)>;

Chooser& chooser();
Asker& asker();
ChoiceAsker& choiceAsker();

/** Shows a file dialog; chosen is called later (also for a cancel, with juce::File()). */
void choose(const Request& request, Chosen chosen);
/** Asks a yes/no question; answer is called later. */
void ask(const juce::String& title, const juce::String& message, const juce::String& agreeText,
         Answer answer);

/** Asks a question with one or two options and Cancel; choice is called later. */
void askChoice(const juce::String& title, const juce::String& message, const juce::StringArray& options,
               Choice choice);

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
/** Replaces the choice asker while it lives (tests). */
struct ScopedChoiceAsker
{
    explicit ScopedChoiceAsker(ChoiceAsker replacement) : previous(std::move(choiceAsker()))
    {
        choiceAsker() = std::move(replacement);
    }
    ~ScopedChoiceAsker() { choiceAsker() = std::move(previous); }
    ChoiceAsker previous;
};
} // namespace zentak::files
