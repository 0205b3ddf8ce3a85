#include "playback/playback.h"

#include <cstdint>

std::int64_t RoundedQuotient(std::int64_t p, std::int64_t q, std::int64_t divisor) {
    // Work on magnitudes: |p * q| < 2^64 fits in 64 unsigned bits, and
    // rounding half to even is symmetric about zero.
    const bool negative = ((p < 0) != (q < 0)) != (divisor < 0);
    const auto magnitude = [](std::int64_t v) { return static_cast<std::uint64_t>(v < 0 ? -v : v); };
    const std::uint64_t numerator = magnitude(p) * magnitude(q);
    const std::uint64_t denominator = magnitude(divisor);
    std::uint64_t quotient = numerator / denominator;
    const std::uint64_t twiceRemainder = 2 * (numerator % denominator);
    if (twiceRemainder > denominator || (twiceRemainder == denominator && quotient % 2 == 1)) ++quotient;
    const auto rounded = static_cast<std::int64_t>(quotient);
    return negative ? -rounded : rounded;
}

// The loops count in 64 bits so that no end point, however large, overflows
// the counter; every value they stamp lies between the segment's ends.
void DrawSegment(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t d) {
    const std::int64_t dx = std::int64_t{x2} - x1;
    const std::int64_t dy = std::int64_t{y2} - y1;

    // One dot per column, at rising x; with no width, down the column.
    if (dx != 0) {
        for (std::int64_t x = dx > 0 ? x1 : x2, last = dx > 0 ? x2 : x1; x <= last; ++x)
            StampDot(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y1 + RoundedQuotient(dy, x - x1, dx)), d);
    } else {
        for (std::int64_t y = y1; y <= y2; ++y) StampDot(x1, static_cast<std::int32_t>(y), d);
    }

    // One dot per line, at rising y; with no height, along the line.
    if (dy != 0) {
        for (std::int64_t y = dy > 0 ? y1 : y2, last = dy > 0 ? y2 : y1; y <= last; ++y)
            StampDot(static_cast<std::int32_t>(x1 + RoundedQuotient(dx, y - y1, dy)), static_cast<std::int32_t>(y), d);
    } else {
        for (std::int64_t x = x1; x <= x2; ++x) StampDot(static_cast<std::int32_t>(x), y1, d);
    }
}
