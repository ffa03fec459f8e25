// What the windows show (painted lines, the pointer) and the desktop-wide services: modal
// dialogs, text metrics, opening documents, the save dialog, the snapshot picture.
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <fstream>
#include <iterator>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "QtTestSupport.h"
#include "platform/WindowServices.h"
#include "qt/Snapshot.h"

namespace tavrolin::qt::test {
namespace {

constexpr Color kRed = 0x0000FF;
constexpr Color kBlue = 0xFF0000;
constexpr Color kWhite = 0xFFFFFF;

Line& AddLine(Form& form, const std::string& name, double x1, double y1, double x2, double y2,
              Color color, int width) {
    Line& line = form.AddLine(name);
    line.SetX1(x1);
    line.SetY1(y1);
    line.SetX2(x2);
    line.SetY2(y2);
    line.SetBorderColor(color);
    line.SetBorderWidth(width);
    return line;
}

using LinePainting = QtTest;

TEST_F(LinePainting, LinesArePaintedInTheirColourAndPixelWidth) {
    TestForm& form = MakeForm(0, 0, 1500, 1500);  // 100 x 100 px
    form.SetBackColor(kWhite);
    AddLine(form, "Tick", 300, 150, 300, 900, kRed, 3);    // x = 20 px, y 10..60
    AddLine(form, "Base", 150, 1200, 1200, 1200, kBlue, 1);  // y = 80 px
    backend.Sync();
    const QImage shot = Window(form).grab().toImage();
    for (int x : {19, 20, 21}) EXPECT_EQ(shot.pixelColor(x, 30), QColor(Qt::red)) << x;
    EXPECT_EQ(shot.pixelColor(18, 30), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(22, 30), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(20, 10), QColor(Qt::red)) << "the end point is covered";
    EXPECT_EQ(shot.pixelColor(20, 63), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(50, 80), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(50, 79), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(50, 81), QColor(Qt::white));
}

TEST_F(LinePainting, AMovedOrHiddenLineLeavesNothingBehind) {
    TestForm& form = MakeForm(0, 0, 1500, 1500);
    form.SetBackColor(kWhite);
    Line& tick = AddLine(form, "Marker", 300, 0, 300, 1500, kRed, 1);
    Line& other = AddLine(form, "Other", 900, 0, 900, 1500, kBlue, 1);
    backend.Sync();
    tick.SetX1(600);
    tick.SetX2(600);
    other.SetVisible(false);
    backend.DoEvents();
    const QImage shot = Window(form).grab().toImage();
    EXPECT_EQ(shot.pixelColor(20, 50), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(40, 50), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(60, 50), QColor(Qt::white));
}

TEST_F(LinePainting, LinesOutsideTheWindowAreClipped) {
    TestForm& form = MakeForm(0, 0, 1500, 1500);
    form.SetBackColor(kWhite);
    AddLine(form, "Long", -3000, 750, 30000, 750, kRed, 1);
    backend.Sync();
    const QImage shot = Window(form).grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 50), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(99, 50), QColor(Qt::red));
}

TEST_F(LinePainting, WhatChangedBeyondTheScreenIsPaintedWhenTheWindowBringsItOn) {
    // A ruler reaching 300 px past the right edge of the desktop.
    const QRect desk = QtBackend::VirtualDesktop();
    const double left = (desk.right() + 1 - 100) * 15.0;
    TestForm& form = MakeForm(left, 0, 6000, 1500);
    form.SetBackColor(kWhite);
    Line& tick = AddLine(form, "Tick", 4500, 0, 4500, 1500, kRed, 1);  // 300 px in: beyond
    backend.DoEvents();
    Settle();
    tick.SetX1(3750);  // 250 px in: still beyond
    tick.SetX2(3750);
    backend.DoEvents();
    form.Move(desk.left() * 15.0, 0);
    backend.DoEvents();
    Settle();
    // What the window shows is its backing store, not a fresh rendering.
    const QImage shown = QGuiApplication::primaryScreen()->grabWindow(Window(form).winId()).toImage();
    ASSERT_GE(shown.width(), 400);
    EXPECT_EQ(shown.pixelColor(250, 50), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(300, 50), QColor(Qt::white));
}

