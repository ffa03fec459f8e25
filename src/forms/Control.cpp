#include "forms/Control.h"

#include <algorithm>

#include "forms/Form.h"

namespace tavrolin {

Control::Control(Form& form, ControlKind kind, std::string name, int index, Control* container)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index), container_(container) {}

void Control::Touch() {
    dirty_ = true;
    form_.MarkDirty(kDirtyControls);
}

#define TAVROLIN_SETTER(field, v) \
    if (field == (v)) return;     \
    field = (v);                  \
    Touch()

void Control::SetLeft(double v) { TAVROLIN_SETTER(left_, v); }
void Control::SetTop(double v) { TAVROLIN_SETTER(top_, v); }
void Control::SetWidth(double v) { TAVROLIN_SETTER(width_, v); }
void Control::SetHeight(double v) { TAVROLIN_SETTER(height_, v); }
void Control::Move(double left, double top, double width, double height) {
    SetLeft(left);
    SetTop(top);
    SetWidth(width);
    SetHeight(height);
}
void Control::SetVisible(bool v) { TAVROLIN_SETTER(visible_, v); }
void Control::SetEnabled(bool v) { TAVROLIN_SETTER(enabled_, v); }
void Control::SetCaption(const std::string& v) { TAVROLIN_SETTER(caption_, v); }
void Control::SetToolTipText(const std::string& v) { TAVROLIN_SETTER(toolTip_, v); }
void Control::SetBackColor(Color c) {
    if (hasBackColor_ && backColor_ == c) return;
    backColor_ = c;
    hasBackColor_ = true;
    Touch();
}
void Control::SetForeColor(Color c) { TAVROLIN_SETTER(foreColor_, c); }
void Control::SetFontSize(double points) { TAVROLIN_SETTER(fontSize_, points); }
void Control::SetFontBold(bool v) { TAVROLIN_SETTER(fontBold_, v); }

bool Control::ShownInForm() const {
    for (const Control* c = this; c != nullptr; c = c->Container()) {
        if (!c->Visible()) return false;
    }
    return true;
}

void Line::SetX1(double v) { TAVROLIN_SETTER(x1_, v); }
void Line::SetY1(double v) { TAVROLIN_SETTER(y1_, v); }
void Line::SetX2(double v) { TAVROLIN_SETTER(x2_, v); }
void Line::SetY2(double v) { TAVROLIN_SETTER(y2_, v); }
void Line::SetBorderColor(Color c) { TAVROLIN_SETTER(borderColor_, c); }
void Line::SetBorderWidth(int px) { TAVROLIN_SETTER(borderWidth_, std::max(1, px)); }
void Line::SetLine(double x1, double y1, double x2, double y2, Color color, int widthPx) {
    widthPx = std::max(1, widthPx);
    if (x1_ == x1 && y1_ == y1 && x2_ == x2 && y2_ == y2 && borderColor_ == color &&
        borderWidth_ == widthPx) {
        return;
    }
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    borderColor_ = color;
    borderWidth_ = widthPx;
    Touch();
}

void Label::SetAlignment(Align a) { TAVROLIN_SETTER(align_, a); }
void Label::SetWordWrap(bool v) { TAVROLIN_SETTER(wordWrap_, v); }
void Label::SetUnderline(bool v) { TAVROLIN_SETTER(underline_, v); }

void TextBox::SetText(const std::string& v) {
    if (text_ == v) return;
    text_ = v;
    selStart_ = static_cast<int>(text_.size());
    selLength_ = 0;
    Touch();
    if (onChange) onChange();
}
void TextBox::SetMultiLine(bool v) { TAVROLIN_SETTER(multiLine_, v); }
void TextBox::SetLocked(bool v) { TAVROLIN_SETTER(locked_, v); }
void TextBox::SetSelection(int start, int length) {
    const int size = static_cast<int>(text_.size());
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    if (selStart_ == start && selLength_ == length) return;
    selStart_ = start;
    selLength_ = length;
    Touch();
}
void TextBox::SetFlag(bool v) { TAVROLIN_SETTER(flag_, v); }

