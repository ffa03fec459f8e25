// The interface between the forms model and whatever shows it: a real window system or the
// headless recorder. The backend delivers input into the model and shows the model's changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "forms/Types.h"

namespace tavrolin {

class Control;
class Form;

// The toolkit's screen object: the pointer shape shown over every window, the pixel size and
// the monitors of the desktop as the window system reports them (none: not known).
struct Screen {
    int MousePointer = kPointerDefault;
    double TwipsPerPixelX = 15;
    double TwipsPerPixelY = 15;
    std::vector<ScreenRect> Monitors;
    // Beside each monitor, the pixels an inch that lengths on it are read with, as the window
    // system tells its density (0: not told; the main monitor's 1440 / TwipsPerPixelX holds).
    std::vector<double> MonitorDpi;
};

// Where a window at `window` goes so that a user can see it: where it is when any part of it is
// on a monitor, else the nearest place wholly on the nearest monitor (its top-left corner when
// the window is larger). Returns the new Left and Top.
std::pair<double, double> OntoNearestMonitor(const ScreenRect& window,
                                             const std::vector<ScreenRect>& monitors);

// Where a modal dialog of `width` x `height` goes when its form gave it no place: centred over
// the captioned window it was asked from (`over`, when there is one), else on the monitor under
// the pointer, and kept within that monitor's work area (`workAreas`: each monitor without its
// task bars) as far as it fits, its top-left corner first. Returns the dialog's Left and Top.
std::pair<double, double> DialogPlace(double width, double height, const ScreenRect* over,
                                      double pointerX, double pointerY,
                                      const std::vector<ScreenRect>& workAreas);

// A rectangle of the screen's physical pixels as the screen shows them beneath the program's
// windows, in desktop pixel coordinates: each pixel 0xRRGGBB, row by row from the top left.
// Pixels beyond every monitor are 0. When the screen cannot be read, `rgb` is empty and
// `problem` says why in one line.
struct ScreenPixels {
    ScreenPixels() = default;
    // A rectangle of the screen not read yet: its place and size (none below 0), no pixels.
    ScreenPixels(int x, int y, int w, int h)
        : left(x), top(y), width(w > 0 ? w : 0), height(h > 0 ? h : 0) {}

    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;
    std::string problem;
    bool Read() const { return !rgb.empty(); }
    std::uint32_t At(int x, int y) const {
        return rgb[static_cast<std::size_t>(y - top) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x - left)];
    }
};

// A rectangle of desktop pixels.
struct PixelBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool Contains(int x, int y) const {
        return x >= left && y >= top && x < left + width && y < top + height;
    }
};

// The screen's monitors in pixels, as the window systems place them.
std::vector<PixelBounds> MonitorsInPixels(const Screen& screen);

class Backend {
public:
    Backend() = default;
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;
    virtual ~Backend() = default;

    Screen& screen() { return screen_; }
    const Screen& screen() const { return screen_; }
    void SetMousePointer(int shape);

    // Runs one input event's handler, then what the handler posted, then shows the changes.
    // Events that arrive while a handler runs (inside DoEvents or a modal loop) nest; posted work
    // waits until the outermost handler has returned.
    void Deliver(const std::function<void()>& handler);
    // Work to run after the current event's handler has returned (a form rebuilding itself).
    void Post(std::function<void()> work);
    bool InsideHandler() const { return depth_ > 0; }

    // Lets the window system show what changed and handle pending input.
    virtual void DoEvents() = 0;
    // Shows every changed form.
    virtual void Sync() = 0;
    // Shows `form` modally; returns when it is hidden or unloaded.
    virtual void RunModal(Form& form) = 0;
    virtual void SetFocus(Form& form, Control* control) = 0;
    virtual double TextWidth(const Form& form, const std::string& text) const = 0;
    virtual double TextHeight(const Form& form, const std::string& text) const = 0;
    // The program has ended: leave the event loop.
    virtual void Quit() = 0;
    // Reads `width` x `height` physical pixels of the screen from (`left`, `top`) in desktop
    // pixels. A window system that cannot says so in the result's `problem`.
    virtual ScreenPixels ReadScreen(int left, int top, int width, int height);

