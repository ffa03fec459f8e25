#include "win32/Dib.h"

namespace tavrolin::win32 {

BITMAPINFO TopDownRgb32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

Dib::Dib(HDC like, int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = TopDownRgb32(width, height);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(like, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    dc_ = CreateCompatibleDC(like);
    if (dc_ != nullptr && bitmap_ != nullptr) old_ = SelectObject(dc_, bitmap_);
}

Dib::~Dib() {
    if (dc_ != nullptr) {
        if (old_ != nullptr) SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

}  // namespace tavrolin::win32
