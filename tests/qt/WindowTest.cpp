// Real windows for forms: where they are, how big, what kind, and what the window system tells
// the model back.
#include <QTimer>
#include <QWindow>

#include "QtTestSupport.h"
#include "platform/WindowServices.h"

namespace tavrolin::qt::test {
namespace {

using WindowPlacement = QtTest;

TEST_F(WindowPlacement, AWindowLandsOnTheNearestPixelWithItsClientSize) {
    // 100.47 px, 199.47 px; a 22.5 px height rounds to the even 22.
    TestForm& form = MakeForm(1507, 2992, 4500, 337.5);
    FormWindow& w = Window(form);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.pos(), QPoint(100, 199));
    EXPECT_EQ(w.size(), QSize(300, 22));
}

TEST_F(WindowPlacement, AModelMoveReachesTheWindowAtTheNextSync) {
    TestForm& form = MakeForm();
    FormWindow& w = Window(form);
    form.Move(3000, 4500, 6000, 750);
    EXPECT_EQ(w.pos(), QPoint(100, 100)) << "nothing moves before Sync";
    backend.Sync();
    EXPECT_EQ(w.pos(), QPoint(200, 300));
    EXPECT_EQ(w.size(), QSize(400, 50));
}

TEST_F(WindowPlacement, AMoveByTheWindowSystemIsReportedInTwips) {
    TestForm& form = MakeForm();
    Window(form).move(310, 420);
    Settle();
    EXPECT_DOUBLE_EQ(form.Left(), 4650);
    EXPECT_DOUBLE_EQ(form.Top(), 6300);
    EXPECT_EQ(form.DirtyFlags() & kDirtyGeometry, 0u) << "the model does not send it back";
}

TEST_F(WindowPlacement, AWindowManagersFirstPlacementOfANewWindowIsNotTheUsers) {
    // A window manager may report a new window at a place of its own choosing before it honours
    // the one asked for; a re-created ruler once took (0,0) into its settings that way.
    auto form = std::make_unique<TestForm>(backend);
    form->Move(1500, 1500, 4500, 1500);
    form->Show();
    backend.Sync();
    FormWindow& w = Window(*form);
    ASSERT_FALSE(w.windowHandle()->isExposed());
    w.move(0, 0);
    w.move(100, 100);
    Settle();
    EXPECT_DOUBLE_EQ(form->Left(), 1500);
    EXPECT_DOUBLE_EQ(form->Top(), 1500);
    w.move(310, 420);  // on screen now: the user's move
    Settle();
    EXPECT_DOUBLE_EQ(form->Left(), 4650);
}

TEST_F(WindowPlacement, ManyQuickModelMovesEndWhereTheModelIs) {
    // Late answers to earlier moves must not drag the model back.
    TestForm& form = MakeForm();
    for (int i = 1; i <= 20; ++i) {
        backend.Deliver([&] { form.Move(1500 + i * 150, 1500); });
    }
    Settle();
    EXPECT_DOUBLE_EQ(form.Left(), 4500);
    EXPECT_EQ(Window(form).pos(), QPoint(300, 100));
}

TEST_F(WindowPlacement, EachBorderStyleMakesItsKindOfWindow) {
    TestForm& form = MakeForm();
    FormWindow& w = Window(form);
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w.windowFlags() & Qt::WindowType_Mask, Qt::Tool) << "no task-bar entry";

    form.SetBorder(BorderStyle::ToolWindow);
    form.SetCaption("Distance");
    backend.Sync();
    EXPECT_FALSE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_EQ(w.windowTitle(), "Distance");
    EXPECT_TRUE(w.isVisible()) << "a changed style keeps the window shown";

    form.SetBorder(BorderStyle::Fixed);
    backend.Sync();
    EXPECT_EQ(w.windowFlags() & Qt::WindowType_Mask, Qt::Window);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(w.minimumSize(), QSize(300, 100));
    EXPECT_EQ(w.maximumSize(), QSize(300, 100));
    EXPECT_EQ(w.pos(), QPoint(100, 100));
}

TEST_F(WindowPlacement, BackColourFillsTheWindow) {
    TestForm& form = MakeForm();
    form.SetBackColor(0x00FFFF);  // yellow: red and green
    backend.Sync();
    const QImage shot = Window(form).grab().toImage();
    EXPECT_EQ(shot.pixelColor(150, 50), QColor(255, 255, 0));
}

