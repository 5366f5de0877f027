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
} // namespace

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
