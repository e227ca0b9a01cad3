// The list, run and options commands of vfhost.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "cli.h"
#include "terminal.h"
#include "vfhost/images.h"
#include "vfhost/session.h"

namespace vfhost::cli {

const char kListHelp[] =
    "usage: vfhost list [--plugins DIR]\n"
    "\n"
    "Prints one line per plug-in found: file name, kind (0 or 10) and title.\n";

const char kRunHelp[] =
    "usage: vfhost run PLUGIN --in IN --out OUT [options]\n"
    "\n"
    "Applies the plug-in once. Pictures are BMP (.bmp) or PNG (.png), by extension.\n"
    "\n"
    "  --in FILE, --out FILE          the picture read and the result written\n"
    "  --alpha FILE, --mask FILE      kind 10: alpha and mask planes (PGM P5 or grey PNG);\n"
    "                                 default alpha: the PNG's own, else 255; mask: 0\n"
    "  --out-alpha FILE, --out-mask FILE\n"
    "                                 kind 10: write the planes after the run\n"
    "  --shared-storage               kind 10: read and write tables reach one image (default)\n"
    "  --separate-storage             kind 10: reads come from a copy taken before the run\n"
    "  --time T                       the current time in seconds the plug-in sees\n"
    "  --esc N                        the N-th ESC poll and every later one report the key\n"
    "  --fail-alloc                   the plug-in's working memory cannot be had\n"
    "  --trace FILE                   the events of the call, one JSON object a line\n"
    "  --settings DIR, --plugins DIR  as for every command\n"
    "\n"
    "Exit status: 0 when the plug-in returned 1, 1 when it returned 0, 2 for a usage or\n"
    "input error (then nothing is written).\n";

const char kOptionsHelp[] =
    "usage: vfhost options PLUGIN [dialog actions] [--trace FILE] [--state FILE]\n"
    "\n"
    "Opens the plug-in's settings dialog and, with actions, drives it in the order given:\n"
    "  --set ID=TEXT          type the text into the control\n"
    "  --check ID             check the box, then notify the dialog\n"
    "  --uncheck ID           uncheck the box, then notify the dialog\n"
    "  --click ID             click the button\n"
    "  --scroll ID=CODE[:POS] scroll the bar (lineleft, lineright, pageleft, pageright,\n"
    "                         thumbposition, thumbtrack, left, right, endscroll or a number)\n"
    "  --select ID=INDEX      choose the combo box item\n"
    "  --updown ID=DELTA      press the up-down arrows DELTA times (negative: down)\n"
    "  --choose-colour RRGGBB the answer of the colour chooser the next time it opens\n"
    "  --ok                   press OK\n"
    "  --close                close the dialog with the close box\n"
    "A dialog still open after the last action is closed with the close box.\n"
    "\n"
    "  --trace FILE           the events of the call (message boxes, dialog, result)\n"
    "  --state FILE           the controls when the dialog ended, as JSON\n";

namespace {

struct ParsedArguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;
  std::set<std::string> flags;
  std::vector<DialogAction> actions;
};

// Parses the command's arguments against its options; dialog actions are
// accepted when actionsAllowed. Returns an error message or "".
std::string ParseArguments(const Arguments& arguments, const std::set<std::string>& valueOptions,
                           const std::set<std::string>& flagOptions, bool actionsAllowed,
                           ParsedArguments& parsed) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    std::string option = arguments[i];
    std::string value;
    bool hasInlineValue = false;
    if (option.rfind("--", 0) == 0) {
      const size_t equals = option.find('=');
      // "--set 1001=5" keeps its '=' in the value; "--in=a.png" splits.
      if (equals != std::string::npos && !IsDialogAction(option)) {
        value = option.substr(equals + 1);
        option = option.substr(0, equals);
        hasInlineValue = true;
      }
    }
    const bool isAction = actionsAllowed && IsDialogAction(option);
    const bool takesValue = valueOptions.count(option) || (isAction && DialogActionTakesArgument(option));
    if (takesValue && !hasInlineValue) {
      if (i + 1 >= arguments.size()) return option + " needs a value";
      value = arguments[++i];
    }
    if (isAction) {
      DialogAction action;
      const std::string error = ParseDialogAction(option, value, action);
      if (!error.empty()) return error;
      parsed.actions.push_back(action);
    } else if (valueOptions.count(option)) {
      parsed.values[option] = value;
    } else if (flagOptions.count(option) && !hasInlineValue) {
      parsed.flags.insert(option);
    } else if (option.size() > 1 && option[0] == '-') {
      return "unknown option " + arguments[i];
    } else {
      parsed.positional.push_back(option);
    }
  }
  return "";
}

