// Shared by the reliability suites: every plug-in with the shape of its
// settings file, random pictures, and one call of a plug-in on a picture of
// either kind, with what the call left behind.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "support/plugin_test.h"
#include "support/temp_dir.h"
#include "vfhost/session.h"

namespace reliability {

struct PluginShape {
  const char* name;
  bool lineAccess;        // kind 10
  const char* stem;       // the settings file is <dir><stem>.dat
  size_t recordSize;      // bytes of the record (after the signature, if any)
  const char* signature;  // "" when the file is the bare record
  // A plug-in whose run lasts as long as its stored counts ask (the user
  // stops it with ESC): the hostile tables press ESC at this poll and keep
  // the counts' high bytes (these file offsets) at 0, so that a run on wild
  // counts ends in a bounded time. 0 and none for every other plug-in.
  long userEscFromPoll = 0;
  std::vector<size_t> boundedCountBytes = {};
  // Stopped early, the plug-in works from a partial survey (or keeps noise
  // added so far), so a pixel may end neither as it was nor as a full run
  // makes it.
  bool stoppedRunDiffers = false;
};

inline void PrintTo(const PluginShape& plugin, std::ostream* out) {
  *out << plugin.name;
}

inline const std::vector<PluginShape>& AllPlugins() {
  static const std::vector<PluginShape> plugins = {
      {"clearback", true, "clearback", 8, ""},
      {"colorreduce", false, "colorreduce", 1044, "", 0, {}, true},
      {"despeckle", false, "despeckle", 2, ""},
      {"diffuseblur", false, "diffuseblur", 1, ""},
      {"ditherbw", false, "ditherbw", 51, ""},
      {"edgeblur", false, "edgeblur", 2, ""},
      {"edgeextract", false, "edgeextract", 8, ""},
      {"fullscroll", true, "fullscroll", 8, ""},
      {"jitternoise", false, "jitternoise", 16, "", 3, {2, 3, 6, 7, 10, 11}, true},
      {"maxfilter", false, "maxfilter", 3, ""},
      {"minfilter", false, "minfilter", 4, ""},
      {"opaquefill", true, "opaquefill", 80, ""},
      {"radialblur", false, "radialblur", 9, "rdlblr"},
      {"rangestretch", false, "rangestretch", 1048, "", 0, {}, true},
      {"regionavg", false, "regionavg", 2, ""},
      {"scroll", false, "scroll", 8, ""},
      {"softblur", false, "softblur", 4, "sftbl2"},
      {"spinblur", false, "spinblur", 9, "spnblr"},
  };
  return plugins;
}

inline std::string PluginTestName(const testing::TestParamInfo<PluginShape>& info) {
  return info.param.name;
}

inline std::vector<uint8_t> RandomBytes(size_t count, uint32_t seed) {
  std::mt19937 generator(seed);
  std::vector<uint8_t> bytes(count);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(generator());
  return bytes;
}

// A picture of either kind, filled with random colours (and random alpha
// and mask for kind 10), that can be handed to the plug-in again unchanged.
struct Picture {
  vfhost::Dib dib;
  vfhost::LayeredImage layers;
  bool lineAccess = false;

  static Picture Random(const PluginShape& plugin, int32_t width, int32_t height, uint32_t seed) {
    Picture picture;
    std::mt19937 generator(seed);
    picture.lineAccess = plugin.lineAccess;
    if (plugin.lineAccess) {
      picture.layers = vfhost::LayeredImage(width, height);
      for (uint8_t& byte : picture.layers.colour) byte = static_cast<uint8_t>(generator());
      for (uint8_t& byte : picture.layers.alpha) byte = static_cast<uint8_t>(generator());
      for (uint8_t& byte : picture.layers.mask)
        byte = (generator() & 3) ? 255 : static_cast<uint8_t>(generator());
    } else {
      picture.dib = vfhost::Dib(width, height);
      for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
          picture.dib.SetPixel(y, x, static_cast<uint8_t>(generator()), static_cast<uint8_t>(generator()),
                               static_cast<uint8_t>(generator()));
    }
    return picture;
  }

  // Every byte the plug-in could change, for comparisons.
  std::vector<uint8_t> Bytes() const {
    if (!lineAccess) return dib.bytes();
    std::vector<uint8_t> bytes = layers.colour;
    bytes.insert(bytes.end(), layers.alpha.begin(), layers.alpha.end());
    bytes.insert(bytes.end(), layers.mask.begin(), layers.mask.end());
    return bytes;
  }
};

inline vfhost::RunOutcome Run(vfhost::Plugin& plugin, const PluginShape& shape, Picture& picture,
                              const vfhost::RunOptions& options) {
  return shape.lineAccess ? plugin.RunLineAccess(picture.layers, options)
                          : plugin.RunDib(picture.dib, options);
}

inline std::string SettingsPath(const vftest::TempDir& dir, const PluginShape& plugin) {
  return dir.path() + plugin.stem + ".dat";
}

inline vfhost::RunOptions PinnedOptions(const vftest::TempDir& dir, const PluginShape& plugin) {
  vfhost::RunOptions options = vftest::OptionsFor(dir);
  options.time = 1700000000;  // the random plug-ins then draw the same numbers every run
  if (plugin.userEscFromPoll) options.escFromPoll = plugin.userEscFromPoll;
  return options;
}

// The bytes of a hostile settings file as the tables lay it down (see
// boundedCountBytes).
inline std::vector<uint8_t> Bounded(const PluginShape& plugin, std::vector<uint8_t> bytes) {
  for (size_t offset : plugin.boundedCountBytes)
    if (offset < bytes.size()) bytes[offset] = 0;
  return bytes;
}

}  // namespace reliability
