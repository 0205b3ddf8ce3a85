// Checks the built application icon: one 32x32 16-colour image laid out as
// Windows reads it, and a few pixels that carry the picture.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Rgb {
  int r, g, b;
};

// The icon file's bytes with little-endian reads; reads past the end throw.
class IconFile {
 public:
  explicit IconFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), {});
  }
  bool empty() const { return bytes_.empty(); }
  std::size_t size() const { return bytes_.size(); }
  std::uint32_t u8(std::size_t at) const { return bytes_.at(at); }
  std::uint32_t u16(std::size_t at) const { return u8(at) | u8(at + 1) << 8; }
  std::uint32_t u32(std::size_t at) const { return u16(at) | u16(at + 2) << 16; }

  // The one image's BITMAPINFOHEADER, as the directory entry places it.
  std::size_t image() const { return u32(18); }

  // The colour of pixel (x, y), counted from the top-left; the 4-bit rows
  // are stored bottom-up, each padded to 4 bytes.
  Rgb pixel(int x, int y) const {
    const std::size_t header = image();
    const int width = static_cast<int>(u32(header + 4));
    const int height = static_cast<int>(u32(header + 8)) / 2;
    const std::size_t row_bytes = (width * 4 + 31) / 32 * 4;
    const std::size_t palette = header + u32(header);
    const std::size_t xor_bits = palette + 16 * 4;
    const std::uint32_t pair = u8(xor_bits + (height - 1 - y) * row_bytes + x / 2);
    const std::uint32_t index = x % 2 == 0 ? pair >> 4 : pair & 0x0F;
    const std::size_t quad = palette + 4 * index;  // blue, green, red, reserved
    return {static_cast<int>(u8(quad + 2)), static_cast<int>(u8(quad + 1)),
            static_cast<int>(u8(quad))};
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Names the kind of colour the picture needs at a point, with room for shading.
std::string colour_class(Rgb c) {
  if (c.r == 0 && c.g == 0 && c.b == 0) return "black";
  if (c.r >= 0x80 && 2 * c.g < c.r && 2 * c.b < c.r) return "red";
  if (c.g >= c.r + 0x20 && c.g >= c.b + 0x20) return "green";
  if (c.r >= 0xC0 && c.g >= 0x80 && c.b < 0x60) return "gold";
  return "other";
}

class IconTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(icon.empty()) << "cannot read " << PENPLAY_ICON; }
  IconFile icon{PENPLAY_ICON};
};

TEST_F(IconTest, DirectoryHoldsOneIcon) {
  EXPECT_EQ(icon.u16(0), 0u) << "reserved";
  EXPECT_EQ(icon.u16(2), 1u) << "type";
  EXPECT_EQ(icon.u16(4), 1u) << "image count";
}

TEST_F(IconTest, EntryDescribesOne32By32SixteenColourImage) {
  EXPECT_EQ(icon.u8(6), 32u) << "width";
  EXPECT_EQ(icon.u8(7), 32u) << "height";
  EXPECT_EQ(icon.u8(8), 16u) << "colour count";
  EXPECT_EQ(icon.u16(10), 1u) << "planes";
  EXPECT_EQ(icon.u16(12), 4u) << "bits per pixel";
  EXPECT_EQ(icon.image() + icon.u32(14), icon.size()) << "image offset plus size ends the file";
}

TEST_F(IconTest, BitmapHeaderHoldsColourBitsAndMask) {
  const std::size_t header = icon.image();
  EXPECT_EQ(icon.u32(header), 40u) << "header size";
  EXPECT_EQ(icon.u32(header + 4), 32u) << "width";
  EXPECT_EQ(icon.u32(header + 8), 64u) << "height, colour bits and mask together";
  EXPECT_EQ(icon.u16(header + 14), 4u) << "bits per pixel";
  EXPECT_EQ(icon.u32(header + 32), 16u) << "colours used";
}

TEST_F(IconTest, MaskLeavesEveryPixelOpaque) {
  // 32 rows of 32 one-bit pixels, each row exactly 4 bytes; the mask ends the image.
  const std::size_t mask_bytes = 32 * 4;
  for (std::size_t at = icon.size() - mask_bytes; at < icon.size(); ++at) {
    EXPECT_EQ(icon.u8(at), 0u) << "mask byte at file offset " << at;
  }
}

struct PixelCase {
  const char* name;
  int x, y;  // from the top-left
  const char* expected;
};

TEST_F(IconTest, PixelsCarryThePicture) {
  const PixelCase cases[] = {
      {"top-left corner", 0, 0, "black"},
      {"top-right corner", 31, 0, "black"},
      {"bottom-left corner", 0, 31, "black"},
      {"bottom-right corner", 31, 31, "black"},
      {"ground between branch and bauble", 4, 14, "black"},
      {"bauble centre", 16, 22, "red"},
      {"bauble left of centre", 12, 23, "red"},
      {"needle tip above the twig", 12, 1, "green"},
      {"dark needle below the twig", 6, 6, "green"},
      {"needle at the right end", 31, 1, "green"},
      {"cap on the bauble", 16, 13, "gold"},
  };
  for (const PixelCase& c : cases) {
    const Rgb colour = icon.pixel(c.x, c.y);
    EXPECT_EQ(colour_class(colour), c.expected)
        << c.name << " at (" << c.x << ", " << c.y << ") has red " << colour.r << ", green "
        << colour.g << ", blue " << colour.b;
  }
}

}  // namespace
