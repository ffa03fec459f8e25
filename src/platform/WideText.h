// The program's text is UTF-8; Windows' wide-character calls take UTF-16 (Windows only).
#pragma once

#include <string>

namespace tavrolin {

std::wstring Wide(const std::string& utf8);
// `length` in UTF-16 units; -1: up to the terminating zero.
std::string Utf8(const wchar_t* text, int length = -1);

}  // namespace tavrolin
