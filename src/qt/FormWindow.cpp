#include "qt/FormWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "forms/Dispatch.h"
#include "forms/UserInput.h"
#include "qt/ControlWidgets.h"
#include "qt/KeyMapping.h"
#include "qt/QtBackend.h"

namespace tavrolin::qt {

namespace {

QRect ToQRect(const PixelBox& b) {
    return QRect(b.left, b.top, b.right - b.left, b.bottom - b.top);
}

// A text box shows line ends as the editor knows them; the model keeps CR LF.
QString ToDisplay(const std::string& text, bool multiLine) {
    QString s = QString::fromStdString(text);
    if (multiLine) s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

std::string FromDisplay(const QString& text, bool multiLine) {
    if (!multiLine) return text.toStdString();
    QString s = text;
    s.replace(u'\n', QStringLiteral("\r\n"));
    return s.toStdString();
}

// The model counts selections in bytes of its UTF-8 text, the editors in UTF-16 units.
int ToModelOffset(const QString& display, int index, bool multiLine) {
    return static_cast<int>(FromDisplay(display.left(index), multiLine).size());
}

int ToDisplayIndex(const std::string& model, int offset, bool multiLine) {
    offset = std::clamp(offset, 0, static_cast<int>(model.size()));
    return static_cast<int>(ToDisplay(model.substr(0, static_cast<std::size_t>(offset)), multiLine).size());
}

QString DisplayedText(const QWidget* w) {
    if (auto* line = qobject_cast<const QLineEdit*>(w)) return line->text();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(w)) return plain->toPlainText();
    return {};
}

std::pair<int, int> DisplayedSelection(const QWidget* w) {
    if (auto* line = qobject_cast<const QLineEdit*>(w)) {
        if (line->hasSelectedText()) {
            return {line->selectionStart(), static_cast<int>(line->selectedText().size())};
        }
        return {line->cursorPosition(), 0};
    }
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(w)) {
        const QTextCursor c = plain->textCursor();
        return {c.selectionStart(), c.selectionEnd() - c.selectionStart()};
    }
    return {0, 0};
}

void ShowSelection(QWidget* w, int start, int length) {
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        if (length > 0) {
            line->setSelection(start, length);
        } else {
            line->setCursorPosition(start);
        }
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        QTextCursor c = plain->textCursor();
        c.setPosition(start);
        c.setPosition(start + length, QTextCursor::KeepAnchor);
        plain->setTextCursor(c);
    }
}

Qt::WindowFlags FlagsFor(BorderStyle border, bool topmost) {
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
    return f;
}

bool IsEditingShortcut(const QKeyEvent& e) {
    for (const QKeySequence::StandardKey key :
         {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste,
          QKeySequence::Undo, QKeySequence::Redo, QKeySequence::Deselect}) {
        if (e.matches(key)) return true;
    }
    return false;
}

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

FormWindow::FormWindow(QtBackend& backend, Form& form) : backend_(backend), form_(&form) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setWindowFlags(FlagsFor(form.Border(), backend_.StaysOnTop(form)));
}

FormWindow::~FormWindow() = default;

void FormWindow::Detach() {
    form_ = nullptr;
    focusRequest_ = nullptr;
    focusPending_ = false;
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

// ---------------------------------------------------------------- showing the model

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
    const Qt::WindowFlags want = FlagsFor(form_->Border(), backend_.StaysOnTop(*form_));
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
    activateWindow();
    QWidget* target = focusRequest_ != nullptr ? WidgetOf(focusRequest_) : this;
    if (target != nullptr && !target->hasFocus()) target->setFocus(Qt::OtherFocusReason);
}

FormWindow::View& FormWindow::EnsureView(Control* control) {
    View& view = views_[control];
    if (control->Kind() != ControlKind::Line && view.widget == nullptr) {
        CreateWidget(control, view);
        ApplyControl(control, view);
    }
    return view;
}

