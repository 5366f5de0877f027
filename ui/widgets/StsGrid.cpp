#include "StsGrid.h"

#include "SkinImage.h"

namespace zentak
{
namespace
{
constexpr int categoryByte = 117;
}

StsGrid::StsGrid(MidiCntrState* state)
    : controller(state), backgroundImage(skinImage("gridBackground")), gripImage(skinImage("gridGrip"))
{
}

void StsGrid::setColumnWidths(const juce::Array<int>& widths)
{
    selectedRow = -1;
    firstRow = 0;
    scrollValue = 0;
    columnCount = widths.size();
    columnWidths = widths;
}

void StsGrid::setUpProgramList()
{
    setColumnWidths({50, 140, 0, 0});
    setDefaultColours();
    columnCount = 2;
    rowCount = 128;
    rowHeight = 26;
    fontSize = 15.0f;
    scrollBarWidth = 32;
}

void StsGrid::setDefaultColours()
{
    rowColour = 0;
    selectedRowColour = 0x22038fbe;
    slotTextColour = 0xff00bbbb;
    nameTextColour = 0xff80ffff;
    selectedSlotTextColour = 0xff00cccc;
    selectedNameTextColour = 0xff80ffff;
}

void StsGrid::fill(int mode, int argument)
{
    selectedRow = -1;
    firstRow = 0;
    scrollValue = 0;
    lastScrollValue = 0;
    fillMode = mode;
    fillArgument = argument;
    rowSlots.clearQuick();
    rowBanks.clearQuick();
    if (mode == 0)
    {
        for (int slot = 0; slot < 128; ++slot)
        {
            rowSlots.add(slot);
            rowBanks.add(argument);
        }
    }
    else if (mode == 1 && controller != nullptr)
    {
        for (int bank = 0; bank < 3; ++bank)
            if (auto* b = controller->programBank(bank))
                for (int slot = 0; slot < 128; ++slot)
                    if (b->slotByte(slot, categoryByte) == argument)
                    {
                        rowSlots.add(slot);
                        rowBanks.add(bank);
                    }
    }
    rowCount = rowSlots.size();
    repaint();
}

juce::String StsGrid::rowLabel(int bank, int slot)
{
    const juce::String letter = juce::String::charToString((juce::juce_wchar)('A' + bank));
    const juce::String gap = slot < 9 ? ":00" : (slot < 99 ? ":0" : ":");
    return letter + gap + juce::String(slot + 1);
}

juce::String StsGrid::rowName(int row) const
{
    if (controller == nullptr || row < 0 || row >= rowSlots.size())
        return {};
    if (auto* bank = controller->programBank(rowBanks[row]))
        return bank->slotName(rowSlots[row]);
    return {};
}

void StsGrid::setScrollValue(int v)
{
    // The scroll value always stays within 0 .. rows that do not fit, so that a list that fits
    // entirely never scrolls and a step past either end is not remembered.
    v = juce::jlimit(0, scrollLimit(), v);
    scrollValue = v;
    if (v == lastScrollValue)
        return;
    lastScrollValue = v;
    setFirstRow(v);
    repaint();
}

void StsGrid::setFirstRow(int r)
{
    if (r < 0)
        return;
    firstRow = juce::jmax(0, juce::jmin(r, rowCount - 1, rowCount - visibleRows()));
}

void StsGrid::selectRow(int row, bool scrollIntoView)
{
    if (row < 0 || row >= rowCount)
    {
        selectedRow = -1;
        repaint();
        return;
    }
    selectedRow = row;
    selectedSlot = rowSlots[row];
    selectedBank = rowBanks[row];
    const int shown = visibleRows();
    if (scrollIntoView && (row < firstRow || row >= firstRow + shown))
        setScrollValue(row - shown / 2);
    repaint();
}

int StsGrid::findRow(int bank, int slot) const
{
    for (int row = 0; row < rowSlots.size(); ++row)
        if (rowSlots[row] == slot && rowBanks[row] == bank)
            return row;
    return -1;
}

void StsGrid::mouseDown(const juce::MouseEvent& e)
{
    listPressed = false;
    scrollBarPressed = false;
    if (isShowing())
        grabKeyboardFocus();

    clickedColumn = 0;
    for (int i = 0, left = 0; i < columnWidths.size(); ++i)
    {
        const int right = left + columnWidths[i];
        if (left < e.x && e.x < right)
        {
            clickedColumn = i;
            break;
        }
        left = right;
    }

    const int S = scrollBarWidth;
    if (0 < e.x && e.x < width - S)
    {
        listPressed = true;
        const int R = juce::jmax(1, rowHeight);
        const int row = e.y / R + firstRow;
        if (rowCount > 0)
        {
            selectedRow = juce::jlimit(0, rowCount - 1, row);
            selectedSlot = rowSlots[selectedRow];
            selectedBank = rowBanks[selectedRow];
            eventCode = rowSelected;
            sendChangeMessage();
            if (e.mods.isPopupMenu())
            {
                eventCode = rowPressedRight;
                sendChangeMessage();
            }
        }
        else
            selectedRow = -1;
        repaint();
    }
    else if (e.x > width - S)
        scrollBarPressed = true;
}

void StsGrid::mouseDrag(const juce::MouseEvent& e)
{
    if (scrollBarPressed)
    {
        const int V = visibleRows();
        const float travel = (float)(rowHeight * V - gripHeight);
        scrollFactor = travel > 0.0f ? (float)scrollLimit() / travel : 0.0f;
        float p = (float)juce::jmax(0, e.y - gripHeight);
        if (p > travel)
            p = (float)(int)(travel + 1.0f);
        setScrollValue((int)(p * scrollFactor));
    }
    else if (listPressed)
    {
        if (e.y > height)
            setFirstRow(firstRow + 1);
        if (e.y < 0)
            setFirstRow(firstRow - 1);
        repaint();
    }
}

void StsGrid::mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel)
{
    if (e.y < 0)
        return;
    if (wheel.deltaY > 0.0f)
        setScrollValue(scrollValue - 1);
    else if (wheel.deltaY < 0.0f)
        setScrollValue(scrollValue + 1);
    else
        setScrollValue(scrollValue);
}

