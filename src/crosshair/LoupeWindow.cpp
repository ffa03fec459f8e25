#include "crosshair/LoupeWindow.h"

#include <algorithm>
#include <utility>

#include "app/Program.h"
#include "control/MainWindow.h"
#include "crosshair/Loupe.h"
#include "forms/Backend.h"
#include "forms/PixelScale.h"
#include "platform/WindowServices.h"
#include "settings/NumberText.h"

namespace tavrolin {

namespace {

// One axis of LoupePlace: the start of a span `size` long, `offset` from the centre `c`, kept
// off [c - reach, c + reach] and within [low, high) where the other side of the centre allows.
int PlaceAlong(int c, int reach, int size, int offset, bool bounded, int low, int high) {
    const int after = reach + 1 + kLoupeGap;         // the nearest start after the crosshair
    const int before = -(reach + kLoupeGap + size);  // the farthest start before it
    if (offset > before && offset < after) {
        // Over the crosshair or its row or column: to the side the loupe's middle is on.
        offset = offset + size / 2 >= 0 ? after : before;
    }
    // The same distance on the other side of the centre.
    const int mirrored = 1 - size - offset;
    auto fits = [&](int start) { return start >= low && start + size <= high; };
    if (bounded && !fits(c + offset) && fits(c + mirrored)) offset = mirrored;
    return c + offset;
}

bool PairActive(const GeneralCode& g, const Crosshair& c) {
    return c.PairKind() == Crosshair::Kind::Cross ? g.CrossActive : g.ScaleCrossActive;
}

}  // namespace

PixelPoint LoupePlace(PixelPoint centre, int reach, int width, int height,
                      std::optional<PixelPoint> offset, const std::vector<PixelBounds>& monitors) {
    const PixelPoint want =
        offset.value_or(PixelPoint{reach + 1 + kLoupeGap, reach + 1 + kLoupeGap});
    // The monitor under the centre.
    const PixelBounds* under = nullptr;
    for (const PixelBounds& m : monitors) {
        if (m.Contains(centre.x, centre.y)) {
            under = &m;
            break;
        }
    }
    const bool bounded = under != nullptr;
    const PixelBounds m = bounded ? *under : PixelBounds{};
    return {PlaceAlong(centre.x, reach, width, want.x, bounded, m.left, m.left + m.width),
            PlaceAlong(centre.y, reach, height, want.y, bounded, m.top, m.top + m.height)};
}

LoupeWindow::LoupeWindow(Program& program)
    : Form(program.backend(), "Loupe"),
      View(Add<Picture>("View")),
      Info(Add<Label>("Info")),
      p_(program) {
    SetCaption("Loupe");
    SetBorder(BorderStyle::None);
    SetTakesFocus(false);
    SetBackColor(0xFFFFFF);
    const double tpp = program.TwipsPerPixelX();
    Move(0, 0, kLoupePictureWidth * tpp, (kLoupePictureHeight + kLoupeCaptionHeight) * tpp);
    View.Move(0, 0, kLoupePictureWidth * tpp, kLoupePictureHeight * tpp);
    View.SetBackColor(0xFFFFFF);
    Info.Move(0, kLoupePictureHeight * tpp, kLoupePictureWidth * tpp, kLoupeCaptionHeight * tpp);
    Info.SetAlignment(Label::Align::Center);
    Info.SetWordWrap(false);
    Info.SetFontSize(7.5);
    Info.SetToolTipText("Wheel or + and -: zoom. Drag to move.");
    // The face of the window is the picture and its caption: both drag it and zoom it.
    for (Control* c : {static_cast<Control*>(&View), static_cast<Control*>(&Info)}) {
        c->onMouseDown = [this, c](int b, int s, double x, double y) {
            Form_MouseDown(b, s, x + c->Left(), y + c->Top());
        };
        c->onMouseMove = [this, c](int b, int s, double x, double y) {
            Form_MouseMove(b, s, x + c->Left(), y + c->Top());
        };
        c->onMouseUp = [this, c](int b, int s, double x, double y) {
            Form_MouseUp(b, s, x + c->Left(), y + c->Top());
        };
    }
}

void LoupeWindow::Form_Load() { MakeTopmost(p_.platform(), *this); }

void LoupeWindow::Form_Unload() { StopRefreshing(); }

void LoupeWindow::StopRefreshing() {
    backend().StopTimer(timer_);
    timer_ = 0;
}

void LoupeWindow::Form_MouseDown(int button, int, double x, double y) {
    if ((button & kLeftButton) == 0) return;
    dragging_ = true;
    pressX_ = x;
    pressY_ = y;
}

void LoupeWindow::Form_MouseMove(int button, int, double x, double y) {
    if (!dragging_ || (button & kLeftButton) == 0) return;
    Move(RoundHalfEven(Left() + x - pressX_), RoundHalfEven(Top() + y - pressY_));
}

void LoupeWindow::Form_MouseUp(int button, int, double, double) {
    if (!dragging_ || (button & kLeftButton) == 0) return;
    dragging_ = false;
    if (Crosshair* c = Target()) {
        // The drop place becomes the loupe's place beside the crosshair from now on.
        const PixelScale s(p_.TwipsPerPixelX(), p_.TwipsPerPixelY());
        const PixelPoint centre = c->CentrePixel();
        offset_ = PixelPoint{s.ToPixelsX(Left()) - centre.x, s.ToPixelsY(Top()) - centre.y};
    }
    Update();
}

void LoupeWindow::Form_MouseWheel(int delta, int) {
    // A step a notch; a fine wheel's smaller turns add up to notches.
    wheelRest_ += delta;
    const int steps = wheelRest_ / 120;
    wheelRest_ -= steps * 120;
    Zoom(steps);
}

void LoupeWindow::Form_KeyPress(int& keyAscii) {
    if (keyAscii == '+' || keyAscii == '=') {
        Zoom(1);
    } else if (keyAscii == '-') {
        Zoom(-1);
    } else {
        return;
    }
    keyAscii = 0;
}

void LoupeWindow::Zoom(int steps) {
    if (steps == 0) return;
    auto& g = p_.g();
    const int zoom = ClampZoom(g.LoupeZoom + steps);
    if (zoom == g.LoupeZoom) return;
    g.LoupeZoom = zoom;
    Update();
}

Crosshair* LoupeWindow::Target() {
    const auto& g = p_.g();
    auto pick = [this](Crosshair::Kind kind, int index) -> Crosshair& {
        if (kind == Crosshair::Kind::Cross) return index == 0 ? p_.cross0() : p_.cross1();
        return index == 0 ? p_.scale0() : p_.scale1();
    };
    auto usable = [&g](Crosshair& c) { return c.Loaded() && c.Visible() && PairActive(g, c); };
    if (chosen_ && usable(pick(kind_, index_))) return &pick(kind_, index_);
    // The one chosen is docked or hidden: the first crosshair in use.
    if (g.CrossActive && usable(p_.cross0())) return &p_.cross0();
    if (g.ScaleCrossActive && usable(p_.scale0())) return &p_.scale0();
    return nullptr;
}

void LoupeWindow::Follow(const Crosshair& crosshair) {
    kind_ = crosshair.PairKind();
    index_ = crosshair.PairIndex();
    chosen_ = true;
    Update();
}

void LoupeWindow::Place(PixelPoint centre, const Form& crosshair) {
    const Screen& screen = backend().screen();
    const PixelScale s(screen.TwipsPerPixelX, screen.TwipsPerPixelY);
    const int reach = s.ToPixelsX(crosshair.Width()) / 2;
    const PixelPoint at = LoupePlace(centre, reach, s.ToPixelsX(Width()), s.ToPixelsY(Height()),
                                     offset_, MonitorsInPixels(screen));
    Move(s.ToTwipsX(at.x), s.ToTwipsY(at.y));
}

void LoupeWindow::Repaint(PixelPoint centre) {
    // The windows where the model has them, so that what is read is what they leave open.
    backend().Sync();
    LoupePicture picture = PaintLoupe(backend(), centre, p_.g().LoupeZoom);
    View.SetPicture(picture.width, picture.height, std::move(picture.rgb));
    Info.SetCaption(picture.caption);
}

void LoupeWindow::Update() {
    const auto& g = p_.g();
    Crosshair* target = g.LoupeOn != 0 && g.MeasurementModeOn ? Target() : nullptr;
    if (target == nullptr) {
        StopRefreshing();
        dragging_ = false;
        if (Loaded() && Visible()) Hide();
        return;
    }
    const PixelPoint centre = target->CentrePixel();
    if (!dragging_) Place(centre, *target);
    if (!Visible()) Show();
    Repaint(centre);
    if (timer_ == 0) timer_ = backend().StartTimer(kLoupeRefreshMs, [this] { Update(); });
}

void SetLoupe(Program& p, bool on) {
    auto& g = p.g();
    if ((g.LoupeOn != 0) == on) return;
    g.LoupeOn = on ? 1 : 0;
    p.mainWindow().ShowLoupeSwitch();
    for (Crosshair* c : {&p.cross0(), &p.cross1(), &p.scale0(), &p.scale1()}) c->ShowShape();
    p.UpdateLoupe();
}

void LoupeFollows(Program& p, const Crosshair& crosshair) {
    if (p.g().LoupeOn == 0 || !p.g().MeasurementModeOn) return;
    p.loupe().Follow(crosshair);
}

}  // namespace tavrolin
