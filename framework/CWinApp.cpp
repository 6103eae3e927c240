#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include <vector>

namespace {
CWinApp* g_app = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(const wchar_t* appName)
{
    g_app = this;
    m_hInstance = GetModuleHandleW(nullptr);
    if (appName) {
        m_strAppName = appName;
        return;
    }
    CString path = AfxGetModuleFileName();
    CString name = path.Mid(path.ReverseFind(L'\\') + 1);
    int dot = name.ReverseFind(L'.');
    m_strAppName = dot < 0 ? name : name.Left(dot);
}

CWinApp::~CWinApp()
{
    if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    if (m_dwRestartManagerSupportFlags & AFX_RESTART_MANAGER_SUPPORT_RESTART) {
        // Vista and later only: looked up at run time so the program still starts on XP. The SDK
        // declares it only for _WIN32_WINNT >= 0x0600, so its type is written out here.
        typedef HRESULT(WINAPI * RegisterRestart)(PCWSTR, DWORD);
        HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        auto registerRestart = kernel ? reinterpret_cast<RegisterRestart>(
                                            reinterpret_cast<void*>(GetProcAddress(kernel, "RegisterApplicationRestart")))
                                      : nullptr;
        m_bRestartRegistered = registerRestart && SUCCEEDED(registerRestart(nullptr, 0));
    }
    return TRUE;
}

int CWinApp::Run()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return ExitInstance();
}

CWinApp* AfxGetApp()
{
    return g_app;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_app ? g_app->m_hInstance : GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}

CString AfxGetModuleFileName()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return CString();
        if (length < buffer.size()) return CString(buffer.data(), static_cast<int>(length));
        buffer.resize(buffer.size() * 2);
    }
    return CString();
}

int AfxMessageBox(const wchar_t* text, UINT type)
{
    HWND owner = nullptr;
    if (g_app && g_app->m_pMainWnd && IsWindow(g_app->m_pMainWnd->m_hWnd)) owner = g_app->m_pMainWnd->m_hWnd;
    if (!owner) owner = GetActiveWindow();
    CString caption = g_app ? g_app->m_strAppName : CString();
    return MessageBoxW(owner, text ? text : L"", caption, type);
}
