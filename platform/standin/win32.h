// The few Windows types, constants and calls that penplay uses, declared as the
// program expects them, for host builds. The stand-in layer (standin.h) defines
// the calls.
#pragma once

#ifdef _WIN32
#error "the stand-in platform layer is for host builds; Windows builds use <windows.h>"
#endif

#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using DWORD = std::uint32_t;
using COLORREF = DWORD;  // 0x00BBGGRR

using HWND = struct HWND__*;
using HDC = struct HDC__*;
using HGDIOBJ = void*;
using HPEN = struct HPEN__*;
using HBRUSH = struct HBRUSH__*;

constexpr int PS_SOLID = 0;
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
int GetSystemMetrics(int index);
BOOL SetCursorPos(int x, int y);
HPEN CreatePen(int style, int width, COLORREF colour);
HBRUSH CreateSolidBrush(COLORREF colour);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
void Sleep(DWORD milliseconds);
