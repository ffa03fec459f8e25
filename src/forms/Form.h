// A top-level window of the forms model: geometry in twips, appearance, visibility, the controls
// it holds, and the handlers a program form overrides. A backend makes it a real window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "forms/Control.h"
#include "forms/Types.h"

namespace tavrolin {

class Backend;

// What changed on a form since the backend last showed it.
enum FormDirty : std::uint32_t {
    kDirtyGeometry = 1,
    kDirtyAppearance = 2,  // back colour, caption, style
    kDirtyVisibility = 4,
    kDirtyControls = 8,  // a control changed, was added or removed
    kDirtyAll = 15,
};

class Form {
public:
    Form(Backend& backend, std::string name);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    const std::string& Name() const { return name_; }
    // The window handle the window services take; stable for the life of the object.
    std::int32_t hWnd() const { return hwnd_; }
    Backend& backend() const { return backend_; }

    // Handlers, overridden by the program's forms.
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    virtual void Form_Resize() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_MouseDown(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {}
    virtual void Form_MouseMove(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {}
    virtual void Form_MouseUp(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {}
    virtual void Form_DblClick() {}
    virtual void Form_KeyDown(int& /*keyCode*/, int& /*shift*/) {}
    virtual void Form_KeyPress(int& /*keyAscii*/) {}
    // The mouse wheel over the window: `delta` 120 a notch, above 0 turned away from the user.
    virtual void Form_MouseWheel(int /*delta*/, int /*shift*/) {}
    // The user asked the window system to close the window (its close button, the session's
    // end); the default unloads the form.
    virtual void Form_QueryClose();

    // Lifecycle. Load creates the window and runs Form_Load without showing it; Show loads when
    // needed; Unload runs Form_Unload, removes the run-time controls and the window.
    bool Loaded() const { return loaded_; }
    void Load();
    void Show();
    void Hide();
    void Unload();
    // Shows the form and returns when it is hidden or unloaded again.
    void ShowModal();

    // Geometry, screen twips. A change of Width or Height runs Form_Resize while loaded.
    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    void SetLeft(double v);
    void SetTop(double v);
    void SetWidth(double v);
    void SetHeight(double v);
    void Move(double left, double top, double width, double height);
    void Move(double left, double top) { Move(left, top, width_, height_); }

    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    // Rises each time the form is shown: a form shown while another loads comes before it, and
    // windows appear in this order.
    std::uint64_t ShownOrder() const { return shownOrder_; }
    WindowState GetWindowState() const { return state_; }
    void SetWindowState(WindowState s);
    Color BackColor() const { return backColor_; }
    void SetBackColor(Color c);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& v);
    BorderStyle Border() const { return border_; }
    void SetBorder(BorderStyle b);
    bool KeyPreview() const { return keyPreview_; }  // the form's key handlers see keys first
    void SetKeyPreview(bool v) { keyPreview_ = v; }
    // False for a window that never takes the keyboard focus: it is shown and clicked without
    // being activated, and the window that had the focus keeps it. Set before the form loads.
    bool TakesFocus() const { return takesFocus_; }
    void SetTakesFocus(bool v) { takesFocus_ = v; }
    // The parts of the window that are there, twips from its top-left corner: it shows and
    // takes the mouse only within them, and what lies beneath shows through the rest. Empty:
    // the whole window (the default).
    const std::vector<ScreenRect>& Shape() const { return shape_; }
    void SetShape(std::vector<ScreenRect> parts);
    bool IsModal() const { return modal_; }

    // Controls. Designed ones are added by the form's constructor or load; run-time ones by
    // type and name. Control arrays share a name and keep their indexes.
    template <class T>
    T& Add(const std::string& name, int index = -1, Control* container = nullptr) {
        static_assert(std::is_base_of_v<Control, T>);
        auto owned = std::make_unique<T>(*this, name, index, container);
        T& ref = *owned;
        Adopt(std::move(owned), false);
        return ref;
    }
    // A line shape created at run time; it goes with the next Unload.
    Line& AddLine(const std::string& name);
    Control* Find(const std::string& name, int index = -1) const;
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
    // Line shapes in creation order, for painting.
    const std::vector<Line*>& Lines() const { return lines_; }

    // Keyboard focus: the form itself (control null) or one of its controls.
    void SetFocus(Control* control = nullptr);
    Control* FocusedControl() const { return focus_; }

    // Text extent in the form's font, twips.
    double TextWidth(const std::string& text) const;
    double TextHeight(const std::string& text) const;

    std::uint32_t DirtyFlags() const { return dirty_; }
    void ClearDirty() { dirty_ = 0; }
    void MarkDirty(std::uint32_t flags) { dirty_ |= flags; }

    // Called by the backend when the window system moved, resized or minimised the window
    // itself: the model takes the new values without sending them back.
    void WindowSystemMoved(double left, double top);
    void WindowSystemResized(double width, double height);
    void WindowSystemState(WindowState s);

private:
    friend class Backend;
    void Adopt(std::unique_ptr<Control> control, bool runtime);
    void SetGeometry(double left, double top, double width, double height);

    Backend& backend_;
    std::string name_;
    std::int32_t hwnd_;
    bool loaded_ = false;
    bool modal_ = false;
    double left_ = 0, top_ = 0, width_ = 3000, height_ = 2000;
    bool visible_ = false;
    std::uint64_t shownOrder_ = 0;
    WindowState state_ = WindowState::Normal;
    Color backColor_ = 0xF0F0F0;
    std::string caption_;
    BorderStyle border_ = BorderStyle::None;
    bool keyPreview_ = false;
    bool takesFocus_ = true;
    std::vector<ScreenRect> shape_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<Line*> lines_;
    std::unordered_map<std::string, std::vector<Control*>> byName_;
    std::size_t designedCount_ = 0;  // designed controls come first, run-time ones after
    std::size_t designedLines_ = 0;
    Control* focus_ = nullptr;
    std::uint32_t dirty_ = kDirtyAll;
};

}  // namespace tavrolin
