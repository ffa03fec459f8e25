#include "crosshair/Crosshair.h"

#include <cmath>
#include <cstdlib>

#include "app/Program.h"
#include "control/Calibrations.h"
#include "control/KeepDialog.h"
#include "control/MeasurementLog.h"
#include "crosshair/CrossDistance.h"
#include "crosshair/Docking.h"
#include "crosshair/EdgeWalk.h"
#include "crosshair/LoupeWindow.h"
#include "crosshair/ScaleDistance.h"
#include "forms/Backend.h"
#include "forms/PixelScale.h"
#include "picker/PickColor.h"
#include "platform/WindowServices.h"
#include "settings/NumberText.h"

namespace tavrolin {

namespace {
std::string NameOf(Crosshair::Kind kind, int index) {
    return (kind == Crosshair::Kind::Cross ? "Cross" : "Scale") + std::to_string(index);
}

// The window in use, pixels, and the brackets that remain of it while the loupe is on: each
// arm kBracketArm long and kBracketBar thick, along the window's edges from its corners.
constexpr int kInUseSize = 25;
constexpr int kBracketArm = 8;
constexpr int kBracketBar = 3;

constexpr int kKeyL = 'L';
}  // namespace

Crosshair::Crosshair(Program& program, Kind kind, int index)
    : Form(program.backend(), NameOf(kind, index)),
      Line1(Add<Line>("Line1")),
      Line2(Add<Line>("Line2")),
      p_(program),
      kind_(kind),
      index_(index) {
    SetBorder(BorderStyle::None);
    // The focus sits in HiddenBox (or on the form); the form must still see the arrow keys.
    SetKeyPreview(true);
    if (index == 0) {
        MyToolTip = &Add<TextBox>("MyToolTip");
        MyToolTip->SetToolTipText(
            "Use Arrow keys for precise positioning.  Use Shift to select other crosshair.");
        MyToolTip->SetLocked(true);
        MyToolTip->SetVisible(false);
        HiddenBox = &Add<TextBox>("HiddenBox");
        HiddenBox->SetLocked(true);
        HiddenBox->Move(-1000, -1000, 15, 15);

        // The tip box covers a corner of the cross: a press there starts a drag as on the form,
        // but does not count as the press that activates the pair.
        MyToolTip->onMouseDown = [this](int, int, double x, double y) {
            StartX = RoundHalfEven(x);
            StartY = RoundHalfEven(y);
        };
        MyToolTip->onMouseMove = [this](int button, int shift, double x, double y) {
            Form_MouseMove(button, shift, x, y);
        };
        MyToolTip->onMouseUp = [this](int button, int shift, double x, double y) {
            Form_MouseUp(button, shift, x, y);
        };
        MyToolTip->onDblClick = [this] { Form_DblClick(); };
        MyToolTip->onGotFocus = [this] { SetFocus(HiddenBox); };
    }
}

void Crosshair::Form_Load() {
    auto& g = p_.g();
    SetSize(11);
    const bool cross = kind_ == Kind::Cross;
    SetBackColor(g.ColorChoice[cross ? kMeasurementCrosshairs : kScaleCrosshairs]);
    auto alpha =
        static_cast<std::int16_t>(cross ? g.CrosshairTransparency : g.ScaleCrossTransparency);
    std::int32_t hwnd = hWnd();
    SetTransparency(p_.platform(), alpha, hwnd);
    MakeTopmost(p_.platform(), *this);
}

void Crosshair::SetSize(int size) {
    const double tpp = p_.TwipsPerPixelX();
    const double h = size * tpp;
    SetHeight(h);
    SetWidth(h);
    // The bars stand on the pixel left and above the middle: an 11-pixel window has 5 pixels
    // on either side of them.
    const double mid = (h - tpp) / 2;
    Line1.SetX1(0);
    Line1.SetY1(mid);
    Line1.SetX2(h);
    Line1.SetY2(mid);
    Line2.SetX1(mid);
    Line2.SetY1(0);
    Line2.SetX2(mid);
    Line2.SetY2(h);
    Line1.SetBorderColor(0);
    Line2.SetBorderColor(0);
    ShowShape();
    if (MyToolTip != nullptr) {
        if (size == 25) {
            MyToolTip->SetVisible(true);
            MyToolTip->Move(h - 10 * tpp, h - 10 * tpp, 10 * tpp, 10 * tpp);
            MyToolTip->SetBackColor(BackColor());
            MyToolTip->SetText("  ");
        } else {
            MyToolTip->SetVisible(false);
        }
    }
}

bool Crosshair::InUse() const {
    const auto& g = p_.g();
    return kind_ == Kind::Cross ? g.CrossActive : g.ScaleCrossActive;
}

void Crosshair::ShowShape() {
    const double tpp = p_.TwipsPerPixelX();
    const bool open = p_.g().LoupeOn != 0 && std::lround(Width() / tpp) == kInUseSize;
    if (!open) {
        SetShape({});
        return;
    }
    std::vector<ScreenRect> parts;
    const double arm = kBracketArm * tpp, bar = kBracketBar * tpp, far = kInUseSize * tpp;
    for (double x : {0.0, far - arm}) {
        for (double y : {0.0, far - bar}) parts.push_back({x, y, arm, bar});
    }
    for (double x : {0.0, far - bar}) {
        for (double y : {0.0, far - arm}) parts.push_back({x, y, bar, arm});
    }
    SetShape(std::move(parts));
}

void Crosshair::Step(std::int32_t& xOff, std::int32_t& yOff) {
    // Whole twips, so that the corners stored for the arithmetic are the window's own.
    Move(RoundHalfEven(Left() + xOff), RoundHalfEven(Top() + yOff));
}

void Crosshair::DockSwitch(bool flag) {
    if (kind_ == Kind::Cross) {
        DockCrosshairs(p_, flag);
    } else {
        DockScaleCrosshairs(p_, flag);
    }
}

void Crosshair::Moved() {
    auto& g = p_.g();
    const auto k = static_cast<std::size_t>(index_);
    if (kind_ == Kind::Cross) {
        g.CrossX[k] = RoundHalfEven(Left());
        g.CrossY[k] = RoundHalfEven(Top());
        p_.crossDistance().Update();
    } else {
        g.ScaleX[k] = RoundHalfEven(Left());
        g.ScaleY[k] = RoundHalfEven(Top());
        p_.scaleDistance().Update();
    }
}

void Crosshair::Form_MouseDown(int, int, double x, double y) {
    StartX = RoundHalfEven(x);
    StartY = RoundHalfEven(y);
    const auto& g = p_.g();
    const bool wasActive = kind_ == Kind::Cross ? g.CrossActive : g.ScaleCrossActive;
    DockSwitch(false);
    const bool active = kind_ == Kind::Cross ? g.CrossActive : g.ScaleCrossActive;
    if (active && !wasActive) {
        // The window has just moved under the pointer to keep its centre; the press point moves
        // with it, or the first drag step would undo the centring.
        StartX -= g.StepOffset;
        StartY -= g.StepOffset;
    }
    if (active) LoupeFollows(p_, *this);
}

void Crosshair::Form_MouseMove(int button, int, double x, double y) {
    if ((button & kLeftButton) == 0) return;
    DragX = RoundHalfEven(x) - StartX;
    DragY = RoundHalfEven(y) - StartY;
    const double tpp = p_.TwipsPerPixelX();
    // A one-pixel tremble of the hand is no drag; only more than a pixel moves the window.
    if (std::abs(DragX) > tpp || std::abs(DragY) > tpp) {
        SetTop(RoundHalfEven(Top() + DragY));
        SetLeft(RoundHalfEven(Left() + DragX));
        Moved();
        LoupeFollows(p_, *this);
    }
}

void Crosshair::Form_MouseUp(int, int, double, double) {
    p_.backend().SetMousePointer(kPointerDefault);
    SetFocus(HiddenBox);
}

void Crosshair::Form_DblClick() {
    const int item = kind_ == Kind::Cross ? kMeasurementCrosshairs : kScaleCrosshairs;
    PickItemColor(p_, item, [this](Color chosen) {
        SetBackColor(chosen);
        if (MyToolTip != nullptr) MyToolTip->SetBackColor(chosen);
    });
}

Form& Crosshair::NextInCycle() {
    if (kind_ == Kind::Cross) {
        return index_ == 0 ? static_cast<Form&>(p_.cross1()) : p_.crossDistance();
    }
    return index_ == 0 ? static_cast<Form&>(p_.scale1()) : p_.scaleDistance();
}

void Crosshair::Form_Activate() {
    if (InUse()) LoupeFollows(p_, *this);
}

PixelPoint Crosshair::CentrePixel() const {
    const PixelScale s(p_.TwipsPerPixelX(), p_.TwipsPerPixelY());
    return {s.ToPixelsX(Left()) + (s.ToPixelsX(Width()) - 1) / 2,
            s.ToPixelsY(Top()) + (s.ToPixelsY(Height()) - 1) / 2};
}

void Crosshair::JumpToEdge(std::int32_t dx, std::int32_t dy) {
    const PixelPoint centre = CentrePixel();
    // The windows where the model has them, so that what is read is what they leave open.
    p_.backend().Sync();
    const auto edge = EdgeJump(p_.backend(), centre, (dx > 0) - (dx < 0), (dy > 0) - (dy < 0),
                               p_.g().EdgeTolerance);
    if (!edge) return;
    const double tpp = p_.TwipsPerPixelX();
    std::int32_t xOff = PixelStep(Left(), edge->x - centre.x, tpp);
    std::int32_t yOff = PixelStep(Top(), edge->y - centre.y, tpp);
    Step(xOff, yOff);
}

void Crosshair::Form_KeyPress(int& keyAscii) {
    // + and - zoom the loupe, which never has the focus itself.
    if (p_.g().LoupeOn != 0 && InUse()) p_.loupe().Form_KeyPress(keyAscii);
}

void Crosshair::Form_KeyDown(int& keyCode, int& shift) {
    const bool loupe = p_.g().LoupeOn != 0;
    if (keyCode == kKeyL && shift == 0 && InUse()) {
        SetLoupe(p_, !loupe);
        return;
    }
    if (shift == kCtrlMask && keyCode >= '1' && keyCode <= '9' && InUse()) {
        RecallCalibration(p_, keyCode - '1');
        return;
    }
    if (shift == kCtrlMask && keyCode == 'S' && InUse()) {
        OpenKeepDialog(p_);
        return;
    }
    if (keyCode == kKeyReturn && shift == 0 && InUse()) {
        RecordReading(p_);
        keyCode = 0;
        return;
    }
    std::int32_t dx = 0, dy = 0;
    ArrowOffset(keyCode, Left(), Top(), p_.TwipsPerPixelX(), dx, dy);
    if (loupe && InUse() && (shift & kCtrlMask) != 0 && (dx != 0 || dy != 0)) {
        JumpToEdge(dx, dy);
        LoupeFollows(p_, *this);
    } else if (dx != 0 || dy != 0) {
        Step(dx, dy);
        LoupeFollows(p_, *this);
    } else if (ShiftAlone(keyCode, shift)) {
        // Cross1 hands on to its read-out with a shorter blink than the crosshairs use.
        const int wait = (kind_ == Kind::Cross && index_ == 1) ? 100 : 200;
        BlinkAndFocus(p_, NextInCycle(), wait);
    }
    Moved();
}

}  // namespace tavrolin
