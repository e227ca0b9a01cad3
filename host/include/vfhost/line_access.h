// The host's side of the line-access interface (kind 10): the write and read
// tables of line functions over a layered image.
#pragma once

#include "frame/line_access_types.h"
#include "vfhost/images.h"
#include "vfhost/session.h"

namespace vfhost {

// While an object of this class lives, the tables reach its image: the write
// table stores into image; the read table reads image itself (shared storage)
// or a copy of it taken at construction (separate storage). One at a time per
// thread; the line functions are plain C functions, as a plug-in calls them.
class LineAccessSession {
 public:
  LineAccessSession(LayeredImage& image, bool sharedStorage);
  ~LineAccessSession();
  LineAccessSession(const LineAccessSession&) = delete;
  LineAccessSession& operator=(const LineAccessSession&) = delete;

  const frame::ImageSize* size() const { return &size_; }
  const frame::LineAccessTable* writeTable() const;
  const frame::LineAccessTable* readTable() const;
  const LineCallCounts& counts() const { return counts_; }

  struct Storage;

 private:
  frame::ImageSize size_;
  LayeredImage readCopy_;
  LineCallCounts counts_;
  Storage* storage_;
  Storage* previous_;
};

}  // namespace vfhost
