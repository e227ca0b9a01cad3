// The line-access plug-ins through the vfhost binary, as users run them:
// colour from PNG (an RGBA PNG carries the alpha), planes from PGM or grey
// PNG, the planes written back, the same results with shared and with
// separate storage, and the mask put back after the runs that clear it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "layered_test.h"
#include "vfhost/images.h"

namespace {

struct Planes {
  vfhost::RgbaImage picture;
  std::vector<uint8_t> alpha, mask;
};

class LineAccessCli : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { std::filesystem::create_directories(Settings()); }
  std::string Path(const std::string& name) const { return dir_.path() + name; }
  std::string Settings() const { return dir_.path() + "settings/"; }

  // Runs vfhost on the files in.png and mask.pgm (and the storage of the
  // test's parameter) into out.png, out-alpha.pgm and out-mask.png.
  int RunPlugin(const std::string& plugin, const std::string& extra = "") {
    const std::string command =
        std::string(VF_BIN_DIR) + "/vfhost run " + plugin + " --in " + Path("in.png") + " --mask " +
        Path("mask.pgm") + " --out " + Path("out.png") + " --out-alpha " + Path("out-alpha.pgm") +
        " --out-mask " + Path("out-mask.png") + " --trace " + Path("trace.jsonl") + " " + GetParam() + " " +
        extra + " --settings " + Settings() + " </dev/null >/dev/null 2>" + Path("stderr.txt");
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

  void WriteInput(const vfhost::LayeredImage& image, bool withAlpha) {
    vfhost::RgbaImage picture = vfhost::RgbaFromLayered(image);
    picture.hasAlpha = withAlpha;
    std::string error;
    ASSERT_TRUE(vfhost::WriteImageFile(Path("in.png"), picture, error)) << error;
    ASSERT_TRUE(vfhost::WritePlaneFile(Path("mask.pgm"), image.width, image.height, image.mask, error))
        << error;
  }

  vfhost::LayeredImage ReadOutput() {
    std::string error;
    vfhost::RgbaImage picture;
    EXPECT_TRUE(vfhost::ReadImageFile(Path("out.png"), picture, error)) << error;
    EXPECT_TRUE(picture.hasAlpha);
    vfhost::LayeredImage image = vfhost::LayeredFromRgba(picture);
    int32_t width = 0, height = 0;
    std::vector<uint8_t> alpha;
    EXPECT_TRUE(vfhost::ReadPlaneFile(Path("out-alpha.pgm"), width, height, alpha, error)) << error;
    EXPECT_EQ(alpha, image.alpha) << "the alpha plane and the PNG's alpha";
    EXPECT_TRUE(vfhost::ReadPlaneFile(Path("out-mask.png"), width, height, image.mask, error)) << error;
    EXPECT_EQ(width, image.width);
    EXPECT_EQ(height, image.height);
    return image;
  }

  vftest::TempDir dir_;
};

// A white picture with the default range; mask 255 and 128 in the first row.
TEST_P(LineAccessCli, ClearBackMakesTheWhiteTransparentAndPutsTheMaskBack) {
  vfhost::LayeredImage image = vftest::UniformLayers(4, 3, vftest::kWhite, 255, 0);
  vftest::MaskAt(image, 1, 0) = 255;
  vftest::MaskAt(image, 2, 0) = 128;
  WriteInput(image, false);
  ASSERT_EQ(RunPlugin("clearback"), 0);
  const vfhost::LayeredImage result = ReadOutput();
  EXPECT_EQ(result.colour, image.colour);  // white stays white
  std::vector<uint8_t> alpha(12, 0);
  alpha[1] = 255;
  alpha[2] = 128;
  EXPECT_EQ(result.alpha, alpha);
  EXPECT_EQ(result.mask, image.mask);
  const std::vector<uint8_t> bytes = vftest::ReadFileBytes(Path("trace.jsonl"));
  const std::string trace(bytes.begin(), bytes.end());
  EXPECT_EQ(trace.rfind(R"({"event":"message","caption":"背景透明化フィルター ( ver 0.01 ) の注意",)", 0), 0u)
      << trace;
}

// Range 1: grey 128 beside the white corner becomes 85 at opacity 191.
TEST_P(LineAccessCli, ClearBackUnwhitensGreyBesideTheBackground) {
  vftest::WriteFileBytes(Settings() + "clearback.dat", vftest::WordBytes({1, 1}));
  vfhost::LayeredImage image = vftest::UniformLayers(3, 1, vftest::kBlack, 255, 0);
  vftest::SetColour(image, 0, 0, vftest::kWhite);
  vftest::SetColour(image, 1, 0, vftest::Grey(128));
  WriteInput(image, true);
  ASSERT_EQ(RunPlugin("clearback"), 0);
  const vfhost::LayeredImage result = ReadOutput();
  EXPECT_EQ(vftest::ColourAt(result, 1, 0), vftest::Grey(85));
  EXPECT_EQ(result.alpha, (std::vector<uint8_t>{0, 191, 255}));
}

// a = 128 and colour 0 over grey 128 on the left; on the checkerboard the
// transparent pixels of the cell at (0, 0) turn white, their neighbours grey.
TEST_P(LineAccessCli, OpaqueFillFlattensOverTheColourOrTheCheckerboard) {
  for (uint32_t checkerboard : {0u, 1u}) {
    SCOPED_TRACE(checkerboard);
    std::vector<uint32_t> record = {0, 0x808080};
    record.insert(record.end(), 16, 0x808080);
    record.push_back(1);
    record.push_back(checkerboard);
    vftest::WriteFileBytes(Settings() + "opaquefill.dat", vftest::WordBytes(record));
    vfhost::LayeredImage image = vftest::UniformLayers(9, 1, vftest::kBlack, 0, 0);
    vftest::AlphaAt(image, 0, 0) = 128;
    WriteInput(image, true);
    ASSERT_EQ(RunPlugin("opaquefill"), 0);
    const vfhost::LayeredImage result = ReadOutput();
    EXPECT_EQ(vftest::ColourAt(result, 0, 0), vftest::Grey(checkerboard ? 127 : 63));
    EXPECT_EQ(vftest::ColourAt(result, 7, 0), checkerboard ? vftest::kWhite : vftest::Grey(128));
    EXPECT_EQ(vftest::ColourAt(result, 8, 0), vftest::Grey(128));
    EXPECT_EQ(result.alpha, std::vector<uint8_t>(9, 255));
    EXPECT_EQ(result.mask, image.mask);
  }
}

// X = -1: everything moves one to the left, column 0 comes back at the
// right, with its alpha and its mask.
TEST_P(LineAccessCli, FullScrollMovesAllThreeLayersTogether) {
  vftest::WriteFileBytes(Settings() + "fullscroll.dat", vftest::WordBytes({static_cast<uint32_t>(-1), 0}));
  vfhost::LayeredImage image = vftest::UniformLayers(3, 2, vftest::Grey(50), 200, 0);
  vftest::SetColour(image, 0, 1, vftest::Bgr{1, 2, 3});
  vftest::AlphaAt(image, 0, 1) = 0;
  vftest::MaskAt(image, 0, 1) = 255;
  WriteInput(image, true);
  ASSERT_EQ(RunPlugin("fullscroll"), 0);
  const vfhost::LayeredImage result = ReadOutput();
  EXPECT_EQ(vftest::ColourAt(result, 2, 1), (vftest::Bgr{1, 2, 3}));
  EXPECT_EQ(vftest::AlphaAt(result, 2, 1), 0);
  EXPECT_EQ(vftest::MaskAt(result, 2, 1), 255);
  EXPECT_EQ(vftest::MaskAt(result, 0, 1), 0);
  EXPECT_EQ(vftest::AlphaAt(result, 0, 1), 200);
}

INSTANTIATE_TEST_SUITE_P(Storage, LineAccessCli, testing::Values("--shared-storage", "--separate-storage"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param).find("shared") != std::string::npos
                                      ? "SharedStorage"
                                      : "SeparateStorage";
                         });

}  // namespace
