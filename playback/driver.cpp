#include "playback/playback.h"

HDC ScreenDC;
std::int32_t OriginX;
std::int32_t OriginY;
HGDIOBJ OldPen;
HGDIOBJ OldBrush;

namespace {

// Paints row i in its own pen and brush and returns the next row to play.
std::int32_t PlayCycle(const DrawingScript& script, std::int32_t i) {
    const COLORREF colour = Palette[script.StrokeColors[i]];
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    OldPen = SelectObject(ScreenDC, pen);
    HBRUSH brush = CreateSolidBrush(colour);
    OldBrush = SelectObject(ScreenDC, brush);

    const StrokePoint point = script.StrokePoints[i];
    const std::int32_t x = point.X + OriginX;
    const std::int32_t y = point.Y + OriginY;
    const BYTE s = script.StrokeSizes[i];
    std::int32_t next = i + 1;
    switch (KindOfRow(i, s)) {
    case RowKind::Segment: {
        const StrokePoint end = script.StrokePoints[i + 1];
        DrawSegment(x, y, end.X + OriginX, end.Y + OriginY, s - OffsetSizeCode);
        next = i + 2;
        break;
    }
    case RowKind::SmallDot: StampDot(x, y, s); break;
    case RowKind::OffsetDot: StampDot(x, y, s - OffsetSizeCode); break;
    }

    SelectObject(ScreenDC, OldBrush);
    DeleteObject(brush);
    SelectObject(ScreenDC, OldPen);
    DeleteObject(pen);
    Sleep(CyclePause);
    return next;
}

}  // namespace

void PlayDrawing(const DrawingScript& script) {
    ScreenDC = GetDC(nullptr);
    OriginX = GetSystemMetrics(SM_CXSCREEN) / 2 - FrameHalfWidth;
    OriginY = GetSystemMetrics(SM_CYSCREEN) / 2 - FrameHalfHeight;
    std::int32_t i = 1;
    do {
        i = PlayCycle(script, i);
    } while (i <= script.StrokeCount);
    ReleaseDC(nullptr, ScreenDC);
}
