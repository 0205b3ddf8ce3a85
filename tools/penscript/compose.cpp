#include "tools/penscript/compose.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>

#include "script/drawing_script.h"

namespace penscript {

int StepSize(Pixel a, Pixel b) { return std::max(std::abs(a.x - b.x), std::abs(a.y - b.y)); }

namespace {

// ---- The curve -------------------------------------------------------------

struct Vec {
    double x, y;
};

Vec Lerp(Vec a, Vec b, double ta, double tb, double t) {
    const double wa = (tb - t) / (tb - ta), wb = (t - ta) / (tb - ta);
    return {wa * a.x + wb * b.x, wa * a.y + wb * b.y};
}

// Centripetal Catmull-Rom: the span from p[1] to p[2], with p[0] and p[3] as
// neighbours. Knots grow by the square root of the chord length, which keeps
// the curve from overshooting or looping where points bunch up.
struct Span {
    Vec p[4];
    double t[4];

    Span(Vec p0, Vec p1, Vec p2, Vec p3) : p{p0, p1, p2, p3}, t{0, 0, 0, 0} {
        for (int i = 1; i < 4; ++i) {
            const double dx = p[i].x - p[i - 1].x, dy = p[i].y - p[i - 1].y;
            t[i] = t[i - 1] + std::sqrt(std::sqrt(dx * dx + dy * dy));
        }
    }

    // The curve at u from 0 (p[1]) to 1 (p[2]), by Barry and Goldman's pyramid.
    Vec At(double u) const {
        const double s = t[1] + u * (t[2] - t[1]);
        const Vec a1 = Lerp(p[0], p[1], t[0], t[1], s), a2 = Lerp(p[1], p[2], t[1], t[2], s),
                  a3 = Lerp(p[2], p[3], t[2], t[3], s);
        const Vec b1 = Lerp(a1, a2, t[0], t[2], s), b2 = Lerp(a2, a3, t[1], t[3], s);
        return Lerp(b1, b2, t[1], t[2], s);
    }
};

int Round(double x) { return static_cast<int>(std::floor(x + 0.5)); }

Pixel Nearest(Vec v) { return {Round(v.x), Round(v.y)}; }

// Builds the pixel path one pixel at a time, dropping any pixel whose
// neighbours on the path touch each other: that removes L-corners and
// doubling back, so that every step is a move a pen would make.
class PathBuilder {
public:
    // `exact` is the point of the curve that fell in pixel p.
    void Push(Pixel p, Vec exact, int points) {
        if (!pixels_.empty() && pixels_.back() == p) {
            points_.back() += points;
            return;
        }
        pixels_.push_back(p);
        exact_.push_back(exact);
        points_.push_back(points);
        while (pixels_.size() >= 3) {
            const std::size_t n = pixels_.size();
            if (points_[n - 2] != 0 || StepSize(pixels_[n - 3], pixels_[n - 1]) > 1) break;
            pixels_.erase(pixels_.end() - 2);
            exact_.erase(exact_.end() - 2);
            points_.erase(points_.end() - 2);
            if (pixels_[n - 3] == pixels_[n - 2]) {
                points_[n - 3] += points_[n - 2];
                pixels_.pop_back();
                exact_.pop_back();
                points_.pop_back();
            }
        }
    }

