#include "StandInServer.h"
#include "web/CWebBrowser2.h"

StandInServer::StandInServer() : m_oleInitialized(SUCCEEDED(OleInitialize(nullptr)))
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dll(path, length);
    dll = dll.substr(0, dll.rfind(L'\\') + 1) + L"standin_browser.dll";
    m_module = LoadLibraryW(dll.c_str());
    auto getClassObject = Export<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
    IUnknown* factory = nullptr;
    if (getClassObject && SUCCEEDED(getClassObject(CWebBrowser2::kClsid, IID_IClassFactory,
                                                   reinterpret_cast<void**>(&factory)))) {
        CoRegisterClassObject(CWebBrowser2::kClsid, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
        factory->Release();
    }
}

StandInServer::~StandInServer()
{
    if (m_cookie) CoRevokeClassObject(m_cookie);
    if (m_oleInitialized) OleUninitialize();
}

std::wstring StandInServer::Log() const
{
    auto log = Export<const wchar_t* (*)()>("StandInLog");
    return log ? log() : L"";
}

void StandInServer::ClearLog()
{
    if (auto clear = Export<void (*)()>("StandInClearLog")) clear();
}

IOleClientSite* StandInServer::Site(unsigned int index) const
{
    auto site = Export<IOleClientSite* (*)(unsigned int)>("StandInSite");
    return site ? site(index) : nullptr;
}

void StandInServer::ReleaseSites(ULONG* counts, unsigned int size) const
{
    if (auto release = Export<void (*)(ULONG*, unsigned int)>("StandInReleaseSites")) release(counts, size);
}

int StandInServer::Translated() const
{
    auto translated = Export<int (*)()>("StandInTranslated");
    return translated ? translated() : -1;
}

int StandInServer::Fire(HWND window, DISPID dispid, const wchar_t* url, bool frame) const
{
    auto fire = Export<int (*)(HWND, DISPID, const wchar_t*, bool)>("StandInFire");
    return fire ? fire(window, dispid, url, frame) : -1;
}
