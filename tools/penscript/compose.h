// The composer: turns a sketch into the rows of a drawing. It follows a
// smooth curve through each stroke's points, walks it in whole pixels and
// picks the dots along the walk at a hand's pace, optionally meeting a target
// step histogram exactly. drawing/README.md describes the pace and the rules.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "tools/penscript/sketch.h"

namespace penscript {

struct Pixel {
    int x = 0;
    int y = 0;
    bool operator==(const Pixel&) const = default;
};

// The larger of |dx| and |dy|: the size of a step from a to b.
int StepSize(Pixel a, Pixel b);

// A stroke's curve in whole pixels: an 8-connected path that never turns an
// L-corner or doubles back, and passes through every point of the stroke.
struct CurveWalk {
    std::vector<Pixel> pixels;
    std::vector<std::size_t> pointAt;  // pixels[pointAt[i]] is the stroke's point i
};
CurveWalk WalkCurve(const std::vector<SketchPoint>& points);

struct Row {
    int x = 0;
    int y = 0;
    int colour = 0;
    int size = 0;
};

struct Composition {
    std::vector<Row> rows;
    std::vector<std::size_t> strokeStarts;  // index of each stroke's first row
};

struct ComposeError {
    int line = 0;  // the sketch line it concerns; 0 for the sketch as a whole
    std::string message;
};

// The rows of `sketch`. The step histogram to meet is `target` if given, else
// the sketch's own `steps`; with neither, the pace alone decides.
std::variant<Composition, ComposeError> Compose(const Sketch& sketch, const std::optional<StepHistogram>& target);

// The rows text of a composed drawing; `source` names the sketch in its header.
std::string FormatRows(const std::vector<Row>& rows, std::string_view source);

}  // namespace penscript
