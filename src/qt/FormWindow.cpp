// The window's life and state: made and let go with its form, its flags, caption, colour,
// place, size, visibility and focus as the model holds them, and the window system's own
// events (activation, moves by the user or the window manager, minimising, closing).
#include "qt/FormWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "qt/ControlWidgets.h"
#include "qt/QtBackend.h"

namespace tavrolin::qt {

namespace {

Qt::WindowFlags FlagsFor(BorderStyle border, bool topmost, bool takesFocus) {
    Qt::WindowFlags f;
    switch (border) {
        case BorderStyle::None:
            // Tool keeps the window out of the task bar.
            f = Qt::Tool | Qt::FramelessWindowHint;
            break;
        case BorderStyle::ToolWindow:
            f = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                Qt::WindowCloseButtonHint;
            break;
        case BorderStyle::Fixed:
            f = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                Qt::WindowCloseButtonHint;
            break;
    }
    if (topmost) f |= Qt::WindowStaysOnTopHint;
    // On X11 the window's hints tell the window manager never to give it the keyboard.
    if (!takesFocus) f |= Qt::WindowDoesNotAcceptFocus;
    return f;
}

}  // namespace

FormWindow::FormWindow(QtBackend& backend, Form& form) : backend_(backend), form_(&form) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);
    setMouseTracking(true);
    if (form.TakesFocus()) {
        setFocusPolicy(Qt::StrongFocus);
    } else {
        // Shown, clicked and dragged without taking the focus from the window that has it.
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_ShowWithoutActivating);
    }
    setWindowFlags(FlagsFor(form.Border(), backend_.StaysOnTop(form), form.TakesFocus()));
}

FormWindow::~FormWindow() = default;

void FormWindow::Detach() {
    form_ = nullptr;
    focusRequest_ = nullptr;
    focusPending_ = false;
    // A list's view may outlive its control until the window is deleted.
    for (auto& [control, view] : views_) {
        if (auto* list = dynamic_cast<ListWidget*>(view.widget)) list->Forget();
    }
    views_.clear();
    damage_.Clear();
    byWidget_.clear();
    hide();
    // The window may be inside its own event handler (a close button that unloads the form).
    deleteLater();
}

QWidget* FormWindow::WidgetOf(const Control* control) const {
    auto it = views_.find(control);
    return it == views_.end() ? nullptr : it->second.widget;
}

Control* FormWindow::ControlOf(const QObject* widget) const {
    auto it = byWidget_.find(widget);
    return it == byWidget_.end() ? nullptr : it->second;
}

void FormWindow::Later(std::function<void()> work) {
    QTimer::singleShot(0, this, [this, work = std::move(work)] {
        if (form_ != nullptr) work();
    });
}

void FormWindow::ShowModel() {
    if (form_ == nullptr) return;
    const std::uint32_t dirty = form_->DirtyFlags();
    if (dirty & kDirtyAppearance) ApplyAppearance();
    if (dirty & kDirtyGeometry) ApplyGeometry();
    if (dirty & kDirtyControls) ApplyControls();
    // Shown last, so that the window appears in its place with its contents.
    if (dirty & kDirtyVisibility) ApplyVisibility();
    if (focusPending_) ApplyFocus();
    form_->ClearDirty();
}

void FormWindow::ApplyWindowFlags() {
    if (form_ == nullptr) return;
    const Qt::WindowFlags want =
        FlagsFor(form_->Border(), backend_.StaysOnTop(*form_), form_->TakesFocus());
    const Qt::WindowFlags have = windowFlags();
    if (want == have) return;
    if (windowHandle() != nullptr && (want ^ have) == Qt::WindowStaysOnTopHint) {
        // Only the stacking band changes: tell the existing native window, which keeps it
        // mapped where it is (setWindowFlags would re-create and hide it).
        overrideWindowFlags(want);
        windowHandle()->setFlags(want);
        return;
    }
    const bool wasVisible = isVisible();
    const QPoint at = pos();
    setWindowFlags(want);
    move(at);
    if (wasVisible) show();
}

void FormWindow::ApplyAppearance() {
    ApplyWindowFlags();
    const QString title = QString::fromStdString(form_->Caption());
    if (windowTitle() != title) setWindowTitle(title);
    QPalette pal = palette();
    const QColor back = ToQColor(form_->BackColor());
    if (pal.color(QPalette::Window) != back) {
        pal.setColor(QPalette::Window, back);
        setPalette(pal);
    }
    // A border change may switch between a fixed and a free size.
    ApplyGeometry();
}

void FormWindow::ApplyGeometry() {
    const PixelScale s = backend_.Scale();
    const QPoint at = s.ToPixels(form_->Left(), form_->Top());
    const QSize size(std::max(1, s.ToPixelsX(form_->Width())),
                     std::max(1, s.ToPixelsY(form_->Height())));
    if (form_->Border() == BorderStyle::None) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        if (this->size() != size) resize(size);
    } else if (minimumSize() != size || maximumSize() != size) {
        setFixedSize(size);
    }
    if (pos() != at) {
        ownMoves_.push_back(at);
        if (ownMoves_.size() > 64) ownMoves_.pop_front();
        move(at);
    }
    ApplyShape();
}

