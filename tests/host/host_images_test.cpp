// The picture codecs: round trips through every format, the BMP variants the
// reader converts, damaged and oversized files refused, and our own PNG codec
// against libpng.
#include <gtest/gtest.h>
#include <zlib.h>

#include "../support/temp_dir.h"
#include "vfhost/images.h"

namespace {

using vfhost::RgbaImage;

// A picture whose every byte differs from its neighbours, so that swapped
// channels, flipped rows or lost padding show.
RgbaImage Pattern(int32_t width, int32_t height, bool alpha) {
  RgbaImage image;
  image.width = width;
  image.height = height;
  image.hasAlpha = alpha;
  image.rgba.resize(static_cast<size_t>(width) * height * 4);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* p = &image.rgba[(static_cast<size_t>(y) * width + x) * 4];
      p[0] = static_cast<uint8_t>(x * 37 + y * 11);
      p[1] = static_cast<uint8_t>(x * 5 + y * 71 + 3);
      p[2] = static_cast<uint8_t>(x * 101 + y * 13 + 7);
      p[3] = alpha ? static_cast<uint8_t>(255 - x * 9 - y) : 255;
    }
  return image;
}

void PutLe32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A 32-bit BMP with a 40-byte header: top-down when height < 0.
std::vector<uint8_t> Bmp32(const RgbaImage& image, bool topDown) {
  const size_t pixels = static_cast<size_t>(image.width) * image.height * 4;
  std::vector<uint8_t> bytes(54 + pixels, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  PutLe32(bytes, 2, static_cast<uint32_t>(bytes.size()));
  PutLe32(bytes, 10, 54);
  PutLe32(bytes, 14, 40);
  PutLe32(bytes, 18, static_cast<uint32_t>(image.width));
  PutLe32(bytes, 22, static_cast<uint32_t>(topDown ? -image.height : image.height));
  bytes[26] = 1;
  bytes[28] = 32;
  for (int32_t row = 0; row < image.height; ++row) {
    const int32_t fileRow = topDown ? row : image.height - 1 - row;
    for (int32_t x = 0; x < image.width; ++x) {
      const uint8_t* p = &image.rgba[(static_cast<size_t>(row) * image.width + x) * 4];
      uint8_t* q = &bytes[54 + (static_cast<size_t>(fileRow) * image.width + x) * 4];
      q[0] = p[2];
      q[1] = p[1];
      q[2] = p[0];
      q[3] = 0x55;  // the unused byte of a plain 32-bit BMP
    }
  }
  return bytes;
}

void ExpectSamePixels(const RgbaImage& actual, const RgbaImage& expected) {
  ASSERT_EQ(actual.width, expected.width);
  ASSERT_EQ(actual.height, expected.height);
  EXPECT_EQ(actual.hasAlpha, expected.hasAlpha);
  EXPECT_EQ(actual.rgba, expected.rgba);
}

class ImageFiles : public testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir_.path() + name; }
  vftest::TempDir dir_;
};

// Widths 1 to 4 give every BMP row padding (3, 2, 1, 0 bytes).
TEST_F(ImageFiles, RoundTripsKeepEveryPixel) {
  struct Case {
    const char* file;
    bool alpha;
  };
  for (const Case& c : {Case{"a.bmp", false}, Case{"a.png", false}, Case{"a.png", true}}) {
    for (int32_t width = 1; width <= 4; ++width) {
      SCOPED_TRACE(std::string(c.file) + (c.alpha ? " with alpha" : "") + ", width " + std::to_string(width));
      const RgbaImage original = Pattern(width, 3, c.alpha);
      std::string error;
      ASSERT_TRUE(vfhost::WriteImageFile(Path(c.file), original, error)) << error;
      RgbaImage read;
      ASSERT_TRUE(vfhost::ReadImageFile(Path(c.file), read, error)) << error;
      ExpectSamePixels(read, original);
    }
  }
}

