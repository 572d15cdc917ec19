// A static text that is given a new text only when it differs from the one
// it shows: every new text repaints the control, and repainting the same
// words over and over flickers.
#pragma once

#include "fw/Static.h"
#include "install/PacedProgressBar.h"

#include <string>

class LabelText : public CStatic {
public:
    void Show(const std::string& text)
    {
        if (m_bSet && text == m_strShown)
            return;
        SetText(text);
        m_strShown = text;
        m_bSet = true;
    }

private:
    std::string m_strShown;
    bool m_bSet = false;
};

// A label for an entry that a loop changes many times a second. Under Wine
// a static text paints itself at once on every new text, which costs a
// third of a millisecond and more: more than deleting a small file. So the
// label takes every new text at once but paints it at most every
// PaintPace::kPaintIntervalMs, when its owner asks it to. Whatever paints
// the window meanwhile (a question's message loop, say) shows the latest
// text too.
class PacedLabel : public LabelText {
public:
    // Takes the text; paints it only if the last painting is long enough ago.
    void ShowPaced(const std::string& text);
    // Paints a text taken unpainted when the last painting is long enough
    // ago (or whenever `now`).
    void PaintIfDue(bool now = false);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool m_bHolding = false;  // a new text is taken without painting
    bool m_bUnpainted = false;
    PaintPace m_pace;
};
