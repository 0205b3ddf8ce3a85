// The sketch reader, the curve walk and the composer behind penscript compose.
#include "tools/penscript/compose.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "tools/penscript/sketch.h"

namespace penscript {
namespace {

Sketch ParseOk(const std::string& text) {
    auto parsed = ParseSketch(text);
    if (auto* error = std::get_if<SketchError>(&parsed)) {
        ADD_FAILURE() << "line " << error->line << ": " << error->message;
        return {};
    }
    return std::get<Sketch>(parsed);
}

StepHistogram HistogramOk(const std::string& text) {
    auto parsed = ParseStepHistogram(text);
    if (auto* problem = std::get_if<std::string>(&parsed)) {
        ADD_FAILURE() << text << ": " << *problem;
        return {};
    }
    return std::get<StepHistogram>(parsed);
}

Composition ComposeOk(const Sketch& sketch, const std::optional<StepHistogram>& target = std::nullopt) {
    auto composed = Compose(sketch, target);
    if (auto* error = std::get_if<ComposeError>(&composed)) {
        ADD_FAILURE() << "line " << error->line << ": " << error->message;
        return {};
    }
    return std::get<Composition>(composed);
}

Pixel At(const Row& row) { return {row.x, row.y}; }

// The steps between neighbouring rows inside strokes, and the jumps.
struct MeasuredSteps {
    std::vector<int> inside;
    std::vector<int> jumps;
};

MeasuredSteps Measure(const Composition& composition) {
    MeasuredSteps steps;
    for (std::size_t i = 1, stroke = 1; i < composition.rows.size(); ++i) {
        const int size = StepSize(At(composition.rows[i - 1]), At(composition.rows[i]));
        const bool jump = stroke < composition.strokeStarts.size() && composition.strokeStarts[stroke] == i;
        (jump ? steps.jumps : steps.inside).push_back(size);
        stroke += jump;
    }
    return steps;
}

std::string ReadText(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// ---- Reading sketches ------------------------------------------------------

TEST(SketchTest, ReadsSettingsStrokesHoldsAndDots) {
    const Sketch sketch = ParseOk(
        "# comment line\r\n"
        "colour 4  # trailing comment\r\n"
        "size\t30\n"
        "steps 1:3 jump:1\n"
        "\n"
        "stroke hold  # name\n"
        "10 -20 dot\n"
        "  11\t-20\n"
        "stroke\n"
        "-32768 32767\n");
    EXPECT_EQ(sketch.colour, 4);
    EXPECT_EQ(sketch.size, 30);
    ASSERT_TRUE(sketch.hasSteps);
    EXPECT_EQ(sketch.stepsLine, 4);
    EXPECT_EQ(sketch.steps.jumps, 1);
    ASSERT_EQ(sketch.strokes.size(), 2u);
    const Stroke& first = sketch.strokes[0];
    EXPECT_TRUE(first.hold);
    EXPECT_EQ(first.line, 6);
    ASSERT_EQ(first.points.size(), 2u);
    EXPECT_TRUE(first.points[0].dot);
    EXPECT_FALSE(first.points[1].dot);
    EXPECT_EQ(first.points[1].x, 11);
    EXPECT_EQ(first.points[1].y, -20);
    EXPECT_EQ(first.points[1].line, 8);
    EXPECT_FALSE(sketch.strokes[1].hold);
    EXPECT_EQ(sketch.strokes[1].points[0].x, -32768);
}

TEST(SketchTest, DefaultsToBlackTwentyEightPixelDotsAndNoTarget) {
    const Sketch sketch = ParseOk("stroke\n1 2\n");
    EXPECT_EQ(sketch.colour, 9);
    EXPECT_EQ(sketch.size, 28);
    EXPECT_FALSE(sketch.hasSteps);
}

TEST(SketchTest, NamesTheLineOfEveryMistake) {
    struct Case {
        const char* text;
        int line;
        const char* message;  // a part of the message
    };
    const Case cases[] = {
        {"stroke\n1 2\nline 3 4\n", 3, "expected 'stroke'"},
        {"# points first\n1 2\n", 2, "after a 'stroke' line"},
        {"stroke\n1\n", 2, "two whole numbers"},
        {"stroke\n1 y\n", 2, "two whole numbers"},
        {"stroke\n1 32768\n", 2, "-32768 to 32767"},
        {"stroke\n1.5 2\n", 2, "two whole numbers"},
        {"stroke\n1 2 pin\n", 2, "only the mark 'dot'"},
        {"stroke\n1 2 dot dot\n", 2, "only the mark 'dot'"},
        {"stroke\n1 2\n1 2\n", 3, "repeats the one before"},
        {"stroke\n\nstroke\n1 2\n", 1, "has no points"},
        {"stroke\n1 2\nstroke # last\n\n", 3, "has no points"},
        {"stroke fast\n1 2\n", 1, "only the option 'hold'"},
        {"stroke hold hold\n1 2\n", 1, "only the option 'hold'"},
        {"stroke\n1 2\ncolour 3\n", 3, "before the first stroke"},
        {"size 28\n\nsize 28\nstroke\n1 2\n", 3, "set twice (first on line 1)"},
        {"colour 28\nstroke\n1 2\n", 1, "from 0 to 27"},
        {"colour\nstroke\n1 2\n", 1, "one whole number"},
        {"size 256\nstroke\n1 2\n", 1, "from 0 to 255"},
        {"steps 1:2 2-1:3\nstroke\n1 2\n", 1, "steps: bin '2-1:3': the range runs backwards"},
        {"steps\nstroke\n1 2\n", 1, "steps: the histogram has no bins"},
        {"# nothing\n\n", 2, "no strokes"},
        {"", 1, "no strokes"},
    };
    for (const Case& c : cases) {
        auto parsed = ParseSketch(c.text);
        const auto* error = std::get_if<SketchError>(&parsed);
        ASSERT_NE(error, nullptr) << c.text;
        EXPECT_EQ(error->line, c.line) << c.text;
        EXPECT_NE(error->message.find(c.message), std::string::npos) << c.text << " -> " << error->message;
    }
}

// ---- Reading histograms ----------------------------------------------------

TEST(StepHistogramTest, ReadsBinsInRisingOrderAndJumps) {
    const StepHistogram histogram = HistogramOk("5-12:57  1:1517 jump:12 0:1");
    EXPECT_EQ(histogram.jumps, 12);
    ASSERT_EQ(histogram.bins.size(), 3u);
    EXPECT_EQ(histogram.bins[0].lo, 0);
    EXPECT_EQ(histogram.bins[0].count, 1);
    EXPECT_EQ(histogram.bins[1].lo, 1);
    EXPECT_EQ(histogram.bins[1].hi, 1);
    EXPECT_EQ(histogram.bins[2].lo, 5);
    EXPECT_EQ(histogram.bins[2].hi, 12);
    EXPECT_EQ(histogram.bins[2].count, 57);
}

TEST(StepHistogramTest, RefusesMalformedBins) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"", "no bins"},
        {"1=3", "is not SIZE:COUNT"},
        {"1:x", "the count must be"},
        {"1:-1", "the count must be"},
        {"1:6001", "the count must be"},
        {"a:1", "sizes must be"},
        {"-1:1", "sizes must be"},
        {"1-:1", "sizes must be"},
        {"1-65536:1", "sizes must be"},
        {"4-2:1", "runs backwards"},
        {"1-3:1 3:2", "overlap at size 3"},
        {"jump:1 jump:2", "given twice"},
    };
    for (const Case& c : cases) {
        auto parsed = ParseStepHistogram(c.text);
        const auto* problem = std::get_if<std::string>(&parsed);
        ASSERT_NE(problem, nullptr) << c.text;
        EXPECT_NE(problem->find(c.message), std::string::npos) << c.text << " -> " << *problem;
    }
}

