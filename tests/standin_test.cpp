// The stand-in platform layer: its pixel rules, its cursor and its GDI
// bookkeeping, which must catch the misuse Windows would punish.
#include "platform/standin/standin.h"
#include "tests/recorded.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr COLORREF Red = 0x0000FF, Blue = 0xFF0000;

// One ellipse on a small fresh screen, outlined in red and filled in blue.
void PaintOne(int left, int top, int right, int bottom, int width = 9, int height = 9) {
    standin::Reset({.width = width, .height = height});
    HDC dc = GetDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, Red);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HBRUSH brush = CreateSolidBrush(Blue);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Ellipse(dc, left, top, right, bottom);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    ReleaseDC(nullptr, dc);
}

TEST(StandinPixels, EllipseFillsItsBoxUpToButNotIncludingRightAndBottom) {
    struct Case {
        const char* name;
        int left, top, right, bottom;
        const char* mask;  // the 9 by 9 screen: '#' outline (pen), 'o' fill (brush)
    };
    const Case cases[] = {
        {"1 by 1", 2, 3, 3, 4,
         ".........\n.........\n.........\n..#......\n.........\n.........\n.........\n.........\n.........\n"},
        {"2 by 2", 1, 1, 3, 3,
         ".........\n.##......\n.##......\n.........\n.........\n.........\n.........\n.........\n.........\n"},
        {"5 by 5", 1, 1, 6, 6,
         ".........\n..###....\n.#ooo#...\n.#ooo#...\n.#ooo#...\n..###....\n.........\n.........\n.........\n"},
        {"7 by 3", 1, 2, 8, 5,
         ".........\n.........\n..#####..\n.#ooooo#.\n..#####..\n.........\n.........\n.........\n.........\n"},
        {"empty", 4, 4, 4, 4,
         ".........\n.........\n.........\n.........\n.........\n.........\n.........\n.........\n.........\n"},
        {"no width", 4, 1, 4, 6,
         ".........\n.........\n.........\n.........\n.........\n.........\n.........\n.........\n.........\n"},
        {"clipped at the top left", -2, -2, 3, 3,
         "oo#......\noo#......\n##.......\n.........\n.........\n.........\n.........\n.........\n.........\n"},
        {"clipped at the bottom right", 6, 6, 11, 11,
         ".........\n.........\n.........\n.........\n.........\n.........\n.......##\n......#oo\n......#oo\n"},
        {"far outside", -100000, 5, -99000, 900, 
         ".........\n.........\n.........\n.........\n.........\n.........\n.........\n.........\n.........\n"},
    };
    for (const Case& c : cases) {
        PaintOne(c.left, c.top, c.right, c.bottom);
        EXPECT_EQ(PixelMask(0, 0, 9, 9, {{Red, '#'}, {Blue, 'o'}}), c.mask) << c.name;
        EXPECT_TRUE(standin::Problems().empty()) << c.name;
    }
}

TEST(StandinPixels, A28PixelDotIsARoundDisc) {
    PaintOne(0, 0, 28, 28, 28, 28);
    int inked = 0;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 28; ++x) inked += standin::PixelAt(x, y) != standin::Ground;
    EXPECT_NEAR(inked, 3.14159 * 14 * 14, 28) << "area of a disc of diameter 28";
    EXPECT_EQ(standin::PixelAt(0, 0), standin::Ground) << "corner";
    EXPECT_EQ(standin::PixelAt(13, 0), Red) << "top of the rim";
    EXPECT_EQ(standin::PixelAt(14, 27), Red) << "bottom of the rim";
    EXPECT_EQ(standin::PixelAt(14, 14), Blue) << "centre";
}

TEST(StandinScreen, MetricsAndACursorKeptOnTheScreen) {
    standin::Reset({.width = 640, .height = 480});
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 480);
    struct Case {
        int x, y;
        standin::Point rests;
    };
    const Case cases[] = {{667, 340, {639, 340}}, {-58, 11, {0, 11}}, {5, -3, {5, 0}}, {700, 900, {639, 479}}};
    for (const Case& c : cases) {
        SetCursorPos(c.x, c.y);
        EXPECT_EQ(standin::Cursor(), c.rests) << "SetCursorPos(" << c.x << ", " << c.y << ")";
        EXPECT_EQ(standin::Format(standin::Calls().back()),
                  "SetCursorPos " + std::to_string(c.x) + ' ' + std::to_string(c.y))
            << "recorded as given";
    }
}

