// FilterProc of the plug-in named by VF_FUZZ_PLUGIN, on a settings file, a
// picture size and pixels taken from the fuzz input. Besides the
// sanitizers' checks: the result is 0 or 1 and no working memory is left.
#include <vector>

#include "fuzz_plugin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  vfhost::Plugin& plugin = vffuzz::FuzzedPlugin();
  vffuzz::LayDownSettings(input, vffuzz::SettingsFileName());
  const vfhost::RunOptions options = vffuzz::FuzzOptions(input);
  // Mostly small pictures; now and then a long thin one.
  const bool thin = input.ConsumeBool();
  int32_t width = input.ConsumeIntegralInRange<int32_t>(1, thin ? 3 : 48);
  int32_t height = input.ConsumeIntegralInRange<int32_t>(1, thin ? 3000 : 48);
  if (input.ConsumeBool()) std::swap(width, height);
  const std::vector<uint8_t> pixels = input.ConsumeRemainingBytes<uint8_t>();
  auto pixel = [&](size_t i) { return pixels.empty() ? uint8_t{0} : pixels[i % pixels.size()]; };

  vfhost::RunOutcome outcome;
  if (plugin.Kind() == 10) {
    vfhost::LayeredImage image(width, height);
    size_t i = 0;
    for (uint8_t& byte : image.colour) byte = pixel(i++);
    for (uint8_t& byte : image.alpha) byte = pixel(i++);
    for (uint8_t& byte : image.mask) byte = pixel(i++);
    outcome = plugin.RunLineAccess(image, options);
  } else {
    vfhost::Dib image(width, height);
    size_t i = 0;
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x, i += 3) image.SetPixel(y, x, pixel(i), pixel(i + 1), pixel(i + 2));
    outcome = plugin.RunDib(image, options);
  }
  if (outcome.result != 0 && outcome.result != 1) vffuzz::Fail("FilterProc returned neither 0 nor 1");
  if (outcome.liveAllocations != 0) vffuzz::Fail("working memory left allocated");
  return 0;
}
