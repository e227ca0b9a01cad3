// The host against its own test plug-in (kind 10, tests/host/probe): the
// dialog driver on every kind of control, and `vfhost run` over layered
// pictures with planes, storage choices, ESC polls and the clock.
#include <gtest/gtest.h>

#include <sstream>

#include "vfhost/images.h"
#include "vfhost/session.h"
#include "vfhost_runner.h"

namespace {

using hosttest::Line;
using hosttest::ReadText;
using hosttest::Result;

std::vector<vfhost::DialogAction> Actions(const std::string& text) {
  std::vector<vfhost::DialogAction> actions;
  std::istringstream words(text);
  std::string option;
  while (words >> option) {
    std::string argument;
    if (vfhost::DialogActionTakesArgument(option)) words >> argument;
    vfhost::DialogAction action;
    EXPECT_EQ(vfhost::ParseDialogAction(option, argument, action), "") << option;
    actions.push_back(action);
  }
  return actions;
}

const vfhost::ControlState* Control(const vfhost::DialogState& state, int id, const std::string& className) {
  for (const vfhost::ControlState& control : state.controls)
    if (control.id == id && control.className == className) return &control;
  return nullptr;
}

class ProbeDialog : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    plugin_ = vfhost::Plugin::Load("hostprobe", VF_PROBE_PLUGIN_DIR, error);
    ASSERT_TRUE(plugin_) << error;
    options_.settingsDir = settings_.path();
  }
  vfhost::OptionsOutcome Drive(const std::string& actions) {
    return plugin_->RunOptions(Actions(actions), options_);
  }

  std::unique_ptr<vfhost::Plugin> plugin_;
  vftest::TempDir settings_;
  vfhost::RunOptions options_;
};

TEST_F(ProbeDialog, StateListsTemplateControlsThenThoseCreatedAtRunTime) {
  const vfhost::OptionsOutcome outcome = Drive("--ok");
  ASSERT_TRUE(outcome.state);
  EXPECT_EQ(outcome.state->templateName, "PROBE_DLG");
  std::vector<std::pair<int, std::string>> controls;
  for (const vfhost::ControlState& control : outcome.state->controls)
    controls.emplace_back(control.id, control.className);
  const std::vector<std::pair<int, std::string>> expected = {
      {1001, "edit"},   {1002, "scrollbar"}, {1003, "static"}, {1004, "combobox"},
      {1005, "static"}, {1006, "button"},    {1007, "button"}, {1008, "button"},
      {1009, "button"}, {1, "button"},       {1010, "updown"}};
  EXPECT_EQ(controls, expected);
  const vfhost::ControlState* combo = Control(*outcome.state, 1004, "combobox");
  ASSERT_TRUE(combo);
  EXPECT_EQ(combo->items, (std::vector<std::string>{"赤", "緑", "青"}));
  EXPECT_EQ(combo->selected, 0);
  EXPECT_EQ(combo->text, "赤");
  ASSERT_EQ(outcome.events.size(), 2u);
  EXPECT_EQ(vfhost::TraceText(outcome.events),
            Line(R"({"event":"dialog","template":"PROBE_DLG","result":1})") +
                Line(R"({"event":"result","value":1})"));
}

// Each case: the actions (then OK), one control and what it shows when the
// dialog ended.
TEST_F(ProbeDialog, ActionsSendWhatAUsersClicksSend) {
  struct Case {
    const char* actions;
    int id;
    const char* className;
    const char* text;
    int checked;
    std::optional<int32_t> position;
  };
  const Case cases[] = {
      {"--scroll 1002=pageright --scroll 1002=lineleft", 1003, "static", "14", 0, {}},
      {"--scroll 1002=pageright --scroll 1002=lineleft", 1002, "scrollbar", "", 0, 14},
      {"--scroll 1002=thumbtrack:33", 1003, "static", "33", 0, {}},
      {"--scroll 1002=thumbposition", 1003, "static", "10", 0, {}},  // no position: the bar's own
      {"--scroll 1002=left", 1003, "static", "10", 0, {}},           // a code the dialog ignores
      {"--select 1004=2", 1005, "static", "青", 0, {}},
      {"--select 1004=2", 1004, "combobox", "青", 0, {}},
      {"--click 1007", 1007, "button", "Ｂ", 1, {}},  // an auto radio button checks itself ...
      {"--click 1007", 1006, "button", "Ａ", 0, {}},  // ... and unchecks the others of its group
      {"--click 1008", 1008, "button", "Ｃ", 0, {}},  // a plain one only notifies
      {"--click 1008", 1005, "static", "Ｃ", 0, {}},
      {"--choose-colour FF8000 --click 1009", 1005, "static", "FF8000", 0, {}},
      {"--choose-colour 00ff80 --click 1009 --click 1009", 1005, "static", "cancel", 0, {}},  // one answer
                                                                                              // only
      {"--click 1009", 1005, "static", "cancel", 0, {}},
      {"--updown 1010=-2", 1001, "edit", "3", 0, {}},
      {"--updown 1010=-2", 1010, "updown", "", 0, 3},
      {"--updown 1010=30", 1001, "edit", "20", 0, {}},
      {"--set 1001=7 --updown 1010=1", 1001, "edit", "8", 0, {}},
      {"--set 1001=ten --updown 1010=1", 1001, "edit", "6", 0, {}},  // no number: from the position
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.actions);
    const vfhost::OptionsOutcome outcome = Drive(std::string(c.actions) + " --ok");
    EXPECT_TRUE(outcome.errors.empty()) << outcome.errors.front();
    ASSERT_TRUE(outcome.state);
    const vfhost::ControlState* control = Control(*outcome.state, c.id, c.className);
    ASSERT_TRUE(control) << c.id;
    EXPECT_EQ(control->text, c.text);
    EXPECT_EQ(control->checked, c.checked);
    if (c.position) EXPECT_EQ(control->position, c.position);
  }
}

