// vfhost's picture and plane readers on arbitrary bytes: BMP, PNG (our own
// decoder and, through a file, the libpng one) or PGM, chosen at build time.
// A picture that is read must have the size its bytes give it.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "vfhost/images.h"

namespace {

void CheckImage(bool read, const vfhost::RgbaImage& image) {
  if (!read) return;
  if (image.width <= 0 || image.height <= 0 ||
      image.rgba.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4)
    __builtin_trap();
}

[[maybe_unused]] std::string ScratchFile(const char* extension) {
  return "/tmp/vffuzz-image-" + std::to_string(getpid()) + extension;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  std::string error;
#if defined(VF_FUZZ_FORMAT_bmp)
  vfhost::RgbaImage image;
  CheckImage(vfhost::DecodeBmp(bytes, image, error), image);
#elif defined(VF_FUZZ_FORMAT_png)
  vfhost::RgbaImage own;
  CheckImage(vfhost::DecodePngOwn(bytes, own, error), own);
  const std::string path = ScratchFile(".png");
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  vfhost::RgbaImage viaFile;
  CheckImage(vfhost::ReadImageFile(path, viaFile, error), viaFile);
  int32_t width = 0, height = 0;
  std::vector<uint8_t> plane;
  if (vfhost::ReadPlaneFile(path, width, height, plane, error) &&
      plane.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
    __builtin_trap();
  std::remove(path.c_str());
#else
  int32_t width = 0, height = 0;
  std::vector<uint8_t> plane;
  if (vfhost::DecodePgm(bytes, width, height, plane, error) &&
      (width <= 0 || height <= 0 || plane.size() != static_cast<size_t>(width) * static_cast<size_t>(height)))
    __builtin_trap();
#endif
  return 0;
}
