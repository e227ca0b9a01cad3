// The dialog procedure of the plug-in named by VF_FUZZ_PLUGIN, opened on a
// settings file from the fuzz input and driven by a sequence of user
// actions (typing, clicks, scrolls, selections, up-down presses, colour
// choices, OK, close) on its controls, also taken from the input.
#include <vector>

#include "fuzz_plugin.h"

namespace {

// The ids of the dialog's controls, read once from a dialog closed at once.
const std::vector<int>& ControlIds() {
  static const std::vector<int> ids = [] {
    std::vector<int> found;
    vfhost::RunOptions options;
    options.settingsDir = vffuzz::SettingsFolder();
    const vfhost::OptionsOutcome outcome = vffuzz::FuzzedPlugin().RunOptions({}, options);
    if (outcome.state)
      for (const vfhost::ControlState& control : outcome.state->controls) found.push_back(control.id);
    if (found.empty()) found.push_back(1);
    return found;
  }();
  return ids;
}

vfhost::DialogAction TakeAction(FuzzedDataProvider& input) {
  using Type = vfhost::DialogAction::Type;
  static const Type kTypes[] = {Type::Set,    Type::Check,  Type::Uncheck,      Type::Click, Type::Scroll,
                                Type::Select, Type::UpDown, Type::ChooseColour, Type::Ok,    Type::Close};
  vfhost::DialogAction action;
  action.type = kTypes[input.ConsumeIntegralInRange<size_t>(0, std::size(kTypes) - 1)];
  const std::vector<int>& ids = ControlIds();
  action.id = ids[input.ConsumeIntegralInRange<size_t>(0, ids.size() - 1)];
  switch (action.type) {
    case Type::Set:
      action.text = input.ConsumeRandomLengthString(24);
      break;
    case Type::Scroll:
      action.code = input.ConsumeIntegralInRange<int32_t>(0, 8);
      if (input.ConsumeBool()) action.position = input.ConsumeIntegral<int32_t>();
      break;
    case Type::Select:
      action.code = input.ConsumeIntegralInRange<int32_t>(-2, 300);
      break;
    case Type::UpDown:
      action.code = input.ConsumeIntegralInRange<int32_t>(-70000, 70000);
      break;
    case Type::ChooseColour:
      action.colour = input.ConsumeIntegral<uint32_t>() & 0xFFFFFF;
      break;
    default:
      break;
  }
  return action;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  vfhost::Plugin& plugin = vffuzz::FuzzedPlugin();
  ControlIds();
  vffuzz::LayDownSettings(input, vffuzz::SettingsFileName());
  vfhost::RunOptions options;
  options.settingsDir = vffuzz::SettingsFolder();
  std::vector<vfhost::DialogAction> actions;
  while (input.remaining_bytes() > 0 && actions.size() < 40) actions.push_back(TakeAction(input));
  const vfhost::OptionsOutcome outcome = plugin.RunOptions(actions, options);
  if (outcome.result != 0 && outcome.result != 1) vffuzz::Fail("FilterOption returned neither 0 nor 1");
  return 0;
}
