#pragma once

#include "fw/Control.h"
#include "fw/Text.h"

#include <string>

class CComboBox : public COwnerDrawControl {
public:
    int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(Send(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    int AddString(const std::string& text)
    {
        return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str())));
    }
    int SelectString(int start, const std::string& text)
    {
        return static_cast<int>(Send(CB_SELECTSTRING, static_cast<WPARAM>(start),
                                     reinterpret_cast<LPARAM>(Widen(text).c_str())));
    }
    LPARAM GetItemData(int index) const
    {
        return static_cast<LPARAM>(Send(CB_GETITEMDATA, static_cast<WPARAM>(index)));
    }
    int SetItemData(int index, LPARAM data)
    {
        return static_cast<int>(Send(CB_SETITEMDATA, static_cast<WPARAM>(index), data));
    }
    std::string GetLBText(int index) const
    {
        int length = static_cast<int>(Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index)));
        if (length < 0)
            return std::string();
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        return Narrow(text);
    }
    int SetItemHeight(int index, int height)
    {
        return static_cast<int>(Send(CB_SETITEMHEIGHT, static_cast<WPARAM>(index), height));
    }
    int GetItemHeight(int index) const
    {
        return static_cast<int>(Send(CB_GETITEMHEIGHT, static_cast<WPARAM>(index)));
    }
};
