#pragma once
#include <windows.h>
#include <ole2.h>
#include <string>

// The stand-in control, loaded into this process and registered in place of the WebBrowser
// control for as long as this object lives.
class StandInServer {
public:
    StandInServer();
    ~StandInServer();
    StandInServer(const StandInServer&) = delete;
    StandInServer& operator=(const StandInServer&) = delete;

    bool Registered() const { return m_cookie != 0; }
    std::wstring Log() const;
    void ClearLog();
    // The client site the nth control was given, with a reference for the caller.
    IOleClientSite* Site(unsigned int index) const;
    // Drops the stand-in's own references to the sites; the counts left after each.
    void ReleaseSites(ULONG* counts, unsigned int size) const;
    int Translated() const;
    // Fires a browser event from the control of that window (see StandInFire): 1 when the site
    // cancelled it, 0 when not, -1 without a control or sink.
    int Fire(HWND window, DISPID dispid, const wchar_t* url, bool frame = false) const;

private:
    template <class F> F Export(const char* name) const
    {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }
    HMODULE m_module = nullptr;
    DWORD m_cookie = 0;
    bool m_oleInitialized = false;
};
