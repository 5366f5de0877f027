// Writes the gallery pictures into the build folder: every skin image (gallery_skin.png) and every
// widget on its panels at display scales 1.0 and 0.6 (gallery_widgets_1.0.png, gallery_widgets_0.6.png),
// plus the overlays (gallery_overlays.png) and a mock-up of the keyboard strip (gallery_keyboard.png). They
// are for looking at; the test checks only that they were written.
#include "WidgetTestSupport.h"

#include "SkinData.h"
#include "ui/widgets/AboutPanel.h"
#include "ui/widgets/Envel.h"
#include "ui/widgets/LCD_Comp.h"
#include "ui/widgets/ProgBar.h"
#include "ui/widgets/RenameCnt.h"
#include "ui/widgets/SkinImage.h"
#include "ui/widgets/StsBut.h"
#include "ui/widgets/StsCont.h"
#include "ui/widgets/StsGrid.h"
#include "ui/widgets/StsLabel.h"
#include "ui/widgets/SwitchLED.h"
#include "ui/widgets/VelIndClass.h"
#include "ui/widgets/WheelCnt.h"

using namespace zentak;
using namespace zentak::test;

namespace
{
juce::File galleryFolder()
{
    return juce::File(ZENTAK_GALLERY_DIR);
}

bool writePng(const juce::Image& image, const juce::String& name)
{
    const auto file = galleryFolder().getChildFile(name);
    file.deleteFile();
    juce::FileOutputStream out(file);
    return out.openedOk() && juce::PNGImageFormat().writeImageToStream(image, out);
}

void checker(juce::Graphics& g, juce::Rectangle<int> r)
{
    for (int y = r.getY(); y < r.getBottom(); y += 8)
        for (int x = r.getX(); x < r.getRight(); x += 8)
        {
            g.setColour(((x - r.getX()) / 8 + (y - r.getY()) / 8) % 2 == 0 ? juce::Colour(0xff2a2a34)
                                                                           : juce::Colour(0xff3a3a46));
            g.fillRect(juce::Rectangle<int>(x, y, 8, 8).getIntersection(r));
        }
}

/** One page of widgets, laid out at a display scale as the editor pages do. */
class WidgetPage : public juce::Component
{
public:
    WidgetPage(StsResor& resources, MidiCntrState& state, float s)
        : skin(resources), controller(state), scale(s)
    {
        setSize((int)(1240 * s), (int)(530 * s));

        panel({10, 10, 378, 220}, false, "LOW PASS FILTER"); // panel 0
        knob(0, 10, 24, 51, 58, "Frequency", 0, 164, 96);
        knob(0, 70, 24, 51, 58, "Resonance", 0, 100, 0);
        knob(0, 130, 24, 51, 58, "Env Amount", 0, 254, 254);
        knob(0, 190, 24, 51, 58, "Key Amount", 0, 100, 72);
        knob(0, 250, 24, 51, 58, "Velocity", 0, 100, 35);
        knob(0, 310, 24, 51, 58, "Audio Mod", 0, 100, 50);
        knob(0, 10, 152, 51, 58, "Attack", 0, 110, 4);
        knob(0, 310, 152, 51, 58, "Release", 0, 110, 60);
        led(0, 200, 5, 120, 18, StsCont::ledSwitch, "4 Pole", 1);
        envelope(0, 82, 85, 12, 50, 60, 40);

        panel({398, 10, 569, 154}, true, "ENVELOPE 3");
        const char* names[] = {"Destination", "Amount", "Velocity", "Delay", "Attack", "Decay", "Sustain"};
        for (int i = 0; i < 5; ++i)
            knob(1, 10 + 62 * i, 30, 51, 58, names[i], 0, 100, 20 * i + 5);
        knob(1, 10, 92, 51, 58, "Decay", 0, 110, 110);
        knob(1, 72, 92, 51, 58, "Sustain", 0, 100, 12);
        knob(1, 134, 92, 51, 58, "Zero Range", 0, 0, 0);
        knob(1, 196, 92, 51, 58, "Small Range", 0, 12, 6);
        envelope(1, 332, 30, 0, 80, 100, 110);
        led(1, 262, 92, 60, 40, StsCont::centredLedSwitch, "Repeat", 0);

        panel({10, 240, 330, 279}, false, "OSCILLATORS");
        selector(2, 40, 30, 100, 34, StsCont::selector, "Shape", "Saw", 77);
        selector(2, 150, 30, 80, 34, StsCont::selector, "Glide", "Fingered", 77);
        wave(2, 240, 30, 62, 56, 3);
        selector(2, 40, 80, 100, 34, StsCont::narrowSelector, "Frequency", "C 2", 77);
        selector(2, 150, 80, 100, 34, StsCont::narrowSelector, "Fine", "+14", 60);
        selector(2, 40, 130, 140, 18, StsCont::compactSelector, "OSC Slop", "3", 24);
        selector(2, 40, 160, 160, 18, StsCont::compactSelector, "Key Sync", "On", 42);
        wave(2, 240, 100, 62, 56, 17);
        wave(2, 240, 170, 62, 56, 60);
        led(2, 190, 130, 40, 40, StsCont::centredLedSwitch, "Sync", 1);
        led(2, 40, 200, 130, 18, StsCont::ledSwitch, "Key Follow", 0);
        led(2, 40, 225, 130, 18, StsCont::ledSwitch, "Oscillator On", 1);

        panel({398, 174, 350, 345}, true, "BUTTONS AND DISPLAYS");
        auto* lcd = add(std::make_unique<LCD_Comp>());
        lcd->show(0, 98, 3, "Big Sawz", "Leads");
        lcd->setScale(s);
        lcd->setBounds(px(410), px(420), px(182), px(45));
        auto* vel = add(std::make_unique<VelIndClass>(&controller));
        vel->designX = 600;
        vel->designY = 314;
        vel->setDisplayScale(s);
        vel->setVelocity(100);
        auto* pitch = add(std::make_unique<WheelCnt>(&controller, 64, true));
        pitch->setDesignBounds(650, 324, 31, 112);
        pitch->setDisplayScale(s);
        auto* mod = add(std::make_unique<WheelCnt>(&controller, 0, false));
        mod->setDesignBounds(690, 324, 31, 112);
        mod->setDisplayScale(s);
        mod->setValue(100, false);
        // Buttons, labels and lists keep their unscaled size at every display scale: only at 1.0 here.
        if (s != 1.0f)
            return;
        button("Recv", 1, StsBut::largeImage, 410, 202, 80, 18, 0);
        button("Send", 2, StsBut::largeImage, 500, 202, 80, 18, 1);
        button("Load", 3, StsBut::largeImage, 590, 202, 107, 18, 2);
        button("SEQ", 4, StsBut::smallImage, 410, 230, 60, 14, 0);
        button("RST", 5, StsBut::smallImage, 480, 230, 60, 14, 1);
        button("EDIT", 6, StsBut::smallImage, 550, 230, 70, 14, 2);
        button("SEQUENCER", 98, StsBut::bevelled, 410, 254, 95, 20, 0);
        button("CLEAR", 7, StsBut::bevelled, 515, 254, 80, 20, 2);
        button("BANK A", 0, StsBut::textLined, 410, 286, 70, 20, 0);
        button("BANK B", 0, StsBut::textPlain, 490, 286, 70, 20, 0);
        button("OK", 0, StsBut::textDark, 570, 286, 60, 20, 0);
        button("CANCEL", 9, StsBut::textDark, 640, 286, 66, 20, 0);
        auto* sw = add(std::make_unique<SwitchLED>("Use Loaded Data", 13.0f));
        sw->setOn(true);
        sw->setBounds(px(410), px(320), 150, 18);
        auto* off = add(std::make_unique<SwitchLED>("LED off", 13.0f));
        off->setBounds(px(410), px(342), 150, 18);
        label("Online", 2, 0xff000000, 410, 368, 90, 18, 36);
        label("Ch 1", 1, 0xff00002f, 510, 368, 50, 18, 36);
        label("Plain label", 0, 0, 410, 392, 120, 18, 33);
        auto* grid = add(std::make_unique<StsGrid>(&controller));
        grid->setColumnWidths({50, 140, 0, 0});
        grid->setDefaultColours();
        grid->fill(0, 0);
        grid->columnCount = 2;
        grid->rowHeight = 26;
        grid->fontSize = 15;
        grid->scrollBarWidth = 32;
        grid->setBounds(px(980), px(10), 246, 390);
        grid->selectedRow = 2;
        grid->setScrollValue(40);
        grid->selectedRow = 42;

        auto* few = add(std::make_unique<StsGrid>(&controller));
        few->setColumnWidths({50, 140, 0, 0});
        few->setDefaultColours();
        few->fill(1, 3);
        few->columnCount = 2;
        few->scrollBarWidth = 32;
        few->setBounds(px(760), px(174), 210, 160);
    }