TEST_F(ImageFiles, ThirtyTwoBitBmpsAreReadBothWaysUp) {
  const RgbaImage original = Pattern(3, 4, false);
  for (bool topDown : {false, true}) {
    SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
    vftest::WriteFileBytes(Path("b.bmp"), Bmp32(original, topDown));
    RgbaImage read;
    std::string error;
    ASSERT_TRUE(vfhost::ReadImageFile(Path("b.bmp"), read, error)) << error;
    ExpectSamePixels(read, original);
  }
}

TEST(BmpDecoder, RefusesDamagedAndUnsupportedFiles) {
  const std::vector<uint8_t> good = vfhost::EncodeBmp(Pattern(5, 4, false));
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"cut in the pixels", std::vector<uint8_t>(good.begin(), good.end() - 1)});
  cases.push_back({"cut in the header", std::vector<uint8_t>(good.begin(), good.begin() + 30)});
  std::vector<uint8_t> offset = good;
  PutLe32(offset, 10, static_cast<uint32_t>(good.size()));  // pixels start at the end of the file
  cases.push_back({"pixel offset beyond the pixels", offset});
  std::vector<uint8_t> tall = good;
  PutLe32(tall, 22, 1000);
  cases.push_back({"height far beyond the file", tall});
  std::vector<uint8_t> wide = good;
  PutLe32(wide, 18, 0x40000000);
  PutLe32(wide, 22, 0x40000000);
  cases.push_back({"more pixels than the limit", wide});
  std::vector<uint8_t> eightBit = good;
  eightBit[28] = 8;
  cases.push_back({"8 bits per pixel", eightBit});
  std::vector<uint8_t> compressed = good;
  PutLe32(compressed, 30, 1);
  cases.push_back({"run-length compressed", compressed});
  std::vector<uint8_t> empty = good;
  PutLe32(empty, 18, 0);
  cases.push_back({"no columns", empty});
  cases.push_back({"not a BMP", std::vector<uint8_t>(good.size(), 'x')});
  for (const Case& c : cases) {
    RgbaImage image;
    std::string error;
    EXPECT_FALSE(vfhost::DecodeBmp(c.bytes, image, error)) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
  }
}

TEST(PgmCodec, ReadsCommentsAndScalesSmallMaximumValues) {
  const std::string text = "P5\n# a comment\n3 1\n# another\n15\n";
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.insert(bytes.end(), {0, 15, 7});
  int32_t width = 0, height = 0;
  std::vector<uint8_t> plane;
  std::string error;
  ASSERT_TRUE(vfhost::DecodePgm(bytes, width, height, plane, error)) << error;
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 1);
  EXPECT_EQ(plane, (std::vector<uint8_t>{0, 255, 119}));

  const std::vector<uint8_t> samples = {0, 1, 128, 254, 255, 9};
  const std::vector<uint8_t> encoded = vfhost::EncodePgm(3, 2, samples);
  ASSERT_TRUE(vfhost::DecodePgm(encoded, width, height, plane, error)) << error;
  EXPECT_EQ(plane, samples);
  EXPECT_FALSE(vfhost::DecodePgm(std::vector<uint8_t>(encoded.begin(), encoded.end() - 1), width, height,
                                 plane, error));
  const std::string sixteenBit = "P5 1 1 65535\n";
  EXPECT_FALSE(vfhost::DecodePgm(std::vector<uint8_t>(sixteenBit.begin(), sixteenBit.end()), width, height,
                                 plane, error));
}

