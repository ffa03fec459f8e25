// The forms model shown with Qt Widgets: one real top-level window per loaded form, input
// delivered into the model, the model's changes applied to the windows after each event.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "forms/Backend.h"
#include "qt/PixelScale.h"

class QEventLoop;
class QScreen;
class QTimer;

namespace tavrolin::qt {

class FormWindow;

class QtBackend : public Backend {
public:
    // Needs a QApplication; takes the twips per pixel from the primary screen's density.
    QtBackend();
    ~QtBackend() override;

    void DoEvents() override;
    void Sync() override;
    void RunModal(Form& form) override;
    void SetFocus(Form& form, Control* control) override;
    double TextWidth(const Form& form, const std::string& text) const override;
    double TextHeight(const Form& form, const std::string& text) const override;
    void Quit() override;
    // On X11 the root window's pixels, which are what the screen shows (our own windows
    // included), monitor by monitor; elsewhere the reason it cannot be read.
    ScreenPixels ReadScreen(int left, int top, int width, int height) override;
    void WindowCreated(Form& form) override;
    void WindowDestroyed(Form& form) override;

    PixelScale Scale() const;
    bool QuitRequested() const { return quitRequested_; }
    // Sync, paint what changed and push it to the display server, without handling input.
    void Flush();

    FormWindow* WindowOf(const Form& form) const;
    FormWindow* WindowOf(std::int32_t hWnd) const;
    // The visible windows bottom to top: ordinary windows below the ones that stay on top.
    std::vector<FormWindow*> WindowsInStackingOrder() const;
    // The bounding rectangle of all screens, pixels.
    static QRect VirtualDesktop();
    // The pixels an inch that lengths on `monitor` are read with.
    static double DensityOf(const QScreen& monitor);

    // Window attributes the window services set; they outlive a window that is re-created.
    void SetTopmost(std::int32_t hWnd, bool topmost);
    void SetOpacity(std::int32_t hWnd, double opacity);

    // The last window activated that takes the focus, and giving it the activation back from
    // a window that never takes it.
    void NoteActiveWindow(FormWindow* window);
    void ReactivateLastWindow();

protected:
    // Each timer is a Qt timer of its own, made when armed and let go when disarmed.
    void ArmTimer(int id, int milliseconds) override;
    void DisarmTimer(int id) override;

private:
    struct Attributes {
        double opacity = 1.0;
    };
    struct ModalLoop {
        Form* form;
        QEventLoop* loop;
    };
    void ApplyPointer();
    void EndFinishedModalLoops();
    void PlaceDialog(Form& form, FormWindow& window);

    std::unordered_map<const Form*, FormWindow*> windows_;
    std::unordered_map<std::int32_t, Attributes> attributes_;
    std::unordered_map<int, QTimer*> timers_;  // children of context_
    std::vector<ModalLoop> modalLoops_;
    QPointer<FormWindow> lastActive_;
    QObject context_;  // owns the connections to the event loop
    int appliedPointer_ = 0;
    bool quitRequested_ = false;
};

}  // namespace tavrolin::qt
