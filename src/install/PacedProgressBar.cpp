#include "install/PacedProgressBar.h"

void PacedProgressBar::Reset()
{
    if (!m_bRangeSet) {
        SetRange(0, 100);
        SetPos(0);
        m_bRangeSet = true;
        m_nHanded = 0;
        m_dwLastHanded = GetTickCount();
    }
    Show(0);
}

void PacedProgressBar::Show(int position)
{
    m_nPosition = position;
    if (m_nPosition != m_nHanded && GetTickCount() - m_dwLastHanded >= kPaintIntervalMs)
        Flush();
}

void PacedProgressBar::Flush()
{
    if (m_nPosition == m_nHanded)
        return;
    SetPos(m_nPosition);
    m_nHanded = m_nPosition;
    m_dwLastHanded = GetTickCount();
}