    void paint(juce::Graphics& g) override
    {
        g.fillAll(juce::Colour(0xff00002f));
        for (const auto& p : panels)
        {
            juce::Graphics::ScopedSaveState save(g);
            g.setOrigin((int)((float)p.bounds.getX() * scale), (int)((float)p.bounds.getY() * scale));
            g.reduceClipRegion(0, 0, (int)((float)p.bounds.getWidth() * scale),
                               (int)((float)p.bounds.getHeight() * scale));
            if (p.schemeA)
                skin.paintPanelA(g, scale, p.bounds.getWidth(), p.bounds.getHeight());
            else
                skin.paintPanelB(g, scale, p.bounds.getWidth(), p.bounds.getHeight());
            g.setFont(juce::Font("Arial", 14.0f * scale, juce::Font::bold));
            g.drawSingleLineText(p.title, (int)(9 * scale), (int)(17 * scale));
        }
    }

private:
    struct Panel
    {
        juce::Rectangle<int> bounds;
        bool schemeA;
        juce::String title;
    };

    int px(float v) const { return (int)(v * scale); }

    template <typename T> T* add(std::unique_ptr<T> c)
    {
        auto* raw = c.get();
        addAndMakeVisible(*raw);
        owned.add(c.release());
        return raw;
    }

    void panel(juce::Rectangle<int> r, bool schemeA, const juce::String& title)
    {
        panels.push_back({r, schemeA, title});
    }

