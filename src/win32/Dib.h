// A 32-bit top-down bitmap selected into a memory device context, with its pixels at hand: the
// off-screen bitmap a window's lines are drawn into, and a window's picture in a snapshot.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>

namespace tavrolin::win32 {

// The header of a 32-bit top-down bitmap: each pixel 0x00RRGGBB, the top row first.
BITMAPINFO TopDownRgb32(int width, int height);

class Dib {
public:
    Dib(HDC like, int width, int height);
    ~Dib();
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    bool Ok() const { return bits_ != nullptr && old_ != nullptr; }
    HDC Dc() const { return dc_; }
    std::uint32_t* Bits() const { return bits_; }  // 0x00RRGGBB, top row first
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    HBITMAP bitmap_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
    int width_;
    int height_;
};

}  // namespace tavrolin::win32
