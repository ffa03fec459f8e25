// What the user does in the window, from the window system's events into the shared dispatch:
// keys, the mouse on the form and on its controls, the focus, and Tab.
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QWheelEvent>

#include "forms/Dispatch.h"
#include "qt/FormWindow.h"
#include "qt/KeyMapping.h"
#include "qt/QtBackend.h"
#include "qt/TextEditors.h"

namespace tavrolin::qt {

namespace {

bool IsMouseEvent(QEvent::Type t) {
    return t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
           t == QEvent::MouseButtonDblClick || t == QEvent::MouseMove;
}

dispatch::Mouse MouseOf(QEvent::Type t) {
    switch (t) {
        case QEvent::MouseButtonPress: return dispatch::Mouse::Down;
        case QEvent::MouseButtonRelease: return dispatch::Mouse::Up;
        default: return dispatch::Mouse::Move;
    }
}

}  // namespace

keys::KeyResult FormWindow::DeliverKey(const QKeyEvent& e, Control* focus) {
    const KeyStroke key = TranslateKey(e.key(), e.modifiers(), e.text());
    Control* target = keys::TargetOf(focus);
    Form* form = form_;
    keys::KeyResult result;
    backend_.Deliver(
        [&] { result = keys::Key(*form, target, key.keyCode, key.shift, key.ascii); });
    return result;
}

bool FormWindow::FilterKey(QObject* watched, Control* control, QKeyEvent* e) {
    if (control->Kind() == ControlKind::TextBox && IsEditingShortcut(*e)) {
        // The desktop's editing keys belong to the editor, not to the key filters: what they
        // change reaches the model as an edit, and what they insert as a paste.
        static_cast<QObject*>(watched)->event(e);
        e->accept();
        return true;
    }
    const keys::KeyResult key = DeliverKey(*e, control);
    const int ascii = key.ascii;
    e->accept();
    if (form_ == nullptr || key.verdict == keys::Verdict::Swallow) return true;
    // A key a handler turned into another is no longer the list's to move by.
    if (control->Kind() == ControlKind::ListView && key.verdict != keys::Verdict::PassOn) {
        return true;
    }
    QWidget* w = WidgetOf(control);
    const bool wasTyping = typing_;
    typing_ = true;
    struct Restore {
        bool& flag;
        bool value;
        ~Restore() { flag = value; }
    } restore{typing_, wasTyping};
    if (key.verdict == keys::Verdict::Replace && control->Kind() == ControlKind::TextBox &&
        w != nullptr) {
        // The filter typed another character than the key's own.
        if (auto* line = qobject_cast<QLineEdit*>(w)) {
            if (!line->isReadOnly()) {
                if (ascii == kKeyBack) {
                    line->backspace();
                } else if (ascii >= 32) {
                    line->insert(QString(QChar(ascii)));
                }
            }
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
            if (!plain->isReadOnly()) {
                QTextCursor c = plain->textCursor();
                if (ascii == kKeyBack) {
                    c.deletePreviousChar();
                } else if (ascii == kKeyReturn) {
                    c.insertText(QStringLiteral("\n"));
                } else if (ascii >= 32) {
                    c.insertText(QString(QChar(ascii)));
                }
                plain->setTextCursor(c);
            }
        }
        PushText(static_cast<TextBox&>(*control));
        return true;
    }
    if (control->Kind() == ControlKind::ScrollBar &&
        dispatch::ScrollKey(static_cast<ScrollBar&>(*control),
                            TranslateKey(e->key(), e->modifiers(), e->text()).keyCode)) {
        return true;
    }
    // Let the widget edit (or move the focus on Tab) now, and keep the key from travelling on
    // to the form, which has seen it already.
    static_cast<QObject*>(watched)->event(e);
    e->accept();
    return true;
}

bool FormWindow::FilterMouse(Control* c, QMouseEvent* e, QEvent::Type type) {
    QWidget* w = WidgetOf(c);
    if (w == nullptr) return false;
    if (type == QEvent::MouseButtonDblClick) {
        dispatch::DblClick(*c);
    } else {
        const PixelScale s = backend_.Scale();
        const QPoint p = w->mapFromGlobal(e->globalPosition().toPoint());
        // Down and up name the button that changed, a move the buttons held.
        const int button = ButtonMaskOf(type == QEvent::MouseMove ? e->buttons() : e->button());
        dispatch::ControlMouse(*c, MouseOf(type), button, ShiftMaskOf(e->modifiers()),
                               s.ToTwipsX(p.x()), s.ToTwipsY(p.y()));
    }
    // A handler that unloaded the form leaves nothing for the widget to do.
    return form_ == nullptr;
}

bool FormWindow::eventFilter(QObject* watched, QEvent* e) {
    if (form_ == nullptr) return false;
    Control* c = ControlOf(watched);
    if (c == nullptr) return false;
    const QEvent::Type type = e->type();
    if (type == QEvent::KeyPress) {
        // A multi-line editor's viewport never has the focus; its keys come to the editor.
        return FilterKey(watched, c, static_cast<QKeyEvent*>(e));
    }
    if (IsMouseEvent(type)) return FilterMouse(c, static_cast<QMouseEvent*>(e), type);
    if (type == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        // Coming back to the window is no change of focus within it.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            OnFocusIn(watched);
        }
    }
    return false;
}

