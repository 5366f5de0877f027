#include "AppBar.h"

namespace zentak
{
namespace
{
struct ButtonRow
{
    const char* text;
    int id, style, x, y, w, h;
};
constexpr ButtonRow buttonRows[] = {
    {"BANK", 99, 6, 18, 2, 52, 18},   {"FILE", 75, 6, 76, 2, 52, 18},     {"EDIT", 73, 6, 129, 2, 52, 18},
    {"MIDI", 77, 6, 182, 2, 52, 18},  {"GLOBAL", 771, 6, 235, 2, 52, 18}, {"Host", 729, 6, 293, 2, 52, 18},
    {"Send", 701, 6, 351, 2, 52, 18}, {"Recv", 71, 6, 404, 2, 52, 18},    {"WRITE", 969, 6, 462, 2, 52, 18},
    {"SEQ", 808, 7, 555, 4, 38, 16},  {"RST", 809, 7, 597, 4, 38, 16},
};
constexpr int statusX = 754, statusWidth = 300, noticeX = statusX + statusWidth + 8, noticeMinimum = 200;
} // namespace

AppBar::AppBar(MidiCntrState& state) : controller(state)
{
    for (const auto& row : buttonRows)
    {
        auto b = std::make_unique<StsBut>(row.text, row.id, row.style);
        addAndMakeVisible(*b);
        b->setup(row.x, row.y, row.w, row.h, true);
        buttonList.push_back(std::move(b));
    }

    channel.setup("Chan: " + juce::String(controller.instrumentChannel.load()), "Arial", 12.0f,
                  juce::Justification::centred);
    channel.frameMode = 2;
    channel.setOpaque(true);
    channel.setBounds(674, 3, 57, 15);
    addAndMakeVisible(channel);

    status.setup({}, "Arial", 13.0f, juce::Justification::centredLeft);
    status.frameMode = 1;
    status.backgroundColour = 0xff00002f;
    status.setOpaque(true);
    status.setBounds(statusX, 2, statusWidth, 15);
    addAndMakeVisible(status);

    notice.setup({}, "Arial", 13.0f, juce::Justification::centredLeft);
    notice.frameMode = 1;
    notice.backgroundColour = 0xff00002f;
    notice.textColour = 0xffe4ac59;
    notice.fontStyle = juce::Font::bold;
    notice.setOpaque(true);
    addChildComponent(notice);
    notice.addChangeListener(this);

    setSize(1024, 28);
}

AppBar::~AppBar()
{
    notice.removeChangeListener(this);
}

StsBut* AppBar::button(int commandId) const
{
    for (const auto& b : buttonList)
        if (b->getCommandId() == commandId)
            return b.get();
    return nullptr;
}

void AppBar::showNotice(const juce::String& text)
{
    notice.setText(text);
    notice.setHelpText(text);
    notice.setVisible(true);
    resized();
}

void AppBar::clearNotice()
{
    notice.setText({});
    notice.setVisible(false);
    status.setVisible(true);
}

void AppBar::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    if (source == &notice)
        clearNotice(); // read and dismissed with a click
}

void AppBar::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xff00002f));
}

void AppBar::resized()
{
    // Beside the status where the window is wide enough; over it (until dismissed) where it is not.
    const int roomBeside = getWidth() - noticeX - 8;
    const bool beside = roomBeside >= noticeMinimum;
    if (beside)
        notice.setBounds(noticeX, 2, roomBeside, 15);
    else
        notice.setBounds(statusX, 2, juce::jmax(0, getWidth() - statusX - 8), 15);
    status.setVisible(beside || !notice.isVisible());
}
} // namespace zentak
