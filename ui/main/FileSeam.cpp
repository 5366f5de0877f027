#include "FileSeam.h"

#include <memory>

namespace zentak::files
{
namespace
{
void chooseWithFramework(const Request& request, Chosen chosen)
{
    // The chooser lives until it has answered: the callback holds the last reference.
    auto fc = std::make_shared<juce::FileChooser>(request.title, request.start, request.patterns);
    const int flags =
        juce::FileBrowserComponent::canSelectFiles |
        (request.save ? juce::FileBrowserComponent::saveMode : juce::FileBrowserComponent::openMode);
    // The replace question is ours (asked once, the same way on every platform), so the chooser
    // is not asked to warn about overwriting.
    fc->launchAsync(flags,
                    [fc, chosen = std::move(chosen)](const juce::FileChooser& c) mutable
                    {
                        chosen(c.getResult());
                        juce::MessageManager::callAsync([fc] {}); // released after its own callback
                    });
}

void askWithFramework(const juce::String& title, const juce::String& message, const juce::String& agreeText,
                      Answer answer)
{
    const auto options = juce::MessageBoxOptions()
                             .withIconType(juce::MessageBoxIconType::QuestionIcon)
                             .withTitle(title)
                             .withMessage(message)
                             .withButton(agreeText)
                             .withButton("Cancel");
    juce::AlertWindow::showAsync(options, [answer = std::move(answer)](int result) { answer(result == 1); });
}
void askChoiceWithFramework(const juce::String& title, const juce::String& message,
                            const juce::StringArray& options, Choice choice)
{
    auto box = juce::MessageBoxOptions()
                   .withIconType(juce::MessageBoxIconType::QuestionIcon)
                   .withTitle(title)
                   .withMessage(message);
    for (const auto& o : options)
        box = box.withButton(o);
    box = box.withButton("Cancel");
    // The framework returns 1 for the first button, 0 for the last and 2, 3 ... for those between.
    const int count = options.size();
    juce::AlertWindow::showAsync(box, [choice = std::move(choice), count](int result)
                                 { choice(result >= 1 && result <= count ? result : 0); });
}
} // namespace

ChoiceAsker& choiceAsker()
{
    static ChoiceAsker current = askChoiceWithFramework;
    return current;
}

void askChoice(const juce::String& title, const juce::String& message, const juce::StringArray& options,
               Choice choice)
{
    choiceAsker()(title, message, options, std::move(choice));
}

Chooser& chooser()
{
    static Chooser current = chooseWithFramework;
    return current;
}

Asker& asker()
{
    static Asker current = askWithFramework;
    return current;
}

void choose(const Request& request, Chosen chosen)
{
    chooser()(request, std::move(chosen));
}

void ask(const juce::String& title, const juce::String& message, const juce::String& agreeText, Answer answer)
{
    asker()(title, message, agreeText, std::move(answer));
}
} // namespace zentak::files
