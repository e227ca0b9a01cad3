// The commands of the vfhost executable.
#pragma once

#include <string>
#include <vector>

namespace vfhost::cli {

enum ExitStatus : int {
  kExitSuccess = 0,       // FilterProc or FilterOption returned non-zero
  kExitFilterFailed = 1,  // it returned 0
  kExitUsage = 2,         // a usage or input error; nothing written
};

// Options that every command takes.
struct CommonOptions {
  std::string pluginDir;    // --plugins, else ../plugins next to the executable
  std::string settingsDir;  // --settings, else the user's configuration folder
  bool settingsGiven = false;
};

// The command's arguments after its name, common options already taken out.
using Arguments = std::vector<std::string>;

int ListCommand(const Arguments& arguments, const CommonOptions& common);
int RunCommand(const Arguments& arguments, const CommonOptions& common);
int OptionsCommand(const Arguments& arguments, const CommonOptions& common);
int DemoCommand(const Arguments& arguments, const CommonOptions& common);

// Creates the settings folder if needed; false and a message on stderr when
// it cannot be had.
bool PrepareSettingsFolder(const CommonOptions& common, std::string& folder);

// Prints "vfhost: MESSAGE" on stderr and returns kExitUsage.
int UsageError(const std::string& message);

extern const char kRunHelp[];
extern const char kOptionsHelp[];
extern const char kDemoHelp[];
extern const char kListHelp[];

}  // namespace vfhost::cli
