// The benchmark: every plug-in found runs through its real FilterProc (via
// vfhost's core) on deterministic photo-like pictures, with its default and
// its heaviest settings, beside a plain copy of the picture (the memory
// floor), the plain reference build where one is kept, and ImageMagick's
// nearest operation when a convert program is given. Prints a Markdown
// table and writes it to the report file (scripts/bench.sh adds the
// machine and writes docs/performance.md).
//
//   vf_bench [--report FILE] [--magick PATH] [--only NAME,...] [--sizes WxH,...]
//            [--reference-budget SECONDS (0: no reference runs)]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "photo_like.h"
#include "vfhost/session.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// A settings file written before the run: stem.dat with these bytes.
struct RecordFile {
  std::string name;
  std::vector<uint8_t> bytes;
};

struct Setup {
  std::string label;                                        // "default" or "heaviest: ..."
  std::vector<std::pair<std::string, std::string>> dialog;  // dialog actions, then the record files
  std::vector<RecordFile> records;
};

std::vector<uint8_t> Le32(int32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
          static_cast<uint8_t>(value >> 24)};
}

// colorreduce / rangestretch record: notice shown, N, method 0, no palette.
std::vector<uint8_t> SurveyRecord(std::size_t size, uint8_t colours) {
  std::vector<uint8_t> bytes(size, 0);
  bytes[1] = colours;
  const std::vector<uint8_t> mark = Le32(0x01000000);
  std::copy(mark.begin(), mark.end(), bytes.begin() + 4);
  return bytes;
}

// Default settings are what the dialog's OK stores untouched (plug-ins
// that refuse to run without a settings file need it); the heaviest are the
// dialog's most expensive choices.
std::vector<Setup> SetupsOf(const std::string& plugin) {
  const Setup byOk{"default", {{"--ok", ""}}, {}};
  if (plugin == "minfilter") {
    return {{"default (one pass)", {{"--uncheck", "1009"}, {"--ok", ""}}, {}},
            {"heaviest: repeated", {{"--check", "1009"}, {"--ok", ""}}, {}}};
  }
  if (plugin == "softblur")
    return {byOk,
            {"heaviest: radius 30 shape 7", {{"--set", "1001=30"}, {"--set", "1003=7"}, {"--ok", ""}}, {}}};
  if (plugin == "radialblur" || plugin == "spinblur")
    return {byOk, {"heaviest: length 100", {{"--set", "1001=100"}, {"--ok", ""}}, {}}};
  if (plugin == "colorreduce") {
    std::vector<uint8_t> defaults = SurveyRecord(1044, 16);
    return {{"default (N 16)", {}, {{"colorreduce.dat", defaults}}},
            {"heaviest: method 0, N 250", {}, {{"colorreduce.dat", SurveyRecord(1044, 250)}}}};
  }
  if (plugin == "rangestretch") {
    std::vector<uint8_t> defaults = SurveyRecord(1048, 16), heaviest = SurveyRecord(1048, 250);
    for (std::vector<uint8_t>* record : {&defaults, &heaviest}) {
      (*record)[1040] = 255;  // target width 255
      (*record)[1042] = 1;    // R, G, B
    }
    return {{"default (N 16)", {}, {{"rangestretch.dat", defaults}}},
            {"heaviest: method 0, N 250", {}, {{"rangestretch.dat", heaviest}}}};
  }
  if (plugin == "edgeextract")
    return {byOk, {"heaviest: HSV measure, T 60", {}, {{"edgeextract.dat", {60, 0, 1, 60, 61, 62, 63, 64}}}}};
  if (plugin == "regionavg") return {byOk, {"heaviest: T 255", {}, {{"regionavg.dat", {255, 0}}}}};
  if (plugin == "jitternoise") {
    std::vector<uint8_t> record;
    for (int32_t value : {1000, 5000, 200}) {
      const std::vector<uint8_t> bytes = Le32(value);
      record.insert(record.end(), bytes.begin(), bytes.end());
    }
    record.insert(record.end(), {5, 0, 0, 0});
    return {byOk, {"heaviest: A 1000, B 5000, C 200", {}, {{"jitternoise.dat", record}}}};
  }
  return {byOk};
}

