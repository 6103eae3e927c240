#include "framework/CCmdTarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
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
