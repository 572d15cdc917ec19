// A progress bar for a loop that moves it thousands of times a second.
//
// Under Wine a visible bar repaints at once on every new position, and a
// repaint costs about as much as copying a megabyte. So a new position is
// handed to the control at most every kPaintIntervalMs (no eye follows a bar
// faster); Flush hands it over at once. Whoever owns the bar flushes before
// it asks the user anything and at the end of each step, so whenever the
// user can look at the bar, it shows the exact position.
#pragma once

#include "fw/ProgressCtrl.h"

class PacedProgressBar : public CProgressCtrl {
public:
    static constexpr DWORD kPaintIntervalMs = 40;

    // Range 0 to 100 (set once) and position 0.
    void Reset();
    // The bar's new position; shown now when the last showing is long enough ago.
    void Show(int position);
    // Shows the latest position now if the control does not have it yet.
    void Flush();
    // The latest position given, shown or not.
    int Position() const { return m_nPosition; }

private:
    bool m_bRangeSet = false;
    int m_nPosition = 0;
    int m_nHanded = 0; // what the control itself holds
    DWORD m_dwLastHanded = 0;
};
