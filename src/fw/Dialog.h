// Dialogs built from templates in the resources, run modally or modelessly.
#pragma once

#include "fw/Wnd.h"

#include <string>

class CDialog;

// Carries the direction of one data exchange between a dialog's controls
// and its members.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate)
    {
    }
    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate; // true: controls to members
};

// Ties a control object to the dialog item with that id, on the first
// exchange only.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
// Exchanges the text of a dialog item with a string member. Read back,
// `exact` (when given) says whether every character of the text has a code
// page 1250 form.
void DDX_Text(CDataExchange* pDX, int id, std::string& value, bool* exact = nullptr);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);

    // Runs the dialog modally; returns what EndDialog was given, or -1 when
    // the dialog could not be created. Without a parent the active window
    // owns the dialog and stays disabled while it is open.
    virtual INT_PTR DoModal();
    // Creates the dialog modelessly; the window shows when its template says so.
    bool Create(HWND parent = nullptr);

    void EndDialog(INT_PTR result);
    void UpdateData(bool saveAndValidate = true);

    UINT m_nIDTemplate;

protected:
    // Binds controls and exchanges values; called by UpdateData.
    virtual void DoDataExchange(CDataExchange* pDX);
    // The base step exchanges the members into the controls. true puts the
    // focus on the first tab stop.
    virtual bool OnInitDialog();
    // Exchanges the controls into the members and ends the dialog with IDOK.
    virtual void OnOK();
    // Ends the dialog with IDCANCEL.
    virtual void OnCancel();
    // A command from a button, the keyboard or a control notification that
    // its control did not consume. The base routes IDOK and IDCANCEL.
    // Returns true when handled.
    virtual bool OnCommand(UINT id, UINT code, HWND control);

    // The dialog procedure of this object: returns nonzero when the message
    // was handled (or the result itself, for the messages whose result a
    // dialog procedure returns directly, such as WM_COMPAREITEM). Derived
    // dialogs handle their window messages here and pass the rest on.
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Passes an owner-draw message or a control notification to the object
    // of the control it concerns.
    bool ReflectToControl(HWND control, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

    HWND m_hWndParent;
};
