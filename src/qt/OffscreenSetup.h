// The environment for running the Qt backend without a display (tests, benchmarks): Qt's
// offscreen platform unless another one is asked for, no high-DPI scaling, and a private
// runtime folder where the session provides none.
#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>
#include <memory>

namespace tavrolin::qt {

// Call before the application object exists; keep the result alive as long as it does.
inline std::unique_ptr<QTemporaryDir> PrepareOffscreenRun() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    std::unique_ptr<QTemporaryDir> runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtimeDir = std::make_unique<QTemporaryDir>();
        QFile::setPermissions(runtimeDir->path(), QFileDevice::ReadOwner |
                                                      QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir->path()));
    }
    return runtimeDir;
}

}  // namespace tavrolin::qt
