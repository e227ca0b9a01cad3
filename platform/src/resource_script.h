// Parser for the dialog templates of a resource script (.rc), in the code
// page 932 bytes that a plug-in embeds. It understands the statements that
// dialog templates use: DIALOG and DIALOGEX headers with STYLE, EXSTYLE,
// CAPTION and FONT, the control statements (LTEXT ... SCROLLBAR) and the
// generic CONTROL statement. Of the preprocessor it knows `#define NAME
// number` (a name usable as a number), #undef, and the conditionals #if,
// #ifdef, #ifndef, #elif, #else and #endif; other directives are skipped.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "vfwin/vfwin.h"

namespace vfwin::rc {

struct ControlTemplate {
  std::string
      className;  // "Button", "Edit", "Static", "ScrollBar", "ComboBox", "msctls_updown32" or as written
  int id = 0;
  DWORD style = 0;  // includes WS_CHILD | WS_VISIBLE and the statement's default styles
  DWORD exStyle = 0;
  std::string text;                  // code page 932
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  int line = 0;
};

struct DialogTemplate {
  std::string name;                  // as written in the script
  bool extended = false;             // DIALOGEX
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  DWORD style = 0;
  DWORD exStyle = 0;
  std::string caption;  // code page 932
  int fontSize = 0;
  std::string fontFace;
  int fontWeight = 0;
  int fontItalic = 0;
  int fontCharset = 0;
  std::vector<ControlTemplate> controls;
  int line = 0;
};

struct ResourceScript {
  std::vector<DialogTemplate> dialogs;

  // Template names are compared without regard to ASCII case.
  const DialogTemplate* Find(std::string_view name) const;
};

struct ParseResult {
  bool ok = false;
  ResourceScript script;
  std::string error;  // "line 7: expected a number after the control id"
};

ParseResult ParseResourceScript(std::string_view scriptBytes);

// The style constant of that name (WS_, WS_EX_, DS_, ES_, SS_, BS_, SBS_,
// CBS_, UDS_), or false when there is none.
bool LookUpStyleName(std::string_view name, DWORD* value);

}  // namespace vfwin::rc
