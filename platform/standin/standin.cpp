#include "platform/standin/standin.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace standin {
namespace {

enum class Kind : std::uint8_t { DC, Pen, Brush };

struct Object {
    Kind kind;
    std::string name;
    COLORREF colour;
    bool alive;
    bool program;  // created by the program, not one of the DC's defaults
};

// Handles are indices into `objects`, plus one so that no object is null.
constexpr std::size_t ScreenDCIndex = 0;
constexpr std::size_t DefaultPenIndex = 1;    // black, as GDI's stock pen
constexpr std::size_t DefaultBrushIndex = 2;  // white, as GDI's stock brush

struct State {
    Options options;
    std::vector<Object> objects;
    std::vector<COLORREF> pixels;
    std::vector<Call> calls;
    std::vector<std::string> misuse;
    std::function<void()> sleepObserver;
    Point cursor{};
    bool dcHeld = false;
    std::size_t selectedPen = DefaultPenIndex;
    std::size_t selectedBrush = DefaultBrushIndex;
    int pensCreated = 0;
    int brushesCreated = 0;
};

State& S() {
    static State state;
    return state;
}

void* HandleOf(std::size_t index) { return reinterpret_cast<void*>(index + 1); }

// The object a handle names, or nullptr for null and for handles never handed out.
Object* Find(const void* handle) {
    auto value = reinterpret_cast<std::uintptr_t>(handle);
    if (value == 0 || value > S().objects.size()) return nullptr;
    return &S().objects[value - 1];
}

std::size_t IndexOf(const void* handle) { return reinterpret_cast<std::uintptr_t>(handle) - 1; }

Value Integer(std::int64_t n) { return {Value::Type::Integer, n, {}}; }
Value Colour(COLORREF c) { return {Value::Type::Colour, c, {}}; }
Value Handle(const void* handle) {
    const Object* object = Find(handle);
    return {Value::Type::Handle, 0, object ? object->name : handle ? "unknown" : "null"};
}

void Record(Function function, std::vector<Value> arguments) {
    S().calls.push_back({function, std::move(arguments), false, {}});
}

void RecordWithResult(Function function, std::vector<Value> arguments, Value result) {
    S().calls.push_back({function, std::move(arguments), true, std::move(result)});
}

void Misuse(std::string what) { S().misuse.push_back(std::move(what)); }

bool IsScreenDC(HDC dc) { return S().dcHeld && dc && IndexOf(dc) == ScreenDCIndex; }

bool AliveProgramObject(Kind kind) {
    return std::any_of(S().objects.begin(), S().objects.end(),
                       [kind](const Object& o) { return o.program && o.alive && o.kind == kind; });
}

void* Create(Kind kind, COLORREF colour) {
    State& s = S();
    const char* noun = kind == Kind::Pen ? "pen" : "brush";
    int& created = kind == Kind::Pen ? s.pensCreated : s.brushesCreated;
    if (AliveProgramObject(kind)) Misuse(std::string("a second ") + noun + " was created while one is alive");
    s.objects.push_back({kind, noun + std::to_string(++created), colour, true, true});
    return HandleOf(s.objects.size() - 1);
}

// Twice the offset of a pixel's centre from the box's centre, along one axis.
std::int64_t CentreOffset2(std::int64_t pixel, std::int64_t low, std::int64_t high) {
    return 2 * pixel + 1 - (low + high);
}

// Whether the centre of pixel (x, y) lies in the ellipse inscribed in the box
// [left, right) x [top, bottom): (X/W)^2 + (Y/H)^2 <= 1 with every term doubled,
// in integers wide enough for any box.
bool InEllipse(std::int64_t x, std::int64_t y, std::int64_t left, std::int64_t top, std::int64_t right,
               std::int64_t bottom) {
    if (x < left || x >= right || y < top || y >= bottom) return false;
    using Wide = unsigned __int128;
    const auto ax = static_cast<Wide>(std::abs(CentreOffset2(x, left, right)));
    const auto ay = static_cast<Wide>(std::abs(CentreOffset2(y, top, bottom)));
    const auto w = static_cast<Wide>(right - left);
    const auto h = static_cast<Wide>(bottom - top);
    return ax * ax * h * h + ay * ay * w * w <= w * w * h * h;
}

// Fills the ellipse with the brush's colour and draws its one-pixel outline,
// inside the box, with the pen's: a pixel of the ellipse is outline when one
// of its four neighbours is not in the ellipse.
void PaintEllipse(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    State& s = S();
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    const std::int64_t x0 = std::max<std::int64_t>(left, 0), x1 = std::min<std::int64_t>(right, s.options.width);
    const std::int64_t y0 = std::max<std::int64_t>(top, 0), y1 = std::min<std::int64_t>(bottom, s.options.height);
    const COLORREF pen = s.objects[s.selectedPen].colour;
    const COLORREF brush = s.objects[s.selectedBrush].colour;
    for (std::int64_t y = y0; y < y1; ++y) {
        for (std::int64_t x = x0; x < x1; ++x) {
            auto in = [&](std::int64_t px, std::int64_t py) { return InEllipse(px, py, left, top, right, bottom); };
            if (!in(x, y)) continue;
            const bool rim = !in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1);
            s.pixels[static_cast<std::size_t>(y * s.options.width + x)] = rim ? pen : brush;
        }
    }
}

}  // namespace

