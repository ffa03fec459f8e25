// The ruler's keys: one-pixel nudges of the ruler or the selected marker, Shift to select and
// flash the next marker, Space or Tab to turn the ruler, Enter to record the reading, Esc to
// leave without saving.
#include <cstdlib>

#include "app/GeneralCode.h"
#include "app/Program.h"
#include "control/Calibrations.h"
#include "control/KeepDialog.h"
#include "control/MainWindow.h"
#include "control/MeasurementLog.h"
#include "crosshair/Docking.h"
#include "crosshair/DistanceWindow.h"
#include "forms/Backend.h"
#include "platform/Platform.h"
#include "ruler/Ruler.h"
#include "ruler/WexoIcon.h"
#include "settings/NumberText.h"

namespace tavrolin {

namespace {
bool IsLeft(int k) { return k == kKeyLeft || k == kKeyNumpad4; }
bool IsRight(int k) { return k == kKeyRight || k == kKeyNumpad6; }
bool IsUp(int k) { return k == kKeyUp || k == kKeyNumpad8; }
bool IsDown(int k) { return k == kKeyDown || k == kKeyNumpad2; }
}  // namespace

void Ruler::FlashMarker(int marker) {
    Line& line = marker < 2 ? *Line2[static_cast<std::size_t>(marker)]
                            : *ScaleLine2[static_cast<std::size_t>(marker - 2)];
    line.SetBorderColor(kHighlightColor);
    p_.backend().DoEvents();
    p_.platform().Sleep(300);
    line.SetBorderColor(marker < 2 ? MarkerColor : ScaleMarkerColor);
}

void Ruler::Form_KeyDown(int& keyCode, int& shift) {
    auto& g = p_.g();
    if (keyCode == kKeyEscape) {
        // The help promises that Esc leaves without saving any changes.
        p_.Exit(false);
        return;
    }
    KeyUsed = false;
    const bool measMode = g.MeasurementModeOn;
    const std::int32_t step = RoundHalfEven(p_.TwipsPerPixelX());
    if (measMode) {
        if (keyCode == kKeyReturn && shift == 0) {
            RecordReading(p_);
            keyCode = 0;
        } else if (shift == kCtrlMask && keyCode >= '1' && keyCode <= '9') {
            RecallCalibration(p_, keyCode - '1');
        } else if (shift == kCtrlMask && keyCode == 'S') {
            OpenKeepDialog(p_);
        } else if (keyCode == kKeySpace || (keyCode == kKeyTab && shift == 0)) {
            p_.mainWindow().ChooseOrientation(!g.HorizontalRuler);
        } else if (keyCode == kKeyShift && shift == kShiftMask) {
            if (GrabMarker >= -3 && GrabMarker <= 0) --GrabMarker;
            const int lowest = (g.MeasUnitsIndex == 4 && !g.ScaleCrossActive) ? -3 : -1;
            if (GrabMarker < lowest || GrabMarker > 0) GrabMarker = 0;
            SelMarker = std::abs(GrabMarker);
            if (SelMarker < 2 && !Line2[static_cast<std::size_t>(SelMarker)]->Visible()) {
                SelMarker += 2;
                GrabMarker -= 2;
            }
            FlashMarker(SelMarker);
        } else if (shift == 0 && GrabMarker >= -3 && GrabMarker <= 0) {
            KeyUsed = true;
            SelMarker = std::abs(GrabMarker);
            std::int32_t& pos = g.MarkerPos[static_cast<std::size_t>(SelMarker)];
            const std::int32_t p = pos;
            int move = 0;  // -1 back, +1 forward along the ruler
            std::int32_t dx = 0, dy = 0;
            const double tpp = p_.TwipsPerPixelX();
            if (Horizontal()) {
                if (IsLeft(keyCode) && p > g.GrabUnit) move = -1;
                if (IsRight(keyCode) && p < Width() - g.GrabUnit) move = 1;
                if (IsUp(keyCode)) dy = PixelStep(Top(), -1, tpp);
                if (IsDown(keyCode)) dy = PixelStep(Top(), 1, tpp);
            } else {
                if (IsUp(keyCode) && p >= 1) move = -1;
                if (IsDown(keyCode) && p < Height() - 5.0 * step) move = 1;
                if (IsLeft(keyCode)) dx = PixelStep(Left(), -1, tpp);
                if (IsRight(keyCode)) dx = PixelStep(Left(), 1, tpp);
            }
            if (move != 0) {
                pos = p + PixelStep(p, move, tpp);
                SetMarker(SelMarker, pos, false);
            } else if (dx != 0 || dy != 0) {
                MoveWithDocked(dx, dy);
                p_.wexoIcon().Shift();
                p_.distanceWindow().Shift();
            }
            RepaintMarkerLines(SelMarker >= 2);
        }
    }
    if (!p_.Running() || !Loaded()) return;
    if (!KeyUsed && (!measMode || GrabMarker == -999)) {
        // One screen pixel a press, also where a pixel is no whole number of twips.
        const double tpp = p_.TwipsPerPixelX();
        std::int32_t dx = 0, dy = 0;
        if (IsLeft(keyCode)) dx = PixelStep(Left(), -1, tpp);
        if (IsRight(keyCode)) dx = PixelStep(Left(), 1, tpp);
        if (IsUp(keyCode)) dy = PixelStep(Top(), -1, tpp);
        if (IsDown(keyCode)) dy = PixelStep(Top(), 1, tpp);
        if (dx != 0 || dy != 0) {
            MoveWithDocked(dx, dy);
            p_.wexoIcon().Shift();
            p_.distanceWindow().Shift();
        }
    }
}

}  // namespace tavrolin
