#pragma once
#include "framework/CCmdTarget.h"
#include "framework/CString.h"

class CWnd;

// Restart-manager support: restart only (no autosave, no recovery).
constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_RESTART = 0x01;

// The one application object; the entry point runs its InitInstance.
class CWinApp : public CCmdTarget {
public:
    // A null name gives the executable's file name without its extension.
    explicit CWinApp(const wchar_t* appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // False ends the application; the base registers with the restart manager when asked to.
    virtual BOOL InitInstance();
    virtual int ExitInstance() { return 0; }
    // Runs the message loop until WM_QUIT.
    virtual int Run();
    void SetRegistryKey(const wchar_t* key) { m_strRegistryKey = key; }
    void OnHelp() {}

    HINSTANCE m_hInstance = nullptr;
    // The command line after the program's name, as the entry point received it.
    const wchar_t* m_lpCmdLine = L"";
    CString m_strAppName;
    CString m_strRegistryKey;
    CWnd* m_pMainWnd = nullptr;
    DWORD m_dwRestartManagerSupportFlags = 0;
    // Whether the system's restart manager took the registration (absent before Vista).
    bool m_bRestartRegistered = false;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
CString AfxGetModuleFileName();
// A message box owned by the main window, captioned with the application name.
int AfxMessageBox(const wchar_t* text, UINT type = MB_OK);
