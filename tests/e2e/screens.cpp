// Screenshots of penplay's runs: converts an X screen dump (xwd -root) to PNG,
// and compares one with the screen penscript renders.
//
//   screens to-png SCREEN.xwd OUT.png
//   screens compare SCREEN.xwd REFERENCE.png [DIFF.png]
//
// Wine draws ellipses with X arcs, which differ from GDI's by about a pixel at
// the rim, so the comparison allows for that and nothing else: every pixel
// the reference paints at least `rim` pixels inside its painted area must be
// painted in the same colour, every painted pixel must lie within `rim`
// pixels of the reference's painted area, and the rest must be the ground.
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int rim = 2;
constexpr std::uint32_t ground = 0xFFFFFF;  // the white root window

struct Screen {
    int width = 0, height = 0;
    std::vector<std::uint32_t> rgb;  // 0xRRGGBB, row by row
    std::uint32_t at(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "screens: %s\n", message.c_str());
    std::exit(2);
}

std::uint32_t big_endian(const std::vector<unsigned char>& data, std::size_t offset) {
    return std::uint32_t{data[offset]} << 24 | std::uint32_t{data[offset + 1]} << 16 |
           std::uint32_t{data[offset + 2]} << 8 | data[offset + 3];
}

int mask_shift(std::uint32_t mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// A 24- or 32-bit TrueColor ZPixmap dump, as xwd writes one.
Screen read_xwd(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> data{std::istreambuf_iterator<char>(file), {}};
    if (data.size() < 100) fail(path + ": not an X window dump");
    auto field = [&](int index) { return big_endian(data, 4 * index); };
    const std::uint32_t header_size = field(0), format = field(2), byte_order = field(7),
                        bits_per_pixel = field(11), bytes_per_line = field(12), colours = field(19);
    const std::uint32_t masks[3] = {field(14), field(15), field(16)};
    if (field(1) != 7 || format != 2 || (bits_per_pixel != 32 && bits_per_pixel != 24))
        fail(path + ": only 24- or 32-bit ZPixmap dumps are read");
    Screen screen{static_cast<int>(field(4)), static_cast<int>(field(5)), {}};
    const std::size_t pixels = header_size + 12ull * colours, step = bits_per_pixel / 8;
    if (data.size() < pixels + std::size_t{bytes_per_line} * screen.height) fail(path + ": truncated");
    screen.rgb.resize(static_cast<std::size_t>(screen.width) * screen.height);
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            const unsigned char* p = &data[pixels + std::size_t{bytes_per_line} * y + step * x];
            std::uint32_t value = 0;
            for (std::size_t i = 0; i < step; ++i)
                value |= std::uint32_t{p[byte_order == 0 ? i : step - 1 - i]} << (8 * i);
            std::uint32_t rgb = 0;
            for (int c = 0; c < 3; ++c) rgb = rgb << 8 | ((value & masks[c]) >> mask_shift(masks[c]) & 0xFF);
            screen.rgb[static_cast<std::size_t>(y) * screen.width + x] = rgb;
        }
    }
    return screen;
}

Screen read_png(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) fail(path + ": " + image.message);
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> bytes(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) fail(path + ": " + image.message);
    Screen screen{static_cast<int>(image.width), static_cast<int>(image.height), {}};
    for (std::size_t i = 0; i < bytes.size(); i += 3)
        screen.rgb.push_back(std::uint32_t{bytes[i]} << 16 | std::uint32_t{bytes[i + 1]} << 8 | bytes[i + 2]);
    return screen;
}

void write_png(const Screen& screen, const std::string& path) {
    std::vector<unsigned char> bytes;
    for (std::uint32_t rgb : screen.rgb)
        bytes.insert(bytes.end(), {static_cast<unsigned char>(rgb >> 16), static_cast<unsigned char>(rgb >> 8),
                                   static_cast<unsigned char>(rgb)});
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = screen.width;
    image.height = screen.height;
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path.c_str(), 0, bytes.data(), 0, nullptr))
        fail(path + ": " + image.message);
}

// Whether any pixel within `rim` of (x, y) (a disc) satisfies `test`; pixels
// off the screen count as `off_screen`.
template <typename Test>
bool any_near(const Screen& screen, int x, int y, bool off_screen, Test test) {
    for (int dy = -rim; dy <= rim; ++dy) {
        for (int dx = -rim; dx <= rim; ++dx) {
            if (dx * dx + dy * dy > rim * rim) continue;
            const int nx = x + dx, ny = y + dy;
            const bool inside = nx >= 0 && ny >= 0 && nx < screen.width && ny < screen.height;
            if (inside ? test(screen.at(nx, ny)) : off_screen) return true;
        }
    }
    return false;
}

struct Finding {
    const char* what;
    long count = 0;
    std::string first;
    void add(int x, int y, std::uint32_t got, std::uint32_t want) {
        if (++count <= 5) {
            char text[64];
            std::snprintf(text, sizeof text, " (%d,%d) %06X not %06X", x, y, got, want);
            first += text;
        }
    }
};

int compare(const Screen& actual, const Screen& reference, const char* diff_path) {
    if (actual.width != reference.width || actual.height != reference.height)
        fail("the screen is " + std::to_string(actual.width) + "x" + std::to_string(actual.height) +
             ", the reference " + std::to_string(reference.width) + "x" + std::to_string(reference.height));
    Finding missing{"inner pixels of the reference's dots not painted", 0, {}};
    Finding stray{"painted pixels farther than the rim from the reference's dots", 0, {}};
    Screen diff = reference;
    long painted = 0, reference_painted = 0;
    auto is_ground = [](std::uint32_t rgb) { return rgb == ground; };
    auto is_painted = [](std::uint32_t rgb) { return rgb != ground; };
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            const std::uint32_t got = actual.at(x, y), want = reference.at(x, y);
            painted += got != ground;
            reference_painted += want != ground;
            diff.rgb[static_cast<std::size_t>(y) * diff.width + x] = want == ground ? ground : 0xC0C0C0;
            if (want != ground && got != want && !any_near(reference, x, y, false, is_ground)) {
                missing.add(x, y, got, want);
                diff.rgb[static_cast<std::size_t>(y) * diff.width + x] = 0xFF0000;
            } else if (got != ground && !any_near(reference, x, y, false, is_painted)) {
                stray.add(x, y, got, ground);
                diff.rgb[static_cast<std::size_t>(y) * diff.width + x] = 0x0000FF;
            }
        }
    }
    std::printf("screens: %ld pixels painted, %ld in the reference\n", painted, reference_painted);
    if (!missing.count && !stray.count) {
        std::printf("screens: the screen matches the reference within %d pixels at the dots' rims\n", rim);
        return 0;
    }
    for (const Finding& finding : {missing, stray})
        if (finding.count) std::printf("screens: %ld %s, first:%s\n", finding.count, finding.what, finding.first.c_str());
    if (diff_path) {
        write_png(diff, diff_path);
        std::printf("screens: differences drawn in %s (red: missing, blue: stray, grey: the reference)\n", diff_path);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "to-png" && argc == 4) {
        write_png(read_xwd(argv[2]), argv[3]);
        return 0;
    }
    if (command == "compare" && (argc == 4 || argc == 5))
        return compare(read_xwd(argv[2]), read_png(argv[3]), argc == 5 ? argv[4] : nullptr);
    std::fprintf(stderr, "usage: screens to-png SCREEN.xwd OUT.png\n"
                         "       screens compare SCREEN.xwd REFERENCE.png [DIFF.png]\n");
    return 2;
}
