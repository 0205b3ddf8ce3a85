// penscript render: the screen after a run, as PNG.
#include "tools/penscript/command_line.h"
#include "tools/penscript/commands.h"
#include "tools/penscript/drawing_file.h"
#include "tools/penscript/png_image.h"

int RunRender(int argc, char** argv) {
    const auto invocation =
        ParseInvocation(argc, argv, AcceptsScreen | NeedsOutput, "penscript render [FILE] [--screen WxH] -o OUT.png");
    if (!invocation) return BadInput;
    const auto script = LoadDrawing(invocation->file);
    if (!script) return BadInput;
    PlayOnStandin(*script, invocation->screen);
    return WriteWholeFile(invocation->output, EncodeScreenPng()) ? 0 : 1;
}
