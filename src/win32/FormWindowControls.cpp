// The form's controls as standard Windows controls: made, placed and given the model's values,
// and what the user typed or selected in them handed back to the model.
#include "win32/FormWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "win32/FormWindowParts.h"

namespace tavrolin::win32 {

std::wstring WindowText(HWND h) {
    const int n = GetWindowTextLengthW(h);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(h, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

namespace {

// The model counts selections in bytes of its UTF-8 text, an edit control in UTF-16 units.
int ToModelOffset(const std::wstring& shown, int index) {
    index = std::clamp(index, 0, static_cast<int>(shown.size()));
    return static_cast<int>(Utf8(shown.data(), index).size());
}

int ToDisplayIndex(const std::string& model, int offset) {
    offset = std::clamp(offset, 0, static_cast<int>(model.size()));
    return static_cast<int>(Wide(model.substr(0, static_cast<std::size_t>(offset))).size());
}

}  // namespace

POINT FormWindow::ControlOrigin(const Control* c) const {
    // Every control is a child of the form's window, placed in its containers' frame.
    const PixelScale s = Scale();
    POINT at{0, 0};
    for (const Control* k = c->Container(); k != nullptr; k = k->Container()) {
        at.x += s.ToPixelsX(k->Left());
        at.y += s.ToPixelsY(k->Top());
    }
    return at;
}

FormWindow::View& FormWindow::EnsureView(Control* c) {
    View& view = views_[c];
    if (c->Kind() != ControlKind::Line && view.child == nullptr) {
        CreateChild(c, view);
        ApplyControl(c, view);
    }
    return view;
}

void FormWindow::CreateChild(Control* c, View& view) {
    if (c->Container() != nullptr) EnsureView(c->Container());
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    switch (c->Kind()) {
        case ControlKind::Line:
            return;
        case ControlKind::Label:
            // Notify: the label takes the mouse, as the model's labels do.
            style |= SS_NOTIFY | SS_LEFT;
            break;
        case ControlKind::TextBox:
            cls = L"EDIT";
            view.multiLine = static_cast<TextBox*>(c)->MultiLine();
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            if (view.multiLine) style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
            // A read-out's borderless window is its frame; the room of a sunken edge would
            // crop the text it is sized to.
            if (form_->Border() != BorderStyle::None) exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::Frame:
            cls = L"BUTTON";
            // Clipped by its siblings: they lie above it, and its face must not paint over them.
            style = WS_CHILD | WS_CLIPSIBLINGS | BS_GROUPBOX;
            break;
        case ControlKind::CheckBox:
            // Not the automatic kind: the model decides the value.
            cls = L"BUTTON";
            style |= WS_TABSTOP | BS_CHECKBOX;
            break;
        case ControlKind::OptionButton:
            cls = L"BUTTON";
            style |= WS_TABSTOP | BS_RADIOBUTTON;
            break;
        case ControlKind::CommandButton:
            cls = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::ScrollBar:
            cls = L"SCROLLBAR";
            style |= WS_TABSTOP |
                     (static_cast<ScrollBar*>(c)->Horizontal() ? SBS_HORZ : SBS_VERT);
            break;
        case ControlKind::Picture:
            // Painted by the form window (HandleChild); notify: it takes the mouse.
            style |= SS_NOTIFY | SS_LEFT;
            break;
        case ControlKind::ListView:
            // Virtual: the control asks for the cells it shows (FormWindowList.cpp). No sorting
            // by a click on a header: the rows keep the program's order.
            cls = WC_LISTVIEWW;
            style |= WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                     LVS_NOSORTHEADER;
            exStyle = WS_EX_CLIENTEDGE;
            break;
    }
    HWND child = CreateWindowExW(exStyle, cls, L"", style, 0, 0, 0, 0, hwnd_, nullptr,
                                 backend_.Instance(), nullptr);
    if (child == nullptr) return;
    if (c->Kind() == ControlKind::Frame) framesChanged_ = true;
    SetWindowSubclass(child, ChildProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    byChild_[child] = c;
    view.child = child;
    if (c->Kind() == ControlKind::ListView) SetUpList(child);
}

void FormWindow::LineChanged(const Line& line, const PixelBox& now) { damage_.Changed(line, now); }

ControlView* FormWindow::ViewOf(Control& control) {
    auto it = views_.find(&control);
    return it == views_.end() || it->second.child == nullptr ? nullptr : &it->second;
}

void FormWindow::MakeView(Control& control) { EnsureView(&control); }

void FormWindow::RemakeView(Control& control) {
    // Single and multi-line editing are different styles fixed at creation.
    View& view = views_[&control];
    if (!view.tip.empty()) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.hwnd = hwnd_;
        info.uId = reinterpret_cast<UINT_PTR>(view.child);
        SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    byChild_.erase(view.child);
    DestroyWindow(view.child);
    view = View{};
    CreateChild(&control, view);
    ApplyControl(&control, view);
}

void FormWindow::ShowControl(Control& control) { ApplyControl(&control, views_[&control]); }

void FormWindow::Unchanged(Control& control) {
    // A frame that was hidden or shown takes what it holds along.
    HWND child = ChildOf(&control);
    if (child != nullptr && (IsWindowVisible(child) != FALSE) != control.ShownInForm()) {
        ShowWindow(child, control.ShownInForm() ? SW_SHOWNA : SW_HIDE);
    }
}

void FormWindow::ApplyControls() {
    ShowControlChanges(*form_, damage_, Scale());
    if (framesChanged_) {
        // Frames below the controls they hold, an outer frame below the frames inside it.
        framesChanged_ = false;
        const auto& all = form_->Controls();
        for (auto it = all.rbegin(); it != all.rend(); ++it) {
            if ((*it)->Kind() != ControlKind::Frame) continue;
            if (HWND frame = ChildOf(it->get())) {
                SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
        }
    }
    if (damage_.All()) {
        Damage(nullptr);
        return;
    }
    // One rectangle around the changed lines: one blit of the bitmap to the window.
    for (const PixelBox& b : damage_.Boxes()) {
        const RECT r{b.left, b.top, b.right, b.bottom};
        Damage(&r);
    }
}

void FormWindow::ApplyControl(Control* c, View& view) {
    HWND w = view.child;
    if (w == nullptr) return;
    const PixelScale s = Scale();
    const POINT origin = ControlOrigin(c);
    const int x = origin.x + s.ToPixelsX(c->Left());
    const int y = origin.y + s.ToPixelsY(c->Top());
    const int cx = s.ToPixelsX(c->Width());
    const int cy = s.ToPixelsY(c->Height());
    RECT now{};
    GetWindowRect(w, &now);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&now), 2);
    if (now.left != x || now.top != y || now.right - now.left != cx || now.bottom - now.top != cy) {
        SetWindowPos(w, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if ((IsWindowEnabled(w) != FALSE) != c->Enabled()) EnableWindow(w, c->Enabled());

    // What was last given to the control is remembered rather than asked back: during a drag
    // the read-outs change many times a second, and each question is a message to the control.
    const bool underline = c->Kind() == ControlKind::Label && static_cast<Label*>(c)->Underline();
    HFONT font = backend_.Font(c->FontSize(), c->FontBold(), underline, dpi_);
    if (view.font != font) {
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        view.font = font;
    }

    ApplyTip(c, view);

    const std::wstring caption = Wide(c->Caption());
    switch (c->Kind()) {
        case ControlKind::Line:
            break;
        case ControlKind::Label: {
            const auto* model = static_cast<Label*>(c);
            DWORD align = SS_LEFT;
            if (model->Alignment() == Label::Align::Center) align = SS_CENTER;
            if (model->Alignment() == Label::Align::Right) align = SS_RIGHT;
            if (align == SS_LEFT && !model->WordWrap()) align = SS_LEFTNOWORDWRAP;
            const auto style = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE));
            const DWORD want = (style & ~SS_TYPEMASK) | align;
            if (want != style) SetWindowLongPtrW(w, GWL_STYLE, static_cast<LONG_PTR>(want));
            ApplyCaption(view, caption);
            break;
        }
        case ControlKind::TextBox:
            ApplyText(*static_cast<TextBox*>(c), view);
            break;
        case ControlKind::Frame:
        case ControlKind::CommandButton:
            ApplyCaption(view, caption);
            break;
        case ControlKind::CheckBox:
        case ControlKind::OptionButton: {
            ApplyCaption(view, caption);
            const bool on = c->Kind() == ControlKind::CheckBox
                                ? static_cast<CheckBox*>(c)->Value() != 0
                                : static_cast<OptionButton*>(c)->Value();
            SendMessageW(w, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        }
        case ControlKind::ScrollBar: {
            const auto* model = static_cast<ScrollBar*>(c);
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_RANGE | SIF_POS;
            info.nMin = model->Min();
            info.nMax = model->Max();
            info.nPos = model->Value();
            SetScrollInfo(w, SB_CTL, &info, TRUE);
            break;
        }
        case ControlKind::Picture: {
            const auto version = static_cast<tavrolin::Picture*>(c)->PictureVersion();
            if (view.pictureVersion != version) {
                InvalidateRect(w, nullptr, FALSE);
                view.pictureVersion = version;
            }
            break;
        }
        case ControlKind::ListView:
            ApplyList(*static_cast<ListView*>(c), view);
            break;
    }
    // Colours come with WM_CTLCOLOR*, asked for as the control paints.
    const Color fore = c->ForeColor(), back = BackOf(c);
    if (fore != view.fore || back != view.back) {
        InvalidateRect(w, nullptr, TRUE);
        view.fore = fore;
        view.back = back;
    }
    // Visibility last: a control shown before its geometry is set flashes at the old place.
    if ((IsWindowVisible(w) != FALSE) != c->ShownInForm()) {
        ShowWindow(w, c->ShownInForm() ? SW_SHOWNA : SW_HIDE);
    }
}

void FormWindow::ApplyCaption(View& view, const std::wstring& caption) {
    if (view.captionShown && view.caption == caption) return;
    SetWindowTextW(view.child, caption.c_str());
    view.caption = caption;
    view.captionShown = true;
}

Color FormWindow::BackOf(const Control* c) const {
    if (c->HasBackColor()) return c->BackColor();
    if (c->Kind() == ControlKind::TextBox || c->Kind() == ControlKind::ListView) {
        return static_cast<Color>(GetSysColor(COLOR_WINDOW));
    }
    return form_->BackColor();
}

void FormWindow::ApplyTip(Control* c, View& view) {
    const std::wstring tip = Wide(c->ToolTipText());
    if (tip == view.tip) return;
    if (tips_ == nullptr) {
        tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                backend_.Instance(), nullptr);
        if (tips_ == nullptr) return;
        // Long help texts wrap instead of running across the screen.
        SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(view.child);
    info.lpszText = const_cast<wchar_t*>(tip.c_str());
    if (view.tip.empty()) {
        SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    } else if (tip.empty()) {
        SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    } else {
        SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    }
    view.tip = tip;
}

void FormWindow::ApplyText(TextBox& box, View& view) {
    HWND w = view.child;
    const bool readOnly = (GetWindowLongPtrW(w, GWL_STYLE) & ES_READONLY) != 0;
    if (readOnly != box.Locked()) SendMessageW(w, EM_SETREADONLY, box.Locked(), 0);
    const std::wstring want = Wide(box.Text());
    if (WindowText(w) != want) {
        // The model changed or refused the text: keep the cursor where it was, within bounds.
        DWORD start = 0;
        SendMessageW(w, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        SetWindowTextW(w, want.c_str());
        const auto cursor = static_cast<WPARAM>(std::min<std::size_t>(start, want.size()));
        SendMessageW(w, EM_SETSEL, cursor, static_cast<LPARAM>(cursor));
    }
    if (box.SelStart() != view.selStart || box.SelLength() != view.selLength) {
        const int from = ToDisplayIndex(box.Text(), box.SelStart());
        const int to = ToDisplayIndex(box.Text(), box.SelStart() + box.SelLength());
        SendMessageW(w, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
        view.selStart = box.SelStart();
        view.selLength = box.SelLength();
    }
}

void FormWindow::Reconcile(Control* c) {
    // After a click the control shows its own idea of the value; the next Sync shows the
    // model's, also when the model refused the change and so marked nothing.
    auto it = views_.find(c);
    if (it == views_.end()) return;
    it->second.force = true;
    form_->MarkDirty(kDirtyControls);
}

void FormWindow::PushText(TextBox& box) {
    if (form_ == nullptr || backend_.Syncing()) return;
    HWND w = ChildOf(&box);
    if (w == nullptr) return;
    const std::string text = Utf8(WindowText(w).c_str());
    backend_.Deliver([this, &box, text] {
        box.SetText(text);
        // SetText puts the model's cursor at the end; the editor's is where the user typed.
        if (form_ != nullptr && box.Text() == text) PushSelection(box);
    });
}

void FormWindow::PushSelection(TextBox& box) {
    if (form_ == nullptr || backend_.Syncing()) return;
    auto it = views_.find(&box);
    if (it == views_.end() || it->second.child == nullptr) return;
    View& view = it->second;
    DWORD start = 0, end = 0;
    SendMessageW(view.child, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    const std::wstring shown = WindowText(view.child);
    const int from = ToModelOffset(shown, static_cast<int>(start));
    const int to = ToModelOffset(shown, static_cast<int>(end));
    box.SetSelection(from, to - from);
    view.selStart = box.SelStart();
    view.selLength = box.SelLength();
}

}  // namespace tavrolin::win32
