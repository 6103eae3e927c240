#include "framework/COleControlSite.h"
#include "framework/AfxComGuard.h"
#include "framework/COleControlContainer.h"
#include "framework/COleException.h"
#include "framework/CWnd.h"
#include <olectl.h>

BEGIN_INTERFACE_MAP(COleControlSite, CCmdTarget)
    INTERFACE_PART(IID_IOleClientSite, m_xOleClientSite)
    INTERFACE_PART(IID_IOleInPlaceSite, m_xOleIPSite)
    INTERFACE_PART(IID_IOleWindow, m_xOleIPSite)
    INTERFACE_PART(IID_IOleInPlaceFrame, m_xOleIPFrame)
    INTERFACE_PART(IID_IOleInPlaceUIWindow, m_xOleIPFrame)
    INTERFACE_PART(IID_IOleControlSite, m_xOleControlSite)
    INTERFACE_PART(IID_IDispatch, m_xAmbientProps)
    INTERFACE_PART(IID_IAdviseSink, m_xAdviseSink)
END_INTERFACE_MAP()

namespace {

// Pixels of the screen to HIMETRIC (0.01 mm).
SIZEL PixelsToHimetric(int width, int height)
{
    HDC screen = GetDC(nullptr);
    int dpiX = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    int dpiY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return {MulDiv(width, 2540, dpiX ? dpiX : 96), MulDiv(height, 2540, dpiY ? dpiY : 96)};
}

void SetBool(VARIANT* value, bool on)
{
    V_VT(value) = VT_BOOL;
    V_BOOL(value) = on ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetLong(VARIANT* value, LONG number)
{
    V_VT(value) = VT_I4;
    V_I4(value) = number;
}

} // namespace

COleControlSite::COleControlSite(COleControlContainer* container) : m_pCtrlCont(container) {}

COleControlSite::~COleControlSite()
{
    DestroyControl();
}

HWND COleControlSite::GetParentWindow() const
{
    return m_pCtrlCont && m_pCtrlCont->m_pWnd ? m_pCtrlCont->m_pWnd->m_hWnd : nullptr;
}

HRESULT COleControlSite::LoadState(const std::vector<unsigned char>* state)
{
    CComPtr<IPersistStreamInit> persist;
    m_pObject.QueryInterface(persist);
    if (!state) return persist ? persist->InitNew() : S_OK;
    CComPtr<IStream> stream;
    HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    if (FAILED(hr)) return hr;
    ULONG written = 0;
    hr = stream->Write(state->data(), static_cast<ULONG>(state->size()), &written);
    if (FAILED(hr)) return hr;
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    if (persist) return persist->Load(stream);
    CComPtr<IPersistStream> plain;
    m_pObject.QueryInterface(plain);
    return plain ? plain->Load(stream) : E_NOINTERFACE;
}

HRESULT COleControlSite::CreateControl(const CLSID& clsid, const wchar_t*, DWORD style, const RECT& rect, UINT id,
                                       const std::vector<unsigned char>* state)
{
    if (m_pObject) return E_UNEXPECTED;
    m_nID = id;
    m_rect = rect;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, IID_IOleObject,
                                  reinterpret_cast<void**>(&m_pObject));
    if (FAILED(hr)) return hr;
    m_pObject->GetMiscStatus(DVASPECT_CONTENT, &m_dwMiscStatus);
    // A control that asks for it gets its client site before its state.
    const bool siteFirst = (m_dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst) m_pObject->SetClientSite(&m_xOleClientSite);
    hr = LoadState(state);
    if (SUCCEEDED(hr) && !siteFirst) hr = m_pObject->SetClientSite(&m_xOleClientSite);
    if (FAILED(hr)) {
        DestroyControl();
        return hr;
    }
    if (FAILED(m_pObject->Advise(&m_xAdviseSink, &m_dwAdviseConnection))) m_dwAdviseConnection = 0;
    ConnectEvents();
    SIZEL extent = PixelsToHimetric(rect.right - rect.left, rect.bottom - rect.top);
    m_pObject->SetExtent(DVASPECT_CONTENT, &extent);

