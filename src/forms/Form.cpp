#include "forms/Form.h"

#include <algorithm>
#include <utility>

#include "forms/Backend.h"

namespace tavrolin {

Form::Form(Backend& backend, std::string name)
    : backend_(backend), name_(std::move(name)), hwnd_(backend.Register(*this)) {}

Form::~Form() {
    if (loaded_) backend_.WindowDestroyed(*this);
    backend_.Unregister(*this);
}

void Form::Form_QueryClose() { Unload(); }

void Form::Load() {
    if (loaded_) return;
    loaded_ = true;
    dirty_ = kDirtyAll;
    backend_.WindowCreated(*this);
    Form_Load();
}

void Form::Show() {
    Load();
    if (!loaded_) return;  // the load handler unloaded the form again
    SetVisible(true);
}

void Form::Hide() { SetVisible(false); }

void Form::Unload() {
    if (!loaded_) return;
    Form_Unload();
    if (!loaded_) return;
    loaded_ = false;
    visible_ = false;
    modal_ = false;
    focus_ = nullptr;
    // Run-time controls go with the window; designed ones stay with the object.
    lines_.resize(designedLines_);
    for (auto it = controls_.begin() + static_cast<std::ptrdiff_t>(designedCount_);
         it != controls_.end(); ++it) {
        auto& list = byName_[(*it)->Name()];
        std::erase(list, it->get());
    }
    controls_.resize(designedCount_);
    backend_.WindowDestroyed(*this);
}

void Form::ShowModal() {
    Load();
    if (!loaded_) return;
    modal_ = true;
    SetVisible(true);
    backend_.RunModal(*this);
    modal_ = false;
}

void Form::SetGeometry(double left, double top, double width, double height) {
    const bool sized = width != width_ || height != height_;
    if (left == left_ && top == top_ && !sized) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    dirty_ |= kDirtyGeometry;
    if (sized && loaded_) Form_Resize();
}

void Form::SetLeft(double v) { SetGeometry(v, top_, width_, height_); }
void Form::SetTop(double v) { SetGeometry(left_, v, width_, height_); }
void Form::SetWidth(double v) { SetGeometry(left_, top_, std::max(0.0, v), height_); }
void Form::SetHeight(double v) { SetGeometry(left_, top_, width_, std::max(0.0, v)); }
void Form::Move(double left, double top, double width, double height) {
    SetGeometry(left, top, std::max(0.0, width), std::max(0.0, height));
}

void Form::SetVisible(bool v) {
    if (v && !loaded_) Load();
    if (visible_ == v) return;
    visible_ = v;
    if (v) shownOrder_ = backend_.NextShownOrder();
    dirty_ |= kDirtyVisibility;
}

void Form::SetWindowState(WindowState s) {
    if (state_ == s) return;
    state_ = s;
    dirty_ |= kDirtyVisibility;
}

void Form::SetBackColor(Color c) {
    if (backColor_ == c) return;
    backColor_ = c;
    dirty_ |= kDirtyAppearance;
}

void Form::SetCaption(const std::string& v) {
    if (caption_ == v) return;
    caption_ = v;
    dirty_ |= kDirtyAppearance;
}

void Form::SetShape(std::vector<ScreenRect> parts) {
    auto same = [](const ScreenRect& a, const ScreenRect& b) {
        return a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height;
    };
    if (std::equal(parts.begin(), parts.end(), shape_.begin(), shape_.end(), same)) return;
    shape_ = std::move(parts);
    dirty_ |= kDirtyGeometry;
}

void Form::SetBorder(BorderStyle b) {
    if (border_ == b) return;
    border_ = b;
    dirty_ |= kDirtyAppearance;
}

void Form::Adopt(std::unique_ptr<Control> control, bool runtime) {
    Control* raw = control.get();
    const bool designed = !runtime && designedCount_ == controls_.size();
    if (designed) ++designedCount_;
    controls_.push_back(std::move(control));
    byName_[raw->Name()].push_back(raw);
    if (raw->Kind() == ControlKind::Line) {
        lines_.push_back(static_cast<Line*>(raw));
        if (designed) ++designedLines_;
    }
    dirty_ |= kDirtyControls;
}

Line& Form::AddLine(const std::string& name) {
    auto owned = std::make_unique<Line>(*this, name, -1, nullptr);
    Line& ref = *owned;
    Adopt(std::move(owned), true);
    return ref;
}

Control* Form::Find(const std::string& name, int index) const {
    auto it = byName_.find(name);
    if (it == byName_.end()) return nullptr;
    for (Control* c : it->second) {
        if (c->Index() == index) return c;
    }
    return nullptr;
}

void Form::SetFocus(Control* control) {
    focus_ = control;
    backend_.SetFocus(*this, control);
}

double Form::TextWidth(const std::string& text) const { return backend_.TextWidth(*this, text); }
double Form::TextHeight(const std::string& text) const {
    return backend_.TextHeight(*this, text);
}

void Form::WindowSystemMoved(double left, double top) {
    left_ = left;
    top_ = top;
}

void Form::WindowSystemResized(double width, double height) {
    const bool sized = width != width_ || height != height_;
    width_ = width;
    height_ = height;
    if (sized && loaded_) Form_Resize();
}

void Form::WindowSystemState(WindowState s) { state_ = s; }

}  // namespace tavrolin
