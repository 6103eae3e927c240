#include "framework/COleControlContainer.h"
#include "framework/COleControlSite.h"
#include "framework/CWnd.h"

COleControlContainer::COleControlContainer(CWnd* wnd)
    : m_pWnd(wnd), m_bOleInitialized(SUCCEEDED(OleInitialize(nullptr)))
{
}

COleControlContainer::~COleControlContainer()
{
    // Last created, first gone: a control never outlives one created before it.
    for (auto site = m_sites.rbegin(); site != m_sites.rend(); ++site) {
        (*site)->DestroyControl();
        (*site)->InternalRelease();
    }
    m_sites.clear();
    if (m_bOleInitialized) OleUninitialize();
}

bool COleControlContainer::AddSite(COleControlSite* site)
{
    if (!site) return false;
    if (!site->m_pObject) {
        site->InternalRelease();
        return false;
    }
    m_sites.push_back(site);
    return true;
}

COleControlSite* COleControlContainer::FindSite(UINT id) const
{
    for (COleControlSite* site : m_sites)
        if (site->m_nID == id) return site;
    return nullptr;
}

bool COleControlContainer::TranslateAccelerator(MSG* message)
{
    if (!message || message->message < WM_KEYFIRST || message->message > WM_KEYLAST) return false;
    for (COleControlSite* site : m_sites) {
        HWND control = site->m_hWnd;
        if (!control || (message->hwnd != control && !IsChild(control, message->hwnd))) continue;
        return site->TranslateAccelerator(message);
    }
    return false;
}
