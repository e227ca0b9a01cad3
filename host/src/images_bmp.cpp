// BMP files: 24- and 32-bit pictures read (bottom-up and top-down), 24-bit
// bottom-up written. Every size in the headers is checked against the length
// of the file before a pixel is read.
#include <cstdlib>

#include "images_internal.h"
#include "vfhost/images.h"

namespace vfhost {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCompressionRgb = 0;
constexpr uint32_t kCompressionBitFields = 3;

uint16_t Le16(const uint8_t* at) {
  return static_cast<uint16_t>(at[0] | (at[1] << 8));
}
uint32_t Le32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
         (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}
void PutLe16(std::vector<uint8_t>& out, size_t at, uint16_t value) {
  out[at] = static_cast<uint8_t>(value);
  out[at + 1] = static_cast<uint8_t>(value >> 8);
}
void PutLe32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// 32-bit pictures with bit fields are read when the fields are the usual
// B, G, R byte order; the alpha byte counts only when a field names it.
bool ReadBitFields(const std::vector<uint8_t>& file, uint32_t headerSize, bool& alphaField,
                   std::string& error) {
  const size_t masksAt = kFileHeaderSize + kInfoHeaderSize;
  // Masks follow a 40-byte header, or are part of a larger one.
  if (file.size() < masksAt + 12) {
    error = "BMP file ends inside its colour masks";
    return false;
  }
  const uint32_t red = Le32(&file[masksAt]), green = Le32(&file[masksAt + 4]),
                 blue = Le32(&file[masksAt + 8]);
  if (red != 0x00FF0000u || green != 0x0000FF00u || blue != 0x000000FFu) {
    error = "BMP colour masks other than 8 bits each in B, G, R order are not supported";
    return false;
  }
  alphaField = headerSize >= 56 && file.size() >= masksAt + 16 && Le32(&file[masksAt + 12]) == 0xFF000000u;
  return true;
}

}  // namespace

bool DecodeBmp(const std::vector<uint8_t>& file, RgbaImage& image, std::string& error) {
  if (file.size() < kFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M') {
    error = "not a BMP file";
    return false;
  }
  const uint32_t pixelOffset = Le32(&file[10]);
  const uint32_t headerSize = Le32(&file[14]);
  if (headerSize == kCoreHeaderSize) {
    error = "BMP files with the old 12-byte header are not supported";
    return false;
  }
  if (headerSize < kInfoHeaderSize || file.size() < kFileHeaderSize + kInfoHeaderSize ||
      headerSize > file.size() - kFileHeaderSize) {
    error = "BMP header is damaged or cut short";
    return false;
  }
  const uint8_t* info = &file[kFileHeaderSize];
  const int32_t width = static_cast<int32_t>(Le32(info + 4));
  const int32_t signedHeight = static_cast<int32_t>(Le32(info + 8));
  const uint16_t bitCount = Le16(info + 14);
  const uint32_t compression = Le32(info + 16);
  if (bitCount != 24 && bitCount != 32) {
    error = "BMP with " + std::to_string(bitCount) + " bits per pixel is not supported (only 24 and 32)";
    return false;
  }
  bool alphaField = false;
  if (bitCount == 32 && compression == kCompressionBitFields) {
    if (!ReadBitFields(file, headerSize, alphaField, error)) return false;
  } else if (compression != kCompressionRgb) {
    error = "compressed BMP files are not supported";
    return false;
  }
  const bool topDown = signedHeight < 0;
  const int64_t height = topDown ? -int64_t{signedHeight} : int64_t{signedHeight};
  if (!detail::CheckImageSize(width, height, error)) return false;

  const int64_t stride = (int64_t{width} * bitCount + 31) / 32 * 4;
  const int64_t pixelBytes = stride * height;
  if (pixelOffset < kFileHeaderSize + headerSize || pixelOffset > file.size() ||
      pixelBytes > static_cast<int64_t>(file.size() - pixelOffset)) {
    error = "BMP file is shorter than its pixels";
    return false;
  }

  image.width = width;
  image.height = static_cast<int32_t>(height);
  image.hasAlpha = alphaField;
  image.rgba.assign(static_cast<size_t>(width) * height * 4, 255);
  const int bytesPerPixel = bitCount / 8;
  for (int64_t row = 0; row < height; ++row) {
    const int64_t fileRow = topDown ? row : height - 1 - row;
    const uint8_t* source = &file[pixelOffset + fileRow * stride];
    uint8_t* target = &image.rgba[static_cast<size_t>(row * width * 4)];
    for (int32_t x = 0; x < width; ++x, source += bytesPerPixel, target += 4) {
      target[0] = source[2];
      target[1] = source[1];
      target[2] = source[0];
      if (alphaField) target[3] = source[3];
    }
  }
  return true;
}

std::vector<uint8_t> EncodeBmp(const RgbaImage& image) {
  const size_t stride = (static_cast<size_t>(image.width) * 24 + 31) / 32 * 4;
  const size_t headers = kFileHeaderSize + kInfoHeaderSize;
  const size_t pixelBytes = stride * image.height;
  std::vector<uint8_t> out(headers + pixelBytes, 0);
  out[0] = 'B';
  out[1] = 'M';
  PutLe32(out, 2, static_cast<uint32_t>(out.size()));
  PutLe32(out, 10, static_cast<uint32_t>(headers));
  PutLe32(out, 14, kInfoHeaderSize);
  PutLe32(out, 18, static_cast<uint32_t>(image.width));
  PutLe32(out, 22, static_cast<uint32_t>(image.height));
  PutLe16(out, 26, 1);
  PutLe16(out, 28, 24);
  PutLe32(out, 34, static_cast<uint32_t>(pixelBytes));
  PutLe32(out, 38, 2835);
  PutLe32(out, 42, 2835);
  for (int32_t row = 0; row < image.height; ++row) {
    const uint8_t* source = &image.rgba[static_cast<size_t>(row) * image.width * 4];
    uint8_t* target = &out[headers + static_cast<size_t>(image.height - 1 - row) * stride];
    for (int32_t x = 0; x < image.width; ++x, source += 4, target += 3) {
      target[0] = source[2];
      target[1] = source[1];
      target[2] = source[0];
    }
  }
  return out;
}

}  // namespace vfhost
