#pragma once
#include "framework/COleControlSite.h"
#include "framework/CString.h"
#include "web/PanelLoad.h"
#include <functional>
#include <mshtmhst.h>
#include <string>

// The framework's control site plus the document-host interfaces that make a web panel
// borderless, menu-less and quiet, and the browser events that keep it on its own server and
// show it only while it holds a page of that server that loaded.
class CCustomControlSite : public COleControlSite {
public:
    explicit CCustomControlSite(COleControlContainer* container);
    ~CCustomControlSite() override = default;

    // The control comes up hidden, whatever the template says.
    HRESULT CreateControl(const CLSID& clsid, const wchar_t* windowName, DWORD style, const RECT& rect, UINT id,
                          const std::vector<unsigned char>* state) override;

    static constexpr const wchar_t* kMessageCaption = L"自定义浏览器";

    // Takes an address the panel does not show itself; the shell's "open" verb by default.
    using BrowserOpener = std::function<void(const CString& address)>;
    void SetBrowserOpener(BrowserOpener opener) { m_openInBrowser = std::move(opener); }
    // The host of the panel's own pages: top-level pages of any other go to the browser.
    void SetPanelHost(const std::wstring& host) { m_panelHost = host; }

protected:
    bool GetAmbientProp(DISPID dispid, VARIANT* value) override;
    void OnEvent(DISPID dispid, DISPPARAMS* params) override;

    class XDocHostShowUI : public CNestedInterface<IDocHostShowUI, CCustomControlSite> {
    public:
        using CNestedInterface::CNestedInterface;
        STDMETHODIMP ShowMessage(HWND window, LPOLESTR text, LPOLESTR caption, DWORD type, LPOLESTR helpFile,
                                 DWORD helpContext, LRESULT* result) override;
        STDMETHODIMP ShowHelp(HWND, LPOLESTR, UINT, DWORD, POINT, IDispatch*) override;
    } m_xDocHostShowUI{this};

    class XDocHostUIHandler : public CNestedInterface<IDocHostUIHandler, CCustomControlSite> {
    public:
        using CNestedInterface::CNestedInterface;
        STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override;
        STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
        STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                            IOleInPlaceUIWindow*) override;
        STDMETHODIMP HideUI() override;
        STDMETHODIMP UpdateUI() override;
        STDMETHODIMP EnableModeless(BOOL) override;
        STDMETHODIMP OnDocWindowActivate(BOOL) override;
        STDMETHODIMP OnFrameWindowActivate(BOOL) override;
        STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override;
        STDMETHODIMP TranslateAccelerator(LPMSG message, const GUID*, DWORD) override;
        STDMETHODIMP GetOptionKeyPath(LPOLESTR*, DWORD) override;
        STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget**) override;
        STDMETHODIMP GetExternal(IDispatch** external) override;
        STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR*) override;
        STDMETHODIMP FilterDataObject(IDataObject*, IDataObject**) override;
    } m_xDocHostUIHandler{this};

    DECLARE_INTERFACE_MAP()

private:
    void OnBeforeNavigate2(const VARIANT& browser, const CString& address, VARIANT_BOOL* cancel);
    void OnNewWindow(DISPID kind, const CString& address, VARIANT_BOOL* cancel);
    void OnNavigateError(const VARIANT& browser, VARIANT_BOOL* cancel);
    void OnDocumentComplete(const VARIANT& browser, const CString& address);
    void ShowLoadedPage();
    bool IsThisControl(const VARIANT& browser) const;
    void OpenInBrowser(const CString& address) const;

    BrowserOpener m_openInBrowser;
    std::wstring m_panelHost;
    // The last navigation let through and not yet arrived: what a NewWindow2, which names no
    // address, was about to open.
    CString m_pendingAddress;
    // The new-window event just handed over, until the next navigation.
    DISPID m_handedNewWindow = 0;
    PanelLoad m_load;
};
