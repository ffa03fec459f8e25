#include "qt/QtBackend.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "forms/Form.h"
#include "qt/FormWindow.h"

namespace tavrolin::qt {

namespace {

Qt::CursorShape CursorFor(int pointer) {
    switch (pointer) {
        case kPointerCross: return Qt::CrossCursor;
        case kPointerIBeam: return Qt::IBeamCursor;
        case kPointerSizeAll:
        case kPointerSizePointer: return Qt::SizeAllCursor;
        case kPointerSizeNESW: return Qt::SizeBDiagCursor;
        case kPointerSizeNS: return Qt::SizeVerCursor;
        case kPointerSizeNWSE: return Qt::SizeFDiagCursor;
        case kPointerSizeWE: return Qt::SizeHorCursor;
        case kPointerUpArrow: return Qt::UpArrowCursor;
        case kPointerHourglass: return Qt::WaitCursor;
        case kPointerNoDrop: return Qt::ForbiddenCursor;
        case kPointerArrowHourglass: return Qt::BusyCursor;
        case kPointerArrowQuestion: return Qt::WhatsThisCursor;
        case kPointerHand: return Qt::PointingHandCursor;
        default: return Qt::ArrowCursor;
    }
}

QStringList LinesOf(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.remove(u'\r');
    return s.split(u'\n');
}

}  // namespace

QtBackend::QtBackend() {
    QApplication::setQuitOnLastWindowClosed(false);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const double dpiX = screen->logicalDotsPerInchX();
        const double dpiY = screen->logicalDotsPerInchY();
        if (dpiX > 0) this->screen().TwipsPerPixelX = 1440.0 / dpiX;
        if (dpiY > 0) this->screen().TwipsPerPixelY = 1440.0 / dpiY;
    }
    const PixelScale s = Scale();
    for (QScreen* monitor : QGuiApplication::screens()) {
        const QRect r = monitor->geometry();
        screen().Monitors.push_back({s.ToTwipsX(r.x()), s.ToTwipsY(r.y()), s.ToTwipsX(r.width()),
                                     s.ToTwipsY(r.height())});
        screen().MonitorDpi.push_back(DensityOf(*monitor));
    }
    // Whatever the model changed outside an input event (start-up, a timer-less wait) is shown
    // before the event loop goes to sleep.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &context_, [this] {
            if (!Syncing()) Sync();
        });
    }
}

QtBackend::~QtBackend() {
    if (appliedPointer_ != kPointerDefault) QApplication::restoreOverrideCursor();
    for (auto& [form, window] : windows_) delete window;
}

double QtBackend::DensityOf(const QScreen& monitor) {
    // X11 tells one logical density for all its monitors; what differs between them is their
    // size in millimetres. The main monitor keeps its logical density, and another is read
    // with that in the ratio of their physical densities.
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary != nullptr) {
        const double physical = monitor.physicalDotsPerInchX();
        const double primaryPhysical = primary->physicalDotsPerInchX();
        if (physical > 0 && primaryPhysical > 0) {
            return primary->logicalDotsPerInchX() * physical / primaryPhysical;
        }
    }
    return monitor.logicalDotsPerInchX();
}

PixelScale QtBackend::Scale() const {
    return PixelScale(screen().TwipsPerPixelX, screen().TwipsPerPixelY);
}

FormWindow* QtBackend::WindowOf(const Form& form) const {
    auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second;
}

FormWindow* QtBackend::WindowOf(std::int32_t hWnd) const {
    Form* form = FindForm(hWnd);
    return form != nullptr ? WindowOf(*form) : nullptr;
}

void QtBackend::WindowCreated(Form& form) {
    if (WindowOf(form) != nullptr) return;
    auto* window = new FormWindow(*this, form);
    windows_[&form] = window;
    auto it = attributes_.find(form.hWnd());
    if (it != attributes_.end()) window->setWindowOpacity(it->second.opacity);
}

void QtBackend::WindowDestroyed(Form& form) {
    auto it = windows_.find(&form);
    if (it == windows_.end()) return;
    FormWindow* window = it->second;
    windows_.erase(it);
    window->Detach();
    for (ModalLoop& m : modalLoops_) {
        if (m.form == &form) {
            m.form = nullptr;
            m.loop->quit();
        }
    }
}

