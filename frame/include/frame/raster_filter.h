// The FilterProc of a kind-0 filter that reads a bordered working raster and
// writes the image: PROGRESS_BEGIN, one working block (the memory message,
// PROGRESS_END and 0 when it cannot be had), the raster filled, the kernel
// run when the image has rows, the nothing-processed message when it changed
// no pixel, PROGRESS_END, the block freed, 1.
#pragma once

#include <cstdint>

#include "frame/bordered_raster.h"
#include "frame/messages.h"
#include "frame/progress.h"
#include "frame/working_block.h"

namespace frame {

// kernel(image, raster, cadence) returns the number of pixels processed.
template <typename Kernel>
int RunRasterFilter(HWND host, BITMAPINFOHEADER* header, const RasterLayout& layout,
                    const char* nothingCaption, Kernel&& kernel) {
  SendProgress(host, PROGRESS_BEGIN, 0);
  const DibImage image = ViewDib(header);
  GlobalBlock block;
  if (!block.Allocate(BorderedRasterSize(image, layout))) {
    ShowMemoryMessage(host);
    SendProgress(host, PROGRESS_END, 0);
    return 0;
  }
  const BorderedRaster raster = FillBorderedRaster(image, block.data(), layout);
  int64_t processed = 0;
  if (image.height > 0) {
    RowCadence cadence(host, image.height);
    processed = kernel(image, raster, cadence);
  }
  if (processed == 0) ShowNothingProcessed(host, nothingCaption);
  SendProgress(host, PROGRESS_END, 0);
  block.Release();
  return 1;
}

}  // namespace frame