bool ParseWholeNumber(const std::string& text, int64_t minimum, int64_t& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long long parsed = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < minimum) return false;
  value = parsed;
  return true;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.flush();
  if (out) return true;
  std::fprintf(stderr, "vfhost: cannot write %s\n", path.c_str());
  return false;
}

std::unique_ptr<Plugin> LoadPlugin(const std::string& name, const CommonOptions& common) {
  std::string error;
  std::unique_ptr<Plugin> plugin = Plugin::Load(name, common.pluginDir, error);
  if (!plugin) UsageError(error);
  return plugin;
}

bool ReadPlane(const std::string& path, const LayeredImage& image, std::vector<uint8_t>& plane) {
  int32_t width = 0, height = 0;
  std::string error;
  if (!ReadPlaneFile(path, width, height, plane, error)) {
    UsageError(error);
    return false;
  }
  if (width != image.width || height != image.height) {
    UsageError(path + " is " + std::to_string(width) + " x " + std::to_string(height) + ", the picture " +
               std::to_string(image.width) + " x " + std::to_string(image.height));
    return false;
  }
  return true;
}

// The file options of `run` that a kind-0 plug-in cannot use.
const char* const kLayerOptions[] = {"--alpha", "--mask", "--out-alpha", "--out-mask"};

}  // namespace

int UsageError(const std::string& message) {
  std::fprintf(stderr, "vfhost: %s\n", message.c_str());
  return kExitUsage;
}

bool PrepareSettingsFolder(const CommonOptions& common, std::string& folder) {
  folder = WithTrailingSeparator(common.settingsDir);
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(folder), error);
  if (!std::filesystem::is_directory(std::filesystem::path(folder), error)) {
    UsageError("cannot create the settings folder " + folder);
    return false;
  }
  return true;
}

int ListCommand(const Arguments& arguments, const CommonOptions& common) {
  if (!arguments.empty()) return UsageError("list takes no arguments (found " + arguments.front() + ")");
  std::error_code error;
  if (!std::filesystem::is_directory(common.pluginDir, error))
    return UsageError("no plug-in folder " + common.pluginDir + " (use --plugins DIR)");
  const std::vector<std::string> names = FindPlugins(common.pluginDir);
  if (names.empty()) std::fprintf(stderr, "vfhost: no plug-ins in %s\n", common.pluginDir.c_str());
  int status = kExitSuccess;
  for (const std::string& name : names) {
    std::string loadError;
    std::unique_ptr<Plugin> plugin = Plugin::Load(name, common.pluginDir, loadError);
    if (!plugin) {
      std::fprintf(stderr, "vfhost: %s\n", loadError.c_str());
      status = kExitFilterFailed;
      continue;
    }
    std::printf("%-18s %2d  %s\n", PluginFileName(name).c_str(), plugin->Kind(), plugin->TitleUtf8().c_str());
  }
  return status;
}

