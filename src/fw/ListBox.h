#pragma once

#include "fw/Control.h"

class CListBox : public COwnerDrawControl {
public:
    int GetCount() const { return static_cast<int>(Send(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(Send(LB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(Send(LB_SETCURSEL, static_cast<WPARAM>(index))); }
    void ResetContent() { Send(LB_RESETCONTENT); }
    // For lists without strings of their own the "string" is the item's datum.
    int AddString(LPARAM item) { return static_cast<int>(Send(LB_ADDSTRING, 0, item)); }
    int InsertString(int index, LPARAM item)
    {
        return static_cast<int>(Send(LB_INSERTSTRING, static_cast<WPARAM>(index), item));
    }
    LPARAM GetItemData(int index) const
    {
        return static_cast<LPARAM>(Send(LB_GETITEMDATA, static_cast<WPARAM>(index)));
    }
    int SetItemHeight(int index, int height)
    {
        return static_cast<int>(Send(LB_SETITEMHEIGHT, static_cast<WPARAM>(index), MAKELPARAM(height, 0)));
    }
    int GetItemHeight(int index) const
    {
        return static_cast<int>(Send(LB_GETITEMHEIGHT, static_cast<WPARAM>(index)));
    }
};
