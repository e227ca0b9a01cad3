// Which sample each plug-in gets in `vfhost demo`, and which dialog actions
// set it up first. One line per plug-in; plug-ins not listed run on the photo
// (kind 10: the layered sample) with their default settings.
#include <cstring>

#include "demo.h"

namespace vfhost::demo {
namespace {

const PlanEntry kPlan[] = {
    {"maxfilter", Sample::Photo, ""},
    // The rank filters clean line art best; one pass of the minimum filter
    // closes the white holes (repeated, it would fill the paper).
    {"minfilter", Sample::LineArt, "--uncheck 1009 --ok"},
    {"despeckle", Sample::LineArt, ""},
    {"edgeblur", Sample::Photo, ""},
    // These refuse to run before their dialog has written a settings file.
    {"softblur", Sample::Photo, "--ok"},
    {"radialblur", Sample::Photo, "--ok"},
    {"spinblur", Sample::Photo, "--ok"},
    {"scroll", Sample::Photo, "--ok"},
    // A run without a settings file draws every difference above 1; the
    // dialog's first threshold (60) draws the boundaries a user expects.
    {"edgeextract", Sample::Photo, "--ok"},
    {"regionavg", Sample::Photo, ""},
    // The palette of the survey is kept: reduce to it, then paint it out.
    {"colorreduce", Sample::Photo, "", "--click 1012 --ok; --click 1013 --ok"},
    {"rangestretch", Sample::Photo, "", "--click 1012 --ok; --click 1013 --ok"},
    {"ditherbw", Sample::Photo, ""},
    {"jitternoise", Sample::Photo, ""},
    {"diffuseblur", Sample::Photo, ""},
    {"clearback", Sample::Layered, ""},
    {"opaquefill", Sample::Layered, ""},
    {"fullscroll", Sample::Layered, ""},
};

}  // namespace

const PlanEntry* FindPlanEntry(const std::string& plugin) {
  for (const PlanEntry& entry : kPlan)
    if (plugin == entry.plugin) return &entry;
  return nullptr;
}

}  // namespace vfhost::demo
