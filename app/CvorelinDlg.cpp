#include "app/CvorelinDlg.h"
#include "app/ReplayAssociation.h"
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
#include "switching/ReplayHeader.h"
#include "switching/ReplayTrip.h"
#include "switching/ReplayVersion.h"
#include "switching/StoredVersion.h"
#include "switching/VirtualStore.h"
#include "switching/VersionSwitch.h"
#include <commdlg.h>
#include <shellapi.h>
#include <exception>

namespace {

const COLORREF kTransparentKey = RGB(255, 0, 255);
const UINT WM_APP_STARTUP_NOTICES = WM_APP + 1;
const UINT WM_APP_FOREGROUND = WM_APP + 2;
const UINT_PTR kGameTimer = 1;

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
    ON_MESSAGE(WM_APP_FOREGROUND, OnForeground)
    ON_WM_TIMER()
    ON_MESSAGE(WM_CONTEXTMENU, OnContextMenuMessage)
    ON_MESSAGE(WM_DROPFILES, OnDropFiles)
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

    ModifyStyle(0, WS_SYSMENU | WS_MINIMIZEBOX);

    m_strVersionText = ReadStoredVersion(m_strGameDir);
    m_strShownLabel = midSwitch ? m_strVersionText : DecideLabel(m_strVersionText, lock == LockState::Held);
    m_stVersion.SetWindowText(m_strShownLabel);
    // What DragAcceptFiles does, without loading the shell before the window shows.
    ModifyStyleEx(0, WS_EX_ACCEPTFILES);

    m_bmpBackground.LoadBitmap(IDB_BACKGROUND);
    BITMAP background{};
    if (m_bmpBackground.GetBitmap(&background)) {
        m_nSkinWidth = static_cast<unsigned int>(background.bmWidth);
        m_nSkinHeight = static_cast<unsigned int>(background.bmHeight);
    }
    CDC windowDc(GetDC());
    ApplyBitmapRegion(&m_bmpBackground, &windowDc);
    // Not activated yet: its showing does that, and the user should not wait for it before the window is up.
    SetWindowPos(HWND_TOP, 0, 0, static_cast<int>(m_nSkinWidth), static_cast<int>(m_nSkinHeight),
                 SWP_NOMOVE | SWP_NOACTIVATE);

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
    // A window not yet shown is activated by its showing: asking now would only make the user wait for
    // the activation of a window nobody sees. It is asked for once the window is up.
    if (::IsWindowVisible(m_hWnd)) ::SetForegroundWindow(m_hWnd);
    else PostMessage(WM_APP_FOREGROUND, 0, 0);
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
    // Only the part being repainted: the transparent copy works through every pixel it is given,
    // and the label's repaint after a switch would otherwise redo the whole picture.
    RECT part{0, 0, static_cast<int>(m_nSkinWidth), static_cast<int>(m_nSkinHeight)};
    RECT clip;
    if (::GetClipBox(dc->GetSafeHdc(), &clip) != ERROR && !::IntersectRect(&part, &part, &clip)) return TRUE;
    int width = part.right - part.left;
    int height = part.bottom - part.top;
    m_keyedBackground.Draw(*dc, part.left, part.top, width, height, m_bmpBackground, part.left, part.top,
                           kTransparentKey);
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

bool CvorelinDlg::SwitchTo(const VersionVariant& variant, bool confirm)
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
    if (!outcome.Complete()) return false;
    if (!outcome.vanished.empty()) {
        // The files, not the button, say which version this is now.
        SwitchTransaction guard(m_strGameDir);
        ShowLabel(DecideLabel(CString(), guard.Lock() == LockState::Held));
        MessageBox(VanishedText(outcome.vanished), kUnfinishedCaption, MB_OK | MB_ICONERROR);
        return false;
    }

    // The record was written with the commit; the label follows it.
    ShowLabel(variant.label);
    if (!confirm) return true;
    MessageBox(ConfirmationText(variant, outcome), L"版本转换成功提示", 0);
    CheckVirtualStore();
    return true;
}