void FormWindow::ApplyControls() {
    const PixelScale s = backend_.Scale();
    damage_.Begin();
    for (const auto& owned : form_->Controls()) {
        Control* c = owned.get();
        if (c->Kind() == ControlKind::Line) {
            const auto& line = static_cast<const Line&>(*c);
            if (c->Dirty() || damage_.IsNew(line)) {
                const PixelBox now = line.ShownInForm() ? LineBox(line, s) : PixelBox{};
                QWidget* frame = c->Container() != nullptr ? WidgetOf(c->Container()) : nullptr;
                if (frame != nullptr) frame->update();
                damage_.Changed(line, now, c->Container() == nullptr);
            }
            c->ClearDirty();
            continue;
        }
        auto it = views_.find(c);
        if (it == views_.end() || it->second.widget == nullptr) {
            EnsureView(c);
        } else {
            View& view = it->second;
            const bool multi = c->Kind() == ControlKind::TextBox &&
                               static_cast<TextBox*>(c)->MultiLine();
            if (c->Kind() == ControlKind::TextBox && multi != view.multiLine) {
                // Single and multi-line editing are different widgets.
                byWidget_.erase(view.widget);
                if (auto* plain = qobject_cast<QPlainTextEdit*>(view.widget)) {
                    byWidget_.erase(plain->viewport());
                }
                view.widget->hide();
                view.widget->deleteLater();
                view = View{};
                CreateWidget(c, view);
                ApplyControl(c, view);
            } else if (c->Dirty() || view.force) {
                ApplyControl(c, view);
            }
            view.force = false;
        }
        c->ClearDirty();
    }
    QRegion invalid;
    if (damage_.All()) {
        invalid = rect();
    } else {
        for (const PixelBox& b : damage_.Boxes()) invalid += ToQRect(b);
        invalid &= rect();
    }
    if (invalid.isEmpty()) return;
    // What lies beyond the screens waits until the window brings it onto one: a ruler may be
    // many screens long, and only its part on screen is worth a repaint during a drag.
    const QRect desk = QtBackend::VirtualDesktop();
    const QPoint origin = mapFromGlobal(desk.topLeft());
    const PixelBox desktop{origin.x(), origin.y(), origin.x() + desk.width(),
                           origin.y() + desk.height()};
    QRegion onScreen;
    for (const QRect& r : invalid) {
        onScreen += ToQRect(OnDesktop(PixelBox{r.left(), r.top(), r.right() + 1, r.bottom() + 1},
                                      desktop));
    }
    deferred_ += invalid - onScreen;
    if (onScreen.isEmpty()) return;
    update(onScreen);
    pendingPaint_ += onScreen;
}

void FormWindow::CreateWidget(Control* c, View& view) {
    QWidget* parent = this;
    if (c->Container() != nullptr) {
        View& container = EnsureView(c->Container());
        if (container.widget != nullptr) parent = container.widget;
    }
    QWidget* w = nullptr;
    switch (c->Kind()) {
        case ControlKind::Line:
            return;
        case ControlKind::Label:
            w = new LabelWidget(parent);
            break;
        case ControlKind::TextBox: {
            auto* box = static_cast<TextBox*>(c);
            view.multiLine = box->MultiLine();
            if (view.multiLine) {
                auto* edit = new QPlainTextEdit(parent);
                edit->setTabChangesFocus(true);
                // The model sizes the box to its text: no scroll bars, no wrapping, and a
                // margin as thin as a single-line editor's.
                edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                edit->setLineWrapMode(QPlainTextEdit::NoWrap);
                edit->document()->setDocumentMargin(2);
                edit->viewport()->installEventFilter(this);
                byWidget_[edit->viewport()] = c;
                connect(edit, &QPlainTextEdit::textChanged, this, [this, box] { PushText(*box); });
                connect(edit, &QPlainTextEdit::cursorPositionChanged, this,
                        [this, box] { PushSelection(*box); });
                connect(edit, &QPlainTextEdit::selectionChanged, this,
                        [this, box] { PushSelection(*box); });
                w = edit;
            } else {
                auto* edit = new QLineEdit(parent);
                connect(edit, &QLineEdit::textEdited, this, [this, box] { PushText(*box); });
                connect(edit, &QLineEdit::cursorPositionChanged, this,
                        [this, box] { PushSelection(*box); });
                connect(edit, &QLineEdit::selectionChanged, this,
                        [this, box] { PushSelection(*box); });
                w = edit;
            }
            break;
        }
        case ControlKind::Frame: {
            auto* frame = new FrameWidget(parent);
            frame->paintContents = [this, c](QPainter& p, const QRect& exposed) {
                if (form_ != nullptr) PaintLines(p, exposed, c);
            };
            w = frame;
            break;
        }
        case ControlKind::CheckBox: {
            auto* check = new QCheckBox(parent);
            connect(check, &QCheckBox::clicked, this, [this, c] {
                if (form_ == nullptr) return;
                Reconcile(c);
                dispatch::Click(*c);
            });
            w = check;
            break;
        }
        case ControlKind::OptionButton: {
            auto* option = new QRadioButton(parent);
            // The model keeps the buttons of a container exclusive, and may have none chosen.
            option->setAutoExclusive(false);
            connect(option, &QRadioButton::clicked, this, [this, c] {
                if (form_ == nullptr) return;
                Reconcile(c);
                dispatch::Click(*c);
            });
            w = option;
            break;
        }
        case ControlKind::CommandButton: {
            auto* button = new QPushButton(parent);
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, [this, c] {
                if (form_ != nullptr) dispatch::Click(*c);
            });
            w = button;
            break;
        }
        case ControlKind::ScrollBar: {
            auto* bar = new QScrollBar(parent);
            connect(bar, &QScrollBar::valueChanged, this, [this, c](int value) {
                if (form_ == nullptr || backend_.Syncing()) return;
                Reconcile(c);
                dispatch::Scroll(*static_cast<ScrollBar*>(c), value);
            });
            w = bar;
            break;
        }
    }
    w->installEventFilter(this);
    byWidget_[w] = c;
    view.widget = w;
}

