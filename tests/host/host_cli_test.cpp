// Whole runs of the built vfhost binary on the built maxfilter plug-in: list,
// run with a trace, options driving the dialog, and the exit statuses.
#include <gtest/gtest.h>

#include <filesystem>

#include "vfhost/images.h"
#include "vfhost_runner.h"

namespace {

using hosttest::Line;
using hosttest::ReadText;
using hosttest::Result;

const std::string kNothingMessage =
    R"({"event":"message","caption":" 最大値","text":"処理できるピクセルがありませんでした（＾＾；。","icon":"information"})";

class VfhostBinary : public testing::Test {
 protected:
  Result Vfhost(const std::string& arguments) { return hosttest::RunVfhost(dir_, arguments); }
  std::string Path(const std::string& name) const { return dir_.path() + name; }
  std::string settings() const { return dir_.path() + "settings"; }

  void WritePicture(const std::string& name, int32_t width, int32_t height, uint8_t grey) {
    vfhost::RgbaImage image;
    image.width = width;
    image.height = height;
    image.rgba.assign(static_cast<size_t>(width) * height * 4, grey);
    for (size_t i = 3; i < image.rgba.size(); i += 4) image.rgba[i] = 255;
    std::string error;
    ASSERT_TRUE(vfhost::WriteImageFile(Path(name), image, error)) << error;
  }

  vftest::TempDir dir_;
};

// list in a folder of its own: maxfilter alone, then beside a file that is
// no plug-in, which is reported and makes the status 1.
TEST_F(VfhostBinary, ListShowsTheFileKindAndTitle) {
  const std::string folder = Path("plugins");
  std::filesystem::create_directory(folder);
  std::filesystem::create_symlink(std::string(VF_PLUGIN_DIR) + "/maxfilter.so", folder + "/maxfilter.so");
  Result result = Vfhost("list --plugins " + folder);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out.rfind("maxfilter.so", 0), 0u) << result.out;
  EXPECT_NE(result.out.find(" 0  最大値\n"), std::string::npos) << result.out;

  vftest::WriteFileBytes(folder + "/broken.so", std::vector<uint8_t>(64, 'x'));
  result = Vfhost("list --plugins " + folder);
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find("最大値"), std::string::npos) << result.out;
  EXPECT_NE(result.err.find("broken.so"), std::string::npos) << result.err;

  EXPECT_EQ(Vfhost("list --plugins " + Path("none")).status, 2);
}

// A uniform picture of 20 rows: BEGIN, one progress message a row, the
// nothing-processed message, END, the result; the picture comes back as it was.
TEST_F(VfhostBinary, RunWritesTheEventsInOrderAndThePicture) {
  std::string expected = Line(R"({"event":"progress","code":2,"value":0})");
  for (int value = 0; value < 100; value += 5)
    expected += Line(R"({"event":"progress","code":3,"value":)" + std::to_string(value) + "}");
  expected += Line(kNothingMessage) + Line(R"({"event":"progress","code":0,"value":0})") +
              Line(R"({"event":"result","value":1})");
  for (const char* extension : {".bmp", ".png"}) {
    SCOPED_TRACE(extension);
    const std::string in = Path(std::string("in") + extension), out = Path(std::string("out") + extension);
    WritePicture(std::string("in") + extension, 3, 20, 200);
    const Result result =
        Vfhost("run maxfilter --in " + in + " --out " + out + " --trace " + Path("trace.json"));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadText(Path("trace.json")), expected);
    vfhost::RgbaImage before, after;
    std::string error;
    ASSERT_TRUE(vfhost::ReadImageFile(in, before, error)) << error;
    ASSERT_TRUE(vfhost::ReadImageFile(out, after, error)) << error;
    EXPECT_EQ(after.rgba, before.rgba);
  }
}

