// The --trace-startup flag: how long the program took from its exec to the first paint of a
// chosen window, printed on standard error once that paint has reached the display server.
#pragma once

#include <string>
#include <vector>

namespace tavrolin::qt {

// Takes "--trace-startup" out of the arguments, noting the time; call first thing in main.
bool TakeStartupTraceFlag(std::vector<std::string>& args);

// After the QApplication exists: watches for the first paint of the form named `formName`.
void TraceFirstPaint(const std::string& formName);

}  // namespace tavrolin::qt
