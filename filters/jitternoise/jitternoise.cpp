// jitternoise: "乱れノイズ", kind 0. Clustered random brightness noise that
// wraps around the edges.
#include "frame/host_interface.h"
#include "frame/progress.h"
#include "frame/random.h"
#include "frame/run_control.h"
#include "frame/settings.h"
#include "jitternoise_filter.h"

namespace jitternoise {
namespace {

Settings settings_of_library = {};

// Progress every P = A x B / 100 clusters, the value counting the messages;
// with fewer than 100 clusters in all P would be 0, and every cluster
// reports instead. The user can stop after any cluster with ESC.
class ClusterProgress {
 public:
  ClusterProgress(HWND host, const Settings& settings) : host_(host) {
    if (settings.seedPoints > 0 && settings.clustersPerSeed > 0) {
      step_ =
          static_cast<uint64_t>(settings.seedPoints) * static_cast<uint64_t>(settings.clustersPerSeed) / 100;
    }
    if (step_ == 0) step_ = 1;
  }

  bool AfterCluster(uint64_t cluster) {
    if (cluster % step_ == 0) frame::SendProgress(host_, frame::PROGRESS_PERCENT, messagesSent_++);
    return !frame::EscapeRequested();
  }

 private:
  HWND host_;
  uint64_t step_ = 0;
  int32_t messagesSent_ = 0;
};

}  // namespace

Settings& CurrentSettings() {
  return settings_of_library;
}

}  // namespace jitternoise

namespace frame {

const char kPluginTitle[] = "乱れノイズ";

int PluginProcDib(HWND host, BITMAPINFOHEADER* header, const char* dir) {
  using namespace jitternoise;
  Settings& settings = CurrentSettings();
  LoadSettings(dir, settings);
  SendProgress(host, PROGRESS_BEGIN, 0);

  const DibImage image = ViewDib(header);
  RandomGenerator generator = ClockSeededGenerator();
  ClusterProgress progress(host, settings);
  AddClusteredNoise(image, settings, generator,
                    [&progress](uint64_t cluster) { return progress.AfterCluster(cluster); });

  SendProgress(host, PROGRESS_END, 0);
  return 1;
}

}  // namespace frame
