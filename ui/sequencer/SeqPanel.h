// SeqPanel: the main window's sequencer page: the four sequence lanes with their destination selectors,
// the sequencer tempo, clock divide and trigger, and a lane editing view that shows one lane large with
// the other three as small overviews. It turns every edit on the page into gestures and values for the
// controller state (keeping per parameter whether it has a gesture open, so that every begin meets
// exactly one end, also when the page goes away) and asks the main component to switch views by
// broadcasting a request. Message thread only.
#pragma once

#include "ui/main/ControlEdits.h"
#include "SeqClass.h"
#include "ui/widgets/StsBut.h"
#include "ui/widgets/StsCont.h"

#include <array>
#include <memory>

namespace zentak
{

class SeqPanel : public juce::Component, public juce::ChangeBroadcaster, public juce::ChangeListener
{
public:
    static constexpr int designWidth = 1148, designHeight = 684;
    static constexpr int numLanes = 4, numControls = 7;

    /** Requests read by the main component after a broadcast. */
    enum Request
    {
        laneEditingClosed = 500,
        openLaneEditingRequest = 501
    };

    explicit SeqPanel(MidiCntrState& state);
    ~SeqPanel() override;

    /** Lays the page out for scale s in its current view. */
    void setScale(float s);
    float getScale() const { return scale; }

    /** Shows value v of sound parameter p on its control (never sends). */
    void showValue(int p, int v);
    /** Shows value v of step parameter p (128..191) on its lane (never sends). */
    void showStep(int p, int v);
    /** Shows the controls and lanes from the edit record. */
    void refreshFromEditRecord();

    void openLaneEditing(int lane);
    void closeLaneEditing();
    bool isLaneEditingOpen() const { return laneEditing; }
    int selectedLane() const { return selected; }

    /** The Draw Mode menu, shown through the menu seam; drawModeChosen carries out an item. */
    juce::PopupMenu buildDrawModeMenu() const;
    void drawModeChosen(int id);

    void changeListenerCallback(juce::ChangeBroadcaster* source) override;
    void paint(juce::Graphics& g) override;

    int requestCode = 0, requestArgument = 0;

    // Parts, for the main component and the tests.
    SeqClass& lane(int k) const { return *lanes[(size_t)juce::jlimit(0, numLanes - 1, k)]; }
    StsCont& destination(int k) const { return *controls[(size_t)juce::jlimit(0, numLanes - 1, k)]; }
    StsCont& tempo() const { return *controls[4]; }
    StsCont& clockDivide() const { return *controls[5]; }
    StsCont& trigger() const { return *controls[6]; }
    /** The control of sound parameter p, or nullptr. */
    StsCont* control(int p) const;
    StsBut& programButton() const { return *program; }
    StsBut& editButton(int k) const { return *editButtons[(size_t)juce::jlimit(0, numLanes - 1, k)]; }
    StsBut& drawModeButton() const { return *drawMode; }
    StsBut& okButton() const { return *ok; }
    bool isGestureOpen(int p) const { return edits.isOpen(p); }

private:
    void layoutNormal();
    void scaleNormal();
    void scaleLaneEditing();
    void scaleControlsAndLanes();
    /** Places b at (x, y, w, h) times the scale, with its text at size text times the scale. */
    void placeButton(StsBut& b, int x, int y, int w, int h, float text);
    void laneEvents(SeqClass& lane);
    void showControl(StsCont& c, int v);
    void request(int code, int argument);

    MidiCntrState& controller; // never owned
    bool laneEditing = false;
    std::array<std::unique_ptr<StsCont>, numControls> controls;
    std::unique_ptr<StsBut> program;
    std::array<std::unique_ptr<StsBut>, numLanes> editButtons;
    std::unique_ptr<StsBut> drawMode, ok;
    std::array<std::unique_ptr<SeqClass>, numLanes> lanes;
    float scale = 1.0f;
    int selected = 0;
    ControlEdits edits; // after the controls and lanes: it ends what is still open while they exist
    std::shared_ptr<bool> alive = std::make_shared<bool>(true); // for menus answering after we are gone

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(SeqPanel)
};

} // namespace zentak