    // The walk, and for each of its pixels the point of the curve in it.
    std::pair<CurveWalk, std::vector<Vec>> Finish() const {
        CurveWalk walk{pixels_, {}};
        for (std::size_t i = 0; i < points_.size(); ++i) walk.pointAt.insert(walk.pointAt.end(), points_[i], i);
        return {walk, exact_};
    }

private:
    std::vector<Pixel> pixels_;
    std::vector<Vec> exact_;
    std::vector<int> points_;  // how many of the stroke's points land on each pixel
};

// Halves the span's parameter range until neighbouring samples round to
// touching pixels; the curve is continuous, so this always ends.
void Trace(const Span& span, double u0, Vec a, double u1, Vec b, bool endIsPoint, PathBuilder& path) {
    if (StepSize(Nearest(a), Nearest(b)) <= 1) {
        path.Push(Nearest(b), b, endIsPoint ? 1 : 0);
        return;
    }
    const double um = (u0 + u1) / 2;
    const Vec m = span.At(um);
    Trace(span, u0, a, um, m, false, path);
    Trace(span, um, m, u1, b, endIsPoint, path);
}

std::pair<CurveWalk, std::vector<Vec>> TraceCurve(const std::vector<SketchPoint>& points) {
    PathBuilder path;
    std::vector<Vec> p;
    for (const SketchPoint& point : points) p.push_back({double(point.x), double(point.y)});
    path.Push({points[0].x, points[0].y}, p[0], 1);
    const std::size_t n = p.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        // Beyond the ends the curve runs on straight: mirror the next point.
        const Vec before = i > 0 ? p[i - 1] : Vec{2 * p[0].x - p[1].x, 2 * p[0].y - p[1].y};
        const Vec after = i + 2 < n ? p[i + 2] : Vec{2 * p[n - 1].x - p[n - 2].x, 2 * p[n - 1].y - p[n - 2].y};
        Trace(Span(before, p[i], p[i + 1], after), 0, p[i], 1, p[i + 1], true, path);
    }
    return path.Finish();
}

// ---- The pace --------------------------------------------------------------

// A hand's speed along a stroke, in pixels per dot, at each pixel of its
// walk. It lands and lifts the pen at 1 over the first and last Settle
// pixels, speeds up and slows down by at most Acceleration (in speed squared
// per pixel), turns its direction by at most Turning radians per dot (so it
// is slow in tight bends), and never passes TopSpeed. Bends are measured on
// the curve itself, not on the pixel staircase.
constexpr double TopSpeed = 10;
constexpr double Acceleration = 0.17;
constexpr double Turning = 0.02;
constexpr int Settle = 6;
constexpr int BendWindow = 8;  // pixels either side over which a bend is measured

std::vector<double> Pace(const std::vector<Vec>& curve) {
    const int last = static_cast<int>(curve.size()) - 1;
    std::vector<double> speed2(curve.size(), TopSpeed * TopSpeed);
    for (int a = 1; a < last; ++a) {
        const Vec back = curve[std::max(0, a - BendWindow)], here = curve[a],
                  ahead = curve[std::min(last, a + BendWindow)];
        const double ux = here.x - back.x, uy = here.y - back.y, vx = ahead.x - here.x, vy = ahead.y - here.y;
        const double lu = std::sqrt(ux * ux + uy * uy), lv = std::sqrt(vx * vx + vy * vy);
        const double bend = 1 - (ux * vx + uy * vy) / (lu * lv);  // 1 - cos(turn)
        if (bend <= 0) continue;
        // A turn of angle q over arcs lu and lv: radius about ((lu + lv) / 2) / q,
        // with q taken as 2 sin(q/2) = sqrt(2 bend).
        const double limit = Turning * (lu + lv) / 2 / std::sqrt(2 * bend);
        speed2[a] = std::min(speed2[a], limit * limit);
    }
    for (int a = 0; a <= std::min(Settle, last); ++a) speed2[a] = speed2[last - a] = 1;
    for (int a = 1; a <= last; ++a) speed2[a] = std::min(speed2[a], speed2[a - 1] + 2 * Acceleration);
    for (int a = last - 1; a >= 0; --a) speed2[a] = std::min(speed2[a], speed2[a + 1] + 2 * Acceleration);
    std::vector<double> speed(curve.size());
    for (std::size_t a = 0; a < curve.size(); ++a) speed[a] = std::sqrt(std::max(1.0, speed2[a]));
    return speed;
}

// ---- Segments and slots ----------------------------------------------------

// A stretch of a stroke's walk between two rows that the sketch fixes (the
// stroke's ends and its dots), inside which the composer chooses the rows.
struct Segment {
    int stroke;
    int from, to;  // walk indices
    double time;   // dots the pace spends on it
};

// One step inside a segment, as the pace would take it and as assigned.
struct Slot {
    int segment;
    double natural;  // length in pixels at the pace
    int rounded;     // the same, between rounded positions
    bool settling;   // inside the stroke's first or last Settle pixels
    int bin = -1;    // the target bin it takes its size from
    int size = 0;
};

struct StrokeWalk {
    CurveWalk walk;
    std::vector<double> speed;
};

double SegmentTime(const std::vector<double>& speed, int from, int to) {
    double time = 0;
    for (int a = from; a < to; ++a) time += 2 / (speed[a] + speed[a + 1]);
    return time;
}

// The positions (walk indices, not rounded) of `steps` equal-time steps
// across a segment.
std::vector<double> EvenTimePositions(const std::vector<double>& speed, const Segment& segment, int steps) {
    std::vector<double> positions{static_cast<double>(segment.from)};
    double clock = 0;
    int a = segment.from;
    for (int j = 1; j < steps; ++j) {
        const double due = segment.time * j / steps;
        double dt = 2 / (speed[a] + speed[a + 1]);
        while (clock + dt < due && a + 1 < segment.to) {
            clock += dt;
            ++a;
            dt = 2 / (speed[a] + speed[a + 1]);
        }
        positions.push_back(a + std::min(1.0, (due - clock) / dt));
    }
    positions.push_back(segment.to);
    return positions;
}

// "1 pixel", "3 pixels".
std::string Count(long n, const char* thing) { return std::to_string(n) + " " + thing + (n == 1 ? "" : "s"); }

// The lowest size a bin gives to a moving step (0 only comes from holds).
int MovingLo(const StepBin& bin) { return std::max(bin.lo, 1); }

// ---- Meeting a target histogram --------------------------------------------

class Matcher {
public:
    Matcher(const std::vector<StrokeWalk>& walks, const std::vector<Segment>& segments, std::vector<StepBin> bins)
        : walks_(walks), segments_(segments), bins_(std::move(bins)) {}

