#include "Snapshot.h"

#include "support/Cp1250.h"
#include "support/UiDriver.h"

#include <wincodec.h>

#include <vector>

namespace {

// Releases a COM interface when it goes.
template <typename T>
struct Com {
    T* p = nullptr;
    ~Com()
    {
        if (p)
            p->Release();
    }
    T* operator->() const { return p; }
    T** operator&() { return &p; }
};

bool SavePng(std::vector<DWORD>& pixels, UINT width, UINT height, const std::string& path)
{
    const std::wstring widePath = cp1250::Wide(path);
    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> frame;
    // The pixels are 0x00RRGGBB: blue, green, red and an unused byte in memory.
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
           SUCCEEDED(factory->CreateStream(&stream)) &&
           SUCCEEDED(stream->InitializeFromFilename(widePath.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
           SUCCEEDED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
           SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
           IsEqualGUID(format, GUID_WICPixelFormat32bppBGR) &&
           SUCCEEDED(frame->WritePixels(height, width * 4, width * height * 4,
                                        reinterpret_cast<BYTE*>(pixels.data()))) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// Whether `part` of the screen, as far as the picture of `area` holds it,
// shows more than one colour.
bool Varied(const std::vector<DWORD>& pixels, const RECT& area, const RECT& part)
{
    RECT in = {};
    IntersectRect(&in, &area, &part);
    auto at = [&](LONG x, LONG y) { return pixels[(y - area.top) * (area.right - area.left) + x - area.left]; };
    for (LONG y = in.top; y < in.bottom; ++y)
        for (LONG x = in.left; x < in.right; ++x)
            if (at(x, y) != at(in.left, in.top))
                return true;
    return false;
}

struct Parts {
    const std::vector<DWORD>* pixels;
    RECT area;
    bool drawn;
};

// A button, or a message box's text, shows something (a face, a frame, letters).
BOOL CALLBACK PartDrawn(HWND child, LPARAM param)
{
    auto* parts = reinterpret_cast<Parts*>(param);
    wchar_t className[16] = L"";
    GetClassNameW(child, className, 16);
    if (IsWindowVisible(child) && (!lstrcmpiW(className, L"Button") || GetDlgCtrlID(child) == ui::kMessageBoxTextId))
        parts->drawn &= Varied(*parts->pixels, parts->area, ui::WindowRect(child));
    return TRUE;
}

} // namespace

bool Shows(HWND window, const std::vector<DWORD>& pixels, const RECT& area)
{
    Parts parts = {&pixels, area, !pixels.empty() && Varied(pixels, area, ui::ClientRectOnScreen(window))};
    EnumChildWindows(window, &PartDrawn, reinterpret_cast<LPARAM>(&parts));
    return parts.drawn;
}

bool SaveSnapshot(HWND window, const RECT& area, const std::string& path, bool active,
                  const std::function<bool(const std::vector<DWORD>&)>& shows)
{
    // Paint afresh, frame and children included; wait until the window has
    // painted and its picture on the screen shows what it must.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    std::vector<DWORD> pixels;
    if (!ui::WaitUntil([&] {
            return ui::IsDrawn(window, active) && Shows(window, pixels = ui::CaptureScreen(area), area) &&
                   (!shows || shows(pixels));
        }))
        return false;
    return SavePng(pixels, static_cast<UINT>(area.right - area.left), static_cast<UINT>(area.bottom - area.top),
                   path);
}
