#include "app/CvorelinDlg.h"
#include "app/SiteAddress.h"
#include "app/SwitchReport.h"
#include "app/VersionLabel.h"
#include "framework/CFileFind.h"
#include "framework/CPaintDC.h"
#include "framework/CRgn.h"
#include "framework/CWinApp.h"
#include "framework/ShellExecute.h"
#include "skin/BitmapRegion.h"
#include "switching/GameFolder.h"
#include "switching/InstalledVersion.h"
#include "switching/StoredVersion.h"
#include "switching/VirtualStore.h"
#include "switching/VersionSwitch.h"
#include <exception>

namespace {

const COLORREF kTransparentKey = RGB(255, 0, 255);
const UINT WM_APP_STARTUP_NOTICES = WM_APP + 1;

// Each skin button's pictures and placement, in the order they are placed (last placed on top).
struct ButtonSkin {
    CSkinButton CvorelinDlg::*button;
    UINT normal;
    UINT hover;
    const wchar_t* placement;
};

} // namespace

BEGIN_MESSAGE_MAP(CvorelinDlg, CDialogEx)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_BN_CLICKED(IDC_BTN_CLOSE, OnCloseButton)
    ON_BN_CLICKED(IDC_BTN_MINIMIZE, OnMinimizeButton)
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_BTN_START, OnStartGame)
    ON_BN_CLICKED(IDC_BTN_MAPS, OnOpenHomePage)
    ON_BN_CLICKED(IDC_BTN_120E, OnSwitch120E)
    ON_BN_CLICKED(IDC_BTN_124E, OnSwitch124E)
    ON_BN_CLICKED(IDC_BTN_126, OnSwitch126)
    ON_BN_CLICKED(IDC_BTN_120E4M, OnSwitch120E4M)
    ON_BN_CLICKED(IDC_BTN_124E8M, OnSwitch124E8M)
    ON_MESSAGE(WM_APP_STARTUP_NOTICES, OnStartupNotices)
END_MESSAGE_MAP()

CvorelinDlg::CvorelinDlg(CWnd* parent) : CDialogEx(IDD, parent)
{
    m_hIcon = LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    // The window is painted before the web panels exist: on Windows the first one loads the
    // HTML engine, which the user must not wait for.
    m_bDeferSetAsideItems = true;
}

void CvorelinDlg::DoDataExchange(CDataExchange* exchange)
{
    CDialogEx::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_BTN_CLOSE, m_btnClose);
    DDX_Control(exchange, IDC_BTN_MINIMIZE, m_btnMinimize);
    DDX_Control(exchange, IDC_WEB_TOP, m_webTop);
    DDX_Control(exchange, IDC_WEB_BOTTOM, m_webBottom);
    DDX_Control(exchange, IDC_BTN_START, m_btnStart);
    DDX_Control(exchange, IDC_ST_TITLE, m_stTitle);
    DDX_Control(exchange, IDC_ST_HOMEPAGE, m_stHomePage);
    DDX_Control(exchange, IDC_ST_LASTRUN, m_stLastRun);
    DDX_Control(exchange, IDC_ST_RUNCOUNT, m_stRunCount);
    DDX_Control(exchange, IDC_PIC_BOTTOM, m_picBottom);
    DDX_Control(exchange, IDC_PIC_TOP, m_picTop);
    DDX_Control(exchange, IDC_BTN_120E, m_btn120E);
    DDX_Control(exchange, IDC_BTN_124E, m_btn124E);
    DDX_Control(exchange, IDC_BTN_126, m_btn126);
    DDX_Control(exchange, IDC_BTN_120E4M, m_btn120E4M);
    DDX_Control(exchange, IDC_BTN_124E8M, m_btn124E8M);
    DDX_Control(exchange, IDC_BTN_MAPS, m_btnMaps);
    DDX_Control(exchange, IDC_ST_VERSION, m_stVersion);
}

