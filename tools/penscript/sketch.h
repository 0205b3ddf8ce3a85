// A sketch: a drawing as a person writes it, strokes of control points in
// frame pixels that the composer turns into rows. The format is described in
// drawing/README.md.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace penscript {

// The largest step a histogram bin may name: the longest Chebyshev distance
// between two points of the signed 16-bit frame.
inline constexpr int MaxStepSize = 65535;

// One bin of a step histogram: how many neighbouring-row steps inside strokes
// have a size from `lo` to `hi` (inclusive).
struct StepBin {
    int lo = 0;
    int hi = 0;
    int count = 0;
};

// How many steps of each size a composed drawing has. Bins are in rising
// order and never overlap; `jumps` counts the steps between strokes.
struct StepHistogram {
    std::vector<StepBin> bins;
    int jumps = 0;
};

// A histogram from its text, e.g. "0:1 1:1517 2:664 5-12:57 jump:12": bins
// `SIZE:COUNT` or `LO-HI:COUNT`, and `jump:COUNT`. On failure, what is wrong.
std::variant<StepHistogram, std::string> ParseStepHistogram(std::string_view text);

struct SketchPoint {
    int x = 0;
    int y = 0;
    bool dot = false;  // a row lands exactly here
    int line = 0;      // 1-based line of the sketch text
};

struct Stroke {
    std::vector<SketchPoint> points;
    bool hold = false;  // the pen rests on the first point: its row is repeated
    int line = 0;       // the `stroke` line
};

struct Sketch {
    int colour = 9;
    int size = 28;
    bool hasSteps = false;  // the sketch names its own target histogram
    StepHistogram steps;
    int stepsLine = 0;
    std::vector<Stroke> strokes;
};

struct SketchError {
    int line = 0;  // 1-based
    std::string message;
};

std::variant<Sketch, SketchError> ParseSketch(std::string_view text);

}  // namespace penscript
