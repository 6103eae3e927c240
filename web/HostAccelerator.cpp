#include "web/HostAccelerator.h"
#include <initializer_list>

namespace {

bool IsDown(SHORT state)
{
    return (static_cast<unsigned short>(state) & 0x8000) != 0;
}

} // namespace

bool IsBlockedAccelerator(UINT message, const KeyboardState& keyboard)
{
    if (message != WM_KEYDOWN) return false;
    if (IsDown(keyboard.asyncKeyState(VK_F5))) return true;
    if (!IsDown(keyboard.keyState(VK_CONTROL))) return false;
    for (int letter : {'O', 'P', 'N'})
        if (IsDown(keyboard.asyncKeyState(letter))) return true;
    return false;
}