    // Sizes for every segment's steps, in order, or what makes it impossible.
    std::variant<std::vector<std::vector<int>>, std::string> Run() {
        long length = 0, fewest = 0, most = 0, steps = 0;
        int smallest = MaxStepSize, largest = 1;
        for (const Segment& s : segments_) length += s.to - s.from;
        for (const StepBin& bin : bins_) {
            if (bin.count == 0) continue;
            if (bin.hi == 0)
                return "the histogram asks for " + Count(bin.count, "more resting step") +
                       " (0) than the sketch has holds";
            steps += bin.count;
            fewest += static_cast<long>(bin.count) * MovingLo(bin);
            most += static_cast<long>(bin.count) * bin.hi;
            smallest = std::min(smallest, MovingLo(bin));
            largest = std::max(largest, bin.hi);
        }
        if (length > most)
            return "the strokes are " + Count(length, "pixel") + " long but the histogram's steps cover at most " +
                   std::to_string(most) + ": lengthen its steps or shorten the strokes";
        if (length < fewest)
            return "the strokes are " + Count(length, "pixel") + " long but the histogram's steps cover at least " +
                   std::to_string(fewest) + ": shorten its steps or lengthen the strokes";
        if (auto problem = CountSteps(steps, smallest, largest); !problem.empty()) return problem;
        TakeNaturalSlots();
        AssignBins();
        FitTotalLength(length);
        if (!BalanceSegments())
            return std::string(
                "cannot share the histogram's steps among the strokes so that "
                "each adds up to its stroke's length");
        return Sizes();
    }

private:
    // How many steps each segment takes: shares of the total in proportion
    // to the time the pace spends on it, within what its length allows.
    std::string CountSteps(long total, int smallest, int largest) {
        std::vector<long> lo, hi;
        double time = 0;
        long sumLo = 0, sumHi = 0;
        for (const Segment& s : segments_) {
            const int length = s.to - s.from;
            lo.push_back((length + largest - 1) / largest);
            hi.push_back(length / smallest);
            sumLo += lo.back();
            sumHi += hi.back();
            time += s.time;
        }
        if (total < sumLo)
            return "the strokes need at least " + Count(sumLo, "step") + " but the histogram has " +
                   std::to_string(total);
        if (total > sumHi)
            return "the strokes have room for at most " + Count(sumHi, "step") + " but the histogram has " +
                   std::to_string(total);
        std::vector<double> share;
        for (std::size_t k = 0; k < segments_.size(); ++k) {
            share.push_back(total * segments_[k].time / time);
            counts_.push_back(std::clamp(static_cast<long>(share.back()), lo[k], hi[k]));
        }
        long given = 0;
        for (long c : counts_) given += c;
        // Hand out (or take back) the remainder where the share is least met.
        for (; given != total; given += given < total ? 1 : -1) {
            std::size_t best = segments_.size();
            for (std::size_t k = 0; k < segments_.size(); ++k) {
                const bool room = given < total ? counts_[k] < hi[k] : counts_[k] > lo[k];
                const double need = share[k] - counts_[k];
                if (room && (best == segments_.size() ||
                             (given < total ? need > share[best] - counts_[best] : need < share[best] - counts_[best])))
                    best = k;
            }
            counts_[best] += given < total ? 1 : -1;
        }
        return {};
    }