TEST_F(ProbeDialog, ActionsThatCannotBePerformedCloseTheDialog) {
  for (const char* actions : {"--select 1004=3 --ok", "--check 1003 --ok", "--scroll 1001=lineleft --ok",
                              "--updown 1011=1 --ok", "--set 1099=1 --ok"}) {
    SCOPED_TRACE(actions);
    const vfhost::OptionsOutcome outcome = Drive(actions);
    EXPECT_EQ(outcome.errors.size(), 1u);
    const std::vector<vfhost::Event> dialogs = [&] {
      std::vector<vfhost::Event> found;
      for (const vfhost::Event& event : outcome.events)
        if (event.type == vfhost::Event::Type::Dialog) found.push_back(event);
      return found;
    }();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].value, 0);  // closed with the close box, not OK
  }
}

TEST_F(ProbeDialog, RunCountsPollsLineCallsAndRefusesTheOtherKind) {
  vfhost::LayeredImage image(4, 3);
  options_.escFromPoll = 2;
  options_.time = 5;
  const vfhost::RunOutcome outcome = plugin_->RunLineAccess(image, options_);
  EXPECT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.escPolls, 3);
  EXPECT_EQ(outcome.liveAllocations, 0);
  EXPECT_EQ(outcome.lineCalls.colourReads, 4);   // every row, then row 0 again
  EXPECT_EQ(outcome.lineCalls.colourWrites, 4);  // every row, then one below the picture
  EXPECT_EQ(outcome.lineCalls.planeReads, 6);
  EXPECT_EQ(outcome.lineCalls.planeWrites, 6);
  EXPECT_EQ(outcome.lineCalls.ignored, 1);
  ASSERT_FALSE(outcome.events.empty());
  EXPECT_EQ(outcome.events.back().type, vfhost::Event::Type::Result);
  EXPECT_EQ(image.alpha, std::vector<uint8_t>(12, 0));

  vfhost::Dib dib(2, 2);
  const vfhost::RunOutcome refused = plugin_->RunDib(dib, options_);
  EXPECT_FALSE(refused.error.empty());
  EXPECT_TRUE(refused.events.empty());
}

class ProbeRun : public testing::Test {
 protected:
  Result Vfhost(const std::string& arguments) {
    return hosttest::RunVfhost(dir_, "--plugins " + std::string(VF_PROBE_PLUGIN_DIR) + " " + arguments);
  }
  std::string Path(const std::string& name) const { return dir_.path() + name; }

  // 3 x 2 pixels with alpha; its mask plane beside it.
  void WriteInputs() {
    vfhost::RgbaImage picture;
    picture.width = 3;
    picture.height = 2;
    picture.hasAlpha = true;
    for (int i = 0; i < 6; ++i)
      picture.rgba.insert(picture.rgba.end(), {uint8_t(10 * i), 100, 200, uint8_t(40 * i)});
    std::string error;
    ASSERT_TRUE(vfhost::WriteImageFile(Path("in.png"), picture, error)) << error;
    ASSERT_TRUE(vfhost::WritePlaneFile(Path("mask.pgm"), 3, 2, {0, 1, 2, 3, 4, 255}, error)) << error;
    ASSERT_TRUE(vfhost::WritePlaneFile(Path("small.pgm"), 3, 1, {0, 1, 2}, error)) << error;
  }
  std::vector<uint8_t> Plane(const std::string& name) {
    int32_t width = 0, height = 0;
    std::vector<uint8_t> plane;
    std::string error;
    EXPECT_TRUE(vfhost::ReadPlaneFile(Path(name), width, height, plane, error)) << error;
    return plane;
  }

