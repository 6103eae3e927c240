#pragma once
#include "framework/CWnd.h"
#include <functional>
#include <vector>

// A visible top-level window at a fixed screen place, painted in one colour, that records every
// WM_COMMAND it receives.
class TestParent : public CWnd {
public:
    TestParent(int x, int y, int width, int height, COLORREF background);
    ~TestParent() override;

    HWND AddChild(const wchar_t* windowClass, DWORD style, int id, RECT place);

    struct Command {
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Command> commands;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnEraseBkgnd(CDC* dc);
    COLORREF m_background;
    DECLARE_MESSAGE_MAP()
};

// Handles this thread's messages until the condition holds or the time is up; whether it held.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000);
COLORREF PixelOf(HWND wnd, int x, int y);
