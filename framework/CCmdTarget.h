#pragma once
#include <windows.h>

class CCmdTarget;

// One row of a class's message map: a message, or a command's notification code and
// control-id range, and a thunk that calls the typed handler.
struct AFX_MSGMAP_ENTRY {
    UINT message;
    UINT code;
    UINT id;
    UINT idLast;
    LRESULT (*thunk)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                \
protected:                                                   \
    static const AFX_MSGMAP* GetThisMessageMap();            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                   \
    {                                                                                 \
        typedef theClass ThisClass [[maybe_unused]];                                  \
        typedef baseClass TheBaseClass;                                               \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                          \
            {0, 0, 0, 0, nullptr}                                                  \
        };                                                                         \
        static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                               \
    }

#define AFX_THUNK(body) [](CCmdTarget* target, WPARAM wParam, LPARAM lParam) -> LRESULT { \
        (void)wParam; (void)lParam; ThisClass* self = static_cast<ThisClass*>(target); body }

// Commands from menus and accelerators carry code 0, as do button clicks.
#define ON_COMMAND(id, handler) {WM_COMMAND, 0, (id), (id), AFX_THUNK(self->handler(); return 0;)},
#define ON_BN_CLICKED(id, handler) {WM_COMMAND, BN_CLICKED, (id), (id), AFX_THUNK(self->handler(); return 0;)},

// Owns a message map: the base of windows and of the application object.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

protected:
    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }
    static const AFX_MSGMAP* GetThisMessageMap();
    // Looks the message up in this class's map and its bases'; true when a handler ran.
    bool Dispatch(UINT message, UINT code, UINT id, WPARAM wParam, LPARAM lParam, LRESULT* result);
};
