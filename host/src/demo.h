// `vfhost demo`: built-in sample pictures, the plan of which sample and which
// dialog actions each plug-in gets, and the drawing of the overview.
#pragma once

#include <cstdint>
#include <string>

#include "vfhost/images.h"

namespace vfhost::demo {

enum class Sample {
  Photo,    // gradients, shapes and noise, as a photograph has them
  LineArt,  // black lines on white, with specks for the rank filters
  Layered,  // a picture with transparency and a protected (masked) area
};

struct PlanEntry {
  const char* plugin;
  Sample sample;
  // Dialog actions run through `options` before the run, written as on the
  // command line ("--set 1001=3 --ok"); empty for none.
  const char* options;
  // Further runs with the same settings folder, each after its own dialog
  // actions, separated by ';' ("--click 1012 --ok; --click 1013 --ok"), to
  // show what a plug-in keeps from one run to the next. Their pictures are
  // NAME-2, NAME-3, ...
  const char* laterRuns = "";
};

// The entry of the plug-in, or null for one the plan does not name (those
// run on the photo, or the layered sample for kind 10, with no options).
const PlanEntry* FindPlanEntry(const std::string& plugin);

// The samples, the same on every run.
RgbaImage MakePhotoSample();
RgbaImage MakeLineArtSample();
LayeredImage MakeLayeredSample();
const char* SampleName(Sample sample);

// ASCII text in a 5 x 7 pixel font, one pixel between letters; characters
// outside printable ASCII are drawn as '?'.
constexpr int kGlyphWidth = 5, kGlyphHeight = 7, kGlyphAdvance = 6;
void DrawText(RgbaImage& image, int32_t x, int32_t y, const std::string& text, uint32_t rgb);
int32_t TextWidth(const std::string& text);

}  // namespace vfhost::demo
