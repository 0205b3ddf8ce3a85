// penscript compose: a sketch in, rows out.
#include <iostream>
#include <string_view>

#include "tools/penscript/command_line.h"
#include "tools/penscript/commands.h"
#include "tools/penscript/compose.h"
#include "tools/penscript/drawing_file.h"

namespace {

constexpr const char* ComposeUsage = "usage: penscript compose SKETCH [--steps HISTOGRAM] -o ROWS\n";

void Report(const std::string& file, int line, const std::string& message) {
    std::cerr << file;
    if (line > 0) std::cerr << ':' << line;
    std::cerr << ": " << message << '\n';
}

}  // namespace

int RunCompose(int argc, char** argv) {
    std::string sketchFile, output, steps;
    bool haveSteps = false, usageOk = true;
    for (int i = 0; i < argc && usageOk; ++i) {
        const std::string_view word = argv[i];
        const bool hasValue = i + 1 < argc;
        if (word == "-o" && hasValue && output.empty()) {
            output = argv[++i];
        } else if (word == "--steps" && hasValue && !haveSteps) {
            steps = argv[++i];
            haveSteps = true;
        } else if (!word.empty() && word[0] != '-' && sketchFile.empty()) {
            sketchFile = word;
        } else {
            usageOk = false;
        }
    }
    if (!usageOk || sketchFile.empty() || output.empty()) {
        std::cerr << ComposeUsage;
        return BadInput;
    }

    std::optional<penscript::StepHistogram> target;
    if (haveSteps) {
        auto parsed = penscript::ParseStepHistogram(steps);
        if (auto* problem = std::get_if<std::string>(&parsed)) {
            std::cerr << "penscript compose: --steps: " << *problem << '\n';
            return BadInput;
        }
        target = std::get<penscript::StepHistogram>(parsed);
    }
    const std::optional<std::string> text = ReadFile(sketchFile);
    if (!text) return BadInput;
    auto sketch = penscript::ParseSketch(*text);
    if (auto* error = std::get_if<penscript::SketchError>(&sketch)) {
        Report(sketchFile, error->line, error->message);
        return BadInput;
    }
    auto composed = penscript::Compose(std::get<penscript::Sketch>(sketch), target);
    if (auto* error = std::get_if<penscript::ComposeError>(&composed)) {
        Report(sketchFile, error->line, error->message);
        return BadInput;
    }
    const auto& rows = std::get<penscript::Composition>(composed).rows;
    return WriteWholeFile(output, penscript::FormatRows(rows, sketchFile)) ? 0 : 1;
}
