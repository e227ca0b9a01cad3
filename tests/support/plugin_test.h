// Helpers for the plug-in tests: load a built plug-in through vfhost's core
// and look at the events of a call.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "temp_dir.h"
#include "vfhost/session.h"

namespace vftest {

inline std::unique_ptr<vfhost::Plugin> LoadPlugin(const std::string& name) {
  std::string error;
  std::unique_ptr<vfhost::Plugin> plugin = vfhost::Plugin::Load(name, VF_PLUGIN_DIR, error);
  EXPECT_TRUE(plugin) << name << ": " << error;
  return plugin;
}

inline vfhost::RunOptions OptionsFor(const TempDir& settings) {
  vfhost::RunOptions options;
  options.settingsDir = settings.path();
  return options;
}

inline std::vector<vfhost::Event> EventsOfType(const std::vector<vfhost::Event>& events,
                                               vfhost::Event::Type type) {
  std::vector<vfhost::Event> selected;
  for (const vfhost::Event& event : events)
    if (event.type == type) selected.push_back(event);
  return selected;
}

inline std::vector<vfhost::Event> Messages(const std::vector<vfhost::Event>& events) {
  return EventsOfType(events, vfhost::Event::Type::Message);
}

// The progress events as (code, value) pairs, in order.
inline std::vector<std::pair<int32_t, int64_t>> Progress(const std::vector<vfhost::Event>& events) {
  std::vector<std::pair<int32_t, int64_t>> progress;
  for (const vfhost::Event& event : EventsOfType(events, vfhost::Event::Type::Progress))
    progress.emplace_back(event.code, event.value);
  return progress;
}

inline const vfhost::ControlState* FindControl(const vfhost::DialogState& state, int id,
                                               const std::string& className = "") {
  for (const vfhost::ControlState& control : state.controls)
    if (control.id == id && (className.empty() || control.className == className)) return &control;
  return nullptr;
}

inline vfhost::DialogAction Action(vfhost::DialogAction::Type type, int id = 0, const std::string& text = "",
                                   int32_t code = 0) {
  vfhost::DialogAction action;
  action.type = type;
  action.id = id;
  action.text = text;
  action.code = code;
  return action;
}

inline vfhost::Dib UniformDib(int32_t width, int32_t height, uint8_t red, uint8_t green, uint8_t blue) {
  vfhost::Dib dib(width, height);
  dib.Fill(red, green, blue);
  return dib;
}

}  // namespace vftest