void CvorelinDlg::ShowLabel(const CString& label)
{
    m_strShownLabel = label;
    m_stVersion.SetWindowText(label);
    RECT area{};
    m_stVersion.GetWindowRect(&area);
    ScreenToClient(&area);
    InvalidateRect(&area, true);
    UpdateWindow();
}

CString CvorelinDlg::DecideLabel(const CString& record, bool mayRecord)
{
    CString gameDll(GameFolder(m_strGameDir).Path(L"game.dll").c_str());
    LabelDecision decision = InstalledVersion(m_strGameDir).DecideLabel(record, [&] { return DetectInstalledVersion(gameDll); }, mayRecord);
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

LRESULT CvorelinDlg::OnForeground(WPARAM, LPARAM)
{
    ::SetForegroundWindow(m_hWnd);
    return 0;
}

LRESULT CvorelinDlg::OnStartupNotices(WPARAM, LPARAM)
{
    if (!m_strRecoveryNotice.IsEmpty()) MessageBox(m_strRecoveryNotice, kUnfinishedCaption, MB_OK | MB_ICONWARNING);
    m_strRecoveryNotice = CString();
    if (!m_strRepairNotice.IsEmpty()) MessageBox(m_strRepairNotice, kCheckCaption, MB_OK | MB_ICONWARNING);
    m_strRepairNotice = CString();
    CheckVirtualStore();
    OfferToEndEarlierTrip();
    if (!m_strReplayAtStart.IsEmpty()) OpenReplay(m_strReplayAtStart);
    return 0;
}

void CvorelinDlg::OpenReplay(const CString& path)
{
    if (m_game) return;  // one replay at a time
    ReplayHeader replay = ReadReplayHeader(path);
    CString refusal = ReplayRefusalText(replay, path);
    if (!refusal.IsEmpty()) {
        MessageBox(refusal, kReplayCaption, MB_OK | MB_ICONERROR);
        return;
    }
    const VersionVariant* base = ReplayBaseVariant(replay.version);
    const VersionVariant* installed = InstalledVersion::VariantOfLabel(m_strShownLabel);
    if (!installed) {
        MessageBox(UnknownVersionForReplayText(*base), kReplayCaption, MB_OK | MB_ICONERROR);
        return;
    }
    GameFolder folder(m_strGameDir);
    const bool switching = !PlaysReplaysOf(*installed, replay.version);
    // Written before anything changes, so that a launcher ended from here on leaves word to go back.
    DWORD error = ReplayTrip{installed->label}.Write(folder);
    if (error) {
        MessageBox(ReplayTripUnwrittenText(error), kReplayCaption, MB_OK | MB_ICONERROR);
        return;
    }
    if (switching && !SwitchTo(*base, false)) {
        ReplayTrip::Remove(folder);
        return;
    }
    m_tripEarlier = switching ? installed : nullptr;

    CString forGame;
    error = ReplayPathForGame(folder, path, replay.offset, forGame);
    PROCESS_INFORMATION game{};
    if (!error) {
        // The game's own folder as its working directory, as for a start from the button.
        std::wstring command = L"\"" + folder.Shown(L"war3.exe").Str() + L"\" -loadfile \"" + forGame.Str() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(folder.Path(L"war3.exe").c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                            folder.Root(), &startup, &game))
            error = GetLastError();
    }
    if (error) {
        const VersionVariant* back = m_tripEarlier;
        bool restored = EndReplayTrip();
        MessageBox(ReplayNotStartedText(folder.Shown(L"war3.exe"), error, restored ? back : nullptr), kReplayCaption,
                   MB_OK | MB_ICONERROR);
        return;
    }
    CloseHandle(game.hThread);
    m_game.Attach(game.hProcess);
    CString playing = ReplayPlayingText(path, *(switching ? base : installed), m_tripEarlier);
    SetWindowText(playing);
    m_stTitle.SetWindowText(playing);
    ShowWindow(SW_MINIMIZE);
    ::SetTimer(m_hWnd, kGameTimer, 250, nullptr);
}

