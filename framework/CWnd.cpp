#include "framework/CWnd.h"
#include "framework/CException.h"
#include "framework/CWinApp.h"
#include "framework/COccManager.h"
#include "framework/COleControlContainer.h"
#include "framework/COleControlSite.h"
#include <memory>
#include <utility>
#include <new>
#include <unordered_map>

namespace {

// One user-interface thread: the maps and the message being handled are plain globals.
std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

std::unordered_map<HWND, std::unique_ptr<CWnd>>& TemporaryMap()
{
    static std::unordered_map<HWND, std::unique_ptr<CWnd>> map;
    return map;
}

struct CurrentMessage {
    CWnd* wnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
CurrentMessage g_current{};
int g_dispatchDepth = 0;

CWnd* g_wndInit = nullptr;
HHOOK g_createHook = nullptr;

// A borrowed wrapper: it must never unsubclass or forget a window it does not own.
class CTempWnd : public CWnd {
public:
    explicit CTempWnd(HWND hWnd) { m_hWnd = hWnd; }
    ~CTempWnd() override { m_hWnd = nullptr; }
};

// The system creates a thread's input-method window ahead of its first window of its own.
bool IsImeWindow(HWND hWnd)
{
    wchar_t name[16] = L"";
    GetClassNameW(hWnd, name, 16);
    return lstrcmpiW(name, L"IME") == 0;
}

// The kind of a WM_CTLCOLOR* request is its offset from the first of them.
AFX_CTLCOLOR ControlColorRequest(UINT message, WPARAM wParam, LPARAM lParam)
{
    return {reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
}

LRESULT CALLBACK CreateHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && g_wndInit && !IsImeWindow(reinterpret_cast<HWND>(wParam))) {
        CWnd* wnd = g_wndInit;
        g_wndInit = nullptr;
        bool bound = wnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
        // Only that one window was wanted: a hook left in place for the dialog's whole life
        // would see every window and box the dialog opens.
        HHOOK hook = g_createHook;
        g_createHook = nullptr;
        // A window that its object could not bind would run without it: its creation is refused.
        LRESULT result = bound ? CallNextHookEx(hook, code, wParam, lParam) : TRUE;
        UnhookWindowsHookEx(hook);
        return result;
    }
    return CallNextHookEx(g_createHook, code, wParam, lParam);
}

} // namespace

CWnd::~CWnd()
{
    DestroyControlContainer();
    if (m_pCtrlSite) m_pCtrlSite->m_pWndCtrl = nullptr;
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        UnsubclassWindow();
        Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto found = PermanentMap().find(hWnd);
    return found == PermanentMap().end() ? nullptr : found->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd) return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hWnd)) return wnd;
    auto& temporaries = TemporaryMap();
    auto found = temporaries.find(hWnd);
    if (found != temporaries.end()) return found->second.get();
    CWnd* wnd = new (std::nothrow) CTempWnd(hWnd);
    if (!wnd) return nullptr;
    temporaries.emplace(hWnd, std::unique_ptr<CWnd>(wnd));
    return wnd;
}

bool CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd)) return false;
    PermanentMap()[hWnd] = this;
    TemporaryMap().erase(hWnd);
    m_hWnd = hWnd;
    return true;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd && FromHandlePermanent(hWnd) == this) PermanentMap().erase(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

bool CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd)) return false;
    PreSubclassWindow();
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (!previous) {
        Detach();
        return false;
    }
    if (previous != &AfxWndProc) m_pfnSuper = previous;
    return true;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper && m_hWnd &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == &AfxWndProc) {
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    return Detach();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper) return CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    if (g_current.wnd != this) return 0;
    return DefWindowProc(g_current.message, g_current.wParam, g_current.lParam);
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_COMMAND: {
        CWnd* child = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
        if (child && child != this && child->OnChildNotify(message, wParam, lParam, result)) return true;
        // Menus (code 0) and accelerators (code 1) send no control window: both are commands.
        UINT code = lParam ? HIWORD(wParam) : 0;
        return Dispatch(WM_COMMAND, code, LOWORD(wParam), wParam, lParam, result);
    }
    case WM_DRAWITEM: {
        // The child is found from the item's window handle, never from its control id.
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        CWnd* child = item && item->CtlType != ODT_MENU ? FromHandlePermanent(item->hwndItem) : nullptr;
        if (child && child != this && child->OnChildNotify(message, wParam, lParam, result)) return true;
        break;
    }
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: {
        AFX_CTLCOLOR request = ControlColorRequest(message, wParam, lParam);
        CWnd* child = FromHandlePermanent(request.hWnd);
        LRESULT brush = 0;
        if (child && child != this && child->OnChildNotify(message, wParam, lParam, &brush) && brush) {
            *result = brush;
            return true;
        }
        return Dispatch(AFX_WM_CTLCOLOR, 0, 0, wParam, reinterpret_cast<LPARAM>(&request), result);
    }
    default:
        break;
    }
    return Dispatch(message, 0, 0, wParam, lParam, result);
}

