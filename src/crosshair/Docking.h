// Switching a pair of crosshairs between docked on the ruler (small, the ruler's markers measure)
// and active (large, their read-out measures), and the focus cycle through a pair's windows.
#pragma once

#include <cstdint>

namespace tavrolin {

class Form;
class Program;

// `flag` false activates the measurement crosshairs, true docks them; any other combination of
// flag and state does nothing, and nothing happens outside Measurement Mode.
void DockCrosshairs(Program& program, bool flag);
// The same for the scale crosshairs, which also hide and show the ruler's green marks.
void DockScaleCrosshairs(Program& program, bool flag);

// Passes the keyboard focus to `next` (its HiddenBox where it has one) after hiding it for
// `waitMs`, so that the window the keys now reach blinks once.
void BlinkAndFocus(Program& program, Form& next, int waitMs);

// True for a key event of Shift pressed by itself, not as part of a chord.
inline bool ShiftAlone(int keyCode, int shift) { return keyCode == 16 && shift == 1; }

// The whole twips that move a place at `at` exactly `pixels` screen pixels at `tpp` twips a
// pixel: 15 a pixel at 96 dpi; where a pixel is no whole number of twips (7.5 at 192 dpi), or a
// place lies half-way between two pixels, what lands it on the pixel wanted and never on the
// one after it.
std::int32_t PixelStep(double at, int pixels, double tpp);

// The offset an arrow or keypad arrow key moves a window at (`left`, `top`) by: one screen
// pixel; (0, 0) for other keys.
void ArrowOffset(int keyCode, double left, double top, double tpp, std::int32_t& dx,
                 std::int32_t& dy);

}  // namespace tavrolin
