// StsGrid: the program list of the bank browser and the write dialog: one row per program slot with
// its bank and number (A:001) and its name, a selected row and a scroll bar; filled with one bank or
// with one category across banks A to C. Reports a selection (event 91) or a right-button press on a
// row (event 90) by change message. Message thread only.
#pragma once

#include "synthlink/MidiCntrState.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zentak
{

class StsGrid : public juce::Component, public juce::ChangeListener, public juce::ChangeBroadcaster
{
public:
    enum Event
    {
        rowPressedRight = 90,
        rowSelected = 91
    };

    explicit StsGrid(MidiCntrState* controller);

    void changeListenerCallback(juce::ChangeBroadcaster*) override {}

    /** Clears the selection and scrolling and stores the column widths. */
    void setColumnWidths(const juce::Array<int>& widths);
    void setDefaultColours();
    /** The program list of the bank browser and the write dialog: 128 rows of 26 pixels with the slot
        and the name, text 15, scroll bar 32. */
    void setUpProgramList();
    /** Mode 0: the 128 slots of bank argument. Mode 1: every slot of banks A..C whose category
        (byte 117) is argument. Clears selection and scrolling. */
    void fill(int mode, int argument);
    void setScrollValue(int v);
    void setFirstRow(int r);
    /** Selects row (-1: none) as a press would, without reporting it; with scrollIntoView, a row out
        of sight is scrolled to the middle of the list. */
    void selectRow(int row, bool scrollIntoView);
    /** The row listing (bank, slot), or -1. */
    int findRow(int bank, int slot) const;

    /** The label of a slot: bank letter, ":", slot + 1 in three digits (A:001 ... A:128). */
    static juce::String rowLabel(int bank, int slot);

    int visibleRows() const { return rowHeight > 0 ? height / rowHeight : 0; }
    int getFirstRow() const { return firstRow; }
    int getScrollValue() const { return scrollValue; }
    float getScrollFactor() const { return scrollFactor; }
    int getClickedColumn() const { return clickedColumn; }
    bool isListPressed() const { return listPressed; }
    bool isScrollBarPressed() const { return scrollBarPressed; }
    int getFillMode() const { return fillMode; }
    int getFillArgument() const { return fillArgument; }
    int rowSlot(int row) const { return rowSlots[row]; }
    int rowBank(int row) const { return rowBanks[row]; }

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    void paint(juce::Graphics& g) override;
    void resized() override;

    // Read by the listener.
    int selectedRow = -1;
    int selectedSlot = 0, selectedBank = 0;
    int eventCode = 0;

    // Layout and colours, set by the owner directly.
    int rowCount = 0;
    int columnCount = 0;
    int gripHeight = 31;
    int scrollBarWidth = 18;
    int rowHeight = 26;
    float fontSize = 15.0f;
    juce::uint32 rowColour = 0, selectedRowColour = 0;
    juce::uint32 slotTextColour = 0xff00bbbb, nameTextColour = 0xff80ffff;
    juce::uint32 selectedSlotTextColour = 0xff00cccc, selectedNameTextColour = 0xff80ffff;

    /** The program name listed in row (read from the bank at the time of the call). */
    juce::String rowName(int row) const;

private:
    int scrollLimit() const { return juce::jmax(0, rowCount - visibleRows()); }
    void paintBackground(juce::Graphics& g);

    MidiCntrState* controller; // never owned
    int width = 0, height = 0;
    int clickedColumn = 0;
    juce::Array<int> rowSlots, rowBanks;
    int fillMode = 0, fillArgument = 0;
    juce::Image backgroundImage, gripImage;
    int firstRow = 0;
    float scrollFactor = 0.0f;
    int lastScrollValue = 0, scrollValue = 0;
    juce::Array<int> columnWidths;
    bool listPressed = false, scrollBarPressed = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(StsGrid)
};

} // namespace zentak
