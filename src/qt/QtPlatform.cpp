#include "qt/QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <QUrl>

#include "platform/WindowServices.h"
#include "qt/FormWindow.h"
#include "qt/QtBackend.h"

namespace tavrolin::qt {

namespace {
constexpr std::int32_t kHwndNoTopmost = -2;
constexpr std::int32_t kSmCxScreen = 0;
constexpr std::int32_t kSmCyScreen = 1;
constexpr std::int32_t kSmXVirtualScreen = 76;
constexpr std::int32_t kSmYVirtualScreen = 77;
constexpr std::int32_t kSmCxVirtualScreen = 78;
constexpr std::int32_t kSmCyVirtualScreen = 79;
}  // namespace

std::int32_t QtPlatform::SetWindowPos(std::int32_t hWnd, std::int32_t hWndInsertAfter,
                                      std::int32_t /*x*/, std::int32_t /*y*/,
                                      std::int32_t /*cx*/, std::int32_t /*cy*/,
                                      std::int32_t /*wFlags*/) {
    // Only the stacking band is ever asked for; the window keeps its place and size.
    if (hWndInsertAfter == kHwndTopmost) {
        backend_.SetTopmost(hWnd, true);
    } else if (hWndInsertAfter == kHwndNoTopmost) {
        backend_.SetTopmost(hWnd, false);
    }
    return backend_.FindForm(hWnd) != nullptr ? 1 : 0;
}

std::int32_t QtPlatform::GetSystemMetrics(std::int32_t nIndex) {
    const QRect desk = QtBackend::VirtualDesktop();
    QScreen* primary = QGuiApplication::primaryScreen();
    const QRect main = primary != nullptr ? primary->geometry() : desk;
    switch (nIndex) {
        case kSmCxScreen: return main.width();
        case kSmCyScreen: return main.height();
        case kSmXVirtualScreen: return desk.x();
        case kSmYVirtualScreen: return desk.y();
        case kSmCxVirtualScreen: return desk.width();
        case kSmCyVirtualScreen: return desk.height();
        default: return 0;
    }
}

std::int32_t QtPlatform::GetWindowLongA(std::int32_t hWnd, std::int32_t nIndex) {
    if (nIndex != kGwlExStyle) return 0;
    auto it = exStyle_.find(hWnd);
    return it == exStyle_.end() ? 0 : it->second;
}

std::int32_t QtPlatform::SetWindowLongA(std::int32_t hWnd, std::int32_t nIndex,
                                        std::int32_t dwNewLong) {
    if (nIndex != kGwlExStyle) return 0;
    const std::int32_t old = GetWindowLongA(hWnd, nIndex);
    exStyle_[hWnd] = dwNewLong;
    return old;
}

std::int32_t QtPlatform::SetLayeredWindowAttributes(std::int32_t hWnd, std::int32_t /*crKey*/,
                                                    std::uint8_t bAlpha, std::int32_t dwFlags) {
    // As on the system this mirrors: only a layered window takes an alpha.
    if ((GetWindowLongA(hWnd, kGwlExStyle) & kWsExLayered) == 0) return 0;
    if (dwFlags & kLwaAlpha) backend_.SetOpacity(hWnd, bAlpha / 255.0);
    return 1;
}

std::int32_t QtPlatform::ShellExecuteA(std::int32_t /*hWnd*/, const std::string& /*lpOperation*/,
                                       const std::string& lpFile,
                                       const std::string& /*lpParameters*/,
                                       const std::string& /*lpDirectory*/,
                                       std::int32_t /*nShowCmd*/) {
    const QString target = QString::fromStdString(lpFile);
    const QUrl asUrl(target, QUrl::StrictMode);
    // A scheme of one letter is a drive, not a protocol.
    const bool isUrl = asUrl.isValid() && asUrl.scheme().size() > 1;
    const QUrl url = isUrl ? asUrl : QUrl::fromLocalFile(QDir::fromNativeSeparators(target));
    return QDesktopServices::openUrl(url) ? kShellOpened : kShellFileNotFound;
}

void QtPlatform::Sleep(std::int32_t milliseconds) {
    backend_.Flush();
    if (milliseconds > 0) QThread::msleep(static_cast<unsigned long>(milliseconds));
}

bool QtPlatform::SetClipboardText(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return false;
    // Under X the program holds the clipboard's text while it runs and hands it out when asked.
    clipboard->setText(QString::fromStdString(text), QClipboard::Clipboard);
    return true;
}

char QtPlatform::DecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point == QStringLiteral(",") ? ',' : '.';
}

std::string QtPlatform::AskSavePath(const std::string& title, const std::string& suggested,
                                    const std::string& filterName, const std::string& extension) {
    const QString ext = QString::fromStdString(extension);
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromStdString(filterName) + QStringLiteral(" (*.") + ext +
                         QStringLiteral(")"));
    // A name typed without an extension gets it before the dialog looks for a file to replace.
    dialog.setDefaultSuffix(ext);
    const QFileInfo proposed(QDir::fromNativeSeparators(QString::fromStdString(suggested)));
    if (!suggested.empty()) {
        dialog.setDirectory(proposed.absolutePath());
        dialog.selectFile(proposed.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    QString path = dialog.selectedFiles().constFirst();
    if (path.isEmpty()) return {};
    if (!ext.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        // A desktop's own dialog may leave the extension off; the name with it was not checked.
        path += u'.' + ext;
        if (QFileInfo::exists(path) &&
            QMessageBox::question(dialog.parentWidget(), QString::fromStdString(title),
                                  QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                      .arg(QFileInfo(path).fileName())) != QMessageBox::Yes) {
            return {};
        }
    }
    return QDir::toNativeSeparators(path).toStdString();
}

Date QtPlatform::Today() { return Now().date; }

LocalTime QtPlatform::Now() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return LocalTime{Date{d.year(), d.month(), d.day()}, t.hour(), t.minute(), t.second()};
}

std::string QtPlatform::ProgramFolder() {
    QString dir = QCoreApplication::applicationDirPath();
    while (dir.size() > 1 && dir.endsWith(u'/')) dir.chop(1);
    return QDir::toNativeSeparators(dir).toStdString();
}

std::string QtPlatform::UserConfigFolder() {
    // As the XDG rules say: a relative XDG_CONFIG_HOME is ignored, and without a home folder
    // there is no user's folder at all (rather than one under the current or the root folder).
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    QString base;
    if (QDir::isAbsolutePath(config)) {
        base = config;
    } else {
        const QString home = qEnvironmentVariable("HOME");
        if (!QDir::isAbsolutePath(home)) return {};
        base = home + QStringLiteral("/.config");
    }
    base = QDir::cleanPath(base);
    return QDir::toNativeSeparators(base + QStringLiteral("/tavrolin")).toStdString();
}

}  // namespace tavrolin::qt
