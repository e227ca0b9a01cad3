// Helpers shared by the host's image codecs and file functions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vfhost/images.h"

namespace vfhost::detail {

// False and a message when a picture of that size is empty or too large.
bool CheckImageSize(int64_t width, int64_t height, std::string& error);

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

// Interleaved 8-bit samples, top row first: 1 channel grey, 3 RGB, 4 RGBA.
struct PixelRows {
  int32_t width = 0, height = 0, channels = 0;
  const uint8_t* samples = nullptr;
};
std::vector<uint8_t> EncodePngChannels(const PixelRows& rows);

// PNG files through the build's codec (libpng on Linux, our own on Windows).
bool ReadPngFile(const std::string& path, RgbaImage& image, std::string& error);
bool WritePngFile(const std::string& path, const PixelRows& rows, std::string& error);

}  // namespace vfhost::detail
