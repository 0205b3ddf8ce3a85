// penscript check: validates a drawing and prints the facts of its run.
#include "playback/playback.h"
#include "tools/penscript/command_line.h"
#include "tools/penscript/commands.h"
#include "tools/penscript/drawing_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

struct Box {
    std::int64_t left, top, right, bottom;
};

// The dots of the run, in frame coordinates, in the order they were painted.
std::vector<Box> PaintedDots() {
    std::vector<Box> dots;
    for (const standin::Call& call : standin::Calls()) {
        if (call.function != standin::Function::Ellipse) continue;
        const auto& a = call.arguments;
        dots.push_back({a[1].number - OriginX, a[2].number - OriginY, a[3].number - OriginX, a[4].number - OriginY});
    }
    return dots;
}

// Whether two dots' discs overlap or touch: the distance of their centres is
// at most the mean of their diameters (all doubled, to stay in integers).
bool Touching(const Box& a, const Box& b) {
    const std::int64_t dx = (a.left + a.right) - (b.left + b.right);
    const std::int64_t dy = (a.top + a.bottom) - (b.top + b.bottom);
    const std::int64_t reach = (a.right - a.left) + (b.right - b.left);
    return dx * dx + dy * dy <= reach * reach;
}

std::int64_t Step(StrokePoint a, StrokePoint b) {
    return std::max(std::abs(a.X - b.X), std::abs(a.Y - b.Y));
}

std::string Bar(std::int64_t count, std::int64_t largest) {
    constexpr std::int64_t Width = 40;  // characters for the largest count
    return std::string(static_cast<std::size_t>(std::max<std::int64_t>(1, count * Width / largest)), '#');
}

void PrintFacts(const std::string& name, const DrawingScript& script) {
    const std::int32_t count = script.StrokeCount;
    std::printf("drawing: %s\n", name.c_str());
    std::printf("rows played: %d (rows %d to %d are filler)\n", count, count + 1, StrokeCapacity);

    // Row kinds, walked as the driver walks them: a segment takes its end row along.
    std::int64_t kinds[3] = {};
    for (std::int32_t i = 1; i <= count;) {
        const RowKind kind = KindOfRow(i, script.StrokeSizes[i]);
        ++kinds[static_cast<int>(kind)];
        i += kind == RowKind::Segment ? 2 : 1;
    }
    const std::int64_t cycles = std::count_if(standin::Calls().begin(), standin::Calls().end(),
                                              [](const auto& c) { return c.function == standin::Function::Sleep; });
    std::printf("cycles: %lld\n", static_cast<long long>(cycles));
    std::printf("row kinds: %lld small dot, %lld offset dot, %lld segment\n",
                static_cast<long long>(kinds[static_cast<int>(RowKind::SmallDot)]),
                static_cast<long long>(kinds[static_cast<int>(RowKind::OffsetDot)]),
                static_cast<long long>(kinds[static_cast<int>(RowKind::Segment)]));

    std::map<int, std::int64_t> colours, sizes;
    std::int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
    for (std::int32_t i = 1; i <= count; ++i) {
        ++colours[script.StrokeColors[i]];
        ++sizes[script.StrokeSizes[i]];
        minX = std::min<std::int64_t>(minX, script.StrokePoints[i].X);
        maxX = std::max<std::int64_t>(maxX, script.StrokePoints[i].X);
        minY = std::min<std::int64_t>(minY, script.StrokePoints[i].Y);
        maxY = std::max<std::int64_t>(maxY, script.StrokePoints[i].Y);
    }
    std::printf("points: x %lld to %lld, y %lld to %lld\n", static_cast<long long>(minX), static_cast<long long>(maxX),
                static_cast<long long>(minY), static_cast<long long>(maxY));

    const std::vector<Box> dots = PaintedDots();
    std::printf("dots painted: %zu\n", dots.size());
    if (!dots.empty()) {
        Box cover = dots.front();
        for (const Box& d : dots)
            cover = {std::min(cover.left, d.left), std::min(cover.top, d.top), std::max(cover.right, d.right),
                     std::max(cover.bottom, d.bottom)};
        const bool inside = cover.left >= 0 && cover.top >= 0 && cover.right <= 2 * FrameHalfWidth &&
                            cover.bottom <= 2 * FrameHalfHeight;
        std::printf("dots cover: (%lld, %lld) to (%lld, %lld), %s the %d by %d frame\n",
                    static_cast<long long>(cover.left), static_cast<long long>(cover.top),
                    static_cast<long long>(cover.right), static_cast<long long>(cover.bottom),
                    inside ? "inside" : "reaching outside", 2 * FrameHalfWidth, 2 * FrameHalfHeight);

        std::int64_t runs = 1, shortest = INT64_MAX, longest = 0;
        for (std::size_t k = 1; k < dots.size(); ++k) {
            if (Touching(dots[k - 1], dots[k])) continue;
            ++runs;
            const std::int64_t jump =
                std::max(std::abs(dots[k].left - dots[k - 1].left), std::abs(dots[k].top - dots[k - 1].top));
            shortest = std::min(shortest, jump);
            longest = std::max(longest, jump);
        }
        std::printf("runs of touching dots: %lld\n", static_cast<long long>(runs));
        if (runs > 1)
            std::printf("jumps between runs: %lld, of %lld to %lld pixels\n", static_cast<long long>(runs - 1),
                        static_cast<long long>(shortest), static_cast<long long>(longest));
        else
            std::printf("jumps between runs: 0\n");
    }

    for (const auto& [index, rows] : colours)
        std::printf("colour %d (0x%06X): %lld rows\n", index, static_cast<unsigned>(Palette[index]),
                    static_cast<long long>(rows));
    for (const auto& [code, rows] : sizes)
        std::printf("size code %d: %lld rows\n", code, static_cast<long long>(rows));

    const standin::Call* lastMove = nullptr;
    for (const standin::Call& call : standin::Calls())
        if (call.function == standin::Function::SetCursorPos) lastMove = &call;
    if (lastMove)
        std::printf("last cursor: (%lld, %lld) from the frame's top-left corner\n",
                    static_cast<long long>(lastMove->arguments[0].number - OriginX),
                    static_cast<long long>(lastMove->arguments[1].number - OriginY));

    std::map<std::int64_t, std::int64_t> steps;
    for (std::int32_t i = 1; i < count; ++i) ++steps[Step(script.StrokePoints[i], script.StrokePoints[i + 1])];
    std::int64_t largest = 1;
    for (const auto& [step, rows] : steps) largest = std::max(largest, rows);
    std::printf("steps between neighbouring rows (the larger of the x and y differences):\n");
    for (const auto& [step, rows] : steps)
        std::printf("  step %5lld: %5lld %s\n", static_cast<long long>(step), static_cast<long long>(rows),
                    Bar(rows, largest).c_str());
}

}  // namespace

int RunCheck(int argc, char** argv) {
    const auto invocation = ParseInvocation(argc, argv, 0, "penscript check [FILE]");
    if (!invocation) return BadInput;
    const auto script = LoadDrawing(invocation->file);
    if (!script) return BadInput;
    PlayOnStandin(*script, invocation->screen);
    const std::vector<std::string> problems = standin::Problems();
    if (!problems.empty()) {
        for (const std::string& problem : problems) std::fprintf(stderr, "penscript: the run misused GDI: %s\n", problem.c_str());
        return 1;
    }
    PrintFacts(invocation->file.empty() ? "built-in" : invocation->file, *script);
    return 0;
}