    hr = m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &m_xOleClientSite, 0, GetParentWindow(), &m_rect);
    if (FAILED(hr)) {
        DestroyControl();
        return hr;
    }
    if (!m_pInPlaceObject) m_pObject.QueryInterface(m_pInPlaceObject);
    if (m_pInPlaceObject) m_pInPlaceObject->GetWindow(&m_hWnd);
    if (m_hWnd) {
        // The template's id, so that the dialog finds the control as it finds any other.
        SetWindowLongPtrW(m_hWnd, GWLP_ID, static_cast<LONG_PTR>(id));
        if (!(style & WS_VISIBLE)) ::ShowWindow(m_hWnd, SW_HIDE);
    }
    return S_OK;
}

void COleControlSite::DestroyControl()
{
    if (m_pWndCtrl) {
        m_pWndCtrl->m_pCtrlSite = nullptr;
        m_pWndCtrl = nullptr;
    }
    if (!m_pObject) return;
    // The documented order: in-place deactivate, unadvise, clear the client site, close.
    if (m_pInPlaceObject) m_pInPlaceObject->InPlaceDeactivate();
    m_pActiveObject.Release();
    m_pInPlaceObject.Release();
    if (m_dwAdviseConnection) m_pObject->Unadvise(m_dwAdviseConnection);
    m_dwAdviseConnection = 0;
    DisconnectEvents();
    m_pObject->SetClientSite(nullptr);
    m_pObject->Close(OLECLOSE_NOSAVE);
    m_pDispatch.Release();
    m_pObject.Release();
    m_hWnd = nullptr;
}

void COleControlSite::ConnectEvents()
{
    if (IsEqualIID(m_iidEvents, IID_NULL)) return;
    CComPtr<IConnectionPointContainer> container;
    m_pObject.QueryInterface(container);
    if (!container || FAILED(container->FindConnectionPoint(m_iidEvents, &m_pEventPoint))) return;
    // The sink itself, not the site's unknown: a point that asks it for IDispatch rather than
    // m_iidEvents would otherwise be given the ambient properties.
    if (FAILED(m_pEventPoint->Advise(&m_xEventSink, &m_dwEventCookie))) {
        m_dwEventCookie = 0;
        m_pEventPoint.Release();
    }
}

void COleControlSite::DisconnectEvents()
{
    if (m_pEventPoint && m_dwEventCookie) m_pEventPoint->Unadvise(m_dwEventCookie);
    m_dwEventCookie = 0;
    m_pEventPoint.Release();
}

IUnknown* COleControlSite::GetInterfaceHook(const IID* iid)
{
    if (!IsEqualIID(m_iidEvents, IID_NULL) && IsEqualIID(*iid, m_iidEvents)) return &m_xEventSink;
    return nullptr;
}

void COleControlSite::InvokeHelperV(DISPID dispid, WORD flags, VARTYPE returnType, void* result,
                                    const BYTE* paramInfo, const void* const* args)
{
    if (!m_pDispatch) {
        HRESULT hr = m_pObject.QueryInterface(m_pDispatch);
        if (FAILED(hr)) AfxThrowOleException(hr);
    }
    size_t count = 0;
    while (paramInfo && paramInfo[count]) ++count;
    // Arguments go right to left.
    std::vector<VARIANT> values(count);
    HRESULT hr = S_OK;
    for (size_t i = 0; i < count && SUCCEEDED(hr); ++i) {
        VARIANT& value = values[count - 1 - i];
        VariantInit(&value);
        const void* arg = args[i];
        switch (paramInfo[i]) {
        case VT_BSTR:
            V_VT(&value) = VT_BSTR;
            V_BSTR(&value) = SysAllocString(static_cast<const wchar_t*>(arg));
            if (arg && !V_BSTR(&value)) hr = E_OUTOFMEMORY;
            break;
        case VT_I4:
            SetLong(&value, arg ? *static_cast<const LONG*>(arg) : 0);
            break;
        case VT_MFCBYREF | VT_VARIANT:
            V_VT(&value) = VT_VARIANT | VT_BYREF;
            V_VARIANTREF(&value) = const_cast<VARIANT*>(static_cast<const VARIANT*>(arg));
            break;
        default:
            hr = E_INVALIDARG;
            break;
        }
    }
    DISPPARAMS params{};
    params.cArgs = static_cast<UINT>(count);
    params.rgvarg = count ? values.data() : nullptr;
    DISPID named = DISPID_PROPERTYPUT;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.cNamedArgs = 1;
        params.rgdispidNamedArgs = &named;
    }
    VARIANT returned;
    VariantInit(&returned);
    EXCEPINFO exception{};
    UINT badArg = 0;
    if (SUCCEEDED(hr))
        hr = m_pDispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                 returnType == VT_EMPTY ? nullptr : &returned, &exception, &badArg);
    for (VARIANT& value : values) VariantClear(&value);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    if (SUCCEEDED(hr) && returnType != VT_EMPTY && result) {
        hr = VariantChangeType(&returned, &returned, 0, returnType);
        if (SUCCEEDED(hr) && returnType == VT_I4) *static_cast<LONG*>(result) = V_I4(&returned);
        else if (SUCCEEDED(hr) && returnType == VT_BOOL) *static_cast<VARIANT_BOOL*>(result) = V_BOOL(&returned);
        else if (SUCCEEDED(hr)) hr = E_INVALIDARG;
    }
    VariantClear(&returned);
    if (FAILED(hr)) AfxThrowOleException(hr);
}