// ---- Walking curves --------------------------------------------------------

TEST(WalkCurveTest, WalksEveryCurveAsAPenWouldThroughItsPoints) {
    struct Case {
        const char* name;
        std::vector<SketchPoint> points;
    };
    const Case cases[] = {
        {"single point", {{5, 5}}},
        {"level line", {{0, 0}, {40, 0}}},
        {"shallow slope", {{0, 0}, {37, 9}}},
        {"diagonal", {{0, 0}, {-25, 25}}},
        {"s bend", {{0, 0}, {30, 20}, {0, 40}, {30, 60}}},
        {"tight loop", {{0, 0}, {20, -10}, {25, 5}, {10, 8}, {12, -6}, {40, -20}}},
        {"hairpin", {{0, 0}, {30, 2}, {32, 8}, {2, 10}}},
        {"bunched points", {{0, 0}, {1, 0}, {2, 1}, {40, 3}, {41, 5}}},
    };
    for (const Case& c : cases) {
        const CurveWalk walk = WalkCurve(c.points);
        const std::vector<Pixel>& p = walk.pixels;
        ASSERT_EQ(walk.pointAt.size(), c.points.size()) << c.name;
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            EXPECT_EQ(p[walk.pointAt[i]], (Pixel{c.points[i].x, c.points[i].y})) << c.name << ", point " << i;
            if (i > 0) {
                EXPECT_LT(walk.pointAt[i - 1], walk.pointAt[i]) << c.name << ", point " << i;
            }
        }
        EXPECT_EQ(walk.pointAt.front(), 0u) << c.name;
        EXPECT_EQ(walk.pointAt.back(), p.size() - 1) << c.name;
        for (std::size_t i = 1; i < p.size(); ++i)
            EXPECT_EQ(StepSize(p[i - 1], p[i]), 1) << c.name << ": pixel " << i << " does not touch the one before";
        for (std::size_t i = 2; i < p.size(); ++i)
            EXPECT_EQ(StepSize(p[i - 2], p[i]), 2) << c.name << ": an L-corner or turn back at pixel " << i - 1;
    }
}

