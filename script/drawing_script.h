// The drawing that penplay plays: a palette, and a stroke table of pen
// positions with a colour and a size code each, as constant data.
#pragma once

#include "platform/platform.h"

#include <cstdint>

// A pen position: the top-left corner of the square box its dot fills,
// in pixels from the frame's top-left corner, x to the right, y downwards.
struct StrokePoint {
    std::int16_t X;
    std::int16_t Y;
};

inline constexpr std::int32_t StrokeCapacity = 6000;  // rows in every stroke table
inline constexpr int PaletteSize = 28;                 // colour indices 0 to 27

// Palette: colour index -> COLORREF (0x00BBGGRR)
inline constexpr COLORREF Palette[PaletteSize] = {
    0x000000,  //  0 black
    0x0000C4,  //  1 red
    0x005EBB,  //  2 brown
    0x00C1C1,  //  3 olive
    0x008200,  //  4 green
    0xAD9401,  //  5 teal
    0xAA0000,  //  6 navy
    0x931564,  //  7 purple
    0xADADAD,  //  8 grey
    0x000000,  //  9 black, the ink of penplay's own drawing
    0x0000FF,  // 10 bright red
    0x0080FF,  // 11 orange
    0x37FFFF,  // 12 yellow
    0x00A800,  // 13 bright green
    0xFDD802,  // 14 sky blue
    0xFF0000,  // 15 blue
    0xDF2098,  // 16 violet
    0xD6D6D6,  // 17 light grey
    0x808080,  // 18 mid grey
    0x7979FF,  // 19 salmon
    0x6FB7FF,  // 20 apricot
    0xB0FFFF,  // 21 cream
    0x9AE49A,  // 22 mint
    0xFBF1AC,  // 23 pale blue
    0xFF8282,  // 24 periwinkle
    0xEE88C8,  // 25 lilac
    0xFFFFFF,  // 26 white
    0xA0A0A0,  // 27 silver
};

// Size codes: how a row's size code s is painted.
inline constexpr BYTE OffsetSizeCode = 30;       // s < 30: a dot of diameter s; else diameter s - 30
inline constexpr std::int32_t SegmentRowLimit = 5999;  // rows before it with s > 30 are segment rows

// Rows after the played ones hold these fixed contents; they are never
// painted, only read as the end of a segment row in the last played row.
inline constexpr StrokePoint FillerPoint = {111, 111};
inline constexpr BYTE FillerColor = 1;  // palette index
inline constexpr BYTE FillerSize = 18;  // size code

enum class RowKind : std::uint8_t {
    Segment,    // a run of dots from this row's point to the next row's
    SmallDot,   // one dot of diameter s
    OffsetDot,  // one dot of diameter s - 30
};

// The kind of row `row` with size code `size`, tested in this order.
constexpr RowKind KindOfRow(std::int32_t row, BYTE size) {
    if (row < SegmentRowLimit && size > OffsetSizeCode) return RowKind::Segment;
    if (size < OffsetSizeCode) return RowKind::SmallDot;
    return RowKind::OffsetDot;
}

// A whole drawing: three parallel tables over rows 1 to StrokeCapacity
// (there is no row 0: index 0 is unused, so row i is at index i), and the
// number of rows played from row 1.
struct DrawingScript {
    StrokePoint StrokePoints[StrokeCapacity + 1];
    BYTE StrokeColors[StrokeCapacity + 1];  // palette indices, 0 to 27 only
    BYTE StrokeSizes[StrokeCapacity + 1];   // size codes
    std::int32_t StrokeCount;               // 1 to StrokeCapacity
};

// penplay's own drawing.
extern const DrawingScript BuiltinDrawing;
