// penscript trace: every platform call of a run, one per line.
#include "tools/penscript/command_line.h"
#include "tools/penscript/commands.h"
#include "tools/penscript/drawing_file.h"

#include <cstdio>

int RunTrace(int argc, char** argv) {
    const auto invocation =
        ParseInvocation(argc, argv, AcceptsScreen | AcceptsNullDC, "penscript trace [FILE] [--screen WxH] [--null-dc]");
    if (!invocation) return BadInput;
    const auto script = LoadDrawing(invocation->file);
    if (!script) return BadInput;
    PlayOnStandin(*script, invocation->screen);
    for (const standin::Call& call : standin::Calls()) {
        const std::string line = standin::Format(call);
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
