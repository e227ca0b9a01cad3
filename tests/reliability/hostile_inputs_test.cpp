// Every plug-in fed what a user's machine can hand it: settings files that
// are missing, truncated, too long or full of wild bytes, pictures of every
// awkward size, and settings folders of every length. Each call must end
// with a clear result (1, or 0 with a message), free its working memory, and
// give the same result, events and pixels when repeated.
#include <unistd.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <optional>

#include "reliability_support.h"

namespace {

using reliability::Picture;
using reliability::PluginShape;
using vfhost::RunOutcome;

struct SettingsCase {
  std::string label;
  std::optional<std::vector<uint8_t>> bytes;  // nullopt: no file
};

std::vector<uint8_t> Filled(size_t count, uint8_t value) {
  return std::vector<uint8_t>(count, value);
}

std::vector<uint8_t> Signed(const PluginShape& plugin, std::vector<uint8_t> record) {
  std::vector<uint8_t> bytes(plugin.signature, plugin.signature + std::strlen(plugin.signature));
  bytes.insert(bytes.end(), record.begin(), record.end());
  return bytes;
}

// The hostile settings files of a plug-in, from no file to random bytes.
// Signed files also come with a right signature over wild values.
std::vector<SettingsCase> HostileSettings(const PluginShape& plugin) {
  const size_t fileSize = std::strlen(plugin.signature) + plugin.recordSize;
  std::vector<SettingsCase> cases = {
      {"missing", std::nullopt},
      {"empty", std::vector<uint8_t>{}},
      {"one byte", std::vector<uint8_t>{0x7F}},
      {"one byte short", reliability::RandomBytes(fileSize - 1, 11)},
      {"exact random", reliability::RandomBytes(fileSize, 12)},
      {"longer", reliability::RandomBytes(fileSize + 37, 13)},
      {"all 0x00", Filled(fileSize, 0x00)},
      {"all 0xFF", Filled(fileSize, 0xFF)},
  };
  for (uint32_t seed = 20; seed < 26; ++seed)
    cases.push_back({"random " + std::to_string(seed), reliability::RandomBytes(fileSize, seed)});
  if (*plugin.signature) {
    cases.push_back({"signature only", Signed(plugin, {})});
    cases.push_back({"signature, record short", Signed(plugin, Filled(plugin.recordSize - 1, 0x40))});
    cases.push_back({"signature, all 0x00", Signed(plugin, Filled(plugin.recordSize, 0x00))});
    cases.push_back({"signature, all 0xFF", Signed(plugin, Filled(plugin.recordSize, 0xFF))});
    cases.push_back({"signature, all 0x80", Signed(plugin, Filled(plugin.recordSize, 0x80))});
    cases.push_back({"signature, all 0x7F", Signed(plugin, Filled(plugin.recordSize, 0x7F))});
    for (uint32_t seed = 30; seed < 36; ++seed)
      cases.push_back({"signature, random " + std::to_string(seed),
                       Signed(plugin, reliability::RandomBytes(plugin.recordSize, seed))});
  }
  return cases;
}

void PlaceSettings(const std::string& path, const PluginShape& plugin, const SettingsCase& settings) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  if (settings.bytes) vftest::WriteFileBytes(path, reliability::Bounded(plugin, *settings.bytes));
}

// Checks one call and returns a fingerprint of it (result, events, pixels)
// for comparing repeated calls.
std::string CheckSoundRun(const RunOutcome& outcome, const Picture& after) {
  EXPECT_EQ(outcome.error, "");
  EXPECT_TRUE(outcome.result == 0 || outcome.result == 1) << "result " << outcome.result;
  EXPECT_EQ(outcome.liveAllocations, 0) << "working memory left allocated";
  if (outcome.result == 0) {
    EXPECT_FALSE(vftest::Messages(outcome.events).empty()) << "0 returned without a message";
  }
  const std::vector<uint8_t> pixels = after.Bytes();
  return std::to_string(outcome.result) + "\n" + vfhost::TraceText(outcome.events) +
         std::string(pixels.begin(), pixels.end());
}

class HostileInputs : public testing::TestWithParam<PluginShape> {
 protected:
  void SetUp() override {
    plugin_ = vftest::LoadPlugin(GetParam().name);
    ASSERT_TRUE(plugin_);
  }

  // Runs the plug-in twice on copies of the picture, the settings file laid
  // down afresh each time; both runs must be sound and alike.
  void RunTwice(const Picture& original, const SettingsCase& settings, const std::string& where) {
    SCOPED_TRACE(where + ", settings " + settings.label);
    std::string fingerprints[2];
    for (std::string& fingerprint : fingerprints) {
      PlaceSettings(reliability::SettingsPath(dir_, GetParam()), GetParam(), settings);
      Picture picture = original;
      const RunOutcome outcome =
          reliability::Run(*plugin_, GetParam(), picture, reliability::PinnedOptions(dir_, GetParam()));
      fingerprint = CheckSoundRun(outcome, picture);
    }
    EXPECT_TRUE(fingerprints[0] == fingerprints[1]) << "a repeated run gave another result";
  }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir dir_;
};

TEST_P(HostileInputs, SettingsFilesOfEveryShapeGiveAClearRepeatableRun) {
  const Picture picture = Picture::Random(GetParam(), 19, 19, 5);
  for (const SettingsCase& settings : HostileSettings(GetParam())) RunTwice(picture, settings, "19x19");
}