void FormWindow::Reconcile(Control* control) {
    // After a click the widget shows its own idea of the value; the next Sync shows the
    // model's, also when the model refused the change and so marked nothing.
    auto it = views_.find(control);
    if (it == views_.end()) return;
    it->second.force = true;
    form_->MarkDirty(kDirtyControls);
}

void FormWindow::ApplyControl(Control* c, View& view) {
    QWidget* w = view.widget;
    if (w == nullptr) return;
    const QSignalBlocker block(w);
    const PixelScale s = backend_.Scale();
    const QRect r(s.ToPixels(c->Left(), c->Top()),
                  QSize(s.ToPixelsX(c->Width()), s.ToPixelsY(c->Height())));
    if (w->geometry() != r) w->setGeometry(r);
    if (w->isEnabled() != c->Enabled()) w->setEnabled(c->Enabled());
    const QString tip = QString::fromStdString(c->ToolTipText());
    if (w->toolTip() != tip) w->setToolTip(tip);

    QFont font = this->font();
    if (c->FontSize() > 0) font.setPointSizeF(c->FontSize());
    font.setBold(c->FontBold());
    if (c->Kind() == ControlKind::Label) font.setUnderline(static_cast<Label*>(c)->Underline());
    if (w->font() != font) w->setFont(font);

    // Only the roles the model sets; the rest follows the form.
    QPalette pal;
    const QColor fore = ToQColor(c->ForeColor());
    pal.setColor(QPalette::WindowText, fore);
    pal.setColor(QPalette::Text, fore);
    pal.setColor(QPalette::ButtonText, fore);
    if (c->HasBackColor()) {
        const QColor back = ToQColor(c->BackColor());
        pal.setColor(QPalette::Window, back);
        pal.setColor(QPalette::Base, back);
        pal.setColor(QPalette::Button, back);
    }
    w->setPalette(pal);
    const bool fill = c->HasBackColor() && c->Kind() != ControlKind::TextBox;
    if (w->autoFillBackground() != fill) w->setAutoFillBackground(fill);

    const QString caption = QString::fromStdString(c->Caption());
    switch (c->Kind()) {
        case ControlKind::Line:
            break;
        case ControlKind::Label: {
            auto* label = static_cast<QLabel*>(w);
            const auto* model = static_cast<Label*>(c);
            const QString text = LabelText(caption);
            if (label->text() != text) label->setText(text);
            Qt::Alignment align = Qt::AlignTop;
            switch (model->Alignment()) {
                case Label::Align::Left: align |= Qt::AlignLeft; break;
                case Label::Align::Center: align |= Qt::AlignHCenter; break;
                case Label::Align::Right: align |= Qt::AlignRight; break;
            }
            if (label->alignment() != align) label->setAlignment(align);
            if (label->wordWrap() != model->WordWrap()) label->setWordWrap(model->WordWrap());
            break;
        }
        case ControlKind::TextBox:
            ApplyText(*static_cast<TextBox*>(c), view);
            break;
        case ControlKind::Frame: {
            auto* frame = static_cast<QGroupBox*>(w);
            if (frame->title() != caption) frame->setTitle(caption);
            break;
        }
        case ControlKind::CheckBox: {
            auto* check = static_cast<QCheckBox*>(w);
            if (check->text() != caption) check->setText(caption);
            check->setChecked(static_cast<CheckBox*>(c)->Value() != 0);
            break;
        }
        case ControlKind::OptionButton: {
            auto* option = static_cast<QRadioButton*>(w);
            if (option->text() != caption) option->setText(caption);
            option->setChecked(static_cast<OptionButton*>(c)->Value());
            break;
        }
        case ControlKind::CommandButton: {
            auto* button = static_cast<QPushButton*>(w);
            if (button->text() != caption) button->setText(caption);
            break;
        }
        case ControlKind::ScrollBar: {
            auto* bar = static_cast<QScrollBar*>(w);
            const auto* model = static_cast<ScrollBar*>(c);
            bar->setOrientation(model->Horizontal() ? Qt::Horizontal : Qt::Vertical);
            bar->setRange(model->Min(), model->Max());
            const int page = dispatch::PageOf(*model);
            if (bar->pageStep() != page) bar->setPageStep(page);
            bar->setValue(model->Value());
            break;
        }
    }
    // Visibility last: a widget shown before its geometry is set flashes at the old place.
    if (w->isHidden() == c->Visible()) w->setVisible(c->Visible());
}

