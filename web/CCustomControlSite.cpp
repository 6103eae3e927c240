#include "web/CCustomControlSite.h"
#include "framework/AfxComGuard.h"
#include "framework/ShellExecute.h"
#include "web/HostAccelerator.h"
#include "web/PanelNavigation.h"
#include <exdisp.h>
#include <exdispid.h>
#include <mshtmdid.h>

// The system's uuid library lacks the show-UI id; the header's own declaration gives both.
BEGIN_INTERFACE_MAP(CCustomControlSite, COleControlSite)
    INTERFACE_PART(__uuidof(IDocHostShowUI), m_xDocHostShowUI)
    INTERFACE_PART(__uuidof(IDocHostUIHandler), m_xDocHostUIHandler)
END_INTERFACE_MAP()

namespace {

// An event's argument as text: a string, or a reference to a variant holding one.
CString TextOf(const VARIANT& arg)
{
    const VARIANT* value = V_VT(&arg) == (VT_VARIANT | VT_BYREF) ? V_VARIANTREF(&arg) : &arg;
    if (value && V_VT(value) == VT_BSTR && V_BSTR(value)) return CString(V_BSTR(value));
    return CString();
}

VARIANT_BOOL* CancelOf(const VARIANT& arg)
{
    return V_VT(&arg) == (VT_BOOL | VT_BYREF) ? V_BOOLREF(&arg) : nullptr;
}

} // namespace

CCustomControlSite::CCustomControlSite(COleControlContainer* container)
    : COleControlSite(container),
      m_openInBrowser([](const CString& address) { AfxShellExecute(L"open", address, nullptr, nullptr, SW_SHOW); })
{
    m_iidEvents = DIID_DWebBrowserEvents2;
}

HRESULT CCustomControlSite::CreateControl(const CLSID& clsid, const wchar_t* windowName, DWORD style,
                                          const RECT& rect, UINT id, const std::vector<unsigned char>* state)
{
    // Until a page has loaded, the window's own picture beneath shows instead of a blank panel.
    return COleControlSite::CreateControl(clsid, windowName, style & ~WS_VISIBLE, rect, id, state);
}

bool CCustomControlSite::GetAmbientProp(DISPID dispid, VARIANT* value)
{
    if (dispid != DISPID_AMBIENT_DLCONTROL) return COleControlSite::GetAmbientProp(dispid, value);
    // Pictures, video and sounds for the ads; no plug-ins, applets, behaviours, frame downloads or
    // script-error boxes.
    V_VT(value) = VT_I4;
    V_I4(value) = DLCTL_NO_DLACTIVEXCTLS | DLCTL_NO_RUNACTIVEXCTLS | DLCTL_NO_JAVA | DLCTL_NO_BEHAVIORS |
                  DLCTL_NO_FRAMEDOWNLOAD | DLCTL_DLIMAGES | DLCTL_VIDEOS | DLCTL_BGSOUNDS | DLCTL_SILENT;
    return true;
}

void CCustomControlSite::OnEvent(DISPID dispid, DISPPARAMS* params)
{
    if (!params || (params->cArgs && !params->rgvarg)) return;
    const VARIANT* args = params->rgvarg;
    switch (dispid) {
    case DISPID_BEFORENAVIGATE2:
        if (params->cArgs == 7) OnBeforeNavigate2(args[6], TextOf(args[5]), CancelOf(args[0]));
        break;
    case DISPID_NEWWINDOW2:
        if (params->cArgs == 2) OnNewWindow(dispid, m_pendingAddress, CancelOf(args[0]));
        break;
    case DISPID_NEWWINDOW3:
        if (params->cArgs == 5) OnNewWindow(dispid, TextOf(args[0]), CancelOf(args[3]));
        break;
    case DISPID_NAVIGATECOMPLETE2:
        m_pendingAddress = CString();
        break;
    case DISPID_NAVIGATEERROR:
        m_pendingAddress = CString();
        if (params->cArgs == 5) OnNavigateError(args[4], CancelOf(args[0]));
        break;
    case DISPID_DOCUMENTCOMPLETE:
        if (params->cArgs == 2) OnDocumentComplete(args[1], TextOf(args[0]));
        break;
    default:
        break;
    }
}

void CCustomControlSite::OnBeforeNavigate2(const VARIANT& browser, const CString& address, VARIANT_BOOL* cancel)
{
    m_handedNewWindow = 0;
    const bool topLevel = IsThisControl(browser);
    if (StaysInPanel(address, m_panelHost, topLevel)) {
        m_pendingAddress = address;
        if (topLevel) m_load.OnNavigate();
        return;
    }
    // A navigation that cannot be stopped is left alone rather than shown twice.
    if (!cancel) return;
    *cancel = VARIANT_TRUE;
    OpenInBrowser(address);
}

