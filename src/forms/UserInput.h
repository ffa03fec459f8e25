// What a user's action does to the model, the same for every backend: a click on a control, keys
// typed into a text box, a scroll-bar move, mouse and key events on a form. Each runs through
// Backend::Deliver so that posted work and the repaint follow as after a real event.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tavrolin {

class Control;
class Form;
class TextBox;
class ScrollBar;
class ListView;

namespace user {

// What a user does, as the window systems hand it to the model (Dispatch.h, KeyDispatch.h).
// A click: a check box toggles, an option button is selected, then Click runs.
void Click(Control& control);
void DblClick(Control& control);
// Keys typed into a text box at its end: each character passes the KeyPress filter, then the
// text changes and Change runs. "\b" is Backspace.
void Type(TextBox& box, const std::string& keys);
// The user replaced the whole text (the editor's own editing: a cut, an undo).
void Edit(TextBox& box, const std::string& text);
// Text pasted (or dropped) over the box's selection goes in as if typed there: each character
// passes the KeyPress filter, then the text changes and Change runs. A single-line box takes no
// control characters (line breaks, tabs).
void Paste(TextBox& box, const std::string& text);
void Scroll(ScrollBar& bar, int value);
// The user selected these rows of a list (a click, Shift or Ctrl with clicks).
void SelectRows(ListView& list, const std::vector<std::size_t>& rows);

void MouseDown(Form& form, int button, int shift, double x, double y);
void MouseMove(Form& form, int button, int shift, double x, double y);
void MouseUp(Form& form, int button, int shift, double x, double y);
void DblClick(Form& form);
// Turns the mouse wheel over the form: `notches` above 0 away from the user.
void Wheel(Form& form, int notches, int shift = 0);
// A key press on the form: KeyDown (to the focused control first unless the form previews keys),
// then, for a character, KeyPress.
void KeyDown(Form& form, int keyCode, int shift);
// A press, move to each point and release, as a drag with the left button (form twips).
void Drag(Form& form, double x0, double y0, double x1, double y1, int steps = 4, int shift = 0);

void MouseDown(Control& control, int button, int shift, double x, double y);
void MouseMove(Control& control, int button, int shift, double x, double y);
void MouseUp(Control& control, int button, int shift, double x, double y);
void KeyDown(Control& control, int keyCode, int shift);
// Tab (Shift+Tab with `backward`) on the form: the focus moves to the next stop in the form's
// order, and a text box reached has its text selected. Returns the control now focused.
Control* Tab(Form& form, bool backward = false);

}  // namespace user
}  // namespace tavrolin