BOOL CvorelinDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();

    m_strGameDir = GetDirectoryOfPath(AfxGetModuleFileName());
    SetWindowText(TitleText());

    // An interrupted switch is finished or undone first: war3.exe itself may be the file it had moved aside.
    // The folder's lock is then held until the label is decided, since that may write the record.
    SwitchTransaction startup(m_strGameDir);
    RecoveryResult recovery = startup.Recover();
    m_strRecoveryNotice = RecoveryText(recovery);
    LockState lock = startup.Lock();
    // While a switch runs elsewhere, or one is left unfinished, the files are neither version: the record is shown as it is.
    bool midSwitch = recovery == RecoveryResult::Busy || lock == LockState::Busy || !m_strRecoveryNotice.IsEmpty();

    CFileFind finder;
    if (!finder.FindFile(GameFolder(m_strGameDir).Path(L"war3.exe").c_str())) {
        MessageBox(CString(L"请把程序放到魔兽安装目录后使用！") + m_strGameDir, nullptr, 0);
        ExitProcess(0);
    }

    CString detected = DetectInstalledVersion(GameFolder(m_strGameDir).Path(L"game.dll").c_str());
    ModifyStyle(0, WS_SYSMENU | WS_MINIMIZEBOX);

    m_strVersionText = ReadStoredVersion(m_strGameDir);
    m_stVersion.SetWindowText(midSwitch ? m_strVersionText : DecideLabel(m_strVersionText, detected, lock == LockState::Held));

    m_bmpBackground.LoadBitmap(IDB_BACKGROUND);
    BITMAP background{};
    if (m_bmpBackground.GetBitmap(&background)) {
        m_nSkinWidth = static_cast<unsigned int>(background.bmWidth);
        m_nSkinHeight = static_cast<unsigned int>(background.bmHeight);
    }
    CDC windowDc(GetDC());
    ApplyBitmapRegion(&m_bmpBackground, &windowDc);
    SetWindowPos(HWND_TOP, 0, 0, static_cast<int>(m_nSkinWidth), static_cast<int>(m_nSkinHeight), SWP_NOMOVE);

    PlaceButtons();
    PlacePictures();
    StyleLabels();
    return TRUE;
}

void CvorelinDlg::ApplyBitmapRegion(CBitmap* bitmap, CDC* dc)
{
    BITMAP picture{};
    if (bitmap && bitmap->GetBitmap(&picture)) {
        m_nSkinWidth = static_cast<unsigned int>(picture.bmWidth);
        m_nSkinHeight = static_cast<unsigned int>(picture.bmHeight);
        CRgn region = CreateBitmapRegion(*bitmap);
        // From here on the window owns the region, but only if it took it.
        if (region.GetSafeHandle() && ::SetWindowRgn(m_hWnd, region, TRUE)) region.Detach();
    }
    ::SetForegroundWindow(m_hWnd);
    if (dc) ReleaseDC(dc->Detach());
}

void CvorelinDlg::PlaceButtons()
{
    static const ButtonSkin skins[] = {
        {&CvorelinDlg::m_btnClose, IDB_CLOSE, IDB_CLOSE_HOVER, L"440, 2, 469, 25"},
        {&CvorelinDlg::m_btnMinimize, IDB_MINIMIZE, IDB_MINIMIZE_HOVER, L"410,2,439,25"},
        {&CvorelinDlg::m_btnStart, IDB_START, IDB_START_HOVER, L"158,170,318,186"},
        {&CvorelinDlg::m_btn120E, IDB_120E, IDB_120E_HOVER, L"20,110,142,124"},
        {&CvorelinDlg::m_btn124E, IDB_124E, IDB_124E_HOVER, L"20,155,142,159"},
        {&CvorelinDlg::m_btn126, IDB_126, IDB_126_HOVER, L"20,200,142,194"},
        {&CvorelinDlg::m_btn120E4M, IDB_120E4M, IDB_120E4M_HOVER, L"330,110,432,124"},
        {&CvorelinDlg::m_btn124E8M, IDB_124E8M, IDB_124E8M_HOVER, L"330,155,432,124"},
        {&CvorelinDlg::m_btnMaps, IDB_MAPS, IDB_MAPS_HOVER, L"330,200,432,124"},
    };
    for (const ButtonSkin& skin : skins) {
        CSkinButton& button = this->*skin.button;
        button.SetSkin(skin.normal, skin.hover, skin.placement);
        button.SetWindowPos(HWND_TOP, button.m_rcPlacement.left, button.m_rcPlacement.top, button.m_nWidth,
                            button.m_nHeight, SWP_SHOWWINDOW);
    }
}

