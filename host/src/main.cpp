// vfhost: loads the suite's plug-ins and calls them as the paint program
// does, on picture files, from the command line.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

#include "cli.h"
#include "host_platform.h"

namespace {

using vfhost::cli::Arguments;
using vfhost::cli::CommonOptions;

const char kGeneralHelp[] =
    "usage: vfhost COMMAND [options]\n"
    "\n"
    "Loads the suite's image-filter plug-ins and calls them as the paint program does.\n"
    "\n"
    "commands:\n"
    "  list                                   the plug-ins found: file, kind, title\n"
    "  run PLUGIN --in IN --out OUT [...]     apply a plug-in to a picture\n"
    "  options PLUGIN [dialog actions]        open the plug-in's settings dialog\n"
    "  demo [--out DIR]                       run every plug-in on built-in samples\n"
    "\n"
    "options of every command:\n"
    "  --plugins DIR    the plug-in folder (default: ../plugins next to vfhost)\n"
    "  --settings DIR   the settings folder handed to the plug-ins\n"
    "                   (default: $XDG_CONFIG_HOME/vfhost/ or ~/.config/vfhost/)\n"
    "  -h, --help       this text; `vfhost COMMAND --help` for a command's options\n";

std::string DefaultPluginDir() {
  return (std::filesystem::path(vfhost::detail::ExecutableDirectory()) / ".." / "plugins")
      .lexically_normal()
      .string();
}

std::string DefaultSettingsDir() {
#ifdef _WIN32
  const char* appData = std::getenv("APPDATA");
  if (appData && *appData) return std::string(appData) + "\\vfhost\\";
  return ".\\vfhost\\";
#else
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  if (configHome && configHome[0] == '/') return std::string(configHome) + "/vfhost/";
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.config/vfhost/";
  return "./vfhost/";
#endif
}

// Takes "--name VALUE" or "--name=VALUE" at index i; false when it is not
// that option. A missing value is reported and leaves ok false.
bool TakeValue(const Arguments& arguments, size_t& i, const std::string& name, std::string& value, bool& ok) {
  const std::string& argument = arguments[i];
  if (argument == name) {
    if (i + 1 >= arguments.size()) {
      vfhost::cli::UsageError(name + " needs a value");
      ok = false;
      return true;
    }
    value = arguments[++i];
    return true;
  }
  if (argument.rfind(name + "=", 0) == 0) {
    value = argument.substr(name.size() + 1);
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments all(argv + 1, argv + argc);
  CommonOptions common;
  Arguments rest;
  bool ok = true;
  for (size_t i = 0; i < all.size() && ok; ++i) {
    std::string value;
    if (TakeValue(all, i, "--plugins", value, ok)) {
      common.pluginDir = value;
    } else if (TakeValue(all, i, "--settings", value, ok)) {
      common.settingsDir = value;
      common.settingsGiven = true;
    } else {
      rest.push_back(all[i]);
    }
  }
  if (!ok) return vfhost::cli::kExitUsage;
  if (common.pluginDir.empty()) common.pluginDir = DefaultPluginDir();
  if (common.settingsDir.empty()) common.settingsDir = DefaultSettingsDir();

  if (rest.empty()) {
    std::fputs(kGeneralHelp, stderr);
    return vfhost::cli::kExitUsage;
  }
  const std::string command = rest.front();
  const Arguments arguments(rest.begin() + 1, rest.end());
  if (command == "-h" || command == "--help" || command == "help") {
    std::fputs(kGeneralHelp, stdout);
    return vfhost::cli::kExitSuccess;
  }
  struct Command {
    const char* name;
    int (*function)(const Arguments&, const CommonOptions&);
    const char* help;
  };
  const Command commands[] = {
      {"list", vfhost::cli::ListCommand, vfhost::cli::kListHelp},
      {"run", vfhost::cli::RunCommand, vfhost::cli::kRunHelp},
      {"options", vfhost::cli::OptionsCommand, vfhost::cli::kOptionsHelp},
      {"demo", vfhost::cli::DemoCommand, vfhost::cli::kDemoHelp},
  };
  for (const Command& candidate : commands) {
    if (command != candidate.name) continue;
    for (const std::string& argument : arguments) {
      if (argument == "-h" || argument == "--help") {
        std::fputs(candidate.help, stdout);
        return vfhost::cli::kExitSuccess;
      }
    }
    try {
      return candidate.function(arguments, common);
    } catch (const std::bad_alloc&) {
      return vfhost::cli::UsageError("not enough memory for the picture");
    }
  }
  vfhost::cli::UsageError("unknown command '" + command + "' (try vfhost --help)");
  return vfhost::cli::kExitUsage;
}
