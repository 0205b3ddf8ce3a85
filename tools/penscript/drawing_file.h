// Loading the drawing a penscript command plays: a rows file, or the
// built-in drawing when no file is named.
#pragma once

#include "script/rows_text.h"

#include <memory>
#include <optional>
#include <string>

// Exit status for bad input and bad usage alike.
inline constexpr int BadInput = 2;

// "what is wrong" for a rows error, without file and line.
std::string DescribeRowsError(const RowsError& error);

// The drawing in `path`, or the built-in one for an empty path. On bad input
// prints "FILE:LINE: what is wrong" (or "FILE: what is wrong") to standard
// error and returns null.
std::unique_ptr<DrawingScript> LoadDrawing(const std::string& path);

// Reads a whole file; nullopt (and a message on standard error) if it cannot.
std::optional<std::string> ReadFile(const std::string& path);
