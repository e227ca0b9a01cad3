// The kind-0 image record and the module instance handle.
#include "frame/host_interface.h"

namespace frame {
namespace {
HINSTANCE module_instance = nullptr;
}

int32_t DibStride(int32_t width, uint16_t bitCount) {
  const int64_t bits = static_cast<int64_t>(width) * bitCount + 31;
  return static_cast<int32_t>(bits / 32 * 4);
}

DibImage ViewDib(BITMAPINFOHEADER* header) {
  DibImage image;
  image.pixels = reinterpret_cast<uint8_t*>(header) + header->biSize;
  image.width = header->biWidth;
  image.height = header->biHeight;
  image.stride = DibStride(header->biWidth, header->biBitCount);
  return image;
}

HINSTANCE ModuleInstance() {
  return module_instance;
}
void SetModuleInstance(HINSTANCE instance) {
  module_instance = instance;
}

}  // namespace frame
