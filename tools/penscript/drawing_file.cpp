#include "tools/penscript/drawing_file.h"

#include <cerrno>
#include <cstring>
#include <cstdio>
#include <iostream>

std::string DescribeRowsError(const RowsError& error) {
    const RowsField& field = RowsFields[error.field];
    const std::string word(error.word);
    switch (error.problem) {
    case RowsProblem::None: return "no problem";
    case RowsProblem::FieldCount:
        return "expected 4 integers (x y colour size), found " + std::to_string(error.words) + " words";
    case RowsProblem::NotAnInteger: return std::string(field.name) + " '" + word + "' is not an integer";
    case RowsProblem::OutOfRange:
        return std::string(field.name) + " " + word + " is outside " + std::to_string(field.min) + " to " +
               std::to_string(field.max);
    case RowsProblem::TooManyRows: return "more than " + std::to_string(StrokeCapacity) + " rows";
    case RowsProblem::NoRows: return "no rows to play";
    }
    return "unknown problem";
}

std::optional<std::string> ReadFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::string text;
    if (file) {
        char chunk[65536];
        std::size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
        const int failure = std::ferror(file) ? errno : 0;
        std::fclose(file);
        if (failure == 0) return text;
        errno = failure;
    }
    std::cerr << path << ": cannot read: " << std::strerror(errno) << '\n';
    return std::nullopt;
}

std::unique_ptr<DrawingScript> LoadDrawing(const std::string& path) {
    if (path.empty()) return std::make_unique<DrawingScript>(BuiltinDrawing);
    const std::optional<std::string> text = ReadFile(path);
    if (!text) return nullptr;
    auto parsed = std::make_unique<ParsedRows>(ParseRows(*text));
    if (parsed->error.problem != RowsProblem::None) {
        std::cerr << path << ':' << parsed->error.line << ": " << DescribeRowsError(parsed->error) << '\n';
        return nullptr;
    }
    return std::make_unique<DrawingScript>(parsed->script);
}
