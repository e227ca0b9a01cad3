// vfhost's core, shared by the command-line host and the tests: loading a
// plug-in, calling its three exports as the paint program does, and
// recording what it sends back (progress, message boxes, dialog results).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "vfhost/images.h"

namespace vfhost {

// One event of a call, in the order it happened. Texts are UTF-8 (converted
// from the plug-in's code page 932).
struct Event {
  enum class Type { Progress, Message, Dialog, Result };
  Type type = Type::Result;
  int32_t code = 0;                 // Progress: wParam
  int64_t value = 0;                // Progress: lParam; Dialog: EndDialog value; Result: return value
  std::string caption, text, icon;  // Message: icon is error|information|warning|none
  std::string templateName;         // Dialog
};

// The trace format: one JSON object per line, no spaces after separators,
// non-ASCII characters as UTF-8.
std::string TraceLine(const Event& event);
std::string TraceText(const std::vector<Event>& events);

struct RunOptions {
  std::string settingsDir;             // handed to the plug-in as dir (trailing separator added)
  std::optional<int64_t> time;         // pinned clock (native build)
  std::optional<int64_t> escFromPoll;  // the N-th ESC poll (1-based) and later ones report ESC
  long failAllocation = 0;             // 0 none, n > 0 the n-th allocation request, -1 all
  bool sharedStorage = true;           // kind 10: read and write tables reach one storage
  bool showProgressBar = false;        // draw a progress bar on standard error
  bool echoMessages = false;           // print message boxes on standard error
  bool terminalEscape = false;         // report Esc pressed in the terminal
};

// Calls of the kind-10 line functions during one FilterProc call. Calls
// whose row, columns, plane or buffer lie outside the image are counted in
// ignored and transfer nothing.
struct LineCallCounts {
  long colourReads = 0, colourWrites = 0, planeReads = 0, planeWrites = 0;
  long ignored = 0;
};

struct RunOutcome {
  std::string error;   // set when FilterProc was not called (the plug-in is of the other kind)
  int32_t result = 0;  // FilterProc's return value
  std::vector<Event> events;
  long escPolls = 0;         // how often the plug-in polled ESC
  long liveAllocations = 0;  // working blocks still allocated after the call (native build)
  LineCallCounts lineCalls;  // kind 10
};

// One dialog action of `vfhost options`, as host-cli.md lists them.
struct DialogAction {
  enum class Type { Set, Check, Uncheck, Click, Scroll, Select, UpDown, ChooseColour, Ok, Close };
  Type type = Type::Ok;
  int id = 0;
  std::string text;                 // Set: UTF-8 text
  int32_t code = 0;                 // Scroll: SB_ code; Select: index; UpDown: delta
  std::optional<int32_t> position;  // Scroll: thumb position
  uint32_t colour = 0;              // ChooseColour: 0xRRGGBB
};
// Parses "--set", "1001=12" style pairs; returns an error message or "".
std::string ParseDialogAction(const std::string& option, const std::string& argument, DialogAction& action);
// Whether the option names a dialog action, and whether it takes an argument.
bool IsDialogAction(const std::string& option);
bool DialogActionTakesArgument(const std::string& option);

struct ControlState {
  int id = 0;
  std::string className;  // button, edit, static, scrollbar, combobox, updown
  std::string text;       // UTF-8
  bool enabled = true;
  int checked = 0;
  std::optional<int32_t> minimum, maximum, position;  // scroll bars and up-downs
  std::vector<std::string> items;                     // combo boxes
  std::optional<int32_t> selected;
  // Native build: the colour (0xRRGGBB) of the last fill painted on the
  // control, such as a colour swatch. Not part of the state JSON.
  std::optional<uint32_t> fillColour;
};
struct DialogState {
  std::string templateName;
  std::vector<ControlState> controls;  // template order, then those created at run time
};
std::string DialogStateJson(const DialogState& state);

struct OptionsOutcome {
  int32_t result = 0;  // FilterOption's return value
  std::vector<Event> events;
  std::optional<DialogState> state;  // the controls when the dialog ended
  // Actions that could not be performed (no such control, a disabled one,
  // ...); the dialog was then closed with the close box, nothing saved.
  std::vector<std::string> errors;
};

class Plugin {
 public:
  // Loads NAME.so / NAME.dll from the folder, or a path. Null and a message
  // when it cannot be loaded or lacks one of the three exports.
  static std::unique_ptr<Plugin> Load(const std::string& nameOrPath, const std::string& pluginDir,
                                      std::string& error);
  ~Plugin();

  const std::string& name() const;
  const std::string& path() const;
  std::string TitleUtf8() const;
  std::string TitleBytes() const;  // code page 932, as FilterGetTitle copied it
  int32_t Kind() const;

  // Kind 0: FilterProc on the DIB, changed in place.
  RunOutcome RunDib(Dib& image, const RunOptions& options);
  // Kind 10: FilterProc over the layered image, changed in place.
  RunOutcome RunLineAccess(LayeredImage& image, const RunOptions& options);
  // FilterOption driven by the actions (then closed with the close box if
  // still open).
  OptionsOutcome RunOptions(const std::vector<DialogAction>& actions, const ::vfhost::RunOptions& options);

 private:
  Plugin();
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Plug-ins found in the folder (names without the extension), sorted.
std::vector<std::string> FindPlugins(const std::string& pluginDir);
// NAME.so on Linux, NAME.dll on Windows.
std::string PluginFileName(const std::string& name);

// The settings folder as the plug-ins expect it: with a trailing separator
// (an empty folder stays empty: the current directory).
std::string WithTrailingSeparator(const std::string& folder);

}  // namespace vfhost