using WindowState_ = QtTest;

TEST_F(WindowState_, HidingMinimisingAndRestoringFollowTheModel) {
    TestForm& form = MakeForm();
    FormWindow& w = Window(form);
    form.SetWindowState(WindowState::Minimized);
    backend.Sync();
    EXPECT_TRUE(w.isMinimized());
    form.SetWindowState(WindowState::Normal);
    backend.Sync();
    EXPECT_FALSE(w.isMinimized());
    form.Hide();
    backend.Sync();
    EXPECT_FALSE(w.isVisible());
    form.Show();
    backend.Sync();
    EXPECT_TRUE(w.isVisible());
}

TEST_F(WindowState_, AMinimiseByTheUserReachesTheModel) {
    TestForm& form = MakeForm();
    Window(form).showMinimized();
    Settle();
    EXPECT_EQ(form.GetWindowState(), WindowState::Minimized);
    Window(form).showNormal();
    Settle();
    EXPECT_EQ(form.GetWindowState(), WindowState::Normal);
}

TEST_F(WindowState_, ACloseRequestAsksTheModelAndLeavesTheWindowOpen) {
    TestForm& form = MakeForm();
    Window(form).close();
    EXPECT_EQ(form.closeRequests, 1);
    EXPECT_TRUE(Window(form).isVisible());
}

TEST_F(WindowState_, WindowsAppearInTheOrderTheModelShowedThem) {
    // Registered first, shown last: the form that shows another from its load handler.
    TestForm outer(backend, "Outer");
    TestForm inner(backend, "Inner");
    outer.onLoad = [&] { inner.Show(); };
    struct ShowRecorder : QObject {
        std::vector<std::string> shown;
        bool eventFilter(QObject* watched, QEvent* e) override {
            auto* w = dynamic_cast<FormWindow*>(watched);
            if (e->type() == QEvent::Show && w != nullptr && w->form() != nullptr) {
                shown.push_back(w->form()->Name());
            }
            return false;
        }
    } recorder;
    qApp->installEventFilter(&recorder);
    outer.Show();
    backend.Sync();
    qApp->removeEventFilter(&recorder);
    EXPECT_EQ(recorder.shown, (std::vector<std::string>{"Inner", "Outer"}));
}

TEST_F(WindowState_, UnloadingRemovesTheWindowAndReloadingMakesANewOne) {
    TestForm& form = MakeForm();
    QPointer<FormWindow> old = &Window(form);
    form.Unload();
    EXPECT_EQ(backend.WindowOf(form), nullptr);
    EXPECT_FALSE(old->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull());
    form.Show();
    backend.Sync();
    ASSERT_NE(backend.WindowOf(form), nullptr);
    EXPECT_TRUE(backend.WindowOf(form)->isVisible());
}

TEST_F(WindowState_, AWindowThatNeverTakesTheFocusLeavesItWhereItWasWhenShownOrClicked) {
    TestForm& focused = MakeForm();
    focused.SetFocus();
    backend.Sync();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window(focused)));
    auto loupe = std::make_unique<TestForm>(backend, "Loupe");
    loupe->SetTakesFocus(false);
    loupe->Move(7500, 1500, 2400, 2700);
    loupe->Show();
    loupe->SetFocus();
    backend.Sync();
    FormWindow& w = Window(*loupe);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    Settle();
    EXPECT_TRUE(w.windowFlags() & Qt::WindowDoesNotAcceptFocus) << "WM_HINTS input false";
    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mouseMove(&w, QPoint(30, 25));
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, QPoint(30, 25));
    Settle();
    EXPECT_EQ(loupe->mouse.size(), 3u) << "the click and drag still reach the form";
    EXPECT_EQ(QApplication::activeWindow(), &Window(focused));
    EXPECT_EQ(loupe->activations, 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    ASSERT_FALSE(focused.keys.empty()) << "the keys go on reaching the focused window";
    EXPECT_EQ(focused.keys.back(), (KeyCall{kKeyLeft, 0}));
    EXPECT_TRUE(loupe->keys.empty());
    loupe->Unload();
}

using WindowServicesOnQt = QtTest;

TEST_F(WindowServicesOnQt, MakeTopmostKeepsTheWindowWhereAndAsItWas) {
    TestForm& form = MakeForm(1500, 3000, 4500, 1500);
    FormWindow& w = Window(form);
    const QRect before = w.geometry();
    MakeTopmost(platform, form);
    Settle();
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    ASSERT_NE(w.windowHandle(), nullptr);
    EXPECT_TRUE(w.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.geometry(), before);
    EXPECT_DOUBLE_EQ(form.Left(), 1500);
}

