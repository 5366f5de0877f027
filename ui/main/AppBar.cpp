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
constexpr int noticeX = AppBar::statusX + 200;
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
    notice.maxLines = 4;
    notice.margin = 8;
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
    if (notice.getParentComponent() == this)
        resized();
}

void AppBar::clearNotice()
{
    notice.setText({});
    notice.setVisible(false);
}

juce::Rectangle<int> AppBar::noticeBeside(int width) const
{
    const juce::Font font(notice.typefaceName, notice.fontHeight, notice.fontStyle);
    const int room = width - noticeX - 24;
    if (room < font.getStringWidth(notice.getText()) + 2 * notice.margin)
        return {};
    return {noticeX, 2, room, 15};
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
    // Alone (without a window placing them), the status and the notice sit in the bar.
    if (status.getParentComponent() == this)
        status.setBounds(statusX, 2, statusWidth, 15);
    if (notice.getParentComponent() == this)
        notice.setBounds(noticeX, 2, juce::jmax(0, getWidth() - noticeX - 8), 15);
}
} // namespace zentak
