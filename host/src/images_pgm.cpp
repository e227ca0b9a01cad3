// PGM files (binary P5, 8-bit): the alpha and mask planes of the line-access
// plug-ins.
#include <cctype>

#include "images_internal.h"
#include "vfhost/images.h"

namespace vfhost {
namespace {

// Reads the next header number, skipping blanks and # comments.
bool NextHeaderNumber(const std::vector<uint8_t>& file, size_t& at, int64_t& number) {
  for (;;) {
    while (at < file.size() && std::isspace(file[at])) ++at;
    if (at < file.size() && file[at] == '#') {
      while (at < file.size() && file[at] != '\n') ++at;
      continue;
    }
    break;
  }
  if (at >= file.size() || !std::isdigit(file[at])) return false;
  number = 0;
  while (at < file.size() && std::isdigit(file[at])) {
    number = number * 10 + (file[at++] - '0');
    if (number > (int64_t{1} << 31)) return false;
  }
  return true;
}

}  // namespace

bool DecodePgm(const std::vector<uint8_t>& file, int32_t& width, int32_t& height, std::vector<uint8_t>& plane,
               std::string& error) {
  if (file.size() < 2 || file[0] != 'P' || file[1] != '5') {
    error = "not a binary PGM file (P5)";
    return false;
  }
  size_t at = 2;
  int64_t w = 0, h = 0, maxValue = 0;
  if (!NextHeaderNumber(file, at, w) || !NextHeaderNumber(file, at, h) ||
      !NextHeaderNumber(file, at, maxValue) || at >= file.size() || !std::isspace(file[at])) {
    error = "PGM header is damaged";
    return false;
  }
  ++at;  // the single blank before the samples
  if (maxValue < 1 || maxValue > 255) {
    error = "PGM with a maximum value of " + std::to_string(maxValue) + " is not supported (8-bit only)";
    return false;
  }
  if (!detail::CheckImageSize(w, h, error)) return false;
  const size_t count = static_cast<size_t>(w * h);
  if (file.size() - at < count) {
    error = "PGM file is shorter than its samples";
    return false;
  }
  width = static_cast<int32_t>(w);
  height = static_cast<int32_t>(h);
  plane.assign(file.begin() + at, file.begin() + at + count);
  if (maxValue != 255) {
    for (uint8_t& sample : plane) {
      const int64_t value = sample > maxValue ? maxValue : sample;
      sample = static_cast<uint8_t>((value * 255 + maxValue / 2) / maxValue);
    }
  }
  return true;
}

std::vector<uint8_t> EncodePgm(int32_t width, int32_t height, const std::vector<uint8_t>& plane) {
  const std::string header = "P5\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  std::vector<uint8_t> out(header.begin(), header.end());
  out.insert(out.end(), plane.begin(), plane.begin() + static_cast<size_t>(width) * height);
  return out;
}

}  // namespace vfhost