void CheckBox::SetValue(int v) {
    v = v != 0 ? 1 : 0;
    if (value_ == v) return;
    value_ = v;
    Touch();
    if (onClick) onClick();
}

void OptionButton::SetValue(bool v) {
    if (value_ == v) return;
    value_ = v;
    Touch();
    if (!v) return;
    for (const auto& c : Owner().Controls()) {
        if (c.get() == this || c->Kind() != ControlKind::OptionButton) continue;
        if (c->Container() != Container()) continue;
        auto* other = static_cast<OptionButton*>(c.get());
        if (other->value_) {
            other->value_ = false;
            other->Touch();
        }
    }
    if (onClick) onClick();
}

void ScrollBar::SetRange(int min, int max) {
    if (max < min) std::swap(min, max);
    min_ = min;
    max_ = max;
    value_ = std::clamp(value_, min_, max_);
    Touch();
}
void ScrollBar::SetValue(int v) {
    v = std::clamp(v, min_, max_);
    if (value_ == v) return;
    value_ = v;
    Touch();
    if (onChange) onChange();
}
void ScrollBar::SetHorizontal(bool v) { TAVROLIN_SETTER(horizontal_, v); }

void Picture::SetPicture(int width, int height, std::vector<std::uint32_t> rgb) {
    const bool fits = width >= 0 && height >= 0 &&
                      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) ==
                          rgb.size();
    if (!fits || width == 0 || height == 0) {
        width = 0;
        height = 0;
        rgb.clear();
    }
    if (pictureWidth_ == width && pictureHeight_ == height && rgb_ == rgb) return;
    pictureWidth_ = width;
    pictureHeight_ = height;
    rgb_ = std::move(rgb);
    ++version_;
    Touch();
}

void ListView::SetColumns(std::vector<Column> columns) {
    columns_ = std::move(columns);
    Touch();
}

std::string ListView::Cell(std::size_t row, std::size_t column) const {
    if (row >= rowCount_ || column >= columns_.size() || !cellText) return {};
    return cellText(row, column);
}

void ListView::RowsAdded(std::size_t count) {
    if (count < rowCount_) return RowsReset(count);
    if (count == rowCount_) return;
    rowCount_ = count;
    selected_.resize(count, false);
    Touch();
}

void ListView::RowsReset(std::size_t count) {
    const bool hadSelection = selectedCount_ != 0;
    rowCount_ = count;
    selected_.assign(count, false);
    selectedCount_ = 0;
    ++resetVersion_;
    Touch();
    if (hadSelection && onChange) onChange();
}

std::vector<std::size_t> ListView::SelectedRows() const {
    std::vector<std::size_t> rows;
    rows.reserve(selectedCount_);
    for (std::size_t i = 0; i < selected_.size() && rows.size() < selectedCount_; ++i) {
        if (selected_[i]) rows.push_back(i);
    }
    return rows;
}

bool ListView::Select(const std::vector<std::size_t>& rows) {
    std::vector<bool> now(rowCount_, false);
    std::size_t count = 0;
    for (std::size_t r : rows) {
        if (r < rowCount_ && !now[r]) {
            now[r] = true;
            ++count;
        }
    }
    if (now == selected_) return false;
    selected_ = std::move(now);
    selectedCount_ = count;
    return true;
}

void ListView::SetSelectedRows(const std::vector<std::size_t>& rows) {
    if (!Select(rows)) return;
    ++selectionVersion_;
    Touch();
    if (onChange) onChange();
}

void ListView::ViewSelected(const std::vector<std::size_t>& rows) {
    if (!Select(rows)) return;
    Touch();
    if (onChange) onChange();
}

void ListView::ScrollTo(std::size_t row) {
    scrollRow_ = row;
    ++scrollVersion_;
    Touch();
}

#undef TAVROLIN_SETTER

}  // namespace tavrolin
