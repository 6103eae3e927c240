#pragma once
#include <windows.h>
#include <ole2.h>

class CCmdTarget;

// Messages a parent hands back to the child they concern.
constexpr UINT WM_REFLECT_BASE = 0xBC00;

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

// One row of a class's interface map: an interface id and the nested object that implements it.
struct AFX_INTERFACEMAP_ENTRY {
    const IID* piid;
    IUnknown* (*pfnGet)(CCmdTarget* target);
};

struct AFX_INTERFACEMAP {
    const AFX_INTERFACEMAP* (*pfnGetBaseMap)();
    const AFX_INTERFACEMAP_ENTRY* pEntry;
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

// Menus send code 0 and accelerators code 1; both arrive without a control window and reach
// ON_COMMAND entries as code 0, the code of a button click.
#define ON_CONTROL(code, id, handler) {WM_COMMAND, (code), (id), (id), AFX_THUNK(self->handler(); return 0;)},
#define ON_COMMAND(id, handler) ON_CONTROL(0, id, handler)
#define ON_BN_CLICKED(id, handler) ON_CONTROL(BN_CLICKED, id, handler)

#define DECLARE_INTERFACE_MAP()                                  \
public:                                                          \
    static const AFX_INTERFACEMAP* GetThisInterfaceMap();        \
    const AFX_INTERFACEMAP* GetInterfaceMap() const override;

#define BEGIN_INTERFACE_MAP(theClass, baseClass)                                                \
    const AFX_INTERFACEMAP* theClass::GetInterfaceMap() const { return GetThisInterfaceMap(); } \
    const AFX_INTERFACEMAP* theClass::GetThisInterfaceMap()                                     \
    {                                                                                           \
        typedef theClass ThisClass;                                                             \
        typedef baseClass TheBaseClass;                                                         \
        static const AFX_INTERFACEMAP_ENTRY entries[] = {

#define INTERFACE_PART(iid, member) {&(iid), [](CCmdTarget* target) -> IUnknown* { \
        return &static_cast<ThisClass*>(target)->member; }},

#define END_INTERFACE_MAP()                                                                \
            {nullptr, nullptr}                                                             \
        };                                                                                 \
        static const AFX_INTERFACEMAP map = {&TheBaseClass::GetThisInterfaceMap, entries}; \
        return &map;                                                                       \
    }

// Owns a message map, and an interface map with a COM reference count for the objects that
// implement interfaces as nested members: the base of windows, the application and sites.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Through the controlling unknown when the object is aggregated, else the object's own.
    HRESULT ExternalQueryInterface(const IID* iid, void** object);
    ULONG ExternalAddRef();
    ULONG ExternalRelease();
    HRESULT InternalQueryInterface(const IID* iid, void** object);
    ULONG InternalAddRef();
    ULONG InternalRelease();
    // The object's own unknown: the first entry of its interface map.
    IUnknown* GetInterface(const IID* iid);

    static const AFX_INTERFACEMAP* GetThisInterfaceMap();
    virtual const AFX_INTERFACEMAP* GetInterfaceMap() const { return GetThisInterfaceMap(); }

protected:
    // An interface whose id is known only at run time, asked before the map; none by default.
    virtual IUnknown* GetInterfaceHook(const IID*) { return nullptr; }
    // The last reference went: deletes the object.
    virtual void OnFinalRelease() { delete this; }

    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }
    static const AFX_MSGMAP* GetThisMessageMap();
    // Looks the message up in this class's map and its bases'; true when a handler ran.
    bool Dispatch(UINT message, UINT code, UINT id, WPARAM wParam, LPARAM lParam, LRESULT* result);

    volatile LONG m_dwRef = 1;
};
