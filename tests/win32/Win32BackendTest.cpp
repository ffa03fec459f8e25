// The Win32 backend under Wine: real windows of the right kind and place, the window services
// as real styles, input from the system's own queue arriving in the model in twips, standard
// controls that feed the model, painted lines, and the whole program started and closed.
#include <gtest/gtest.h>

#include "app/Program.h"
#include "forms/Form.h"
#include "platform/WindowServices.h"
#include "ruler/Ruler.h"
#include "win32/FormWindow.h"
#include "win32/Snapshot.h"
#include "win32/Win32Backend.h"
#include "win32/Win32Platform.h"

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace tavrolin::win32::test {
namespace {

struct MouseCall {
    std::string kind;
    int button;
    double x, y;  // twips
};

class TestForm : public Form {
public:
    explicit TestForm(Backend& backend) : Form(backend, "TestForm") {}
    void Form_MouseDown(int b, int, double x, double y) override {
        mouse.push_back({"down", b, x, y});
        if (onMouseDown) onMouseDown(x, y);
    }
    void Form_MouseMove(int b, int, double x, double y) override {
        mouse.push_back({"move", b, x, y});
        if (onMouseMove) onMouseMove(b, x, y);
    }
    void Form_MouseUp(int b, int, double x, double y) override { mouse.push_back({"up", b, x, y}); }
    void Form_DblClick() override { ++dblClicks; }
    void Form_KeyDown(int& keyCode, int& shift) override {
        keys.push_back(keyCode);
        shifts.push_back(shift);
        if (keyCode == 'Q') keyCode = 0;  // a handler that takes the key for itself
        if (onKeyDown) onKeyDown(keyCode, shift);
    }
    void Form_KeyPress(int& keyAscii) override { presses.push_back(keyAscii); }
    void Form_MouseWheel(int delta, int) override { wheels.push_back(delta); }
    void Form_QueryClose() override {
        ++closeRequests;
        if (onQueryClose) onQueryClose();
    }

    std::function<void()> onQueryClose;
    std::function<void(int&, int&)> onKeyDown;
    std::function<void(double, double)> onMouseDown;
    std::function<void(int, double, double)> onMouseMove;
    std::vector<MouseCall> mouse;
    std::vector<int> keys, shifts, presses, wheels;
    int dblClicks = 0;
    int closeRequests = 0;
};

class Win32Test : public ::testing::Test {
protected:
    Win32Backend backend{GetModuleHandleW(nullptr)};
    Win32Platform platform{backend};

    void SetUp() override {
        // Fixed pixels for the expectations: 15 twips to the pixel whatever the display says.
        backend.screen().TwipsPerPixelX = 15;
        backend.screen().TwipsPerPixelY = 15;
    }
    void TearDown() override {
        forms_.clear();
        Pump();
    }

    TestForm& MakeForm(BorderStyle border = BorderStyle::None, double left = 1500,
                       double top = 1500, double width = 4500, double height = 1500,
                       bool takesFocus = true) {
        forms_.push_back(std::make_unique<TestForm>(backend));
        TestForm& form = *forms_.back();
        form.SetBorder(border);
        form.SetTakesFocus(takesFocus);
        form.Move(left, top, width, height);
        form.Show();
        backend.Sync();
        Pump();
        return form;
    }

    HWND Handle(const Form& form) { return backend.HandleOf(form.hWnd()); }

    // Lets the system deliver what is queued and paint.
    void Pump(int ms = 60) {
        const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(ms);
        do {
            backend.DoEvents();
            Sleep(5);
        } while (GetTickCount64() < until);
    }

    // Input through the system's own queue, as a user's mouse gives it.
    void MouseAt(int x, int y) {
        SetCursorPos(x, y);
        Pump(30);
    }
    void Button(DWORD flag) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = flag;
        SendInput(1, &in, sizeof in);
        Pump(30);
    }
    void Wheel(int delta) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = MOUSEEVENTF_WHEEL;
        in.mi.mouseData = static_cast<DWORD>(delta);
        SendInput(1, &in, sizeof in);
        Pump(30);
    }
    void Key(WORD vk, bool up = false) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        SendInput(1, &in, sizeof in);
    }
    void Tap(WORD vk) {
        Key(vk);
        Key(vk, true);
        Pump(30);
    }
    void Focus(const Form& form) {
        SetForegroundWindow(Handle(form));
        ::SetFocus(Handle(form));
        Pump(30);
    }

private:
    std::vector<std::unique_ptr<TestForm>> forms_;
};

