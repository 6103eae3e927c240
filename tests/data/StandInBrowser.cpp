// A stand-in for the WebBrowser control: an in-process server that records what its host does
// to it (state, verbs, calls, teardown) as lines of text, in memory and, when STANDIN_LOG names
// a file, appended there too, so that a test in another process can read them.
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <exdisp.h>
#include <exdispid.h>
#include <mshtmdid.h>
#include <olectl.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

LONG g_objects = 0;
std::wstring g_log;
std::vector<IOleClientSite*> g_sites;  // every client site given, in order, not held
int g_translated = 0;
std::vector<class StandIn*> g_controls;  // the live ones, not held

void Log(const std::wstring& line)
{
    g_log += line + L"\n";
    wchar_t path[MAX_PATH];
    if (!GetEnvironmentVariableW(L"STANDIN_LOG", path, MAX_PATH)) return;
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string utf8(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.back() = '\n';
    DWORD written = 0;
    WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
}

std::wstring Number(long long value)
{
    return std::to_wstring(value);
}

class StandIn : public IOleObject, public IOleInPlaceObject, public IOleInPlaceActiveObject,
                public IPersistStreamInit, public IDispatch, public IConnectionPointContainer,
                public IConnectionPoint {
public:
    StandIn() : m_index(static_cast<int>(InterlockedIncrement(&g_objects))) { g_controls.push_back(this); }
    IDispatch* Sink() const { return m_events; }
    HWND Window() const { return m_window; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IOleObject) *object = static_cast<IOleObject*>(this);
        else if (iid == IID_IOleInPlaceObject || iid == IID_IOleWindow) *object = static_cast<IOleInPlaceObject*>(this);
        else if (iid == IID_IOleInPlaceActiveObject) *object = static_cast<IOleInPlaceActiveObject*>(this);
        else if (iid == IID_IPersistStreamInit) *object = static_cast<IPersistStreamInit*>(this);
        else if (iid == IID_IDispatch) *object = static_cast<IDispatch*>(this);
        else if (iid == IID_IConnectionPointContainer) *object = static_cast<IConnectionPointContainer*>(this);
        else if (iid == IID_IConnectionPoint) *object = static_cast<IConnectionPoint*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG count = InterlockedDecrement(&m_refs);
        if (count == 0) {
            Log(L"released " + Number(m_index));
            delete this;
        }
        return static_cast<ULONG>(count);
    }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override
    {
        Log(L"site " + Number(m_index) + (site ? L" set" : L" cleared"));
        if (site) AskDownloadControl(site);
        if (site) {
            site->AddRef();  // the control's own
            site->AddRef();  // the record's
            g_sites.push_back(site);
        }
        if (m_site) m_site->Release();
        m_site = site;
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** site) override
    {
        *site = m_site;
        if (m_site) m_site->AddRef();
        return S_OK;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override
    {
        Log(L"close " + Number(m_index));
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT rect) override
    {
        if (verb != OLEIVERB_INPLACEACTIVATE || !site || !rect) return E_NOTIMPL;
        if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&m_ipSite)))) return E_FAIL;
        if (m_ipSite->CanInPlaceActivate() != S_OK) return E_FAIL;
        m_ipSite->OnInPlaceActivate();
        HWND siteWindow = nullptr;
        m_ipSite->GetWindow(&siteWindow);
        // Whether the host's top window was on screen and painted before this control came (the
        // panel itself may wait hidden for its page).
        HWND top = GetAncestor(parent, GA_ROOT);
        Log(L"parent " + Number(m_index) + (IsWindowVisible(top) ? L" shown" : L" hidden") +
            (GetUpdateRect(top, nullptr, FALSE) ? L" unpainted" : L" painted"));
        m_window = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_NOTIFY, rect->left,
                                   rect->top, rect->right - rect->left, rect->bottom - rect->top, parent, nullptr,
                                   nullptr, nullptr);
        Log(L"activate " + Number(m_index) + L" " + Number(rect->left) + L"," + Number(rect->top) + L" " +
            Number(rect->right - rect->left) + L"x" + Number(rect->bottom - rect->top) +
            (siteWindow == parent ? L" in site window" : L" elsewhere"));
        return m_window ? S_OK : E_FAIL;
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override
    {
        if (!sink || !connection) return E_POINTER;
        sink->AddRef();
        m_sink = sink;
        *connection = 7;
        return S_OK;
    }
    // Both the object's advise sink (7) and the events' (5).
    STDMETHODIMP Unadvise(DWORD connection) override
    {
        if (connection == 5 && m_events) {
            m_events->Release();
            m_events = nullptr;
            return S_OK;
        }
        Log(L"unadvise " + Number(m_index) + (connection == 7 ? L"" : L" wrong"));
        if (m_sink) m_sink->Release();
        m_sink = nullptr;
        return S_OK;
    }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override
    {
        *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    STDMETHODIMP GetWindow(HWND* window) override
    {
        *window = m_window;
        return m_window ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override
    {
        Log(L"deactivate " + Number(m_index));
        if (m_window) DestroyWindow(m_window);
        m_window = nullptr;
        if (m_ipSite) {
            m_ipSite->OnInPlaceDeactivate();
            m_ipSite->Release();
            m_ipSite = nullptr;
        }
        return S_OK;
    }
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT, LPCRECT) override { return S_OK; }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    // Takes Escape away from its host, as a control with its own use for the key would.
    STDMETHODIMP TranslateAccelerator(LPMSG message) override
    {
        if (message && message->message == WM_KEYDOWN && message->wParam == VK_ESCAPE) {
            ++g_translated;
            return S_OK;
        }
        return S_FALSE;
    }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM stream) override
    {
        std::wstring hex;
        unsigned char buffer[64];
        ULONG read = 0;
        while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &read)) && read) {
            for (ULONG i = 0; i < read; ++i) {
                wchar_t pair[3];
                swprintf(pair, 3, L"%02X", buffer[i]);
                hex += pair;
            }
        }
        Log(L"load " + Number(m_index) + L" " + hex);
        return S_OK;
    }
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override
    {
        Log(L"initnew " + Number(m_index));
        return S_OK;
    }

    // IDispatch: records each call with its argument types (right to left, as they arrive).
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override
    {
        std::wstring line = L"invoke " + Number(m_index) + L" " + Number(dispid) + L" flags " + Number(flags) +
                            (result ? L" result" : L" noresult");
        for (UINT i = 0; params && i < params->cArgs; ++i) {
            const VARIANT& arg = params->rgvarg[i];
            line += L" " + Number(V_VT(&arg));
            if (V_VT(&arg) == VT_BSTR) line += L":" + std::wstring(V_BSTR(&arg) ? V_BSTR(&arg) : L"");
            if (V_VT(&arg) == (VT_VARIANT | VT_BYREF))
                line += V_VARIANTREF(&arg) ? L"->" + Number(V_VT(V_VARIANTREF(&arg))) : std::wstring(L"->null");
        }
        Log(line);
        return S_OK;
    }

    // IConnectionPointContainer and IConnectionPoint: the browser's events, to one sink asked for
    // their interface as the real point asks.
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override
    {
        *point = iid == DIID_DWebBrowserEvents2 ? this : nullptr;
        if (*point) AddRef();
        return *point ? S_OK : CONNECT_E_NOCONNECTION;
    }
    STDMETHODIMP GetConnectionInterface(IID* iid) override { return *iid = DIID_DWebBrowserEvents2, S_OK; }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer**) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override
    {
        *cookie = 5;
        if (m_events) return CONNECT_E_ADVISELIMIT;
        return sink->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&m_events));
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

