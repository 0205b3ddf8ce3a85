// The Windows program: plays its own drawing once and exits with code 0.
#include "playback/playback.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    PlayDrawing(BuiltinDrawing);
    return 0;
}
