// AppBar: the strip along the top of the main window: the buttons that open the panels, menus and
// dialogs, the instrument channel, whether the instrument answers, and the notices the user should
// read (a library file set aside, a file that could not be written). It decides nothing: the main
// component listens to its buttons and labels and writes the labels. Message thread only.
#pragma once

#include "synthlink/MidiCntrState.h"
#include "ui/widgets/StsBut.h"
#include "ui/widgets/StsLabel.h"

#include <memory>
#include <vector>

namespace zentak
{

class AppBar : public juce::Component, public juce::ChangeBroadcaster, private juce::ChangeListener
{
public:
    explicit AppBar(MidiCntrState& state);
    ~AppBar() override;

    /** The buttons in creation order: BANK, FILE, EDIT, MIDI, GLOBAL, Host, Send, Recv, WRITE, SEQ, RST. */
    const std::vector<std::unique_ptr<StsBut>>& buttons() const { return buttonList; }
    StsBut* button(int commandId) const;
    StsLabel& channelLabel() { return channel; }
    StsLabel& statusLabel() { return status; }
    StsLabel& noticeLabel() { return notice; }

    static constexpr int statusX = 754, statusWidth = 300;
    /** Where the notice fits beside the status on one line, if it does; else an empty rectangle. */
    juce::Rectangle<int> noticeBeside(int width) const;

    /** Shows a notice beside the status (below the bar when it needs more room) until it is clicked or
        replaced; the window places it (MainComp::layoutMessages). */
    void showNotice(const juce::String& text);
    void clearNotice();

    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;

    MidiCntrState& controller;
    std::vector<std::unique_ptr<StsBut>> buttonList;
    StsLabel channel, status, notice;
};

} // namespace zentak
