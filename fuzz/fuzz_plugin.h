// Shared by the plug-in fuzz targets: the plug-in named by VF_FUZZ_PLUGIN,
// loaded once, a private settings folder, and the settings file laid down
// from the fuzz input before each call.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "vfhost/session.h"

namespace vffuzz {

inline vfhost::Plugin& FuzzedPlugin() {
  static std::unique_ptr<vfhost::Plugin> plugin = [] {
    const char* name = std::getenv("VF_FUZZ_PLUGIN");
    if (!name || !*name) {
      std::fprintf(stderr, "set VF_FUZZ_PLUGIN to the plug-in to fuzz (a name in %s)\n", VF_PLUGIN_DIR);
      std::exit(2);
    }
    std::string error;
    std::unique_ptr<vfhost::Plugin> loaded = vfhost::Plugin::Load(name, VF_PLUGIN_DIR, error);
    if (!loaded) {
      std::fprintf(stderr, "%s\n", error.c_str());
      std::exit(2);
    }
    return loaded;
  }();
  return *plugin;
}

inline const std::string& SettingsFolder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/vffuzz-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) std::abort();
    return std::string(made) + "/";
  }();
  return folder;
}

// Takes a settings file from the input: a length byte, then that many bytes
// (0xFF: no file at all). The file's name is the plug-in's settings file,
// found as the one file its dialog saves.
inline void LayDownSettings(FuzzedDataProvider& input, const std::string& fileName) {
  const std::string path = SettingsFolder() + fileName;
  std::remove(path.c_str());
  const uint8_t length = input.ConsumeIntegral<uint8_t>();
  if (length == 0xFF) return;
  std::string bytes = input.ConsumeBytesAsString(length);
  // jitternoise runs as long as its three stored counts ask, polling ESC
  // only between clusters; their high bytes stay 0 so that one cluster
  // cannot take minutes.
  if (fileName == "jitternoise.dat")
    for (size_t offset : {2, 3, 6, 7, 9, 10, 11})
      if (offset < bytes.size()) bytes[offset] = 0;
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The settings file's name: the plug-in's name with ".dat" (every plug-in
// keeps its record there).
inline std::string SettingsFileName() {
  return std::string(std::getenv("VF_FUZZ_PLUGIN")) + ".dat";
}

inline vfhost::RunOptions FuzzOptions(FuzzedDataProvider& input) {
  vfhost::RunOptions options;
  options.settingsDir = SettingsFolder();
  options.time = input.ConsumeIntegralInRange<int64_t>(0, 4000000000);
  // ESC always comes: a wild record may ask for a run without end, which
  // the user would stop.
  options.escFromPoll = input.ConsumeIntegralInRange<int64_t>(1, 300);
  options.failAllocation = input.ConsumeIntegralInRange<long>(0, 3);
  return options;
}

[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace vffuzz
