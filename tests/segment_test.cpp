// The segment plotter: which dots a segment stamps, in which order, and the
// exact rounding that places them.
#include "playback/playback.h"
#include "tests/recorded.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>

namespace {

std::string Corners(const std::vector<standin::Point>& points) {
    std::ostringstream text;
    for (const standin::Point& p : points) text << '(' << p.x << ", " << p.y << ") ";
    return text.str();
}

// Stamps one segment on a fresh screen with the DC held, as the driver would.
std::vector<standin::Point> Plot(int x1, int y1, int x2, int y2, int d = 3) {
    standin::Reset({.width = 64, .height = 64});
    ScreenDC = GetDC(nullptr);
    DrawSegment(x1, y1, x2, y2, d);
    return StampedCorners();
}

TEST(RoundedQuotient, RoundsToNearestWithTiesToEven) {
    struct Case {
        std::int64_t p, q, divisor, expected;
    };
    constexpr std::int64_t Big = 0xFFFFFFFF;  // 2^32 - 1, the largest magnitude allowed
    const Case cases[] = {
        {1, 1, 2, 0},     {3, 1, 2, 2},      {5, 1, 2, 2},    {7, 1, 2, 4},  // 0.5, 1.5, 2.5, 3.5
        {-1, 1, 2, 0},    {-3, 1, 2, -2},    {3, -1, 2, -2},  {3, 1, -2, -2},  // -0.5, -1.5 by any sign
        {-3, -1, -2, -2}, {-5, -1, 2, 2},    {2, 1, 3, 1},    {1, 1, 3, 0},   // 2/3 and 1/3 round to nearest
        {-2, 1, 3, -1},   {0, 7, -3, 0},     {9, 3, 3, 9},                     // exact
        {Big, Big, Big, Big},    {-Big, Big - 1, Big, 1 - Big}, {Big, 1, 2, Big / 2 + 1},  // Big / 2 is a tie
        {65535, 65535, 65535, 65535},  // far-apart 16-bit points: past a 32-bit product
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundedQuotient(c.p, c.q, c.divisor), c.expected)
            << "R(" << c.p << " * " << c.q << " / " << c.divisor << ")";
}

TEST(DrawSegment, StampsTheColumnsThenTheLines) {
    struct Case {
        int x1, y1, x2, y2;
        const char* expected;
    };
    const Case cases[] = {
        {0, 0, 4, 2, "(0, 0) (1, 0) (2, 1) (3, 2) (4, 2) (0, 0) (2, 1) (4, 2) "},
        {4, 2, 0, 0, "(0, 0) (1, 0) (2, 1) (3, 2) (4, 2) (0, 0) (2, 1) (4, 2) "},
        {0, 0, 2, 1, "(0, 0) (1, 0) (2, 1) (0, 0) (2, 1) "},
        {2, 1, 0, 0, "(0, 0) (1, 1) (2, 1) (0, 0) (2, 1) "},  // anchored at the start point
        {5, 5, 5, 5, "(5, 5) (5, 5) "},
        {5, 9, 5, 5, "(5, 5) (5, 6) (5, 7) (5, 8) (5, 9) "},
        {5, 5, 5, 9, "(5, 5) (5, 6) (5, 7) (5, 8) (5, 9) (5, 5) (5, 6) (5, 7) (5, 8) (5, 9) "},
        {9, 5, 5, 5, "(5, 5) (6, 5) (7, 5) (8, 5) (9, 5) "},
        {5, 5, 9, 5, "(5, 5) (6, 5) (7, 5) (8, 5) (9, 5) (5, 5) (6, 5) (7, 5) (8, 5) (9, 5) "},
        {-2, -1, 0, -3, "(-2, -1) (-1, -2) (0, -3) (0, -3) (-1, -2) (-2, -1) "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Corners(Plot(c.x1, c.y1, c.x2, c.y2)), c.expected)
            << "DrawSegment(" << c.x1 << ", " << c.y1 << ", " << c.x2 << ", " << c.y2 << ")";
}

TEST(DrawSegment, CursorFollowsEveryDotAtOffsetEightWhateverTheDiameter) {
    for (int d : {1, 28, 225}) {
        Plot(10, 20, 12, 21, d);
        EXPECT_EQ(CallLines(),
                  (std::vector<std::string>{
                      "GetDC null -> dc",
                      "Ellipse dc 10 20 " + std::to_string(10 + d) + ' ' + std::to_string(20 + d), "SetCursorPos 18 28",
                      "Ellipse dc 11 20 " + std::to_string(11 + d) + ' ' + std::to_string(20 + d), "SetCursorPos 19 28",
                      "Ellipse dc 12 21 " + std::to_string(12 + d) + ' ' + std::to_string(21 + d), "SetCursorPos 20 29",
                      "Ellipse dc 10 20 " + std::to_string(10 + d) + ' ' + std::to_string(20 + d), "SetCursorPos 18 28",
                      "Ellipse dc 12 21 " + std::to_string(12 + d) + ' ' + std::to_string(21 + d), "SetCursorPos 20 29",
                  }))
            << "d = " << d;
    }
}

// A reference for one interpolated coordinate, in wider arithmetic than the
// plotter's: from + R(span * offset / divisor).
std::int64_t Expected(std::int64_t from, std::int64_t span, std::int64_t offset, std::int64_t divisor) {
    __int128 n = static_cast<__int128>(span) * offset, d = divisor;
    if (d < 0) n = -n, d = -d;
    __int128 q = n / d, r = n % d;
    if (r < 0) q -= 1, r += d;  // floor
    if (2 * r > d || (2 * r == d && q % 2 != 0)) q += 1;
    return from + static_cast<std::int64_t>(q);
}

TEST(DrawSegment, RandomSegmentsHaveOneDotPerColumnAndPerLine) {
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> near(-40, 40), far(-32768, 32767);
    for (int round = 0; round < 400; ++round) {
        auto& pick = round % 40 == 0 ? far : near;  // a few far-apart 16-bit points
        const int x1 = pick(random), y1 = pick(random), x2 = pick(random), y2 = pick(random);
        const std::vector<standin::Point> dots = Plot(x1, y1, x2, y2);
        const int dx = x2 - x1, dy = y2 - y1;
        const std::string name = "DrawSegment(" + std::to_string(x1) + ", " + std::to_string(y1) + ", " +
                                 std::to_string(x2) + ", " + std::to_string(y2) + ")";

        const std::size_t pass1 = dx != 0 ? std::abs(dx) + 1 : dy >= 0 ? dy + 1 : 0;
        const std::size_t pass2 = dy != 0 ? std::abs(dy) + 1 : dx >= 0 ? dx + 1 : 0;
        ASSERT_EQ(dots.size(), pass1 + pass2) << name;
        for (std::size_t k = 0; k < pass1 && dx != 0; ++k) {
            const int x = std::min(x1, x2) + static_cast<int>(k);
            ASSERT_EQ(dots[k].x, x) << name << " column dot " << k;
            ASSERT_EQ(dots[k].y, Expected(y1, dy, x - x1, dx)) << name << " column dot " << k;
        }
        for (std::size_t k = 0; k < pass2 && dy != 0; ++k) {
            const int y = std::min(y1, y2) + static_cast<int>(k);
            ASSERT_EQ(dots[pass1 + k].y, y) << name << " line dot " << k;
            ASSERT_EQ(dots[pass1 + k].x, Expected(x1, dx, y - y1, dy)) << name << " line dot " << k;
        }
    }
}

}  // namespace