    // The steps as the pace alone would take them.
    void TakeNaturalSlots() {
        for (std::size_t k = 0; k < segments_.size(); ++k) {
            const StrokeWalk& walk = walks_[segments_[k].stroke];
            const double last = static_cast<double>(walk.walk.pixels.size() - 1);
            const std::vector<double> at = EvenTimePositions(walk.speed, segments_[k], static_cast<int>(counts_[k]));
            for (std::size_t j = 0; j + 1 < at.size(); ++j)
                slots_.push_back({static_cast<int>(k), at[j + 1] - at[j], Round(at[j + 1]) - Round(at[j]),
                                  at[j + 1] <= Settle || at[j] >= last - Settle});
        }
    }

    // The histogram's sizes go to the slots shortest first: first to the
    // steps that land or lift the pen, then in the order of their natural
    // lengths, so that the shortest steps fall where the pace is slowest.
    void AssignBins() {
        std::vector<std::size_t> order(slots_.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        auto key = [this](std::size_t i) {
            return std::tuple(!slots_[i].settling, slots_[i].rounded, slots_[i].natural, i);
        };
        std::sort(order.begin(), order.end(), [&key](std::size_t a, std::size_t b) { return key(a) < key(b); });
        std::size_t next = 0;
        for (std::size_t b = 0; b < bins_.size(); ++b)
            for (int n = 0; n < bins_[b].count; ++n) {
                Slot& slot = slots_[order[next++]];
                slot.bin = static_cast<int>(b);
                slot.size = std::clamp(slot.rounded, MovingLo(bins_[b]), bins_[b].hi);
            }
    }

    // Cost, against the pace, of moving a slot's size by `delta`.
    static double Strain(const Slot& slot, int delta) {
        const double before = slot.size - slot.natural, after = before + delta;
        return after * after - before * before;
    }

    bool CanMove(const Slot& slot, int delta) const {
        const StepBin& bin = bins_[slot.bin];
        return slot.size + delta >= MovingLo(bin) && slot.size + delta <= bin.hi;
    }

    // Sizes inside range bins stretch or shrink until all steps together
    // are as long as all the strokes.
    void FitTotalLength(long length) {
        long total = 0;
        for (const Slot& slot : slots_) total += slot.size;
        for (; total != length; total += total < length ? 1 : -1) {
            const int delta = total < length ? 1 : -1;
            Slot* best = nullptr;
            for (Slot& slot : slots_)
                if (CanMove(slot, delta) && (!best || Strain(slot, delta) < Strain(*best, delta))) best = &slot;
            best->size += delta;
        }
    }

    // Moves single pixels from segments whose steps are too long to those
    // whose steps are too short: either two slots trade sizes that differ by
    // one, or two slots of one range bin shrink and grow. Each move is the
    // one that strains the pace least.
    bool BalanceSegments() {
        std::vector<long> excess(segments_.size());
        for (std::size_t k = 0; k < segments_.size(); ++k) excess[k] = segments_[k].from - segments_[k].to;
        for (const Slot& slot : slots_) excess[slot.segment] += slot.size;
        while (true) {
            // Per segment and size: the slot that gives a pixel most easily,
            // and the one that takes a pixel most easily.
            std::map<std::pair<int, int>, std::size_t> giver, taker;
            for (std::size_t i = 0; i < slots_.size(); ++i) {
                const Slot& slot = slots_[i];
                const std::pair key{slot.segment, slot.size};
                if (excess[slot.segment] > 0) {
                    auto [at, fresh] = giver.try_emplace(key, i);
                    if (!fresh && slot.natural < slots_[at->second].natural) at->second = i;
                } else if (excess[slot.segment] < 0) {
                    auto [at, fresh] = taker.try_emplace(key, i);
                    if (!fresh && slot.natural > slots_[at->second].natural) at->second = i;
                }
            }
            if (giver.empty() && taker.empty()) return true;
            double bestCost = 0;
            std::size_t from = slots_.size(), to = slots_.size();
            bool trade = false;
            for (const auto& [g, gi] : giver)
                for (const auto& [t, ti] : taker) {
                    const Slot &a = slots_[gi], &b = slots_[ti];
                    const bool sizesTrade = a.size == b.size + 1;
                    const bool sameRange = a.bin == b.bin && CanMove(a, -1) && CanMove(b, +1);
                    if (!sizesTrade && !sameRange) continue;
                    const double cost = Strain(a, -1) + Strain(b, +1);
                    if (from == slots_.size() || cost < bestCost) {
                        bestCost = cost;
                        from = gi;
                        to = ti;
                        trade = sizesTrade;
                    }
                }
            if (from == slots_.size()) return false;
            if (trade) std::swap(slots_[from].bin, slots_[to].bin);
            --slots_[from].size;
            ++slots_[to].size;
            --excess[slots_[from].segment];
            ++excess[slots_[to].segment];
        }
    }

    std::vector<std::vector<int>> Sizes() const {
        std::vector<std::vector<int>> sizes(segments_.size());
        for (const Slot& slot : slots_) sizes[slot.segment].push_back(slot.size);
        return sizes;
    }

    const std::vector<StrokeWalk>& walks_;
    const std::vector<Segment>& segments_;
    std::vector<StepBin> bins_;
    std::vector<long> counts_;
    std::vector<Slot> slots_;
};

// A step of `size` from walk index a keeps its size only if the walk goes
// straight enough: every pixel moves it one further from where it started.
bool Fits(const std::vector<Pixel>& walk, int a, int size) { return StepSize(walk[a], walk[a + size]) == size; }

// How many places a step that cuts across a bend may move.
constexpr int MoveReach = 16;

// Whether steps first..last, starting at walk index a, all fit.
bool AllFit(const std::vector<Pixel>& walk, int a, const std::vector<int>& sizes, std::size_t first, std::size_t last) {
    for (std::size_t j = first; j <= last; a += sizes[j++])
        if (!Fits(walk, a, sizes[j])) return false;
    return true;
}

// Moves each step that cuts across a bend the fewest places that leave
// every step it passes fitting: it slides along its neighbours, so that the
// shorter steps move into the bend, or trades places with a step one pixel
// shorter. False if some step cannot be moved clear. Each move fixes one
// misfit and breaks none, so this ends.
bool FitToBends(const std::vector<Pixel>& walk, int from, std::vector<int>& sizes) {
    std::vector<int> start(sizes.size());  // walk index where each step starts
    auto slide = [&sizes](std::size_t j, std::size_t m) {
        if (m > j)
            std::rotate(sizes.begin() + j, sizes.begin() + j + 1, sizes.begin() + m + 1);
        else
            std::rotate(sizes.begin() + m, sizes.begin() + j, sizes.begin() + j + 1);
    };
    auto fitsFrom = [&](std::size_t j, std::size_t m) {
        return AllFit(walk, start[std::min(j, m)], sizes, std::min(j, m), std::max(j, m));
    };
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t j = 0, a = from; j < sizes.size(); a += sizes[j++]) start[j] = static_cast<int>(a);
        for (std::size_t j = 0; j < sizes.size() && !changed; ++j) {
            if (Fits(walk, start[j], sizes[j])) continue;
            for (std::size_t d = 1; d <= MoveReach && !changed; ++d)
                for (std::size_t m : {j + d, j - d}) {
                    if (m >= sizes.size()) continue;
                    slide(j, m);
                    if ((changed = fitsFrom(j, m))) break;
                    slide(m, j);
                    if (sizes[m] + 1 != sizes[j]) continue;
                    std::swap(sizes[j], sizes[m]);
                    if ((changed = fitsFrom(j, m))) break;
                    std::swap(sizes[j], sizes[m]);
                }
            if (!changed) return false;
        }
    }
    return true;
}

