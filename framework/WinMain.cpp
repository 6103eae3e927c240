#include "framework/CWinApp.h"
#include "framework/CWnd.h"

// The entry point runs the one application object; a false InitInstance ends the program.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->m_hInstance = instance;
    if (commandLine) app->m_lpCmdLine = commandLine;
    int status = 0;
    try {
        status = app->InitInstance() ? app->Run() : app->ExitInstance();
    } catch (...) {
        AfxReportCurrentException();
        status = 1;
    }
    return status;
}
