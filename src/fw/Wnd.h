// The window base. A CWnd is tied to its HWND either by subclassing an
// existing window (a control from a dialog template) or by creating one;
// from then on the window's messages reach the object's WindowProc.
#pragma once

#include <windows.h>
#include <string>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object tied to a window, or null.
    static CWnd* FromHandle(HWND hwnd);

    // Creates a window of a registered class and ties it to this object
    // before its first message, so WM_NCCREATE and WM_CREATE reach it.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName,
                  DWORD style, const RECT& rect, HWND parent, UINT id);

    // Takes over an existing window; the old window procedure handles
    // whatever this object passes on, and is put back on WM_NCDESTROY.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, HWND parent);

    BOOL DestroyWindow();

    // Thin wrappers over the window functions.
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, msg, wParam, lParam);
    }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, msg, wParam, lParam);
    }
    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    std::string GetWindowText() const;
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
    }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void SetRedraw(BOOL redraw) { SendMessage(WM_SETREDRAW, redraw); }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }

    // A message that a parent passes back to the child it concerns
    // (owner drawing and control notifications). Return true when the
    // child handled it; *result then holds the answer for the parent.
    virtual bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

protected:
    // Every message of a window tied to this object arrives here.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // What the window would have done without this object.
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

    // Ties the object to a window without changing its procedure (dialogs).
    void Attach(HWND hwnd);
    // Unties the object from its window.
    void Detach();

private:
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);

    WNDPROC m_pfnSuper = nullptr;
};