void StsGrid::paintBackground(juce::Graphics& g)
{
    g.setOpacity(0.25f);
    g.drawImage(backgroundImage, 0, 0, width - scrollBarWidth - 15, height, 0, 0, backgroundImage.getWidth(),
                backgroundImage.getHeight());
}

void StsGrid::paint(juce::Graphics& g)
{
    const int w = width, h = height, S = scrollBarWidth, R = rowHeight, V = visibleRows();
    paintBackground(g);

    const juce::Font plain("Arial", fontSize, juce::Font::plain), bold("Arial", fontSize, juce::Font::bold);
    auto column = [this](int i) { return i < columnWidths.size() ? columnWidths[i] : 0; };
    const int c0 = column(0), c1 = column(1), c2 = column(2);
    const int L = c0 + c1 + c2 + 4;
    for (int i = 0; i < juce::jmin(rowCount, V); ++i)
    {
        const int row = firstRow + i, y = i * R;
        if (row >= rowCount)
            break;
        const auto label = rowLabel(rowBanks[row], rowSlots[row]);
        const auto name = rowName(row);
        const int baseline = y + (int)(fontSize + 4.0f);
        g.setColour(juce::Colour(0xff555555));
        g.fillRect(0, y, L, 1);
        const bool selected = row == selectedRow;
        if (!selected)
        {
            if (rowColour != 0)
            {
                g.setColour(juce::Colour(rowColour));
                g.fillRect(0, y, L, R - 1);
            }
            g.setFont(plain);
        }
        else
        {
            if (selectedRowColour != 0)
            {
                g.setColour(juce::Colour(selectedRowColour));
                g.fillRect(0, y, c0 + c1 + c2 + 27, R + 3);
            }
            g.setFont(bold);
        }
        g.setColour(juce::Colour(selected ? selectedSlotTextColour : slotTextColour));
        g.drawSingleLineText(label, 7, baseline);
        g.setColour(juce::Colour(selected ? selectedNameTextColour : nameTextColour));
        g.drawSingleLineText(name, c0 + 6, baseline);
        g.setFont(plain);
    }

    // Scroll bar. A list that fits has no scrolling, hence scroll factor 0 and no grip.
    const int T = w - S + 2, H = R * V;
    scrollFactor = h > gripHeight ? (float)scrollLimit() / (float)(h - gripHeight) : 0.0f;
    if (rowColour != 0)
    {
        g.setColour(juce::Colour(rowColour));
        g.fillRect(T, 0, S - 2, H);
    }
    if (H < R * rowCount)
    {
        const auto track = juce::Rectangle<float>((float)T, 0.0f, (float)(S - 2), (float)H);
        g.setColour(juce::Colour(0xff1f2224));
        g.fillRoundedRectangle(track, 2.0f);
        g.setColour(juce::Colour(0x55808040));
        g.drawRoundedRectangle(track, 2.0f, 1.0f);
        const int gripY = scrollFactor > 0.0f ? (int)((float)scrollValue / scrollFactor) : 0;
        g.setOpacity(0.9f);
        g.drawImage(gripImage, T + S / 18, gripY, S - 2, gripHeight + 2, 0, 0, 25, 43);
    }

    paintBackground(g);
}

void StsGrid::resized()
{
    width = getWidth();
    height = getHeight();
}
} // namespace zentak
