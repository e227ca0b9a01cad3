// The trace lines of a call and the JSON of a dialog's final state: compact
// JSON, UTF-8 texts written as they are, control characters escaped.
#include <cstdio>

#include "vfhost/session.h"

namespace vfhost {
namespace {

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string Field(const char* name, const std::string& jsonValue) {
  return std::string("\"") + name + "\":" + jsonValue;
}

}  // namespace

std::string TraceLine(const Event& event) {
  switch (event.type) {
    case Event::Type::Progress:
      return "{" + Field("event", "\"progress\"") + "," + Field("code", std::to_string(event.code)) + "," +
             Field("value", std::to_string(event.value)) + "}";
    case Event::Type::Message:
      return "{" + Field("event", "\"message\"") + "," + Field("caption", JsonString(event.caption)) + "," +
             Field("text", JsonString(event.text)) + "," + Field("icon", JsonString(event.icon)) + "}";
    case Event::Type::Dialog:
      return "{" + Field("event", "\"dialog\"") + "," + Field("template", JsonString(event.templateName)) +
             "," + Field("result", std::to_string(event.value)) + "}";
    case Event::Type::Result:
      break;
  }
  return "{" + Field("event", "\"result\"") + "," + Field("value", std::to_string(event.value)) + "}";
}

std::string TraceText(const std::vector<Event>& events) {
  std::string text;
  for (const Event& event : events) text += TraceLine(event) + "\n";
  return text;
}

std::string DialogStateJson(const DialogState& state) {
  std::string controls;
  for (const ControlState& control : state.controls) {
    if (!controls.empty()) controls += ",";
    controls += "{" + Field("id", std::to_string(control.id)) + "," +
                Field("class", JsonString(control.className)) + "," +
                Field("text", JsonString(control.text)) + "," +
                Field("enabled", control.enabled ? "true" : "false") + "," +
                Field("checked", std::to_string(control.checked));
    if (control.minimum) controls += "," + Field("min", std::to_string(*control.minimum));
    if (control.maximum) controls += "," + Field("max", std::to_string(*control.maximum));
    if (control.position) controls += "," + Field("pos", std::to_string(*control.position));
    if (control.className == "combobox") {
      std::string items;
      for (const std::string& item : control.items) items += (items.empty() ? "" : ",") + JsonString(item);
      controls += "," + Field("items", "[" + items + "]");
      controls += "," + Field("selected", std::to_string(control.selected.value_or(-1)));
    }
    controls += "}";
  }
  return "{" + Field("template", JsonString(state.templateName)) + "," +
         Field("controls", "[" + controls + "]") + "}";
}

}  // namespace vfhost