    StsCont* control(int panelX, float x, float y, float w, float h, int kind, const juce::String& caption,
                     int lo, int hi, int box)
    {
        auto* c = add(std::make_unique<StsCont>());
        c->setup(0, caption, lo, hi, kind, box);
        const auto origin = panelOrigin(panelX);
        c->setDesignBounds(origin.x + x, origin.y + y, w, h);
        const bool schemeA = isSchemeA(panelX);
        c->setBackgroundImage(patchAt(schemeA, (int)(origin.x + x), (int)(origin.y + y), (int)w, (int)h));
        c->setDisplayScale(scale);
        c->setVisible(true);
        return c;
    }

    juce::Point<float> panelOrigin(int index) const
    {
        return panels[(size_t)index].bounds.getPosition().toFloat();
    }

    bool isSchemeA(int index) const { return panels[(size_t)index].schemeA; }

    juce::Image patchAt(bool schemeA, int, int, int w, int h) const
    {
        return schemeA ? skin.makePatchA(w, h) : skin.makePatchB(w, h);
    }

    void knob(int panelX, float x, float y, float w, float h, const juce::String& caption, int lo, int hi,
              int v)
    {
        auto* c = control(panelX, x, y, w, h, StsCont::knob, caption, lo, hi, 77);
        c->forgetValue();
        c->showValue(v, juce::String(v));
    }

    void led(int panelX, float x, float y, float w, float h, int kind, const juce::String& caption, int v)
    {
        auto* c = control(panelX, x, y, w, h, kind, caption, 0, 1, 77);
        c->forgetValue();
        c->showValue(v, {});
    }

    void selector(int panelX, float x, float y, float w, float h, int kind, const juce::String& caption,
                  const juce::String& text, int box)
    {
        auto* c = control(panelX, x, y, w, h, kind, caption, 0, 10, box);
        c->forgetValue();
        c->showValue(1, text);
    }

    void wave(int panelX, float x, float y, float w, float h, int shape)
    {
        auto* c = control(panelX, x, y, w, h, StsCont::waveSelector, "Wave", 0, 127, 77);
        c->waveSource = &controller.waveBank();
        c->forgetValue();
        c->showValue(shape, juce::String(shape + 1));
    }

