#include "app/CvorelinDlg.h"
#include "app/StoredVersion.h"
#include "app/VersionLabel.h"
#include "framework/CFileFind.h"
#include "framework/CPaintDC.h"
#include "framework/CWinApp.h"

namespace {

const wchar_t kTitleText[] = L"Kelvadi2.0正式版 www.kelvadi.com";

} // namespace

BEGIN_MESSAGE_MAP(CvorelinDlg, CDialogEx)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(1001, OnCloseButton)
    ON_BN_CLICKED(1000, OnMinimizeButton)
    ON_BN_CLICKED(1018, OnSwitch120E)
    ON_BN_CLICKED(1019, OnSwitch124E)
    ON_BN_CLICKED(1015, OnSwitch126)
    ON_BN_CLICKED(1008, OnSwitch120E4M)
    ON_BN_CLICKED(1009, OnSwitch124E8M)
END_MESSAGE_MAP()

CvorelinDlg::CvorelinDlg(CWnd* parent) : CDialogEx(IDD, parent)
{
    m_hIcon = LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(128));
}

void CvorelinDlg::DoDataExchange(CDataExchange* exchange)
{
    CDialogEx::DoDataExchange(exchange);
    DDX_Control(exchange, 1001, m_btnClose);
    DDX_Control(exchange, 1000, m_btnMinimize);
    DDX_Control(exchange, 1006, m_webTop);
    DDX_Control(exchange, 1007, m_webBottom);
    DDX_Control(exchange, 1003, m_btnStart);
    DDX_Control(exchange, 1004, m_stTitle);
    DDX_Control(exchange, 1011, m_stHomePage);
    DDX_Control(exchange, 1012, m_stLastRun);
    DDX_Control(exchange, 1010, m_stRunCount);
    DDX_Control(exchange, 1017, m_picBottom);
    DDX_Control(exchange, 1016, m_picTop);
    DDX_Control(exchange, 1018, m_btn120E);
    DDX_Control(exchange, 1019, m_btn124E);
    DDX_Control(exchange, 1015, m_btn126);
    DDX_Control(exchange, 1008, m_btn120E4M);
    DDX_Control(exchange, 1009, m_btn124E8M);
    DDX_Control(exchange, 1013, m_btnMaps);
    DDX_Control(exchange, 1021, m_stVersion);
}

BOOL CvorelinDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();

    m_strGameDir = GetDirectoryOfPath(AfxGetModuleFileName());
    SetWindowText(kTitleText);

    CFileFind finder;
    if (!finder.FindFile(m_strGameDir + L"\\war3.exe")) {
        MessageBox(CString(L"请把程序放到魔兽安装目录后使用！") + m_strGameDir, nullptr, 0);
        ExitProcess(0);
    }

    CString label = DetectInstalledVersion(m_strGameDir + L"\\game.dll");
    ModifyStyle(0, WS_SYSMENU | WS_MINIMIZEBOX);

    m_strVersionText = ReadStoredVersion(m_strGameDir);
    if (m_strVersionText.GetLength() == 0) {
        WriteStoredVersion(m_strGameDir, label);
        m_stVersion.SetWindowText(label);
    } else {
        m_stVersion.SetWindowText(m_strVersionText);
    }

    // Placement of the two labels; their skin styles come with the skin controls.
    m_stTitle.SetWindowText(kTitleText);
    m_stTitle.SetWindowPos(HWND_TOP, 5, 5, 500, 50, SWP_SHOWWINDOW);
    m_stVersion.SetWindowPos(HWND_TOP, 155, 130, 300, 50, SWP_SHOWWINDOW);
    NavigatePanels();
    return TRUE;
}

void CvorelinDlg::NavigatePanels()
{
    // KELVADI_AD_SERVER: the build setting of the same name, as a wide string literal.
    m_webTop.Navigate(CString(KELVADI_AD_SERVER) + L"/gg/3.htm", nullptr, nullptr, nullptr, nullptr);
    m_webBottom.Navigate(CString(KELVADI_AD_SERVER) + L"/gg/4.htm", nullptr, nullptr, nullptr, nullptr);
}

void CvorelinDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT client;
    GetClientRect(&client);
    int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CvorelinDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CvorelinDlg::OnCloseButton()
{
    // The base Cancel handling, not the empty override that keeps Escape from closing.
    CDialogEx::OnCancel();
}

void CvorelinDlg::OnMinimizeButton()
{
    ShowWindow(SW_MINIMIZE);
}

void CvorelinDlg::OnSwitch120E()
{
    SwitchTo(kVariant120E);
}

void CvorelinDlg::OnSwitch124E()
{
    SwitchTo(kVariant124E);
}

void CvorelinDlg::OnSwitch126()
{
    SwitchTo(kVariant126);
}

void CvorelinDlg::OnSwitch120E4M()
{
    SwitchTo(kVariant120E4M);
}

void CvorelinDlg::OnSwitch124E8M()
{
    SwitchTo(kVariant124E8M);
}

void CvorelinDlg::SwitchTo(const VersionVariant& variant)
{
    // A switch that left files unreplaced has told the user why; label and record keep the old version.
    if (!VersionSwitch(*this, m_strGameDir).Run(variant)) return;

    m_stVersion.SetWindowText(variant.label);
    RECT area{};
    m_stVersion.GetWindowRect(&area);
    ScreenToClient(&area);
    InvalidateRect(&area, true);
    UpdateWindow();

    WriteStoredVersion(m_strGameDir, variant.label);
    MessageBox(variant.confirmation, L"版本转换成功提示", 0);
}
