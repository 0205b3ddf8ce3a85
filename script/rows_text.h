// A drawing in text form, as people write and tools exchange it: one row per
// line, four integers `x y colour size` separated by blanks or tabs, rows in
// order from row 1; `#` starts a comment to the end of the line; blank lines
// and CRLF line ends are fine. The rows given are the played rows; the rest up
// to StrokeCapacity are filler rows.
//
// The reader is constexpr so that the build turns the committed drawing into
// the program's constant tables, refusing a bad one at compile time; host
// tools call the same reader at run time.
#pragma once

#include "script/drawing_script.h"

#include <cstdint>
#include <string_view>

enum class RowsProblem : std::uint8_t {
    None,
    FieldCount,    // a row without exactly four words
    NotAnInteger,  // a word that is no decimal integer
    OutOfRange,    // an integer outside its field's range
    TooManyRows,   // more than StrokeCapacity rows
    NoRows,        // nothing to play
};

// RowsField: the four fields of a row and the range of each.
struct RowsField {
    const char* name;
    std::int32_t min;
    std::int32_t max;
};
inline constexpr RowsField RowsFields[] = {
    {"x", -32768, 32767},  // frame pixels, signed 16-bit
    {"y", -32768, 32767},  // frame pixels, signed 16-bit
    {"colour", 0, PaletteSize - 1},  // palette index
    {"size", 0, 255},      // size code
};
inline constexpr int RowsFieldCount = 4;

struct RowsError {
    RowsProblem problem = RowsProblem::None;
    int line = 0;            // 1-based line of the text
    int field = 0;           // index into RowsFields (NotAnInteger, OutOfRange)
    int words = 0;           // words found on the line (FieldCount)
    std::string_view word;   // the offending word (NotAnInteger, OutOfRange)
};

struct ParsedRows {
    DrawingScript script;
    RowsError error;  // problem None when the text is a drawing
};

namespace rows_text_detail {

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The value of a decimal integer word, or false. Magnitudes past 10^10 stop
// growing: they are out of every field's range already.
constexpr bool ReadInteger(std::string_view word, std::int64_t& value) {
    std::size_t at = 0;
    const bool negative = word[0] == '-';
    if (word[0] == '-' || word[0] == '+') at = 1;
    if (at == word.size()) return false;
    std::int64_t magnitude = 0;
    for (; at < word.size(); ++at) {
        if (word[at] < '0' || word[at] > '9') return false;
        if (magnitude < 10'000'000'000) magnitude = magnitude * 10 + (word[at] - '0');
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace rows_text_detail

constexpr ParsedRows ParseRows(std::string_view text) {
    using namespace rows_text_detail;
    ParsedRows parsed{};
    DrawingScript& script = parsed.script;
    std::int32_t rows = 0;
    int line = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        ++line;
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view content = text.substr(start, end - start);
        start = end + 1;
        if (const std::size_t hash = content.find('#'); hash != std::string_view::npos) content = content.substr(0, hash);

        std::string_view words[RowsFieldCount];
        int count = 0;
        for (std::size_t at = 0; at < content.size();) {
            if (IsBlank(content[at])) {
                ++at;
                continue;
            }
            std::size_t stop = at;
            while (stop < content.size() && !IsBlank(content[stop])) ++stop;
            if (count < RowsFieldCount) words[count] = content.substr(at, stop - at);
            ++count;
            at = stop;
        }
        if (count == 0) continue;
        if (count != RowsFieldCount) {
            parsed.error = {RowsProblem::FieldCount, line, 0, count, {}};
            return parsed;
        }
        std::int64_t values[RowsFieldCount] = {};
        for (int field = 0; field < RowsFieldCount; ++field) {
            if (!ReadInteger(words[field], values[field])) {
                parsed.error = {RowsProblem::NotAnInteger, line, field, count, words[field]};
                return parsed;
            }
            if (values[field] < RowsFields[field].min || values[field] > RowsFields[field].max) {
                parsed.error = {RowsProblem::OutOfRange, line, field, count, words[field]};
                return parsed;
            }
        }
        if (rows == StrokeCapacity) {
            parsed.error = {RowsProblem::TooManyRows, line, 0, count, {}};
            return parsed;
        }
        ++rows;
        script.StrokePoints[rows] = {static_cast<std::int16_t>(values[0]), static_cast<std::int16_t>(values[1])};
        script.StrokeColors[rows] = static_cast<BYTE>(values[2]);
        script.StrokeSizes[rows] = static_cast<BYTE>(values[3]);
    }
    if (rows == 0) {
        parsed.error = {RowsProblem::NoRows, line > 0 ? line : 1, 0, 0, {}};
        return parsed;
    }
    script.StrokeCount = rows;
    for (std::int32_t row = rows + 1; row <= StrokeCapacity; ++row) {
        script.StrokePoints[row] = FillerPoint;
        script.StrokeColors[row] = FillerColor;
        script.StrokeSizes[row] = FillerSize;
    }
    return parsed;
}
