#include "TestWindow.h"

BEGIN_MESSAGE_MAP(TestParent, CWnd)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

TestParent::TestParent(int x, int y, int width, int height, COLORREF background) : m_background(background)
{
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"SkinTestParent";
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
    SubclassWindow(CreateWindowExW(WS_EX_TOPMOST, L"SkinTestParent", L"", WS_POPUP | WS_VISIBLE, x, y, width, height,
                                   nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    UpdateWindow();
}

TestParent::~TestParent()
{
    ::DestroyWindow(m_hWnd);
}

HWND TestParent::AddChild(const wchar_t* windowClass, DWORD style, int id, RECT place)
{
    return CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                           place.right - place.left, place.bottom - place.top, m_hWnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

LRESULT TestParent::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) commands.push_back({wParam, lParam});
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL TestParent::OnEraseBkgnd(CDC* dc)
{
    RECT client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, m_background);
    return TRUE;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

COLORREF PixelOf(HWND wnd, int x, int y)
{
    HDC dc = GetDC(wnd);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(wnd, dc);
    return color;
}