TEST(WalkCurveTest, FollowsASmoothCurveRatherThanThePolygon) {
    // Through (0,0), (40,40), (80,0): a polygon would pass (20,20) and turn
    // at (40,40) at once; the curve bulges past the chords and rounds the top.
    const CurveWalk walk = WalkCurve({{0, 0}, {40, 40}, {80, 0}});
    int deepestAt20 = 0;
    for (const Pixel& p : walk.pixels)
        if (p.x == 20) deepestAt20 = std::max(deepestAt20, p.y);
    EXPECT_GT(deepestAt20, 20);
    const std::size_t top = walk.pointAt[1];
    EXPECT_EQ(walk.pixels[top - 3].y, 40) << "levels off before the top";
    EXPECT_EQ(walk.pixels[top + 3].y, 40) << "levels off after the top";
}

// ---- The pace --------------------------------------------------------------

TEST(ComposeTest, PacesAStrokeLikeAHand) {
    // A long straight sweep, then a tight bend, then a short run out.
    const Sketch sketch = ParseOk("stroke\n0 0\n300 0\n310 6\n300 12\n240 12\n");
    const Composition composition = ComposeOk(sketch);
    const std::vector<int> steps = Measure(composition).inside;
    ASSERT_GT(steps.size(), 20u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(steps[i], 1) << "landing, step " << i;
        EXPECT_EQ(steps[steps.size() - 1 - i], 1) << "lifting, step " << i;
    }
    // The fastest step lies on the sweep, well clear of its ends.
    std::size_t fastest = 0;
    for (std::size_t i = 0; i < steps.size(); ++i)
        if (steps[i] > steps[fastest]) fastest = i;
    EXPECT_GE(steps[fastest], 5);
    EXPECT_GT(composition.rows[fastest].x, 60);
    EXPECT_LT(composition.rows[fastest].x, 240);
    EXPECT_EQ(composition.rows.back().x, 240);
    // In the bend (x past 296) it goes slowly, and it never lurches: a step
    // is at most twice the one before, or one pixel more.
    for (std::size_t i = 1; i < composition.rows.size(); ++i) {
        if (composition.rows[i].x > 296) {
            EXPECT_LE(steps[i - 1], 2) << "row " << i;
        }
        if (i >= 2) {
            EXPECT_LE(steps[i - 1], std::max(2 * steps[i - 2], steps[i - 2] + 1)) << "row " << i;
        }
    }
}

