// The question asked before an existing file is replaced during the copy:
// replace it, replace it and every later one, keep it, keep it and every
// later one. The dialog only records the button; the copy engine keeps the
// answer for the rest of its pass.
#pragma once

#include "fw/Dialog.h"
#include "fw/Static.h"
#include "install/OverwriteAnswer.h"

#include <cstdint>

class OverwriteDialog : public CDialog {
public:
    // fileName: the full path of the existing file; the caller's string,
    // which must outlive the dialog.
    OverwriteDialog(const char* fileName, HWND parent = nullptr);

    const char* m_pszFileName;
    int32_t m_nAnswer = No;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void Answer(OverwriteAnswer answer);

    CStatic m_lblMessage;
};
