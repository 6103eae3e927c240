#pragma once
#include "framework/CWnd.h"

class CCustomOccManager;

// The window-side wrapper of one WebBrowser panel; keeps its own control-site manager in force
// while it exists.
class CWebBrowser2 : public CWnd {
public:
    static const CLSID kClsid;

    CWebBrowser2();
    ~CWebBrowser2() override;

    bool Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, void* context = nullptr) override;
    // Null variant pointers go to the control as references to empty variants. The address's
    // host becomes the panel's own: top-level pages of other hosts open in the browser.
    void Navigate(const wchar_t* address, VARIANT* flags, VARIANT* targetFrameName, VARIANT* postData,
                  VARIANT* headers);

private:
    CCustomOccManager* m_pOccManager = nullptr;
};