int RunCommand(const Arguments& arguments, const CommonOptions& common) {
  ParsedArguments parsed;
  const std::string parseError = ParseArguments(
      arguments,
      {"--in", "--out", "--alpha", "--mask", "--out-alpha", "--out-mask", "--time", "--esc", "--trace"},
      {"--fail-alloc", "--shared-storage", "--separate-storage"}, false, parsed);
  if (!parseError.empty()) return UsageError(parseError);
  if (parsed.positional.size() != 1)
    return UsageError("run needs one plug-in name (vfhost run PLUGIN --in IN --out OUT)");
  auto value = [&](const char* name) {
    return parsed.values.count(name) ? parsed.values.at(name) : std::string();
  };
  const std::string in = value("--in"), out = value("--out");
  if (in.empty() || out.empty()) return UsageError("run needs --in FILE and --out FILE");
  if (!IsImageFileName(in)) return UsageError(in + ": unknown picture format (use .bmp or .png)");
  if (!IsImageFileName(out)) return UsageError(out + ": unknown picture format (use .bmp or .png)");
  for (const char* name : {"--alpha", "--mask", "--out-alpha", "--out-mask"})
    if (!value(name).empty() && !IsPlaneFileName(value(name)))
      return UsageError(value(name) + ": unknown plane format (use .pgm or .png)");
  if (parsed.flags.count("--shared-storage") && parsed.flags.count("--separate-storage"))
    return UsageError("--shared-storage and --separate-storage exclude each other");

  RunOptions options;
  if (parsed.values.count("--time")) {
    int64_t seconds = 0;
    if (!ParseWholeNumber(value("--time"), INT64_MIN, seconds))
      return UsageError("--time needs a whole number of seconds");
    options.time = seconds;
  }
  if (parsed.values.count("--esc")) {
    int64_t poll = 0;
    if (!ParseWholeNumber(value("--esc"), 1, poll)) return UsageError("--esc needs a poll number from 1 on");
    options.escFromPoll = poll;
  }
#ifdef _WIN32
  // The system's own clock and memory serve the plug-ins here.
  if (parsed.values.count("--time"))
    std::fprintf(stderr, "vfhost: --time has no effect in the Windows build\n");
  if (parsed.flags.count("--fail-alloc"))
    std::fprintf(stderr, "vfhost: --fail-alloc has no effect in the Windows build\n");
#endif
  options.failAllocation = parsed.flags.count("--fail-alloc") ? -1 : 0;
  options.sharedStorage = !parsed.flags.count("--separate-storage");
  options.showProgressBar = detail::StandardErrorIsTerminal();
  options.echoMessages = detail::StandardErrorIsTerminal();
  options.terminalEscape = detail::StandardInputIsTerminal();

  std::unique_ptr<Plugin> plugin = LoadPlugin(parsed.positional.front(), common);
  if (!plugin) return kExitUsage;
  const bool lineAccess = plugin->Kind() == 10;
  if (!lineAccess)
    for (const char* name : kLayerOptions)
      if (parsed.values.count(name))
        return UsageError(std::string(name) + " is for line-access plug-ins (kind 10); " + plugin->name() +
                          " is of kind 0");

  RgbaImage picture;
  std::string error;
  if (!ReadImageFile(in, picture, error)) return UsageError(error);
  if (!PrepareSettingsFolder(common, options.settingsDir)) return kExitUsage;

  RunOutcome outcome;
  RgbaImage result;
  LayeredImage layers;
  if (lineAccess) {
    layers = LayeredFromRgba(picture);
    if (!value("--alpha").empty() && !ReadPlane(value("--alpha"), layers, layers.alpha)) return kExitUsage;
    if (!value("--mask").empty() && !ReadPlane(value("--mask"), layers, layers.mask)) return kExitUsage;
    outcome = plugin->RunLineAccess(layers, options);
    result = RgbaFromLayered(layers);
  } else {
    Dib dib = DibFromRgba(picture);
    outcome = plugin->RunDib(dib, options);
    result = RgbaFromDib(dib);
  }
  if (!outcome.error.empty()) return UsageError(outcome.error);

  // Every output or none: one that cannot be written takes the others back.
  std::vector<std::string> written;
  auto keep = [&](bool ok, const std::string& path) {
    if (ok) {
      written.push_back(path);
      return true;
    }
    if (!error.empty()) std::fprintf(stderr, "vfhost: %s\n", error.c_str());
    for (const std::string& done : written) std::remove(done.c_str());
    return false;
  };
  if (!keep(WriteImageFile(out, result, error), out)) return kExitUsage;
  const std::string outAlpha = value("--out-alpha"), outMask = value("--out-mask"), trace = value("--trace");
  if (lineAccess && !outAlpha.empty() &&
      !keep(WritePlaneFile(outAlpha, layers.width, layers.height, layers.alpha, error), outAlpha))
    return kExitUsage;
  if (lineAccess && !outMask.empty() &&
      !keep(WritePlaneFile(outMask, layers.width, layers.height, layers.mask, error), outMask))
    return kExitUsage;
  error.clear();
  if (!trace.empty() && !keep(WriteTextFile(trace, TraceText(outcome.events)), trace)) return kExitUsage;
  return outcome.result != 0 ? kExitSuccess : kExitFilterFailed;
}