TEST_F(WindowServicesOnQt, TopmostBeforeTheFirstShowHoldsOnceShown) {
    TestForm form(backend);
    form.Load();
    MakeTopmost(platform, form);
    form.Show();
    backend.Sync();
    EXPECT_TRUE(Window(form).windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(Window(form).windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(WindowServicesOnQt, AModalDialogStandsAboveTheTopmostWindowsWhileItIsUpAndOnlyThen) {
    // A topmost ruler across the screen's middle would hide the dialog's Apply and Cancel.
    TestForm& ruler = MakeForm(0, 7500, 28800, 750);
    MakeTopmost(platform, ruler);
    TestForm dialog(backend, "PickColor");
    dialog.SetBorder(BorderStyle::Fixed);
    dialog.Move(0, 0, 3000, 1500);
    bool onTop = false;
    QTimer::singleShot(20, [&] {
        FormWindow* w = backend.WindowOf(dialog);
        const auto order = backend.WindowsInStackingOrder();
        onTop = w != nullptr && w->isVisible() && (w->windowFlags() & Qt::WindowStaysOnTopHint) &&
                !order.empty() && order.back() == w;
        backend.Deliver([&] { dialog.Hide(); });
    });
    dialog.ShowModal();
    EXPECT_TRUE(onTop);
    dialog.Show();
    backend.Sync();
    EXPECT_FALSE(Window(dialog).windowFlags() & Qt::WindowStaysOnTopHint) << "shown modeless";
    EXPECT_TRUE(Window(ruler).windowFlags() & Qt::WindowStaysOnTopHint);
    dialog.Unload();
}

TEST_F(WindowServicesOnQt, TransparencySetsTheOpacityAndSurvivesAReload) {
    TestForm& form = MakeForm();
    std::int16_t alpha = 128;
    std::int32_t hwnd = form.hWnd();
    SetTransparency(platform, alpha, hwnd);
    EXPECT_NEAR(Window(form).windowOpacity(), 128 / 255.0, 0.01);
    EXPECT_EQ(platform.GetWindowLongA(hwnd, kGwlExStyle) & kWsExLayered, kWsExLayered);

    form.Unload();
    form.Show();
    backend.Sync();
    EXPECT_NEAR(Window(form).windowOpacity(), 128 / 255.0, 0.01);

    alpha = 255;
    SetTransparency(platform, alpha, hwnd);
    EXPECT_DOUBLE_EQ(Window(form).windowOpacity(), 1.0);
}

TEST_F(WindowServicesOnQt, AnAlphaForAWindowThatIsNotLayeredIsRefused) {
    TestForm& form = MakeForm();
    EXPECT_EQ(platform.SetLayeredWindowAttributes(form.hWnd(), 0xFFFFFF, 10, kLwaAlpha), 0);
    EXPECT_DOUBLE_EQ(Window(form).windowOpacity(), 1.0);
}

TEST_F(WindowServicesOnQt, TheVirtualScreenIsTheBoundsOfAllScreens) {
    QRect all;
    for (QScreen* s : QGuiApplication::screens()) all |= s->geometry();
    EXPECT_EQ(platform.GetSystemMetrics(78), all.width());
    EXPECT_EQ(platform.GetSystemMetrics(79), all.height());
    EXPECT_GT(all.width(), 0);
}

TEST_F(WindowServicesOnQt, TheScreenSizeOfAPixelComesFromItsDensity) {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    EXPECT_DOUBLE_EQ(backend.screen().TwipsPerPixelX, 1440.0 / dpi);
    // Each monitor has its density beside it; the main one reads lengths as before.
    const auto screens = QGuiApplication::screens();
    ASSERT_EQ(backend.screen().MonitorDpi.size(), backend.screen().Monitors.size());
    ASSERT_EQ(backend.screen().MonitorDpi.size(), static_cast<std::size_t>(screens.size()));
    const auto main = screens.indexOf(QGuiApplication::primaryScreen());
    ASSERT_GE(main, 0);
    EXPECT_DOUBLE_EQ(backend.screen().MonitorDpi[static_cast<std::size_t>(main)], dpi);
}

}  // namespace
}  // namespace tavrolin::qt::test
