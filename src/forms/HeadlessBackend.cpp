#include "forms/HeadlessBackend.h"

#include <algorithm>

#include "forms/Form.h"

namespace tavrolin {

void HeadlessBackend::DoEvents() {
    ++doEvents_;
    Sync();
}

void HeadlessBackend::Sync() {
    ++syncs_;
    for (Form* f : Forms()) {
        f->ClearDirty();
        for (const auto& c : f->Controls()) c->ClearDirty();
    }
}

void HeadlessBackend::RunModal(Form& form) {
    if (modalScript) modalScript(form);
    // A dialog left open by the script is closed as the user's Esc would.
    if (form.Loaded() && form.Visible()) form.Hide();
}

void HeadlessBackend::SetFocus(Form& form, Control* control) {
    focusForm_ = &form;
    focusControl_ = control;
}

namespace {
std::pair<std::size_t, std::size_t> Extent(const std::string& text) {
    std::size_t longest = 0, current = 0, lines = 1;
    for (char ch : text) {
        if (ch == '\n') {
            ++lines;
            current = 0;
        } else if (ch != '\r') {
            longest = std::max(longest, ++current);
        }
    }
    return {longest, lines};
}
}  // namespace

double HeadlessBackend::TextWidth(const Form&, const std::string& text) const {
    return static_cast<double>(Extent(text).first) * kCharWidthPx * screen().TwipsPerPixelX;
}

double HeadlessBackend::TextHeight(const Form&, const std::string& text) const {
    return static_cast<double>(Extent(text).second) * kLineHeightPx * screen().TwipsPerPixelY;
}

void HeadlessBackend::WindowDestroyed(Form& form) {
    if (focusForm_ == &form) {
        focusForm_ = nullptr;
        focusControl_ = nullptr;
    }
}

}  // namespace tavrolin