namespace {

void PrintDialogOutcome(const OptionsOutcome& outcome) {
  bool dialogShown = false;
  for (const Event& event : outcome.events) {
    dialogShown |= event.type == Event::Type::Dialog;
    if (event.type == Event::Type::Message)
      std::printf("message [%s] %s: %s\n", event.icon.c_str(), event.caption.c_str(), event.text.c_str());
    if (event.type == Event::Type::Dialog)
      std::printf("dialog %s ended with %lld\n", event.templateName.c_str(),
                  static_cast<long long>(event.value));
  }
  if (!dialogShown) std::fprintf(stderr, "vfhost: the plug-in's dialog did not open\n");
  if (!outcome.state) return;
  for (const ControlState& control : outcome.state->controls) {
    std::printf("  %5d  %-9s \"%s\"", control.id, control.className.c_str(), control.text.c_str());
    if (!control.enabled) std::printf(" disabled");
    if (control.className == "button" && control.checked) std::printf(" checked=%d", control.checked);
    if (control.position)
      std::printf(" pos=%d (%d..%d)", *control.position, control.minimum.value_or(0),
                  control.maximum.value_or(0));
    if (control.selected) std::printf(" selected=%d of %zu", *control.selected, control.items.size());
    std::printf("\n");
  }
}

}  // namespace

int OptionsCommand(const Arguments& arguments, const CommonOptions& common) {
  ParsedArguments parsed;
  const std::string parseError = ParseArguments(arguments, {"--trace", "--state"}, {}, true, parsed);
  if (!parseError.empty()) return UsageError(parseError);
  if (parsed.positional.size() != 1)
    return UsageError("options needs one plug-in name (vfhost options PLUGIN ...)");
  std::unique_ptr<Plugin> plugin = LoadPlugin(parsed.positional.front(), common);
  if (!plugin) return kExitUsage;
  RunOptions options;
  if (!PrepareSettingsFolder(common, options.settingsDir)) return kExitUsage;

  const OptionsOutcome outcome = plugin->RunOptions(parsed.actions, options);
  if (!outcome.errors.empty()) {
    for (const std::string& error : outcome.errors) UsageError(error);
    std::fprintf(stderr, "vfhost: the dialog was closed without OK; nothing was saved\n");
    return kExitUsage;
  }
  PrintDialogOutcome(outcome);
  bool written = true;
  if (parsed.values.count("--trace"))
    written &= WriteTextFile(parsed.values["--trace"], TraceText(outcome.events));
  if (parsed.values.count("--state")) {
    const std::string json = outcome.state ? DialogStateJson(*outcome.state) + "\n" : std::string("null\n");
    written &= WriteTextFile(parsed.values["--state"], json);
  }
  if (!written) return kExitUsage;
  return outcome.result != 0 ? kExitSuccess : kExitFilterFailed;
}

}  // namespace vfhost::cli
