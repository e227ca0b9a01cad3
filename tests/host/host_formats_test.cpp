// The formats vfhost writes and reads: trace lines, the dialog state JSON,
// and the dialog actions of `vfhost options`.
#include <gtest/gtest.h>

#include "vfhost/session.h"

namespace {

using vfhost::DialogAction;
using vfhost::Event;

Event Progress(int32_t code, int64_t value) {
  Event event;
  event.type = Event::Type::Progress;
  event.code = code;
  event.value = value;
  return event;
}

Event Message(const std::string& caption, const std::string& text, const std::string& icon) {
  Event event;
  event.type = Event::Type::Message;
  event.caption = caption;
  event.text = text;
  event.icon = icon;
  return event;
}

TEST(TraceFormat, WritesTheDocumentedLines) {
  Event dialog;
  dialog.type = Event::Type::Dialog;
  dialog.templateName = "MAX_DLG";
  dialog.value = 1;
  Event result;
  result.type = Event::Type::Result;
  result.value = 1;
  const std::vector<Event> events = {
      Progress(2, 0), Message(" 最大値", "処理できるピクセルがありませんでした（＾＾；。", "information"),
      dialog, result};
  EXPECT_EQ(vfhost::TraceText(events),
            "{\"event\":\"progress\",\"code\":2,\"value\":0}\n"
            "{\"event\":\"message\",\"caption\":\" "
            "最大値\",\"text\":\"処理できるピクセルがありませんでした（＾＾；。\","
            "\"icon\":\"information\"}\n"
            "{\"event\":\"dialog\",\"template\":\"MAX_DLG\",\"result\":1}\n"
            "{\"event\":\"result\",\"value\":1}\n");
}

TEST(TraceFormat, EscapesWhatJsonCannotHoldAsIs) {
  EXPECT_EQ(vfhost::TraceLine(Message("a\"b", "line 1\nline 2\\\t\x01", "error")),
            "{\"event\":\"message\",\"caption\":\"a\\\"b\",\"text\":\"line 1\\nline 2\\\\\\t\\u0001\","
            "\"icon\":\"error\"}");
  EXPECT_EQ(vfhost::TraceLine(Progress(3, -190)), "{\"event\":\"progress\",\"code\":3,\"value\":-190}");
}

TEST(DialogStateFormat, GivesRangesForBarsAndUpDownsAndItemsForComboBoxes) {
  vfhost::DialogState state;
  state.templateName = "DLGBOX";
  vfhost::ControlState edit;
  edit.id = 1001;
  edit.className = "edit";
  edit.text = "12";
  vfhost::ControlState check;
  check.id = 1008;
  check.className = "button";
  check.text = "継ぎ目";
  check.enabled = false;
  check.checked = 1;
  vfhost::ControlState bar;
  bar.id = 1002;
  bar.className = "scrollbar";
  bar.minimum = 0;
  bar.maximum = 100;
  bar.position = 40;
  vfhost::ControlState combo;
  combo.id = 1004;
  combo.className = "combobox";
  combo.text = "b";
  combo.items = {"a", "b"};
  combo.selected = 1;
  state.controls = {edit, check, bar, combo};
  EXPECT_EQ(vfhost::DialogStateJson(state),
            "{\"template\":\"DLGBOX\",\"controls\":["
            "{\"id\":1001,\"class\":\"edit\",\"text\":\"12\",\"enabled\":true,\"checked\":0},"
            "{\"id\":1008,\"class\":\"button\",\"text\":\"継ぎ目\",\"enabled\":false,\"checked\":1},"
            "{\"id\":1002,\"class\":\"scrollbar\",\"text\":\"\",\"enabled\":true,\"checked\":0,"
            "\"min\":0,\"max\":100,\"pos\":40},"
            "{\"id\":1004,\"class\":\"combobox\",\"text\":\"b\",\"enabled\":true,\"checked\":0,"
            "\"items\":[\"a\",\"b\"],\"selected\":1}]}");
}

TEST(DialogActions, ParsesEveryAction) {
  struct Case {
    const char* option;
    const char* argument;
    DialogAction::Type type;
    int id;
    std::string text;
    int32_t code;
    std::optional<int32_t> position;
    uint32_t colour;
  };
  using T = DialogAction::Type;
  const Case cases[] = {
      {"--set", "1001=12", T::Set, 1001, "12", 0, {}, 0},
      {"--set", "1001=", T::Set, 1001, "", 0, {}, 0},
      {"--set", "1002=a=b", T::Set, 1002, "a=b", 0, {}, 0},
      {"--check", "1008", T::Check, 1008, "", 0, {}, 0},
      {"--uncheck", "1008", T::Uncheck, 1008, "", 0, {}, 0},
      {"--click", "1006", T::Click, 1006, "", 0, {}, 0},
      {"--scroll", "1003=pageright", T::Scroll, 1003, "", 3, {}, 0},
      {"--scroll", "1003=lineup", T::Scroll, 1003, "", 0, {}, 0},
      {"--scroll", "1003=thumbtrack:40", T::Scroll, 1003, "", 5, 40, 0},
      {"--scroll", "1003=endscroll", T::Scroll, 1003, "", 8, {}, 0},
      {"--scroll", "1003=4:7", T::Scroll, 1003, "", 4, 7, 0},
      {"--select", "1005=2", T::Select, 1005, "", 2, {}, 0},
      {"--updown", "1010=-3", T::UpDown, 1010, "", -3, {}, 0},
      {"--choose-colour", "FF8000", T::ChooseColour, 0, "", 0, {}, 0xFF8000},
      {"--ok", "", T::Ok, 0, "", 0, {}, 0},
      {"--close", "", T::Close, 0, "", 0, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.option) + " " + c.argument);
    DialogAction action;
    ASSERT_EQ(vfhost::ParseDialogAction(c.option, c.argument, action), "");
    EXPECT_EQ(action.type, c.type);
    EXPECT_EQ(action.id, c.id);
    EXPECT_EQ(action.text, c.text);
    EXPECT_EQ(action.code, c.code);
    EXPECT_EQ(action.position, c.position);
    EXPECT_EQ(action.colour, c.colour);
  }
}

TEST(DialogActions, RefusesMalformedArguments) {
  const std::pair<const char*, const char*> cases[] = {
      {"--set", "1001"},
      {"--set", "x=1"},
      {"--check", ""},
      {"--check", "10a"},
      {"--click", "-1"},
      {"--scroll", "1003=sideways"},
      {"--scroll", "1003=4:x"},
      {"--select", "1005=-1"},
      {"--select", "1005"},
      {"--updown", "1010=up"},
      {"--choose-colour", "12345"},
      {"--choose-colour", "GG0000"},
      {"--press", "1"},
  };
  for (const auto& [option, argument] : cases) {
    DialogAction action;
    EXPECT_NE(vfhost::ParseDialogAction(option, argument, action), "") << option << " " << argument;
  }
}

}  // namespace