private:
    virtual ~StandIn() { g_controls.erase(std::find(g_controls.begin(), g_controls.end(), this)); }
    void AskDownloadControl(IOleClientSite* site)
    {
        IDispatch* ambient = nullptr;
        VARIANT value{};
        DISPPARAMS none{};
        if (FAILED(site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient)))) return;
        if (SUCCEEDED(ambient->Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value,
                                      nullptr, nullptr)))
            Log(L"dlcontrol " + Number(V_VT(&value)) + L":" + Number(V_VT(&value) == VT_I4 ? V_I4(&value) : 0));
        ambient->Release();
    }
    IDispatch* m_events = nullptr;
    LONG m_refs = 1;
    int m_index;
    IOleClientSite* m_site = nullptr;
    IOleInPlaceSite* m_ipSite = nullptr;
    IAdviseSink* m_sink = nullptr;
    HWND m_window = nullptr;
};

class Factory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (outer) return CLASS_E_NOAGGREGATION;
        StandIn* standIn = new StandIn;
        HRESULT hr = standIn->QueryInterface(iid, object);
        standIn->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

} // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID, REFIID iid, void** object)
{
    return g_factory.QueryInterface(iid, object);
}

// Kept loaded: the tests read its records after the controls are gone.
extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow()
{
    return S_FALSE;
}

