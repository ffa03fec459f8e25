// The --trace-startup flag: how long the program took from its exec to the first paint of a
// chosen window, printed on standard error once that paint has reached the display server.
#pragma once

#include <string>

namespace tavrolin::qt {

// Notes the time main was entered; call first thing in main.
void NoteMainReached();

// For --trace-startup, after the QApplication exists: watches for the first paint of the form
// named `formName`.
void TraceFirstPaint(const std::string& formName);

}  // namespace tavrolin::qt