void FormWindow::ApplyText(TextBox& box, View& view) {
    QWidget* w = view.widget;
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        if (line->isReadOnly() != box.Locked()) line->setReadOnly(box.Locked());
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        if (plain->isReadOnly() != box.Locked()) plain->setReadOnly(box.Locked());
    }
    const QString want = ToDisplay(box.Text(), view.multiLine);
    if (DisplayedText(w) != want) {
        // The model changed or refused the text: keep the cursor where it was, within bounds.
        const int cursor = std::min(DisplayedSelection(w).first, static_cast<int>(want.size()));
        if (auto* line = qobject_cast<QLineEdit*>(w)) {
            line->setText(want);
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
            plain->setPlainText(want);
        }
        ShowSelection(w, cursor, 0);
    }
    if (box.SelStart() != view.selStart || box.SelLength() != view.selLength) {
        const int start = ToDisplayIndex(box.Text(), box.SelStart(), view.multiLine);
        const int end =
            ToDisplayIndex(box.Text(), box.SelStart() + box.SelLength(), view.multiLine);
        ShowSelection(w, start, end - start);
        view.selStart = box.SelStart();
        view.selLength = box.SelLength();
    }
}

// ---------------------------------------------------------------- painting

QRect FormWindow::LineBounds(const Line& line) const {
    return ToQRect(LineBox(line, backend_.Scale()));
}

void FormWindow::PaintLines(QPainter& painter, const QRect& exposed, const Control* container) {
    const PixelScale s = backend_.Scale();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen;
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    Color penColor = -1;
    int penWidth = -1;
    QColor color;
    for (const Line* line : form_->Lines()) {
        if (line->Container() != container || !line->ShownInForm()) continue;
        // Whole-pixel end points: with an aliased pen of width w the line covers w pixels
        // centred on them, the extra pixel of an even width before them, and its square caps
        // reach as far past the ends.
        const QPoint a = s.ToPixels(line->X1(), line->Y1());
        const QPoint b = s.ToPixels(line->X2(), line->Y2());
        const int w = line->BorderWidth();
        if (line->BorderColor() != penColor) {
            penColor = line->BorderColor();
            color = ToQColor(penColor);
        }
        // A level or plumb line, as every line of the ruler and the crosshairs is, is filled.
        const PixelBox fill = LineFill(*line, s);
        if (!fill.Empty()) {
            const QRect r = ToQRect(fill);
            if (r.intersects(exposed)) painter.fillRect(r, color);
            continue;
        }
        if (!LineBounds(*line).intersects(exposed)) continue;
        if (pen.color() != color || w != penWidth) {
            penWidth = w;
            pen.setColor(color);
            pen.setWidth(penWidth);
            painter.setPen(pen);
        }
        painter.drawLine(a, b);
    }
}

