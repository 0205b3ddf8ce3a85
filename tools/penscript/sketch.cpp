#include "tools/penscript/sketch.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <span>

#include "script/drawing_script.h"

namespace penscript {
namespace {

// The blank-separated words of one line, comment removed.
std::vector<std::string_view> Words(std::string_view line) {
    line = line.substr(0, line.find('#'));
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while ((at = line.find_first_not_of(" \t\r", at)) != std::string_view::npos) {
        const std::size_t end = std::min(line.find_first_of(" \t\r", at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

// A whole word as a decimal integer from lo to hi.
bool ReadInt(std::string_view word, int lo, int hi, int& value) {
    std::int64_t wide = 0;
    const char* end = word.data() + word.size();
    const auto [stop, problem] = std::from_chars(word.data(), end, wide);
    if (problem != std::errc() || stop != end || wide < lo || wide > hi) return false;
    value = static_cast<int>(wide);
    return true;
}

std::string Quoted(std::string_view word) { return "'" + std::string(word) + "'"; }

std::variant<StepHistogram, std::string> ParseBins(std::span<const std::string_view> words) {
    StepHistogram histogram;
    bool haveJumps = false;
    for (std::string_view word : words) {
        const std::size_t colon = word.find(':');
        if (colon == std::string_view::npos)
            return "bin " + Quoted(word) + " is not SIZE:COUNT, LO-HI:COUNT or jump:COUNT";
        const std::string_view sizes = word.substr(0, colon);
        int count = 0;
        if (!ReadInt(word.substr(colon + 1), 0, StrokeCapacity, count))
            return "bin " + Quoted(word) + ": the count must be a whole number from 0 to " +
                   std::to_string(StrokeCapacity);
        if (sizes == "jump") {
            if (haveJumps) return std::string("'jump' is given twice");
            haveJumps = true;
            histogram.jumps = count;
            continue;
        }
        StepBin bin{0, 0, count};
        const std::size_t dash = sizes.find('-');
        const bool sizesOk = dash == std::string_view::npos
                                 ? ReadInt(sizes, 0, MaxStepSize, bin.lo)
                                 : ReadInt(sizes.substr(0, dash), 0, MaxStepSize, bin.lo) &&
                                       ReadInt(sizes.substr(dash + 1), 0, MaxStepSize, bin.hi);
        if (!sizesOk)
            return "bin " + Quoted(word) + ": sizes must be SIZE or LO-HI, whole numbers from 0 to " +
                   std::to_string(MaxStepSize);
        if (dash == std::string_view::npos) bin.hi = bin.lo;
        if (bin.hi < bin.lo) return "bin " + Quoted(word) + ": the range runs backwards";
        histogram.bins.push_back(bin);
    }
    if (words.empty()) return std::string("the histogram has no bins");
    std::sort(histogram.bins.begin(), histogram.bins.end(),
              [](const StepBin& a, const StepBin& b) { return a.lo < b.lo; });
    for (std::size_t i = 1; i < histogram.bins.size(); ++i)
        if (histogram.bins[i].lo <= histogram.bins[i - 1].hi)
            return "bins overlap at size " + std::to_string(histogram.bins[i].lo);
    return histogram;
}

}  // namespace

std::variant<StepHistogram, std::string> ParseStepHistogram(std::string_view text) {
    const std::vector<std::string_view> words = Words(text);
    return ParseBins(words);
}

std::variant<Sketch, SketchError> ParseSketch(std::string_view text) {
    Sketch sketch;
    int colourLine = 0, sizeLine = 0;
    int line = 0;
    auto fail = [&line](std::string message) { return SketchError{line, std::move(message)}; };
    auto emptyStroke = [&sketch] { return !sketch.strokes.empty() && sketch.strokes.back().points.empty(); };

    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::vector<std::string_view> words = Words(text.substr(start, end - start));
        start = end + 1;
        ++line;
        if (words.empty()) continue;
        const std::string_view head = words[0];
        const std::span<const std::string_view> rest = std::span(words).subspan(1);

        if (head == "colour" || head == "size" || head == "steps") {
            if (!sketch.strokes.empty()) return fail(Quoted(head) + " must come before the first stroke");
            int& seenOn = head == "colour" ? colourLine : head == "size" ? sizeLine : sketch.stepsLine;
            if (seenOn != 0) return fail(Quoted(head) + " is set twice (first on line " + std::to_string(seenOn) + ")");
            seenOn = line;
            if (head == "steps") {
                auto bins = ParseBins(rest);
                if (auto* problem = std::get_if<std::string>(&bins)) return fail("steps: " + *problem);
                sketch.steps = std::get<StepHistogram>(bins);
                sketch.hasSteps = true;
                continue;
            }
            const bool isColour = head == "colour";
            const int hi = isColour ? PaletteSize - 1 : 255;
            if (rest.size() != 1 || !ReadInt(rest[0], 0, hi, isColour ? sketch.colour : sketch.size))
                return fail(Quoted(head) + " takes one whole number from 0 to " + std::to_string(hi));
        } else if (head == "stroke") {
            if (emptyStroke()) return SketchError{sketch.strokes.back().line, "the stroke has no points"};
            Stroke stroke;
            stroke.line = line;
            for (std::string_view option : rest) {
                if (option != "hold" || stroke.hold)
                    return fail("'stroke' takes only the option 'hold', not " + Quoted(option));
                stroke.hold = true;
            }
            sketch.strokes.push_back(stroke);
        } else {
            SketchPoint point;
            point.line = line;
            const bool isX = ReadInt(head, INT16_MIN, INT16_MAX, point.x);
            if (!isX && (head.empty() || (head[0] != '-' && (head[0] < '0' || head[0] > '9'))))
                return fail("expected 'stroke', 'colour', 'size', 'steps' or a point 'X Y', not " + Quoted(head));
            if (!isX || rest.empty() || !ReadInt(rest[0], INT16_MIN, INT16_MAX, point.y))
                return fail("a point is two whole numbers 'X Y' from -32768 to 32767");
            if (rest.size() > 2 || (rest.size() == 2 && rest[1] != "dot"))
                return fail("after 'X Y' only the mark 'dot' may follow, not " + Quoted(rest.back()));
            point.dot = rest.size() == 2;
            if (sketch.strokes.empty()) return fail("a point must come after a 'stroke' line");
            std::vector<SketchPoint>& points = sketch.strokes.back().points;
            if (!points.empty() && points.back().x == point.x && points.back().y == point.y)
                return fail("the point repeats the one before it");
            points.push_back(point);
        }
    }
    if (sketch.strokes.empty()) return SketchError{std::max(line, 1), "the sketch has no strokes"};
    if (emptyStroke()) return SketchError{sketch.strokes.back().line, "the stroke has no points"};
    return sketch;
}

}  // namespace penscript