  vftest::TempDir dir_;
};

TEST_F(ProbeRun, LayersGoInAndComeOutWithThePicture) {
  WriteInputs();
  const Result result =
      Vfhost("run hostprobe --in " + Path("in.png") + " --mask " + Path("mask.pgm") + " --out " +
             Path("out.png") + " --out-alpha " + Path("alpha.pgm") + " --out-mask " + Path("mask.png") +
             " --time 1234 --trace " + Path("trace.json"));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(
      ReadText(Path("trace.json")),
      Line(R"({"event":"progress","code":3,"value":0})") +
          Line(R"({"event":"progress","code":3,"value":50})") +
          Line(
              R"({"event":"message","caption":"試験","text":"esc=0 time=1234 row0=written","icon":"warning"})") +
          Line(R"({"event":"progress","code":0,"value":0})") + Line(R"({"event":"result","value":1})"));
  vfhost::RgbaImage out;
  std::string error;
  ASSERT_TRUE(vfhost::ReadImageFile(Path("out.png"), out, error)) << error;
  EXPECT_TRUE(out.hasAlpha);
  std::vector<uint8_t> expected;
  for (int i = 0; i < 6; ++i)
    expected.insert(expected.end(), {uint8_t(255 - 10 * i), 155, 55, uint8_t(255 - 40 * i)});
  EXPECT_EQ(out.rgba, expected);
  EXPECT_EQ(Plane("alpha.pgm"), (std::vector<uint8_t>{255, 215, 175, 135, 95, 55}));
  EXPECT_EQ(Plane("mask.png"), (std::vector<uint8_t>{255, 254, 253, 252, 251, 0}));
}

TEST_F(ProbeRun, PlanesDefaultToOpaqueAndFreeWithoutAlphaOrMask) {
  vfhost::RgbaImage picture;
  picture.width = 2;
  picture.height = 1;
  picture.rgba = {1, 2, 3, 255, 4, 5, 6, 255};
  std::string error;
  ASSERT_TRUE(vfhost::WriteImageFile(Path("in.bmp"), picture, error)) << error;
  const Result result = Vfhost("run hostprobe --in " + Path("in.bmp") + " --out " + Path("out.bmp") +
                               " --out-alpha " + Path("alpha.pgm") + " --out-mask " + Path("mask.pgm"));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Plane("alpha.pgm"), (std::vector<uint8_t>{0, 0}));
  EXPECT_EQ(Plane("mask.pgm"), (std::vector<uint8_t>{255, 255}));
}

TEST_F(ProbeRun, StorageAndEscapeOptionsReachThePlugin) {
  WriteInputs();
  const std::pair<const char*, const char*> cases[] = {
      {"", "esc=0 time=77 row0=written"},
      {"--shared-storage", "esc=0 time=77 row0=written"},
      {"--separate-storage", "esc=0 time=77 row0=original"},
      {"--esc 1", "esc=3 time=77 row0=written"},
      {"--esc 3", "esc=1 time=77 row0=written"},
      {"--esc 4", "esc=0 time=77 row0=written"},
  };
  for (const auto& [options, report] : cases) {
    SCOPED_TRACE(options);
    const Result result = Vfhost("run hostprobe --in " + Path("in.png") + " --out " + Path("out.png") +
                                 " --time 77 --trace " + Path("trace.json") + " " + options);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(ReadText(Path("trace.json")).find(std::string("\"text\":\"") + report + "\""),
              std::string::npos)
        << ReadText(Path("trace.json"));
  }
}

TEST_F(ProbeRun, PlanesThatDoNotFitThePictureAreRefused) {
  WriteInputs();
  for (const std::string& planes :
       {" --mask " + Path("small.pgm"), " --alpha " + Path("small.pgm"), " --alpha " + Path("in.png"),
        " --mask " + Path("missing.pgm"), std::string(" --shared-storage --separate-storage")}) {
    SCOPED_TRACE(planes);
    const Result result =
        Vfhost("run hostprobe --in " + Path("in.png") + " --out " + Path("out.png") + planes);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("vfhost"), std::string::npos);
    EXPECT_FALSE(vftest::FileExists(Path("out.png")));
  }
}

}  // namespace
