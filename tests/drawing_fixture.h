// Small drawings for tests, written in the rows form.
#pragma once

#include "script/rows_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

inline std::unique_ptr<DrawingScript> DrawingFromRows(std::string_view rows) {
    auto parsed = std::make_unique<ParsedRows>(ParseRows(rows));
    EXPECT_EQ(parsed->error.problem, RowsProblem::None) << "fixture line " << parsed->error.line;
    return std::make_unique<DrawingScript>(parsed->script);
}

// A drawing of `count` rows, row i at (i % 100, i / 100), colour 9, size 28.
inline std::unique_ptr<DrawingScript> LongDrawing(int count) {
    std::string rows;
    for (int i = 1; i <= count; ++i) rows += std::to_string(i % 100) + ' ' + std::to_string(i / 100) + " 9 28\n";
    return DrawingFromRows(rows);
}