void FormWindow::paintEvent(QPaintEvent* e) {
    pendingPaint_ -= e->region();
    if (form_ == nullptr) return;
    QPainter painter(this);
    PaintLines(painter, e->rect(), nullptr);
}

void FormWindow::PaintPending() {
    if (pendingPaint_.isEmpty() || !isVisible()) return;
    const QRegion region = pendingPaint_;
    pendingPaint_ = QRegion();
    repaint(region);
}

// ---------------------------------------------------------------- what the user does

void FormWindow::PushText(TextBox& box) {
    if (form_ == nullptr || backend_.Syncing()) return;
    QWidget* w = WidgetOf(&box);
    if (w == nullptr) return;
    View& view = views_[&box];
    const QString shown = DisplayedText(w);
    if (!typing_ && !box.Locked() && PushInserted(box, view, shown)) return;
    const std::string text = FromDisplay(shown, view.multiLine);
    backend_.Deliver([this, &box, text] {
        box.SetText(text);
        // SetText puts the model's cursor at the end; the editor's is where the user typed.
        if (form_ != nullptr && box.Text() == text) PushSelection(box);
    });
}

bool FormWindow::PushInserted(TextBox& box, View& view, const QString& shown) {
    // What the editor inserted by itself (a paste, a drop, an undo), found as the part between
    // what the model's text and the editor's have in common at either end.
    const QString before = ToDisplay(box.Text(), view.multiLine);
    qsizetype head = 0;
    while (head < before.size() && head < shown.size() && before[head] == shown[head]) ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < shown.size() - head &&
           before[before.size() - 1 - tail] == shown[shown.size() - 1 - tail]) {
        ++tail;
    }
    const QString inserted = shown.mid(head, shown.size() - head - tail);
    if (inserted.isEmpty()) return false;
    const int start = ToModelOffset(before, static_cast<int>(head), view.multiLine);
    const int end = ToModelOffset(before, static_cast<int>(before.size() - tail), view.multiLine);
    const std::string text = FromDisplay(inserted, view.multiLine);
    // The editor shows what the model makes of it, also when the model takes none of it.
    Reconcile(&box);
    view.selStart = view.selLength = -1;
    backend_.Deliver([&box, start, end] { box.SetSelection(start, end - start); });
    user::Paste(box, text);
    return true;
}

void FormWindow::PushSelection(TextBox& box) {
    if (form_ == nullptr || backend_.Syncing()) return;
    auto it = views_.find(&box);
    if (it == views_.end() || it->second.widget == nullptr) return;
    View& view = it->second;
    const QString shown = DisplayedText(view.widget);
    const auto [start, length] = DisplayedSelection(view.widget);
    const int from = ToModelOffset(shown, start, view.multiLine);
    const int to = ToModelOffset(shown, start + length, view.multiLine);
    box.SetSelection(from, to - from);
    view.selStart = box.SelStart();
    view.selLength = box.SelLength();
}

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
    Control* c = ControlOf(widget);
    if (c == nullptr) return;
    Form* form = form_;
    backend_.Deliver([this, form, c] {
        backend_.ReportFocus(*form, c);
        if (c->onGotFocus) c->onGotFocus();
    });
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
                OnActivation(true);
                break;
            case QEvent::WindowDeactivate:
                OnActivation(false);
                break;
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

void FormWindow::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    if (!deferred_.isEmpty()) {
        // Part of what was beyond the screens may be on one now.
        update(deferred_);
        pendingPaint_ += deferred_;
        deferred_ = QRegion();
    }
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
