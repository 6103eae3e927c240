#include "web/CCustomControlSite.h"
#include "framework/AfxComGuard.h"
#include "framework/CString.h"
#include "web/HostAccelerator.h"

// The system's uuid library lacks the show-UI id; the header's own declaration gives both.
BEGIN_INTERFACE_MAP(CCustomControlSite, COleControlSite)
    INTERFACE_PART(__uuidof(IDocHostShowUI), m_xDocHostShowUI)
    INTERFACE_PART(__uuidof(IDocHostUIHandler), m_xDocHostUIHandler)
END_INTERFACE_MAP()

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
