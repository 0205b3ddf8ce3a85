// Reading drawings in rows form, and the built-in drawing's tables.
#include "script/rows_text.h"
#include "tests/drawing_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RowsText, ReadsRowsWithCommentsBlanksAndCRLF) {
    const auto script = DrawingFromRows("# a comment\r\n\r\n  -5\t7 9 28 # trailing\r\n32767 -32768 27 255\n\n0 0 0 0");
    ASSERT_EQ(script->StrokeCount, 3);
    EXPECT_EQ(script->StrokePoints[1].X, -5);
    EXPECT_EQ(script->StrokePoints[1].Y, 7);
    EXPECT_EQ(script->StrokeColors[1], 9);
    EXPECT_EQ(script->StrokeSizes[1], 28);
    EXPECT_EQ(script->StrokePoints[2].X, 32767);
    EXPECT_EQ(script->StrokePoints[2].Y, -32768);
    EXPECT_EQ(script->StrokeSizes[2], 255);
    EXPECT_EQ(script->StrokeSizes[3], 0);
}

TEST(RowsText, FillsTheRowsAfterThePlayedOnes) {
    const auto script = DrawingFromRows("1 2 9 28\n");
    for (int row : {2, 3, StrokeCapacity}) {
        EXPECT_EQ(script->StrokePoints[row].X, 111) << "row " << row;
        EXPECT_EQ(script->StrokePoints[row].Y, 111) << "row " << row;
        EXPECT_EQ(script->StrokeColors[row], 1) << "row " << row;
        EXPECT_EQ(script->StrokeSizes[row], 18) << "row " << row;
    }
}

TEST(RowsText, RefusesBadRowsAndNamesTheLine) {
    struct Case {
        std::string text;
        RowsProblem problem;
        int line;
        int field;
    };
    const Case cases[] = {
        {"1 2 9\n", RowsProblem::FieldCount, 1, 0},
        {"0 0 9 28\n1 2 9 28 5\n", RowsProblem::FieldCount, 2, 0},
        {"1 2 9 x\n", RowsProblem::NotAnInteger, 1, 3},
        {"1.5 2 9 28\n", RowsProblem::NotAnInteger, 1, 0},
        {"- 2 9 28\n", RowsProblem::NotAnInteger, 1, 0},
        {"1,2 3 9 28\n", RowsProblem::NotAnInteger, 1, 0},
        {"32768 0 9 28\n", RowsProblem::OutOfRange, 1, 0},
        {"0 -32769 9 28\n", RowsProblem::OutOfRange, 1, 1},
        {"\n\n0 0 28 28\n", RowsProblem::OutOfRange, 3, 2},
        {"0 0 -1 28\n", RowsProblem::OutOfRange, 1, 2},
        {"0 0 9 256\n", RowsProblem::OutOfRange, 1, 3},
        {"99999999999999999999999 0 9 28\n", RowsProblem::OutOfRange, 1, 0},
        {"", RowsProblem::NoRows, 1, 0},
        {"# nothing\n\n", RowsProblem::NoRows, 2, 0},
    };
    for (const Case& c : cases) {
        const auto parsed = std::make_unique<ParsedRows>(ParseRows(c.text));
        EXPECT_EQ(parsed->error.problem, c.problem) << '"' << c.text << '"';
        EXPECT_EQ(parsed->error.line, c.line) << '"' << c.text << '"';
        EXPECT_EQ(parsed->error.field, c.field) << '"' << c.text << '"';
    }
}

TEST(RowsText, TakesAtMostTheCapacity) {
    std::string rows;
    for (int i = 0; i < StrokeCapacity; ++i) rows += "0 0 9 28\n";
    EXPECT_EQ(ParseRows(rows).script.StrokeCount, StrokeCapacity);
    rows += "\n1 1 9 28\n";
    const ParsedRows parsed = ParseRows(rows);
    EXPECT_EQ(parsed.error.problem, RowsProblem::TooManyRows);
    EXPECT_EQ(parsed.error.line, StrokeCapacity + 2);
}

TEST(BuiltinDrawing, HasTheGreetingsKnownRows) {
    const DrawingScript& d = BuiltinDrawing;
    EXPECT_EQ(d.StrokeCount, 2553);
    const StrokePoint known[] = {{23, 0}, {23, 0}, {23, 2}, {23, 3}, {23, 4}, {23, 5}, {23, 7}, {24, 8}};
    for (int row = 1; row <= 8; ++row) {
        EXPECT_EQ(d.StrokePoints[row].X, known[row - 1].X) << "row " << row;
        EXPECT_EQ(d.StrokePoints[row].Y, known[row - 1].Y) << "row " << row;
    }
    for (int row = 2549; row <= 2553; ++row) {
        EXPECT_EQ(d.StrokePoints[row].X, 713 + (row - 2549)) << "row " << row;
        EXPECT_EQ(d.StrokePoints[row].Y, 321) << "row " << row;
    }
    for (int row = 1; row <= d.StrokeCount; ++row) {
        ASSERT_EQ(d.StrokeColors[row], 9) << "row " << row;
        ASSERT_EQ(d.StrokeSizes[row], 28) << "row " << row;
    }
    EXPECT_EQ(d.StrokePoints[2554].X, 111) << "first filler row";
    EXPECT_EQ(d.StrokeSizes[StrokeCapacity], 18) << "last filler row";
}

}  // namespace