    // Runs `tick` every `milliseconds` (at least 10) as an input event of its own, until
    // StopTimer. Returns the timer's id, never 0. No timer runs unless one was started.
    int StartTimer(int milliseconds, std::function<void()> tick);
    // Stops a timer; an id of 0 or of a stopped timer is ignored.
    void StopTimer(int id);
    bool TimerRunning(int id) const { return timers_.count(id) != 0; }

    // Called by Form.
    std::int32_t Register(Form& form);
    void Unregister(Form& form);
    virtual void WindowCreated(Form& form) = 0;
    virtual void WindowDestroyed(Form& form) = 0;
    const std::vector<Form*>& Forms() const { return forms_; }
    std::uint64_t NextShownOrder() { return ++shown_; }
    Form* FindForm(std::int32_t hwnd) const;
    Form* FindForm(const std::string& name) const;

    // The loaded forms in the order they were shown, the order a backend brings their windows
    // up in: a form shown during another's load (the ruler during the control window's) is
    // on screen before the one still loading. The list is reused from call to call.
    const std::vector<Form*>& FormsInShownOrder();
    // True while the changed forms are being shown: what a window reports back then is the
    // backend's own doing, not the user's.
    bool Syncing() const { return syncing_; }
    // The window system moved the focus to `control` of `form` by itself: the form's focus
    // follows, without the window system being asked to move it again (SetFocus is called
    // while ReportingFocus() is true, and does nothing then).
    void ReportFocus(Form& form, Control* control);
    bool ReportingFocus() const { return reportingFocus_; }
    // The topmost band, asked for through the window services. It belongs to the window
    // handle and so outlives a window that is re-created.
    void MarkTopmost(std::int32_t hWnd, bool topmost);
    bool Topmost(std::int32_t hWnd) const { return topmost_.count(hWnd) != 0; }
    // The loaded, visible, not minimised forms bottom to top: ordinary windows below the ones
    // that stay on top, and a modal dialog above them all while it is up.
    std::vector<Form*> StackingOrder() const;
    // The window stays above the ordinary ones: asked for through the window services, or a
    // modal dialog while it is up, which must not open under the ruler it was asked from.
    bool StaysOnTop(const Form& form) const;

protected:
    void RunPosted();
    // The window system's side of the timers: from Arm until Disarm, call TimerFired(id)
    // every `milliseconds`.
    virtual void ArmTimer(int /*id*/, int /*milliseconds*/) {}
    virtual void DisarmTimer(int /*id*/) {}
    // A timer's period has passed: runs its tick as an input event. A stopped timer's late
    // message is ignored.
    void TimerFired(int id);
    // The ids of the running timers, in the order they were started.
    std::vector<int> RunningTimers() const;
    // A modal dialog keeps a place its form gave it; otherwise the window system asks
    // PlaceDialogAt where it goes.
    static bool DialogHasPlace(const Form& form);
    // Places a dialog as a window manager would (DialogPlace), in the window system's pixels:
    // `width` x `height` its outer size, `over` the captioned window it was asked from (null for
    // none), the pointer, and the monitors' work areas. The form learns the place, and the next
    // sync moves the window there.
    void PlaceDialogAt(Form& form, double width, double height, const ScreenRect* over,
                       double pointerX, double pointerY, const std::vector<ScreenRect>& workAreas);
    // A window system's sync: `show` gets each loaded form in the order the forms were shown,
    // then `after` runs, both while Syncing() is true. A sync asked for while one is under way
    // (a window reporting back during it) does nothing.
    void SyncForms(const std::function<void(Form&)>& show, const std::function<void()>& after);

private:
    Screen screen_;
    std::vector<Form*> forms_;
    std::deque<std::function<void()>> posted_;
    int depth_ = 0;
    bool syncing_ = false;
    bool reportingFocus_ = false;
    std::uint64_t shown_ = 0;
    std::int32_t nextHwnd_ = 0x10010;
    std::vector<Form*> shownOrder_;
    std::unordered_set<std::int32_t> topmost_;
    std::map<int, std::function<void()>> timers_;
    int nextTimer_ = 0;
};

}  // namespace tavrolin
