// The seam between the program and the system it paints on. Cross-built for
// Windows, the program calls Windows itself; in host builds (unit tests and
// penscript) the same names come from the stand-in layer, which records every
// call and paints into a screen in memory.
#pragma once

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#else
#include "platform/standin/win32.h"
#endif