TEST(ComposeTest, RowsCarryTheSketchColourSizeHoldsAndDots) {
    const Sketch sketch = ParseOk(
        "colour 3\nsize 40\n"
        "stroke hold\n0 0 dot\n0 3 dot\n0 4 dot\n0 60\n"
        "stroke\n100 0\n");
    const Composition composition = ComposeOk(sketch);
    const std::vector<Row>& rows = composition.rows;
    ASSERT_GE(rows.size(), 6u);
    for (const Row& row : rows) {
        EXPECT_EQ(row.colour, 3);
        EXPECT_EQ(row.size, 40);
    }
    const Pixel start[] = {{0, 0}, {0, 0}, {0, 3}, {0, 4}};  // held, then dot after dot
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(At(rows[i]), start[i]) << "row " << i;
    EXPECT_EQ(At(rows[rows.size() - 2]), (Pixel{0, 60}));
    EXPECT_EQ(At(rows.back()), (Pixel{100, 0})) << "a one-point stroke is one dot";
    EXPECT_EQ(composition.strokeStarts, (std::vector<std::size_t>{0, rows.size() - 1}));
}

// ---- Meeting a target histogram --------------------------------------------

// Two strokes of curves and straights, one held, one with dots.
constexpr const char* Fixture =
    "stroke hold\n"
    "0 0\n0 80\n20 110\n50 80\n50 0\n"
    "stroke\n"
    "120 0 dot\n120 2 dot\n121 3 dot\n150 40\n120 80\n150 120\n";

TEST(ComposeTest, MeetsATargetHistogramExactly) {
    const Sketch sketch = ParseOk(Fixture);
    // Besides the hold and the dot steps (2 and 1 pixels), the fixture's
    // strokes are 351 pixels long; each target tiles them.
    const char* targets[] = {
        "0:1 1:121 2:51 3:20 4:6 5-12:8 jump:1",
        "0:1 1:221 2:31 3:5 4:4 5-12:4 jump:1",
        "0:1 1-2:150 3-4:30 6-9:2 jump:1",
        "0-1:96 2:100 3:17 4:2 jump:1",
    };
    for (const char* text : targets) {
        const StepHistogram target = HistogramOk(text);
        const MeasuredSteps steps = Measure(ComposeOk(sketch, target));
        EXPECT_EQ(steps.jumps.size(), 1u) << text;
        std::vector<int> counts(target.bins.size());
        for (int size : steps.inside) {
            std::size_t b = 0;
            while (b < target.bins.size() && !(target.bins[b].lo <= size && size <= target.bins[b].hi)) ++b;
            ASSERT_LT(b, target.bins.size()) << text << ": a step of " << size << " fits no bin";
            ++counts[b];
        }
        for (std::size_t b = 0; b < target.bins.size(); ++b)
            EXPECT_EQ(counts[b], target.bins[b].count)
                << text << ": bin " << target.bins[b].lo << "-" << target.bins[b].hi;
    }
}

TEST(ComposeTest, TheSketchesOwnTargetUnlessOneIsGiven) {
    const Sketch sketch = ParseOk(std::string("steps 0:1 1:352 2:1 jump:1\n") + Fixture);
    const MeasuredSteps own = Measure(ComposeOk(sketch));
    EXPECT_EQ(std::count(own.inside.begin(), own.inside.end(), 1), 352);
    const MeasuredSteps given = Measure(ComposeOk(sketch, HistogramOk("0:1 1:4 2:175 jump:1")));
    EXPECT_EQ(std::count(given.inside.begin(), given.inside.end(), 2), 175);
}

