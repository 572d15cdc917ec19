#include "fw/Control.h"

void COwnerDrawControl::DrawItem(DRAWITEMSTRUCT*)
{
}

void COwnerDrawControl::MeasureItem(MEASUREITEMSTRUCT*)
{
}

int COwnerDrawControl::CompareItem(COMPAREITEMSTRUCT*)
{
    return 0;
}

bool COwnerDrawControl::OnNotify(UINT)
{
    return false;
}

bool COwnerDrawControl::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case WM_DRAWITEM:
        DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return true;
    case WM_MEASUREITEM:
        MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        *result = TRUE;
        return true;
    case WM_COMPAREITEM:
        *result = CompareItem(reinterpret_cast<COMPAREITEMSTRUCT*>(lParam));
        return true;
    case WM_COMMAND:
        return OnNotify(HIWORD(wParam));
    default:
        return false;
    }
}
