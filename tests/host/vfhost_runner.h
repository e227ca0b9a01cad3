// Running the built vfhost binary from the host tests.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "../support/temp_dir.h"

namespace hosttest {

struct Result {
  int status = -1;
  std::string out, err;
};

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::string Line(const std::string& json) {
  return json + "\n";
}

// Runs vfhost with the arguments (file names without blanks), standard
// input from /dev/null, the settings in a folder of the work folder.
inline Result RunVfhost(const vftest::TempDir& work, const std::string& arguments) {
  const std::string out = work.path() + "stdout.txt", err = work.path() + "stderr.txt";
  const std::string command = std::string(VF_BIN_DIR) + "/vfhost " + arguments + " --settings " +
                              work.path() + "settings </dev/null >" + out + " 2>" + err;
  const int raw = std::system(command.c_str());
  Result result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadText(out);
  result.err = ReadText(err);
  return result;
}

}  // namespace hosttest