void QtBackend::Sync() {
    SyncForms(
        [this](Form& form) {
            FormWindow* window = WindowOf(form);
            if (window != nullptr && (form.DirtyFlags() != 0 || window->HasPendingFocus())) {
                window->ShowModel();
            }
        },
        [this] {
            ApplyPointer();
            EndFinishedModalLoops();
        });
}

void QtBackend::ApplyPointer() {
    const int want = screen().MousePointer;
    if (want == appliedPointer_) return;
    if (want == kPointerDefault) {
        QApplication::restoreOverrideCursor();
    } else if (appliedPointer_ == kPointerDefault) {
        QApplication::setOverrideCursor(QCursor(CursorFor(want)));
    } else {
        QApplication::changeOverrideCursor(QCursor(CursorFor(want)));
    }
    appliedPointer_ = want;
}

void QtBackend::EndFinishedModalLoops() {
    for (ModalLoop& m : modalLoops_) {
        if (m.form == nullptr || !m.form->Loaded() || !m.form->Visible()) m.loop->quit();
    }
}

void QtBackend::Flush() {
    Sync();
    for (auto& [form, window] : windows_) window->PaintPending();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    // A round trip: the server has drawn what was sent before the program sleeps.
    QGuiApplication::sync();
}

void QtBackend::DoEvents() {
    Sync();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    Flush();
}

void QtBackend::PlaceDialog(Form& form, FormWindow& window) {
    // Without a window manager nothing places a dialog; with one, it might put it anywhere.
    if (DialogHasPlace(form)) return;
    const PixelScale s = Scale();
    std::vector<ScreenRect> areas;
    for (QScreen* monitor : QGuiApplication::screens()) {
        const QRect r = monitor->availableGeometry();
        areas.push_back({static_cast<double>(r.x()), static_cast<double>(r.y()),
                         static_cast<double>(r.width()), static_cast<double>(r.height())});
    }
    // Over the captioned window it was asked from; a borderless one (the ruler, a crosshair)
    // only tells the monitor, through the pointer that double-clicked it.
    ScreenRect over{};
    bool captioned = false;
    if (auto* owner = dynamic_cast<FormWindow*>(QApplication::activeWindow())) {
        if (owner != &window && owner->form() != nullptr &&
            owner->form()->Border() != BorderStyle::None) {
            const QRect r = owner->frameGeometry();
            over = {static_cast<double>(r.x()), static_cast<double>(r.y()),
                    static_cast<double>(r.width()), static_cast<double>(r.height())};
            captioned = true;
        }
    }
    const QPoint pointer = QCursor::pos();
    PlaceDialogAt(form, s.ToPixelsX(form.Width()), s.ToPixelsY(form.Height()),
                  captioned ? &over : nullptr, pointer.x(), pointer.y(), areas);
}

void QtBackend::RunModal(Form& form) {
    FormWindow* window = WindowOf(form);
    if (window == nullptr || !form.Loaded() || !form.Visible()) return;
    // Modality takes effect when a window is shown.
    if (window->isVisible()) window->hide();
    window->setWindowModality(Qt::ApplicationModal);
    form.MarkDirty(kDirtyVisibility);
    PlaceDialog(form, *window);
    Sync();
    QEventLoop loop;
    modalLoops_.push_back({&form, &loop});
    if (form.Loaded() && form.Visible() && !quitRequested_) loop.exec();
    modalLoops_.erase(std::find_if(modalLoops_.begin(), modalLoops_.end(),
                                   [&loop](const ModalLoop& m) { return m.loop == &loop; }));
    if (FormWindow* still = WindowOf(form)) {
        if (!still->isVisible()) still->setWindowModality(Qt::NonModal);
    }
}

void QtBackend::SetFocus(Form& form, Control* control) {
    if (ReportingFocus()) return;
    if (FormWindow* window = WindowOf(form)) window->RequestFocus(control);
}

double QtBackend::TextWidth(const Form& form, const std::string& text) const {
    const FormWindow* window = WindowOf(form);
    const QFontMetricsF metrics(window != nullptr ? window->font() : QApplication::font());
    double widest = 0;
    for (const QString& line : LinesOf(text)) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return Scale().ToTwipsX(widest);
}

double QtBackend::TextHeight(const Form& form, const std::string& text) const {
    const FormWindow* window = WindowOf(form);
    const QFontMetricsF metrics(window != nullptr ? window->font() : QApplication::font());
    return Scale().ToTwipsY(metrics.height() * static_cast<double>(LinesOf(text).size()));
}

