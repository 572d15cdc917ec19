// Owners of GDI handles and device contexts. Each releases what it holds
// when it goes out of scope; none can be copied.
#pragma once

#include <windows.h>

#include <string>

class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(HGDIOBJ object) : m_hObject(object) {}
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    void DeleteObject()
    {
        if (m_hObject)
            ::DeleteObject(m_hObject);
        m_hObject = nullptr;
    }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    HGDIOBJ m_hObject = nullptr;
};

// An icon of its own (not a shared one), destroyed with its owner.
class CIcon {
public:
    CIcon() = default;
    explicit CIcon(HICON icon) : m_hIcon(icon) {}
    ~CIcon()
    {
        if (m_hIcon)
            DestroyIcon(m_hIcon);
    }
    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;
    operator HICON() const { return m_hIcon; }

    // Icon resource `id` of the module at the system's default icon size.
    static HICON Load(HINSTANCE module, UINT id)
    {
        return static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    }

private:
    HICON m_hIcon = nullptr;
};

// The painting context of a WM_PAINT message.
class CPaintDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hWnd(hwnd), m_hDC(BeginPaint(hwnd, &m_ps)) {}
    ~CPaintDC() { EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    operator HDC() const { return m_hDC; }

    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// The client-area context of a window (or the screen's, for a null window).
class CClientDC {
public:
    explicit CClientDC(HWND hwnd) : m_hWnd(hwnd), m_hDC(GetDC(hwnd)) {}
    ~CClientDC()
    {
        if (m_hDC)
            ReleaseDC(m_hWnd, m_hDC);
    }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    operator HDC() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// A memory context compatible with another one.
class CMemoryDC {
public:
    explicit CMemoryDC(HDC compatible) : m_hDC(CreateCompatibleDC(compatible)) {}
    ~CMemoryDC()
    {
        if (m_hDC)
            DeleteDC(m_hDC);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    operator HDC() const { return m_hDC; }

private:
    HDC m_hDC;
};

// Saves the state of a context it does not own and restores it at the end.
class CSavedDC {
public:
    explicit CSavedDC(HDC dc) : m_hDC(dc), m_nSaved(SaveDC(dc)) {}
    ~CSavedDC()
    {
        if (m_nSaved)
            RestoreDC(m_hDC, m_nSaved);
    }
    CSavedDC(const CSavedDC&) = delete;
    CSavedDC& operator=(const CSavedDC&) = delete;

private:
    HDC m_hDC;
    int m_nSaved;
};

// Selects an object into a context and puts the previous one back.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object)
        : m_hDC(dc), m_hOld(object ? SelectObject(dc, object) : nullptr) {}
    ~CSelectObject()
    {
        if (m_hOld)
            SelectObject(m_hDC, m_hOld);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// Selects a palette into a context as its foreground palette and realises
// it; the previous palette goes back in at the end. A null palette selects
// nothing.
class CRealizedPalette {
public:
    CRealizedPalette(HDC dc, HPALETTE palette)
        : m_hDC(dc), m_hOld(palette ? SelectPalette(dc, palette, FALSE) : nullptr)
    {
        if (palette)
            RealizePalette(dc);
    }
    ~CRealizedPalette()
    {
        if (m_hOld)
            SelectPalette(m_hDC, m_hOld, TRUE);
    }
    CRealizedPalette(const CRealizedPalette&) = delete;
    CRealizedPalette& operator=(const CRealizedPalette&) = delete;

private:
    HDC m_hDC;
    HPALETTE m_hOld;
};

// The size of a text in the context's font.
SIZE TextExtent(HDC dc, const std::string& text);
// Draws a text at (x, y) as the context's alignment says.
void PaintText(HDC dc, int x, int y, const std::string& text);
