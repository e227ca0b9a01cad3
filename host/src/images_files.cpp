// Picture and plane files, chosen by their extension: .bmp, .png, .pgm.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>

#include "images_internal.h"
#include "vfhost/images.h"

namespace vfhost {
namespace detail {

bool CheckImageSize(int64_t width, int64_t height, std::string& error) {
  if (width <= 0 || height <= 0) {
    error = "the picture is empty (" + std::to_string(width) + " x " + std::to_string(height) + ")";
    return false;
  }
  if (width > INT32_MAX || height > INT32_MAX || width * height > kMaxImagePixels) {
    error = "the picture is too large (" + std::to_string(width) + " x " + std::to_string(height) +
            " pixels; at most " + std::to_string(kMaxImagePixels) + " pixels)";
    return false;
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  const std::streamoff size = in.tellg();
  if (size < 0 || size > (std::streamoff{1} << 32)) {
    error = "cannot read " + path + " (too large)";
    return false;
  }
  bytes.resize(static_cast<size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) {
    error = "cannot read " + path;
    return false;
  }
  return true;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out &&
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())) &&
        out.flush())
      return true;
  }
  std::remove(path.c_str());
  error = "cannot write " + path;
  return false;
}

}  // namespace detail

namespace {

enum class Format { Bmp, Png, Pgm, Unknown };

Format FormatOf(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || path.find_first_of("/\\", dot) != std::string::npos) return Format::Unknown;
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "bmp" || extension == "dib") return Format::Bmp;
  if (extension == "png") return Format::Png;
  if (extension == "pgm") return Format::Pgm;
  return Format::Unknown;
}

std::vector<uint8_t> WithoutAlpha(const RgbaImage& image) {
  std::vector<uint8_t> rgb;
  rgb.reserve(image.rgba.size() / 4 * 3);
  for (size_t i = 0; i < image.rgba.size(); i += 4) rgb.insert(rgb.end(), &image.rgba[i], &image.rgba[i + 3]);
  return rgb;
}

bool Fail(std::string& error, const std::string& message) {
  error = message;
  return false;
}

}  // namespace

bool IsImageFileName(const std::string& path) {
  const Format format = FormatOf(path);
  return format == Format::Bmp || format == Format::Png;
}

bool IsPlaneFileName(const std::string& path) {
  const Format format = FormatOf(path);
  return format == Format::Pgm || format == Format::Png;
}

bool ReadImageFile(const std::string& path, RgbaImage& image, std::string& error) {
  switch (FormatOf(path)) {
    case Format::Bmp: {
      std::vector<uint8_t> bytes;
      if (!detail::ReadWholeFile(path, bytes, error)) return false;
      if (!DecodeBmp(bytes, image, error)) return Fail(error, path + ": " + error);
      return true;
    }
    case Format::Png:
      return detail::ReadPngFile(path, image, error);
    default:
      return Fail(error, path + ": unknown picture format (use .bmp or .png)");
  }
}

bool WriteImageFile(const std::string& path, const RgbaImage& image, std::string& error) {
  switch (FormatOf(path)) {
    case Format::Bmp:
      return detail::WriteWholeFile(path, EncodeBmp(image), error);
    case Format::Png: {
      if (image.hasAlpha)
        return detail::WritePngFile(path, {image.width, image.height, 4, image.rgba.data()}, error);
      const std::vector<uint8_t> rgb = WithoutAlpha(image);
      return detail::WritePngFile(path, {image.width, image.height, 3, rgb.data()}, error);
    }
    default:
      return Fail(error, path + ": unknown picture format (use .bmp or .png)");
  }
}

bool ReadPlaneFile(const std::string& path, int32_t& width, int32_t& height, std::vector<uint8_t>& plane,
                   std::string& error) {
  switch (FormatOf(path)) {
    case Format::Pgm: {
      std::vector<uint8_t> bytes;
      if (!detail::ReadWholeFile(path, bytes, error)) return false;
      if (!DecodePgm(bytes, width, height, plane, error)) return Fail(error, path + ": " + error);
      return true;
    }
    case Format::Png: {
      RgbaImage image;
      if (!detail::ReadPngFile(path, image, error)) return false;
      plane.resize(static_cast<size_t>(image.width) * image.height);
      for (size_t i = 0; i < plane.size(); ++i) {
        const uint8_t* p = &image.rgba[4 * i];
        if (p[0] != p[1] || p[1] != p[2]) return Fail(error, path + ": a plane must be a greyscale picture");
        plane[i] = p[0];
      }
      width = image.width;
      height = image.height;
      return true;
    }
    default:
      return Fail(error, path + ": unknown plane format (use .pgm or a greyscale .png)");
  }
}

bool WritePlaneFile(const std::string& path, int32_t width, int32_t height, const std::vector<uint8_t>& plane,
                    std::string& error) {
  switch (FormatOf(path)) {
    case Format::Pgm:
      return detail::WriteWholeFile(path, EncodePgm(width, height, plane), error);
    case Format::Png:
      return detail::WritePngFile(path, {width, height, 1, plane.data()}, error);
    default:
      return Fail(error, path + ": unknown plane format (use .pgm or .png)");
  }
}

}  // namespace vfhost