extern "C" __declspec(dllexport) const wchar_t* StandInLog()
{
    return g_log.c_str();
}

extern "C" __declspec(dllexport) void StandInClearLog()
{
    g_log.clear();
    g_translated = 0;
}

// The client site given to the nth control (from 0), with a reference of the caller's own;
// the stand-in keeps one on each site it was given, for StandInReleaseSites.
extern "C" __declspec(dllexport) IOleClientSite* StandInSite(unsigned int index)
{
    if (index >= g_sites.size()) return nullptr;
    g_sites[index]->AddRef();
    return g_sites[index];
}

// Lets go of the kept references; the counts they leave, one per site, as text.
extern "C" __declspec(dllexport) void StandInReleaseSites(ULONG* counts, unsigned int size)
{
    for (unsigned int i = 0; i < g_sites.size(); ++i) {
        ULONG count = g_sites[i]->Release();
        if (i < size) counts[i] = count;
    }
    g_sites.clear();
}

// Fires BeforeNavigate2, NavigateError or DocumentComplete (of the page or of a frame), NewWindow2
// or NewWindow3 from the control of that window, with the arguments the site reads where the real
// control puts them; the Cancel it comes back with, or -1.
extern "C" __declspec(dllexport) int StandInFire(HWND window, DISPID dispid, const wchar_t* url, bool frame)
{
    auto found = std::find_if(g_controls.begin(), g_controls.end(), [&](StandIn* c) { return c->Window() == window; });
    IDispatch* sink = found == g_controls.end() ? nullptr : (*found)->Sink();
    if (!sink) return -1;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    IDispatch* newBrowser = nullptr;
    VARIANT args[7] = {}, address{};
    V_VT(&address) = VT_BSTR;
    V_BSTR(&address) = SysAllocString(url);
    // Last argument first: the browser is the first argument, Cancel the last but for NewWindow3,
    // whose flags, referrer and address follow it. A frame's browser is any object but the control.
    const bool load = dispid == DISPID_NAVIGATEERROR || dispid == DISPID_DOCUMENTCOMPLETE;
    const UINT count =
        dispid == DISPID_BEFORENAVIGATE2 ? 7 : dispid == DISPID_NEWWINDOW3 || dispid == DISPID_NAVIGATEERROR ? 5 : 2;
    V_VT(&args[count == 5 ? 3 : 0]) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&args[count == 5 ? 3 : 0]) = &cancel;
    V_VT(&args[count - 1]) = count == 7 ? VT_DISPATCH : VT_DISPATCH | VT_BYREF;
    if (count == 7) V_DISPATCH(&args[6]) = frame ? sink : static_cast<IDispatch*>(*found);
    else V_DISPATCHREF(&args[count - 1]) = &newBrowser;
    V_VT(&args[5]) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&args[5]) = &address;
    if (count == 5) args[0] = address;
    if (load) {  // (browser, address, frame name, status, Cancel) and (browser, address)
        V_VT(&args[0]) = VT_BOOL | VT_BYREF;
        V_BOOLREF(&args[0]) = &cancel;
        V_VT(&args[count - 2]) = VT_VARIANT | VT_BYREF;
        V_VARIANTREF(&args[count - 2]) = &address;
        V_VT(&args[count - 1]) = VT_DISPATCH;
        V_DISPATCH(&args[count - 1]) = frame ? sink : static_cast<IDispatch*>(*found);
    }
    DISPPARAMS params{args, nullptr, count, 0};
    HRESULT hr = sink->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    SysFreeString(V_BSTR(&address));
    return SUCCEEDED(hr) && cancel ? 1 : 0;
}

extern "C" __declspec(dllexport) int StandInTranslated()
{
    return g_translated;
}