std::wstring ClipboardText() {
    std::wstring text;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

RECT WindowRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

RECT ClientOnScreen(HWND h) {
    RECT r{};
    GetClientRect(h, &r);
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

using Windows = Win32Test;

TEST_F(Windows, EachBorderStyleMakesItsKindOfWindowWithTheModelsClientAreaToThePixel) {
    TestForm& ruler = MakeForm(BorderStyle::None, 150, 1500, 750, 7500);
    TestForm& control = MakeForm(BorderStyle::Fixed, 3000, 3000, 4500, 3000);
    const auto style = GetWindowLongW(Handle(ruler), GWL_STYLE);
    const auto ex = GetWindowLongW(Handle(ruler), GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW) << "no task-bar button";
    const RECT r = WindowRect(Handle(ruler));
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 100);
    EXPECT_EQ(r.right - r.left, 50);
    EXPECT_EQ(r.bottom - r.top, 500);

    EXPECT_EQ(GetWindowLongW(Handle(control), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    EXPECT_FALSE(GetWindowLongW(Handle(control), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    const RECT client = ClientOnScreen(Handle(control));
    EXPECT_EQ(client.right - client.left, 300);
    EXPECT_EQ(client.bottom - client.top, 200);
    EXPECT_EQ(WindowRect(Handle(control)).left, 200) << "the place is the window's outer corner";
}

TEST_F(Windows, ModelChangesOfPlaceVisibilityAndStateReachTheWindowAtTheNextSync) {
    TestForm& form = MakeForm();
    form.Move(-1500, 300);  // a monitor left of the primary one has negative coordinates
    backend.Sync();
    EXPECT_EQ(WindowRect(Handle(form)).left, -100);
    EXPECT_EQ(WindowRect(Handle(form)).top, 20);
    form.Hide();
    backend.Sync();
    EXPECT_FALSE(IsWindowVisible(Handle(form)));
    form.Show();
    form.SetWindowState(WindowState::Minimized);
    backend.Sync();
    EXPECT_TRUE(IsIconic(Handle(form)));
    form.SetWindowState(WindowState::Normal);
    backend.Sync();
    EXPECT_FALSE(IsIconic(Handle(form)));
    EXPECT_EQ(WindowRect(Handle(form)).left, -100);
}

TEST_F(Windows, APlaceTheWindowSystemGivesABorderlessWindowIsNotTheUsersMove) {
    // A window manager under Wine reports its own placement of a window, late: a crosshair at
    // the ruler's marker was taken for one at (0,0), and the next step of the program took it
    // from there to the screen's corner. A captioned window moved by its title bar is the
    // user's move.
    TestForm& cross = MakeForm(BorderStyle::None, 1020, 3300, 165, 165);  // (68,220)
    TestForm& control = MakeForm(BorderStyle::Fixed, 3000, 3000, 4500, 3000);
    for (TestForm* form : {&cross, &control}) {
        SetWindowPos(Handle(*form), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pump(30);
    }
    EXPECT_DOUBLE_EQ(cross.Left(), 1020);
    EXPECT_DOUBLE_EQ(cross.Top(), 3300);
    cross.Move(cross.Left() - 105, cross.Top() - 105);  // the program's step of 7 pixels
    backend.Sync();
    EXPECT_EQ(WindowRect(Handle(cross)).left, 61);
    EXPECT_EQ(WindowRect(Handle(cross)).top, 213);
    EXPECT_DOUBLE_EQ(control.Left(), 0);
}

TEST_F(Windows, TheWindowServicesAreTheRealStylesAndLeaveTheWindowWhereItWas) {
    TestForm& form = MakeForm();
    const RECT before = WindowRect(Handle(form));
    const auto exBefore = GetWindowLongW(Handle(form), GWL_EXSTYLE);
    MakeTopmost(platform, form);
    EXPECT_TRUE(GetWindowLongW(Handle(form), GWL_EXSTYLE) & WS_EX_TOPMOST);
    const RECT after = WindowRect(Handle(form));
    EXPECT_TRUE(EqualRect(&before, &after));
    std::int16_t alpha = 150;
    std::int32_t hWnd = form.hWnd();
    SetTransparency(platform, alpha, hWnd);
    SetTransparency(platform, alpha, hWnd);
    const auto ex = GetWindowLongW(Handle(form), GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    EXPECT_EQ(ex & ~(WS_EX_LAYERED | WS_EX_TOPMOST), exBefore & ~WS_EX_TOPMOST)
        << "the other style bits stay";
    BYTE got = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(Handle(form), nullptr, &got, &flags));
    EXPECT_EQ(got, 150);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    EXPECT_EQ(platform.GetSystemMetrics(78), GetSystemMetrics(SM_CXVIRTUALSCREEN));
}

TEST_F(Windows, ACloseRequestAsksACaptionedFormAndEndsTheProgramFromABorderlessOne) {
    TestForm& control = MakeForm(BorderStyle::Fixed);
    TestForm& ruler = MakeForm(BorderStyle::None);
    int ends = 0;
    backend.onEndProgram = [&] { ++ends; };
    SendMessageW(Handle(control), WM_CLOSE, 0, 0);
    EXPECT_EQ(control.closeRequests, 1);
    EXPECT_TRUE(IsWindow(Handle(control))) << "the model decides whether the window goes";
    SendMessageW(Handle(ruler), WM_CLOSE, 0, 0);  // taskkill sends one to every window
    EXPECT_EQ(ruler.closeRequests, 0);
    EXPECT_EQ(ends, 1);
    SendMessageW(Handle(ruler), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(ends, 2);
}

TEST_F(Windows, ASnapshotIsTheProgramsOwnWindowsOnGreyBottomToTopEachAtItsOpacity) {
    TestForm& lower = MakeForm(BorderStyle::None, 1500, 1500, 3000, 1500);  // (100,100) 200x100
    lower.SetBackColor(0x0000FF);                                          // red
    TestForm& upper = MakeForm(BorderStyle::None, 3000, 1500, 3000, 1500);  // (200,100) 200x100
    upper.SetBackColor(0xFF0000);                                          // blue
    MakeTopmost(platform, upper);
    std::int16_t alpha = 128;
    std::int32_t hWnd = upper.hWnd();
    SetTransparency(platform, alpha, hWnd);
    TestForm& hidden = MakeForm(BorderStyle::None, 0, 0, 1500, 1500);
    hidden.Hide();
    TestForm& captioned = MakeForm(BorderStyle::Fixed, 1500, 6000, 3000, 1500);
    captioned.SetBackColor(0x00FF00);
    // Another program's window above them all is no part of the picture.
    HWND stranger = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 150, 50,
                                    200, 100, nullptr, nullptr, nullptr, nullptr);
    backend.Sync();
    Pump(150);

    const Picture picture = ComposeSnapshot(backend);
    DestroyWindow(stranger);
    ASSERT_EQ(picture.width, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    ASSERT_EQ(picture.height, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    auto at = [&](int x, int y) {
        return picture.pixels[static_cast<std::size_t>(y) * picture.width + x];
    };
    EXPECT_EQ(at(10, 10), 0x404040u) << "the hidden form";
    EXPECT_EQ(at(170, 60), 0x404040u) << "the stranger";
    EXPECT_EQ(at(150, 150), 0xFF0000u) << "the lower form, 0x00RRGGBB";
    EXPECT_EQ(at(350, 150), 0x2020A0u) << "the upper form over the grey";
    EXPECT_EQ(at(250, 150), 0x7F0080u) << "the upper form over the lower one, not over the screen";
    // A captioned window's client area at its place on screen, without the title bar, as the
    // Linux picture has it.
    const RECT client = ClientOnScreen(Handle(captioned));
    EXPECT_EQ(at(client.left, client.top), 0x00FF00u);
    EXPECT_EQ(at(client.right - 1, client.bottom - 1), 0x00FF00u);
    EXPECT_EQ(at(client.left, client.top - 1), 0x404040u);
}

TEST_F(Windows, TheScreenIsReadInItsPixelsWithZeroBeyondEveryMonitor) {
    // Pixels to twips at 15 twips to the pixel.
    auto formAt = [&](int x, int y, int w, int h, Color color) -> TestForm& {
        TestForm& form = MakeForm(BorderStyle::None, x * 15.0, y * 15.0, w * 15.0, h * 15.0);
        form.SetBackColor(color);
        MakeTopmost(platform, form);  // above whatever else is on the screen, in this order
        return form;
    };
    formAt(50, 50, 300, 200, 0xFF0000);   // blue
    formAt(100, 100, 100, 50, 0x0000FF);  // red, over the blue one
    const int right = GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int leftEdge = GetSystemMetrics(SM_XVIRTUALSCREEN);
    formAt(right - 50, 300, 50, 50, 0xFFFFFF);
    formAt(leftEdge, 400, 40, 40, 0x00FF00);
    backend.Sync();
    Pump(150);
    // Each monitor has the density its lengths are read with.
    ASSERT_EQ(backend.screen().MonitorDpi.size(), backend.screen().Monitors.size());
    for (double dpi : backend.screen().MonitorDpi) EXPECT_GT(dpi, 0);

    const ScreenPixels corner = backend.ReadScreen(95, 95, 20, 22);
    ASSERT_TRUE(corner.Read()) << corner.problem;
    EXPECT_EQ(corner.problem, "");
    ASSERT_EQ(corner.rgb.size(), 20u * 22u);
    EXPECT_EQ(corner.At(100, 100), 0xFF0000u) << "red, 0xRRGGBB";
    EXPECT_EQ(corner.At(114, 116), 0xFF0000u);
    EXPECT_EQ(corner.At(99, 100), 0x0000FFu) << "blue, beside it";
    EXPECT_EQ(corner.At(100, 99), 0x0000FFu);
    EXPECT_EQ(corner.At(95, 95), 0x0000FFu);

    const ScreenPixels beyondRight = backend.ReadScreen(right - 10, 310, 20, 3);
    ASSERT_TRUE(beyondRight.Read()) << beyondRight.problem;
    EXPECT_EQ(beyondRight.At(right - 10, 310), 0xFFFFFFu);
    EXPECT_EQ(beyondRight.At(right - 1, 312), 0xFFFFFFu);
    EXPECT_EQ(beyondRight.At(right, 311), 0u);
    EXPECT_EQ(beyondRight.At(right + 9, 312), 0u);
    const ScreenPixels beyondLeft = backend.ReadScreen(leftEdge - 5, 410, 10, 2);
    ASSERT_TRUE(beyondLeft.Read()) << beyondLeft.problem;
    EXPECT_EQ(beyondLeft.At(leftEdge - 1, 410), 0u);
    EXPECT_EQ(beyondLeft.At(leftEdge - 5, 411), 0u);
    EXPECT_EQ(beyondLeft.At(leftEdge, 410), 0x00FF00u);
    EXPECT_EQ(beyondLeft.At(leftEdge + 4, 411), 0x00FF00u);
    // Wholly beyond every monitor: all 0, and still read.
    const ScreenPixels nowhere = backend.ReadScreen(right + 100, 100, 4, 4);
    ASSERT_TRUE(nowhere.Read());
    EXPECT_EQ(std::count(nowhere.rgb.begin(), nowhere.rgb.end(), 0u), 16);
}

TEST_F(Windows, AShapedWindowIsThereOnlyInItsPartsAndTheScreenAndTheMouseReachWhatLiesBeneath) {
    TestForm& beneath = MakeForm(BorderStyle::None, 750, 750, 1500, 1500);  // (50,50) 100x100
    beneath.SetBackColor(0xFF0000);                                        // blue
    MakeTopmost(platform, beneath);
    // Four 10-pixel corners of a 25-pixel window at (70,70): its middle row and column open.
    TestForm& shaped = MakeForm(BorderStyle::None, 1050, 1050, 375, 375);
    shaped.SetBackColor(0x0000FF);  // red
    MakeTopmost(platform, shaped);
    shaped.SetShape({{0, 0, 150, 150}, {225, 0, 150, 150}, {0, 225, 150, 150}, {225, 225, 150, 150}});
    backend.Sync();
    Pump(150);
    ScreenPixels seen = backend.ReadScreen(70, 70, 25, 25);
    ASSERT_TRUE(seen.Read()) << seen.problem;
    EXPECT_EQ(seen.At(70, 70), 0xFF0000u);
    EXPECT_EQ(seen.At(79, 94), 0xFF0000u);
    EXPECT_EQ(seen.At(82, 82), 0x0000FFu) << "the open centre is the screen beneath";
    EXPECT_EQ(seen.At(82, 70), 0x0000FFu);
    EXPECT_EQ(seen.At(94, 80), 0x0000FFu);
    const win32::Picture snapshot = ComposeSnapshot(backend);
    const RECT& desk = backend.Desktop();
    const auto shot = [&](int x, int y) {
        return snapshot.pixels[static_cast<std::size_t>(y - desk.top) * snapshot.width +
                               static_cast<std::size_t>(x - desk.left)];
    };
    EXPECT_EQ(shot(82, 82), 0x0000FFu) << "a snapshot shows it as the screen does";
    EXPECT_EQ(shot(70, 70), 0xFF0000u);

    MouseAt(82, 82);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(shaped.mouse.empty());
    ASSERT_FALSE(beneath.mouse.empty()) << "the click goes through the open centre";
    EXPECT_DOUBLE_EQ(beneath.mouse.front().x, 32 * 15.0);

    MakeTopmost(platform, shaped);  // the click raised the window beneath
    shaped.SetShape({});
    backend.Sync();
    Pump(150);
    seen = backend.ReadScreen(82, 82, 1, 1);
    ASSERT_TRUE(seen.Read()) << seen.problem;
    EXPECT_EQ(seen.At(82, 82), 0xFF0000u) << "no parts: the whole window again";
}

TEST_F(Windows, ATimerTicksAsAnInputEventUntilItIsStopped) {
    TestForm& form = MakeForm();
    int ticks = 0;
    const int id = backend.StartTimer(20, [&] {
        ++ticks;
        form.Move(form.Left() + 15, form.Top());
    });
    Pump(250);
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(WindowRect(Handle(form)).left, 100 + ticks) << "each tick's changes are shown";
    backend.StopTimer(id);
    const int stoppedAt = ticks;
    int once = 0;
    int self = 0;
    self = backend.StartTimer(10, [&] {
        ++once;
        backend.StopTimer(self);
    });
    Pump(150);
    EXPECT_EQ(ticks, stoppedAt);
    EXPECT_EQ(once, 1) << "a tick may stop its own timer";
}

using Input = Win32Test;

TEST_F(Input, PressMoveAndReleaseArriveInFormTwipsAndADragFollowsThePointersPath) {
    TestForm& form = MakeForm(BorderStyle::None, 1500, 1500, 4500, 1500);
    // As the ruler does: the window moves by the pointer's offset from the press.
    double grabX = 0, grabY = 0;
    form.onMouseDown = [&](double x, double y) { grabX = x, grabY = y; };
    form.onMouseMove = [&](int b, double x, double y) {
        if (b == kLeftButton) form.Move(form.Left() + x - grabX, form.Top() + y - grabY);
    };
    MouseAt(110, 102);
    Button(MOUSEEVENTF_LEFTDOWN);
    MouseAt(130, 112);
    MouseAt(160, 122);
    Button(MOUSEEVENTF_LEFTUP);
    auto down = std::find_if(form.mouse.begin(), form.mouse.end(),
                             [](const MouseCall& m) { return m.kind == "down"; });
    ASSERT_NE(down, form.mouse.end());
    EXPECT_EQ(down->button, kLeftButton);
    EXPECT_DOUBLE_EQ(down->x, 150);
    EXPECT_DOUBLE_EQ(down->y, 30);
    EXPECT_EQ(form.mouse.back().kind, "up");
    EXPECT_EQ(WindowRect(Handle(form)).left, 150);
    EXPECT_EQ(WindowRect(Handle(form)).top, 120);
    EXPECT_DOUBLE_EQ(form.Left(), 2250);
}

TEST_F(Input, ADragBegunOnALabelFollowsAFastPointerOutOfItsSmallWindow) {
    // The grip: a 16-pixel window covered by its letter, moved along by the drag, here at
    // (100,100); the hand moves 16 pixels a step, out of the letter at each one.
    TestForm& grip = MakeForm(BorderStyle::None, 1500, 1500, 240, 240);
    auto& letter = grip.Add<Label>("Letter");
    letter.Move(0, 0, 240, 240);
    double startX = 0, startY = 0;
    int ups = 0;
    letter.onMouseDown = [&](int, int, double x, double y) { startX = x, startY = y; };
    letter.onMouseMove = [&](int b, int, double x, double y) {
        if (b == kLeftButton) grip.Move(grip.Left() + x - startX, grip.Top() + y - startY);
    };
    letter.onMouseUp = [&](int, int, double, double) { ++ups; };
    HWND heldInClick = reinterpret_cast<HWND>(1);
    letter.onClick = [&] { heldInClick = GetCapture(); };  // where a dialog may open
    grip.MarkDirty(kDirtyControls);
    backend.Sync();
    Pump();
    MouseAt(108, 108);
    Button(MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= 5; ++i) MouseAt(108 + 16 * i, 108 + 16 * i);
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(WindowRect(Handle(grip)).left, 180);
    EXPECT_EQ(WindowRect(Handle(grip)).top, 180);
    EXPECT_EQ(ups, 1) << "the release reaches the letter too";
    EXPECT_EQ(GetCapture(), nullptr) << "and lets the mouse go";
    EXPECT_EQ(heldInClick, nullptr) << "before the click is handled";
}

TEST_F(Input, ADoubleClickIsOneDblClickAndNoSecondPress) {
    TestForm& form = MakeForm();
    MouseAt(120, 110);
    for (int i = 0; i < 2; ++i) {
        Button(MOUSEEVENTF_LEFTDOWN);
        Button(MOUSEEVENTF_LEFTUP);
    }
    int downs = 0;
    for (const auto& m : form.mouse) downs += m.kind == "down";
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(form.dblClicks, 1);
}

TEST_F(Input, KeysArriveAsVirtualKeyCodesAndACancelledKeyTypesNothing) {
    TestForm& form = MakeForm();
    Focus(form);
    Tap(VK_ESCAPE);
    Tap(VK_LEFT);
    Tap('A');
    Tap('Q');
    Key(VK_SHIFT);
    Pump(30);
    Tap(VK_DOWN);
    Key(VK_SHIFT, true);
    Pump(30);
    EXPECT_EQ(form.keys, (std::vector<int>{27, 37, 'A', 'Q', 16, 40}));
    EXPECT_EQ(form.shifts.back(), kShiftMask);
    EXPECT_EQ(form.presses, (std::vector<int>{27, 'a'})) << "Q's KeyDown took the key";
}

TEST_F(Input, AWindowThatTakesNoFocusIsShownClickedAndDraggedWhileTheOtherKeepsTheKeys) {
    TestForm& control = MakeForm(BorderStyle::Fixed, 1500, 1500, 4500, 3000);
    Focus(control);
    ASSERT_EQ(GetForegroundWindow(), Handle(control));
    TestForm& loupe = MakeForm(BorderStyle::None, 9000, 1500, 2400, 2700, false);  // (600,100)
    MakeTopmost(platform, loupe);
    Pump(30);
    EXPECT_EQ(GetForegroundWindow(), Handle(control)) << "shown and raised without activation";
    double grabX = 0;
    loupe.onMouseDown = [&](double x, double) { grabX = x; };
    loupe.onMouseMove = [&](int b, double x, double) {
        if (b == kLeftButton) loupe.Move(loupe.Left() + x - grabX, loupe.Top());
    };
    MouseAt(650, 150);
    Button(MOUSEEVENTF_LEFTDOWN);
    MouseAt(660, 150);
    MouseAt(670, 150);
    Button(MOUSEEVENTF_LEFTUP);
    ASSERT_FALSE(loupe.mouse.empty());
    EXPECT_EQ(WindowRect(Handle(loupe)).left, 620) << "dragged by its face";
    EXPECT_EQ(GetForegroundWindow(), Handle(control));
    EXPECT_EQ(GetActiveWindow(), Handle(control));
    Tap('A');
    EXPECT_EQ(control.keys, std::vector<int>{'A'});
    EXPECT_TRUE(loupe.keys.empty());
}

TEST_F(Input, TheWheelReachesTheFormUnderThePointerOverItOrItsControlsWhereverTheFocusIs) {
    TestForm& control = MakeForm(BorderStyle::Fixed, 1500, 1500, 4500, 3000);
    auto& box = control.Add<TextBox>("Text1");
    box.Move(150, 150, 1500, 300);
    control.MarkDirty(kDirtyControls);
    TestForm& loupe = MakeForm(BorderStyle::None, 9000, 1500, 2400, 2700, false);  // (600,100)
    auto& face = loupe.Add<tavrolin::Picture>("Face");
    face.Move(0, 0, 2400, 1500);
    loupe.MarkDirty(kDirtyControls);
    backend.Sync();
    Pump();
    const HWND boxWindow = backend.WindowOf(control)->ChildOf(&box);
    Focus(control);
    ::SetFocus(boxWindow);
    Pump(30);
    MouseAt(650, 120);  // over the loupe's picture
    Wheel(120);
    MouseAt(650, 250);  // over the loupe's own face
    Wheel(-240);
    // As older Windows gives it: to the focus window, wherever the pointer is.
    PostMessageW(boxWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, 360), MAKELPARAM(650, 250));
    Pump(30);
    EXPECT_EQ(loupe.wheels, (std::vector<int>{120, -240, 360}));
    const RECT boxOnScreen = ClientOnScreen(boxWindow);
    MouseAt(boxOnScreen.left + 5, boxOnScreen.top + 5);
    Wheel(-120);
    EXPECT_EQ(control.wheels, std::vector<int>{-120}) << "once, from the box under the pointer";
    MouseAt(1000, 900);  // over none of the program's windows
    Wheel(120);
    EXPECT_EQ(loupe.wheels.size() + control.wheels.size(), 4u);
}

using Controls = Win32Test;

TEST_F(Controls, StandardControlsFeedTheModelAndShowItsValues) {
    TestForm& form = MakeForm(BorderStyle::Fixed, 1500, 1500, 6000, 4500);
    auto& box = form.Add<TextBox>("Text1");
    box.Move(150, 150, 1500, 300);
    int changes = 0;
    box.onChange = [&] { ++changes; };
    box.onKeyPress = [](int& c) {
        if (c >= 'a' && c <= 'z') c = 0;  // digits only
    };
    auto& check = form.Add<CheckBox>("Check1");
    check.Move(150, 600, 1500, 300);
    auto& option0 = form.Add<OptionButton>("Option1", 0);
    option0.Move(150, 1050, 1500, 300);
    auto& option1 = form.Add<OptionButton>("Option1", 1);
    option1.Move(150, 1500, 1500, 300);
    option0.SetValue(true);
    auto& button = form.Add<CommandButton>("Command1");
    button.Move(150, 1950, 1500, 450);
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    auto& bar = form.Add<ScrollBar>("Scroll1");
    bar.Move(150, 2550, 3000, 255);
    bar.SetRange(0, 255);
    form.MarkDirty(kDirtyControls);
    backend.Sync();
    Pump();

    HWND edit = backend.WindowOf(form)->ChildOf(&box);
    ASSERT_NE(edit, nullptr);
    ::SetFocus(edit);
    for (WPARAM c : {L'1', L'x', L'2'}) SendMessageW(edit, WM_CHAR, c, 0);
    Pump();
    EXPECT_EQ(box.Text(), "12");
    EXPECT_GE(changes, 2);
    box.SetText("345");
    backend.Sync();
    wchar_t shown[16]{};
    GetWindowTextW(edit, shown, 16);
    EXPECT_STREQ(shown, L"345");
    // Ctrl+C copies past the filter that lets only digits in.
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, 3, 0);
    EXPECT_EQ(ClipboardText(), L"345");

    SendMessageW(backend.WindowOf(form)->ChildOf(&check), BM_CLICK, 0, 0);
    SendMessageW(backend.WindowOf(form)->ChildOf(&option1), BM_CLICK, 0, 0);
    SendMessageW(backend.WindowOf(form)->ChildOf(&button), BM_CLICK, 0, 0);
    SendMessageW(Handle(form), WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0),
                 reinterpret_cast<LPARAM>(backend.WindowOf(form)->ChildOf(&bar)));
    Pump();
    EXPECT_EQ(check.Value(), 1);
    EXPECT_EQ(SendMessageW(backend.WindowOf(form)->ChildOf(&check), BM_GETCHECK, 0, 0),
              BST_CHECKED);
    EXPECT_TRUE(option1.Value());
    EXPECT_FALSE(option0.Value());
    EXPECT_EQ(SendMessageW(backend.WindowOf(form)->ChildOf(&option0), BM_GETCHECK, 0, 0),
              BST_UNCHECKED);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(bar.Value(), 25);
}

// The list's own keys, as it tells its parent of each key it takes.
LRESULT CALLBACK WatchListKeys(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR keys) {
    if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == LVN_KEYDOWN) {
        reinterpret_cast<std::vector<int>*>(keys)->push_back(
            reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey);
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

TEST_F(Controls, AListOfAHundredThousandRowsAsksForTheRowsInSightAndSharesSelectionAndKeys) {
    TestForm& form = MakeForm(BorderStyle::Fixed, 1500, 1500, 6000, 4500);
    form.SetKeyPreview(true);
    int copies = 0;
    form.onKeyDown = [&](int& keyCode, int& shift) {
        if (keyCode == 'C' && (shift & kCtrlMask)) {
            ++copies;
            keyCode = 0;  // the form copies the rows itself
        }
    };
    auto& list = form.Add<ListView>("List1");
    list.Move(150, 150, 5700, 3000);  // 380 x 200 pixels
    list.SetColumns({{"No.", 900, true}, {"Distance", 1500, true}, {"Units", 1200, false}});
    std::size_t asked = 0;
    list.cellText = [&](std::size_t row, std::size_t column) {
        ++asked;
        return column == 2 ? std::string("mm") : std::to_string(column == 0 ? row + 1 : row * 2);
    };
    int changes = 0;
    list.onChange = [&] { ++changes; };
    constexpr std::size_t kRows = 100000;
    list.RowsAdded(kRows);
    list.ScrollTo(kRows - 1);
    form.MarkDirty(kDirtyControls);
    backend.Sync();
    Pump(150);

    HWND view = backend.WindowOf(form)->ChildOf(&list);
    ASSERT_NE(view, nullptr);
    std::vector<int> nativeKeys;
    SetWindowSubclass(Handle(form), WatchListKeys, 7, reinterpret_cast<DWORD_PTR>(&nativeKeys));
    EXPECT_EQ(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(kRows));
    EXPECT_GT(asked, 0u) << "the rows in sight are painted";
    EXPECT_LT(asked, 1000u) << "and only they are asked for";
    const auto top = static_cast<int>(SendMessageW(view, LVM_GETTOPINDEX, 0, 0));
    const auto perPage = static_cast<int>(SendMessageW(view, LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_GE(perPage, 3);
    EXPECT_GE(top + perPage, static_cast<int>(kRows)) << "the newest row is in sight";
    // Each column aligned as the model says, with its cells.
    std::vector<std::pair<std::wstring, int>> columns;  // header, system column
    for (int i = 0;; ++i) {
        wchar_t header[32]{};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT;
        column.pszText = header;
        column.cchTextMax = 32;
        if (!SendMessageW(view, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column))) break;
        if (header[0] == L'\0') continue;
        columns.emplace_back(header, i);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK,
                  std::wstring(header) == L"Units" ? LVCFMT_LEFT : LVCFMT_RIGHT) << header;
    }
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_EQ(columns[1].first, L"Distance");
    // The rows' own label column, which the system would align left, stays shut when the
    // user drags the header's left edge.
    ASSERT_EQ(columns[0].second, 1);
    {
        RECT edge{};
        GetWindowRect(reinterpret_cast<HWND>(SendMessageW(view, LVM_GETHEADER, 0, 0)), &edge);
        MouseAt(edge.left + 1, (edge.top + edge.bottom) / 2);
        Button(MOUSEEVENTF_LEFTDOWN);
        MouseAt(edge.left + 30, (edge.top + edge.bottom) / 2);
        MouseAt(edge.left + 60, (edge.top + edge.bottom) / 2);
        Button(MOUSEEVENTF_LEFTUP);
        EXPECT_EQ(SendMessageW(view, LVM_GETCOLUMNWIDTH, 0, 0), 0);
    }
    wchar_t cell[32]{};
    LVITEMW item{};
    item.iSubItem = columns[1].second;
    item.pszText = cell;
    item.cchTextMax = 32;
    SendMessageW(view, LVM_GETITEMTEXTW, kRows - 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(cell, L"199998");

    // The user clicks a row and extends the selection with Shift+Down.
    Focus(form);
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageW(view, LVM_GETITEMRECT, top + 1, reinterpret_cast<LPARAM>(&row));
    MapWindowPoints(view, nullptr, reinterpret_cast<POINT*>(&row), 2);
    MouseAt(row.left + 100, (row.top + row.bottom) / 2);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(GetFocus(), view);
    Key(VK_SHIFT);
    Pump(30);
    Tap(VK_DOWN);
    Key(VK_SHIFT, true);
    Pump(30);
    const std::size_t first = static_cast<std::size_t>(top) + 1;
    EXPECT_EQ(list.SelectedRows(), (std::vector<std::size_t>{first, first + 1}));
    EXPECT_GE(changes, 2);
    EXPECT_GE(std::count(nativeKeys.begin(), nativeKeys.end(), VK_DOWN), 1)
        << "the arrows are the list's own";

    // Ctrl+C is the form's: the list never sees it, and the selection stays.
    Key(VK_CONTROL);
    Pump(30);
    Tap('C');
    Key(VK_CONTROL, true);
    Pump(30);
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(std::count(nativeKeys.begin(), nativeKeys.end(), 'C'), 0);
    EXPECT_EQ(list.SelectedRows(), (std::vector<std::size_t>{first, first + 1}));

    // The program's selection is shown, and not handed back as the user's.
    auto selected = [&](int r) {
        return (SendMessageW(view, LVM_GETITEMSTATE, r, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    };
    changes = 0;
    list.SetSelectedRows({5, 7});
    backend.Sync();
    Pump();
    EXPECT_EQ(SendMessageW(view, LVM_GETSELECTEDCOUNT, 0, 0), 2);
    EXPECT_TRUE(selected(5));
    EXPECT_TRUE(selected(7));
    EXPECT_FALSE(selected(static_cast<int>(first)));
    EXPECT_EQ(list.SelectedRows(), (std::vector<std::size_t>{5, 7}));
    EXPECT_EQ(changes, 1);
    // A row added at the end keeps it; rows all new clear it.
    list.RowsAdded(kRows + 1);
    backend.Sync();
    Pump();
    EXPECT_EQ(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(kRows + 1));
    EXPECT_EQ(SendMessageW(view, LVM_GETSELECTEDCOUNT, 0, 0), 2);
    list.RowsReset(10);
    backend.Sync();
    Pump();
    EXPECT_EQ(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0), 10);
    EXPECT_EQ(SendMessageW(view, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    EXPECT_TRUE(list.SelectedRows().empty());
    std::vector<std::size_t> all(10);
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
    list.SetSelectedRows(all);
    backend.Sync();
    Pump();
    EXPECT_EQ(SendMessageW(view, LVM_GETSELECTEDCOUNT, 0, 0), 10);
    EXPECT_EQ(list.SelectedCount(), 10u);
    RemoveWindowSubclass(Handle(form), WatchListKeys, 7);

    // The rows copied reach other programs as text, in Windows' lines.
    ASSERT_TRUE(platform.SetClipboardText("No.\tDistance\n1\t2,5\n"));
    EXPECT_EQ(ClipboardText(), L"No.\tDistance\r\n1\t2,5\r\n");
}

TEST_F(Controls, TabVisitsEveryEnabledShownControlInTheFormsOrderAndShiftTabGoesBack) {
    TestForm& form = MakeForm(BorderStyle::Fixed, 1500, 1500, 6000, 4500);
    auto place = [](Control& c, double top) { c.Move(150, top, 2000, 300); };
    auto& check1 = form.Add<CheckBox>("Check1");
    place(check1, 150);
    auto& frame1 = form.Add<Frame>("Frame1");
    frame1.Move(2400, 150, 3000, 2000);
    auto& option0 = form.Add<OptionButton>("Option1", 0, &frame1);
    place(option0, 300);
    auto& option1 = form.Add<OptionButton>("Option1", 1, &frame1);
    place(option1, 700);
    option0.SetValue(true);  // the system would offer only the chosen one of the two
    auto& text1 = form.Add<TextBox>("Text1", -1, &frame1);
    place(text1, 1100);
    text1.SetText("12");
    auto& frame2 = form.Add<Frame>("Frame2");
    frame2.Move(150, 2400, 2000, 900);
    frame2.SetEnabled(false);
    place(form.Add<CheckBox>("Check2", -1, &frame2), 300);
    auto& disabled = form.Add<CommandButton>("Command1");
    place(disabled, 600);
    disabled.SetEnabled(false);
    auto& hidden = form.Add<TextBox>("Text2");
    place(hidden, 1000);
    hidden.SetVisible(false);
    auto& command2 = form.Add<CommandButton>("Command2");
    place(command2, 3600);
    backend.Sync();
    Pump();

    FormWindow& window = *backend.WindowOf(form);
    auto focused = [&]() -> std::string {
        for (const auto& c : form.Controls()) {
            if (window.ChildOf(c.get()) == GetFocus()) {
                return c->Name() + (c->Index() >= 0 ? std::to_string(c->Index()) : "");
            }
        }
        return GetFocus() == Handle(form) ? "form" : "elsewhere";
    };
    Focus(form);
    std::vector<std::string> visited;
    Tap(VK_TAB);  // from the window itself into its first control
    visited.push_back(focused());
    for (int i = 0; i < 5; ++i) {
        Tap(VK_TAB);
        visited.push_back(focused());
        if (visited.back() == "Text1") {
            EXPECT_EQ(text1.SelStart(), 0);
            EXPECT_EQ(text1.SelLength(), 2) << "a box reached with Tab has its text selected";
        }
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"Check1", "Option10", "Option11", "Text1",
                                                 "Command2", "Check1"}));
    visited.clear();
    Key(VK_SHIFT);
    for (int i = 0; i < 5; ++i) {
        Tap(VK_TAB);
        visited.push_back(focused());
    }
    Key(VK_SHIFT, true);
    Pump(30);
    EXPECT_EQ(visited, (std::vector<std::string>{"Command2", "Text1", "Option11", "Option10",
                                                 "Check1"}));
    EXPECT_EQ(text1.Text(), "12") << "no tab typed into the box";
    EXPECT_TRUE(option0.Value()) << "visiting an option button does not choose it";
}

TEST_F(Controls, LinesArePaintedInTheirColourAndWidthOverTheBackColour) {
    TestForm& form = MakeForm(BorderStyle::None, 1500, 1500, 1500, 1500);  // 100 x 100 px
    form.SetBackColor(0xC0C0C0);
    auto& tick = form.AddLine("Tick");
    tick.SetLine(150, 300, 1350, 300, 0x0000FF, 3);                // red, 3 px
    form.AddLine("Mark").SetLine(750, 0, 750, 1500, 0x00FF00, 1);  // green, 1 px
    backend.Sync();
    Pump(150);
    HDC dc = GetDC(Handle(form));
    EXPECT_EQ(GetPixel(dc, 30, 20), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 30, 19), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 30, 21), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 30, 22), RGB(192, 192, 192));
    EXPECT_EQ(GetPixel(dc, 50, 80), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, 51, 80), RGB(192, 192, 192));
    // A line that moves is repainted by the message loop before it takes the next message, as
    // during a drag (two messages: the loop stops after the second).
    tick.SetLine(150, 600, 1350, 600, 0x0000FF, 3);
    PostMessageW(Handle(form), WM_NULL, 0, 0);
    PostMessageW(Handle(form), WM_NULL, 0, 0);
    int rounds = 0;
    backend.Run([&] { return rounds++ < 2; });
    EXPECT_EQ(GetPixel(dc, 30, 40), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 30, 20), RGB(192, 192, 192));
    EXPECT_EQ(GetPixel(dc, 50, 20), RGB(0, 255, 0)) << "the line crossed is painted again";
    ReleaseDC(Handle(form), dc);
}

TEST_F(Controls, APictureIsPaintedPixelForPixelAtItsCornerAndItsBackColourBeyond) {
    TestForm& form = MakeForm(BorderStyle::None, 1500, 1500, 1500, 1500);  // 100, 100 px
    form.SetBackColor(0xFFFFFF);
    MakeTopmost(platform, form);
    auto& picture = form.Add<tavrolin::Picture>("Picture");
    picture.Move(150, 300, 300, 150);  // 10, 20 px; 20 x 10 px
    picture.SetBackColor(0x00FFFF);    // yellow
    // Red, green, blue above; blue, black, green below (0xRRGGBB).
    picture.SetPicture(3, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x0000FF, 0x000000, 0x00FF00});
    backend.Sync();
    Pump(150);
    ScreenPixels shot = backend.ReadScreen(100, 100, 40, 40);
    ASSERT_TRUE(shot.Read()) << shot.problem;
    EXPECT_EQ(shot.At(110, 120), 0xFF0000u);
    EXPECT_EQ(shot.At(111, 120), 0x00FF00u);
    EXPECT_EQ(shot.At(112, 120), 0x0000FFu);
    EXPECT_EQ(shot.At(110, 121), 0x0000FFu);
    EXPECT_EQ(shot.At(111, 121), 0x000000u);
    EXPECT_EQ(shot.At(112, 121), 0x00FF00u);
    EXPECT_EQ(shot.At(113, 120), 0xFFFF00u) << "the back colour beside the picture";
    EXPECT_EQ(shot.At(110, 122), 0xFFFF00u) << "and below it";
    EXPECT_EQ(shot.At(129, 129), 0xFFFF00u);
    EXPECT_EQ(shot.At(130, 120), 0xFFFFFFu) << "the form beyond the control";
    EXPECT_EQ(shot.At(109, 120), 0xFFFFFFu);

    // A new picture replaces the old; one larger than the control is clipped to it.
    picture.SetPicture(40, 2, std::vector<std::uint32_t>(40 * 2, 0x0000FF));
    backend.Sync();
    Pump(150);
    shot = backend.ReadScreen(100, 100, 40, 40);
    ASSERT_TRUE(shot.Read()) << shot.problem;
    EXPECT_EQ(shot.At(110, 120), 0x0000FFu);
    EXPECT_EQ(shot.At(129, 121), 0x0000FFu);
    EXPECT_EQ(shot.At(130, 121), 0xFFFFFFu);
    EXPECT_EQ(shot.At(110, 122), 0xFFFF00u);
}

TEST_F(Controls, OnAMonitorOfTwiceTheDensityACaptionedWindowGrowsAndABorderlessOneKeepsItsPixels) {
    TestForm& dialog = MakeForm(BorderStyle::Fixed, 1500, 1500, 3000, 1500);  // 200 x 100 px
    auto& box = dialog.Add<TextBox>("Text1");
    box.Move(150, 300, 1500, 300);
    box.SetText("12.5");
    TestForm& ruler = MakeForm(BorderStyle::None, 1500, 3000, 750, 7500);  // 50 x 500 px
    backend.Sync();
    Pump();
    const int dpi = backend.Dpi() * 2;
    auto moveTo = [&](TestForm& form, RECT suggested) {
        SendMessageW(Handle(form), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        Pump();
    };
    moveTo(dialog, RECT{2000, 100, 2400, 400});
    moveTo(ruler, RECT{2000, 600, 2100, 1600});

    RECT client{}, outer{}, child{};
    GetClientRect(Handle(dialog), &client);
    GetWindowRect(Handle(dialog), &outer);
    EXPECT_EQ(client.right, 400);
    // Windows draws the frame and caption at the new density too; Wine keeps the system's,
    // and the client area is then taller by the difference.
    EXPECT_GE(client.bottom, 200);
    EXPECT_EQ(outer.left, 2000) << "placed where the system suggested";
    EXPECT_EQ(outer.top, 100);
    EXPECT_DOUBLE_EQ(dialog.Left(), 2000 * 15.0) << "the model follows the move";
    EXPECT_DOUBLE_EQ(dialog.Width(), 3000) << "the model's size is the same in twips";
    HWND edit = backend.WindowOf(dialog)->ChildOf(&box);
    GetWindowRect(edit, &child);
    MapWindowPoints(nullptr, Handle(dialog), reinterpret_cast<POINT*>(&child), 2);
    EXPECT_EQ(child.left, 20);
    EXPECT_EQ(child.top, 40);
    EXPECT_EQ(child.right - child.left, 200);
    LOGFONTW small{}, large{};
    GetObjectW(backend.Font(), sizeof small, &small);
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof large, &large);
    EXPECT_EQ(large.lfHeight, 2 * small.lfHeight);
    // A click in the text box's place arrives at the same twips as before.
    dialog.mouse.clear();
    SendMessageW(Handle(dialog), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 20));
    SendMessageW(Handle(dialog), WM_LBUTTONUP, 0, MAKELPARAM(300, 20));
    ASSERT_FALSE(dialog.mouse.empty());
    EXPECT_DOUBLE_EQ(dialog.mouse[0].x, 2250);
    EXPECT_DOUBLE_EQ(dialog.mouse[0].y, 150);

    RECT r{};
    GetWindowRect(Handle(ruler), &r);
    EXPECT_EQ(r.right - r.left, 50) << "a ruler pixel stays a screen pixel";
    EXPECT_EQ(r.bottom - r.top, 500);
}

TEST_F(Controls, AModalDialogRunsItsOwnLoopUntilTheModelHidesItAndTextIsMeasured) {
    TestForm& owner = MakeForm(BorderStyle::Fixed);
    TestForm& ruler = MakeForm(BorderStyle::None, 0, 0, 30000, 750);
    MakeTopmost(platform, ruler);
    SetForegroundWindow(Handle(owner));
    Pump(30);
    TestForm dialog(backend);
    dialog.SetBorder(BorderStyle::Fixed);
    dialog.Move(0, 0, 3000, 2000);
    dialog.onQueryClose = [&] { dialog.Hide(); };
    dialog.Load();
    bool ownerEnabled = true;
    // A close request comes in while the dialog's own loop runs.
    SetTimer(Handle(dialog), 1, 100, [](HWND h, UINT, UINT_PTR, DWORD) {
        KillTimer(h, 1);
        PostMessageW(h, WM_CLOSE, 0, 0);
    });
    SetTimer(Handle(owner), 2, 50, [](HWND h, UINT, UINT_PTR, DWORD) {
        KillTimer(h, 2);
        SetPropW(h, L"enabled", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(IsWindowEnabled(h) + 1)));
        // Above the program's topmost windows (the ruler), first of them, while it is up.
        HWND top = GetTopWindow(nullptr);
        while (top != nullptr && !IsWindowVisible(top)) top = GetWindow(top, GW_HWNDNEXT);
        SetPropW(h, L"top", top);
    });
    dialog.ShowModal();
    ownerEnabled = reinterpret_cast<INT_PTR>(GetPropW(Handle(owner), L"enabled")) == 2;
    RemovePropW(Handle(owner), L"enabled");
    EXPECT_EQ(static_cast<HWND>(RemovePropW(Handle(owner), L"top")), Handle(dialog));
    EXPECT_FALSE(GetWindowLongW(Handle(dialog), GWL_EXSTYLE) & WS_EX_TOPMOST) << "only then";
    EXPECT_FALSE(ownerEnabled) << "the other windows take no input while the dialog is up";
    EXPECT_TRUE(IsWindowEnabled(Handle(owner)));
    EXPECT_FALSE(dialog.Visible());
    // Centred over the captioned window it was asked from.
    const RECT o = WindowRect(Handle(owner)), d = WindowRect(Handle(dialog));
    EXPECT_NEAR((d.left + d.right) / 2, (o.left + o.right) / 2, 1);
    EXPECT_NEAR((d.top + d.bottom) / 2, (o.top + o.bottom) / 2, 1);

    const double one = backend.TextWidth(owner, "W");
    EXPECT_GT(one, 0);
    EXPECT_NEAR(backend.TextWidth(owner, "WW\r\nW"), 2 * one, 15);
    EXPECT_DOUBLE_EQ(backend.TextHeight(owner, "a\r\nb"), 2 * backend.TextHeight(owner, "a"));
}