TEST_F(VfhostBinary, RunAppliesTheFilter) {
  vfhost::RgbaImage image;
  image.width = 3;
  image.height = 3;
  image.rgba.assign(36, 255);
  for (int c = 0; c < 3; ++c) image.rgba[16 + c] = 0;  // the black centre
  std::string error;
  ASSERT_TRUE(vfhost::WriteImageFile(Path("dot.png"), image, error));
  const Result result = Vfhost("run maxfilter --in " + Path("dot.png") + " --out " + Path("clean.bmp"));
  EXPECT_EQ(result.status, 0) << result.err;
  vfhost::RgbaImage clean;
  ASSERT_TRUE(vfhost::ReadImageFile(Path("clean.bmp"), clean, error)) << error;
  EXPECT_EQ(clean.rgba, std::vector<uint8_t>(36, 255));
}

TEST_F(VfhostBinary, RunReturnsOneWhenThePluginCannotRun) {
  WritePicture("in.bmp", 2, 2, 10);
  const Result result = Vfhost("run maxfilter --fail-alloc --in " + Path("in.bmp") + " --out " +
                               Path("out.bmp") + " --trace " + Path("trace.json"));
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_EQ(
      ReadText(Path("trace.json")),
      Line(R"({"event":"progress","code":2,"value":0})") +
          Line(
              R"({"event":"message","caption":" ごめんなさい","text":"グローバルメモリーが確保できませんでした；＿；。","icon":"error"})") +
          Line(R"({"event":"progress","code":0,"value":0})") + Line(R"({"event":"result","value":0})"));
}

TEST_F(VfhostBinary, UsageAndInputErrorsExitWithTwoAndWriteNothing) {
  WritePicture("in.bmp", 2, 2, 10);
  vftest::WriteFileBytes(Path("cut.bmp"), std::vector<uint8_t>(40, 'B'));
  const std::string in = " --in " + Path("in.bmp");
  const std::string out = " --out " + Path("out.bmp") + " --trace " + Path("trace.json");
  const std::pair<const char*, std::string> cases[] = {
      {"no command", ""},
      {"unknown command", "paint"},
      {"no input", "run maxfilter" + out},
      {"no such plug-in", "run nofilter" + in + out},
      {"no such input file", "run maxfilter --in " + Path("missing.bmp") + out},
      {"damaged input", "run maxfilter --in " + Path("cut.bmp") + out},
      {"unknown output format",
       "run maxfilter" + in + " --out " + Path("out.gif") + " --trace " + Path("trace.json")},
      {"planes for a kind-0 plug-in", "run maxfilter" + in + out + " --mask " + Path("in.bmp")},
      {"unknown option", "run maxfilter" + in + out + " --fast"},
      {"ESC poll 0", "run maxfilter" + in + out + " --esc 0"},
      {"time not a number", "run maxfilter" + in + out + " --time soon"},
      {"no such control", "options maxfilter --click 1099 --ok --trace " + Path("trace.json")},
      {"malformed action", "options maxfilter --set 1001 --ok"},
  };
  for (const auto& [name, arguments] : cases) {
    SCOPED_TRACE(name);
    const Result result = Vfhost(arguments);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("vfhost"), std::string::npos) << result.err;
    EXPECT_FALSE(vftest::FileExists(Path("out.bmp")));
    EXPECT_FALSE(vftest::FileExists(Path("trace.json")));
    EXPECT_FALSE(vftest::FileExists(settings() + "/maxfilter.dat"));
  }
}

TEST_F(VfhostBinary, OptionsSavesWhatTheDialogWasGiven) {
  const Result result =
      Vfhost("options maxfilter --set 1001=10 --ok --state " + Path("s.json") + " --trace " + Path("t.json"));
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(vftest::ReadFileBytes(settings() + "/maxfilter.dat"), (std::vector<uint8_t>{10, 255, 0}));
  EXPECT_EQ(ReadText(Path("t.json")), Line(R"({"event":"dialog","template":"MAX_DLG","result":1})") +
                                          Line(R"({"event":"result","value":1})"));
  const std::string state = ReadText(Path("s.json"));
  EXPECT_EQ(state.rfind(R"({"template":"MAX_DLG","controls":[)", 0), 0u) << state;
  EXPECT_NE(state.find(R"({"id":1001,"class":"edit","text":"10","enabled":true,"checked":0})"),
            std::string::npos)
      << state;
  EXPECT_NE(
      state.find(
          R"({"id":1010,"class":"updown","text":"","enabled":true,"checked":0,"min":0,"max":255,"pos":10})"),
      std::string::npos)
      << state;
}