TEST_F(LinePainting, APictureIsPaintedPixelForPixelAtItsCornerAndItsBackColourBeyond) {
    TestForm& form = MakeForm(0, 0, 1500, 1500);
    form.SetBackColor(kWhite);
    auto& picture = form.Add<Picture>("Picture");
    picture.Move(150, 300, 300, 150);  // 10, 20 px; 20 x 10 px
    picture.SetBackColor(0x00FFFF);    // yellow
    // Red, green, blue above; blue, black, green below (0xRRGGBB).
    picture.SetPicture(3, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x0000FF, 0x000000, 0x00FF00});
    backend.Sync();
    QImage shot = Window(form).grab().toImage();
    EXPECT_EQ(shot.pixelColor(10, 20), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(11, 20), QColor(Qt::green));
    EXPECT_EQ(shot.pixelColor(12, 20), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(10, 21), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(11, 21), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(12, 21), QColor(Qt::green));
    EXPECT_EQ(shot.pixelColor(13, 20), QColor(Qt::yellow));
    EXPECT_EQ(shot.pixelColor(10, 22), QColor(Qt::yellow));
    EXPECT_EQ(shot.pixelColor(29, 29), QColor(Qt::yellow));
    EXPECT_EQ(shot.pixelColor(30, 20), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(9, 20), QColor(Qt::white));

    // A new picture replaces the old; one larger than the control is clipped to it.
    std::vector<std::uint32_t> wide(40 * 2, 0x0000FF);
    picture.SetPicture(40, 2, wide);
    backend.DoEvents();
    shot = Window(form).grab().toImage();
    EXPECT_EQ(shot.pixelColor(10, 20), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(29, 21), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(30, 21), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(10, 22), QColor(Qt::yellow));
}

using ScreenPointer = QtTest;

TEST_F(ScreenPointer, TheOverridePointerFollowsTheScreensMousePointer) {
    MakeForm();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    backend.SetMousePointer(kPointerSizeWE);
    backend.Sync();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::SizeHorCursor);
    backend.SetMousePointer(kPointerSizeAll);
    backend.Sync();
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::SizeAllCursor);
    backend.SetMousePointer(kPointerSizeNS);
    backend.Sync();
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::SizeVerCursor);
    backend.SetMousePointer(kPointerDefault);
    backend.Sync();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

using ModalDialogs = QtTest;

TEST_F(ModalDialogs, RunModalReturnsWhenTheDialogHidesAndCentresAnUnplacedDialog) {
    TestForm dialog(backend, "PickColor");
    dialog.SetBorder(BorderStyle::Fixed);
    dialog.Move(0, 0, 3000, 1500);
    bool wasModal = false;
    QTimer::singleShot(20, [&] {
        FormWindow* w = backend.WindowOf(dialog);
        wasModal = w != nullptr && w->isVisible() && w->isModal();
        backend.Deliver([&] { dialog.Hide(); });
    });
    dialog.ShowModal();
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(Window(dialog).isVisible());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint centred = screen.center() - QPoint(100, 50);
    EXPECT_NEAR(Window(dialog).pos().x(), centred.x(), 1);
    EXPECT_NEAR(Window(dialog).pos().y(), centred.y(), 1);
    EXPECT_NEAR(dialog.Left(), centred.x() * 15.0, 15);
    dialog.Unload();
}

TEST_F(ModalDialogs, RunModalReturnsWhenTheDialogUnloads) {
    TestForm dialog(backend, "PickColor");
    dialog.Move(1500, 1500, 3000, 1500);
    QTimer::singleShot(20, [&] { backend.Deliver([&] { dialog.Unload(); }); });
    dialog.ShowModal();
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_EQ(backend.WindowOf(dialog), nullptr);
}

using TextMetrics = QtTest;

TEST_F(TextMetrics, TextExtentIsTheWidestLineAndAllLinesInTwips) {
    TestForm& form = MakeForm();
    const QFontMetricsF fm(Window(form).font());
    EXPECT_DOUBLE_EQ(form.TextWidth("12.50 mm"), fm.horizontalAdvance("12.50 mm") * 15);
    EXPECT_DOUBLE_EQ(form.TextWidth("ab\r\nlonger line\r\nc"),
                     fm.horizontalAdvance("longer line") * 15);
    EXPECT_DOUBLE_EQ(form.TextHeight("a\r\nb"), 2 * form.TextHeight("a"));
    EXPECT_GT(form.TextHeight("a"), 0);
}

using OpeningDocuments = QtTest;

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

