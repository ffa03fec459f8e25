// The window's child controls: a Qt widget made for each control of the form, the model's
// state shown on it, and what the user changed in it (text, selection) handed back.
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextDocument>
#include <algorithm>

#include "forms/Dispatch.h"
#include "forms/UserInput.h"
#include "qt/ControlWidgets.h"
#include "qt/FormWindow.h"
#include "qt/QtBackend.h"
#include "qt/TextEditors.h"

namespace tavrolin::qt {

FormWindow::View& FormWindow::EnsureView(Control* control) {
    View& view = views_[control];
    if (control->Kind() != ControlKind::Line && view.widget == nullptr) {
        CreateWidget(control, view);
        ApplyControl(control, view);
    }
    return view;
}

void FormWindow::ApplyControls() {
    ShowControlChanges(*form_, damage_, backend_.Scale());
    RepaintDamage();
}

void FormWindow::LineChanged(const Line& line, const PixelBox& now) {
    QWidget* frame = line.Container() != nullptr ? WidgetOf(line.Container()) : nullptr;
    if (frame != nullptr) frame->update();
    damage_.Changed(line, now, line.Container() == nullptr);
}

ControlView* FormWindow::ViewOf(Control& control) {
    auto it = views_.find(&control);
    return it == views_.end() || it->second.widget == nullptr ? nullptr : &it->second;
}

void FormWindow::MakeView(Control& control) { EnsureView(&control); }

void FormWindow::RemakeView(Control& control) {
    // Single and multi-line editing are different widgets.
    View& view = views_[&control];
    byWidget_.erase(view.widget);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(view.widget)) {
        byWidget_.erase(plain->viewport());
    }
    view.widget->hide();
    view.widget->deleteLater();
    view = View{};
    CreateWidget(&control, view);
    ApplyControl(&control, view);
}

void FormWindow::ShowControl(Control& control) { ApplyControl(&control, views_[&control]); }

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
        case ControlKind::Picture:
            w = new PictureWidget(parent);
            break;
        case ControlKind::ListView: {
            auto* model = static_cast<ListView*>(c);
            auto* list = new ListWidget(*model, parent);
            // The rows take the mouse; the list its keys and the focus.
            list->viewport()->installEventFilter(this);
            byWidget_[list->viewport()] = c;
            connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                    [this, model, list] {
                        // Showing the program's selection is no choice of the user's.
                        if (form_ == nullptr || backend_.Syncing()) return;
                        dispatch::SelectRows(*model, list->SelectedRows());
                    });
            w = list;
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
        case ControlKind::Picture: {
            const auto* model = static_cast<Picture*>(c);
            static_cast<PictureWidget*>(w)->SetPicture(model->PictureVersion(),
                                                       model->PictureWidth(),
                                                       model->PictureHeight(), model->Rgb());
            break;
        }
        case ControlKind::ListView:
            static_cast<ListWidget*>(w)->Show(*static_cast<ListView*>(c), s);
            break;
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

}  // namespace tavrolin::qt