void CCustomControlSite::OnNewWindow(DISPID kind, const CString& address, VARIANT_BOOL* cancel)
{
    if (!cancel) return;
    *cancel = VARIANT_TRUE;
    // The control may ask for one window with both events, one after the other: one browser
    // window is enough.
    const bool twin = m_handedNewWindow && m_handedNewWindow != kind;
    m_handedNewWindow = 0;
    if (twin || address.IsEmpty()) return;
    OpenInBrowser(address);
    m_handedNewWindow = kind;
}

void CCustomControlSite::OnNavigateError(const VARIANT& browser, VARIANT_BOOL* cancel)
{
    // The control's own "cannot be displayed" page would otherwise come up in the panel or a frame.
    if (cancel) *cancel = VARIANT_TRUE;
    if (!IsThisControl(browser)) return;
    m_load.OnError();
    ShowLoadedPage();
}

void CCustomControlSite::OnDocumentComplete(const VARIANT& browser, const CString& address)
{
    // Each frame completes on its own, before its page: only the page's completion counts.
    if (!IsThisControl(browser)) return;
    m_load.OnComplete(IsPanelPage(address, m_panelHost));
    ShowLoadedPage();
}

void CCustomControlSite::ShowLoadedPage()
{
    // Without activating it: a page that loads late must not take the focus from the window.
    if (m_hWnd) ::ShowWindow(m_hWnd, m_load.Shown() ? SW_SHOWNA : SW_HIDE);
}

// A frame's navigation names the frame's browser; the panel's own names the control.
bool CCustomControlSite::IsThisControl(const VARIANT& browser) const
{
    if (V_VT(&browser) != VT_DISPATCH || !V_DISPATCH(&browser) || !m_pObject) return true;
    CComPtr<IUnknown> named, control;
    V_DISPATCH(&browser)->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&named));
    m_pObject->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&control));
    return !named || named.Get() == control.Get();
}

void CCustomControlSite::OpenInBrowser(const CString& address) const
{
    if (OpensInBrowser(address) && m_openInBrowser) m_openInBrowser(address);
}

// IDocHostShowUI

STDMETHODIMP CCustomControlSite::XDocHostShowUI::ShowMessage(HWND window, LPOLESTR text, LPOLESTR, DWORD, LPOLESTR,
                                                             DWORD, LRESULT*)
{
    return AfxComGuard([&] {
        // The page's caption and box type are not used: always the launcher's own error box.
        CString message(text);
        ::MessageBoxW(window, message, kMessageCaption, MB_ICONERROR | MB_OK);
        return S_OK;
    });
}

STDMETHODIMP CCustomControlSite::XDocHostShowUI::ShowHelp(HWND, LPOLESTR, UINT, DWORD, POINT, IDispatch*)
{
    return S_OK;
}

// IDocHostUIHandler

STDMETHODIMP CCustomControlSite::XDocHostUIHandler::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*)
{
    return S_OK;
}

STDMETHODIMP CCustomControlSite::XDocHostUIHandler::GetHostInfo(DOCHOSTUIINFO* info)
{
    if (!info) return E_POINTER;
    info->dwFlags = DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_DISABLE_HELP_MENU | DOCHOSTUIFLAG_NO3DBORDER |
                    DOCHOSTUIFLAG_SCROLL_NO;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

STDMETHODIMP CCustomControlSite::XDocHostUIHandler::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                                           IOleInPlaceFrame*, IOleInPlaceUIWindow*)
{
    return S_OK;
}

STDMETHODIMP CCustomControlSite::XDocHostUIHandler::HideUI()
{
    return S_OK;
}

STDMETHODIMP CCustomControlSite::XDocHostUIHandler::UpdateUI()
{
    return S_OK;
}

STDMETHODIMP CCustomControlSite::XDocHostUIHandler::EnableModeless(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CCustomControlSite::XDocHostUIHandler::OnDocWindowActivate(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CCustomControlSite::XDocHostUIHandler::OnFrameWindowActivate(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CCustomControlSite::XDocHostUIHandler::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CCustomControlSite::XDocHostUIHandler::TranslateAccelerator(LPMSG message, const GUID*, DWORD)
{
    if (!message) return S_FALSE;
    return IsBlockedAccelerator(message->message, {&::GetAsyncKeyState, &::GetKeyState}) ? S_OK : S_FALSE;
}

STDMETHODIMP CCustomControlSite::XDocHostUIHandler::GetOptionKeyPath(LPOLESTR*, DWORD)
{
    return E_NOTIMPL;
}

STDMETHODIMP CCustomControlSite::XDocHostUIHandler::GetDropTarget(IDropTarget*, IDropTarget**)
{
    return E_NOTIMPL;
}

STDMETHODIMP CCustomControlSite::XDocHostUIHandler::GetExternal(IDispatch** external)
{
    if (external) *external = nullptr;
    return S_OK;
}

STDMETHODIMP CCustomControlSite::XDocHostUIHandler::TranslateUrl(DWORD, LPWSTR, LPWSTR*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CCustomControlSite::XDocHostUIHandler::FilterDataObject(IDataObject*, IDataObject**)
{
    return E_NOTIMPL;
}
