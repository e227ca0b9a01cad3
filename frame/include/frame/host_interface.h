// What every plug-in shares with the paint program: the interface kinds, the
// kind-0 image record, the progress messages and the functions each plug-in
// supplies so that the frame can emit the three exports for it.
#pragma once

#include <cstdint>

#include "frame/line_access_types.h"
#include "frame/win_api.h"

namespace frame {

enum InterfaceKind : int32_t {
  KIND_DIB = 0,
  KIND_LINE_ACCESS = 10,
};

// A view of the packed 24-bit device-independent bitmap that the host hands
// to a kind-0 FilterProc. Row 0 is the bottom row of the picture.
struct DibImage {
  uint8_t* pixels;  // first byte of row 0
  int32_t width;
  int32_t height;
  int32_t stride;  // bytes per row, a multiple of 4

  uint8_t* Row(int32_t y) const { return pixels + static_cast<intptr_t>(y) * stride; }
  uint8_t* Pixel(int32_t y, int32_t x) const { return Row(y) + 3 * static_cast<intptr_t>(x); }
};

// Row stride of a DIB: ((W x bitCount + 31) / 32) x 4, with signed division.
int32_t DibStride(int32_t width, uint16_t bitCount);
DibImage ViewDib(BITMAPINFOHEADER* header);

// The module instance handle stored by the library entry.
HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);

// Supplied by each plug-in (the frame's export glue calls them).
extern const char kPluginTitle[];  // code page 932, NUL-terminated
int PluginOption(HWND host, const char* dir);
// Kind 0 plug-ins define this one ...
int PluginProcDib(HWND host, BITMAPINFOHEADER* image, const char* dir);
// ... kind 10 plug-ins this one.
int PluginProcLineAccess(HWND host, const ImageSize* size, const LineAccessTable* write,
                         const LineAccessTable* read, const char* dir);

}  // namespace frame