TEST_F(OpeningDocuments, AWebAddressAndALocalPathGoToTheDesktopsHandler) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "Open");
    QDesktopServices::setUrlHandler("file", &catcher, "Open");
    EXPECT_EQ(OpenDocument(platform, "https://example.org/ruler"), QtPlatform::kShellOpened);
    EXPECT_EQ(OpenDocument(platform, "/tmp/manual.pdf"), QtPlatform::kShellOpened);
    QDesktopServices::unsetUrlHandler("https");
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(catcher.urls.size(), 2u);
    EXPECT_EQ(catcher.urls[0], QUrl("https://example.org/ruler"));
    EXPECT_EQ(catcher.urls[1], QUrl::fromLocalFile("/tmp/manual.pdf"));
}

using SavingFiles = QtTest;

// Does `act` to the modal window of kind T once it is up (a dialog's own event loop runs).
// Types a file's name into a save dialog's name box, as the user does.
void TypeFileName(QFileDialog& dialog, const QString& name) {
    auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
}

template <class T>
void OnModal(std::function<void(T&)> act, int tries = 300) {
    QTimer::singleShot(10, [act, tries] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            act(*w);
        } else if (tries > 0) {
            OnModal<T>(act, tries - 1);
        } else if (QWidget* other = QApplication::activeModalWidget()) {
            other->close();  // not the one awaited: the test fails rather than hangs
        }
    });
}

TEST_F(SavingFiles, ANameTypedWithoutExtensionGetsItBeforeAnExistingFileIsReplacedUnasked) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = dir.path().toStdString();
    QString filter;
    OnModal<QFileDialog>([&](QFileDialog& dialog) {
        filter = dialog.selectedNameFilter();
        TypeFileName(dialog, "rows");
        static_cast<QDialog&>(dialog).accept();  // the Save button
    });
    EXPECT_EQ(platform.AskSavePath("Save Measurements", folder + "/measurements.csv",
                                   "CSV files", "csv"),
              folder + "/rows.csv");
    EXPECT_EQ(filter, "CSV files (*.csv)");

    {
        QFile existing(dir.filePath("old.csv"));
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    }
    bool asked = false;
    OnModal<QFileDialog>([&](QFileDialog& dialog) {
        OnModal<QMessageBox>([&](QMessageBox& box) {
            asked = true;
            box.button(QMessageBox::No)->click();
            OnModal<QFileDialog>([](QFileDialog& d) { d.reject(); });
        });
        TypeFileName(dialog, "old");
        static_cast<QDialog&>(dialog).accept();  // the Save button
    });
    EXPECT_EQ(platform.AskSavePath("Save Measurements", folder + "/measurements.csv",
                                   "CSV files", "csv"),
              "");
    EXPECT_TRUE(asked) << "old.csv is there: the dialog asks before replacing it";
}

using Snapshots = QtTest;

TEST_F(Snapshots, ThePictureHasTheVirtualDesktopsSizeAndEachWindowAtItsPlace) {
    TestForm& below = MakeForm(1500, 1500, 3000, 1500);  // (100, 100) 200 x 100
    below.SetBackColor(kBlue);
    TestForm& above = MakeForm(3000, 2250, 1500, 1500);  // (200, 150) 100 x 100, overlapping
    above.SetBackColor(kRed);
    MakeTopmost(platform, above);
    backend.Sync();
    // Made later but ordinary: it must still lie below the topmost one.
    TestForm& late = MakeForm(3000, 2250, 750, 750);
    late.SetBackColor(kWhite);
    backend.Sync();

    QTemporaryDir dir;
    const QString path = dir.filePath("shot.png");
    ASSERT_TRUE(WriteSnapshot(backend, platform, path.toStdString()));
    const QImage shot(path);
    EXPECT_EQ(shot.size(), QtBackend::VirtualDesktop().size());
    const QPoint origin = QtBackend::VirtualDesktop().topLeft();
    EXPECT_EQ(shot.pixelColor(QPoint(120, 120) - origin), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(QPoint(210, 160) - origin), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(QPoint(50, 50) - origin), QColor(0x40, 0x40, 0x40));

    // A link planted at the name (by another user, in a shared folder) is replaced by the
    // picture, its target left as it was; a FIFO there is replaced without being opened.
    const std::string victim = dir.filePath("victim").toStdString();
    const std::string planted = dir.filePath("planted.png").toStdString();
    const std::string fifo = dir.filePath("fifo.png").toStdString();
    {
        std::ofstream(victim, std::ios::binary) << "owner's data\n";
    }
    ASSERT_EQ(::symlink(victim.c_str(), planted.c_str()), 0);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& name : {planted, fifo}) {
        ASSERT_TRUE(WriteSnapshot(backend, platform, name)) << name;
        struct stat facts {};
        ASSERT_EQ(::lstat(name.c_str(), &facts), 0);
        EXPECT_TRUE(S_ISREG(facts.st_mode)) << name;
        EXPECT_EQ(QImage(QString::fromStdString(name)).size(), shot.size()) << name;
    }
    std::ifstream kept(victim, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "owner's data\n");
}

