#pragma once
#include "framework/CCmdTarget.h"
#include "framework/CComPtr.h"
#include "framework/CNestedInterface.h"
#include <ocidl.h>
#include <vector>

class CWnd;
class COleControlContainer;

// In a parameter-type string a by-reference type is marked with this bit, to fit one byte.
constexpr BYTE VT_MFCBYREF = 0x40;

// The host side of one ActiveX control: client site, in-place site and frame, control site
// and ambient properties; holds the control's interfaces until it is torn down.
class COleControlSite : public CCmdTarget {
public:
    explicit COleControlSite(COleControlContainer* container);
    ~COleControlSite() override;

    // Creates the control in the container's window at the given place (pixels of the
    // window's client area), loads the persisted state (stream form) or initialises it anew,
    // and activates it in place.
    virtual HRESULT CreateControl(const CLSID& clsid, const wchar_t* windowName, DWORD style, const RECT& rect,
                                  UINT id, const std::vector<unsigned char>* state);
    // In-place deactivate, unadvise, clear the client site, close; then lets the control go.
    virtual void DestroyControl();
    // An automation call through the control's dispatch interface; throws COleException on failure.
    // paramInfo: one-byte VT_ codes (VT_BSTR, VT_I4, VT_MFCBYREF | VT_VARIANT), zero-ended; args: one pointer per parameter (text, LONG*, VARIANT*).
    void InvokeHelperV(DISPID dispid, WORD flags, VARTYPE returnType, void* result, const BYTE* paramInfo,
                       const void* const* args);
    // The active object's accelerator translation for a key message of this control's windows.
    bool TranslateAccelerator(MSG* message);
    HWND GetParentWindow() const;

    COleControlContainer* m_pCtrlCont;
    CWnd* m_pWndCtrl = nullptr;
    HWND m_hWnd = nullptr;
    UINT m_nID = 0;
    RECT m_rect{};
    DWORD m_dwMiscStatus = 0;
    CComPtr<IOleObject> m_pObject;
    CComPtr<IOleInPlaceObject> m_pInPlaceObject;
    CComPtr<IOleInPlaceActiveObject> m_pActiveObject;
    bool m_bInPlaceActive = false;

protected:
    // Answers an ambient property; false for one this site does not know.
    virtual bool GetAmbientProp(DISPID dispid, VARIANT* value);
    // One event of the control's outgoing interface m_iidEvents; arguments last first, as they came.
    virtual void OnEvent(DISPID, DISPPARAMS*) {}
    IUnknown* GetInterfaceHook(const IID* iid) override;

    // The outgoing dispatch interface the site listens to, set by a site that wants events;
    // connected once the control has its site and state, disconnected with the advise sink.
    IID m_iidEvents = IID_NULL;

    class XOleClientSite : public CNestedInterface<IOleClientSite, COleControlSite> {
    public:
        using CNestedInterface::CNestedInterface;
        STDMETHODIMP SaveObject() override;
        STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
        STDMETHODIMP GetContainer(IOleContainer** container) override;
        STDMETHODIMP ShowObject() override;
        STDMETHODIMP OnShowWindow(BOOL) override;
        STDMETHODIMP RequestNewObjectLayout() override;
    } m_xOleClientSite{this};

    class XOleIPSite : public CNestedInterface<IOleInPlaceSite, COleControlSite> {
    public:
        using CNestedInterface::CNestedInterface;
        STDMETHODIMP GetWindow(HWND* window) override;
        STDMETHODIMP ContextSensitiveHelp(BOOL) override;
        STDMETHODIMP CanInPlaceActivate() override;
        STDMETHODIMP OnInPlaceActivate() override;
        STDMETHODIMP OnUIActivate() override;
        STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                      RECT* clip, OLEINPLACEFRAMEINFO* info) override;
        STDMETHODIMP Scroll(SIZE) override;
        STDMETHODIMP OnUIDeactivate(BOOL) override;
        STDMETHODIMP OnInPlaceDeactivate() override;
        STDMETHODIMP DiscardUndoState() override;
        STDMETHODIMP DeactivateAndUndo() override;
        STDMETHODIMP OnPosRectChange(const RECT* position) override;
    } m_xOleIPSite{this};

    class XOleIPFrame : public CNestedInterface<IOleInPlaceFrame, COleControlSite> {
    public:
        using CNestedInterface::CNestedInterface;
        STDMETHODIMP GetWindow(HWND* window) override;
        STDMETHODIMP ContextSensitiveHelp(BOOL) override;
        STDMETHODIMP GetBorder(RECT*) override;
        STDMETHODIMP RequestBorderSpace(const BORDERWIDTHS*) override;
        STDMETHODIMP SetBorderSpace(const BORDERWIDTHS*) override;
        STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override;
        STDMETHODIMP InsertMenus(HMENU, OLEMENUGROUPWIDTHS*) override;
        STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override;
        STDMETHODIMP RemoveMenus(HMENU) override;
        STDMETHODIMP SetStatusText(LPCOLESTR) override;
        STDMETHODIMP EnableModeless(BOOL) override;
        STDMETHODIMP TranslateAccelerator(MSG*, WORD) override;
    } m_xOleIPFrame{this};

    class XOleControlSite : public CNestedInterface<IOleControlSite, COleControlSite> {
    public:
        using CNestedInterface::CNestedInterface;
        STDMETHODIMP OnControlInfoChanged() override;
        STDMETHODIMP LockInPlaceActive(BOOL) override;
        STDMETHODIMP GetExtendedControl(IDispatch** extended) override;
        STDMETHODIMP TransformCoords(POINTL*, POINTF*, DWORD) override;
        STDMETHODIMP TranslateAccelerator(MSG*, DWORD) override;
        STDMETHODIMP OnFocus(BOOL) override;
        STDMETHODIMP ShowPropertyFrame() override;
    } m_xOleControlSite{this};

    // A dispatch interface reached only through Invoke: no type information, no names.
    class XInvokeOnly : public CNestedInterface<IDispatch, COleControlSite> {
    public:
        using CNestedInterface::CNestedInterface;
        STDMETHODIMP GetTypeInfoCount(UINT* count) override;
        STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
        STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    };

    class XAmbientProps : public XInvokeOnly {
    public:
        using XInvokeOnly::XInvokeOnly;
        STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                            UINT*) override;
    } m_xAmbientProps{this};

    class XEventSink : public XInvokeOnly {
    public:
        using XInvokeOnly::XInvokeOnly;
        STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                            UINT*) override;
    } m_xEventSink{this};

    class XAdviseSink : public CNestedInterface<IAdviseSink, COleControlSite> {
    public:
        using CNestedInterface::CNestedInterface;
        STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override {}
        STDMETHODIMP_(void) OnViewChange(DWORD, LONG) override {}
        STDMETHODIMP_(void) OnRename(IMoniker*) override {}
        STDMETHODIMP_(void) OnSave() override {}
        STDMETHODIMP_(void) OnClose() override {}
    } m_xAdviseSink{this};

    DECLARE_INTERFACE_MAP()

private:
    HRESULT LoadState(const std::vector<unsigned char>* state);
    void ConnectEvents();
    void DisconnectEvents();
    CComPtr<IConnectionPoint> m_pEventPoint;
    DWORD m_dwEventCookie = 0;
    CComPtr<IDispatch> m_pDispatch;
    DWORD m_dwAdviseConnection = 0;
};
