#pragma once
#include "framework/CWnd.h"

// An edit control.
class CEdit : public CWnd {
public:
    void SetSel(int start, int end) { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
    void SetLimitText(unsigned int limit) { SendMessage(EM_SETLIMITTEXT, limit); }
    void SetReadOnly(bool readOnly = true) { SendMessage(EM_SETREADONLY, readOnly); }
};
