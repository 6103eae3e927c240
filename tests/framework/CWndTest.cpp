#include "framework/CBitmap.h"
#include "framework/CButton.h"
#include "framework/CFileException.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "MessageBoxWatcher.h"
#include <doctest/doctest.h>
#include <string>

namespace {

HWND MakeWindow(const wchar_t* cls, DWORD style, HWND parent, int id)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TestHost";
        RegisterClassW(&wc);
        registered = true;
    }
    return CreateWindowExW(0, cls, L"", style, 0, 0, 200, 100, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

// Records which handlers ran, in order.
std::string g_log;

class BaseHost : public CWnd {
protected:
    void OnPaint() { g_log += "base-paint;"; Default(); }
    void OnOne() { g_log += "base-one;"; }
    void OnTwo() { g_log += "base-two;"; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseHost, CWnd)
    ON_WM_PAINT()
    ON_BN_CLICKED(1, OnOne)
    ON_COMMAND(2, OnTwo)
END_MESSAGE_MAP()

class Host : public BaseHost {
public:
    HBRUSH hostBrush = CreateSolidBrush(RGB(1, 2, 3));
    ~Host() override { DeleteObject(hostBrush); }

protected:
    void OnOne() { g_log += "derived-one;"; }
    void OnSeven() { g_log += "host-click;"; }
    void OnSevenFocus() { g_log += "host-focus;"; }
    void OnThrowAccess() { throw CFileException(CFileException::accessDenied, ERROR_ACCESS_DENIED, L"C:\\g\\war_temp.zip"); }
    void OnThrowOther() { throw 42; }
    void OnSize(UINT kind, int cx, int cy) { g_log += "size " + std::to_string(kind) + " " + std::to_string(cx) + "x" + std::to_string(cy) + ";"; }
    HBRUSH OnCtlColor(CDC*, CWnd* control, UINT kind)
    {
        g_log += "host-color " + std::to_string(kind) + (control ? " ctl;" : ";");
        return hostBrush;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Host, BaseHost)
    ON_BN_CLICKED(1, OnOne)
    ON_BN_CLICKED(3, OnThrowAccess)
    ON_BN_CLICKED(4, OnThrowOther)
    ON_BN_CLICKED(7, OnSeven)
    ON_CONTROL(BN_SETFOCUS, 7, OnSevenFocus)
    ON_WM_SIZE()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class DrawnButton : public CButton {
public:
    std::string name;
    bool subclassed = false;
    HBRUSH brush = nullptr;
    bool decline = false;
    void DrawItem(LPDRAWITEMSTRUCT item) override { g_log += "draw " + name + " " + std::to_string(item->itemAction) + ";"; }

protected:
    void PreSubclassWindow() override { subclassed = m_hWnd != nullptr; }
    HBRUSH CtlColor(CDC*, UINT kind)
    {
        g_log += "child-color " + name + " " + std::to_string(kind) + ";";
        return brush;
    }
    bool OnReflectedClick()
    {
        g_log += "child-click " + name + ";";
        return !decline;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DrawnButton, CButton)
    ON_WM_CTLCOLOR_REFLECT()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnReflectedClick)
END_MESSAGE_MAP()

struct Fixture {
    Host host;
    DrawnButton left, right;
    Fixture()
    {
        g_log.clear();
        HWND top = MakeWindow(L"TestHost", WS_OVERLAPPEDWINDOW, nullptr, 0);
        host.SubclassWindow(top);
        left.name = "left";
        right.name = "right";
        // Two children with the same id: reflection must go by handle.
        left.SubclassWindow(MakeWindow(L"Button", WS_CHILD | BS_OWNERDRAW, top, 7));
        right.SubclassWindow(MakeWindow(L"Button", WS_CHILD | BS_OWNERDRAW, top, 7));
    }
    ~Fixture() { DestroyWindow(host.m_hWnd); }
    LRESULT Command(int id, HWND from = nullptr, WORD code = BN_CLICKED)
    {
        return host.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(from));
    }
};

} // namespace

TEST_CASE("message maps reach the most derived handler and fall back to the base's")
{
    Fixture f;
    f.Command(1);
    f.Command(2, nullptr, 1);  // an accelerator's command
    f.Command(9);  // no entry: default processing only
    f.host.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(476, 491));
    CHECK(g_log == "derived-one;base-two;size 0 476x491;");
}

TEST_CASE("a child's reflected handler sees its own code only, and what it declines reaches the parent")
{
    Fixture f;
    f.Command(7, f.left.m_hWnd);
    f.Command(7, f.left.m_hWnd, BN_SETFOCUS);
    f.right.decline = true;
    f.Command(7, f.right.m_hWnd);
    CHECK(g_log == "child-click left;host-focus;child-click right;host-click;");
}