    void button(const juce::String& text, int id, int style, int x, int y, int w, int h, int state)
    {
        auto* b = add(std::make_unique<StsBut>(text, id, style));
        b->setup(px((float)x), px((float)y), w, h, true);
        if (state >= 1 && (style == StsBut::largeImage || style == StsBut::smallImage))
            b->mouseEnter(mouse(*b, 2, 2));
        if (state == 2)
            b->mouseDown(mouse(*b, 2, 2));
    }

    void label(const juce::String& text, int mode, juce::uint32 background, int x, int y, int w, int h,
               int just)
    {
        auto* l = add(std::make_unique<StsLabel>());
        l->setup(text, "Arial", 13.0f, just);
        l->frameMode = mode;
        l->backgroundColour = background;
        l->setBounds(px((float)x), px((float)y), w, h);
    }

    void envelope(int panelX, int x, int y, float a, float d, float su, float r)
    {
        auto* e = add(std::make_unique<Envel>());
        const auto origin = panelOrigin(panelX);
        e->setDesignBounds((int)origin.x + x, (int)origin.y + y, 218, 65);
        e->attack = a;
        e->decay = d;
        e->sustain = su;
        e->release = r;
        e->setDisplayScale(scale);
        e->valuesChanged();
    }

    StsResor& skin;
    MidiCntrState& controller;
    float scale;
    std::vector<Panel> panels;
    juce::OwnedArray<juce::Component> owned;
};

struct GalleryTest : SkinTest
{
    TempFolder temp;
    std::unique_ptr<MidiCntrState> state;

    void SetUp() override
    {
        MidiCntrStateOptions o;
        o.settingsFolder = temp.folder;
        state = std::make_unique<MidiCntrState>(o);
        juce::MemoryBlock waves;
        juce::File(ZENTAK_SOURCE_DIR "/resources/factory/fixed_waves.bin").loadFileAsData(waves);
        state->waveBank().loadFixedShapes(waves.getData(), waves.getSize());
        const char* names[] = {"Big Sawz",   "Real Analog Sync", "Nice Pattern", "Glass Keys",
                               "Deep Drone", "Soft Strings",     "Wobble Bass",  "Bell Tree"};
        for (int b = 0; b < 4; ++b)
        {
            auto* bank = state->programBank(b);
            for (int slot = 0; slot < 128; ++slot)
            {
                bank->setSlotName(slot, juce::String(names[(slot + b) % 8]) + " " + juce::String(slot + 1));
                juce::MemoryBlock record = bank->getSlot(slot);
                static_cast<juce::uint8*>(record.getData())[117] = (juce::uint8)((slot * 7 + b) % 26);
                bank->setSlot(slot, record);
            }
        }
    }
};
} // namespace

