#pragma once
#include "framework/CWinApp.h"

// The launcher's application object: runs the main dialog and ends.
class CvorelinApp : public CWinApp {
public:
    CvorelinApp();
    ~CvorelinApp() override = default;
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CvorelinApp theApp;