void FormWindow::OnFocusIn(QObject* widget) {
    if (backend_.Syncing()) {
        Later([this, w = QPointer<QObject>(widget)] {
            if (w) OnFocusIn(w);
        });
        return;
    }
    if (Control* c = ControlOf(widget)) dispatch::FocusIn(*c);
}

bool FormWindow::focusNextPrevChild(bool next) {
    // Tab and Shift+Tab (and the arrows on a button) from any of the window's widgets end here.
    if (form_ == nullptr) return QWidget::focusNextPrevChild(next);
    const QWidget* focus = focusWidget();
    Control* to = dispatch::NextTabStop(
        *form_, focus != nullptr ? ControlOf(focus) : nullptr, !next,
        [this](const Control& c) { return WidgetOf(&c) != nullptr; });
    QWidget* w = to != nullptr ? WidgetOf(to) : nullptr;
    if (w == nullptr) return false;
    // A line edit reached this way selects its text.
    w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void FormWindow::DeliverMouse(QMouseEvent* e, QEvent::Type type) {
    if (form_ == nullptr) return;
    const PixelScale s = backend_.Scale();
    const QPoint p = e->position().toPoint();
    // Down and up name the button that changed, a move the buttons held.
    const int button = ButtonMaskOf(type == QEvent::MouseMove ? e->buttons() : e->button());
    dispatch::FormMouse(*form_, MouseOf(type), button, ShiftMaskOf(e->modifiers()),
                        s.ToTwipsX(p.x()), s.ToTwipsY(p.y()));
    e->accept();
}

void FormWindow::mousePressEvent(QMouseEvent* e) { DeliverMouse(e, QEvent::MouseButtonPress); }

void FormWindow::mouseMoveEvent(QMouseEvent* e) { DeliverMouse(e, QEvent::MouseMove); }

void FormWindow::mouseReleaseEvent(QMouseEvent* e) {
    DeliverMouse(e, QEvent::MouseButtonRelease);
}

void FormWindow::mouseDoubleClickEvent(QMouseEvent* e) {
    // The second press of a double click is no MouseDown of its own.
    e->accept();
    if (form_ != nullptr) dispatch::FormDblClick(*form_);
}

void FormWindow::wheelEvent(QWheelEvent* e) {
    // A control that scrolls by itself (a scroll bar) takes the wheel; the others pass it on to
    // their window, as a wheel over the form's own face arrives.
    if (form_ == nullptr) return;
    e->accept();
    dispatch::FormWheel(*form_, e->angleDelta().y(), ShiftMaskOf(e->modifiers()));
}

}  // namespace tavrolin::qt
