#include "MenuSeam.h"
#include "ui/widgets/ParDesMenu.h"

#include "sounddata/ParDes.h"

namespace zentak::menus
{
namespace
{
void showWithFramework(juce::PopupMenu&& menu, juce::Component* target, Result result)
{
    static std::unique_ptr<juce::LookAndFeel_V2> look = ParDesMenu::menuLook();
    menu.setLookAndFeel(look.get());
    auto options = juce::PopupMenu::Options();
    if (target != nullptr)
        options = options.withTargetComponent(target);
    menu.showMenuAsync(options, [result = std::move(result)](int id) { result(id); });
}
} // namespace

Shower& shower()
{
    static Shower current = showWithFramework;
    return current;
}

Result whileAlive(const std::shared_ptr<bool>& alive, std::function<void(int)> choice)
{
    std::weak_ptr<bool> weak = alive;
    return [weak, choice = std::move(choice)](int id)
    {
        if (id != 0 && !weak.expired())
            choice(id);
    };
}

void show(juce::PopupMenu menu, juce::Component* target, Result result)
{
    shower()(std::move(menu), target, std::move(result));
}
} // namespace zentak::menus