// Each set of actions as a user would click them: the text of edit box 1001
// when the dialog ended, and the settings file it leaves (none when it was
// not closed with OK).
TEST_F(VfhostBinary, OptionsDrivesEveryKindOfControl) {
  struct Case {
    const char* actions;
    const char* lowerText;
    std::vector<uint8_t> saved;  // empty: no file
  };
  const Case cases[] = {
      {"--updown 1010=3 --updown 1011=-5 --ok", "3", {3, 250, 0}},
      {"--updown 1011=4 --ok", "0", {0, 255, 0}},                  // the upper limit holds
      {"--set 1001=40 --updown 1010=2 --ok", "42", {42, 255, 0}},  // the arrows start from the typed number
      {"--click 1008 --ok", "0", {0, 255, 1}},                     // an auto check box changes itself
      {"--check 1008 --uncheck 1008 --ok", "0", {0, 255, 0}},
      {"--set 1003=7 --click 1006 --ok", "0", {0, 0, 0}},  // a push button only notifies the dialog
      {"--set 1001=10 --close", "10", {}},
      {"--set 1001=10", "10", {}},               // left open: closed with the close box
      {"--ok --set 1001=10", "0", {0, 255, 0}},  // nothing reaches an ended dialog
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.actions);
    std::filesystem::remove_all(settings());
    const Result result =
        Vfhost(std::string("options maxfilter ") + c.actions + " --state " + Path("s.json"));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(ReadText(Path("s.json"))
                  .find(std::string(R"({"id":1001,"class":"edit","text":")") + c.lowerText + "\""),
              std::string::npos)
        << ReadText(Path("s.json"));
    const std::string file = settings() + "/maxfilter.dat";
    if (c.saved.empty())
      EXPECT_FALSE(vftest::FileExists(file));
    else
      EXPECT_EQ(vftest::ReadFileBytes(file), c.saved);
  }
}

// The demo on a folder of maxfilter and the host's kind-10 test plug-in.
TEST_F(VfhostBinary, DemoWritesEveryResultTheOverviewAndTheIndex) {
  const std::string folder = Path("plugins");
  std::filesystem::create_directory(folder);
  std::filesystem::create_symlink(std::string(VF_PLUGIN_DIR) + "/maxfilter.so", folder + "/maxfilter.so");
  std::filesystem::create_symlink(std::string(VF_PROBE_PLUGIN_DIR) + "/hostprobe.so",
                                  folder + "/hostprobe.so");
  const Result result = Vfhost("demo --plugins " + folder + " --out " + Path("demo"));
  EXPECT_EQ(result.status, 0) << result.err << result.out;
  for (const char* file :
       {"maxfilter.png", "hostprobe.png", "overview.png", "sample-photo.png", "sample-layered.png"}) {
    vfhost::RgbaImage image;
    std::string error;
    EXPECT_TRUE(vfhost::ReadImageFile(Path("demo/") + file, image, error)) << file << ": " << error;
  }
  // The kind-10 result keeps its transparency: the probe inverts the alpha.
  vfhost::RgbaImage layered, probe;
  std::string error;
  ASSERT_TRUE(vfhost::ReadImageFile(Path("demo/sample-layered.png"), layered, error)) << error;
  ASSERT_TRUE(vfhost::ReadImageFile(Path("demo/hostprobe.png"), probe, error)) << error;
  ASSERT_EQ(probe.rgba.size(), layered.rgba.size());
  EXPECT_TRUE(probe.hasAlpha);
  EXPECT_EQ(probe.rgba[3], 255 - layered.rgba[3]);

  const std::string index = ReadText(Path("demo/index.html"));
  for (const char* text : {"maxfilter.png", "最大値", "hostprobe.png", "試験", "esc=0"})
    EXPECT_NE(index.find(text), std::string::npos) << text;
}

}  // namespace