void FormWindow::ApplyShape() {
    // The parts convert as the window's size does; beyond them the screen shows through and
    // the clicks go to whatever lies beneath. No parts: the whole window.
    const PixelScale s = backend_.Scale();
    QRegion shape;
    for (const ScreenRect& part : form_->Shape()) {
        shape += QRect(s.ToPixelsX(part.Left), s.ToPixelsY(part.Top), s.ToPixelsX(part.Width),
                       s.ToPixelsY(part.Height));
    }
    if (shape == mask()) return;
    if (shape.isEmpty()) {
        clearMask();
    } else {
        setMask(shape);
    }
}

void FormWindow::ApplyVisibility() {
    if (!form_->Visible()) {
        if (isVisible()) hide();
        return;
    }
    // The band is decided as the window comes up: a dialog stands on top only while modal.
    if (!isVisible()) ApplyWindowFlags();
    if (form_->GetWindowState() == WindowState::Minimized) {
        if (!isMinimized() || !isVisible()) showMinimized();
    } else if (isMinimized()) {
        showNormal();
    } else if (!isVisible()) {
        show();
    }
}

void FormWindow::RequestFocus(Control* control) {
    focusRequest_ = control;
    focusPending_ = true;
}

void FormWindow::ApplyFocus() {
    if (!isVisible()) return;  // stays pending until the window is shown
    focusPending_ = false;
    // A window that never takes the focus leaves it where it is.
    if (!form_->TakesFocus()) return;
    activateWindow();
    QWidget* target = focusRequest_ != nullptr ? WidgetOf(focusRequest_) : this;
    if (target != nullptr && !target->hasFocus()) target->setFocus(Qt::OtherFocusReason);
}

bool FormWindow::event(QEvent* e) {
    if (form_ != nullptr) {
        switch (e->type()) {
            case QEvent::KeyPress: {
                // Before QWidget::event, which would take Tab for the focus chain.
                auto* key = static_cast<QKeyEvent*>(e);
                if (DeliverKey(*key, nullptr).verdict == keys::Verdict::Swallow ||
                    form_ == nullptr) {
                    key->accept();
                    return true;
                }
                break;
            }
            case QEvent::WindowActivate:
                if (form_->TakesFocus()) {
                    backend_.NoteActiveWindow(this);
                    OnActivation(true);
                } else {
                    // A window system that activates it all the same (one that activates
                    // every window it shows): the focus goes back where it was.
                    Later([this] { backend_.ReactivateLastWindow(); });
                }
                break;
            case QEvent::WindowDeactivate: {
                // Qt names the new active window before it deactivates the old one. The focus
                // comes straight back from a window that never takes it.
                auto* to = dynamic_cast<FormWindow*>(QApplication::activeWindow());
                if (to == nullptr || to->form_ == nullptr || to->form_->TakesFocus()) {
                    OnActivation(false);
                }
                break;
            }
            default:
                break;
        }
    }
    return QWidget::event(e);
}

void FormWindow::OnActivation(bool active) {
    if (backend_.Syncing()) {
        Later([this, active] { OnActivation(active); });
        return;
    }
    // Each change reaches the model once, also when the focus comes back from a window that
    // took it against its wish.
    if (active == activeInModel_) return;
    activeInModel_ = active;
    Form* form = form_;
    backend_.Deliver([form, active] {
        if (!form->Loaded()) return;
        if (active) {
            form->Form_Activate();
        } else {
            form->Form_Deactivate();
        }
    });
}

void FormWindow::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    RepaintDeferred();
    if (form_ == nullptr || backend_.Syncing()) return;
    const QPoint at = pos();
    auto own = std::find(ownMoves_.begin(), ownMoves_.end(), at);
    if (own != ownMoves_.end()) {
        ownMoves_.erase(ownMoves_.begin(), own + 1);
        return;
    }
    // Until a (re-)mapped window is on screen, a window manager reports its own first
    // placement of it, from before it honours the place asked for: not the user's doing.
    if (windowHandle() == nullptr || !windowHandle()->isExposed()) return;
    // A move the next Sync will undo anyway, or one that only confirms the model.
    if (form_->DirtyFlags() & kDirtyGeometry) return;
    const PixelScale s = backend_.Scale();
    if (at == s.ToPixels(form_->Left(), form_->Top())) return;
    form_->WindowSystemMoved(s.ToTwipsX(at.x()), s.ToTwipsY(at.y()));
}

void FormWindow::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange || form_ == nullptr || backend_.Syncing()) return;
    if (!isVisible() || (form_->DirtyFlags() & kDirtyVisibility)) return;
    const WindowState now = isMinimized() ? WindowState::Minimized : WindowState::Normal;
    if (form_->GetWindowState() != now) form_->WindowSystemState(now);
}

void FormWindow::closeEvent(QCloseEvent* e) {
    // The model decides whether the window goes.
    e->ignore();
    if (form_ == nullptr) return;
    Form* form = form_;
    backend_.Deliver([form] {
        if (form->Loaded()) form->Form_QueryClose();
    });
}

}  // namespace tavrolin::qt
