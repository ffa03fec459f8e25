// The measurement panel: unit factors, the scale-bar and uncertainty boxes, and the distance
// it shows.
#include <gtest/gtest.h>

#include "RulerFixture.h"
#include "control/FieldRules.h"
#include "crosshair/DistanceWindow.h"
#include "crosshair/ScaleDistance.h"

namespace tavrolin::testing {
namespace {

class MeasurementPanel : public RulerTest {
protected:
    void StartPanel(int units, double scale = 100, double uncertainty = 3) {
        StartWith([&](Settings& s) {
            s.MeasureMode = 1;
            s.ActiveFrame = 4;
            s.MeasUnitsIndex = units;
            s.MeasScaleValue = scale;
            s.MeasScaleUncertainty = uncertainty;
        });
    }
    void PlaceMarker(int k, std::int32_t pos) {
        auto& p = G().MarkerPos[static_cast<std::size_t>(k)];
        p = pos;
        backend.Deliver([&] { TheRuler().SetMarker(k, p, true); });
    }
    std::string Shown() { return Main().MeasureDist.Text(); }
    std::string Readout() { return program->distanceWindow().Distance.Text(); }
};

TEST_F(MeasurementPanel, EachUnitSetsItsFactorPrecisionAndTip) {
    StartPanel(1);
    MainWindow& mw = Main();
    EXPECT_EQ(G().UnitsCode, 2);
    EXPECT_DOUBLE_EQ(G().PixelsPerUnit, 56.69 / 15);
    EXPECT_EQ(program->distanceWindow().Distance.ToolTipText(), "Millimeters.");
    EXPECT_FALSE(mw.ScaleDist.Enabled());

    user::Click(mw.Option2);
    EXPECT_EQ(G().MeasUnitsIndex, 2);
    EXPECT_EQ(G().UnitsCode, 3);
    EXPECT_DOUBLE_EQ(G().PixelsPerUnit, 96);

    user::Click(mw.Option3);
    EXPECT_EQ(G().UnitsCode, 0);
    EXPECT_EQ(G().PixelsPerUnit, 1.0);
    EXPECT_EQ(program->distanceWindow().Distance.ToolTipText(), "Pixels.");

    user::Click(mw.Option4);
    EXPECT_EQ(G().MeasUnitsIndex, 4);
    EXPECT_EQ(G().UnitsCode, 4);
    EXPECT_EQ(mw.Option4.BackColor(), kHighlightColor);
    EXPECT_TRUE(mw.ScaleDist.Enabled());
    EXPECT_TRUE(mw.Uncertainty.Enabled());
    EXPECT_TRUE(mw.Label4.Enabled());
    EXPECT_TRUE(TheRuler().ScaleLine1[0]->Visible());
    // Scale markers 2812 and 4688 twips along the ruler, after snapping to pixels: 2805, 4695.
    EXPECT_DOUBLE_EQ(G().PixelsPerUnit, ThroughDecimalText(1890.0 / 100) / 15);

    user::Click(mw.Option3);
    EXPECT_EQ(mw.Option4.BackColor(), kButtonFaceColor);
    EXPECT_FALSE(mw.Uncertainty.Enabled());
    EXPECT_FALSE(TheRuler().ScaleLine1[0]->Visible());
    EXPECT_EQ(mw.Label3.Caption(), "Distance");
}

TEST_F(MeasurementPanel, TheScaleBoxTakesDigitsAndAPointAndTheUncertaintyBoxDigitsOnly) {
    StartPanel(4);
    TextBox& scale = Main().ScaleDist;
    user::Type(scale, "a-,");
    EXPECT_EQ(scale.Text(), "100");
    user::Type(scale, ".5");
    EXPECT_EQ(scale.Text(), "100.5");
    TextBox& uncertainty = Main().Uncertainty;
    user::Type(uncertainty, ".x5");
    EXPECT_EQ(uncertainty.Text(), "35");
    EXPECT_EQ(G().UncertaintyPct, 35);
}

TEST_F(MeasurementPanel, WellFormedScaleLengthsAreTakenAndTheRestRefused) {
    StartPanel(4);
    TextBox& scale = Main().ScaleDist;
    for (const char* text : {"12", "5.5", "12.0", "0.5", "0.0001", "10000000"}) {
        user::Edit(scale, text);
        EXPECT_EQ(scale.Text(), text);
        EXPECT_EQ(G().LastScaleText, text);
        EXPECT_EQ(G().MeasScaleValue, Val(text));
    }
    user::Edit(scale, "007.5");
    EXPECT_EQ(scale.Text(), "7.5");
    user::Edit(scale, ".25");
    EXPECT_EQ(scale.Text(), "0.25");
    EXPECT_EQ(program->scaleDistance().Distance.Text(), "0.25");
    for (const char* text : {"0.00009", "10000001", "1.2.3", "1e3", " 4", "-4", "abc"}) {
        user::Edit(scale, text);
        EXPECT_EQ(scale.Text(), "0.25") << text;
        EXPECT_EQ(G().ScaleValue, 0.25) << text;
        EXPECT_EQ(G().ScaleBarLength, 0.25) << text;  // what the windows calibrate on
    }
}

TEST_F(MeasurementPanel, AnEmptyOrZeroScaleShowsTheInvalidCaseAndKeepsTheSetting) {
    StartPanel(4);
    TextBox& scale = Main().ScaleDist;
    for (const char* typing : {"", "0", "0.", "0.00"}) {
        user::Edit(scale, typing);
        EXPECT_EQ(scale.Text(), typing);
        EXPECT_EQ(G().PixelsPerUnit, 0) << typing;
        EXPECT_EQ(G().ScaleBarLength, 0) << typing;
        EXPECT_EQ(Shown(), "Green Mark Distance = 0");
        EXPECT_EQ(Readout(), "Invalid");
    }
    EXPECT_EQ(G().MeasScaleValue, 100);
    user::Type(scale, "5");  // "0.005"
    EXPECT_EQ(scale.Text(), "0.005");
    EXPECT_EQ(G().MeasScaleValue, 0.005);
    EXPECT_NE(Shown(), "Green Mark Distance = 0");
}

TEST_F(MeasurementPanel, AStoredZeroScaleStartsInvalidWithoutDividing) {
    StartPanel(4, 0);
    EXPECT_EQ(Main().ScaleDist.Text(), "0");
    EXPECT_EQ(G().PixelsPerUnit, 0);
    EXPECT_EQ(Shown(), "Green Mark Distance = 0");
    EXPECT_EQ(Readout(), "Invalid");
    program->Exit();
    EXPECT_EQ(ConfigValue("Tavrolin.cfg", "MeasScaleValue"), "0");
}

TEST_F(MeasurementPanel, TheUncertaintyIsClampedToZeroToAHundred) {
    StartPanel(4);
    TextBox& box = Main().Uncertainty;
    user::Edit(box, "150");
    EXPECT_EQ(box.Text(), "100");
    EXPECT_EQ(G().UncertaintyPct, 100);
    user::Edit(box, "-3");
    EXPECT_EQ(box.Text(), "0");
    user::Edit(box, "x");
    EXPECT_EQ(box.Text(), "0");
    user::Edit(box, "");
    EXPECT_EQ(box.Text(), "0");
    user::Edit(box, "12.5");
    EXPECT_EQ(G().MeasScaleUncertainty, 12.5);
}

TEST_F(MeasurementPanel, TheDistanceIsShownInTheChosenUnit) {
    StartPanel(3);
    PlaceMarker(0, 1500);
    PlaceMarker(1, 3000);  // 100 pixels apart
    EXPECT_EQ(Shown(), "100");
    EXPECT_EQ(Readout(), "100");
    user::Click(Main().Option1);
    EXPECT_EQ(Shown(), "26.46");  // 100 / (56.69 / 15)
    user::Click(Main().Option2);
    EXPECT_EQ(Shown(), "1.042");
    // Markers on one pixel are zero apart.
    PlaceMarker(1, 1500);
    EXPECT_EQ(Shown(), "0.0");
}

TEST_F(MeasurementPanel, UserUnitsCarryTheScaleBarUncertainty) {
    StartPanel(4, 10, 3);
    PlaceMarker(2, 1500);
    PlaceMarker(3, 2250);  // the scale bar: 50 pixels for 10 units
    PlaceMarker(0, 1500);
    PlaceMarker(1, 3000);  // 100 pixels: 20 units
    EXPECT_DOUBLE_EQ(G().PixelsPerUnit, 5);
    EXPECT_EQ(Readout(), "20.0");
    EXPECT_EQ(Shown(), "20.0  ( \xC2\xB1 0.6 = 3.0% )");
    user::Edit(Main().Uncertainty, "0");
    EXPECT_EQ(Shown(), "20.0  ( \xC2\xB1 0.0 )");
    // Typing a new scale length recalibrates at once.
    user::Edit(Main().ScaleDist, "20");
    EXPECT_EQ(Readout(), "40.0");
    // Green marks on one pixel calibrate nothing.
    PlaceMarker(3, 1500);
    EXPECT_EQ(Shown(), "Green Mark Distance = 0");
    EXPECT_EQ(Readout(), "Invalid");
}

TEST_F(MeasurementPanel, TheScaleRulesHoldAsPureText) {
    EXPECT_EQ(JudgeScaleText("12").kind, ScaleVerdict::Accepted);
    EXPECT_EQ(JudgeScaleText("12.").text, "12.");
    EXPECT_EQ(JudgeScaleText("00.5").text, "0.5");
    EXPECT_EQ(JudgeScaleText("0.50").text, "0.50");
    EXPECT_EQ(JudgeScaleText(".").kind, ScaleVerdict::Pending);
    EXPECT_EQ(JudgeScaleText("+5").kind, ScaleVerdict::Refused);
    EXPECT_EQ(JudgeScaleText("9999999999999999999999").kind, ScaleVerdict::Refused);
    EXPECT_EQ(ClampUncertaintyText("100"), "100");
    EXPECT_EQ(ClampUncertaintyText("100.5"), "100");
    EXPECT_EQ(ClampUncertaintyText("1e400"), "100");
}

}  // namespace
}  // namespace tavrolin::testing
