// Helpers for the tests of the line-access plug-ins: layered pictures built
// and read by pixel, settings records of 32-bit words, and a fixture that
// runs every case with the host's tables on one shared storage and on
// separate copies.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "../support/plugin_test.h"
#include "vfhost/images.h"

namespace vftest {

struct Bgr {
  uint8_t blue, green, red;
  bool operator==(const Bgr& other) const {
    return blue == other.blue && green == other.green && red == other.red;
  }
};
inline std::ostream& operator<<(std::ostream& out, const Bgr& c) {
  return out << "(b " << int{c.blue} << ", g " << int{c.green} << ", r " << int{c.red} << ")";
}
inline Bgr Grey(uint8_t level) {
  return Bgr{level, level, level};
}
constexpr Bgr kWhite{255, 255, 255};
constexpr Bgr kBlack{0, 0, 0};

inline vfhost::LayeredImage UniformLayers(int32_t width, int32_t height, Bgr colour, uint8_t alpha,
                                          uint8_t mask) {
  vfhost::LayeredImage image(width, height);
  for (int32_t i = 0; i < width * height; ++i) {
    image.colour[3 * i] = colour.blue;
    image.colour[3 * i + 1] = colour.green;
    image.colour[3 * i + 2] = colour.red;
    image.alpha[i] = alpha;
    image.mask[i] = mask;
  }
  return image;
}

// Row y counts from the top.
inline std::size_t PixelIndex(const vfhost::LayeredImage& image, int32_t x, int32_t y) {
  return static_cast<std::size_t>(y) * image.width + x;
}
inline Bgr ColourAt(const vfhost::LayeredImage& image, int32_t x, int32_t y) {
  const uint8_t* p = &image.colour[3 * PixelIndex(image, x, y)];
  return Bgr{p[0], p[1], p[2]};
}
inline void SetColour(vfhost::LayeredImage& image, int32_t x, int32_t y, Bgr colour) {
  uint8_t* p = &image.colour[3 * PixelIndex(image, x, y)];
  p[0] = colour.blue;
  p[1] = colour.green;
  p[2] = colour.red;
}
inline uint8_t& AlphaAt(vfhost::LayeredImage& image, int32_t x, int32_t y) {
  return image.alpha[PixelIndex(image, x, y)];
}
inline uint8_t& MaskAt(vfhost::LayeredImage& image, int32_t x, int32_t y) {
  return image.mask[PixelIndex(image, x, y)];
}
inline uint8_t AlphaAt(const vfhost::LayeredImage& image, int32_t x, int32_t y) {
  return image.alpha[PixelIndex(image, x, y)];
}
inline uint8_t MaskAt(const vfhost::LayeredImage& image, int32_t x, int32_t y) {
  return image.mask[PixelIndex(image, x, y)];
}

// A settings record of little-endian 32-bit words.
inline std::vector<uint8_t> WordBytes(const std::vector<uint32_t>& words) {
  std::vector<uint8_t> bytes;
  for (uint32_t word : words)
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(word >> shift));
  return bytes;
}

using ProgressList = std::vector<std::pair<int32_t, int64_t>>;
inline ProgressList Percent(std::initializer_list<int64_t> values) {
  ProgressList list;
  for (int64_t value : values) list.emplace_back(3, value);
  return list;
}
inline ProgressList Append(ProgressList list, const ProgressList& more) {
  list.insert(list.end(), more.begin(), more.end());
  return list;
}

// The parameter: true when the read and write tables reach one storage.
class LineAccessPluginTest : public testing::TestWithParam<bool> {
 protected:
  explicit LineAccessPluginTest(const char* name) : name_(name) {}
  void SetUp() override {
    plugin_ = LoadPlugin(name_);
    ASSERT_TRUE(plugin_);
  }

  std::string SettingsPath() const { return settings_.path() + name_ + ".dat"; }
  void WriteSettings(const std::vector<uint8_t>& bytes) { WriteFileBytes(SettingsPath(), bytes); }
  std::vector<uint8_t> SavedSettings() const { return ReadFileBytes(SettingsPath()); }

  vfhost::RunOptions Options() const {
    vfhost::RunOptions options = OptionsFor(settings_);
    options.sharedStorage = GetParam();
    return options;
  }
  vfhost::RunOutcome Run(vfhost::LayeredImage& image) { return Run(image, Options()); }
  vfhost::RunOutcome Run(vfhost::LayeredImage& image, const vfhost::RunOptions& options) {
    vfhost::RunOutcome outcome = plugin_->RunLineAccess(image, options);
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.liveAllocations, 0);
    EXPECT_EQ(outcome.lineCalls.ignored, 0) << "a transfer reached outside the picture";
    return outcome;
  }
  vfhost::OptionsOutcome Dialog(const std::vector<vfhost::DialogAction>& actions) {
    return plugin_->RunOptions(actions, OptionsFor(settings_));
  }

  const char* name_;
  std::unique_ptr<vfhost::Plugin> plugin_;
  TempDir settings_;
};

inline std::string StorageName(const testing::TestParamInfo<bool>& info) {
  return info.param ? "SharedStorage" : "SeparateStorage";
}

}  // namespace vftest
