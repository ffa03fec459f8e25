// The controls of a form: plain objects with the properties and event handlers that the program
// uses. Setting a property marks the form for the backend to show the change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/Types.h"

namespace tavrolin {

class Form;

enum class ControlKind {
    Line,
    Label,
    TextBox,
    Frame,
    CheckBox,
    OptionButton,
    CommandButton,
    ScrollBar,
    Picture,
    ListView,
};

class Control {
public:
    Control(Form& form, ControlKind kind, std::string name, int index, Control* container);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    ControlKind Kind() const { return kind_; }
    const std::string& Name() const { return name_; }
    int Index() const { return index_; }  // -1 outside a control array
    Form& Owner() const { return form_; }
    Control* Container() const { return container_; }  // a frame, or null for the form itself

    // Geometry in twips, relative to the container.
    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    void SetLeft(double v);
    void SetTop(double v);
    void SetWidth(double v);
    void SetHeight(double v);
    void Move(double left, double top, double width, double height);

    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    // Shown on screen: visible itself and in every container up to the form.
    bool ShownInForm() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& v);
    const std::string& ToolTipText() const { return toolTip_; }
    void SetToolTipText(const std::string& v);
    Color BackColor() const { return backColor_; }
    void SetBackColor(Color c);
    bool HasBackColor() const { return hasBackColor_; }  // false: the desktop's own colour
    Color ForeColor() const { return foreColor_; }
    void SetForeColor(Color c);
    double FontSize() const { return fontSize_; }  // points; 0 = the form's font
    void SetFontSize(double points);
    bool FontBold() const { return fontBold_; }
    void SetFontBold(bool v);

    // Event handlers; the form wires the ones it uses.
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void()> onChange;
    std::function<void(int& keyAscii)> onKeyPress;
    std::function<void(int& keyCode, int& shift)> onKeyDown;
    std::function<void(int button, int shift, double x, double y)> onMouseDown;
    std::function<void(int button, int shift, double x, double y)> onMouseMove;
    std::function<void(int button, int shift, double x, double y)> onMouseUp;
    std::function<void()> onGotFocus;

    // Changes since the backend last showed this control.
    bool Dirty() const { return dirty_; }
    void ClearDirty() { dirty_ = false; }

protected:
    void Touch();

private:
    Form& form_;
    ControlKind kind_;
    std::string name_;
    int index_;
    Control* container_;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    std::string toolTip_;
    Color backColor_ = 0xFFFFFF;
    bool hasBackColor_ = false;
    Color foreColor_ = 0;
    double fontSize_ = 0;
    bool fontBold_ = false;
    bool dirty_ = true;
};

// A straight line shape; it takes no mouse events of its own.
class Line : public Control {
public:
    Line(Form& form, std::string name, int index, Control* container)
        : Control(form, ControlKind::Line, std::move(name), index, container) {}
    double X1() const { return x1_; }
    double Y1() const { return y1_; }
    double X2() const { return x2_; }
    double Y2() const { return y2_; }
    void SetX1(double v);
    void SetY1(double v);
    void SetX2(double v);
    void SetY2(double v);
    Color BorderColor() const { return borderColor_; }
    void SetBorderColor(Color c);
    int BorderWidth() const { return borderWidth_; }  // pixels
    void SetBorderWidth(int px);
    // All of the above at once, as the ruler lays out thousands of ticks.
    void SetLine(double x1, double y1, double x2, double y2, Color color, int widthPx);

private:
    double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    Color borderColor_ = 0;
    int borderWidth_ = 1;
};

class Label : public Control {
public:
    Label(Form& form, std::string name, int index, Control* container)
        : Control(form, ControlKind::Label, std::move(name), index, container) {}
    enum class Align { Left, Center, Right };
    Align Alignment() const { return align_; }
    void SetAlignment(Align a);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool Underline() const { return underline_; }  // a link
    void SetUnderline(bool v);

private:
    Align align_ = Align::Left;
    bool wordWrap_ = true;
    bool underline_ = false;
};

class TextBox : public Control {
public:
    TextBox(Form& form, std::string name, int index, Control* container)
        : Control(form, ControlKind::TextBox, std::move(name), index, container) {}
    const std::string& Text() const { return text_; }
    // Setting a different text runs the Change handler, as the user's typing does.
    void SetText(const std::string& v);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool v);
    bool Locked() const { return locked_; }  // read-only, still selectable
    void SetLocked(bool v);
    int SelStart() const { return selStart_; }
    int SelLength() const { return selLength_; }
    void SetSelection(int start, int length);
    // Marks whether the box wants its whole text selected at the next chance (read-outs).
    bool Flag() const { return flag_; }
    void SetFlag(bool v);

private:
    std::string text_;
    bool multiLine_ = false;
    bool locked_ = false;
    int selStart_ = 0;
    int selLength_ = 0;
    bool flag_ = false;
};

class Frame : public Control {
public:
    Frame(Form& form, std::string name, int index, Control* container)
        : Control(form, ControlKind::Frame, std::move(name), index, container) {}
};

