#pragma once
#include "framework/CWinApp.h"

// The launcher's application object: runs the main dialog and ends, or with /associate or
// /unassociate only changes the replay association and ends with 0 on success.
class CvorelinApp : public CWinApp {
public:
    CvorelinApp();
    ~CvorelinApp() override = default;
    BOOL InitInstance() override;
    int ExitInstance() override { return m_exitCode; }

    DECLARE_MESSAGE_MAP()

private:
    int m_exitCode = 0;
};

extern CvorelinApp theApp;
