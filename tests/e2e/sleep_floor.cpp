// The pace benchmark's floor: makes only penplay's pauses, Sleep(2) as many
// times as its command line says, so that Wine's own cost of them can be
// measured apart from the drawing.
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
    const long pauses = std::strtol(command_line, nullptr, 10);
    for (long i = 0; i < pauses; ++i) Sleep(2);
    return pauses > 0 ? 0 : 2;
}
