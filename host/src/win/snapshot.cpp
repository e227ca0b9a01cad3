// A PNG picture of a window as the system drew it: the window's frame,
// caption and child controls, read back from its device context.
#ifdef _WIN32

#include <vector>

#include "vfhost/images.h"
#include "win_hooks.h"

namespace vfhost::win {

bool SnapshotWindow(HWND window, const std::string& pngPath, std::string& error) {
  RECT bounds{};
  if (!GetWindowRect(window, &bounds) || bounds.right <= bounds.left || bounds.bottom <= bounds.top) {
    error = "snapshot: the window has no size";
    return false;
  }
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (memory == nullptr || bitmap == nullptr) {
    if (memory != nullptr) DeleteDC(memory);
    error = "snapshot: no memory for the picture";
    return false;
  }
  HGDIOBJ previous = SelectObject(memory, bitmap);
  // Copy what the window and its children have drawn on the window's
  // surface (PrintWindow would have each draw itself again, and Wine's does
  // not draw the frame or the children).
  HDC source = GetWindowDC(window);
  bool drawn = BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY) != FALSE;
  ReleaseDC(window, source);
  GdiFlush();

  RgbaImage picture;
  picture.width = width;
  picture.height = height;
  picture.rgba.resize(static_cast<size_t>(width) * height * 4);
  const auto* pixels = static_cast<const uint8_t*>(bits);
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
    picture.rgba[4 * i + 0] = pixels[4 * i + 2];
    picture.rgba[4 * i + 1] = pixels[4 * i + 1];
    picture.rgba[4 * i + 2] = pixels[4 * i + 0];
    picture.rgba[4 * i + 3] = 255;
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  if (!drawn) {
    error = "snapshot: the window could not be drawn";
    return false;
  }
  return WriteImageFile(pngPath, picture, error);
}

}  // namespace vfhost::win

#endif  // _WIN32
