// The window base. A CWnd is tied to its HWND either by subclassing an
// existing window (a control from a dialog template) or by creating one;
// from then on the window's messages reach the object's WindowProc.
#pragma once

#include <windows.h>
#include <string>

// A window's text in the program's own text; `exact`, when given, says
// whether every character of it has a code page 1250 form.
std::string WindowText(HWND window, bool* exact = nullptr);

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
    // before its first message, so WM_NCCREATE and WM_CREATE reach it. The
    // window is a Unicode one, as every window of the program is.
    bool CreateEx(DWORD exStyle, const char* className, const std::string& windowName,
                  DWORD style, const RECT& rect, HWND parent, UINT id);

    // Takes over an existing window; the old window procedure handles
    // whatever this object passes on, and is put back on WM_NCDESTROY.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(UINT id, HWND parent);

    bool DestroyWindow();

    // Thin wrappers over the window functions. A message that carries text
    // carries UTF-16: the window texts go through SetText and Text.
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, msg, wParam, lParam);
    }
    bool Post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, msg, wParam, lParam) != FALSE;
    }
    void SetText(const std::string& text);
    // The window's text in the program's own text; `exact`, when given,
    // says whether every character of it has a code page 1250 form (what
    // has none shows as "?").
    std::string Text(bool* exact = nullptr) const;
    void EnableWindow(bool enable = true) { ::EnableWindow(m_hWnd, enable); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    void SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags)
    {
        ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
    }
    void ShowWindow(int command) { ::ShowWindow(m_hWnd, command); }
    void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void SetRedraw(bool redraw) { Send(WM_SETREDRAW, redraw); }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(Send(WM_GETFONT)); }

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
