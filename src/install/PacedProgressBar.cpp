#include "install/PacedProgressBar.h"

namespace {

// While it lives, a visible control takes new states without painting
// them; it is then left to be painted with its window's next painting.
class HeldPainting {
public:
    explicit HeldPainting(HWND control) : m_hControl(IsWindowVisible(control) ? control : nullptr)
    {
        if (m_hControl)
            ::SendMessageA(m_hControl, WM_SETREDRAW, FALSE, 0);
    }
    ~HeldPainting()
    {
        if (!m_hControl)
            return;
        ::SendMessageA(m_hControl, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(m_hControl, nullptr, TRUE);
    }
    HeldPainting(const HeldPainting&) = delete;
    HeldPainting& operator=(const HeldPainting&) = delete;

private:
    HWND m_hControl; // null when the control was not visible
};

} // namespace

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
    HeldPainting held(m_hWnd);
    SetPos(m_nPosition);
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
