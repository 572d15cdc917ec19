#include "fw/Wnd.h"

#include "fw/Afx.h"
#include "fw/Text.h"

#include <utility>

namespace {

// The window property that points from a window to its object.
const wchar_t kObjectProp[] = L"JexFwObject";

// One window that CreateEx is making on this thread: the object waiting for
// it and the hook that ties the two. A window made while another one is
// being made (from its WM_CREATE, say) has a record of its own.
struct Creation {
    CWnd* waiting;
    HHOOK hook;
    Creation* outer;
};

Creation*& CurrentCreation()
{
    thread_local Creation* current = nullptr;
    return current;
}

} // namespace

std::string WindowText(HWND window, bool* exact)
{
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return Narrow(text, exact);
}

CWnd::~CWnd()
{
    // The derived part of this object is gone already, so its window must
    // not reach it any more: untied first, then destroyed. Windows are
    // normally destroyed by their owners before their objects go.
    if (HWND hwnd = m_hWnd) {
        Detach();
        ::DestroyWindow(hwnd);
    }
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    return static_cast<CWnd*>(GetPropW(hwnd, kObjectProp));
}

void CWnd::Attach(HWND hwnd)
{
    m_hWnd = hwnd;
    SetPropW(hwnd, kObjectProp, this);
}

void CWnd::Detach()
{
    if (!m_hWnd)
        return;
    if (m_pfnSuper) {
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    RemovePropW(m_hWnd, kObjectProp);
    m_hWnd = nullptr;
}

bool CWnd::SubclassWindow(HWND hwnd)
{
    if (!hwnd || m_hWnd || FromHandle(hwnd))
        return false;
    Attach(hwnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWindowProc)));
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, HWND parent)
{
    return SubclassWindow(::GetDlgItem(parent, static_cast<int>(id)));
}

LRESULT CALLBACK CWnd::CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    Creation* creation = CurrentCreation();
    if (code == HCBT_CREATEWND && creation && creation->waiting)
        std::exchange(creation->waiting, nullptr)->SubclassWindow(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(creation ? creation->hook : nullptr, code, wParam, lParam);
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const std::string& windowName, DWORD style,
                    const RECT& rect, HWND parent, UINT id)
{
    if (m_hWnd)
        return false;
    Creation creation = {this, nullptr, CurrentCreation()};
    CurrentCreation() = &creation;
    creation.hook = SetWindowsHookExW(WH_CBT, &CWnd::CreationHook, nullptr, GetCurrentThreadId());
    HWND hwnd = CreateWindowExW(exStyle, Widen(className).c_str(), Widen(windowName).c_str(), style, rect.left,
                                rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AfxGetInstanceHandle(),
                                nullptr);
    UnhookWindowsHookEx(creation.hook);
    CurrentCreation() = creation.outer;
    if (!hwnd) {
        Detach();
        return false;
    }
    return true;
}

bool CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return false;
    return ::DestroyWindow(m_hWnd) != FALSE;
}

void CWnd::SetText(const std::string& text)
{
    ::SetWindowTextW(m_hWnd, Widen(text).c_str());
}

std::string CWnd::Text(bool* exact) const
{
    return WindowText(m_hWnd, exact);
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return false;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return Default(msg, wParam, lParam);
}

LRESULT CWnd::Default(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return CallWindowProcW(m_pfnSuper, m_hWnd, msg, wParam, lParam);
    return DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CWnd::StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandle(hwnd);
    if (!wnd)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        // The last message: the old procedure gets it, then the tie goes.
        WNDPROC super = wnd->m_pfnSuper;
        wnd->Detach();
        return super ? CallWindowProcW(super, hwnd, msg, wParam, lParam)
                     : DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    try {
        return wnd->WindowProc(msg, wParam, lParam);
    } catch (...) {
        AfxAbortOnEscapedException();
    }
}