bool COleControlSite::TranslateAccelerator(MSG* message)
{
    CComPtr<IOleInPlaceActiveObject> active = m_pActiveObject;
    if (!active && m_bInPlaceActive) m_pObject.QueryInterface(active);
    return active && active->TranslateAccelerator(message) == S_OK;
}

bool COleControlSite::GetAmbientProp(DISPID dispid, VARIANT* value)
{
    switch (dispid) {
    case DISPID_AMBIENT_USERMODE: SetBool(value, true); return true;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
    case DISPID_AMBIENT_MESSAGEREFLECT:
    case DISPID_AMBIENT_SUPPORTSMNEMONICS: SetBool(value, false); return true;
    case DISPID_AMBIENT_AUTOCLIP: SetBool(value, true); return true;
    case DISPID_AMBIENT_BACKCOLOR: SetLong(value, static_cast<LONG>(GetSysColor(COLOR_BTNFACE))); return true;
    case DISPID_AMBIENT_FORECOLOR: SetLong(value, static_cast<LONG>(GetSysColor(COLOR_BTNTEXT))); return true;
    case DISPID_AMBIENT_LOCALEID: SetLong(value, static_cast<LONG>(GetUserDefaultLCID())); return true;
    case DISPID_AMBIENT_APPEARANCE: SetLong(value, 1); return true;
    default: return false;
    }
}

// IOleClientSite

