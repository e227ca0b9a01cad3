// Pictures as the plug-ins see them and as files hold them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vfhost {

// A packed 24-bit DIB: BITMAPINFOHEADER (40 bytes) and bottom-up rows of
// stride ((W x 24 + 31) / 32) x 4, as the paint program hands it to kind 0.
class Dib {
 public:
  Dib() = default;
  Dib(int32_t width, int32_t height);  // all pixels black, padding bytes 0

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  int32_t stride() const { return stride_; }
  uint8_t* header() { return bytes_.data(); }  // what FilterProc receives
  const std::vector<uint8_t>& bytes() const { return bytes_; }

  // Row y counts from the bottom (row 0 is the bottom row), pixel bytes B, G, R.
  uint8_t* Pixel(int32_t y, int32_t x);
  const uint8_t* Pixel(int32_t y, int32_t x) const;
  void SetPixel(int32_t y, int32_t x, uint8_t red, uint8_t green, uint8_t blue);
  void Fill(uint8_t red, uint8_t green, uint8_t blue);

 private:
  int32_t width_ = 0, height_ = 0, stride_ = 0;
  std::vector<uint8_t> bytes_;
};

// Colour, alpha and mask planes for the line-access plug-ins. Rows count from
// the top (row 0 is the top row).
struct LayeredImage {
  int32_t width = 0, height = 0;
  std::vector<uint8_t> colour;  // 3 bytes a pixel, B, G, R, no padding
  std::vector<uint8_t> alpha;   // 1 byte a pixel
  std::vector<uint8_t> mask;    // 1 byte a pixel
  LayeredImage() = default;
  LayeredImage(int32_t width, int32_t height);  // black, alpha 255, mask 0
};

// File input and output; false and a message on failure.
// BMP: 24-bit written; 24- and 32-bit, bottom-up and top-down read.
// PNG: 8-bit grey, RGB and RGBA read (also palette, grey with alpha and
// 16-bit, converted); RGB written (RGBA when the image has alpha).
// PGM: P5 8-bit planes; planes are also read from and written to greyscale PNG.
struct RgbaImage {
  int32_t width = 0, height = 0;
  std::vector<uint8_t> rgba;  // top row first, 4 bytes a pixel
  bool hasAlpha = false;
};
bool ReadImageFile(const std::string& path, RgbaImage& image, std::string& error);
bool WriteImageFile(const std::string& path, const RgbaImage& image, std::string& error);
bool ReadPlaneFile(const std::string& path, int32_t& width, int32_t& height, std::vector<uint8_t>& plane,
                   std::string& error);
bool WritePlaneFile(const std::string& path, int32_t width, int32_t height, const std::vector<uint8_t>& plane,
                    std::string& error);

// Whether the file name's extension names a picture format (.bmp, .png) or a
// plane format (.pgm, .png) that the functions above read and write.
bool IsImageFileName(const std::string& path);
bool IsPlaneFileName(const std::string& path);

Dib DibFromRgba(const RgbaImage& image);
RgbaImage RgbaFromDib(const Dib& image);

// The colour and alpha of an RGBA picture as layers (alpha 255 when the
// picture has none, mask 0), and back (hasAlpha set).
LayeredImage LayeredFromRgba(const RgbaImage& image);
RgbaImage RgbaFromLayered(const LayeredImage& image);

// Pictures larger than this many pixels are refused: every copy the host and
// a plug-in make would then run to gigabytes.
constexpr int64_t kMaxImagePixels = int64_t{1} << 28;

// The codecs on bytes in memory, as the file functions use them. The PNG
// codec here is our own over zlib (the Windows build's file codec; the Linux
// build reads and writes PNG files through libpng).
bool DecodeBmp(const std::vector<uint8_t>& file, RgbaImage& image, std::string& error);
std::vector<uint8_t> EncodeBmp(const RgbaImage& image);  // 24-bit, bottom-up
bool DecodePgm(const std::vector<uint8_t>& file, int32_t& width, int32_t& height, std::vector<uint8_t>& plane,
               std::string& error);
std::vector<uint8_t> EncodePgm(int32_t width, int32_t height, const std::vector<uint8_t>& plane);
bool DecodePngOwn(const std::vector<uint8_t>& file, RgbaImage& image, std::string& error);
std::vector<uint8_t> EncodePngOwn(const RgbaImage& image);  // RGB, or RGBA when hasAlpha

}  // namespace vfhost
