// Screen playback: the driver that takes the screen and plays a drawing's
// rows, the segment plotter it uses for segment rows, and the dot stamp both
// paint with. Coordinates here are screen pixels.
#pragma once

#include "platform/platform.h"
#include "script/drawing_script.h"

#include <cstdint>

// Program-wide state of a run, kept by the driver.
extern HDC ScreenDC;            // the whole screen's DC, held for the run
extern std::int32_t OriginX;    // screen position of the frame's top-left corner
extern std::int32_t OriginY;
extern HGDIOBJ OldPen;          // what the cycle's pen and brush displaced
extern HGDIOBJ OldBrush;

inline constexpr std::int32_t FrameHalfWidth = 378;   // pixels; the frame is 756 by 458
inline constexpr std::int32_t FrameHalfHeight = 229;
inline constexpr std::int32_t CursorOffset = 8;       // pixels right of and below a dot's box corner
inline constexpr DWORD CyclePause = 2;                // milliseconds after every cycle

// Takes the screen, plays rows 1 to script.StrokeCount one cycle at a time
// and gives the screen back.
void PlayDrawing(const DrawingScript& script);

// One dot of diameter d in the box whose top-left corner is (x, y), and the
// cursor to that corner plus CursorOffset, with what is selected into ScreenDC.
void StampDot(std::int32_t x, std::int32_t y, std::int32_t d);

// A straight run of dots from (x1, y1) to (x2, y2): one per column, then one
// per line, so it has no gaps whatever its slope.
void DrawSegment(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t d);

// p * q / divisor rounded to the nearest integer, ties to even, exactly, for
// |p| and |divisor| below 2^32, divisor not 0 and |q| at most |divisor|.
std::int64_t RoundedQuotient(std::int64_t p, std::int64_t q, std::int64_t divisor);