void CvorelinDlg::OnTimer(UINT_PTR id)
{
    if (id != kGameTimer || !m_game || WaitForSingleObject(m_game, 0) == WAIT_TIMEOUT) return;
    ::KillTimer(m_hWnd, kGameTimer);
    m_game.Close();
    SetWindowText(TitleText());
    m_stTitle.SetWindowText(TitleText());
    bool restored = EndReplayTrip();
    // Opened from Explorer, the launcher's work ends with the trip; opened from the window, the window stays.
    if (restored && !m_strReplayAtStart.IsEmpty()) {
        EndDialog(IDOK);
        return;
    }
    ShowWindow(SW_RESTORE);
}

bool CvorelinDlg::EndReplayTrip()
{
    if (m_tripEarlier && !SwitchTo(*m_tripEarlier, false)) return false;
    m_tripEarlier = nullptr;
    ReplayTrip::Remove(GameFolder(m_strGameDir));
    return true;
}

void CvorelinDlg::OfferToEndEarlierTrip()
{
    GameFolder folder(m_strGameDir);
    ReplayTrip trip;
    if (!trip.Read(folder)) return;
    const VersionVariant* earlier = InstalledVersion::VariantOfLabel(trip.earlier);
    if (earlier && trip.earlier != m_strShownLabel &&
        MessageBox(EarlierTripQuestion(*earlier, m_strShownLabel), kReplayCaption, MB_YESNO | MB_ICONQUESTION) == IDYES &&
        !SwitchTo(*earlier))
        return;  // the boxes said why; the next start asks again
    ReplayTrip::Remove(folder);
}

LRESULT CvorelinDlg::OnContextMenuMessage(WPARAM, LPARAM lParam)
{
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (lParam == static_cast<LPARAM>(-1)) {  // from the keyboard: at the window's corner
        RECT window{};
        GetWindowRect(&window);
        at = {window.left + 20, window.top + 20};
    }
    ReplayAssociation association(AfxGetModuleFileName());
    HMENU menu = CreatePopupMenu();
    if (!menu) return 0;
    AppendMenuW(menu, MF_STRING, IDM_OPEN_REPLAY, L"打开录像...");
    AppendMenuW(menu, MF_STRING | (association.IsAssociated() ? MF_CHECKED : MF_UNCHECKED), IDM_ASSOCIATE_REPLAYS,
                L"双击录像文件时用本程序播放");
    UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
    DestroyMenu(menu);
    if (chosen == IDM_OPEN_REPLAY) {
        wchar_t file[MAX_PATH * 4] = L"";
        OPENFILENAMEW open{};
        open.lStructSize = sizeof open;
        open.hwndOwner = m_hWnd;
        open.lpstrFilter = L"魔兽争霸 III 录像 (*.w3g;*.nwg)\0*.w3g;*.nwg\0所有文件 (*.*)\0*.*\0";
        open.lpstrFile = file;
        open.nMaxFile = sizeof file / sizeof file[0];
        open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (GetOpenFileNameW(&open)) OpenReplay(file);
    } else if (chosen == IDM_ASSOCIATE_REPLAYS) {
        bool done = association.IsAssociated() ? association.Unassociate() : association.Associate();
        if (!done) MessageBox(L"无法更改录像文件的打开方式。", kReplayCaption, MB_OK | MB_ICONERROR);
    }
    return 0;
}

LRESULT CvorelinDlg::OnDropFiles(WPARAM wParam, LPARAM)
{
    HDROP drop = reinterpret_cast<HDROP>(wParam);
    wchar_t file[MAX_PATH * 4] = L"";
    UINT length = DragQueryFileW(drop, 0, file, sizeof file / sizeof file[0]);
    DragFinish(drop);
    if (length > 0 && length < sizeof file / sizeof file[0]) OpenReplay(file);
    return 0;
}
