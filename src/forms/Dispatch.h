// What a click, a mouse event or Tab does to the model, the same for every backend. A window
// system turns its event into one of these calls and shows what the model then holds; it
// decides nothing of what the event means. Keys go through keys:: (KeyDispatch.h). Each call
// runs the model's handlers through Backend::Deliver, so that posted work and the repaint
// follow as after any event.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace tavrolin {

class Control;
class Form;
class ListView;
class ScrollBar;

namespace dispatch {

enum class Mouse { Down, Move, Up };

// A click on a control: a check box toggles, an option button is chosen (each runs its Click
// handler through the value change), any other control runs its Click handler. Nothing happens
// to a control the user cannot reach (its form unloaded, it hidden or disabled).
void Click(Control& control);
void DblClick(Control& control);

// The window system gave `control` the focus (a click, Tab, the window coming back): the form's
// focus follows and GotFocus runs.
void FocusIn(Control& control);

// The mouse over a form's own face. `button` is the button that went down or up, or for a
// move the buttons held; x and y are form twips.
void FormMouse(Form& form, Mouse what, int button, int shift, double x, double y);
void FormDblClick(Form& form);
// The mouse wheel over a form or any of its controls: `delta` 120 a notch, above 0 turned away
// from the user.
void FormWheel(Form& form, int delta, int shift);

// The mouse over a control; x and y are the control's twips. A press needs a shown, enabled
// control; its moves and release reach the control that took it. A label is clicked where the
// left button goes up over it.
void ControlMouse(Control& control, Mouse what, int button, int shift, double x, double y);

// The user changed the selection of a list in the window system's view: these rows, ascending,
// are now its selection.
void SelectRows(ListView& list, const std::vector<std::size_t>& rows);

// A scroll bar moved to `value`, held within its range.
void Scroll(ScrollBar& bar, int value);
// How far one page of a scroll bar moves it (a click in its trough, Page Up and Down).
int PageOf(const ScrollBar& bar);
// A key on a scroll bar that holds the focus: the arrows move it a step (left and up toward
// its minimum), Page Up and Page Down a page, Home and End to either end. False for a key that
// does not move a scroll bar.
bool ScrollKey(ScrollBar& bar, int keyCode);

// The control Tab moves the focus to from `from` (null: from before the first), Shift+Tab
// with `backward`: the next text box, check box, option button, command button or scroll bar
// in the form's own order, wrapping round, that is shown and enabled with all its containers.
// `placed` says whether the window system holds a view of the control (headless: all).
// Null when the form has no such control.
Control* NextTabStop(const Form& form, const Control* from, bool backward,
                     const std::function<bool(const Control&)>& placed);

}  // namespace dispatch
}  // namespace tavrolin
