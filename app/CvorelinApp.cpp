#include "app/CvorelinApp.h"
#include "app/CvorelinDlg.h"
#include "app/ReplayAssociation.h"
#include "framework/COccManager.h"
#include <commctrl.h>

CvorelinApp theApp;

BEGIN_MESSAGE_MAP(CvorelinApp, CWinApp)
    ON_COMMAND(0xE146 /* ID_HELP */, CWinApp::OnHelp)
END_MESSAGE_MAP()

CvorelinApp::CvorelinApp() : CWinApp(nullptr)
{
    m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART;
}

BOOL CvorelinApp::InitInstance()
{
    // Only ever on request, from a setup or a command line: the association is the player's to give.
    CString command = CString(m_lpCmdLine).Trim();
    const bool associate = lstrcmpiW(command, L"/associate") == 0;
    if (associate || lstrcmpiW(command, L"/unassociate") == 0) {
        ReplayAssociation association(AfxGetModuleFileName());
        m_exitCode = (associate ? association.Associate() : association.Unassociate()) ? 0 : 1;
        return FALSE;
    }

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    CWinApp::InitInstance();
    AfxEnableControlContainer();
    SetRegistryKey(L"应用程序向导生成的本地应用程序");

    CvorelinDlg dialog;
    // Anything else is a replay to play, as Explorer's Open passes it: the whole line, in quotes or not.
    if (command.GetLength() >= 2 && command.GetAt(0) == L'"' && command.GetAt(command.GetLength() - 1) == L'"')
        command = command.Mid(1).Left(command.GetLength() - 2);
    if (!command.IsEmpty()) {
        // The game is started from its own folder: a path relative to where the launcher was started must be made whole.
        wchar_t full[MAX_PATH * 4];
        DWORD length = GetFullPathNameW(command, sizeof full / sizeof full[0], full, nullptr);
        dialog.OpenReplayAtStart(length > 0 && length < sizeof full / sizeof full[0] ? CString(full) : command);
    }
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
