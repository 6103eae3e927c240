#include "skin/SkinButtonState.h"

unsigned SkinButtonStep(SkinPointerEvent event, BOOL& hover, BOOL& pressed)
{
    switch (event) {
    case SkinPointerEvent::MoveInside:
        if (hover) return 0;
        hover = TRUE;
        return SkinRedraw | SkinSetCapture;
    case SkinPointerEvent::MoveOutside:
        if (!hover) return 0;
        hover = FALSE;
        return SkinRedraw | (pressed ? 0u : SkinReleaseCapture);
    case SkinPointerEvent::ButtonDown:
        pressed = TRUE;
        hover = TRUE;
        return 0;
    case SkinPointerEvent::ButtonUp: {
        pressed = FALSE;
        unsigned actions = SkinReleaseCapture | SkinRedraw | (hover ? SkinClick : 0u);
        hover = FALSE;
        return actions;
    }
    }
    return 0;
}
