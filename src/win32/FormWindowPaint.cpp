// The form's line shapes painted with GDI through an off-screen bitmap: what changed is
// collected as damage and painted at the next flush.
#include "win32/FormWindow.h"

#include <algorithm>

#include "win32/FormWindowParts.h"

namespace tavrolin::win32 {

namespace {

bool Intersects(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// A colour of the model (0x00BBGGRR) as a pixel of a 32-bit DIB (0x00RRGGBB).
std::uint32_t PixelOf(Color c) {
    return static_cast<std::uint32_t>((RedOf(c) << 16) | (GreenOf(c) << 8) | BlueOf(c));
}

}  // namespace

void FormWindow::Damage(const RECT* part) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    RECT r = client;
    if (part != nullptr && !IntersectRect(&r, part, &client)) return;
    UnionRect(&dirty_, &dirty_, &r);
}

void FormWindow::PaintPending() {
    if (hwnd_ == nullptr) return;
    if (!IsRectEmpty(&dirty_)) {
        const RECT part = dirty_;
        dirty_ = RECT{};
        // Painted at once rather than invalidated for a WM_PAINT: a drag repaints at every
        // move of the mouse, and the round of update regions a WM_PAINT takes costs more than
        // the painting. A hidden window is painted whole by the system when it is shown.
        if (IsWindowVisible(hwnd_)) {
            HDC dc = GetDC(hwnd_);
            PaintInto(dc, part);
            ReleaseDC(hwnd_, dc);
        }
    }
    if (paintPending_) {
        paintPending_ = false;
        UpdateWindow(hwnd_);
    }
}

RECT FormWindow::LineBounds(const Line& line) const {
    return RectOf(LineBox(line, Scale()));
}

void FormWindow::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    PaintInto(dc, ps.rcPaint);
    EndPaint(hwnd_, &ps);
}

void FormWindow::PaintInto(HDC dc, const RECT& part) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const SIZE need{std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom)};
    if (mem_ == nullptr || mem_->Width() < need.cx || mem_->Height() < need.cy) {
        // One bitmap the size of the window, kept: a drag repaints without allocating. Its
        // pixels are at hand, so that thousands of ticks are filled in memory rather than by
        // a call to the system each.
        auto bitmap = std::make_unique<Dib>(dc, need.cx, need.cy);
        if (!bitmap->Ok()) return;
        mem_ = std::move(bitmap);
    }
    HDC memDc = mem_->Dc();
    std::uint32_t* memBits = mem_->Bits();
    // What lies beyond the screens waits until the window brings it on screen: a ruler may be
    // many screens long, and only its part on screen is worth a repaint during a drag.
    RECT screen = backend_.Desktop();
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&screen), 2);
    const PixelBox onScreen = OnDesktop(BoxOf(part), BoxOf(screen));
    RECT exposed = RectOf(onScreen);
    const RECT bitmapRect{0, 0, mem_->Width(), mem_->Height()};
    if (onScreen.Empty() || !IntersectRect(&exposed, &exposed, &bitmapRect)) exposed = RECT{};
    if (!EqualRect(&exposed, &part)) {
        if (IsRectEmpty(&deferred_)) {
            deferred_ = part;
        } else {
            UnionRect(&deferred_, &deferred_, &part);
        }
    }
    if (IsRectEmpty(&exposed) || form_ == nullptr) return;
    GdiFlush();  // the system has finished with the bitmap before its pixels are written
    const LONG stride = mem_->Width();
    auto fill = [&](RECT r, std::uint32_t pixel) {
        if (!IntersectRect(&r, &r, &exposed)) return;
        for (LONG y = r.top; y < r.bottom; ++y) {
            std::fill(memBits + y * stride + r.left, memBits + y * stride + r.right, pixel);
        }
    };
    fill(exposed, PixelOf(form_->BackColor()));
    const PixelScale s = Scale();
    for (const Line* line : form_->Lines()) {
        if (line->Container() != nullptr || !line->ShownInForm()) continue;
        // Every line of the ruler and the crosshairs is level or plumb, and filled.
        const PixelBox filled = LineFill(*line, s);
        if (!filled.Empty()) {
            fill(RectOf(filled), PixelOf(line->BorderColor()));
            continue;
        }
        const RECT bounds = LineBounds(*line);
        if (!Intersects(bounds, exposed)) continue;
        const int ax = s.ToPixelsX(line->X1()), ay = s.ToPixelsY(line->Y1());
        const int bx = s.ToPixelsX(line->X2()), by = s.ToPixelsY(line->Y2());
        const int w = line->BorderWidth();
        LOGBRUSH lb{BS_SOLID, static_cast<COLORREF>(line->BorderColor()), 0};
        HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE | PS_JOIN_MITER,
                                static_cast<DWORD>(std::max(1, w)), &lb, 0, nullptr);
        HGDIOBJ oldPen = SelectObject(memDc, pen);
        MoveToEx(memDc, ax, ay, nullptr);
        LineTo(memDc, bx, by);
        SelectObject(memDc, oldPen);
        DeleteObject(pen);
        GdiFlush();  // later lines are written into the pixels directly
    }
    BitBlt(dc, exposed.left, exposed.top, exposed.right - exposed.left,
           exposed.bottom - exposed.top, memDc, exposed.left, exposed.top, SRCCOPY);
    if (backend_.onPainted) backend_.onPainted(hwnd_);
}

void FormWindow::PaintPicture(const tavrolin::Picture& picture, HWND child, HDC dc) {
    RECT client{};
    GetClientRect(child, &client);
    const int width = picture.PictureWidth(), height = picture.PictureHeight();
    // The back colour only where the picture is not: no flicker as it changes many times a
    // second.
    SetDCBrushColor(dc, static_cast<COLORREF>(BackOf(&picture)));
    auto* brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    const RECT right{std::min<LONG>(width, client.right), 0, client.right, client.bottom};
    const RECT below{0, std::min<LONG>(height, client.bottom),
                     std::min<LONG>(width, client.right), client.bottom};
    if (!IsRectEmpty(&right)) FillRect(dc, &right, brush);
    if (!IsRectEmpty(&below)) FillRect(dc, &below, brush);
    if (width <= 0 || height <= 0) return;
    // The model's 0x00RRGGBB is a 32-bit DIB's pixel as it stands.
    const BITMAPINFO info = TopDownRgb32(width, height);
    StretchDIBits(dc, 0, 0, width, height, 0, 0, width, height, picture.Rgb().data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace tavrolin::win32
