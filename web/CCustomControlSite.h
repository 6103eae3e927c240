#pragma once
#include "framework/COleControlSite.h"
#include <mshtmhst.h>

// The framework's control site plus the document-host interfaces that make a web panel
// borderless, menu-less and quiet.
class CCustomControlSite : public COleControlSite {
public:
    explicit CCustomControlSite(COleControlContainer* container) : COleControlSite(container) {}
    ~CCustomControlSite() override = default;

    static constexpr const wchar_t* kMessageCaption = L"自定义浏览器";

protected:
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
};
