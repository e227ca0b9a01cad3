// PNG files through libpng (Linux build): any PNG that libpng reads is
// converted to 8-bit RGBA with its transforms; grey, RGB and RGBA written.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

#include "images_internal.h"
#include "vfhost/images.h"

namespace vfhost::detail {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// libpng reports errors through longjmp; the message is kept for the caller.
void OnPngError(png_structp png, png_const_charp message) {
  auto* error = static_cast<std::string*>(png_get_error_ptr(png));
  *error = std::string("PNG: ") + message;
  png_longjmp(png, 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

}  // namespace

bool ReadPngFile(const std::string& path, RgbaImage& image, std::string& error) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  png_byte signature[8];
  if (std::fread(signature, 1, 8, file.get()) != 8 || png_sig_cmp(signature, 0, 8) != 0) {
    error = path + " is not a PNG file";
    return false;
  }
  std::string pngError;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &pngError, OnPngError, OnPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    error = "libpng could not start";
    return false;
  }
  // Everything that must be released after a longjmp lives outside this frame.
  std::vector<uint8_t>& rgba = image.rgba;
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    error = path + ": " + pngError;
    return false;
  }
  png_init_io(png, file.get());
  png_set_sig_bytes(png, 8);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
  const int colourType = png_get_color_type(png, info);
  const bool hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS);
  if (!CheckImageSize(width, height, error)) {
    png_destroy_read_struct(&png, &info, nullptr);
    error = path + ": " + error;
    return false;
  }
  png_set_expand(png);  // palette to RGB, low grey depths to 8 bits, tRNS to alpha
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  rgba.assign(static_cast<size_t>(width) * height * 4, 0);
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = &rgba[static_cast<size_t>(y) * width * 4];
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  image.width = static_cast<int32_t>(width);
  image.height = static_cast<int32_t>(height);
  image.hasAlpha = hasAlpha;
  return true;
}

bool WritePngFile(const std::string& path, const PixelRows& pixels, std::string& error) {
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    error = "cannot create " + path;
    return false;
  }
  std::string pngError;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &pngError, OnPngError, OnPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    error = "libpng could not start";
    return false;
  }
  std::vector<png_bytep> rows(pixels.height);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    error = path + ": " + pngError;
    return false;
  }
  png_init_io(png, file.get());
  const int colourType = pixels.channels == 1   ? PNG_COLOR_TYPE_GRAY
                         : pixels.channels == 3 ? PNG_COLOR_TYPE_RGB
                                                : PNG_COLOR_TYPE_RGB_ALPHA;
  png_set_IHDR(png, info, pixels.width, pixels.height, 8, colourType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const size_t rowBytes = static_cast<size_t>(pixels.width) * pixels.channels;
  for (int32_t y = 0; y < pixels.height; ++y) rows[y] = const_cast<png_bytep>(pixels.samples + y * rowBytes);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fflush(file.get()) != 0) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace vfhost::detail