// ImageMagick's nearest operation for each plug-in and setup (empty: none).
std::string MagickOperation(const std::string& plugin, bool heaviest) {
  static const std::map<std::string, std::pair<std::string, std::string>> kOperations = {
      {"maxfilter", {"-morphology Dilate Square:1", ""}},
      {"minfilter", {"-morphology Erode Square:1", ""}},
      {"despeckle", {"-despeckle", ""}},
      {"edgeblur", {"-blur 1x1", ""}},
      {"softblur", {"-blur 10x5", "-blur 30x15"}},
      {"radialblur", {"-motion-blur 0x5+45", "-motion-blur 0x50+45"}},
      {"spinblur", {"-rotational-blur 5", "-rotational-blur 30"}},
      {"edgeextract", {"-edge 1", ""}},
      {"rangestretch", {"-contrast-stretch 0", "-contrast-stretch 0"}},
      {"colorreduce", {"+dither -colors 16", "+dither -colors 250"}},
      {"ditherbw", {"-colorspace Gray -ordered-dither o8x8", ""}},
      {"regionavg", {"-selective-blur 0x1+25%", "-selective-blur 0x1+100%"}},
      {"jitternoise", {"-spread 3", "-spread 3"}},
      {"diffuseblur", {"-spread 1", ""}},
      {"scroll", {"-roll +100+100", ""}},
      {"clearback", {"-transparent white", ""}},
      {"opaquefill", {"-alpha opaque", ""}},
      {"fullscroll", {"-roll +100+100", ""}},
  };
  const auto found = kOperations.find(plugin);
  if (found == kOperations.end()) return "";
  return heaviest && !found->second.second.empty() ? found->second.second : found->second.first;
}

struct Size {
  int32_t width, height;
};

struct Options {
  std::string report;
  std::string magick;
  std::vector<std::string> only;
  std::vector<Size> sizes = {{1000, 750}, {4000, 3000}};
  // A reference or ImageMagick run expected to take longer on the larger
  // picture is skipped.
  double referenceBudgetSeconds = 30;
};

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  std::stringstream stream(text);
  for (std::string item; std::getline(stream, item, ',');)
    if (!item.empty()) items.push_back(item);
  return items;
}

void CopyFolder(const fs::path& from, const fs::path& to) {
  fs::remove_all(to);
  fs::create_directories(to);
  for (const fs::directory_entry& entry : fs::directory_iterator(from))
    fs::copy_file(entry.path(), to / entry.path().filename());
}

// Makes the settings folder a setup asks for; returns "" or what went wrong.
std::string PrepareSettings(vfhost::Plugin& plugin, const Setup& setup, const fs::path& folder) {
  fs::remove_all(folder);
  fs::create_directories(folder);
  vfhost::RunOptions options;
  options.settingsDir = folder.string();
  if (!setup.dialog.empty()) {
    std::vector<vfhost::DialogAction> actions;
    for (const auto& [option, argument] : setup.dialog) {
      vfhost::DialogAction action;
      const std::string error = vfhost::ParseDialogAction(option, argument, action);
      if (!error.empty()) return error;
      actions.push_back(action);
    }
    const vfhost::OptionsOutcome outcome = plugin.RunOptions(actions, options);
    if (!outcome.errors.empty()) return outcome.errors.front();
  }
  for (const RecordFile& record : setup.records) {
    std::ofstream file(folder / record.name, std::ios::binary);
    file.write(reinterpret_cast<const char*>(record.bytes.data()),
               static_cast<std::streamsize>(record.bytes.size()));
  }
  return "";
}

// Runs f until at least minimumSeconds have passed (at most five times) and
// returns the fastest run.
double FastestRun(const std::function<double()>& run, double minimumSeconds = 0.5) {
  double fastest = run(), total = fastest;
  for (int repeat = 1; repeat < 5 && total < minimumSeconds; ++repeat) {
    const double seconds = run();
    total += seconds;
    fastest = std::min(fastest, seconds);
  }
  return fastest;
}