using ScreenReading = QtTest;

// An X display outside a Wayland session: the one place the screen can be read.
bool XDisplayToRead() {
    return QGuiApplication::platformName() == QLatin1String("xcb") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qgetenv("XDG_SESSION_TYPE") != "wayland";
}

TEST_F(ScreenReading, WhereTheScreenCannotBeReadTheReasonComesInsteadOfPixels) {
    if (XDisplayToRead()) GTEST_SKIP() << "an X display can be read";
    TestForm& form = MakeForm(1500, 1500, 3000, 1500);
    form.SetBackColor(kRed);
    backend.Sync();
    const ScreenPixels pixels = backend.ReadScreen(90, 95, 20, 22);
    EXPECT_FALSE(pixels.Read());
    EXPECT_TRUE(pixels.rgb.empty());
    EXPECT_EQ(pixels.left, 90);
    EXPECT_EQ(pixels.top, 95);
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        EXPECT_EQ(pixels.problem, "The screen cannot be read on the offscreen display.");
    } else if (QGuiApplication::platformName() == QLatin1String("xcb") ||
               QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        EXPECT_EQ(pixels.problem, "The screen cannot be read in a Wayland session.");
    }
    EXPECT_NE(pixels.problem, "");
    EXPECT_EQ(pixels.problem.find('\n'), std::string::npos) << "one line";
}

// Run by hand on an X server without a window manager (QT_QPA_PLATFORM=xcb DISPLAY=:n); with
// two monitors side by side, the read also crosses the seam between them.
TEST_F(ScreenReading, OnX11TheScreenIsReadMonitorByMonitorWithZeroBeyondThemAll) {
    if (!XDisplayToRead()) GTEST_SKIP() << "only an X display outside Wayland can be read";
    const QRect primary = QGuiApplication::primaryScreen()->geometry();
    const PixelScale s = backend.Scale();
    auto formAt = [&](int x, int y, int w, int h, Color color) -> TestForm& {
        TestForm& form = MakeForm(s.ToTwipsX(x), s.ToTwipsY(y), s.ToTwipsX(w), s.ToTwipsY(h));
        form.SetBackColor(color);
        return form;
    };
    formAt(50, 50, 300, 200, kBlue);
    formAt(100, 100, 100, 50, kRed);
    // At the right and left edges of the desktop.
    const QRect desktop = QtBackend::VirtualDesktop();
    formAt(desktop.right() - 49, 300, 50, 50, kWhite);
    formAt(desktop.left(), 400, 40, 40, kRed);
    // Across the seam to a monitor right beside the primary one, when there is one.
    bool seam = false;
    for (QScreen* monitor : QGuiApplication::screens()) {
        seam = seam || monitor->geometry().contains(primary.right() + 1, 505);
    }
    if (seam) formAt(primary.right() - 19, 500, 40, 20, kRed);
    backend.Flush();
    for (FormWindow* w : backend.WindowsInStackingOrder()) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    }
    backend.Flush();
    QTest::qWait(100);

    // The red form's corner over the blue one, in the program's own windows' colours.
    const ScreenPixels corner = backend.ReadScreen(95, 95, 20, 22);
    ASSERT_TRUE(corner.Read()) << corner.problem;
    ASSERT_EQ(corner.rgb.size(), 20u * 22u);
    EXPECT_EQ(corner.At(100, 100), 0xFF0000u);
    EXPECT_EQ(corner.At(114, 116), 0xFF0000u);
    EXPECT_EQ(corner.At(99, 100), 0x0000FFu);
    EXPECT_EQ(corner.At(100, 99), 0x0000FFu);
    EXPECT_EQ(corner.At(95, 95), 0x0000FFu);

    // Beyond the right edge of the desktop: 0.
    const ScreenPixels right = backend.ReadScreen(desktop.right() - 9, 310, 20, 3);
    ASSERT_TRUE(right.Read()) << right.problem;
    EXPECT_EQ(right.At(desktop.right(), 311), 0xFFFFFFu);
    EXPECT_EQ(right.At(desktop.right() - 9, 312), 0xFFFFFFu);
    EXPECT_EQ(right.At(desktop.right() + 1, 311), 0u);
    EXPECT_EQ(right.At(desktop.right() + 10, 312), 0u);
    // Beyond the left and top edges: 0.
    const ScreenPixels left = backend.ReadScreen(desktop.left() - 5, 410, 10, 2);
    ASSERT_TRUE(left.Read()) << left.problem;
    EXPECT_EQ(left.At(desktop.left() - 1, 410), 0u);
    EXPECT_EQ(left.At(desktop.left() - 5, 411), 0u);
    EXPECT_EQ(left.At(desktop.left(), 410), 0xFF0000u);
    EXPECT_EQ(left.At(desktop.left() + 4, 411), 0xFF0000u);
    const ScreenPixels above = backend.ReadScreen(100, desktop.top() - 3, 4, 6);
    ASSERT_TRUE(above.Read()) << above.problem;
    EXPECT_EQ(above.At(101, desktop.top() - 1), 0u);

    if (seam) {
        const ScreenPixels across = backend.ReadScreen(primary.right() - 29, 505, 60, 4);
        ASSERT_TRUE(across.Read()) << across.problem;
        for (int x = primary.right() - 19; x <= primary.right() + 20; ++x) {
            EXPECT_EQ(across.At(x, 506), 0xFF0000u) << x;
        }
        EXPECT_NE(across.At(primary.right() - 20, 506), 0xFF0000u);
        EXPECT_NE(across.At(primary.right() + 21, 506), 0xFF0000u);
    }
}

