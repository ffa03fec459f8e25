// Runs the Qt tests in one QApplication on the offscreen platform (unless told otherwise),
// without the offscreen plugin's harmless complaints in the output.
#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <cstdlib>
#include <memory>

#include "qt/OffscreenSetup.h"

namespace {

QtMessageHandler previousHandler = nullptr;

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("This plugin does not support raise()")) ||
        message.contains(QLatin1String("propagateSizeHints()")) ||
        message.contains(QLatin1String("does not support setting window opacity"))) {
        return;
    }
    if (previousHandler != nullptr) previousHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    const auto runtimeDir = tavrolin::qt::PrepareOffscreenRun();
    previousHandler = qInstallMessageHandler(QuietHandler);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