TEST(StandinBookkeeping, ReportsMisuseOfObjectsAndTheDC) {
    struct Case {
        const char* name;
        std::function<void()> run;
        std::vector<std::string> problems;
    };
    const Case cases[] = {
        {"a clean cycle",
         [] {
             HDC dc = GetDC(nullptr);
             HPEN pen = CreatePen(PS_SOLID, 1, 0);
             HGDIOBJ old = SelectObject(dc, pen);
             SelectObject(dc, old);
             DeleteObject(pen);
             ReleaseDC(nullptr, dc);
         },
         {}},
        {"deleting a selected pen",
         [] {
             HDC dc = GetDC(nullptr);
             HPEN pen = CreatePen(PS_SOLID, 1, 0);
             HGDIOBJ old = SelectObject(dc, pen);
             DeleteObject(pen);
             SelectObject(dc, old);
             DeleteObject(pen);
             ReleaseDC(nullptr, dc);
         },
         {"DeleteObject of pen1 while it is selected into dc"}},
        {"a brush alive after the run",
         [] {
             HDC dc = GetDC(nullptr);
             CreateSolidBrush(0);
             ReleaseDC(nullptr, dc);
         },
         {"brush1 is still alive"}},
        {"two pens alive at once",
         [] {
             HPEN first = CreatePen(PS_SOLID, 1, 0);
             HPEN second = CreatePen(PS_SOLID, 1, 0);
             DeleteObject(first);
             DeleteObject(second);
         },
         {"a second pen was created while one is alive"}},
        {"releasing a DC that was not obtained", [] { ReleaseDC(nullptr, nullptr); },
         {"ReleaseDC of null, which was not obtained"}},
        {"the DC kept after the run", [] { GetDC(nullptr); }, {"the screen's DC was not released"}},
        {"deleting twice and deleting a default",
         [] {
             HDC dc = GetDC(nullptr);
             HBRUSH brush = CreateSolidBrush(0);
             HGDIOBJ old = SelectObject(dc, brush);
             SelectObject(dc, old);
             DeleteObject(brush);
             DeleteObject(brush);
             DeleteObject(old);
             ReleaseDC(nullptr, dc);
         },
         {"DeleteObject of brush1, which is no live object of the program",
          "DeleteObject of brush0, which is no live object of the program"}},
        {"selecting a deleted pen",
         [] {
             HDC dc = GetDC(nullptr);
             HPEN pen = CreatePen(PS_SOLID, 1, 0);
             DeleteObject(pen);
             SelectObject(dc, pen);
             ReleaseDC(nullptr, dc);
         },
         {"SelectObject of pen1, which is no live pen or brush"}},
    };
    for (const Case& c : cases) {
        standin::Reset();
        c.run();
        EXPECT_EQ(standin::Problems(), c.problems) << c.name;
    }
}

TEST(StandinBookkeeping, NamesHandlesInOrderOfCreation) {
    standin::Reset();
    HDC dc = GetDC(nullptr);
    for (COLORREF colour : {0x0000C4u, 0xFDD802u}) {
        HPEN pen = CreatePen(PS_SOLID, 1, colour);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HBRUSH brush = CreateSolidBrush(colour);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(CallLines(), (std::vector<std::string>{
                               "GetDC null -> dc",
                               "CreatePen 0 1 0x0000C4 -> pen1",
                               "SelectObject dc pen1 -> pen0",
                               "CreateSolidBrush 0x0000C4 -> brush1",
                               "SelectObject dc brush1 -> brush0",
                               "SelectObject dc brush0 -> brush1",
                               "DeleteObject brush1",
                               "SelectObject dc pen0 -> pen1",
                               "DeleteObject pen1",
                               "CreatePen 0 1 0xFDD802 -> pen2",
                               "SelectObject dc pen2 -> pen0",
                               "CreateSolidBrush 0xFDD802 -> brush2",
                               "SelectObject dc brush2 -> brush0",
                               "SelectObject dc brush0 -> brush2",
                               "DeleteObject brush2",
                               "SelectObject dc pen0 -> pen2",
                               "DeleteObject pen2",
                               "ReleaseDC null dc",
                           }));
    EXPECT_TRUE(standin::Problems().empty());
}

TEST(StandinNullDC, EveryCallStillGoesThroughAndNothingIsPainted) {
    standin::Reset({.width = 8, .height = 8, .nullDC = true});
    HDC dc = GetDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    HGDIOBJ old = SelectObject(dc, pen);
    Ellipse(dc, 0, 0, 8, 8);
    SetCursorPos(3, 4);
    SelectObject(dc, old);
    DeleteObject(pen);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(CallLines(), (std::vector<std::string>{"GetDC null -> null", "CreatePen 0 1 0x000000 -> pen1",
                                                     "SelectObject null pen1 -> null", "Ellipse null 0 0 8 8",
                                                     "SetCursorPos 3 4", "SelectObject null null -> null",
                                                     "DeleteObject pen1", "ReleaseDC null null"}));
    EXPECT_EQ(PixelMask(0, 0, 8, 8, {}), "........\n........\n........\n........\n........\n........\n........\n........\n");
    EXPECT_EQ(standin::Cursor(), (standin::Point{3, 4}));
    EXPECT_TRUE(standin::Problems().empty());
}

}  // namespace
