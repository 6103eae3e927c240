#pragma once
#include <windows.h>

// The keyboard as the accelerator test reads it; the system's GetAsyncKeyState and GetKeyState.
struct KeyboardState {
    SHORT (WINAPI* asyncKeyState)(int key);
    SHORT (WINAPI* keyState)(int key);
};

// Whether the web panels take this message away from the page: a key-down while F5 is down,
// or while Ctrl is down with O, P or N. The message's own key code is not looked at.
bool IsBlockedAccelerator(UINT message, const KeyboardState& keyboard);
