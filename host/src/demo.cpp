// `vfhost demo`: every plug-in of the folder run with its default settings on
// a built-in sample, the results written beside an overview picture and an
// HTML index.
#include "demo.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "cli.h"
#include "vfhost/images.h"
#include "vfhost/session.h"

namespace vfhost::cli {

const char kDemoHelp[] =
    "usage: vfhost demo [--out DIR] [--plugins DIR]\n"
    "\n"
    "Makes the built-in sample pictures, runs every plug-in found with its default\n"
    "settings (each in a fresh settings folder) and writes DIR/NAME.png for each,\n"
    "DIR/overview.png (the samples and every result, labelled) and DIR/index.html.\n"
    "DIR defaults to demo-out/.\n";

}  // namespace vfhost::cli

namespace vfhost::demo {
namespace {

namespace fs = std::filesystem;

// The clock the plug-ins see during the demo, so that the random filters
// give the same pictures on every run (native build).
constexpr int64_t kDemoTime = 1700000000;

struct DemoResult {
  std::string name, title, file, note;
  int32_t kind = 0;
  bool ran = false;
  int32_t value = 0;
  std::vector<std::string> messages;
  RgbaImage picture;
};

struct SampleSet {
  RgbaImage photo, lineArt;
  LayeredImage layered;
};

// A settings folder of its own for one plug-in's run, removed afterwards.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::random_device random;
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const fs::path candidate = base / ("vfhost-demo-" + std::to_string(random()));
      std::error_code error;
      if (fs::create_directory(candidate, error)) path_ = candidate;
    }
  }
  ~TemporaryFolder() {
    std::error_code error;
    if (!path_.empty()) fs::remove_all(path_, error);
  }
  bool ok() const { return !path_.empty(); }
  std::string path() const { return WithTrailingSeparator(path_.string()); }

 private:
  fs::path path_;
};

// Splits "--set 1001=3 --ok" into dialog actions.
bool ParsePlanOptions(const std::string& text, std::vector<DialogAction>& actions, std::string& error) {
  std::istringstream words(text);
  std::string option;
  while (words >> option) {
    std::string argument;
    if (DialogActionTakesArgument(option) && !(words >> argument)) {
      error = option + " lacks its argument";
      return false;
    }
    DialogAction action;
    error = ParseDialogAction(option, argument, action);
    if (!error.empty()) return false;
    actions.push_back(action);
  }
  return true;
}

std::vector<std::string> MessagesOf(const std::vector<Event>& events) {
  std::vector<std::string> messages;
  for (const Event& event : events)
    if (event.type == Event::Type::Message) messages.push_back(event.caption + ": " + event.text);
  return messages;
}

// The dialog actions of each run of a plug-in: the plan's first actions,
// then one set per later run.
std::vector<std::string> RunStages(const PlanEntry* entry) {
  std::vector<std::string> stages = {entry ? entry->options : ""};
  if (entry == nullptr) return stages;
  std::istringstream later(entry->laterRuns);
  std::string stage;
  while (std::getline(later, stage, ';')) {
    const std::size_t first = stage.find_first_not_of(' ');
    if (first != std::string::npos) stages.push_back(stage.substr(first));
  }
  return stages;
}

// One run of the plug-in in the settings folder, after its dialog actions.
DemoResult RunStage(Plugin& plugin, const std::string& label, const std::string& stage, Sample sample,
                    const RunOptions& options, const SampleSet& samples) {
  DemoResult result;
  result.name = label;
  result.title = plugin.TitleUtf8();
  result.kind = plugin.Kind();
  std::vector<DialogAction> actions;
  std::string error;
  if (!stage.empty()) {
    if (!ParsePlanOptions(stage, actions, error)) {
      result.note = "demo plan: " + error;
      return result;
    }
    const OptionsOutcome dialog = plugin.RunOptions(actions, options);
    for (const std::string& message : MessagesOf(dialog.events)) result.messages.push_back(message);
    if (!dialog.errors.empty()) {
      result.note = "dialog: " + dialog.errors.front();
      return result;
    }
  }

  RunOutcome outcome;
  if (result.kind == 10) {
    LayeredImage layers = sample == Sample::Layered
                              ? samples.layered
                              : LayeredFromRgba(sample == Sample::LineArt ? samples.lineArt : samples.photo);
    outcome = plugin.RunLineAccess(layers, options);
    result.picture = RgbaFromLayered(layers);
  } else {
    const RgbaImage& input = sample == Sample::LineArt   ? samples.lineArt
                             : sample == Sample::Layered ? RgbaFromLayered(samples.layered)
                                                         : samples.photo;
    Dib dib = DibFromRgba(input);
    outcome = plugin.RunDib(dib, options);
    result.picture = RgbaFromDib(dib);
  }
  if (!outcome.error.empty()) {
    result.note = outcome.error;
    return result;
  }
  result.ran = true;
  result.value = outcome.result;
  for (const std::string& message : MessagesOf(outcome.events)) result.messages.push_back(message);
  result.note = std::string("on the ") + SampleName(sample) + (actions.empty() ? "" : ", after " + stage);
  return result;
}