// Where each histogram step of a fixed size goes: holds and dot pairs.
struct FixedStep {
    int size;
    int line;
    std::string what;
};

}  // namespace

CurveWalk WalkCurve(const std::vector<SketchPoint>& points) { return TraceCurve(points).first; }

std::variant<Composition, ComposeError> Compose(const Sketch& sketch, const std::optional<StepHistogram>& target) {
    const StepHistogram* histogram = target ? &*target : sketch.hasSteps ? &sketch.steps : nullptr;
    const int histogramLine = target ? 0 : sketch.stepsLine;

    // Walk every stroke and cut it into fixed steps and free segments.
    std::vector<StrokeWalk> walks;
    std::vector<Segment> segments;
    std::vector<FixedStep> fixed;
    struct Piece {
        bool isFixed;
        int from, to;  // walk indices of its ends
        int segment;   // free pieces only
    };
    std::vector<std::vector<Piece>> pieces(sketch.strokes.size());
    for (std::size_t s = 0; s < sketch.strokes.size(); ++s) {
        const Stroke& stroke = sketch.strokes[s];
        auto [curveWalk, exact] = TraceCurve(stroke.points);
        StrokeWalk walk{std::move(curveWalk), Pace(exact)};
        if (stroke.hold)
            fixed.push_back({0, stroke.line, "the hold of the stroke on line " + std::to_string(stroke.line)});
        const std::vector<std::size_t>& at = walk.walk.pointAt;
        const std::size_t lastPoint = stroke.points.size() - 1;
        for (std::size_t i = 0, j; i < lastPoint; i = j) {
            for (j = i + 1; j < lastPoint && !stroke.points[j].dot; ++j) {
            }
            const int from = static_cast<int>(at[i]), to = static_cast<int>(at[j]);
            if (stroke.points[i].dot && stroke.points[j].dot && j == i + 1) {
                fixed.push_back({StepSize(walk.walk.pixels[from], walk.walk.pixels[to]), stroke.points[j].line,
                                 "the dots on lines " + std::to_string(stroke.points[i].line) + " and " +
                                     std::to_string(stroke.points[j].line)});
                pieces[s].push_back({true, from, to, -1});
            } else {
                pieces[s].push_back({false, from, to, static_cast<int>(segments.size())});
                segments.push_back({static_cast<int>(s), from, to, SegmentTime(walk.speed, from, to)});
            }
        }
        walks.push_back(std::move(walk));
    }

    // The sizes of each free segment's steps.
    std::vector<std::vector<int>> sizes(segments.size());
    if (histogram) {
        const int jumps = static_cast<int>(sketch.strokes.size()) - 1;
        if (jumps != histogram->jumps)
            return ComposeError{histogramLine, "the sketch has " + Count(jumps + 1, "stroke") + ", so " +
                                                   Count(jumps, "jump") + ", but the histogram asks for " +
                                                   Count(histogram->jumps, "jump")};
        std::vector<StepBin> bins = histogram->bins;
        for (const FixedStep& step : fixed) {
            auto bin = std::find_if(bins.begin(), bins.end(),
                                    [&](const StepBin& b) { return b.lo <= step.size && step.size <= b.hi; });
            if (bin == bins.end() || bin->count == 0)
                return ComposeError{step.line, step.what + ": a step of " + Count(step.size, "pixel") +
                                                   ", but the histogram has no room for another"};
            --bin->count;
        }
        Matcher matcher(walks, segments, bins);
        auto matched = matcher.Run();
        if (auto* problem = std::get_if<std::string>(&matched)) return ComposeError{histogramLine, *problem};
        sizes = std::get<std::vector<std::vector<int>>>(matched);
        for (std::size_t k = 0; k < segments.size(); ++k) {
            const Segment& segment = segments[k];
            if (!FitToBends(walks[segment.stroke].walk.pixels, segment.from, sizes[k]))
                return ComposeError{sketch.strokes[segment.stroke].line,
                                    "the stroke bends too sharply for the long steps the histogram puts on it: "
                                    "soften its bends or ask for fewer long steps"};
        }
    } else {
        for (std::size_t k = 0; k < segments.size(); ++k) {
            const Segment& segment = segments[k];
            const int steps = std::max(1, Round(segment.time));
            const std::vector<double> at = EvenTimePositions(walks[segment.stroke].speed, segment, steps);
            for (std::size_t j = 1; j < at.size(); ++j) {
                const int size = Round(at[j]) - Round(at[j - 1]);
                if (size > 0) sizes[k].push_back(size);
            }
        }
    }

    Composition composition;
    for (std::size_t s = 0; s < sketch.strokes.size(); ++s) {
        composition.strokeStarts.push_back(composition.rows.size());
        const std::vector<Pixel>& pixels = walks[s].walk.pixels;
        auto put = [&](int a) { composition.rows.push_back({pixels[a].x, pixels[a].y, sketch.colour, sketch.size}); };
        put(0);
        if (sketch.strokes[s].hold) put(0);
        for (const Piece& piece : pieces[s]) {
            if (piece.isFixed) {
                put(piece.to);
                continue;
            }
            int a = piece.from;
            for (int size : sizes[piece.segment]) put(a += size);
        }
    }
    if (composition.rows.size() > static_cast<std::size_t>(StrokeCapacity))
        return ComposeError{0, "the drawing has " + std::to_string(composition.rows.size()) + " rows, more than " +
                                   std::to_string(StrokeCapacity)};
    return composition;
}

std::string FormatRows(const std::vector<Row>& rows, std::string_view source) {
    std::string text = "# penplay drawing: composed by \"penscript compose\" from " + std::string(source) +
                       "; edit the sketch, not this file\n";
    for (const Row& row : rows)
        text += std::to_string(row.x) + ' ' + std::to_string(row.y) + ' ' + std::to_string(row.colour) + ' ' +
                std::to_string(row.size) + '\n';
    return text;
}

}  // namespace penscript
