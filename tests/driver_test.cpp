// The playback driver: the calls of each cycle and their order, where the
// frame lands, how each kind of row is painted, and runs without a DC.
#include "playback/playback.h"
#include "tests/drawing_fixture.h"
#include "tests/recorded.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<std::string>;

void Play(const DrawingScript& script, standin::Options screen = {}) {
    standin::Reset(screen);
    PlayDrawing(script);
    EXPECT_EQ(standin::Problems(), Lines{}) << "GDI misuse";
}

// The painting calls only: Ellipse and SetCursorPos, in order.
Lines PaintingCalls() {
    Lines lines;
    for (const standin::Call& call : standin::Calls())
        if (call.function == standin::Function::Ellipse || call.function == standin::Function::SetCursorPos)
            lines.push_back(standin::Format(call));
    return lines;
}

std::size_t Cycles() { return CallLines(standin::Function::Sleep).size(); }

TEST(Driver, OneCycleMakesItsCallsInOrder) {
    const auto script = DrawingFromRows("23 0 1 28\n40 2 14 28\n");
    Play(*script);
    EXPECT_EQ(CallLines(), (Lines{
                               "GetDC null -> dc",
                               "GetSystemMetrics 0 -> 1920",
                               "GetSystemMetrics 1 -> 1080",
                               "CreatePen 0 1 0x0000C4 -> pen1",
                               "SelectObject dc pen1 -> pen0",
                               "CreateSolidBrush 0x0000C4 -> brush1",
                               "SelectObject dc brush1 -> brush0",
                               "Ellipse dc 605 311 633 339",
                               "SetCursorPos 613 319",
                               "SelectObject dc brush0 -> brush1",
                               "DeleteObject brush1",
                               "SelectObject dc pen0 -> pen1",
                               "DeleteObject pen1",
                               "Sleep 2",
                               "CreatePen 0 1 0xFDD802 -> pen2",
                               "SelectObject dc pen2 -> pen0",
                               "CreateSolidBrush 0xFDD802 -> brush2",
                               "SelectObject dc brush2 -> brush0",
                               "Ellipse dc 622 313 650 341",
                               "SetCursorPos 630 321",
                               "SelectObject dc brush0 -> brush2",
                               "DeleteObject brush2",
                               "SelectObject dc pen0 -> pen2",
                               "DeleteObject pen2",
                               "Sleep 2",
                               "ReleaseDC null dc",
                           }));
}

TEST(Driver, CentresTheFrameOnTheScreen) {
    struct Case {
        int width, height;
        const char* ellipse;  // row 1 at the frame's corner
    };
    const Case cases[] = {
        {1920, 1080, "Ellipse dc 582 311 610 339"},
        {1023, 768, "Ellipse dc 133 155 161 183"},
        {640, 480, "Ellipse dc -58 11 -30 39"},
        {1, 1, "Ellipse dc -378 -229 -350 -201"},
    };
    const auto script = DrawingFromRows("0 0 9 28\n");
    for (const Case& c : cases) {
        Play(*script, {.width = c.width, .height = c.height});
        EXPECT_EQ(CallLines(standin::Function::Ellipse), Lines{c.ellipse}) << c.width << 'x' << c.height;
    }
}

TEST(Driver, PaintsEachKindOfRow) {
    struct Case {
        const char* name;
        const char* rows;
        std::size_t cycles;
        Lines painting;  // on a 1920 by 1080 screen, origin (582, 311)
    };
    const Case cases[] = {
        {"row 1 is the first row", "7 9 9 28\n", 1, {"Ellipse dc 589 320 617 348", "SetCursorPos 597 328"}},
        {"size 0 is a dot of diameter 0", "0 0 9 0\n", 1, {"Ellipse dc 582 311 582 311", "SetCursorPos 590 319"}},
        {"size 29 is a dot of diameter 29", "0 0 9 29\n", 1, {"Ellipse dc 582 311 611 340", "SetCursorPos 590 319"}},
        {"size 30 is an empty box, the cursor still moves", "0 0 9 30\n", 1,
         {"Ellipse dc 582 311 582 311", "SetCursorPos 590 319"}},
        {"size 31 is a segment of diameter 1 to the next row", "0 0 9 31\n2 1 5 7\n", 1,
         {"Ellipse dc 582 311 583 312", "SetCursorPos 590 319", "Ellipse dc 583 311 584 312", "SetCursorPos 591 319",
          "Ellipse dc 584 312 585 313", "SetCursorPos 592 320", "Ellipse dc 582 311 583 312", "SetCursorPos 590 319",
          "Ellipse dc 584 312 585 313", "SetCursorPos 592 320"}},
        {"size 255 is a segment of diameter 225", "0 0 9 255\n0 0 9 28\n", 1,
         {"Ellipse dc 582 311 807 536", "SetCursorPos 590 319", "Ellipse dc 582 311 807 536", "SetCursorPos 590 319"}},
        {"a segment at the last row but one ends the run", "0 0 9 28\n1 0 9 31\n2 0 9 28\n", 2,
         {"Ellipse dc 582 311 610 339", "SetCursorPos 590 319", "Ellipse dc 583 311 584 312", "SetCursorPos 591 319",
          "Ellipse dc 584 311 585 312", "SetCursorPos 592 319", "Ellipse dc 583 311 584 312", "SetCursorPos 591 319",
          "Ellipse dc 584 311 585 312", "SetCursorPos 592 319"}},
        {"a segment at the last row ends at the filler row", "110 111 9 31\n", 1,
         {"Ellipse dc 692 422 693 423", "SetCursorPos 700 430", "Ellipse dc 693 422 694 423", "SetCursorPos 701 430",
          "Ellipse dc 692 422 693 423", "SetCursorPos 700 430", "Ellipse dc 693 422 694 423", "SetCursorPos 701 430"}},
    };
    for (const Case& c : cases) {
        const auto script = DrawingFromRows(c.rows);
        Play(*script);
        EXPECT_EQ(Cycles(), c.cycles) << c.name;
        EXPECT_EQ(PaintingCalls(), c.painting) << c.name;
    }
}

