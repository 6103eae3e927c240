#include "skin/SkinButtonState.h"

unsigned SkinButtonStep(SkinPointerEvent event, bool& hover, bool& pressed)
{
    switch (event) {
    case SkinPointerEvent::MoveInside:
        if (hover) return 0;
        hover = true;
        return SkinRedraw | SkinSetCapture;
    case SkinPointerEvent::MoveOutside:
        if (!hover) return 0;
        hover = false;
        return SkinRedraw | (pressed ? 0u : SkinReleaseCapture);
    case SkinPointerEvent::ButtonDown:
        pressed = true;
        hover = true;
        return 0;
    case SkinPointerEvent::ButtonUp: {
        pressed = false;
        unsigned actions = SkinReleaseCapture | SkinRedraw | (hover ? SkinClick : 0u);
        hover = false;
        return actions;
    }
    }
    return 0;
}
