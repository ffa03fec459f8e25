// A picture of the program's windows as they lie on the virtual desktop, for documentation
// and for checking a run without a screen grabber.
#pragma once

#include <QImage>
#include <QString>

namespace tavrolin::qt {

class QtBackend;

// The virtual desktop's size; each visible window drawn at its place, bottom to top, over a
// neutral dark grey.
QImage ComposeSnapshot(const QtBackend& backend);
bool WriteSnapshot(const QtBackend& backend, const QString& path);

}  // namespace tavrolin::qt