bool CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectChildNotify(message, wParam, lParam, result);
}

bool CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_COMMAND: {
        LRESULT taken = FALSE;
        if (!Dispatch(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0, wParam, lParam, &taken) || !taken) return false;
        *result = 0;
        return true;
    }
    case WM_DRAWITEM:
        return Dispatch(WM_REFLECT_BASE + WM_DRAWITEM, 0, 0, wParam, lParam, result);
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: {
        AFX_CTLCOLOR request = ControlColorRequest(message, wParam, lParam);
        return Dispatch(WM_REFLECT_BASE + AFX_WM_CTLCOLOR, 0, 0, wParam, reinterpret_cast<LPARAM>(&request), result);
    }
    default:
        return false;
    }
}

POINT CWnd::PointFromLParam(LPARAM lParam)
{
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return point;
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return FromHandle(::GetDlgItem(m_hWnd, id));
}

void CWnd::GetWindowText(CString& text) const
{
    int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0) {
        text = CString();
        return;
    }
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(m_hWnd, &buffer[0], length + 1);
    buffer.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    text = CString(std::move(buffer));
}

bool CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    return ModifyWindowLong(GWL_STYLE, remove, add, flags);
}

bool CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags)
{
    return ModifyWindowLong(GWL_EXSTYLE, remove, add, flags);
}

bool CWnd::ModifyWindowLong(int index, DWORD remove, DWORD add, UINT flags)
{
    if (!m_hWnd) return false;
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, index));
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return false;
    ::SetWindowLongPtrW(m_hWnd, index, static_cast<LONG_PTR>(changed));
    if (flags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return true;
}

void CWnd::GetWindowRect(RECT* rect) const
{
    if (!rect) return;
    if (!::GetWindowRect(m_hWnd, rect)) SetRectEmpty(rect);
}

void CWnd::GetClientRect(RECT* rect) const
{
    if (!rect) return;
    if (!::GetClientRect(m_hWnd, rect)) SetRectEmpty(rect);
}

void CWnd::ScreenToClient(RECT* rect) const
{
    if (!rect) return;
    POINT corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    ::ScreenToClient(m_hWnd, &corners[0]);
    ::ScreenToClient(m_hWnd, &corners[1]);
    *rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    // Mirrored layout turns the corners round.
    if (GetExStyle() & WS_EX_LAYOUTRTL) std::swap(rect->left, rect->right);
}

int CWnd::MessageBox(const wchar_t* text, const wchar_t* caption, UINT type) const
{
    CWinApp* app = AfxGetApp();
    CString appName = app ? app->m_strAppName : CString();
    return ::MessageBoxW(m_hWnd, text ? text : L"", caption ? caption : static_cast<const wchar_t*>(appName), type);
}

