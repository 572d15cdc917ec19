// A static text that is given a new text only when it differs from the one
// it shows: every new text repaints the control, and repainting the same
// words over and over flickers.
#pragma once

#include "fw/Static.h"

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