TEST(Driver, SegmentRowsEndBeforeRow5999) {
    struct Case {
        const char* name;
        int row;  // the one row with size code 31; every other row is a 28-pixel dot
        std::size_t cycles;
        std::size_t smallDots;  // dots of diameter 1
    };
    const Case cases[] = {
        {"row 5998 is a segment to row 5999", 5998, 5999, 4},
        {"row 5999 is a dot of diameter 1", 5999, 6000, 1},
        {"row 6000 is a dot of diameter 1", 6000, 6000, 1},
    };
    for (const Case& c : cases) {
        auto script = LongDrawing(StrokeCapacity);
        script->StrokeSizes[c.row] = 31;
        Play(*script, {.width = 16, .height = 16});
        EXPECT_EQ(Cycles(), c.cycles) << c.name;
        const auto smallDots = std::count_if(standin::Calls().begin(), standin::Calls().end(), [](auto& call) {
            return call.function == standin::Function::Ellipse && call.arguments[3].number - call.arguments[1].number == 1;
        });
        EXPECT_EQ(static_cast<std::size_t>(smallDots), c.smallDots) << c.name;
    }
}

TEST(Driver, WithoutADCMakesTheSameCallsAndPaintsNothing) {
    const auto script = LongDrawing(40);
    Play(*script, {.width = 640, .height = 480});
    Lines withDC = CallLines();
    const standin::Point cursor = standin::Cursor();

    Play(*script, {.width = 640, .height = 480, .nullDC = true});
    Lines withoutDC = CallLines();
    ASSERT_EQ(withoutDC.size(), withDC.size());
    for (std::string& line : withDC) {
        // Without a DC, "dc" reads "null" and selecting gives null back.
        for (std::size_t at; (at = line.find(" dc")) != std::string::npos;) line.replace(at, 3, " null");
        if (line.starts_with("SelectObject")) line = line.substr(0, line.find(" -> ")) + " -> null";
        if (line.starts_with("SelectObject null pen0") || line.starts_with("SelectObject null brush0"))
            line = "SelectObject null null -> null";
    }
    EXPECT_EQ(withoutDC, withDC);
    EXPECT_EQ(standin::Cursor(), cursor) << "the cursor still travels the whole drawing";
    EXPECT_EQ(PixelMask(0, 0, 640, 480, {}).find_first_not_of(".\n"), std::string::npos) << "painted";
}

TEST(Driver, PlaysTheBuiltInDrawing) {
    Play(BuiltinDrawing);
    const Lines ellipses = CallLines(standin::Function::Ellipse);
    const Lines moves = CallLines(standin::Function::SetCursorPos);
    EXPECT_EQ(Cycles(), 2553u);
    ASSERT_EQ(ellipses.size(), 2553u);
    ASSERT_EQ(moves.size(), 2553u);
    for (const standin::Call& call : standin::Calls()) {
        if (call.function == standin::Function::Ellipse) {
            EXPECT_EQ(call.arguments[3].number - call.arguments[1].number, 28);
            EXPECT_EQ(call.arguments[4].number - call.arguments[2].number, 28);
        }
        if (call.function == standin::Function::CreatePen || call.function == standin::Function::CreateSolidBrush) {
            EXPECT_EQ(call.arguments.back().number, 0x000000);
        }
    }
    EXPECT_EQ(moves.back(), "SetCursorPos " + std::to_string(582 + 725) + ' ' + std::to_string(311 + 329));
}

}  // namespace