void CvorelinDlg::PlacePictures()
{
    m_picTop.SetWindowPos(HWND_TOP, 7, 26, 462, 60, SWP_SHOWWINDOW);
    m_picBottom.SetWindowPos(HWND_TOP, 7, 256, 462, 230, SWP_SHOWWINDOW);
}

void CvorelinDlg::PlacePanels()
{
    // Each panel lies exactly over its picture and under the labels, the bottom one above the top one;
    // its site shows it once its page has loaded.
    m_webTop.SetWindowPos(m_stTitle, 7, 26, 462, 60, SWP_NOACTIVATE);
    m_webBottom.SetWindowPos(m_stTitle, 7, 256, 462, 230, SWP_NOACTIVATE);
}

void CvorelinDlg::OnSetAsideItemsCreated()
{
    PlacePanels();
    NavigatePanels();
    // Start-up's words come over the whole window, once it is painted.
    PostMessage(WM_APP_STARTUP_NOTICES, 0, 0);
}

void CvorelinDlg::StyleLabels()
{
    m_stTitle.SetWindowText(TitleText());
    m_stTitle.SetStyle(L"Arial", L"16", L"#FFFFFF", L"left");
    m_stTitle.SetPlacement(L"5,5,500,50");
    m_stTitle.m_nFontWeight = FW_BOLD;
    m_stTitle.SetWindowPos(HWND_TOP, 5, 5, 500, 50, SWP_SHOWWINDOW);

    m_stVersion.SetStyle(L"Arial", L"18", L"#660000", L"center");
    m_stVersion.SetPlacement(L"155,130,320,50");
    m_stVersion.m_nFontWeight = FW_BOLD;
    m_stVersion.SetWindowPos(HWND_TOP, 155, 130, 300, 50, SWP_SHOWWINDOW);
}

BOOL CvorelinDlg::OnEraseBkgnd(CDC* dc)
{
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CSelectGuard select(memory, m_bmpBackground.GetSafeHandle());
    // Only the part being repainted: the transparent copy works through every pixel it is given,
    // and the label's repaint after a switch would otherwise redo the whole picture.
    RECT part{0, 0, static_cast<int>(m_nSkinWidth), static_cast<int>(m_nSkinHeight)};
    RECT clip;
    if (::GetClipBox(dc->GetSafeHdc(), &clip) != ERROR && !::IntersectRect(&part, &part, &clip)) return TRUE;
    int width = part.right - part.left;
    int height = part.bottom - part.top;
    dc->TransparentBlt(part.left, part.top, width, height, &memory, part.left, part.top, width, height, kTransparentKey);
    return TRUE;
}

