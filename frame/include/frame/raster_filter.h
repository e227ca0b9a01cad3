// The FilterProc of a kind-0 filter that reads a bordered working raster and
// writes the image: PROGRESS_BEGIN, one working block (the memory message,
// PROGRESS_END and 0 when it cannot be had), the raster filled, the kernel
// run when the image has rows, the nothing-processed message when it changed
// no pixel, PROGRESS_END, the block freed, 1.
// RunRasterFilterWithScratch takes a kernel's own rows in the same block, so
// that the memory message covers them too.
#pragma once

#include <cstdint>

#include "frame/bordered_raster.h"
#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/working_block.h"

namespace frame {

constexpr uint64_t kScratchAlignment = 16;

// scratchBytes(image) more bytes after the raster, kScratchAlignment-aligned
// and not cleared; kernel(image, raster, scratch, cadence) returns the number
// of pixels processed.
template <typename ScratchBytes, typename Kernel>
int RunRasterFilterWithScratch(HWND host, BITMAPINFOHEADER* header, const RasterLayout& layout,
                               ScratchBytes&& scratchBytes, const char* nothingCaption, Kernel&& kernel) {
  SendProgress(host, PROGRESS_BEGIN, 0);
  const DibImage image = ViewDib(header);
  const uint64_t rasterBytes = BorderedRasterSize(image, layout);
  const uint64_t extra = scratchBytes(image);
  GlobalBlock block;
  if (!block.Allocate(extra == 0 ? rasterBytes
                                 : CheckedSum(CheckedSum(rasterBytes, kScratchAlignment - 1), extra))) {
    ShowMemoryMessage(host);
    SendProgress(host, PROGRESS_END, 0);
    return 0;
  }
  const BorderedRaster raster = FillBorderedRaster(image, block.data(), layout);
  uint8_t* scratch = nullptr;
  if (extra != 0) {
    const uintptr_t rasterEnd =
        reinterpret_cast<uintptr_t>(block.data()) + static_cast<uintptr_t>(rasterBytes);
    scratch = block.data() + static_cast<uintptr_t>(rasterBytes) +
              (kScratchAlignment - rasterEnd % kScratchAlignment) % kScratchAlignment;
  }
  int64_t processed = 0;
  if (image.height > 0) {
    RowCadence cadence(host, image.height);
    processed = kernel(image, raster, scratch, cadence);
  }
  if (processed == 0) ShowNothingProcessed(host, nothingCaption);
  SendProgress(host, PROGRESS_END, 0);
  block.Release();
  return 1;
}

// kernel(image, raster, cadence) returns the number of pixels processed.
template <typename Kernel>
int RunRasterFilter(HWND host, BITMAPINFOHEADER* header, const RasterLayout& layout,
                    const char* nothingCaption, Kernel&& kernel) {
  return RunRasterFilterWithScratch(
      host, header, layout, [](const DibImage&) { return uint64_t{0}; }, nothingCaption,
      [&](const DibImage& image, const BorderedRaster& raster, uint8_t*, RowCadence& cadence) {
        return kernel(image, raster, cadence);
      });
}

}  // namespace frame
