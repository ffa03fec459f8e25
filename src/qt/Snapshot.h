// A picture of the program's windows as they lie on the virtual desktop, for documentation
// and for checking a run without a screen grabber.
#pragma once

#include <QByteArray>
#include <QImage>

#include <string>

namespace tavrolin {
class Platform;
}

namespace tavrolin::qt {

class QtBackend;

// The virtual desktop's size; each visible window drawn at its place, bottom to top, over a
// neutral dark grey.
QImage ComposeSnapshot(const QtBackend& backend);
// The picture as PNG bytes; empty when it could not be encoded.
QByteArray EncodeSnapshot(const QtBackend& backend);
// Puts the picture at `path` as a new file: a link or a special file found there is replaced,
// never written through. False when the picture or the file could not be made.
bool WriteSnapshot(const QtBackend& backend, Platform& platform, const std::string& path);

}  // namespace tavrolin::qt
