#include "platform/RecordingPlatform.h"

#include <string>

namespace tavrolin {

namespace {
std::string Args(std::initializer_list<std::string> items) {
    std::string out = "(";
    bool first = true;
    for (const auto& s : items) {
        if (!first) out += ", ";
        out += s;
        first = false;
    }
    return out + ")";
}
std::string S(std::int64_t v) { return std::to_string(v); }
}  // namespace

std::int32_t RecordingPlatform::SetWindowPos(std::int32_t hWnd, std::int32_t hWndInsertAfter,
                                             std::int32_t x, std::int32_t y, std::int32_t cx,
                                             std::int32_t cy, std::int32_t wFlags) {
    calls.push_back("SetWindowPos" +
                    Args({S(hWnd), S(hWndInsertAfter), S(x), S(y), S(cx), S(cy), S(wFlags)}));
    if (hWndInsertAfter == -1) topmost.insert(hWnd);
    return 1;
}

std::int32_t RecordingPlatform::GetSystemMetrics(std::int32_t nIndex) {
    calls.push_back("GetSystemMetrics" + Args({S(nIndex)}));
    if (nIndex == 78) return virtualScreenWidthPx;
    if (nIndex == 79) return virtualScreenHeightPx;
    return 0;
}

std::int32_t RecordingPlatform::GetWindowLongA(std::int32_t hWnd, std::int32_t nIndex) {
    calls.push_back("GetWindowLongA" + Args({S(hWnd), S(nIndex)}));
    return nIndex == -20 ? exStyle[hWnd] : 0;
}

std::int32_t RecordingPlatform::SetWindowLongA(std::int32_t hWnd, std::int32_t nIndex,
                                               std::int32_t dwNewLong) {
    calls.push_back("SetWindowLongA" + Args({S(hWnd), S(nIndex), S(dwNewLong)}));
    if (nIndex != -20) return 0;
    const std::int32_t old = exStyle[hWnd];
    exStyle[hWnd] = dwNewLong;
    return old;
}

std::int32_t RecordingPlatform::SetLayeredWindowAttributes(std::int32_t hWnd, std::int32_t crKey,
                                                           std::uint8_t bAlpha,
                                                           std::int32_t dwFlags) {
    calls.push_back("SetLayeredWindowAttributes" + Args({S(hWnd), S(crKey), S(bAlpha), S(dwFlags)}));
    if (dwFlags & 2) alpha[hWnd] = bAlpha;
    return 1;
}

std::int32_t RecordingPlatform::ShellExecuteA(std::int32_t hWnd, const std::string& lpOperation,
                                              const std::string& lpFile,
                                              const std::string& lpParameters,
                                              const std::string& lpDirectory,
                                              std::int32_t nShowCmd) {
    calls.push_back("ShellExecuteA" + Args({S(hWnd), "\"" + lpOperation + "\"", "\"" + lpFile + "\"",
                                            "\"" + lpParameters + "\"", "\"" + lpDirectory + "\"",
                                            S(nShowCmd)}));
    opened.push_back(lpFile);
    return shellExecuteResult;
}

void RecordingPlatform::Sleep(std::int32_t milliseconds) {
    calls.push_back("Sleep" + Args({S(milliseconds)}));
    sleeps.push_back(milliseconds);
}

int RecordingPlatform::CountCalls(const std::string& prefix) const {
    int n = 0;
    for (const auto& c : calls) {
        if (c.rfind(prefix, 0) == 0) ++n;
    }
    return n;
}

}  // namespace tavrolin
