// Parsing of the dialog actions of `vfhost options` ("--set", "1001=12").
#include <cerrno>
#include <cstdlib>
#include <map>

#include "vfhost/session.h"

namespace vfhost {
namespace {

bool ParseInteger(const std::string& text, long minimum, long maximum, long& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < minimum || parsed > maximum) return false;
  value = parsed;
  return true;
}

bool ParseControlId(const std::string& text, int& id) {
  long value = 0;
  if (!ParseInteger(text, 0, 0xFFFF, value)) return false;
  id = static_cast<int>(value);
  return true;
}

// The SB_ codes by name; horizontal and vertical names share numbers.
bool ParseScrollCode(const std::string& text, int32_t& code) {
  static const std::map<std::string, int32_t> kCodes = {
      {"lineleft", 0}, {"lineup", 0},    {"lineright", 1}, {"linedown", 1},      {"pageleft", 2},
      {"pageup", 2},   {"pageright", 3}, {"pagedown", 3},  {"thumbposition", 4}, {"thumbtrack", 5},
      {"left", 6},     {"top", 6},       {"right", 7},     {"bottom", 7},        {"endscroll", 8}};
  const auto named = kCodes.find(text);
  if (named != kCodes.end()) {
    code = named->second;
    return true;
  }
  long value = 0;
  if (!ParseInteger(text, 0, 0xFFFF, value)) return false;
  code = static_cast<int32_t>(value);
  return true;
}

bool ParseColour(const std::string& text, uint32_t& colour) {
  std::string digits = text[0] == '#' ? text.substr(1) : text;
  if (digits.size() != 6 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    return false;
  colour = static_cast<uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
  return true;
}

// Splits "ID=VALUE"; false when there is no '=' or the id is not a number.
bool SplitAssignment(const std::string& argument, int& id, std::string& value) {
  const size_t equals = argument.find('=');
  if (equals == std::string::npos) return false;
  value = argument.substr(equals + 1);
  return ParseControlId(argument.substr(0, equals), id);
}

const std::map<std::string, DialogAction::Type>& ActionTypes() {
  static const std::map<std::string, DialogAction::Type> kTypes = {
      {"--set", DialogAction::Type::Set},
      {"--check", DialogAction::Type::Check},
      {"--uncheck", DialogAction::Type::Uncheck},
      {"--click", DialogAction::Type::Click},
      {"--scroll", DialogAction::Type::Scroll},
      {"--select", DialogAction::Type::Select},
      {"--updown", DialogAction::Type::UpDown},
      {"--choose-colour", DialogAction::Type::ChooseColour},
      {"--choose-color", DialogAction::Type::ChooseColour},
      {"--ok", DialogAction::Type::Ok},
      {"--close", DialogAction::Type::Close}};
  return kTypes;
}

}  // namespace

bool IsDialogAction(const std::string& option) {
  return ActionTypes().count(option) != 0;
}

std::string ParseDialogAction(const std::string& option, const std::string& argument, DialogAction& action) {
  const auto type = ActionTypes().find(option);
  if (type == ActionTypes().end()) return "unknown dialog action " + option;
  action = DialogAction{};
  action.type = type->second;
  const std::string usage = option + " " + argument + ": ";
  std::string value;
  long number = 0;
  switch (action.type) {
    case DialogAction::Type::Ok:
    case DialogAction::Type::Close:
      return "";
    case DialogAction::Type::Check:
    case DialogAction::Type::Uncheck:
    case DialogAction::Type::Click:
      if (!ParseControlId(argument, action.id)) return usage + "expected a control id";
      return "";
    case DialogAction::Type::Set:
      if (!SplitAssignment(argument, action.id, action.text)) return usage + "expected ID=TEXT";
      return "";
    case DialogAction::Type::Select:
      if (!SplitAssignment(argument, action.id, value) || !ParseInteger(value, 0, INT32_MAX, number))
        return usage + "expected ID=INDEX";
      action.code = static_cast<int32_t>(number);
      return "";
    case DialogAction::Type::UpDown:
      if (!SplitAssignment(argument, action.id, value) || !ParseInteger(value, -100000, 100000, number))
        return usage + "expected ID=DELTA (a whole number, negative for the down arrow)";
      action.code = static_cast<int32_t>(number);
      return "";
    case DialogAction::Type::Scroll: {
      if (!SplitAssignment(argument, action.id, value)) return usage + "expected ID=CODE[:POS]";
      const size_t colon = value.find(':');
      if (!ParseScrollCode(value.substr(0, colon), action.code))
        return usage +
               "unknown scroll code (lineleft, lineright, pageleft, pageright, thumbposition, "
               "thumbtrack, left, right, endscroll or a number)";
      if (colon != std::string::npos) {
        if (!ParseInteger(value.substr(colon + 1), -32768, 65535, number))
          return usage + "the position must be a number from -32768 to 65535";
        action.position = static_cast<int32_t>(number);
      }
      return "";
    }
    case DialogAction::Type::ChooseColour:
      if (argument.empty() || !ParseColour(argument, action.colour))
        return usage + "expected a colour RRGGBB";
      return "";
  }
  return "";
}

bool DialogActionTakesArgument(const std::string& option) {
  return option != "--ok" && option != "--close";
}

}  // namespace vfhost
