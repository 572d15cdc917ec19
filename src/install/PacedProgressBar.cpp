#include "install/PacedProgressBar.h"

void PacedProgressBar::Reset()
{
    if (!m_bRangeSet) {
        SetRange(0, 100);
        SetPos(0);
        m_bRangeSet = true;
        m_nHanded = 0;
        m_bPainted = true;
        m_pace.Painted();
    }
    Show(0);
}

void PacedProgressBar::Show(int position)
{
    m_nPosition = position;
    if ((m_nPosition != m_nHanded || !m_bPainted) && m_pace.IsDue())
        Paint();
}

void PacedProgressBar::Flush()
{
    if (m_nPosition == m_nHanded)
        return;
    if (m_pace.IsDue()) {
        Paint();
        return;
    }
    // A visible control takes the position without painting it; it is
    // painted with its window's next painting.
    const bool visible = IsWindowVisible(m_hWnd) != FALSE;
    if (visible)
        SetRedraw(false);
    SetPos(m_nPosition);
    if (visible) {
        SetRedraw(true);
        Invalidate();
    }
    m_nHanded = m_nPosition;
    m_bPainted = false;
}

void PacedProgressBar::Paint()
{
    SetPos(m_nPosition);
    // A position handed over unpainted may equal the new one: the control
    // then has nothing to change, only to paint.
    if (!m_bPainted)
        ::UpdateWindow(m_hWnd);
    m_nHanded = m_nPosition;
    m_bPainted = true;
    m_pace.Painted();
}