void Reset(const Options& options) {
    State& s = S();
    s = State{};
    s.options = options;
    s.objects = {{Kind::DC, "dc", 0, true, false},
                 {Kind::Pen, "pen0", 0x000000, true, false},
                 {Kind::Brush, "brush0", 0xFFFFFF, true, false}};
    s.pixels.assign(static_cast<std::size_t>(options.width) * static_cast<std::size_t>(options.height), Ground);
    s.cursor = {options.width / 2, options.height / 2};
}

const std::vector<Call>& Calls() { return S().calls; }

std::string Format(const Call& call) {
    static constexpr const char* Names[] = {"GetDC",        "ReleaseDC",        "GetSystemMetrics", "SetCursorPos",
                                            "CreatePen",    "CreateSolidBrush", "SelectObject",     "DeleteObject",
                                            "Ellipse",      "Sleep"};
    auto text = [](const Value& v) {
        switch (v.type) {
        case Value::Type::Integer: return std::to_string(v.number);
        case Value::Type::Colour: {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%06X", static_cast<unsigned>(v.number));
            return std::string(hex);
        }
        case Value::Type::Handle: return v.handle;
        }
        return std::string();
    };
    std::string line = Names[static_cast<int>(call.function)];
    for (const Value& argument : call.arguments) line += ' ' + text(argument);
    if (call.hasResult) line += " -> " + text(call.result);
    return line;
}

std::vector<std::string> Problems() {
    const State& s = S();
    std::vector<std::string> problems = s.misuse;
    for (const Object& o : s.objects)
        if (o.program && o.alive) problems.push_back(o.name + " is still alive");
    if (s.dcHeld) problems.push_back("the screen's DC was not released");
    return problems;
}

int ScreenWidth() { return S().options.width; }
int ScreenHeight() { return S().options.height; }

COLORREF PixelAt(int x, int y) {
    return S().pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(S().options.width) +
                      static_cast<std::size_t>(x)];
}

Point Cursor() { return S().cursor; }

void OnSleep(std::function<void()> observer) { S().sleepObserver = std::move(observer); }

}  // namespace standin

using namespace standin;

HDC GetDC(HWND window) {
    State& s = S();
    HDC dc = nullptr;
    if (!s.options.nullDC) {
        dc = static_cast<HDC>(HandleOf(ScreenDCIndex));
        s.dcHeld = true;
    }
    RecordWithResult(Function::GetDC, {Handle(window)}, Handle(dc));
    return dc;
}

int ReleaseDC(HWND window, HDC dc) {
    State& s = S();
    Record(Function::ReleaseDC, {Handle(window), Handle(dc)});
    // A null DC came from GetDC only when the stand-in hands out null ones.
    if (dc == nullptr && s.options.nullDC) return 0;
    if (!IsScreenDC(dc)) {
        Misuse("ReleaseDC of " + Handle(dc).handle + ", which was not obtained");
        return 0;
    }
    s.dcHeld = false;
    return 1;
}

int GetSystemMetrics(int index) {
    const State& s = S();
    const int result = index == SM_CXSCREEN ? s.options.width : index == SM_CYSCREEN ? s.options.height : 0;
    RecordWithResult(Function::GetSystemMetrics, {Integer(index)}, Integer(result));
    return result;
}

BOOL SetCursorPos(int x, int y) {
    State& s = S();
    Record(Function::SetCursorPos, {Integer(x), Integer(y)});
    s.cursor = {std::clamp(x, 0, s.options.width - 1), std::clamp(y, 0, s.options.height - 1)};
    return 1;
}

HPEN CreatePen(int style, int width, COLORREF colour) {
    auto pen = static_cast<HPEN>(Create(Kind::Pen, colour));
    RecordWithResult(Function::CreatePen, {Integer(style), Integer(width), Colour(colour)}, Handle(pen));
    return pen;
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    auto brush = static_cast<HBRUSH>(Create(Kind::Brush, colour));
    RecordWithResult(Function::CreateSolidBrush, {Colour(colour)}, Handle(brush));
    return brush;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    State& s = S();
    HGDIOBJ previous = nullptr;
    const Object* selected = Find(object);
    if (IsScreenDC(dc)) {
        if (!selected || !selected->alive || selected->kind == Kind::DC) {
            Misuse("SelectObject of " + Handle(object).handle + ", which is no live pen or brush");
        } else {
            std::size_t& slot = selected->kind == Kind::Pen ? s.selectedPen : s.selectedBrush;
            previous = HandleOf(slot);
            slot = IndexOf(object);
        }
    }
    RecordWithResult(Function::SelectObject, {Handle(dc), Handle(object)}, Handle(previous));
    return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
    State& s = S();
    Record(Function::DeleteObject, {Handle(object)});
    Object* target = Find(object);
    if (!target || !target->alive || !target->program) {
        Misuse("DeleteObject of " + Handle(object).handle + ", which is no live object of the program");
        return 0;
    }
    const std::size_t index = IndexOf(object);
    if (s.dcHeld && (index == s.selectedPen || index == s.selectedBrush)) {
        Misuse("DeleteObject of " + target->name + " while it is selected into dc");
        return 0;
    }
    target->alive = false;
    return 1;
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    Record(Function::Ellipse, {Handle(dc), Integer(left), Integer(top), Integer(right), Integer(bottom)});
    if (!IsScreenDC(dc)) return 0;
    PaintEllipse(left, top, right, bottom);
    return 1;
}

void Sleep(DWORD milliseconds) {
    Record(Function::Sleep, {Integer(milliseconds)});
    if (S().sleepObserver) S().sleepObserver();
}