STDMETHODIMP COleControlSite::XOleClientSite::SaveObject()
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleClientSite::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::XOleClientSite::GetContainer(IOleContainer** container)
{
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP COleControlSite::XOleClientSite::ShowObject()
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleClientSite::OnShowWindow(BOOL)
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleClientSite::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

// IOleInPlaceSite

STDMETHODIMP COleControlSite::XOleIPSite::GetWindow(HWND* window)
{
    if (!window) return E_POINTER;
    *window = m_pThis->GetParentWindow();
    return *window ? S_OK : E_FAIL;
}

STDMETHODIMP COleControlSite::XOleIPSite::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::XOleIPSite::CanInPlaceActivate()
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::OnInPlaceActivate()
{
    return AfxComGuard([&] {
        m_pThis->m_bInPlaceActive = true;
        if (!m_pThis->m_pInPlaceObject) m_pThis->m_pObject.QueryInterface(m_pThis->m_pInPlaceObject);
        return S_OK;
    });
}

STDMETHODIMP COleControlSite::XOleIPSite::OnUIActivate()
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                                           RECT* position, RECT* clip, OLEINPLACEFRAMEINFO* info)
{
    if (!frame || !document || !position || !clip) return E_POINTER;
    *frame = &m_pThis->m_xOleIPFrame;
    (*frame)->AddRef();
    *document = nullptr;
    *position = m_pThis->m_rect;
    HWND parent = m_pThis->GetParentWindow();
    if (!parent || !::GetClientRect(parent, clip)) *clip = m_pThis->m_rect;
    if (info) {
        info->fMDIApp = FALSE;
        info->hwndFrame = parent;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::Scroll(SIZE)
{
    return S_FALSE;
}

STDMETHODIMP COleControlSite::XOleIPSite::OnUIDeactivate(BOOL)
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::OnInPlaceDeactivate()
{
    m_pThis->m_bInPlaceActive = false;
    m_pThis->m_pActiveObject.Release();
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::DiscardUndoState()
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::DeactivateAndUndo()
{
    return m_pThis->m_pInPlaceObject ? m_pThis->m_pInPlaceObject->UIDeactivate() : E_UNEXPECTED;
}

STDMETHODIMP COleControlSite::XOleIPSite::OnPosRectChange(const RECT* position)
{
    if (!position) return E_POINTER;
    m_pThis->m_rect = *position;
    RECT clip = *position;
    if (m_pThis->m_pInPlaceObject) m_pThis->m_pInPlaceObject->SetObjectRects(position, &clip);
    return S_OK;
}

// IOleInPlaceFrame

STDMETHODIMP COleControlSite::XOleIPFrame::GetWindow(HWND* window)
{
    if (!window) return E_POINTER;
    *window = m_pThis->GetParentWindow();
    return *window ? S_OK : E_FAIL;
}

STDMETHODIMP COleControlSite::XOleIPFrame::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::XOleIPFrame::GetBorder(RECT*)
{
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP COleControlSite::XOleIPFrame::RequestBorderSpace(const BORDERWIDTHS*)
{
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP COleControlSite::XOleIPFrame::SetBorderSpace(const BORDERWIDTHS* widths)
{
    return widths ? INPLACE_E_NOTOOLSPACE : S_OK;
}

STDMETHODIMP COleControlSite::XOleIPFrame::SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR)
{
    m_pThis->m_pActiveObject = active;
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPFrame::InsertMenus(HMENU, OLEMENUGROUPWIDTHS*)
{
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::XOleIPFrame::SetMenu(HMENU, HOLEMENU, HWND)
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPFrame::RemoveMenus(HMENU)
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPFrame::SetStatusText(LPCOLESTR)
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPFrame::EnableModeless(BOOL)
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPFrame::TranslateAccelerator(MSG*, WORD)
{
    return S_FALSE;
}

// IOleControlSite

STDMETHODIMP COleControlSite::XOleControlSite::OnControlInfoChanged()
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleControlSite::LockInPlaceActive(BOOL)
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleControlSite::GetExtendedControl(IDispatch** extended)
{
    if (extended) *extended = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::XOleControlSite::TransformCoords(POINTL*, POINTF*, DWORD)
{
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::XOleControlSite::TranslateAccelerator(MSG*, DWORD)
{
    return S_FALSE;
}

STDMETHODIMP COleControlSite::XOleControlSite::OnFocus(BOOL)
{
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleControlSite::ShowPropertyFrame()
{
    return E_NOTIMPL;
}

// IDispatch reached only through Invoke

STDMETHODIMP COleControlSite::XInvokeOnly::GetTypeInfoCount(UINT* count)
{
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP COleControlSite::XInvokeOnly::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::XInvokeOnly::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

// IDispatch: the ambient properties

STDMETHODIMP COleControlSite::XAmbientProps::Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS*,
                                                   VARIANT* result, EXCEPINFO*, UINT*)
{
    return AfxComGuard([&]() -> HRESULT {
        if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
        VARIANT value;
        VariantInit(&value);
        if (!m_pThis->GetAmbientProp(dispid, &value)) return DISP_E_MEMBERNOTFOUND;
        if (result) {
            VariantInit(result);
            *result = value;
        } else {
            VariantClear(&value);
        }
        return S_OK;
    });
}

// IDispatch: the control's events

STDMETHODIMP COleControlSite::XEventSink::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params,
                                                VARIANT* result, EXCEPINFO*, UINT*)
{
    return AfxComGuard([&] {
        if (result) VariantInit(result);
        m_pThis->OnEvent(dispid, params);
        return S_OK;
    });
}
