#pragma once
#include "framework/CNoTrackObject.h"
#include <windows.h>
#include <vector>

class CWnd;
class COleControlSite;

// The ActiveX controls of one window: owns their sites, and COM for as long as it lives.
class COleControlContainer : public CNoTrackObject {
public:
    explicit COleControlContainer(CWnd* wnd);
    // Tears every control down and releases its site.
    ~COleControlContainer() override;
    COleControlContainer(const COleControlContainer&) = delete;
    COleControlContainer& operator=(const COleControlContainer&) = delete;

    // Takes over the site's reference; a site whose control failed is released at once.
    bool AddSite(COleControlSite* site);
    COleControlSite* FindSite(UINT id) const;
    // Gives a key message to the in-place active control that has it; true when it was used.
    bool TranslateAccelerator(MSG* message);

    CWnd* m_pWnd;

private:
    std::vector<COleControlSite*> m_sites;
    bool m_bOleInitialized;
};