void QtBackend::Quit() {
    quitRequested_ = true;
    for (ModalLoop& m : modalLoops_) m.loop->quit();
    QCoreApplication::exit(0);
}

std::vector<FormWindow*> QtBackend::WindowsInStackingOrder() const {
    std::vector<FormWindow*> windows;
    for (Form* form : StackingOrder()) {
        FormWindow* window = WindowOf(*form);
        if (window == nullptr || !window->isVisible() || window->isMinimized()) continue;
        windows.push_back(window);
    }
    return windows;
}

QRect QtBackend::VirtualDesktop() {
    QRect all;
    for (QScreen* screen : QGuiApplication::screens()) all = all.united(screen->geometry());
    return all;
}

ScreenPixels QtBackend::ReadScreen(int left, int top, int width, int height) {
    ScreenPixels pixels(left, top, width, height);
    const QString platform = QGuiApplication::platformName();
    // In a Wayland session the program may run on XWayland, whose root window holds only the
    // X programs' windows: the screen the user sees is not there either.
    const bool waylandSession =
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
    if (platform.startsWith(QLatin1String("wayland")) ||
        (platform == QLatin1String("xcb") && waylandSession)) {
        pixels.problem = "The screen cannot be read in a Wayland session.";
        return pixels;
    }
    if (platform != QLatin1String("xcb")) {
        pixels.problem = "The screen cannot be read on the " + platform.toStdString() + " display.";
        return pixels;
    }
    if (pixels.width == 0 || pixels.height == 0) return pixels;
    pixels.rgb.assign(
        static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(pixels.height), 0);
    // High-DPI scaling is off in this program, so a screen's geometry and the grab are in the
    // display's own pixels. Each monitor gives its part of the rectangle; whatever lies beyond
    // every monitor keeps 0. Monitors split from one X screen share its root window: each reads
    // only its own part of it.
    const QRect wanted(left, top, pixels.width, pixels.height);
    for (QScreen* monitor : QGuiApplication::screens()) {
        const QRect geometry = monitor->geometry();
        const QRect part = wanted.intersected(geometry);
        if (part.isEmpty()) continue;
        // The root window's pixels, offset from the monitor's top left corner.
        const QImage image = monitor
                                 ->grabWindow(0, part.x() - geometry.x(), part.y() - geometry.y(),
                                              part.width(), part.height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        if (image.width() < part.width() || image.height() < part.height()) {
            pixels.rgb.clear();
            pixels.problem = "The X server did not give the screen's pixels.";
            return pixels;
        }
        for (int y = 0; y < part.height(); ++y) {
            const auto* from = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            std::uint32_t* to = &pixels.rgb[static_cast<std::size_t>(part.y() - top + y) *
                                                static_cast<std::size_t>(pixels.width) +
                                            static_cast<std::size_t>(part.x() - left)];
            for (int x = 0; x < part.width(); ++x) to[x] = from[x] & 0xFFFFFFu;
        }
    }
    return pixels;
}

void QtBackend::ArmTimer(int id, int milliseconds) {
    auto* timer = new QTimer(&context_);
    // A loupe refreshed during a drag needs its period, not the coarse timers' 5 % slack.
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(milliseconds);
    QObject::connect(timer, &QTimer::timeout, &context_, [this, id] { TimerFired(id); });
    timers_[id] = timer;
    timer->start();
}

void QtBackend::DisarmTimer(int id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    // The tick may be stopping its own timer from inside its timeout.
    it->second->stop();
    it->second->deleteLater();
    timers_.erase(it);
}

void QtBackend::NoteActiveWindow(FormWindow* window) { lastActive_ = window; }

void QtBackend::ReactivateLastWindow() {
    FormWindow* window = lastActive_.data();
    if (window == nullptr || window->form() == nullptr || !window->isVisible()) return;
    if (QApplication::activeWindow() == window) return;
    window->activateWindow();
}

void QtBackend::SetTopmost(std::int32_t hWnd, bool topmost) {
    MarkTopmost(hWnd, topmost);
    if (FormWindow* window = WindowOf(hWnd)) window->ApplyWindowFlags();
}

void QtBackend::SetOpacity(std::int32_t hWnd, double opacity) {
    attributes_[hWnd].opacity = std::clamp(opacity, 0.0, 1.0);
    if (FormWindow* window = WindowOf(hWnd)) window->setWindowOpacity(attributes_[hWnd].opacity);
}

}  // namespace tavrolin::qt