TEST_F(GalleryTest, WritesSkinAndWidgetPictures)
{
    // Every skin image on a checkerboard, with its name and size.
    const int sheetWidth = 1640;
    juce::Image sheet(juce::Image::ARGB, sheetWidth, 2200, true);
    {
        juce::Graphics g(sheet);
        g.fillAll(juce::Colour(0xff101018));
        int x = 10, y = 10, rowHeight = 0;
        for (int i = 0; i < SkinData::namedResourceListSize; ++i)
        {
            const juce::String resource = SkinData::namedResourceList[i];
            const auto name = resource.upToLastOccurrenceOf("_png", false, false);
            const auto image = skinImage(name.toRawUTF8());
            ASSERT_TRUE(image.isValid()) << name;
            const float fit = juce::jmin(1.0f, 800.0f / (float)image.getWidth());
            const int w = (int)((float)image.getWidth() * fit), h = (int)((float)image.getHeight() * fit);
            const int cellW = juce::jmax(w, 120) + 12;
            if (x + cellW > sheetWidth)
            {
                x = 10;
                y += rowHeight + 26;
                rowHeight = 0;
            }
            checker(g, {x, y, w, h});
            g.drawImage(image, x, y, w, h, 0, 0, image.getWidth(), image.getHeight());
            g.setColour(juce::Colours::white);
            g.setFont(juce::Font("Arial", 11.0f, juce::Font::plain));
            g.drawText(name + " " + juce::String(image.getWidth()) + "x" + juce::String(image.getHeight()), x,
                       y + h + 2, cellW, 14, juce::Justification::left, true);
            x += cellW;
            rowHeight = juce::jmax(rowHeight, h);
        }
        sheet = sheet.getClippedImage({0, 0, sheetWidth, juce::jmin(2200, y + rowHeight + 30)});
    }
    EXPECT_TRUE(writePng(sheet, "gallery_skin.png"));

    for (float s : {1.0f, 0.6f})
    {
        WidgetPage page(*skin, *state, s);
        EXPECT_TRUE(writePng(render(page), "gallery_widgets_" + juce::String(s, 1) + ".png"));
    }

    // The overlays: the progress box over a panel, the rename dialog and the about panel.
    juce::Component backdrop;
    backdrop.setSize(1060, 620);
    juce::Image overlays(juce::Image::ARGB, 1060, 620, true);
    {
        juce::Graphics g(overlays);
        skin->paintPanelB(g, 1.0f, 1060, 620);
        auto paintAt = [&g](juce::Component& c, int x, int y)
        {
            juce::Graphics::ScopedSaveState save(g);
            g.setOrigin(x, y);
            g.reduceClipRegion(0, 0, c.getWidth(), c.getHeight());
            c.paintEntireComponent(g, true);
        };
        AboutPanel about("2.0.2", 0);
        about.setSize(1060, 620);
        paintAt(about, 0, 0);
        ProgBar progress(500, 120);
        progress.showProgress(80);
        progress.label().setText("Bank B", juce::dontSendNotification);
        paintAt(progress, 20, 480);
        RenameCnt rename(0, 0, "Big Sawz");
        paintAt(rename, 560, 40);
    }
    EXPECT_TRUE(writePng(overlays, "gallery_overlays.png"));

    // A mock-up of the on-screen keyboard's strip from its skin pieces, to judge them together.
    juce::Image keys(juce::Image::ARGB, 1607, 172, true);
    {
        juce::Graphics g(keys);
        g.fillAll(juce::Colour(0xff111214));
        g.setOpacity(1.0f);
        g.drawImageTransformed(skinImage("keyboardBar").getClippedImage({0, 0, 100, 22}),
                               juce::AffineTransform::scale(16.07f, 20.0f / 22.0f));
        g.setOpacity(0.484f);
        for (int x : {72, 132})
            g.drawImage(skinImage("keyGlow"), x, 29, (int)(168 * 0.56f), (int)(257 * 0.56f), 0, 0, 168, 291);
        skin->paintKeyboardShadow(g, 1.0f, 0, 242);
        g.setOpacity(1.0f);
        g.drawImage(skinImage("octaveStrip"), 35, 28, (int)(269 * 0.7f), (int)(18 * 0.7f), 0, 0, 269, 18);
        const int offsets[] = {0, 16, 0, 45, 0, 0, 91, 0, 120, 0, 148, 0};
        int white = 0;
        for (int i = 0; i < 94; ++i)
            if (offsets[i % 12] == 0)
                g.drawImageAt(skin->whiteKey, 242 + 25 * white++, 20);
        for (int i = 0; i < 94; ++i)
            if (offsets[i % 12] != 0)
                g.drawImageAt(i == 13 ? skin->blackKeyDown : skin->blackKey,
                              242 + offsets[i % 12] + (i / 12) * 175, 20);
        g.drawImageAt(skin->whiteKeyDown, 242 + 25 * 9, 20);
        WheelCnt pitch(state.get(), 64, true), mod(state.get(), 90, false);
        VelIndClass velocity(state.get());
        velocity.setVelocity(100);
        for (auto [c, x, y] :
             {std::tuple<juce::Component*, int, int>{&pitch, 100, 46}, {&mod, 160, 46}, {&velocity, 35, 38}})
        {
            juce::Graphics::ScopedSaveState save(g);
            g.setOrigin(x, y);
            g.reduceClipRegion(0, 0, c->getWidth(), c->getHeight());
            c->paintEntireComponent(g, true);
        }
    }
    EXPECT_TRUE(writePng(keys, "gallery_keyboard.png"));
}