TEST(ComposeTest, SaysWhyATargetCannotBeMet) {
    struct Case {
        const char* target;
        int line;  // 0: the target came from outside the sketch
        const char* message;
    };
    const Case cases[] = {
        {"0:1 1:101 2:51 jump:1", 0, "the strokes are 351 pixels long but the histogram's steps cover at most 200"},
        {"0:1 1:1 2:1 3:118 jump:1", 0, "the strokes are 351 pixels long but the histogram's steps cover at least 354"},
        {"0:1 1:352 2:1", 0, "the sketch has 2 strokes, so 1 jump, but the histogram asks for 0 jumps"},
        {"1:352 2:1 jump:1", 1, "the hold of the stroke on line 1: a step of 0 pixels, but the histogram has no room"},
        {"0:2 1:352 2:1 jump:1", 0, "the histogram asks for 1 more resting step (0) than the sketch has holds"},
        {"0:1 1:352 3:1 jump:1", 9, "the dots on lines 8 and 9: a step of 2 pixels, but the histogram has no room"},
        {"0:1 1:1 2:1 10-12:30 jump:1", 0, " steps but the histogram has 30"},
    };
    const Sketch sketch = ParseOk(Fixture);
    for (const Case& c : cases) {
        auto composed = Compose(sketch, HistogramOk(c.target));
        const auto* error = std::get_if<ComposeError>(&composed);
        ASSERT_NE(error, nullptr) << c.target;
        EXPECT_EQ(error->line, c.line) << c.target;
        EXPECT_NE(error->message.find(c.message), std::string::npos) << c.target << " -> " << error->message;
    }
    // A target written in the sketch is blamed on its line.
    auto composed = Compose(ParseOk(std::string("\nsteps 0:1 1:11 2:1 jump:1\n") + Fixture), std::nullopt);
    ASSERT_TRUE(std::holds_alternative<ComposeError>(composed));
    EXPECT_EQ(std::get<ComposeError>(composed).line, 2);
}

TEST(ComposeTest, RefusesMoreRowsThanTheProgramHolds) {
    auto composed = Compose(ParseOk("stroke\n0 0\n6000 0\n"), HistogramOk("1:6000"));
    ASSERT_TRUE(std::holds_alternative<ComposeError>(composed));
    EXPECT_NE(std::get<ComposeError>(composed).message.find("6001 rows, more than 6000"), std::string::npos);
}

// ---- The rows text ---------------------------------------------------------

TEST(ComposeTest, WritesTheSameRowsTextEveryTime) {
    const Sketch sketch = ParseOk(Fixture);
    const StepHistogram target = HistogramOk("0:1 1:120 2:50 3:20 4:6 5-12:8 jump:1");
    const std::string first = FormatRows(ComposeOk(sketch, target).rows, "fixture.sketch");
    EXPECT_EQ(first, FormatRows(ComposeOk(ParseOk(Fixture), target).rows, "fixture.sketch"));
    EXPECT_EQ(first.substr(0, first.find('\n') + 1),
              "# penplay drawing: composed by \"penscript compose\" from fixture.sketch; edit the sketch, not this "
              "file\n");
    EXPECT_EQ(first.substr(first.find('\n') + 1, 20), "0 0 9 28\n0 0 9 28\n0 ");
}

TEST(ComposeTest, TheCommittedSketchGivesTheCommittedRows) {
    const std::string sketchText = ReadText(PENPLAY_SKETCH);
    ASSERT_FALSE(sketchText.empty()) << PENPLAY_SKETCH;
    const Composition composition = ComposeOk(ParseOk(sketchText));
    EXPECT_EQ(FormatRows(composition.rows, "drawing/greeting.sketch"), ReadText(PENPLAY_ROWS));
}

}  // namespace
}  // namespace penscript
