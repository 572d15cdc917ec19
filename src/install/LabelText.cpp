#include "install/LabelText.h"

void PacedLabel::ShowPaced(const std::string& text)
{
    m_bHolding = !m_pace.IsDue();
    Show(text);
    m_bHolding = false;
    PaintIfDue();
}

void PacedLabel::PaintIfDue(bool now)
{
    if (!m_bUnpainted || !(now || m_pace.IsDue()))
        return;
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    m_bUnpainted = false;
    m_pace.Painted();
}

LRESULT PacedLabel::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SETTEXT) {
        if (m_bHolding) {
            // The text is kept as any window's, which is where the control
            // paints it from: nothing is painted, or even marked for
            // painting, until PaintIfDue.
            const LRESULT result = DefWindowProcW(m_hWnd, msg, wParam, lParam);
            m_bUnpainted = true;
            return result;
        }
        m_bUnpainted = false;
        m_pace.Painted();
    }
    return LabelText::WindowProc(msg, wParam, lParam);
}