TEST_CASE("the creation hook refuses a window that its object cannot bind")
{
    CWnd wnd;
    HWND first = MakeWindow(L"TestHost", WS_OVERLAPPEDWINDOW, nullptr, 0);
    REQUIRE(wnd.Attach(first));
    AfxHookWindowCreate(&wnd);
    HWND second = MakeWindow(L"TestHost", WS_OVERLAPPEDWINDOW, nullptr, 0);
    AfxUnhookWindowCreate();
    CHECK(second == nullptr);
    CHECK(wnd.m_hWnd == first);
    if (second) DestroyWindow(second);
    wnd.Detach();
    DestroyWindow(first);
}

TEST_CASE("owner-draw requests go to the child found by handle before the parent")
{
    Fixture f;
    CHECK(f.left.subclassed);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = 7;
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = f.right.m_hWnd;
    CHECK(f.host.SendMessage(WM_DRAWITEM, 7, reinterpret_cast<LPARAM>(&item)) == TRUE);
    item.hwndItem = f.left.m_hWnd;
    item.itemAction = ODA_SELECT;
    f.host.SendMessage(WM_DRAWITEM, 7, reinterpret_cast<LPARAM>(&item));
    CHECK(g_log == "draw right 1;draw left 2;");
}

TEST_CASE("control colours: the child's reflected brush wins, else the parent's handler runs")
{
    Fixture f;
    HDC dc = GetDC(f.host.m_hWnd);
    HBRUSH childBrush = CreateSolidBrush(RGB(9, 9, 9));
    f.left.brush = childBrush;
    LRESULT fromLeft = f.host.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(f.left.m_hWnd));
    LRESULT fromRight = f.host.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(f.right.m_hWnd));
    LRESULT fromDialog = f.host.SendMessage(WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(f.host.m_hWnd));
    CHECK(fromLeft == reinterpret_cast<LRESULT>(childBrush));
    CHECK(fromRight == reinterpret_cast<LRESULT>(f.host.hostBrush));
    CHECK(fromDialog == reinterpret_cast<LRESULT>(f.host.hostBrush));
    CHECK(g_log == "child-color left 3;child-color right 6;host-color 6 ctl;host-color 4 ctl;");
    ReleaseDC(f.host.m_hWnd, dc);
    DeleteObject(childBrush);
}

TEST_CASE("an exception leaving a command handler shows the error box and the window goes on")
{
    Fixture f;
    CWinApp app;
    {
        MessageBoxWatcher box;
        CHECK(f.Command(3) == 0);
        CHECK(box.seen == 1);
        CHECK(box.text == L"拒绝访问 C:\\g\\war_temp.zip。");
        CHECK(box.caption == L"framework_tests");
        CHECK(box.hasIcon);
    }
    {
        MessageBoxWatcher box;
        f.Command(4);
        CHECK(box.seen == 1);
        CHECK_FALSE(box.text.empty());
    }
    g_log.clear();
    f.Command(1);
    CHECK(g_log == "derived-one;");
    CHECK(IsWindow(f.host.m_hWnd));
}

TEST_CASE("destroying a window unbinds its object; temporaries never outlive the message")
{
    DrawnButton button;
    HWND parent = MakeWindow(L"TestHost", WS_OVERLAPPEDWINDOW, nullptr, 0);
    HWND child = MakeWindow(L"Button", WS_CHILD, parent, 5);
    REQUIRE(button.SubclassWindow(child));
    CHECK(CWnd::FromHandlePermanent(child) == &button);
    CWnd* temporary = CWnd::FromHandle(parent);
    CHECK(temporary != nullptr);
    CHECK(temporary->m_hWnd == parent);
    CHECK(CWnd::FromHandlePermanent(parent) == nullptr);
    // Marked, so that a wrapper still held after the next message would show.
    temporary->m_hWnd = nullptr;
    button.SendMessage(WM_NULL);
    CHECK(CWnd::FromHandle(parent)->m_hWnd == parent);
    DestroyWindow(parent);
    CHECK(button.m_hWnd == nullptr);
    CHECK(CWnd::FromHandlePermanent(child) == nullptr);
}

TEST_CASE("a GDI owner given the object it already owns keeps it")
{
    CBitmap bitmap;
    HGDIOBJ owned = CreateBitmap(4, 4, 1, 32, nullptr);
    REQUIRE(bitmap.Attach(owned));
    CHECK(bitmap.Attach(owned));
    CHECK(GetObjectType(owned) == OBJ_BITMAP);
}