TEST_P(HostileInputs, DialogOnHostileSettingsShowsThemAndSavesARecordTheRunAccepts) {
  const Picture picture = Picture::Random(GetParam(), 7, 6, 9);
  for (const SettingsCase& settings : HostileSettings(GetParam())) {
    SCOPED_TRACE("settings " + settings.label);
    std::string saved[2];
    for (std::string& bytes : saved) {
      PlaceSettings(reliability::SettingsPath(dir_, GetParam()), GetParam(), settings);
      const vfhost::OptionsOutcome outcome = plugin_->RunOptions(
          {vftest::Action(vfhost::DialogAction::Type::Ok)}, reliability::PinnedOptions(dir_, GetParam()));
      EXPECT_TRUE(outcome.result == 0 || outcome.result == 1) << "result " << outcome.result;
      const std::vector<uint8_t> file = vftest::ReadFileBytes(reliability::SettingsPath(dir_, GetParam()));
      bytes = std::to_string(outcome.result) + vfhost::TraceText(outcome.events) +
              std::string(file.begin(), file.end());
    }
    EXPECT_TRUE(saved[0] == saved[1]) << "a repeated dialog gave another result";
    // Whatever the dialog left behind must be a file the run copes with.
    const std::vector<uint8_t> left = vftest::ReadFileBytes(reliability::SettingsPath(dir_, GetParam()));
    const bool exists = vftest::FileExists(reliability::SettingsPath(dir_, GetParam()));
    RunTwice(picture,
             {"left by the dialog", exists ? std::optional<std::vector<uint8_t>>(left) : std::nullopt},
             "after the dialog");
  }
}

TEST_P(HostileInputs, AwkwardPictureSizesGiveAClearRepeatableRun) {
  const std::vector<std::pair<int32_t, int32_t>> sizes = {{1, 1},   {1, 2},     {2, 1},    {2, 2},  {3, 3},
                                                          {4, 4},   {5, 5},     {17, 1},   {1, 17}, {19, 19},
                                                          {39, 39}, {1, 70000}, {70000, 1}};
  const std::vector<SettingsCase> settings = {
      {"missing", std::nullopt},
      {"all 0xFF", *HostileSettings(GetParam())[7].bytes},
      {"random", *HostileSettings(GetParam())[8].bytes},
  };
  for (const auto& [width, height] : sizes) {
    const Picture picture =
        Picture::Random(GetParam(), width, height, static_cast<uint32_t>(width * 131 + height));
    for (const SettingsCase& setting : settings)
      RunTwice(picture, setting, std::to_string(width) + "x" + std::to_string(height));
  }
}

TEST_P(HostileInputs, LineAccessPicturesOfNoOrNegativeSizeAreRefusedCleanly) {
  if (!GetParam().lineAccess) GTEST_SKIP() << "a DIB plug-in";
  const std::vector<std::pair<int32_t, int32_t>> sizes = {{0, 0},  {0, 5},   {5, 0},         {-1, 5},
                                                          {5, -1}, {-7, -7}, {INT32_MIN, 3}, {3, INT32_MIN}};
  for (const auto& [width, height] : sizes) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    vfhost::LayeredImage image;
    image.width = width;
    image.height = height;
    const RunOutcome outcome = plugin_->RunLineAccess(image, reliability::PinnedOptions(dir_, GetParam()));
    EXPECT_TRUE(outcome.result == 0 || outcome.result == 1) << "result " << outcome.result;
    EXPECT_EQ(outcome.liveAllocations, 0);
    EXPECT_EQ(outcome.lineCalls.colourWrites + outcome.lineCalls.planeWrites, 0)
        << "wrote into an empty picture";
  }
}

// A settings folder of exactly `length` characters, trailing separator
// included, made of real directories below base so that a path that fits
// the plug-in's buffer can really be written.
std::string FolderOfLength(const std::string& base, size_t length) {
  std::string folder = base;
  while (length - folder.size() > 101) folder += std::string(100, 'd') + "/";
  folder += std::string(length - folder.size() - 1, 'd') + "/";
  std::filesystem::create_directories(folder);
  return folder;
}

TEST_P(HostileInputs, SettingsFoldersOfEveryLengthAreHandledSoundly) {
  const Picture original = Picture::Random(GetParam(), 9, 8, 3);
  const std::string previousDirectory = std::filesystem::current_path().string();
  for (size_t length : {size_t{0}, size_t{200}, size_t{255}, size_t{256}, size_t{4000}}) {
    SCOPED_TRACE("folder of " + std::to_string(length) + " characters");
    vftest::TempDir base;
    std::string folder;
    if (length == 0) {
      std::filesystem::current_path(base.path());  // "" is the current directory
    } else {
      folder = FolderOfLength(base.path(), length);
      ASSERT_EQ(folder.size(), length);
    }
    vfhost::RunOptions options;
    options.settingsDir = folder;
    options.time = 1700000000;
    if (GetParam().userEscFromPoll) options.escFromPoll = GetParam().userEscFromPoll;
    std::string fingerprints[2];
    for (std::string& fingerprint : fingerprints) {
      std::error_code ignored;
      std::filesystem::remove((length == 0 ? base.path() : folder) + GetParam().stem + ".dat", ignored);
      const vfhost::OptionsOutcome dialog =
          plugin_->RunOptions({vftest::Action(vfhost::DialogAction::Type::Ok)}, options);
      EXPECT_TRUE(dialog.result == 0 || dialog.result == 1);
      Picture picture = original;
      const RunOutcome run = reliability::Run(*plugin_, GetParam(), picture, options);
      fingerprint = vfhost::TraceText(dialog.events) + CheckSoundRun(run, picture);
    }
    EXPECT_TRUE(fingerprints[0] == fingerprints[1]) << "a repeated call gave another result";
    std::filesystem::current_path(previousDirectory);
  }
}

INSTANTIATE_TEST_SUITE_P(AllPlugins, HostileInputs, testing::ValuesIn(reliability::AllPlugins()),
                         reliability::PluginTestName);

}  // namespace
