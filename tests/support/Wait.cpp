#include "Wait.h"

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD intervalMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        // Unsigned subtraction stays right across the tick counter's wrap.
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        const DWORD left = timeoutMs - elapsed;
        Sleep(left < intervalMs ? left : intervalMs);
    }
}
