// The stand-in platform layer: what penplay's code links against in host
// builds instead of Windows. It exists so that the driver and the plotter can
// be tested, and any drawing played and looked at, on a machine without
// Windows: it records every call with its arguments and result, keeps the
// GDI object bookkeeping that Windows keeps (and reports misuse of it), paints
// ellipses into an in-memory screen and moves an in-memory cursor.
//
// This header is the test API; the Windows calls themselves are declared in
// win32.h. It can never be linked into the Windows program: both headers
// refuse a Windows compiler, and the build only defines the library for the host.
#pragma once

#include "platform/standin/win32.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace standin {

enum class Function : std::uint8_t {
    GetDC, ReleaseDC, GetSystemMetrics, SetCursorPos, CreatePen,
    CreateSolidBrush, SelectObject, DeleteObject, Ellipse, Sleep,
};

// One argument or result of a call. Handles carry their name: "null", "dc",
// "pen0"/"brush0" for the DC's defaults, "pen1", "brush1", ... for the
// program's objects, numbered in order of creation.
struct Value {
    enum class Type : std::uint8_t { Integer, Colour, Handle } type;
    std::int64_t number;  // Integer, Colour
    std::string handle;   // Handle
};

struct Call {
    Function function;
    std::vector<Value> arguments;
    bool hasResult;  // only the calls whose result the program keeps
    Value result;
};

struct Options {
    int width = 1920;      // screen size in pixels
    int height = 1080;
    bool nullDC = false;   // GetDC hands out the null handle
};

struct Point {
    int x;
    int y;
    bool operator==(const Point&) const = default;
};

constexpr COLORREF Ground = 0xFFFFFF;  // colour of every pixel before a run

// Starts a new run: an unpainted screen of the given size, the cursor at its
// centre, no objects but the DC's defaults, nothing recorded.
void Reset(const Options& options = {});

const std::vector<Call>& Calls();

// One call as a line of text: "SelectObject dc pen1 -> pen0".
std::string Format(const Call& call);

// Misuse seen so far, and what is still held now (objects alive, the DC
// not released), one sentence each; empty after a clean run.
std::vector<std::string> Problems();

int ScreenWidth();
int ScreenHeight();
COLORREF PixelAt(int x, int y);
Point Cursor();

// Called at every Sleep, after it is recorded: lets a viewer take a frame
// at the end of each cycle. Reset clears it.
void OnSleep(std::function<void()> observer);

}  // namespace standin
