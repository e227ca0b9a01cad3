// spinblur's settings: the line blur record (length, centre), stored after the
// signature "spnblr" in the signed file "spinblur.dat" (15 bytes).
#pragma once

#include "line_blur.h"

namespace spinblur {

using Settings = blur::LineBlurSettings;

// The file's format and the plug-in's way of drawing each pixel's line.
const blur::LineBlurPlugin& Plugin();

// The dialog's record and the path of the file, kept while the library is
// loaded.
Settings& DialogSettings();
blur::SettingsPath& SettingsPath();

}  // namespace spinblur
