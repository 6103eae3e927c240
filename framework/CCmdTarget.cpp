#include "framework/CCmdTarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_INTERFACEMAP* CCmdTarget::GetThisInterfaceMap()
{
    static const AFX_INTERFACEMAP_ENTRY entries[] = {{nullptr, nullptr}};
    static const AFX_INTERFACEMAP map = {nullptr, entries};
    return &map;
}

bool CCmdTarget::Dispatch(UINT message, UINT code, UINT id, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    // Reflected commands match on their code alone: the id is the parent's business.
    const bool isCommand = message == WM_COMMAND;
    const bool hasCode = isCommand || message == WM_REFLECT_BASE + WM_COMMAND;
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->thunk; ++entry) {
            if (entry->message != message) continue;
            if (hasCode && entry->code != code) continue;
            if (isCommand && (id < entry->id || id > entry->idLast)) continue;
            *result = entry->thunk(this, wParam, lParam);
            return true;
        }
    }
    return false;
}

IUnknown* CCmdTarget::GetInterface(const IID* iid)
{
    const bool wantUnknown = IsEqualIID(*iid, IID_IUnknown);
    if (!wantUnknown)
        if (IUnknown* hooked = GetInterfaceHook(iid)) return hooked;
    for (const AFX_INTERFACEMAP* map = GetInterfaceMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_INTERFACEMAP_ENTRY* entry = map->pEntry; entry->piid; ++entry) {
            if (wantUnknown || IsEqualIID(*entry->piid, *iid)) return entry->pfnGet(this);
        }
    }
    return nullptr;
}

HRESULT CCmdTarget::InternalQueryInterface(const IID* iid, void** object)
{
    if (!object) return E_POINTER;
    *object = iid ? GetInterface(iid) : nullptr;
    if (!*object) return E_NOINTERFACE;
    InternalAddRef();
    return S_OK;
}

ULONG CCmdTarget::InternalAddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_dwRef));
}

ULONG CCmdTarget::InternalRelease()
{
    LONG count = InterlockedDecrement(&m_dwRef);
    if (count == 0) OnFinalRelease();
    return static_cast<ULONG>(count);
}

HRESULT CCmdTarget::ExternalQueryInterface(const IID* iid, void** object)
{
    return InternalQueryInterface(iid, object);
}

ULONG CCmdTarget::ExternalAddRef()
{
    return InternalAddRef();
}

ULONG CCmdTarget::ExternalRelease()
{
    return InternalRelease();
}
