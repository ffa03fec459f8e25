// The real top-level window of one form: shows the form's state and its controls, paints its
// line shapes, and hands what the user does back to the model through the backend.
#pragma once

#include <QEvent>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <deque>
#include <functional>
#include <unordered_map>

#include "forms/Control.h"
#include "forms/ControlViews.h"
#include "forms/Form.h"
#include "forms/KeyDispatch.h"
#include "forms/LineDamage.h"

class QKeyEvent;
class QMouseEvent;

namespace tavrolin::qt {

class QtBackend;

class FormWindow : public QWidget, private ControlViews {
public:
    FormWindow(QtBackend& backend, Form& form);
    ~FormWindow() override;

    // Null once the form has unloaded; the window then only waits for its deferred deletion.
    Form* form() const { return form_; }
    void Detach();

    // Applies what the form and its controls marked dirty, then clears the marks.
    void ShowModel();
    bool HasPendingFocus() const { return focusPending_; }
    void RequestFocus(Control* control);
    // Paints at once what ShowModel invalidated (before a sleep, nothing else would).
    void PaintPending();
    void ApplyWindowFlags();

    QWidget* WidgetOf(const Control* control) const;
    Control* ControlOf(const QObject* widget) const;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    // The wheel over the window, or over a control that left it unused.
    void wheelEvent(QWheelEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    // The model's tab order, not Qt's focus chain.
    bool focusNextPrevChild(bool next) override;

private:
    struct View : ControlView {
        QWidget* widget = nullptr;  // null for a line shape
    };

    // How the controls are shown (FormWindowControls.cpp).
    void LineChanged(const Line& line, const PixelBox& now) override;
    ControlView* ViewOf(Control& control) override;
    void MakeView(Control& control) override;
    void RemakeView(Control& control) override;
    void ShowControl(Control& control) override;

    void ApplyAppearance();
    void ApplyGeometry();
    void ApplyShape();
    void ApplyControls();
    void ApplyVisibility();
    void ApplyFocus();

    View& EnsureView(Control* control);
    void CreateWidget(Control* control, View& view);
    void ApplyControl(Control* control, View& view);
    void ApplyText(TextBox& box, View& view);
    // Asks for a repaint of what the lines changed by ApplyControls covered, now where it is
    // on a screen, and where it is beyond them once the window brings it onto one.
    void RepaintDamage();
    // The window moved: repaints what waited beyond the screens.
    void RepaintDeferred();
    QRect LineBounds(const Line& line) const;
    void PaintLines(QPainter& painter, const QRect& exposed, const Control* container);

    void PushText(TextBox& box);
    // Hands what the editor inserted by itself to the model as a paste; false when it inserted
    // nothing (a cut, a deletion).
    bool PushInserted(TextBox& box, View& view, const QString& shown);
    void PushSelection(TextBox& box);
    void Reconcile(Control* control);
    keys::KeyResult DeliverKey(const QKeyEvent& e, Control* focus);
    bool FilterKey(QObject* watched, Control* control, QKeyEvent* e);
    bool FilterMouse(Control* control, QMouseEvent* e, QEvent::Type type);
    void DeliverMouse(QMouseEvent* e, QEvent::Type type);
    void OnActivation(bool active);
    void OnFocusIn(QObject* widget);
    // Runs `work` from the event loop, unless the form has gone by then.
    void Later(std::function<void()> work);

    QtBackend& backend_;
    Form* form_;
    std::unordered_map<const Control*, View> views_;
    LineDamage damage_;
    std::unordered_map<const QObject*, Control*> byWidget_;
    Control* focusRequest_ = nullptr;
    bool focusPending_ = false;
    QRegion pendingPaint_;
    QRegion deferred_;  // changed pixels left unpainted while they were beyond the screens
    bool activeInModel_ = false;  // the form's last Activate or Deactivate
    bool typing_ = false;  // the editor is applying a key the model has filtered
    // Positions asked of the window system and not yet reported back: an X server answers each
    // move in turn, so a late answer is not a move by the user.
    std::deque<QPoint> ownMoves_;
};

}  // namespace tavrolin::qt
