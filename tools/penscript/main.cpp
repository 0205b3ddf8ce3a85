// penscript: makes and checks penplay drawings by playing them through the
// program's own driver on the stand-in screen.
#include "tools/penscript/commands.h"
#include "tools/penscript/drawing_file.h"

#include <iostream>
#include <string_view>

namespace {

constexpr const char* Usage =
    "usage: penscript COMMAND ...\n"
    "  check   [FILE]                                 validate a drawing and print its facts\n"
    "  trace   [FILE] [--screen WxH] [--null-dc]      print every platform call of its run\n"
    "  render  [FILE] [--screen WxH] -o OUT.png       the screen after the run\n"
    "  animate [FILE] -o OUT.gif                      the run as an animated GIF\n"
    "  compose SKETCH [--steps HISTOGRAM] -o ROWS     turn a sketch into rows\n"
    "FILE is a drawing in rows form; without it, the built-in drawing.\n";

struct Command {
    std::string_view name;
    int (*run)(int argc, char** argv);
};
constexpr Command Commands[] = {
    {"check", RunCheck}, {"trace", RunTrace}, {"render", RunRender}, {"animate", RunAnimate}, {"compose", RunCompose},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2) {
        for (const Command& command : Commands)
            if (command.name == argv[1]) return command.run(argc - 2, argv + 2);
        if (std::string_view(argv[1]) == "--help") {
            std::cout << Usage;
            return 0;
        }
        std::cerr << "penscript: unknown command " << argv[1] << '\n';
    }
    std::cerr << Usage;
    return BadInput;
}