TEST_F(ImageFiles, PlanesRoundTripAsPgmAndGreyPng) {
  const std::vector<uint8_t> plane = {0, 17, 34, 51, 68, 85, 255, 128, 1, 2, 3, 4};
  for (const char* file : {"p.pgm", "p.png"}) {
    SCOPED_TRACE(file);
    std::string error;
    ASSERT_TRUE(vfhost::WritePlaneFile(Path(file), 4, 3, plane, error)) << error;
    int32_t width = 0, height = 0;
    std::vector<uint8_t> read;
    ASSERT_TRUE(vfhost::ReadPlaneFile(Path(file), width, height, read, error)) << error;
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 3);
    EXPECT_EQ(read, plane);
  }
  // A colour picture is no plane.
  std::string error;
  ASSERT_TRUE(vfhost::WriteImageFile(Path("c.png"), Pattern(2, 2, false), error));
  int32_t width = 0, height = 0;
  std::vector<uint8_t> read;
  EXPECT_FALSE(vfhost::ReadPlaneFile(Path("c.png"), width, height, read, error));
}

// The Windows build's PNG codec must read what libpng writes and write what
// libpng reads.
TEST_F(ImageFiles, OwnPngCodecAgreesWithLibpng) {
  for (bool alpha : {false, true}) {
    SCOPED_TRACE(alpha ? "RGBA" : "RGB");
    const RgbaImage original = Pattern(7, 5, alpha);
    std::string error;
    ASSERT_TRUE(vfhost::WriteImageFile(Path("libpng.png"), original, error)) << error;
    RgbaImage decoded;
    ASSERT_TRUE(vfhost::DecodePngOwn(vftest::ReadFileBytes(Path("libpng.png")), decoded, error)) << error;
    ExpectSamePixels(decoded, original);

    vftest::WriteFileBytes(Path("own.png"), vfhost::EncodePngOwn(original));
    RgbaImage read;
    ASSERT_TRUE(vfhost::ReadImageFile(Path("own.png"), read, error)) << error;
    ExpectSamePixels(read, original);
  }
  // A grey plane written by libpng, read by our codec.
  std::string error;
  ASSERT_TRUE(vfhost::WritePlaneFile(Path("grey.png"), 3, 1, {0, 100, 255}, error)) << error;
  RgbaImage grey;
  ASSERT_TRUE(vfhost::DecodePngOwn(vftest::ReadFileBytes(Path("grey.png")), grey, error)) << error;
  EXPECT_EQ(grey.rgba, (std::vector<uint8_t>{0, 0, 0, 255, 100, 100, 100, 255, 255, 255, 255, 255}));

  std::vector<uint8_t> damaged = vfhost::EncodePngOwn(Pattern(4, 4, false));
  damaged[damaged.size() / 2] ^= 0xFF;
  EXPECT_FALSE(vfhost::DecodePngOwn(damaged, grey, error));
}

// A PNG file of any colour type and depth, rows given as raw bytes after
// their filter byte, for the formats our writer never makes.
std::vector<uint8_t> MakePng(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType,
                             const std::vector<std::vector<uint8_t>>& chunks,
                             const std::vector<uint8_t>& rows) {
  auto be32 = [](std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
  };
  auto chunk = [&](std::vector<uint8_t>& out, const std::vector<uint8_t>& typeAndData) {
    be32(out, static_cast<uint32_t>(typeAndData.size() - 4));
    out.insert(out.end(), typeAndData.begin(), typeAndData.end());
    be32(out, static_cast<uint32_t>(crc32(0, typeAndData.data(), static_cast<uInt>(typeAndData.size()))));
  };
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header = {'I', 'H', 'D', 'R'};
  be32(header, width);
  be32(header, height);
  header.insert(header.end(), {depth, colourType, 0, 0, 0});
  chunk(png, header);
  for (const std::vector<uint8_t>& extra : chunks) chunk(png, extra);
  uLongf size = compressBound(static_cast<uLong>(rows.size()));
  std::vector<uint8_t> data = {'I', 'D', 'A', 'T'};
  data.resize(4 + size);
  compress2(data.data() + 4, &size, rows.data(), static_cast<uLong>(rows.size()), 9);
  data.resize(4 + size);
  chunk(png, data);
  chunk(png, {'I', 'E', 'N', 'D'});
  return png;
}

