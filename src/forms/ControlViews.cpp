#include "forms/ControlViews.h"

#include "forms/Control.h"
#include "forms/Form.h"

namespace tavrolin {

void ControlViews::ShowControlChanges(Form& form, LineDamage& damage, const PixelScale& scale) {
    damage.Begin();
    for (const auto& owned : form.Controls()) {
        Control& c = *owned;
        if (c.Kind() == ControlKind::Line) {
            const auto& line = static_cast<const Line&>(c);
            if (c.Dirty() || damage.IsNew(line)) {
                LineChanged(line, line.ShownInForm() ? LineBox(line, scale) : PixelBox{});
            }
            c.ClearDirty();
            continue;
        }
        if (ViewOf(c) == nullptr) {
            MakeView(c);
        } else {
            const bool multi =
                c.Kind() == ControlKind::TextBox && static_cast<const TextBox&>(c).MultiLine();
            if (c.Kind() == ControlKind::TextBox && multi != ViewOf(c)->multiLine) {
                RemakeView(c);
            } else if (c.Dirty() || ViewOf(c)->force) {
                ShowControl(c);
            } else {
                Unchanged(c);
            }
            if (ControlView* view = ViewOf(c)) view->force = false;
        }
        c.ClearDirty();
    }
}

}  // namespace tavrolin
