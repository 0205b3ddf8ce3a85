// What penscript's playing commands share: their arguments, playing a
// drawing on the stand-in screen, and writing an output file whole.
#pragma once

#include "platform/standin/standin.h"
#include "script/drawing_script.h"

#include <optional>
#include <string>

struct Invocation {
    std::string file;         // the drawing; empty for the built-in one
    standin::Options screen;  // --screen WxH, --null-dc
    std::string output;       // -o OUT
};

// Options a command takes besides [FILE].
enum Accepts : unsigned {
    AcceptsScreen = 1,  // --screen WxH
    AcceptsNullDC = 2,  // --null-dc
    NeedsOutput = 4,    // -o OUT, required
};

inline constexpr int MaxScreenSide = 8192;  // pixels, either way

// The command's arguments (the words after its name), or nullopt after
// printing "usage: ..." to standard error.
std::optional<Invocation> ParseInvocation(int argc, char** argv, unsigned accepts, const char* usage);

// Plays a drawing through the real driver on a fresh stand-in screen.
void PlayOnStandin(const DrawingScript& script, const standin::Options& screen);

// Writes `bytes` to `path` through a temporary file beside it, so that no
// half-written file is ever left; false (and a message) if it cannot.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