// Our codec and libpng must read the same pixels from every kind of file.
TEST_F(ImageFiles, OwnPngDecoderReadsEveryColourTypeAsLibpngDoes) {
  struct Case {
    const char* name;
    uint32_t width, height;
    uint8_t depth, colourType;
    std::vector<std::vector<uint8_t>> chunks;
    std::vector<uint8_t> rows;  // filter byte, then the row
  };
  const std::vector<uint8_t> palette = {'P', 'L', 'T', 'E', 255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
  const Case cases[] = {
      {"palette, 2 bits, transparency",
       5,
       2,
       2,
       3,
       {palette, {'t', 'R', 'N', 'S', 255, 128, 0}},
       {0, 0b00011011, 0b00000000, 1, 0b11100100, 0b01000000}},
      {"grey, 1 bit", 9, 1, 1, 0, {}, {0, 0b10110010, 0b10000000}},
      {"grey, 16 bits, colour key",
       2,
       2,
       16,
       0,
       {{'t', 'R', 'N', 'S', 0x12, 0x34}},
       {0, 0x12, 0x34, 0xAB, 0xCD, 2, 0x01, 0x01, 0x01, 0x01}},
      {"grey and alpha, up and average filters", 2, 2, 8, 4, {}, {0, 10, 20, 30, 40, 3, 5, 5, 5, 5}},
      {"RGB, 16 bits, Paeth filter", 1, 2, 16, 2, {}, {0, 1, 2, 3, 4, 5, 6, 4, 1, 1, 1, 1, 1, 1}},
      {"RGBA, sub filter", 2, 1, 8, 6, {}, {1, 10, 20, 30, 40, 1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> file = MakePng(c.width, c.height, c.depth, c.colourType, c.chunks, c.rows);
    vftest::WriteFileBytes(Path("case.png"), file);
    RgbaImage byLibpng, byOwn;
    std::string error;
    ASSERT_TRUE(vfhost::ReadImageFile(Path("case.png"), byLibpng, error)) << error;
    ASSERT_TRUE(vfhost::DecodePngOwn(file, byOwn, error)) << error;
    ExpectSamePixels(byOwn, byLibpng);
  }
  // Interlaced files are refused with a reason rather than misread.
  RgbaImage image;
  std::string error;
  std::vector<uint8_t> interlaced = MakePng(1, 1, 8, 0, {}, {0, 7});
  interlaced[8 + 8 + 12] = 1;
  const uLong crc = crc32(0, &interlaced[12], 17);
  for (int i = 0; i < 4; ++i) interlaced[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  EXPECT_FALSE(vfhost::DecodePngOwn(interlaced, image, error));
  EXPECT_NE(error.find("interlaced"), std::string::npos) << error;
}

TEST(LayeredImages, ConvertToAndFromRgba) {
  const RgbaImage withAlpha = Pattern(3, 2, true);
  const vfhost::LayeredImage layers = vfhost::LayeredFromRgba(withAlpha);
  EXPECT_EQ(layers.colour[0], withAlpha.rgba[2]);  // blue first
  EXPECT_EQ(layers.colour[2], withAlpha.rgba[0]);
  EXPECT_EQ(layers.alpha[5], withAlpha.rgba[23]);
  EXPECT_EQ(layers.mask, std::vector<uint8_t>(6, 0));
  ExpectSamePixels(vfhost::RgbaFromLayered(layers), withAlpha);
  EXPECT_EQ(vfhost::LayeredFromRgba(Pattern(3, 2, false)).alpha, std::vector<uint8_t>(6, 255));

  // The DIB's rows are bottom-up with padded rows.
  const RgbaImage picture = Pattern(3, 2, false);
  const vfhost::Dib dib = vfhost::DibFromRgba(picture);
  EXPECT_EQ(dib.stride(), 12);
  EXPECT_EQ(dib.bytes().size(), 40u + 24u);
  EXPECT_EQ(dib.Pixel(0, 0)[2], picture.rgba[12]);  // bottom row = last picture row
  ExpectSamePixels(vfhost::RgbaFromDib(dib), picture);
}

}  // namespace
