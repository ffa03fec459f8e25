// The real top-level window of one form: shows the form's state and its controls as standard
// Windows controls, paints its line shapes with GDI through an off-screen bitmap, and hands
// what the user does back to the model through the backend.
#pragma once

#include "win32/Win32Backend.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/ControlViews.h"
#include "forms/KeyDispatch.h"
#include "forms/LineDamage.h"
#include "win32/Dib.h"

namespace tavrolin::win32 {

class FormWindow final : private ControlViews {
public:
    FormWindow(Win32Backend& backend, Form& form);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    Form* form() const { return form_; }
    // The form has unloaded: the window goes at once unless it is inside its own handler.
    void Detach();

    // Applies what the form and its controls marked dirty, then clears the marks.
    void ShowModel();
    bool HasPendingFocus() const { return focusPending_; }
    void RequestFocus(Control* control);
    // Paints at once what ShowModel invalidated (before a sleep, nothing else would).
    void PaintPending();
    HWND ChildOf(const Control* control) const;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    // A list's columns, rows, selection and scroll as last given to the common control.
    struct ListShown {
        struct Column {
            std::wstring header;
            int width = 0;  // pixels
            bool number = false;
            bool operator==(const Column&) const = default;
        };
        std::vector<Column> columns;
        std::size_t rows = 0;
        std::uint64_t reset = 0, selection = 0, scroll = 0;
        // The texts of the last cells handed to the control: it reads one until two more have
        // been asked for.
        std::wstring cells[3];
        std::size_t nextCell = 0;
        bool selectionReport = false;  // a read of the user's selection is posted, not yet done
    };
    struct View : ControlView {
        HWND child = nullptr;  // null for a line shape
        std::wstring tip;  // the tool tip as last shown
        // As last given to the control.
        HFONT font = nullptr;
        std::wstring caption;
        bool captionShown = false;
        Color fore = -1, back = -1;
        std::uint64_t pictureVersion = 0;  // of a picture's pixels
        ListShown list;
    };

    // Its life, state and density, and the window procedure (FormWindow.cpp).
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void ApplyStyle();
    void ApplyGeometry();
    // The parts of the window that are there (the whole window for none).
    void ApplyShape();
    void ApplyVisibility();
    void ApplyFocus();
    // The scale of the window's contents: the desktop's, or for a captioned window on a
    // monitor of another density, that monitor's.
    PixelScale Scale() const;
    RECT OuterSize() const;
    void DpiChanged(int dpi, const RECT& suggested);
    Control* ControlOf(HWND child) const;

    // The child controls (FormWindowControls.cpp).
    void ApplyControls();
    void LineChanged(const Line& line, const PixelBox& now) override;
    ControlView* ViewOf(Control& control) override;
    void MakeView(Control& control) override;
    void RemakeView(Control& control) override;
    void ShowControl(Control& control) override;
    void Unchanged(Control& control) override;
    View& EnsureView(Control* c);
    void CreateChild(Control* c, View& view);
    void ApplyControl(Control* c, View& view);
    void ApplyText(TextBox& box, View& view);
    void ApplyTip(Control* c, View& view);
    void ApplyCaption(View& view, const std::wstring& caption);
    Color BackOf(const Control* c) const;
    POINT ControlOrigin(const Control* c) const;
    void PushText(TextBox& box);
    void PushSelection(TextBox& box);
    void Reconcile(Control* c);

    // Lists as the common controls' virtual report view (FormWindowList.cpp).
    void SetUpList(HWND child);
    void ApplyList(ListView& list, View& view);
    // A list's notification; false when the window's own handling is to answer it.
    bool ListNotify(NMHDR& header, LRESULT& result);
    // A list's header's notification to the list; false when the list is to answer it.
    bool ListHeaderNotify(const NMHDR& header, LRESULT& result);
    // The selection the user made in a list's view, handed to the model.
    void ReportListSelection(HWND child);

    // Painting (FormWindowPaint.cpp).
    RECT LineBounds(const Line& line) const;
    void Paint();
    void PaintInto(HDC dc, const RECT& part);
    // A picture control's pixels one to one, and its back colour beyond them.
    void PaintPicture(const tavrolin::Picture& picture, HWND child, HDC dc);
    // Client pixels whose lines changed, painted at the next flush; null for all of them.
    void Damage(const RECT* part);

    // What the user does, handed to the forms' dispatch (FormWindowInput.cpp).
    LRESULT HandleChild(Control* c, HWND child, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ChildProc(HWND child, UINT msg, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);
    void DeliverMouse(UINT msg, WPARAM wParam, LPARAM lParam);
    void HoldMouse(HWND child, UINT msg, int button);
    keys::KeyResult DeliverKeyDown(Control* target, int keyCode);
    bool DeliverChar(Control* target, int& ascii);
    // The wheel reaches the form under the pointer, whichever window the system gave it to.
    // True when that form is this one.
    bool Wheel(WPARAM wParam, LPARAM lParam);
    void Command(HWND child, int code);
    void Scroll(HWND child, int request);
    void Tab(const Control* from, bool backward);

    Win32Backend& backend_;
    Form* form_;
    HWND hwnd_ = nullptr;
    std::unordered_map<const Control*, View> views_;
    LineDamage damage_;
    std::unordered_map<HWND, Control*> byChild_;
    Control* focusRequest_ = nullptr;
    bool focusPending_ = false;
    bool applying_ = false;  // our own SetWindowPos and ShowWindow are no moves by the user
    bool swallowChar_ = false;  // the character message of this key is not to be delivered
    int buttons_ = 0;  // mouse buttons held on the window or a control, for the capture
    HWND heldBy_ = nullptr;  // the control that holds the mouse for a drag begun on it
    bool detached_ = false;
    bool wheelPassedOn_ = false;  // a control hands the system's wheel on to the window
    bool pushingList_ = false;  // a list's changes of selection are the model's own
    std::vector<RECT> shapeShown_;  // the window's region as last set, in its pixels
    int dpi_ = 0;  // a captioned window's monitor density; 0 for the system's
    bool framesChanged_ = false;  // a frame was created: the order of the children is due
    bool paintPending_ = false;  // the system's update region is to be painted at the flush
    RECT dirty_{};  // client pixels whose lines changed since the last paint
    RECT deferred_{};  // client pixels left unpainted while they were beyond the screens
    HWND tips_ = nullptr;  // the tool tips of the controls, made with the first one
    HBRUSH backBrush_ = nullptr;
    Color backBrushColor_ = -1;
    // The off-screen bitmap the lines are drawn into, kept between paints.
    std::unique_ptr<Dib> mem_;
};

}  // namespace tavrolin::win32
