#include "forms/HeadlessBackend.h"

#include <algorithm>
#include <vector>

#include "forms/Form.h"
#include "forms/PixelScale.h"

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

ScreenPixels HeadlessBackend::ReadScreen(int left, int top, int width, int height) {
    ++screenReads_;
    if (!screenPicture) return Backend::ReadScreen(left, top, width, height);
    ScreenPixels read(left, top, width, height);
    const std::vector<PixelBounds> monitors = MonitorsInPixels(screen());
    read.rgb.resize(static_cast<std::size_t>(read.width) * static_cast<std::size_t>(read.height));
    std::size_t i = 0;
    for (int y = top; y < top + read.height; ++y) {
        for (int x = left; x < left + read.width; ++x, ++i) {
            const bool shown = monitors.empty() ||
                               std::any_of(monitors.begin(), monitors.end(),
                                           [&](const PixelBounds& m) { return m.Contains(x, y); });
            read.rgb[i] = shown ? screenPicture(x, y) & 0xFFFFFFu : 0;
        }
    }
    return read;
}

void HeadlessBackend::RunTimers() {
    for (int id : RunningTimers()) TimerFired(id);
}

}  // namespace tavrolin
