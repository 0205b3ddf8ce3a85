// penplay's own drawing, turned into constant tables at compile time from the
// committed rows file (the build wraps its text in builtin_rows.inc).
#include "script/rows_text.h"

namespace {

constexpr std::string_view BuiltinRows =
#include "builtin_rows.inc"
    ;

constexpr ParsedRows Builtin = ParseRows(BuiltinRows);
static_assert(Builtin.error.problem == RowsProblem::None,
              "the built-in drawing does not read as rows: run `penscript check` on it to see where");

// Nothing tests a colour index when a row is painted, so the tables must
// hold valid ones only, whatever made them.
constexpr bool ColorsInPalette(const DrawingScript& script) {
    for (std::int32_t row = 1; row <= StrokeCapacity; ++row)
        if (script.StrokeColors[row] >= PaletteSize) return false;
    return true;
}
static_assert(ColorsInPalette(Builtin.script), "the built-in drawing uses a colour index outside 0 to 27");

}  // namespace

constexpr DrawingScript BuiltinDrawing = Builtin.script;
