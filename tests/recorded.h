// Reading back what a run left on the stand-in layer, in forms tests compare.
#pragma once

#include "platform/standin/standin.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

// Every recorded call as a trace line.
inline std::vector<std::string> CallLines() {
    std::vector<std::string> lines;
    for (const standin::Call& call : standin::Calls()) lines.push_back(standin::Format(call));
    return lines;
}

// The recorded calls of one function, as trace lines.
inline std::vector<std::string> CallLines(standin::Function function) {
    std::vector<std::string> lines;
    for (const standin::Call& call : standin::Calls())
        if (call.function == function) lines.push_back(standin::Format(call));
    return lines;
}

// The top-left corners of the boxes of the Ellipse calls, in order.
inline std::vector<standin::Point> StampedCorners() {
    std::vector<standin::Point> corners;
    for (const standin::Call& call : standin::Calls())
        if (call.function == standin::Function::Ellipse)
            corners.push_back({static_cast<int>(call.arguments[1].number), static_cast<int>(call.arguments[2].number)});
    return corners;
}

// The pixels of a screen area as rows of characters: '.' for the ground,
// the given character for each listed colour, '?' for any other.
inline std::string PixelMask(int left, int top, int width, int height,
                             std::initializer_list<std::pair<COLORREF, char>> legend) {
    std::string mask;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            const COLORREF c = standin::PixelAt(x, y);
            char shown = c == standin::Ground ? '.' : '?';
            for (const auto& [colour, character] : legend)
                if (c == colour) shown = character;
            mask += shown;
        }
        mask += '\n';
    }
    return mask;
}
