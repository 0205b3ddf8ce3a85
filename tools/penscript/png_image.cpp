#include "tools/penscript/png_image.h"

#include "platform/standin/standin.h"

#include <png.h>

#include <stdexcept>
#include <vector>

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

[[noreturn]] void Fail(png_structp, png_const_charp message) { throw std::runtime_error(message); }

}  // namespace

std::string EncodeScreenPng() {
    const int width = standin::ScreenWidth(), height = standin::ScreenHeight();
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, nullptr);
    png_infop info = png_create_info_struct(png);
    try {
        png_set_write_fn(png, &bytes, Append, nullptr);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const COLORREF c = standin::PixelAt(x, y);  // 0x00BBGGRR
                row[3 * x] = c & 0xFF;
                row[3 * x + 1] = (c >> 8) & 0xFF;
                row[3 * x + 2] = (c >> 16) & 0xFF;
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
    } catch (...) {
        png_destroy_write_struct(&png, &info);
        throw;
    }
    png_destroy_write_struct(&png, &info);
    return bytes;
}
