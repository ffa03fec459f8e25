// The colour picker: what it shows for each item, Apply and Cancel, the transparency bar.
#include <gtest/gtest.h>

#include "RulerFixture.h"
#include "crosshair/Crosshair.h"
#include "picker/PickColor.h"

namespace tavrolin::testing {
namespace {

class PickColorTest : public RulerTest {
protected:
    PickColor& Picker(int item) {
        PickColor& picker = program->pickColor();
        picker.Load();
        picker.Init_PickColor(item);
        return picker;
    }
    // The alpha values SetLayeredWindowAttributes received, window by window, in call order.
    std::vector<std::string> AlphaCalls() {
        std::vector<std::string> out;
        for (const auto& c : platform.calls) {
            if (c.rfind("SetLayeredWindowAttributes", 0) == 0) out.push_back(c);
        }
        return out;
    }
    static std::string Layered(std::int32_t hwnd, int alpha) {
        return "SetLayeredWindowAttributes(" + std::to_string(hwnd) + ", 16777215, " +
               std::to_string(alpha) + ", 2)";
    }
};

TEST_F(PickColorTest, ItShowsTheItemItsColourAndTransparencyOnlyWhereThereIsOne) {
    StartMeasurement();
    PickColor& picker = Picker(kPrimaryTicks);
    EXPECT_EQ(picker.PickLbl.Caption(), "Pick Color for:");
    EXPECT_EQ(picker.ItemLbl.Caption(), "Primary Tick Marks");
    EXPECT_EQ(picker.Channel[0]->Text(), "60");
    EXPECT_EQ(picker.Channel[1]->Text(), "160");
    EXPECT_EQ(picker.Channel[2]->Text(), "20");
    EXPECT_EQ(picker.Preview.BackColor(), RGB(60, 160, 20));
    EXPECT_FALSE(picker.Transparency.Visible());

    picker.Init_PickColor(kMeasurementCrosshairs);
    EXPECT_EQ(picker.ItemLbl.Caption(), "Measurement Crosshairs");
    EXPECT_TRUE(picker.Transparency.Enabled());
    EXPECT_EQ(picker.Transparency.Value(), 100);
    EXPECT_EQ(picker.Transparency.Min(), 0);
    EXPECT_EQ(picker.Transparency.Max(), 255);
    picker.Init_PickColor(kRulerBackground);
    EXPECT_EQ(picker.ItemLbl.Caption(), "Ruler Background");
    EXPECT_EQ(picker.Transparency.Value(), 150);
    picker.Init_PickColor(kScaleCrosshairs);
    EXPECT_EQ(picker.ItemLbl.Caption(), "Scale Crosshairs");
}

TEST_F(PickColorTest, TheBoxesTakeOnlyZeroTo255AndThePreviewFollows) {
    StartMeasurement();
    PickColor& picker = Picker(kCenterTick);
    TextBox& green = *picker.Channel[1];
    user::Type(green, "x7");
    EXPECT_EQ(green.Text(), "07");
    EXPECT_EQ(picker.EditColor(), RGB(125, 7, 0));
    user::Type(green, "9");
    EXPECT_EQ(green.Text(), "079");
    user::Type(green, "9");  // a fourth digit can never be a channel
    EXPECT_EQ(green.Text(), "079");
    user::Edit(green, "300");
    EXPECT_EQ(green.Text(), "079");
    user::Edit(green, "");
    EXPECT_EQ(picker.EditColor(), RGB(125, 0, 0));
    picker.Palette_Click(10);
    EXPECT_EQ(picker.Channel[0]->Text(), "255");
    EXPECT_EQ(picker.Preview.BackColor(), RGB(255, 255, 0));
    // Nothing is stored before Apply.
    EXPECT_EQ(G().ColorChoice[kCenterTick], RGB(125, 0, 0));
}

TEST_F(PickColorTest, ApplyStoresTheColourAndCancelPutsBackColourAndTransparency) {
    StartMeasurement();
    PickColor& picker = Picker(kMeasurementCrosshairs);
    picker.Palette_Click(8);
    user::Click(picker.ApplyBtn);
    EXPECT_EQ(G().ColorChoice[kMeasurementCrosshairs], RGB(255, 0, 0));
    EXPECT_FALSE(picker.Visible());

    picker.Init_PickColor(kMeasurementCrosshairs);
    picker.Show();
    picker.Palette_Click(0);
    user::Scroll(picker.Transparency, 30);
    EXPECT_EQ(G().CrosshairTransparency, 30);
    user::Click(picker.CancelBtn);
    EXPECT_EQ(G().ColorChoice[kMeasurementCrosshairs], RGB(255, 0, 0));
    EXPECT_EQ(G().CrosshairTransparency, 100);
    EXPECT_EQ(platform.alpha[program->cross0().hWnd()], 100);
    EXPECT_EQ(platform.alpha[program->cross1().hWnd()], 100);
}

TEST_F(PickColorTest, TheBarSetsBothWindowsOfAPairFirstOneFirst) {
    StartMeasurement(false, 4);
    PickColor& picker = Picker(kScaleCrosshairs);
    platform.calls.clear();
    user::Scroll(picker.Transparency, 200);
    const std::vector<std::string> expected = {Layered(program->scale0().hWnd(), 200),
                                               Layered(program->scale1().hWnd(), 200)};
    EXPECT_EQ(AlphaCalls(), expected);
    EXPECT_EQ(G().ScaleCrossTransparency, 200);

    picker.Init_PickColor(kRulerBackground);
    platform.calls.clear();
    user::Scroll(picker.Transparency, 255);
    EXPECT_EQ(AlphaCalls(), std::vector<std::string>{Layered(TheRuler().hWnd(), 255)});
    EXPECT_EQ(G().RulerTransparency, 255);
    // Preparing the dialog moves the bar without touching any window.
    platform.calls.clear();
    picker.Init_PickColor(kMeasurementCrosshairs);
    EXPECT_TRUE(AlphaCalls().empty());
}

TEST_F(PickColorTest, ClosingTheDialogCancels) {
    StartMeasurement();
    PickColor& picker = Picker(kRulerBackground);
    picker.Show();
    picker.Palette_Click(5);
    user::Scroll(picker.Transparency, 10);
    backend.Deliver([&] { picker.Form_QueryClose(); });
    EXPECT_EQ(G().ColorChoice[kRulerBackground], 0xAAAAAA);
    EXPECT_EQ(G().RulerTransparency, 150);
    EXPECT_FALSE(picker.Visible());
}

TEST_F(PickColorTest, AChosenTickColourAndTransparencySurviveARestart) {
    StartSem();
    backend.modalScript = [&](Form& f) {
        auto& picker = static_cast<PickColor&>(f);
        user::Edit(*picker.Channel[2], "200");
        user::Click(picker.ApplyBtn);
    };
    user::Click(Main().Settings);
    user::Click(*Main().TickColor[3]);
    EXPECT_EQ(G().ColorChoice[kOtherTicks], RGB(0, 0, 200));
    backend.modalScript = [&](Form& f) {
        auto& picker = static_cast<PickColor&>(f);
        user::Scroll(picker.Transparency, 220);
        user::Click(picker.ApplyBtn);
    };
    user::Click(Main().ColorBox);
    program->Exit();
    backend.modalScript = nullptr;
    Start();
    EXPECT_EQ(G().ColorChoice[kOtherTicks], RGB(0, 0, 200));
    EXPECT_EQ(Main().TickColor[3]->BackColor(), RGB(0, 0, 200));
    EXPECT_EQ(G().RulerTransparency, 220);
    EXPECT_EQ(platform.alpha[TheRuler().hWnd()], 220);
}

TEST_F(PickColorTest, ThePickerStandsAboveTheTopmostRulerOnTheMonitorItWasAskedFrom) {
    StartMeasurement();
    backend.MarkTopmost(TheRuler().hWnd(), true);  // as a window system's services do
    std::vector<Form*> order;
    Form* picker = nullptr;
    // The picker is unloaded as it closes, and a later use makes a new one: which form it was
    // is taken while it is up.
    backend.modalScript = [&](Form& f) {
        picker = &f;
        order = backend.StackingOrder();
    };
    user::DblClick(TheRuler());
    ASSERT_FALSE(order.empty());
    EXPECT_EQ(order.back(), picker) << "above the ruler while it is up";
    EXPECT_FALSE(backend.StaysOnTop(program->pickColor())) << "and only then";

    // Its place, pixels: a monitor at the left whose task bar takes the bottom 40 pixels, and a
    // second one at its right.
    const std::vector<ScreenRect> areas{{0, 0, 1920, 1040}, {1920, 0, 1280, 1024}};
    const double w = 304, h = 300;
    auto at = [&](const ScreenRect* over, double px, double py) {
        const auto [left, top] = DialogPlace(w, h, over, px, py, areas);
        return std::to_string(static_cast<int>(left)) + "," + std::to_string(static_cast<int>(top));
    };
    EXPECT_EQ(at(nullptr, 2500, 900), "2408,362") << "the ruler double-clicked on the second";
    EXPECT_EQ(at(nullptr, -60, 500), "808,370") << "a pointer beyond them: the nearest one";
    const ScreenRect control{100, 100, 400, 300};
    EXPECT_EQ(at(&control, 2500, 900), "148,100") << "over the control window that asked";
    const ScreenRect low{1800, 750, 400, 300};  // across both, its centre on the second
    EXPECT_EQ(at(&low, 0, 0), "1920,724") << "wholly on the monitor of its centre";
    EXPECT_EQ(at(&control, 0, 0), at(&control, 3000, 0)) << "the pointer does not matter then";
}

}  // namespace
}  // namespace tavrolin::testing