void CvorelinDlg::NavigatePanels()
{
    m_webTop.Navigate(AdServerAddress() + L"/gg/3.htm", nullptr, nullptr, nullptr, nullptr);
    m_webBottom.Navigate(AdServerAddress() + L"/gg/4.htm", nullptr, nullptr, nullptr, nullptr);
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

void CvorelinDlg::OnSize(UINT, int, int)
{
    Default();
}

void CvorelinDlg::OnLButtonDown(UINT, POINT point)
{
    // Taken as a press on a title bar: the system moves the window until the button comes up.
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    Default();
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

HBRUSH CvorelinDlg::OnCtlColor(CDC*, CWnd*, UINT)
{
    return m_brushWhite;
}

void CvorelinDlg::OnStartGame()
{
    // The game's own folder as its working directory, wherever the launcher was started from;
    // the trailing backslash keeps a bare drive ("C:") from meaning that drive's current folder.
    GameFolder folder(m_strGameDir);
    CString game = folder.Shown(L"war3.exe");
    // The shell would open a folder of that name in a window of its own and call that success.
    DWORD attributes = GetFileAttributesW(folder.Path(L"war3.exe").c_str());
    int error = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? ERROR_DIRECTORY : 0;
    if (!error && AfxShellExecute(L"open", game, L"", folder.Root(), SW_SHOW, &error)) ExitProcess(0);
    // Ending as if the game had started would leave the player with nothing.
    MessageBox(GameStartFailedText(game, error), L"启动游戏失败", MB_OK | MB_ICONERROR);
}

void CvorelinDlg::OnOpenHomePage()
{
    AfxShellExecute(L"open", HomePageAddress(), nullptr, nullptr, SW_SHOW);
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
    SwitchOutcome outcome;
    std::exception_ptr failure;
    try {
        VersionSwitch(m_strGameDir).Run(variant, outcome);
    } catch (...) {
        // What came before the failure is told first; the framework then reports the failure.
        failure = std::current_exception();
    }
    for (const SwitchNotice& notice : SwitchNotices(outcome)) {
        if (MessageBox(notice.text, notice.caption, notice.type) == IDYES && notice.offersElevation &&
            AfxShellExecute(L"runas", AfxGetModuleFileName(), nullptr, GameFolder(m_strGameDir).Root(), SW_SHOW))
            ExitProcess(0);
    }
    if (failure) std::rethrow_exception(failure);
    // A switch that did not commit has told the user why; the files, label and record keep the old version.
    if (!outcome.Complete()) return;
    if (!outcome.vanished.empty()) {
        // The files, not the button, say which version this is now.
        SwitchTransaction guard(m_strGameDir);
        ShowLabel(DecideLabel(CString(), DetectInstalledVersion(GameFolder(m_strGameDir).Path(L"game.dll").c_str()), guard.Lock() == LockState::Held));
        MessageBox(VanishedText(outcome.vanished), kUnfinishedCaption, MB_OK | MB_ICONERROR);
        return;
    }

    // The record was written with the commit; the label follows it.
    ShowLabel(variant.label);
    MessageBox(ConfirmationText(variant, outcome), L"版本转换成功提示", 0);
    CheckVirtualStore();
}

void CvorelinDlg::ShowLabel(const CString& label)
{
    m_stVersion.SetWindowText(label);
    RECT area{};
    m_stVersion.GetWindowRect(&area);
    ScreenToClient(&area);
    InvalidateRect(&area, true);
    UpdateWindow();
}

CString CvorelinDlg::DecideLabel(const CString& record, const CString& detected, bool mayRecord)
{
    LabelDecision decision = InstalledVersion(m_strGameDir).DecideLabel(record, detected, mayRecord);
    if (decision.unmatched) m_strRepairNotice = RepairText(*decision.unmatched, decision.differing);
    return decision.label;
}

void CvorelinDlg::CheckVirtualStore()
{
    // Most folders have no shadow at all: then the packages are not even listed.
    std::wstring shadow = VirtualStoreFolder(m_strGameDir);
    if (shadow.empty() || GetFileAttributesW(shadow.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    std::vector<std::wstring> copies = FindVirtualStoreCopies(m_strGameDir, VersionSwitch(m_strGameDir).KnownEntries());
    if (copies.empty() || MessageBox(VirtualStoreQuestion(copies), kCheckCaption, MB_YESNO | MB_ICONWARNING) != IDYES)
        return;
    std::vector<std::wstring> left = RemoveVirtualStoreCopies(copies);
    if (!left.empty()) MessageBox(VirtualStoreLeftText(left), kCheckCaption, MB_OK | MB_ICONERROR);
}

LRESULT CvorelinDlg::OnStartupNotices(WPARAM, LPARAM)
{
    if (!m_strRecoveryNotice.IsEmpty()) MessageBox(m_strRecoveryNotice, kUnfinishedCaption, MB_OK | MB_ICONWARNING);
    m_strRecoveryNotice = CString();
    if (!m_strRepairNotice.IsEmpty()) MessageBox(m_strRepairNotice, kCheckCaption, MB_OK | MB_ICONWARNING);
    m_strRepairNotice = CString();
    CheckVirtualStore();
    return 0;
}
