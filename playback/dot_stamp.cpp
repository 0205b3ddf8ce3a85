#include "playback/playback.h"

void StampDot(std::int32_t x, std::int32_t y, std::int32_t d) {
    Ellipse(ScreenDC, x, y, x + d, y + d);
    SetCursorPos(x + CursorOffset, y + CursorOffset);
}
