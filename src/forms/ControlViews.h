// How a window system shows a form's controls, walked the same way by each: after a change of
// the model, a line's repaint is noted, a control without a view of its own gets one, a text box
// that switched between one and several lines gets a new view (the two are different editors),
// and a changed control, or one whose view showed its own idea of the value, is shown anew.
#pragma once

#include "forms/LineDamage.h"

namespace tavrolin {

class Form;

// What every window system keeps of a control it shows, besides its own view of it.
struct ControlView {
    bool multiLine = false;
    int selStart = -1;  // the model's selection as last shown, bytes
    int selLength = -1;
    bool force = false;  // show the model's value even when it did not change
};

class ControlViews {
public:
    // Walks the form's controls once, clearing what each had changed.
    void ShowControlChanges(Form& form, LineDamage& damage, const PixelScale& scale);

protected:
    ~ControlViews() = default;

    // A line that is new or changed, covering `now` (empty when hidden).
    virtual void LineChanged(const Line& line, const PixelBox& now) = 0;
    // The view held of `control`, or null when there is none yet.
    virtual ControlView* ViewOf(Control& control) = 0;
    // Makes the view of a control that has none, and shows the model on it.
    virtual void MakeView(Control& control) = 0;
    // Replaces the view of a text box that switched between one and several lines.
    virtual void RemakeView(Control& control) = 0;
    // Shows the model on the control's view.
    virtual void ShowControl(Control& control) = 0;
    // A control that did not change.
    virtual void Unchanged(Control& /*control*/) {}
};

}  // namespace tavrolin
