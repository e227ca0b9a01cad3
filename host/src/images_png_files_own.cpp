// PNG files through our own codec (Windows build).
#include "images_internal.h"
#include "vfhost/images.h"

namespace vfhost::detail {

bool ReadPngFile(const std::string& path, RgbaImage& image, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, error)) return false;
  if (!DecodePngOwn(bytes, image, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

bool WritePngFile(const std::string& path, const PixelRows& rows, std::string& error) {
  return WriteWholeFile(path, EncodePngChannels(rows), error);
}

}  // namespace vfhost::detail