// The program in a folder of its own, on the real backend.
class FolderPlatform : public Win32Platform {
public:
    FolderPlatform(Win32Backend& backend, std::string folder)
        : Win32Platform(backend), folder_(std::move(folder)) {}
    std::string ProgramFolder() override { return folder_; }
    std::string UserConfigFolder() override { return folder_ + "\\user"; }

private:
    std::string folder_;
};

TEST(Program, StartsWithTheDefaultRulerAndSavesItsFileWhenAskedToCloseFromOutside) {
    std::random_device rd;
    const auto folder = std::filesystem::temp_directory_path() /
                        ("tavrolin-win32-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(folder);
    {
        Win32Backend backend(GetModuleHandleW(nullptr));
        backend.screen().TwipsPerPixelX = 15;
        backend.screen().TwipsPerPixelY = 15;
        FolderPlatform platform(backend, folder.string());
        tavrolin::Program program(backend, platform, "");
        backend.onEndProgram = [&] {
            if (program.Running()) program.Exit();
        };
        program.Start();
        backend.Sync();
        HWND ruler = backend.HandleOf(program.ruler().hWnd());
        ASSERT_NE(ruler, nullptr);
        EXPECT_TRUE(IsWindowVisible(ruler));
        const RECT r = WindowRect(ruler);
        EXPECT_EQ(r.left, 10);
        EXPECT_EQ(r.top, 100);
        EXPECT_EQ(r.right - r.left, 50);
        EXPECT_EQ(r.bottom - r.top, 500);
        const auto ex = GetWindowLongW(ruler, GWL_EXSTYLE);
        EXPECT_TRUE(ex & WS_EX_TOPMOST);
        EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
        BYTE alpha = 0;
        GetLayeredWindowAttributes(ruler, nullptr, &alpha, nullptr);
        EXPECT_EQ(alpha, 150);
        EXPECT_TRUE(std::filesystem::exists(folder / "Tavrolin.tmp"));

        SendMessageW(ruler, WM_CLOSE, 0, 0);  // what taskkill sends
        EXPECT_FALSE(program.Running());
    }
    std::ifstream in(folder / "Tavrolin.cfg", std::ios::binary);
    std::stringstream saved;
    saved << in.rdbuf();
    EXPECT_NE(saved.str().find("TickSpacing\r\n"), std::string::npos) << "CR LF line ends";
    EXPECT_FALSE(std::filesystem::exists(folder / "Tavrolin.tmp"));
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

}  // namespace
}  // namespace tavrolin::win32::test