TEST_F(ScreenReading, AShapedWindowIsOnlyItsPartsAndTheScreenBeneathShowsThroughTheRest) {
    const PixelScale s = backend.Scale();
    auto px = [&](int x, int y, int w, int h) {
        return ScreenRect{s.ToTwipsX(x), s.ToTwipsY(y), s.ToTwipsX(w), s.ToTwipsY(h)};
    };
    TestForm& below = MakeForm(s.ToTwipsX(80), s.ToTwipsY(80), s.ToTwipsX(80), s.ToTwipsY(80));
    below.SetBackColor(kBlue);
    // Four corner brackets of a 25-pixel crosshair around an open centre.
    TestForm& shaped =
        MakeForm(s.ToTwipsX(100), s.ToTwipsY(100), s.ToTwipsX(25), s.ToTwipsY(25));
    shaped.SetBackColor(kRed);
    shaped.SetShape({px(0, 0, 8, 2), px(0, 0, 2, 8), px(17, 23, 8, 2), px(23, 17, 2, 8)});
    backend.Sync();
    QRegion want;
    for (const QRect& r : {QRect(0, 0, 8, 2), QRect(0, 0, 2, 8), QRect(17, 23, 8, 2),
                           QRect(23, 17, 2, 8)}) {
        want += r;
    }
    EXPECT_EQ(Window(shaped).mask(), want);
    // A re-created window (a new border) keeps its shape.
    shaped.SetBorder(BorderStyle::ToolWindow);
    backend.Sync();
    shaped.SetBorder(BorderStyle::None);
    backend.Sync();
    EXPECT_EQ(Window(shaped).mask(), want);

    if (XDisplayToRead()) {
        backend.Flush();
        for (FormWindow* w : backend.WindowsInStackingOrder()) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        }
        backend.Flush();
        QTest::qWait(100);
        const ScreenPixels read = backend.ReadScreen(100, 100, 25, 25);
        ASSERT_TRUE(read.Read()) << read.problem;
        EXPECT_EQ(read.At(100, 100), 0xFF0000u) << "a red bracket";
        EXPECT_EQ(read.At(124, 124), 0xFF0000u) << "a red bracket";
        EXPECT_EQ(read.At(112, 112), 0x0000FFu) << "the centre shows the blue window beneath";
        EXPECT_EQ(read.At(112, 100), 0x0000FFu) << "the column through the centre";
        EXPECT_EQ(read.At(124, 100), 0x0000FFu) << "beyond the brackets";
    }

    shaped.SetShape({});
    backend.Sync();
    EXPECT_TRUE(Window(shaped).mask().isEmpty()) << "no parts: the whole window";
}

}  // namespace
}  // namespace tavrolin::qt::test

#include "PaintAndDesktopTest.moc"
