#include "forms/Backend.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "forms/Form.h"
#include "forms/PixelScale.h"

namespace tavrolin {

void Backend::SetMousePointer(int shape) { screen_.MousePointer = shape; }

std::pair<double, double> OntoNearestMonitor(const ScreenRect& window,
                                             const std::vector<ScreenRect>& monitors) {
    const double right = window.Left + window.Width, bottom = window.Top + window.Height;
    const ScreenRect* nearest = nullptr;
    double nearestGap = 0;
    for (const ScreenRect& m : monitors) {
        if (m.Width <= 0 || m.Height <= 0) continue;
        // How far apart along each axis; zero along both means they overlap.
        const double gapX = std::max({0.0, m.Left - right, window.Left - (m.Left + m.Width)});
        const double gapY = std::max({0.0, m.Top - bottom, window.Top - (m.Top + m.Height)});
        const bool overlapX = window.Left < m.Left + m.Width && m.Left < right;
        const bool overlapY = window.Top < m.Top + m.Height && m.Top < bottom;
        if (overlapX && overlapY) return {window.Left, window.Top};
        const double gap = gapX * gapX + gapY * gapY;
        if (nearest == nullptr || gap < nearestGap) {
            nearest = &m;
            nearestGap = gap;
        }
    }
    if (nearest == nullptr) return {window.Left, window.Top};
    const ScreenRect& m = *nearest;
    const double left = std::max(m.Left, std::min(window.Left, m.Left + m.Width - window.Width));
    const double top = std::max(m.Top, std::min(window.Top, m.Top + m.Height - window.Height));
    return {left, top};
}

std::pair<double, double> DialogPlace(double width, double height, const ScreenRect* over,
                                      double pointerX, double pointerY,
                                      const std::vector<ScreenRect>& workAreas) {
    const double x = over != nullptr ? over->Left + over->Width / 2 : pointerX;
    const double y = over != nullptr ? over->Top + over->Height / 2 : pointerY;
    // The monitor that holds the point, else the nearest one.
    const ScreenRect* area = nullptr;
    double nearest = 0;
    for (const ScreenRect& m : workAreas) {
        if (m.Width <= 0 || m.Height <= 0) continue;
        const double dx = std::max({0.0, m.Left - x, x - (m.Left + m.Width)});
        const double dy = std::max({0.0, m.Top - y, y - (m.Top + m.Height)});
        const double gap = dx * dx + dy * dy;
        if (area == nullptr || gap < nearest) {
            area = &m;
            nearest = gap;
        }
        if (gap == 0) break;
    }
    if (area == nullptr) return {x - width / 2, y - height / 2};
    const double cx = over != nullptr ? x : area->Left + area->Width / 2;
    const double cy = over != nullptr ? y : area->Top + area->Height / 2;
    const double left =
        std::max(area->Left, std::min(cx - width / 2, area->Left + area->Width - width));
    const double top =
        std::max(area->Top, std::min(cy - height / 2, area->Top + area->Height - height));
    return {left, top};
}

void Backend::Deliver(const std::function<void()>& handler) {
    ++depth_;
    try {
        handler();
    } catch (...) {
        --depth_;
        throw;
    }
    --depth_;
    if (depth_ == 0) RunPosted();
    Sync();
}

void Backend::Post(std::function<void()> work) { posted_.push_back(std::move(work)); }

void Backend::SyncForms(const std::function<void(Form&)>& show,
                        const std::function<void()>& after) {
    if (syncing_) return;
    syncing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{syncing_};
    for (Form* form : FormsInShownOrder()) show(*form);
    after();
}

void Backend::RunPosted() {
    // Posted work may post more; a bound keeps a form that always rebuilds from spinning.
    for (int guard = 0; !posted_.empty() && guard < 1000; ++guard) {
        auto work = std::move(posted_.front());
        posted_.pop_front();
        ++depth_;
        work();
        --depth_;
    }
}

std::int32_t Backend::Register(Form& form) {
    forms_.push_back(&form);
    return nextHwnd_++;
}

void Backend::Unregister(Form& form) { std::erase(forms_, &form); }

Form* Backend::FindForm(std::int32_t hwnd) const {
    for (Form* f : forms_) {
        if (f->hWnd() == hwnd) return f;
    }
    return nullptr;
}

Form* Backend::FindForm(const std::string& name) const {
    for (Form* f : forms_) {
        if (f->Name() == name) return f;
    }
    return nullptr;
}

const std::vector<Form*>& Backend::FormsInShownOrder() {
    shownOrder_.clear();
    for (Form* f : forms_) {
        if (f->Loaded()) shownOrder_.push_back(f);
    }
    std::stable_sort(shownOrder_.begin(), shownOrder_.end(), [](const Form* a, const Form* b) {
        return a->ShownOrder() < b->ShownOrder();
    });
    return shownOrder_;
}

void Backend::MarkTopmost(std::int32_t hWnd, bool topmost) {
    if (topmost) {
        topmost_.insert(hWnd);
    } else {
        topmost_.erase(hWnd);
    }
}

bool Backend::StaysOnTop(const Form& form) const { return Topmost(form.hWnd()) || form.IsModal(); }

std::vector<Form*> Backend::StackingOrder() const {
    std::vector<Form*> below, above, modal;
    for (Form* f : forms_) {
        if (!f->Loaded() || !f->Visible() || f->GetWindowState() == WindowState::Minimized) {
            continue;
        }
        (f->IsModal() ? modal : Topmost(f->hWnd()) ? above : below).push_back(f);
    }
    below.insert(below.end(), above.begin(), above.end());
    below.insert(below.end(), modal.begin(), modal.end());
    return below;
}

void Backend::ReportFocus(Form& form, Control* control) {
    reportingFocus_ = true;
    form.SetFocus(control);
    reportingFocus_ = false;
}

bool Backend::DialogHasPlace(const Form& form) { return form.Left() != 0 || form.Top() != 0; }

void Backend::PlaceDialogAt(Form& form, double width, double height, const ScreenRect* over,
                            double pointerX, double pointerY,
                            const std::vector<ScreenRect>& workAreas) {
    const PixelScale s(screen_.TwipsPerPixelX, screen_.TwipsPerPixelY);
    const auto [x, y] = DialogPlace(width, height, over, pointerX, pointerY, workAreas);
    form.WindowSystemMoved(s.ToTwipsX(static_cast<int>(std::floor(x))),
                           s.ToTwipsY(static_cast<int>(std::floor(y))));
    form.MarkDirty(kDirtyGeometry);
}

ScreenPixels Backend::ReadScreen(int left, int top, int width, int height) {
    ScreenPixels none(left, top, width, height);
    none.problem = "This window system does not let Tavrolin read the screen.";
    return none;
}

std::vector<PixelBounds> MonitorsInPixels(const Screen& screen) {
    const PixelScale s(screen.TwipsPerPixelX, screen.TwipsPerPixelY);
    std::vector<PixelBounds> monitors;
    monitors.reserve(screen.Monitors.size());
    for (const ScreenRect& m : screen.Monitors) {
        monitors.push_back(
            {s.ToPixelsX(m.Left), s.ToPixelsY(m.Top), s.ToPixelsX(m.Width), s.ToPixelsY(m.Height)});
    }
    return monitors;
}

int Backend::StartTimer(int milliseconds, std::function<void()> tick) {
    const int id = ++nextTimer_;
    timers_.emplace(id, std::move(tick));
    ArmTimer(id, std::max(10, milliseconds));
    return id;
}

void Backend::StopTimer(int id) {
    if (timers_.erase(id) != 0) DisarmTimer(id);
}

void Backend::TimerFired(int id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    // A copy: the tick may stop its own timer.
    const std::function<void()> tick = it->second;
    Deliver(tick);
}

std::vector<int> Backend::RunningTimers() const {
    std::vector<int> ids;
    ids.reserve(timers_.size());
    for (const auto& [id, tick] : timers_) ids.push_back(id);
    return ids;
}

}  // namespace tavrolin
