#include "win32/Snapshot.h"

#include "win32/Win32Backend.h"  // <windows.h> as the program takes it, before the codecs
#include "win32/Dib.h"
#include "platform/Platform.h"

#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <iterator>

namespace tavrolin::win32 {

namespace {

template <class T>
struct Com {
    T* p = nullptr;
    ~Com() {
        if (p != nullptr) p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

constexpr std::uint32_t kDesktopGrey = 0x404040;

// The backend's form windows that are on screen, bottom to top: the system's list of top-level
// windows is in stacking order, the topmost band first.
std::vector<HWND> FormWindowsBottomUp(const Win32Backend& backend) {
    std::vector<HWND> windows;
    const DWORD thread = GetCurrentThreadId();
    wchar_t cls[64];
    for (HWND h = GetTopWindow(nullptr); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
        if (GetWindowThreadProcessId(h, nullptr) != thread || !IsWindowVisible(h) || IsIconic(h)) {
            continue;
        }
        if (GetClassNameW(h, cls, static_cast<int>(std::size(cls))) == 0 ||
            backend.ClassName() != cls) {
            continue;
        }
        windows.push_back(h);
    }
    std::reverse(windows.begin(), windows.end());
    return windows;
}

unsigned OpacityOf(HWND h) {
    if (!(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_LAYERED)) return 255;
    BYTE alpha = 255;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(h, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return 255;
    return alpha;
}

// One window's client area, its controls included, laid over the picture at its place, as the
// Linux picture shows it. The pixels come from the window's own device context, not from the
// screen, so that no other window lying above it is taken into its picture. The title bar is
// left out: it is the desktop's (drawn by the compositor, which a device context does not see).
void DrawWindow(HWND h, Picture& picture, POINT desktopOrigin) {
    RECT r{};
    if (!GetClientRect(h, &r)) return;
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    const RECT desk{desktopOrigin.x, desktopOrigin.y, desktopOrigin.x + picture.width,
                    desktopOrigin.y + picture.height};
    RECT shown{};
    if (!IntersectRect(&shown, &r, &desk)) return;
    const int w = shown.right - shown.left;
    const int height = shown.bottom - shown.top;
    HDC windowDc = GetDC(h);
    if (windowDc == nullptr) return;
    Dib own(windowDc, w, height);
    const bool grabbed = own.Ok() && BitBlt(own.Dc(), 0, 0, w, height, windowDc,
                                            shown.left - r.left, shown.top - r.top,
                                            SRCCOPY) != FALSE;
    ReleaseDC(h, windowDc);
    if (!grabbed) return;
    GdiFlush();  // the system has written the pixels before they are read
    const unsigned a = OpacityOf(h);
    // A shaped window is there only within its region (from its outer corner): what lies
    // beneath shows through the rest.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const int kind = region != nullptr ? GetWindowRgn(h, region) : ERROR;
    const bool shaped = kind == SIMPLEREGION || kind == COMPLEXREGION || kind == NULLREGION;
    RECT outer{};
    GetWindowRect(h, &outer);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* from = own.Bits() + static_cast<std::ptrdiff_t>(y) * w;
        std::uint32_t* to = picture.pixels.data() +
                            static_cast<std::ptrdiff_t>(shown.top - desk.top + y) * picture.width +
                            (shown.left - desk.left);
        for (int x = 0; x < w; ++x) {
            if (shaped && !PtInRegion(region, shown.left + x - outer.left,
                                      shown.top + y - outer.top)) {
                continue;
            }
            std::uint32_t mixed = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                const unsigned over = (from[x] >> shift) & 0xFF;
                const unsigned under = (to[x] >> shift) & 0xFF;
                mixed |= ((over * a + under * (255 - a) + 127) / 255) << shift;
            }
            to[x] = mixed;
        }
    }
    if (region != nullptr) DeleteObject(region);
}

}  // namespace

Picture ComposeSnapshot(const Win32Backend& backend) {
    Picture picture;
    const RECT& desk = backend.Desktop();
    const POINT origin{desk.left, desk.top};
    picture.width = std::max(1, static_cast<int>(desk.right - desk.left));
    picture.height = std::max(1, static_cast<int>(desk.bottom - desk.top));
    picture.pixels.assign(static_cast<std::size_t>(picture.width) * picture.height, kDesktopGrey);
    for (HWND window : FormWindowsBottomUp(backend)) DrawWindow(window, picture, origin);
    return picture;
}

std::string EncodeSnapshot(const Picture& picture) {
    const UINT w = static_cast<UINT>(picture.width);
    const UINT h = static_cast<UINT>(picture.height);
    const UINT stride = w * 4;
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::string png;
    {
        Com<IWICImagingFactory> factory;
        Com<IStream> stream;
        Com<IWICBitmapEncoder> encoder;
        Com<IWICBitmapFrameEncode> frame;
        WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
        STATSTG facts{};
        // Encoded in memory: the file is made afterwards, by the platform, without following
        // whatever lies at its name.
        const bool encoded =
            SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_PPV_ARGS(&factory.p))) &&
            SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
            SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
            SUCCEEDED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) &&
            SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) &&
            SUCCEEDED(frame->Initialize(nullptr)) && SUCCEEDED(frame->SetSize(w, h)) &&
            SUCCEEDED(frame->SetPixelFormat(&format)) &&
            IsEqualGUID(format, GUID_WICPixelFormat32bppBGR) &&
            SUCCEEDED(frame->WritePixels(h, stride, stride * h,
                                         // only read, though the call takes them unconst
                                         reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(
                                             picture.pixels.data())))) &&
            SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit()) &&
            SUCCEEDED(stream->Stat(&facts, STATFLAG_NONAME)) && facts.cbSize.QuadPart > 0 &&
            facts.cbSize.QuadPart < (1ull << 31);
        HGLOBAL memory = nullptr;
        if (encoded && SUCCEEDED(GetHGlobalFromStream(stream.p, &memory))) {
            if (const void* bytes = GlobalLock(memory)) {
                png.assign(static_cast<const char*>(bytes),
                           static_cast<std::size_t>(facts.cbSize.QuadPart));
                GlobalUnlock(memory);
            }
        }
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return png;
}

bool WriteSnapshot(const Win32Backend& backend, Platform& platform, const std::string& path) {
    const std::string png = EncodeSnapshot(ComposeSnapshot(backend));
    return !png.empty() && platform.PutNewFile(path, png);
}

}  // namespace tavrolin::win32
