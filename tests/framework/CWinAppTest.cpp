#include "framework/CWinApp.h"
#include <doctest/doctest.h>

TEST_CASE("the application object: its name, and restart registration only when asked for")
{
    bool systemHasRestart =
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "RegisterApplicationRestart") != nullptr;
    {
        CWinApp app;
        CHECK(AfxGetApp() == &app);
        CHECK(app.m_strAppName == CString(L"framework_tests"));
        app.InitInstance();
        CHECK_FALSE(app.m_bRestartRegistered);
        app.m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART;
        app.InitInstance();
        CHECK(app.m_bRestartRegistered == systemHasRestart);
    }
    CHECK(AfxGetApp() == nullptr);
    CWinApp named(L"命名");
    CHECK(named.m_strAppName == CString(L"命名"));
}
