// A progress bar for a loop that moves it thousands of times a second.
//
// Under Wine a visible bar repaints at once on every new position, and a
// repaint costs one to two milliseconds on a busy machine: as much as
// copying a megabyte or two, and more than copying a small file. So the bar
// is painted at most every kPaintIntervalMs: ten paintings a second still
// move a bar smoothly, and cost a copy or a removal two or three per cent of
// its time, where 25 a second cost it five to ten. Show paints when the last
// painting is long enough ago; Flush hands the latest position to the
// control at once, so the control always knows it, but paints it only on
// the same condition: otherwise the control waits for the next painting,
// the next Show that is due or the message loop of whatever window opens
// next. Whoever owns the bar flushes before it asks the user anything and
// at the end of each step, so whenever the user can look at the bar, it
// shows the exact position.
#pragma once

#include "fw/ProgressCtrl.h"

// When a control that moves fast is next worth painting.
class PaintPace {
public:
    static constexpr DWORD kPaintIntervalMs = 100;

    bool IsDue() const { return GetTickCount() - m_dwLastPainted >= kPaintIntervalMs; }
    void Painted() { m_dwLastPainted = GetTickCount(); }

private:
    DWORD m_dwLastPainted = GetTickCount() - kPaintIntervalMs;
};

class PacedProgressBar : public CProgressCtrl {
public:
    // Range 0 to 100 (set once) and position 0.
    void Reset();
    // The bar's new position; handed over and painted now when the last
    // painting is long enough ago.
    void Show(int position);
    // Hands the latest position to the control now if it does not have it
    // yet; paints it now when the last painting is long enough ago.
    void Flush();
    // The latest position given, handed over or not.
    int Position() const { return m_nPosition; }

private:
    void Paint();

    bool m_bRangeSet = false;
    int m_nPosition = 0;
    int m_nHanded = 0;         // what the control itself holds
    bool m_bPainted = true;    // whether the control's pixels show m_nHanded
    PaintPace m_pace;
};