// Every run the plan gives the plug-in, in one settings folder of its own.
std::vector<DemoResult> RunPlan(const std::string& name, const std::string& pluginDir,
                                const SampleSet& samples) {
  DemoResult failed;
  failed.name = name;
  std::string error;
  std::unique_ptr<Plugin> plugin = Plugin::Load(name, pluginDir, error);
  if (!plugin) {
    failed.note = error;
    return {failed};
  }
  const PlanEntry* entry = FindPlanEntry(name);
  const Sample sample = entry ? entry->sample : plugin->Kind() == 10 ? Sample::Layered : Sample::Photo;

  TemporaryFolder settings;
  if (!settings.ok()) {
    failed.note = "no temporary settings folder";
    return {failed};
  }
  RunOptions options;
  options.settingsDir = settings.path();
  options.time = kDemoTime;

  std::vector<DemoResult> results;
  const std::vector<std::string> stages = RunStages(entry);
  for (std::size_t k = 0; k < stages.size(); ++k) {
    const std::string label = k == 0 ? name : name + "-" + std::to_string(k + 1);
    results.push_back(RunStage(*plugin, label, stages[k], sample, options, samples));
    if (!results.back().ran) break;
  }
  return results;
}

// A picture flattened onto a grey checkerboard, so that transparency shows.
void PasteOnCheckerboard(RgbaImage& canvas, const RgbaImage& picture, int32_t left, int32_t top) {
  for (int32_t y = 0; y < picture.height; ++y) {
    for (int32_t x = 0; x < picture.width; ++x) {
      const int32_t cx = left + x, cy = top + y;
      if (cx >= canvas.width || cy >= canvas.height) continue;
      const uint8_t* p = &picture.rgba[(static_cast<size_t>(y) * picture.width + x) * 4];
      const int checker = ((x / 8 + y / 8) % 2) ? 200 : 150;
      const int alpha = picture.hasAlpha ? p[3] : 255;
      uint8_t* target = &canvas.rgba[(static_cast<size_t>(cy) * canvas.width + cx) * 4];
      for (int c = 0; c < 3; ++c)
        target[c] = static_cast<uint8_t>((p[c] * alpha + checker * (255 - alpha) + 127) / 255);
      target[3] = 255;
    }
  }
}

struct Tile {
  std::string label;
  const RgbaImage* picture;
};

RgbaImage Overview(const std::vector<Tile>& tiles) {
  constexpr int32_t kColumns = 4, kGap = 8, kLabelHeight = kGlyphHeight + 4;
  int32_t cellWidth = 0, cellHeight = 0;
  for (const Tile& tile : tiles) {
    cellWidth = std::max(cellWidth, std::max(tile.picture->width, TextWidth(tile.label)));
    cellHeight = std::max(cellHeight, tile.picture->height);
  }
  const int32_t rows = (static_cast<int32_t>(tiles.size()) + kColumns - 1) / kColumns;
  const int32_t columns = std::min<int32_t>(kColumns, static_cast<int32_t>(tiles.size()));
  RgbaImage canvas;
  canvas.width = kGap + columns * (cellWidth + kGap);
  canvas.height = kGap + rows * (cellHeight + kLabelHeight + kGap);
  canvas.rgba.assign(static_cast<size_t>(canvas.width) * canvas.height * 4, 0);
  for (size_t i = 0; i < canvas.rgba.size(); i += 4) {
    canvas.rgba[i] = canvas.rgba[i + 1] = canvas.rgba[i + 2] = 48;
    canvas.rgba[i + 3] = 255;
  }
  for (size_t n = 0; n < tiles.size(); ++n) {
    const int32_t left = kGap + static_cast<int32_t>(n % kColumns) * (cellWidth + kGap);
    const int32_t top = kGap + static_cast<int32_t>(n / kColumns) * (cellHeight + kLabelHeight + kGap);
    PasteOnCheckerboard(canvas, *tiles[n].picture, left, top);
    DrawText(canvas, left, top + tiles[n].picture->height + 3, tiles[n].label, 0xF0F0F0);
  }
  return canvas;
}