template <typename F>
double SecondsOf(F&& work) {
  const Clock::time_point start = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

vfhost::LayeredImage LayeredOf(const vfhost::Dib& dib) {
  vfhost::LayeredImage layered(dib.width(), dib.height());
  for (int32_t y = 0; y < dib.height(); ++y) {
    for (int32_t x = 0; x < dib.width(); ++x) {
      const uint8_t* pixel = dib.Pixel(dib.height() - 1 - y, x);
      uint8_t* colour = &layered.colour[(static_cast<std::size_t>(y) * dib.width() + x) * 3];
      std::memcpy(colour, pixel, 3);
      // A white paper behind the picture's lower right quarter, for the
      // transparency filters.
      if (y > dib.height() / 2 && x > dib.width() / 2) std::memset(colour, 255, 3);
    }
  }
  return layered;
}

// One timed FilterProc call on a fresh copy of the picture and settings.
double TimeRun(vfhost::Plugin& plugin, const vfhost::Dib& picture, const vfhost::LayeredImage& layered,
               const fs::path& settings, const fs::path& scratch, int32_t& result) {
  CopyFolder(settings, scratch);
  vfhost::RunOptions options;
  options.settingsDir = scratch.string();
  if (plugin.Kind() == 0) {
    vfhost::Dib image = picture;
    return SecondsOf([&] { result = plugin.RunDib(image, options).result; });
  }
  vfhost::LayeredImage image = layered;
  return SecondsOf([&] { result = plugin.RunLineAccess(image, options).result; });
}

// ImageMagick on the same picture as raw RGB, one thread (the plug-ins use
// none of their own); the read and write of a plain pass are subtracted.
double MagickSeconds(const std::string& convert, const std::string& operation, const fs::path& raw, Size size,
                     const fs::path& out) {
  const std::string common = convert + " -limit thread 1 -size " + std::to_string(size.width) + "x" +
                             std::to_string(size.height) + " -depth 8 rgb:" + raw.string() + " ";
  const std::string plain = common + "rgb:" + out.string() + " 2>/dev/null";
  const std::string work = common + operation + " rgb:" + out.string() + " 2>/dev/null";
  const double io = FastestRun([&] { return SecondsOf([&] { (void)std::system(plain.c_str()); }); }, 0.1);
  int status = 0;
  const double total =
      FastestRun([&] { return SecondsOf([&] { status = std::system(work.c_str()); }); }, 0.1);
  if (status != 0) return -1;
  // Under a twentieth of the read and write: lost in their noise.
  return total - io < io / 20 ? 0 : total - io;
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string SecondsText(double seconds) {
  if (seconds < 0) return "—";
  if (seconds < 0.1) return Fixed(seconds * 1000, 1) + " ms";
  return Fixed(seconds, 2) + " s";
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i], value = argv[i + 1];
    if (option == "--report")
      options.report = value;
    else if (option == "--magick")
      options.magick = value;
    else if (option == "--only")
      options.only = SplitList(value);
    else if (option == "--reference-budget")
      options.referenceBudgetSeconds = std::atof(value.c_str());
    else if (option == "--sizes") {
      options.sizes.clear();
      for (const std::string& item : SplitList(value)) {
        Size size{};
        if (std::sscanf(item.c_str(), "%dx%d", &size.width, &size.height) == 2) options.sizes.push_back(size);
      }
    } else {
      std::cerr << "unknown option " << option << "\n";
      return 2;
    }
  }

  const fs::path work = fs::temp_directory_path() / ("vf_bench_" + std::to_string(::getpid()));
  fs::create_directories(work);
  std::vector<std::string> plugins = vfhost::FindPlugins(VF_PLUGIN_DIR);
  if (!options.only.empty()) {
    std::vector<std::string> chosen;
    for (const std::string& name : plugins)
      if (std::find(options.only.begin(), options.only.end(), name) != options.only.end())
        chosen.push_back(name);
    plugins = chosen;
  }

  std::ostringstream table;
  table << "| Plug-in | Settings | Picture | Time | MP/s | Copy ratio | Reference | Speed-up | ImageMagick "
           "(1 thread) | IM time ÷ ours |\n"
        << "|---|---|---|---:|---:|---:|---:|---:|---:|---:|\n";
  std::cout << table.str() << std::flush;

  for (const Size size : options.sizes) {
    const vfhost::Dib picture = vftest::PhotoLikeDib(size.width, size.height, 1);
    const vfhost::LayeredImage layered = LayeredOf(picture);
    const double megapixels = static_cast<double>(size.width) * size.height / 1e6;
    const std::string sizeText = std::to_string(size.width) + "×" + std::to_string(size.height);

    // The memory floor: one plain copy of the picture's bytes.
    std::vector<uint8_t> copy(picture.bytes().size());
    const double copySeconds = FastestRun(
        [&] { return SecondsOf([&] { std::memcpy(copy.data(), picture.bytes().data(), copy.size()); }); });
    {
      std::ostringstream row;
      row << "| (copy) | — | " << sizeText << " | " << SecondsText(copySeconds) << " | "
          << Fixed(megapixels / copySeconds, 0) << " | 1.0 | | | | |\n";
      table << row.str();
      std::cout << row.str() << std::flush;
    }

    fs::path raw = work / "picture.rgb";
    if (!options.magick.empty()) {
      std::ofstream file(raw, std::ios::binary);
      for (int32_t y = size.height - 1; y >= 0; --y)
        for (int32_t x = 0; x < size.width; ++x) {
          const uint8_t* pixel = picture.Pixel(y, x);
          const char rgb[3] = {static_cast<char>(pixel[2]), static_cast<char>(pixel[1]),
                               static_cast<char>(pixel[0])};
          file.write(rgb, 3);
        }
    }

    for (const std::string& name : plugins) {
      std::string error;
      std::unique_ptr<vfhost::Plugin> plugin = vfhost::Plugin::Load(name, VF_PLUGIN_DIR, error);
      if (!plugin) {
        std::cerr << name << ": " << error << "\n";
        continue;
      }
      const fs::path referencePath = fs::path(VF_REFERENCE_PLUGIN_DIR) / vfhost::PluginFileName(name);
      std::unique_ptr<vfhost::Plugin> reference;
      if (fs::exists(referencePath))
        reference = vfhost::Plugin::Load(referencePath.string(), VF_PLUGIN_DIR, error);

      const std::vector<Setup> setups = SetupsOf(name);
      for (std::size_t index = 0; index < setups.size(); ++index) {
        const Setup& setup = setups[index];
        const fs::path settings = work / (name + "_settings");
        const std::string problem = PrepareSettings(*plugin, setup, settings);
        if (!problem.empty()) std::cerr << name << " " << setup.label << ": " << problem << "\n";
        int32_t result = 0;
        const double seconds =
            FastestRun([&] { return TimeRun(*plugin, picture, layered, settings, work / "run", result); });

        std::string referenceText, speedUpText;
        if (reference) {
          // On the larger picture the reference's time is estimated from the
          // smaller one (the plain survey grows with pixels x groups, the
          // others with pixels) and the run skipped when over the budget.
          static std::map<std::string, double> smallReference;
          const std::string key = name + "/" + setup.label;
          bool run = options.referenceBudgetSeconds > 0;
          if (run && smallReference.count(key)) {
            const double ratio = megapixels / smallReference[key + "/mp"];
            const bool bySeeds = name == "colorreduce" || name == "rangestretch";
            run = smallReference[key] * ratio * (bySeeds ? ratio : 1) <= options.referenceBudgetSeconds;
          }
          if (run) {
            PrepareSettings(*reference, setup, settings);
            int32_t referenceResult = 0;
            const double referenceSeconds =
                TimeRun(*reference, picture, layered, settings, work / "run", referenceResult);
            smallReference[key] = referenceSeconds;
            smallReference[key + "/mp"] = megapixels;
            referenceText = SecondsText(referenceSeconds);
            speedUpText = Fixed(referenceSeconds / seconds, 1) + "×";
          } else {
            referenceText = "over " + Fixed(options.referenceBudgetSeconds, 0) + " s (skipped)";
          }
        }

        std::string magickText, versusText;
        const std::string operation = MagickOperation(name, index > 0);
        // ImageMagick's heavy operations are slow on the larger picture:
        // estimated from the smaller one, skipped when over the budget.
        static std::map<std::string, std::pair<double, double>> smallMagick;  // seconds, megapixels
        const std::string magickKey = name + "/" + setup.label;
        bool magickRuns = !options.magick.empty() && !operation.empty();
        if (magickRuns && smallMagick.count(magickKey)) {
          const auto& [smallSeconds, smallMegapixels] = smallMagick[magickKey];
          magickRuns = smallSeconds * megapixels / smallMegapixels <= options.referenceBudgetSeconds;
          if (!magickRuns)
            magickText =
                "`" + operation + "` over " + Fixed(options.referenceBudgetSeconds, 0) + " s (skipped)";
        }
        if (magickRuns) {
          const double magick = MagickSeconds(options.magick, operation, raw, size, work / "out.rgb");
          smallMagick[magickKey] = {magick, megapixels};
          magickText = "`" + operation + "` " +
                       (magick == 0 ? std::string("≈ 0 (within I/O noise)") : SecondsText(magick));
          if (magick > 0) versusText = Fixed(magick / seconds, 2) + "×";
        }

        std::ostringstream row;
        row << "| " << name << " | " << setup.label
            << (result == 1 ? "" : " (returned " + std::to_string(result) + ")") << " | " << sizeText << " | "
            << SecondsText(seconds) << " | " << Fixed(megapixels / seconds, 1) << " | "
            << Fixed(seconds / copySeconds, 0) << " | " << referenceText << " | " << speedUpText << " | "
            << magickText << " | " << versusText << " |\n";
        table << row.str();
        std::cout << row.str() << std::flush;
      }
    }
  }
  fs::remove_all(work);

  if (!options.report.empty()) {
    std::ofstream report(options.report);
    report << table.str();
  }
  return 0;
}
