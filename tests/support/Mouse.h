#pragma once
#include <windows.h>

// The system's pointer, driven as the user's hand would: real input events, so that the window
// under the pointer, capture and the system's own move loop all take part.
namespace Mouse {

bool MoveTo(POINT screen);
bool LeftDown();
bool LeftUp();
// Presses at from, moves to to in steps, releases there; pauses give the target time to react.
bool Drag(POINT from, POINT to);

} // namespace Mouse
