#pragma once
#include "framework/CString.h"
#include "framework/CDC.h"
#include <windows.h>

#include "framework/CCmdTarget.h"

class COleControlContainer;
class COleControlSite;

// All WM_CTLCOLOR* requests reach handlers as this one message, with this record as lParam.
constexpr UINT AFX_WM_CTLCOLOR = 0x0019;

struct AFX_CTLCOLOR {
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, AFX_THUNK(self->OnPaint(); return 0;)},
#define ON_WM_NCPAINT() {WM_NCPAINT, 0, 0, 0, AFX_THUNK(self->OnNcPaint(); return 0;)},
#define ON_WM_ERASEBKGND() {WM_ERASEBKGND, 0, 0, 0, \
        AFX_THUNK(CDC dc(reinterpret_cast<HDC>(wParam)); return self->OnEraseBkgnd(&dc);)},
#define ON_WM_QUERYDRAGICON() {WM_QUERYDRAGICON, 0, 0, 0, \
        AFX_THUNK(return reinterpret_cast<LRESULT>(self->OnQueryDragIcon());)},
#define ON_WM_SIZE() {WM_SIZE, 0, 0, 0, \
        AFX_THUNK(self->OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;)},
#define AFX_MOUSE_ENTRY(message, handler) {message, 0, 0, 0, AFX_THUNK( \
        self->handler(static_cast<UINT>(wParam), CWnd::PointFromLParam(lParam)); return 0;)},
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_MOUSELEAVE() {WM_MOUSELEAVE, 0, 0, 0, AFX_THUNK(self->OnMouseLeave(); return 0;)},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, AFX_THUNK(self->OnTimer(static_cast<UINT_PTR>(wParam)); return 0;)},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, AFX_THUNK(self->OnDestroy(); return 0;)},
#define ON_WM_SETCURSOR() {WM_SETCURSOR, 0, 0, 0, AFX_THUNK( \
        return self->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));)},
#define ON_WM_CTLCOLOR() {AFX_WM_CTLCOLOR, 0, 0, 0, AFX_THUNK( \
        const AFX_CTLCOLOR* c = reinterpret_cast<const AFX_CTLCOLOR*>(lParam); CDC dc(c->hDC); \
        return reinterpret_cast<LRESULT>(self->OnCtlColor(&dc, CWnd::FromHandle(c->hWnd), c->nCtlType));)},
#define ON_WM_CTLCOLOR_REFLECT() {WM_REFLECT_BASE + AFX_WM_CTLCOLOR, 0, 0, 0, AFX_THUNK( \
        const AFX_CTLCOLOR* c = reinterpret_cast<const AFX_CTLCOLOR*>(lParam); CDC dc(c->hDC); \
        return reinterpret_cast<LRESULT>(self->CtlColor(&dc, c->nCtlType));)},
// A child's own handling of its notification code; the _EX form's handler returns false to
// decline, and the parent's map then sees the notification as well.
#define ON_CONTROL_REFLECT(code, handler) {WM_REFLECT_BASE + WM_COMMAND, (code), 0, 0, \
        AFX_THUNK(self->handler(); return TRUE;)},
#define ON_CONTROL_REFLECT_EX(code, handler) {WM_REFLECT_BASE + WM_COMMAND, (code), 0, 0, \
        AFX_THUNK(return self->handler() ? TRUE : FALSE;)},
#define ON_MESSAGE(message, handler) {message, 0, 0, 0, AFX_THUNK(return self->handler(wParam, lParam);)},

// A window handle and the object that receives its messages.
class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }

    // The object bound to a handle, or a temporary one that lives until the current
    // outermost message has been handled.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);

    bool Attach(HWND hWnd);
    HWND Detach();
    // Routes the window's messages through this object; calls PreSubclassWindow first.
    bool SubclassWindow(HWND hWnd);
    HWND UnsubclassWindow();

    virtual void PreSubclassWindow() {}
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A parent's notification or owner-draw/colour request for this child; true when handled here.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A message about to be dispatched by the modal loop; true when it was used up here.
    virtual BOOL PreTranslateMessage(MSG*) { return FALSE; }
    // PreTranslateMessage of each framework window from the message's window up to stop.
    static bool WalkPreTranslateTree(HWND stop, MSG* message);

    // Creates a window of the given class bound to this object.
    virtual bool Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, void* context = nullptr);
    // Creates an ActiveX control in a site made by the manager in force and binds it to this object.
    bool CreateControl(const CLSID& clsid, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                       UINT id);
    // An automation call on the hosted control; nothing without a site. One pointer per parameter.
    template <class... Args>
    void InvokeHelper(DISPID dispid, WORD flags, VARTYPE returnType, void* result, const BYTE* paramInfo,
                      Args*... args)
    {
        const void* list[] = {args..., nullptr};
        InvokeHelperV(dispid, flags, returnType, result, paramInfo, list);
    }
    void InvokeHelperV(DISPID dispid, WORD flags, VARTYPE returnType, void* result, const BYTE* paramInfo,
                       const void* const* args);

    // The site of the ActiveX control this object wraps, and the container of those this window hosts.
    COleControlSite* m_pCtrlSite = nullptr;
    COleControlContainer* m_pCtrlCont = nullptr;
    // The default processing of the message being handled.
    LRESULT Default();

    static POINT PointFromLParam(LPARAM lParam);

    // Thin wrappers; each is safe on an unbound object.
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text ? text : L""); }
    void GetWindowText(CString& text) const;
    CString GetWindowText() const { CString text; GetWindowText(text); return text; }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    bool ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    bool ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    bool SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags) != FALSE;
    }
    bool ShowWindow(int command) { return ::ShowWindow(m_hWnd, command) != FALSE; }
    void GetWindowRect(RECT* rect) const;
    void GetClientRect(RECT* rect) const;
    void ScreenToClient(RECT* rect) const;
    void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(const RECT* rect, bool erase = true) { ::InvalidateRect(m_hWnd, rect, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    bool IsIconic() const { return ::IsIconic(m_hWnd) != FALSE; }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam) != FALSE;
    }
    // The mouse's messages come here until ReleaseCapture; the previous holder, if any.
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    HDC GetDC() const { return ::GetDC(m_hWnd); }
    int ReleaseDC(HDC dc) const { return ::ReleaseDC(m_hWnd, dc); }
    // A null caption gives the application name.
    int MessageBox(const wchar_t* text, const wchar_t* caption = nullptr, UINT type = MB_OK) const;
    void CenterWindow();
    bool DestroyWindow();
    // Tears down the hosted controls; the window itself stays.
    void DestroyControlContainer();

protected:
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Hands a message from the parent back through this object's reflected-message map entries.
    bool ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    WNDPROC m_pfnSuper = nullptr;

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend void AfxHookWindowCreate(CWnd*);

private:
    bool ModifyWindowLong(int index, DWORD remove, DWORD add, UINT flags);
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// The next window this thread creates is bound to and subclassed by the given object.
void AfxHookWindowCreate(CWnd* wnd);
bool AfxUnhookWindowCreate();
// Shows the standard error box for whatever exception is in flight; for catch (...) blocks.
void AfxReportCurrentException();
