#include "framework/COccManager.h"
#include "framework/COleControlContainer.h"
#include "framework/COleControlSite.h"
#include "framework/CWnd.h"

namespace {

COccManager* g_occManager = nullptr;

COccManager& DefaultManager()
{
    static COccManager manager;
    return manager;
}

// The sibling after which the item at this place of the template belongs: the earlier items
// are already in their stacking order, so it is the one that many steps down.
HWND InsertAfter(HWND parent, HWND created, unsigned int place)
{
    if (place == 0) return HWND_TOP;
    HWND previous = nullptr;
    unsigned int seen = 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child && seen < place; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child == created) continue;
        previous = child;
        ++seen;
    }
    return previous ? previous : HWND_BOTTOM;
}

} // namespace

void AfxEnableControlContainer(COccManager* manager)
{
    g_occManager = manager ? manager : &DefaultManager();
}

COccManager* AfxGetOccManager()
{
    return g_occManager;
}

COleControlContainer* COccManager::CreateContainer(CWnd* wnd)
{
    return new COleControlContainer(wnd);
}

COleControlSite* COccManager::CreateSite(COleControlContainer* container)
{
    return new COleControlSite(container);
}

COleControlSite* COccManager::CreateSite(COleControlContainer* container, const DialogTemplateItem&)
{
    return CreateSite(container);
}

void COccManager::CreateDlgControls(CWnd* dialog, const std::vector<DialogTemplateItem>& items,
                                    const std::vector<DialogInitRecord>& initRecords)
{
    if (!dialog || !dialog->m_hWnd || items.empty()) return;
    if (!dialog->m_pCtrlCont) dialog->m_pCtrlCont = CreateContainer(dialog);
    COleControlContainer* container = dialog->m_pCtrlCont;
    for (const DialogTemplateItem& item : items) {
        CLSID clsid;
        if (FAILED(CLSIDFromString(const_cast<wchar_t*>(static_cast<const wchar_t*>(item.className)), &clsid)))
            continue;
        const std::vector<unsigned char>* state = nullptr;
        for (const DialogInitRecord& record : initRecords) {
            if (record.id == item.id && record.message == WM_OCC_LOADFROMSTREAM) {
                state = &record.data;
                break;
            }
        }
        // Template units to pixels, as the dialog manager converts its own items.
        RECT rect{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(dialog->m_hWnd, &rect);
        COleControlSite* site = CreateSite(container, item);
        if (!site) continue;
        HRESULT hr = site->CreateControl(clsid, L"", item.style, rect, item.id, state);
        if (FAILED(hr)) site->DestroyControl();
        HWND control = site->m_hWnd;
        if (!container->AddSite(site)) continue;
        if (control)
            SetWindowPos(control, InsertAfter(dialog->m_hWnd, control, item.index), 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}
