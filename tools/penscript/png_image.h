// The stand-in screen as a PNG file's bytes (8-bit RGB).
#pragma once

#include <string>

std::string EncodeScreenPng();
