#include "fw/Dialog.h"

#include "fw/Afx.h"
#include "fw/Text.h"

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (!control.m_hWnd)
        control.SubclassDlgItem(static_cast<UINT>(id), pDX->m_pDlgWnd->m_hWnd);
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value, bool* exact)
{
    HWND item = GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id);
    if (!item)
        return;
    if (pDX->m_bSaveAndValidate)
        value = WindowText(item, exact);
    else
        SetWindowTextW(item, Widen(value).c_str());
}

CDialog::CDialog(UINT templateId, HWND parent)
    : m_nIDTemplate(templateId), m_hWndParent(parent)
{
}

INT_PTR CDialog::DoModal()
{
    AfxInitCommonControls();
    CModalOwner owner(m_hWndParent);
    return DialogBoxParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), owner.Get(),
                           &CDialog::StaticDialogProc, reinterpret_cast<LPARAM>(this));
}

bool CDialog::Create(HWND parent)
{
    if (m_hWnd)
        return false;
    AfxInitCommonControls();
    if (parent)
        m_hWndParent = parent;
    HWND hwnd = CreateDialogParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate),
                                   m_hWndParent, &CDialog::StaticDialogProc,
                                   reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void CDialog::EndDialog(INT_PTR result)
{
    ::EndDialog(m_hWnd, result);
}

void CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    UpdateData(true);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(UINT id, UINT code, HWND)
{
    if (code != BN_CLICKED)
        return false;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialog::ReflectToControl(HWND control, UINT msg, WPARAM wParam, LPARAM lParam,
                               LRESULT* result)
{
    CWnd* child = FromHandle(control);
    return child && child != this && child->OnChildNotify(msg, wParam, lParam, result);
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND: {
        HWND control = reinterpret_cast<HWND>(lParam);
        if (control && ReflectToControl(control, msg, wParam, lParam, &result))
            return TRUE;
        return OnCommand(LOWORD(wParam), HIWORD(wParam), control);
    }
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        return ReflectToControl(draw->hwndItem, msg, wParam, lParam, &result);
    }
    case WM_MEASUREITEM: {
        // Sent while the control is being created: it may not be bound yet,
        // or another window may still carry its id. Controls that measure
        // set their final item height themselves once they exist.
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType == ODT_MENU)
            return FALSE;
        return ReflectToControl(GetDlgItem(static_cast<int>(measure->CtlID)), msg, wParam, lParam,
                                &result);
    }
    case WM_COMPAREITEM: {
        auto* compare = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
        if (ReflectToControl(compare->hwndItem, msg, wParam, lParam, &result))
            return result;
        return 0;
    }
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog;
    if (msg == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->Attach(hwnd);
    } else {
        dialog = static_cast<CDialog*>(FromHandle(hwnd));
    }
    if (!dialog)
        return FALSE;
    if (msg == WM_NCDESTROY) {
        dialog->Detach();
        return FALSE;
    }
    try {
        return dialog->WindowProc(msg, wParam, lParam);
    } catch (...) {
        AfxAbortOnEscapedException();
    }
}
