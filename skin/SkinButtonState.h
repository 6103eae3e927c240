#pragma once
#include <windows.h>

// The pointer events a skin button follows; "inside" and "outside" are of its client rectangle.
enum class SkinPointerEvent { MoveInside, MoveOutside, ButtonDown, ButtonUp };

// What an event asks of the button, done in this order.
enum SkinButtonAction : unsigned {
    SkinReleaseCapture = 1,
    SkinRedraw = 2,
    SkinSetCapture = 4,
    SkinClick = 8,
};

// Applies one event to the button's hover and pressed flags and returns the actions it calls for.
// Hovering holds the capture, so that the move which leaves the button is seen; a press keeps it
// while the pointer is outside, and only a release over the button clicks.
unsigned SkinButtonStep(SkinPointerEvent event, bool& hover, bool& pressed);
