#include <gtest/gtest.h>

#include "forms/Control.h"
#include "forms/Dispatch.h"
#include "forms/Form.h"
#include "forms/HeadlessBackend.h"
#include "forms/KeyDispatch.h"
#include "forms/UserInput.h"
#include "platform/RecordingPlatform.h"
#include "platform/WindowServices.h"

namespace tavrolin {
namespace {

class Probe : public Form {
public:
    explicit Probe(Backend& b) : Form(b, "Probe") {}
    void Form_Load() override {
        ++loads;
        if (onLoad) onLoad();
    }
    void Form_Unload() override { ++unloads; }
    void Form_Resize() override { ++resizes; }
    void Form_MouseDown(int button, int shift, double x, double y) override {
        events.push_back("down " + std::to_string(button) + " " + std::to_string(shift) + " " +
                         std::to_string(static_cast<int>(x)) + " " +
                         std::to_string(static_cast<int>(y)));
        if (onDown) onDown();
    }
    void Form_MouseMove(int, int, double x, double) override {
        events.push_back("move " + std::to_string(static_cast<int>(x)));
        if (moveWithPointer) SetLeft(Left() + x - 100);
    }
    void Form_KeyDown(int& keyCode, int& shift) override {
        events.push_back("key " + std::to_string(keyCode) + " " + std::to_string(shift));
    }
    int loads = 0, unloads = 0, resizes = 0;
    bool moveWithPointer = false;
    std::vector<std::string> events;
    std::function<void()> onDown;
    std::function<void()> onLoad;
};

TEST(Forms, ResizeRunsOnlyWhenTheSizeOfALoadedFormChanges) {
    HeadlessBackend backend;
    Probe f(backend);
    f.SetWidth(500);
    EXPECT_EQ(f.resizes, 0);  // not loaded yet
    f.Load();
    f.SetLeft(10);
    f.SetWidth(500);
    EXPECT_EQ(f.resizes, 0);
    f.SetWidth(600);
    f.Move(0, 0, 600, 700);
    EXPECT_EQ(f.resizes, 2);
    EXPECT_EQ(f.loads, 1);
}

TEST(Forms, AFormShownWhileAnotherLoadsComesFirstAndAReShownFormLast) {
    HeadlessBackend backend;
    Probe outer(backend), inner(backend), later(backend);
    outer.onLoad = [&] { inner.Show(); };
    outer.Show();
    later.Show();
    EXPECT_LT(inner.ShownOrder(), outer.ShownOrder()) << "the outer form is shown once loaded";
    EXPECT_LT(outer.ShownOrder(), later.ShownOrder());
    const auto before = inner.ShownOrder();
    inner.Show();
    EXPECT_EQ(inner.ShownOrder(), before) << "showing a shown form changes nothing";
    inner.Hide();
    inner.Show();
    EXPECT_GT(inner.ShownOrder(), later.ShownOrder());
}

TEST(Forms, ALineSetAtOnceIsRepaintedOnlyWhenSomethingChanged) {
    HeadlessBackend backend;
    Probe f(backend);
    f.Load();
    Line& line = f.AddLine("Tick");
    line.SetLine(10, 20, 10, 200, 0x0000FF, 0);
    EXPECT_EQ(line.BorderWidth(), 1) << "a line is at least a pixel wide";
    EXPECT_EQ(line.Y2(), 200);
    backend.Sync();
    line.SetLine(10, 20, 10, 200, 0x0000FF, 1);
    EXPECT_FALSE(line.Dirty());
    EXPECT_EQ(f.DirtyFlags(), 0u);
    line.SetLine(10, 20, 10, 200, 0x00FF00, 1);
    EXPECT_TRUE(line.Dirty());
    EXPECT_NE(f.DirtyFlags() & kDirtyControls, 0u);

    // A picture likewise, set whole; one whose size does not match its pixels shows nothing.
    auto& picture = f.Add<Picture>("Picture");
    picture.SetPicture(2, 1, {0xFF0000, 0x00FF00});
    backend.Sync();
    const auto version = picture.PictureVersion();
    picture.SetPicture(2, 1, {0xFF0000, 0x00FF00});
    EXPECT_FALSE(picture.Dirty());
    EXPECT_EQ(picture.PictureVersion(), version);
    picture.SetPicture(1, 2, {0xFF0000, 0x00FF00});
    EXPECT_TRUE(picture.Dirty());
    EXPECT_NE(picture.PictureVersion(), version);
    backend.Sync();
    picture.SetPicture(3, 1, {0xFF0000, 0x00FF00});
    EXPECT_TRUE(picture.Dirty());
    EXPECT_EQ(picture.PictureWidth(), 0);
    EXPECT_EQ(picture.PictureHeight(), 0);
    EXPECT_TRUE(picture.Rgb().empty());
    picture.SetPicture(-1, -2, {0xFF0000, 0x00FF00});
    picture.SetPicture(65536, 65536, {0xFF0000});
    EXPECT_TRUE(picture.Rgb().empty());
}

TEST(Forms, RunTimeLinesGoWithUnloadAndDesignedControlsStay) {
    HeadlessBackend backend;
    Probe f(backend);
    f.Add<Line>("Line1", 0);
    f.Load();
    for (int i = 0; i < 3; ++i) f.AddLine("Tick" + std::to_string(i));
    EXPECT_EQ(f.Lines().size(), 4u);
    EXPECT_NE(f.Find("Tick2"), nullptr);
    f.Unload();
    EXPECT_EQ(f.unloads, 1);
    EXPECT_EQ(f.Lines().size(), 1u);
    EXPECT_EQ(f.Find("Tick2"), nullptr);
    EXPECT_NE(f.Find("Line1", 0), nullptr);
    EXPECT_FALSE(f.Visible());
}

TEST(Forms, OptionButtonsOfOneContainerExcludeEachOther) {
    HeadlessBackend backend;
    Probe f(backend);
    auto& frame = f.Add<Frame>("Frame");
    auto& a = f.Add<OptionButton>("A", -1, &frame);
    auto& b = f.Add<OptionButton>("B", -1, &frame);
    auto& other = f.Add<OptionButton>("C");
    int clicks = 0;
    b.onClick = [&] { ++clicks; };
    f.Show();
    other.SetValue(true);
    a.SetValue(true);
    user::Click(b);
    EXPECT_FALSE(a.Value());
    EXPECT_TRUE(b.Value());
    EXPECT_TRUE(other.Value());
    user::Click(b);  // already selected: nothing changes, no click
    EXPECT_EQ(clicks, 1);
}

TEST(Forms, AListKeepsItsSelectionAsRowsAreAddedAndLosesItWhenTheyAreReplaced) {
    HeadlessBackend backend;
    Probe f(backend);
    auto& list = f.Add<ListView>("List");
    list.SetColumns({{"No.", 600, true}, {"Name"}});
    list.cellText = [](std::size_t r, std::size_t c) { return std::to_string(r * 10 + c); };
    int changes = 0;
    list.onChange = [&] { ++changes; };
    f.Show();
    list.RowsAdded(5);
    EXPECT_EQ(list.Cell(4, 1), "41");
    EXPECT_EQ(list.Cell(5, 0), "");  // beyond the rows and columns: nothing is asked
    EXPECT_EQ(list.Cell(0, 2), "");

    // The user's selection is taken without being shown back; rows beyond the list are not.
    const auto shown = list.SelectionVersion();
    user::SelectRows(list, {3, 1, 9, 3});
    EXPECT_EQ(list.SelectedRows(), (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(list.SelectionVersion(), shown);
    EXPECT_EQ(changes, 1);
    user::SelectRows(list, {1, 3});
    EXPECT_EQ(changes, 1);  // the same selection is no change
    list.RowsAdded(7);
    EXPECT_EQ(list.SelectedCount(), 2u);
    EXPECT_TRUE(list.Selected(3));
    EXPECT_FALSE(list.Selected(6));

    const auto reset = list.ResetVersion();
    list.RowsAdded(2);  // fewer rows: they are new rows
    EXPECT_EQ(list.ResetVersion(), reset + 1);
    EXPECT_EQ(list.SelectedCount(), 0u);
    EXPECT_EQ(changes, 2);
    list.SetSelectedRows({0});
    EXPECT_GT(list.SelectionVersion(), shown);
    EXPECT_EQ(changes, 3);
}

TEST(Forms, TypingPassesEachKeyThroughTheFilterBeforeTheTextChanges) {
    HeadlessBackend backend;
    Probe f(backend);
    auto& box = f.Add<TextBox>("Box");
    std::vector<std::string> seen;
    box.onKeyPress = [](int& k) {
        if (!(k == 8 || (k >= '0' && k <= '9'))) k = 0;
    };
    box.onChange = [&] { seen.push_back(box.Text()); };
    f.Show();
    user::Type(box, "1a2\b3");
    EXPECT_EQ(box.Text(), "13");
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "12", "1", "13"}));
    // Hidden or disabled boxes take no keys.
    box.SetEnabled(false);
    user::Type(box, "9");
    EXPECT_EQ(box.Text(), "13");
}

TEST(Forms, ACheckBoxClickTogglesItsValueAndRunsClickOnce) {
    HeadlessBackend backend;
    Probe f(backend);
    auto& box = f.Add<CheckBox>("Check");
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    f.Show();
    user::Click(box);
    EXPECT_EQ(box.Value(), 1);
    box.SetValue(1);
    EXPECT_EQ(clicks, 1);
}

TEST(Forms, TabFollowsTheFormsOrderPastWhatCannotTakeTheFocusAndALabelIsClickedOnlyOverIt) {
    HeadlessBackend backend;
    Probe f(backend);
    auto& first = f.Add<TextBox>("First");
    auto& label = f.Add<Label>("Label");
    auto& picture = f.Add<Picture>("Picture");
    auto& frame = f.Add<Frame>("Frame");
    auto& inFrame = f.Add<CheckBox>("InFrame", -1, &frame);
    auto& hidden = f.Add<CommandButton>("Hidden");
    auto& bar = f.Add<ScrollBar>("Bar");
    auto& last = f.Add<OptionButton>("Last");
    int clicks = 0;
    label.onClick = [&] { ++clicks; };
    label.Move(0, 0, 600, 300);
    bar.SetRange(0, 255);
    hidden.SetVisible(false);
    f.Show();
    first.SetText("12");

    // Wrapping round both ways; a disabled frame keeps the focus from what it holds.
    frame.SetEnabled(false);
    std::vector<Control*> forward;
    for (int i = 0; i < 4; ++i) forward.push_back(user::Tab(f));
    EXPECT_EQ(forward, (std::vector<Control*>{&first, &bar, &last, &first}));
    EXPECT_EQ(first.SelLength(), 2) << "a box reached with Tab has its text selected";
    EXPECT_EQ(user::Tab(f, true), &last);
    frame.SetEnabled(true);
    EXPECT_EQ(dispatch::NextTabStop(f, &first, false, [](const Control&) { return true; }),
              &inFrame);
    // A control the window system has no view of is passed over.
    EXPECT_EQ(dispatch::NextTabStop(f, &first, false,
                                    [&](const Control& c) { return &c != &inFrame; }),
              &bar);

    // A label is clicked where the left button goes up over it, not beside it.
    user::MouseUp(label, kLeftButton, 0, 599, 299);
    user::MouseUp(label, kLeftButton, 0, 600, 10);
    user::MouseUp(label, kRightButton, 0, 10, 10);
    EXPECT_EQ(clicks, 1);
    // A picture takes the mouse as a label does, but is no button.
    std::vector<std::string> onPicture;
    picture.Move(0, 0, 600, 300);
    picture.onClick = [&] { onPicture.push_back("click"); };
    picture.onMouseDown = [&](int, int, double, double) { onPicture.push_back("down"); };
    picture.onMouseUp = [&](int, int, double, double) { onPicture.push_back("up"); };
    user::MouseDown(picture, kLeftButton, 0, 10, 10);
    user::MouseUp(picture, kLeftButton, 0, 10, 10);
    EXPECT_EQ(onPicture, (std::vector<std::string>{"down", "up"}));

    // A scroll bar stays in its range and pages a tenth of it.
    user::Scroll(bar, 300);
    EXPECT_EQ(bar.Value(), 255);
    EXPECT_EQ(dispatch::PageOf(bar), 25);
    EXPECT_TRUE(dispatch::ScrollKey(bar, kKeyPageUp));
    EXPECT_EQ(bar.Value(), 230);
    EXPECT_FALSE(dispatch::ScrollKey(bar, kKeyTab));
}

TEST(Forms, WorkPostedInsideAHandlerRunsAfterItHasReturned) {
    HeadlessBackend backend;
    Probe f(backend);
    f.Show();
    std::vector<std::string> order;
    f.onDown = [&] {
        backend.Post([&] { order.push_back("posted"); });
        order.push_back("handler");
        // Nested events (DoEvents inside a handler) do not run it early.
        user::MouseMove(f, 0, 0, 1, 1);
        order.push_back("handler end");
    };
    user::MouseDown(f, kLeftButton, kShiftMask, 30, 45);
    EXPECT_EQ(order, (std::vector<std::string>{"handler", "handler end", "posted"}));
    EXPECT_EQ(f.events[0], "down 1 1 30 45");
}

TEST(Forms, ADragFollowsAFixedPathOnTheScreenWhileTheFormMovesUnderIt) {
    HeadlessBackend backend;
    Probe f(backend);
    f.Show();
    f.Move(1000, 1000, 3000, 3000);
    f.moveWithPointer = true;
    user::Drag(f, 100, 100, 500, 100, 4);
    // Each step moves the form by the pointer's offset from the grabbed point, as the ruler does:
    // the pointer stays 100 twips into the form and the form ends 400 twips further.
    EXPECT_EQ(f.Left(), 1400);
    EXPECT_EQ(f.events[1], "move 200");
    EXPECT_EQ(f.events[2], "move 200");
}

TEST(Forms, KeysGoToThePreviewingFormFirst) {
    HeadlessBackend backend;
    Probe f(backend);
    auto& box = f.Add<TextBox>("Box");
    f.Show();
    f.SetFocus(&box);
    f.SetKeyPreview(true);
    user::KeyDown(f, kKeyShift, kShiftMask);
    EXPECT_EQ(f.events.back(), "key 16 1");
    f.SetKeyPreview(false);
    f.events.clear();
    user::KeyDown(f, kKeyLeft, 0);
    EXPECT_TRUE(f.events.empty());
}

// Every window system routes its keys through keys::Key: Qt hands the character in with the key,
// Windows sends it in a message of its own afterwards, the headless helpers work it out.
TEST(Forms, AKeyDownHandlerThatReplacesOrCancelsTheCodeDecidesKeyPressOnEveryPath) {
    HeadlessBackend backend;
    Probe f(backend);
    auto& box = f.Add<TextBox>("Box");
    std::vector<int> pressed;
    box.onKeyDown = [](int& code, int&) {
        if (code == 'A') code = 'B';
        if (code == 'C') code = 0;
        if (code == 'D') code = kKeyLeft;
    };
    box.onKeyPress = [&](int& ascii) { pressed.push_back(ascii); };
    f.Show();
    f.SetFocus(&box);
    f.SetKeyPreview(true);
    auto key = [&](int code, int ascii) {
        keys::KeyResult r;
        backend.Deliver([&] { r = keys::Key(f, keys::TargetOf(&box), code, 0, ascii); });
        return r;
    };
    for (const int given : {static_cast<int>('a'), keys::kCharacterLater}) {
        pressed.clear();
        keys::KeyResult r = key('A', given);
        EXPECT_EQ(r.verdict, keys::Verdict::Replace);
        EXPECT_EQ(r.ascii, 'b');
        EXPECT_EQ(pressed, std::vector<int>{'b'});
        r = key('C', given == keys::kCharacterLater ? given : 'c');
        EXPECT_EQ(r.verdict, keys::Verdict::Swallow);
        r = key('D', given == keys::kCharacterLater ? given : 'd');
        EXPECT_EQ(r.verdict, keys::Verdict::Replace);
        EXPECT_EQ(r.ascii, 0);
        EXPECT_EQ(pressed, std::vector<int>{'b'});
        EXPECT_EQ(f.events, (std::vector<std::string>{"key 65 0", "key 67 0", "key 68 0"}));
        f.events.clear();
    }
    // A key that stays itself leaves a later character to its own message.
    pressed.clear();
    EXPECT_EQ(key('E', keys::kCharacterLater).verdict, keys::Verdict::PassOn);
    EXPECT_TRUE(pressed.empty());
    int typed = 0;
    backend.Deliver([&] { typed = keys::Press(f, &box, 'e'); });
    EXPECT_EQ(typed, 'e');
    EXPECT_EQ(pressed, std::vector<int>{'e'});
    // The headless helpers type what stands.
    user::KeyDown(f, 'A', 0);
    user::KeyDown(f, 'C', 0);
    user::KeyDown(f, 'D', 0);
    user::KeyDown(f, 'E', kShiftMask);
    EXPECT_EQ(box.Text(), "bE");
}

TEST(WindowServices, TopmostUsesTheTopmostBandWithoutMovingOrSizing) {
    HeadlessBackend backend;
    RecordingPlatform platform;
    Probe f(backend);
    f.Move(150, 1500, 750, 7500);
    MakeTopmost(platform, f);
    EXPECT_EQ(platform.calls.back(),
              "SetWindowPos(" + std::to_string(f.hWnd()) + ", -1, 0, 0, 0, 0, 3)");
    EXPECT_EQ(f.Left(), 150);
    EXPECT_EQ(f.Width(), 750);
}

TEST(WindowServices, TransparencyAddsOnlyTheLayeredBitAndClampsTheAlpha) {
    RecordingPlatform platform;
    std::int32_t hwnd = 77;
    platform.exStyle[hwnd] = 0x8;  // an unrelated style bit
    std::int16_t alpha = 150;
    SetTransparency(platform, alpha, hwnd);
    EXPECT_EQ(platform.calls[0], "GetWindowLongA(77, -20)");
    EXPECT_EQ(platform.calls[1], "SetWindowLongA(77, -20, " + std::to_string(0x80008) + ")");
    EXPECT_EQ(platform.calls[2], "SetLayeredWindowAttributes(77, 16777215, 150, 2)");
    alpha = 255;
    SetTransparency(platform, alpha, hwnd);
    EXPECT_EQ(platform.exStyle[hwnd], 0x80008);
    EXPECT_EQ(platform.alpha[hwnd], 255);
    // Out of range values never leave the window layered without an alpha.
    alpha = 300;
    SetTransparency(platform, alpha, hwnd);
    EXPECT_EQ(platform.alpha[hwnd], 255);
    alpha = -4;
    SetTransparency(platform, alpha, hwnd);
    EXPECT_EQ(platform.alpha[hwnd], 0);
}

TEST(WindowServices, OpenDocumentAsksTheShellToOpenWithTheDesktopAsOwner) {
    RecordingPlatform platform;
    EXPECT_EQ(OpenDocument(platform, "/usr/share/doc/tavrolin/index.html"), 42);
    EXPECT_EQ(platform.calls.back(),
              "ShellExecuteA(16, \"Open\", \"/usr/share/doc/tavrolin/index.html\", \"\", \"\", 1)");
}

}  // namespace
}  // namespace tavrolin
