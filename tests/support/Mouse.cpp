#include "Mouse.h"

namespace {

bool Send(DWORD flags, LONG x = 0, LONG y = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    return SendInput(1, &input, sizeof input) == 1;
}

} // namespace

namespace Mouse {

bool MoveTo(POINT screen)
{
    // Absolute input is in 1/65536 of the primary screen; the centre of each pixel avoids rounding off it.
    LONG x = static_cast<LONG>((screen.x * 65536LL + 32768) / GetSystemMetrics(SM_CXSCREEN));
    LONG y = static_cast<LONG>((screen.y * 65536LL + 32768) / GetSystemMetrics(SM_CYSCREEN));
    return Send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
}

bool LeftDown()
{
    return Send(MOUSEEVENTF_LEFTDOWN);
}

bool LeftUp()
{
    return Send(MOUSEEVENTF_LEFTUP);
}

bool Drag(POINT from, POINT to)
{
    const int steps = 10;
    bool ok = MoveTo(from);
    Sleep(100);
    ok = LeftDown() && ok;
    Sleep(200);
    for (int i = 1; i <= steps; ++i) {
        ok = MoveTo({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}) && ok;
        Sleep(30);
    }
    Sleep(100);
    return LeftUp() && ok;
}

} // namespace Mouse