std::string HtmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string IndexHtml(const std::vector<std::pair<std::string, std::string>>& originals,
                      const std::vector<DemoResult>& results) {
  std::ostringstream html;
  html << "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
       << "<title>vfhost demo</title>\n<style>\n"
       << "body { font-family: sans-serif; background: #303030; color: #eee; }\n"
       << "figure { display: inline-block; margin: 8px; vertical-align: top; max-width: 260px; }\n"
       << "img { background: repeating-conic-gradient(#999 0 25%, #ccc 0 50%) 0 0 / 16px 16px; }\n"
       << ".failed { color: #f88; }\n</style>\n</head>\n<body>\n<h1>vfhost demo</h1>\n"
       << "<p><a href=\"overview.png\">overview.png</a>: every result beside the "
          "samples.</p>\n<h2>Samples</h2>\n";
  for (const auto& [file, label] : originals)
    html << "<figure><img src=\"" << HtmlEscape(file) << "\" alt=\"" << HtmlEscape(label) << "\"><figcaption>"
         << HtmlEscape(label) << "</figcaption></figure>\n";
  html << "<h2>Plug-ins</h2>\n";
  for (const DemoResult& result : results) {
    html << "<figure>";
    if (!result.file.empty())
      html << "<img src=\"" << HtmlEscape(result.file) << "\" alt=\"" << HtmlEscape(result.name) << "\">";
    html << "<figcaption><b>" << HtmlEscape(result.name) << "</b> " << HtmlEscape(result.title);
    if (result.ran)
      html << "<br>kind " << result.kind << ", returned " << result.value;
    else
      html << "<br><span class=\"failed\">not run</span>";
    if (!result.note.empty()) html << "<br>" << HtmlEscape(result.note);
    for (const std::string& message : result.messages) html << "<br>message: " << HtmlEscape(message);
    html << "</figcaption></figure>\n";
  }
  html << "</body>\n</html>\n";
  return html.str();
}

bool WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out.flush());
}

}  // namespace
}  // namespace vfhost::demo

namespace vfhost::cli {

int DemoCommand(const Arguments& arguments, const CommonOptions& common) {
  namespace fs = std::filesystem;
  using namespace vfhost::demo;
  std::string outDir = "demo-out";
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "--out" && i + 1 < arguments.size())
      outDir = arguments[++i];
    else if (arguments[i].rfind("--out=", 0) == 0)
      outDir = arguments[i].substr(6);
    else
      return UsageError("demo: unknown argument " + arguments[i] + " (vfhost demo [--out DIR])");
  }
  std::error_code error;
  if (!fs::is_directory(common.pluginDir, error))
    return UsageError("no plug-in folder " + common.pluginDir + " (use --plugins DIR)");
  fs::create_directories(outDir, error);
  if (!fs::is_directory(outDir, error)) return UsageError("cannot create " + outDir);
  const fs::path out(outDir);

  SampleSet samples{MakePhotoSample(), MakeLineArtSample(), MakeLayeredSample()};
  const RgbaImage layeredPicture = RgbaFromLayered(samples.layered);
  const std::vector<std::pair<std::string, const RgbaImage*>> originals = {
      {"sample-photo.png", &samples.photo},
      {"sample-lineart.png", &samples.lineArt},
      {"sample-layered.png", &layeredPicture}};
  std::string writeError;
  for (const auto& [file, picture] : originals)
    if (!WriteImageFile((out / file).string(), *picture, writeError)) return UsageError(writeError);
  if (!WritePlaneFile((out / "sample-layered-mask.png").string(), samples.layered.width,
                      samples.layered.height, samples.layered.mask, writeError))
    return UsageError(writeError);

  const std::vector<std::string> names = FindPlugins(common.pluginDir);
  if (names.empty()) std::fprintf(stderr, "vfhost: no plug-ins in %s\n", common.pluginDir.c_str());
  std::vector<DemoResult> results;
  int status = names.empty() ? kExitFilterFailed : kExitSuccess;
  for (const std::string& name : names) {
    for (DemoResult& result : RunPlan(name, common.pluginDir, samples)) {
      if (result.ran) {
        result.file = result.name + ".png";
        if (!WriteImageFile((out / result.file).string(), result.picture, writeError))
          return UsageError(writeError);
      }
      if (!result.ran || result.value == 0) status = kExitFilterFailed;
      std::printf("%-14s %s\n", result.name.c_str(),
                  result.ran ? ("returned " + std::to_string(result.value) + ", " + result.note).c_str()
                             : ("not run: " + result.note).c_str());
      results.push_back(std::move(result));
    }
  }

  std::vector<Tile> tiles = {
      {"photo", &samples.photo}, {"line art", &samples.lineArt}, {"layered", &layeredPicture}};
  for (const DemoResult& result : results)
    if (result.ran) tiles.push_back({result.name, &result.picture});
  if (!WriteImageFile((out / "overview.png").string(), Overview(tiles), writeError))
    return UsageError(writeError);
  std::vector<std::pair<std::string, std::string>> originalLabels = {
      {"sample-photo.png", "photo"},
      {"sample-lineart.png", "line art"},
      {"sample-layered.png", "layered"},
      {"sample-layered-mask.png", "layered: mask"}};
  if (!WriteText(out / "index.html", IndexHtml(originalLabels, results)))
    return UsageError("cannot write " + (out / "index.html").string());
  std::printf("wrote %s\n", (out / "index.html").string().c_str());
  return status;
}

}  // namespace vfhost::cli