class CheckBox : public Control {
public:
    CheckBox(Form& form, std::string name, int index, Control* container)
        : Control(form, ControlKind::CheckBox, std::move(name), index, container) {}
    int Value() const { return value_; }  // 0 clear, 1 checked
    // A changed value runs the Click handler, as a click does.
    void SetValue(int v);

private:
    int value_ = 0;
};

class OptionButton : public Control {
public:
    OptionButton(Form& form, std::string name, int index, Control* container)
        : Control(form, ControlKind::OptionButton, std::move(name), index, container) {}
    bool Value() const { return value_; }
    // Selecting clears the other option buttons of the same container and runs Click.
    void SetValue(bool v);

private:
    bool value_ = false;
};

class CommandButton : public Control {
public:
    CommandButton(Form& form, std::string name, int index, Control* container)
        : Control(form, ControlKind::CommandButton, std::move(name), index, container) {}
};

class ScrollBar : public Control {
public:
    ScrollBar(Form& form, std::string name, int index, Control* container)
        : Control(form, ControlKind::ScrollBar, std::move(name), index, container) {}
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Value() const { return value_; }
    void SetRange(int min, int max);
    // A changed value runs the Change handler.
    void SetValue(int v);
    bool Horizontal() const { return horizontal_; }
    void SetHorizontal(bool v);

private:
    int min_ = 0, max_ = 32767, value_ = 0;
    bool horizontal_ = true;
};

// A picture of RGB pixels, drawn one to one in screen pixels at the control's top-left corner and
// clipped to the control; the rest of the control is its back colour. It takes no focus; the
// mouse reaches its handlers as a label's does.
class Picture : public Control {
public:
    Picture(Form& form, std::string name, int index, Control* container)
        : Control(form, ControlKind::Picture, std::move(name), index, container) {}
    int PictureWidth() const { return pictureWidth_; }  // pixels
    int PictureHeight() const { return pictureHeight_; }
    // 0xRRGGBB, row by row from the top.
    const std::vector<std::uint32_t>& Rgb() const { return rgb_; }
    // Counts the changes of the picture, so that a window system redraws it only when it changed.
    std::uint64_t PictureVersion() const { return version_; }
    // The whole picture at once. One whose size does not match its pixels is refused: the
    // control then shows no picture.
    void SetPicture(int width, int height, std::vector<std::uint32_t> rgb);

private:
    int pictureWidth_ = 0, pictureHeight_ = 0;
    std::vector<std::uint32_t> rgb_;
    std::uint64_t version_ = 0;
};

// Rows under column headers, as a report. The program hands over no rows: the window system asks
// `cellText` for the cells of the rows in sight only, so a list of a hundred thousand rows shows
// as fast as one of ten. The user selects rows the window system's own way (a click, Shift and
// Ctrl with a click, the arrows, Ctrl+A); the model holds that selection.
class ListView : public Control {
public:
    ListView(Form& form, std::string name, int index, Control* container)
        : Control(form, ControlKind::ListView, std::move(name), index, container) {}

    struct Column {
        std::string header;
        double width = 1200;  // twips
        bool number = false;  // right-aligned
    };
    const std::vector<Column>& Columns() const { return columns_; }
    void SetColumns(std::vector<Column> columns);

    // The text of a cell; asked only for rows below RowCount and columns of Columns.
    std::function<std::string(std::size_t row, std::size_t column)> cellText;
    std::string Cell(std::size_t row, std::size_t column) const;

    std::size_t RowCount() const { return rowCount_; }
    // Rows were added at the end: the selection stays.
    void RowsAdded(std::size_t count);
    // The rows are all new (some deleted, the list cleared): nothing is selected.
    void RowsReset(std::size_t count);
    // Rises with each RowsReset, so that a window system rebuilds its view only then.
    std::uint64_t ResetVersion() const { return resetVersion_; }

    bool Selected(std::size_t row) const { return row < selected_.size() && selected_[row]; }
    std::size_t SelectedCount() const { return selectedCount_; }
    std::vector<std::size_t> SelectedRows() const;  // ascending
    // Selects these rows alone (rows beyond the list ignored); a changed selection runs Change.
    void SetSelectedRows(const std::vector<std::size_t>& rows);
    // Rises when the program changed the selection, so that a window system shows it.
    std::uint64_t SelectionVersion() const { return selectionVersion_; }
    // The window system's view of the selection changed by the user: the model takes it, and
    // it is not shown back. Change runs when it differs.
    void ViewSelected(const std::vector<std::size_t>& rows);

    // Brings a row into sight at the next show (the newest after one is added).
    void ScrollTo(std::size_t row);
    std::size_t ScrollRow() const { return scrollRow_; }
    std::uint64_t ScrollVersion() const { return scrollVersion_; }

private:
    bool Select(const std::vector<std::size_t>& rows);

    std::vector<Column> columns_;
    std::size_t rowCount_ = 0;
    std::uint64_t resetVersion_ = 0;
    std::vector<bool> selected_;
    std::size_t selectedCount_ = 0;
    std::uint64_t selectionVersion_ = 0;
    std::size_t scrollRow_ = 0;
    std::uint64_t scrollVersion_ = 0;
};

}  // namespace tavrolin