void CWnd::CenterWindow()
{
    if (!m_hWnd) return;
    RECT window;
    GetWindowRect(&window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT area;
    if (GetMonitorInfoW(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        area = monitor.rcWork;
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    // Centred over a visible owner when there is one, else on the work area; kept on the work area.
    RECT centre = area;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &centre);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    int x = (centre.left + centre.right) / 2 - width / 2;
    int y = (centre.top + centre.bottom) / 2 - height / 2;
    if (x + width > area.right) x = area.right - width;
    if (x < area.left) x = area.left;
    if (y + height > area.bottom) y = area.bottom - height;
    if (y < area.top) y = area.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CWnd::DestroyWindow()
{
    return m_hWnd && ::DestroyWindow(m_hWnd) != FALSE;
}

void CWnd::DestroyControlContainer()
{
    COleControlContainer* container = m_pCtrlCont;
    m_pCtrlCont = nullptr;
    delete container;
}

bool CWnd::WalkPreTranslateTree(HWND stop, MSG* message)
{
    for (HWND hWnd = message->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(message)) return true;
        if (hWnd == stop) break;
    }
    return false;
}

bool CWnd::Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id, void*)
{
    if (m_hWnd) return false;
    AfxHookWindowCreate(this);
    HWND created = ::CreateWindowExW(0, className, windowName ? windowName : L"", style, rect.left, rect.top,
                                     rect.right - rect.left, rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AfxGetInstanceHandle(), nullptr);
    AfxUnhookWindowCreate();
    if (!created && m_hWnd) UnsubclassWindow();
    return created != nullptr;
}

bool CWnd::CreateControl(const CLSID& clsid, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                         UINT id)
{
    COccManager* manager = AfxGetOccManager();
    if (!manager || !parent || !parent->m_hWnd || m_hWnd || m_pCtrlSite) return false;
    if (!parent->m_pCtrlCont) parent->m_pCtrlCont = manager->CreateContainer(parent);
    DialogTemplateItem item;
    item.id = id;
    item.style = style;
    COleControlSite* site = manager->CreateSite(parent->m_pCtrlCont, item);
    if (!site) return false;
    if (FAILED(site->CreateControl(clsid, windowName, style, rect, id, nullptr))) site->DestroyControl();
    if (!parent->m_pCtrlCont->AddSite(site)) return false;
    if (site->m_hWnd) SubclassWindow(site->m_hWnd);
    m_pCtrlSite = site;
    site->m_pWndCtrl = this;
    return true;
}

void CWnd::InvokeHelperV(DISPID dispid, WORD flags, VARTYPE returnType, void* result, const BYTE* paramInfo,
                         const void* const* args)
{
    if (m_pCtrlSite) m_pCtrlSite->InvokeHelperV(dispid, flags, returnType, result, paramInfo, args);
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (!wnd) return ::DefWindowProcW(hWnd, message, wParam, lParam);
    CurrentMessage saved = g_current;
    g_current = {wnd, message, wParam, lParam};
    ++g_dispatchDepth;
    LRESULT result = 0;
    // Nothing may unwind through user32: exceptions stop here, as they do in the dialog procedure,
    // WinMain and the COM guard.
    try {
        result = wnd->WindowProc(message, wParam, lParam);
        // Hosted controls go while their windows are still there to be deactivated.
        if (message == WM_DESTROY) wnd->DestroyControlContainer();
    } catch (...) {
        AfxReportCurrentException();
        result = 0;
    }
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == wnd) wnd->UnsubclassWindow();
    g_current = saved;
    if (--g_dispatchDepth == 0) TemporaryMap().clear();
    return result;
}

void AfxHookWindowCreate(CWnd* wnd)
{
    g_wndInit = wnd;
    if (!g_createHook) g_createHook = SetWindowsHookExW(WH_CBT, CreateHookProc, nullptr, GetCurrentThreadId());
}

bool AfxUnhookWindowCreate()
{
    bool hooked = g_wndInit == nullptr;
    g_wndInit = nullptr;
    if (g_createHook) {
        UnhookWindowsHookEx(g_createHook);
        g_createHook = nullptr;
    }
    return hooked;
}

void AfxReportCurrentException()
{
    try {
        try {
            throw;
        } catch (const CException& e) {
            e.ReportError();
        } catch (const std::bad_alloc&) {
            CMemoryException().ReportError();
        } catch (...) {
            CException().ReportError();
        }
    } catch (...) {
        // Reporting itself failed (no memory for the box): the command still ends quietly.
    }
}
