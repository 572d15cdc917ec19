// What the directory list and the drive list share: the parent's font, an
// item height measured from it as soon as the control exists, and the
// drawing of one item - icon, text and focus frame - from what the list
// says that item shows.
#pragma once

#include "dirpick/ListImages.h"
#include "dirpick/OwnerDrawnItem.h"

#include <algorithm>
#include <string>

// What one item shows; the positions count from the item's left edge.
struct ItemLook {
    HICON icon = nullptr;
    int iconLeft = 0;
    int textLeft = 0;
    std::string text;
};

template <class Control>
class OwnerDrawnList : public Control {
public:
    static constexpr int kIconSize = 16;

    void MeasureItem(MEASUREITEMSTRUCT* measure) override
    {
        measure->itemHeight = static_cast<UINT>(m_nItemHeight);
    }

    void DrawItem(DRAWITEMSTRUCT* draw) override
    {
        ItemLook look;
        if (static_cast<int>(draw->itemID) == -1 || !Describe(*draw, look))
            return;
        OwnerDrawnItem painter(*draw, m_font);
        painter.DrawIcon(look.icon, draw->rcItem.left + look.iconLeft, m_nItemHeight);
        painter.PaintText(look.text, draw->rcItem.left + look.textLeft, m_nItemHeight, m_nTextHeight);
        painter.DrawFocusFrame(ListImages::Get().FocusPattern());
    }

    int m_nTextHeight = 0;
    int m_nItemHeight = 0;

protected:
    // What the item of a draw request shows; false when nothing.
    virtual bool Describe(const DRAWITEMSTRUCT& draw, ItemLook& look) const = 0;
    // Gives the control the measured item height.
    virtual void ApplyItemHeight() = 0;

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg != WM_CREATE)
            return Control::WindowProc(msg, wParam, lParam);
        if (this->Default(msg, wParam, lParam) == -1)
            return -1;
        m_font = reinterpret_cast<HFONT>(::SendMessageW(this->GetParent(), WM_GETFONT, 0, 0));
        m_nTextHeight = MeasureTextHeight(this->m_hWnd, m_font);
        m_nItemHeight = std::max(m_nTextHeight, kIconSize);
        // The control asked its parent for the height before this point,
        // when the parent could not yet tell it from other windows.
        ApplyItemHeight();
        return 0;
    }

    HFONT m_font = nullptr; // the parent's; never deleted here
};
