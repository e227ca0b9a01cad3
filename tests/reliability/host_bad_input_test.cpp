// vfhost fed broken and malicious input: picture and plane files cut short
// at every length or with lying headers, pictures too large to hold, planes
// of the wrong size, unknown plug-ins and files that are no plug-in. Each
// must end with a message, exit status 2 and nothing written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/vfhost_runner.h"
#include "support/temp_dir.h"
#include "vfhost/images.h"

namespace {

using hosttest::Result;

vfhost::RgbaImage SmallPicture(int32_t width, int32_t height) {
  vfhost::RgbaImage image;
  image.width = width;
  image.height = height;
  image.rgba.resize(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < image.rgba.size(); ++i) image.rgba[i] = static_cast<uint8_t>(i * 37 + 5);
  for (size_t i = 3; i < image.rgba.size(); i += 4) image.rgba[i] = 255;
  return image;
}

void PutLe32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}
void PutBe32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * (3 - i)));
}

struct BadFile {
  std::string label;
  std::string extension;
  std::vector<uint8_t> bytes;
};

// Every cut of a good file, and headers that lie about the size.
std::vector<BadFile> BadPictureFiles() {
  std::vector<BadFile> files;
  const std::vector<uint8_t> bmp = vfhost::EncodeBmp(SmallPicture(3, 2));
  const std::vector<uint8_t> png = vfhost::EncodePngOwn(SmallPicture(3, 2));
  for (size_t length = 0; length < bmp.size(); ++length)
    files.push_back({"bmp cut to " + std::to_string(length), ".bmp", {bmp.begin(), bmp.begin() + length}});
  for (size_t length = 0; length < png.size(); ++length)
    files.push_back({"png cut to " + std::to_string(length), ".png", {png.begin(), png.begin() + length}});

  // BMP header: width at 18, height at 22, bit count at 28, pixel offset at 10.
  const std::pair<const char*, std::pair<size_t, uint32_t>> bmpLies[] = {
      {"bmp width 2^31-1", {18, 0x7FFFFFFF}},
      {"bmp height -2^31", {22, 0x80000000}},
      {"bmp width 0", {18, 0}},
      {"bmp 70000 x 70000", {18, 70000}},
      {"bmp pixel offset past the end", {10, 0x7FFFFFF0}},
      {"bmp header size 0xFFFFFFFF", {14, 0xFFFFFFFF}},
  };
  for (const auto& [label, change] : bmpLies) {
    std::vector<uint8_t> bytes = bmp;
    PutLe32(bytes, change.first, change.second);
    if (std::string(label) == "bmp 70000 x 70000") PutLe32(bytes, 22, 70000);
    files.push_back({label, ".bmp", bytes});
  }
  std::vector<uint8_t> bitCount = bmp;
  bitCount[28] = 7;
  files.push_back({"bmp of 7 bits a pixel", ".bmp", bitCount});

  // PNG: IHDR's width at 16, height at 20 (the chunk's CRC then no longer
  // matches, which a reader must also refuse).
  const std::pair<const char*, std::pair<uint32_t, uint32_t>> pngLies[] = {
      {"png 2^31-1 wide", {0x7FFFFFFF, 2}},
      {"png 0 high", {3, 0}},
      {"png 100000 x 100000", {100000, 100000}}};
  for (const auto& [label, size] : pngLies) {
    std::vector<uint8_t> bytes = png;
    PutBe32(bytes, 16, size.first);
    PutBe32(bytes, 20, size.second);
    files.push_back({label, ".png", bytes});
  }
  std::vector<uint8_t> flipped = png;
  flipped[flipped.size() / 2] ^= 0x55;
  files.push_back({"png with a damaged data byte", ".png", flipped});
  files.push_back({"bmp that is text", ".bmp", std::vector<uint8_t>(200, 'A')});
  files.push_back({"png that is text", ".png", std::vector<uint8_t>(200, 'A')});
  return files;
}

class HostBadInput : public testing::Test {
 protected:
  Result Vfhost(const std::string& arguments) { return hosttest::RunVfhost(dir_, arguments); }
  std::string Path(const std::string& name) const { return dir_.path() + name; }
  std::string Outputs() const { return " --out " + Path("out.bmp") + " --trace " + Path("trace.json"); }

  void ExpectRefused(const std::string& arguments) {
    const Result result = Vfhost(arguments);
    EXPECT_EQ(result.status, 2) << result.err;
    EXPECT_NE(result.err.find("vfhost"), std::string::npos) << "no message: " << result.err;
    EXPECT_FALSE(vftest::FileExists(Path("out.bmp")));
    EXPECT_FALSE(vftest::FileExists(Path("out.png")));
    EXPECT_FALSE(vftest::FileExists(Path("trace.json")));
  }

  void WriteGood(const std::string& name, int32_t width, int32_t height) {
    std::string error;
    ASSERT_TRUE(vfhost::WriteImageFile(Path(name), SmallPicture(width, height), error)) << error;
  }

  vftest::TempDir dir_;
};

TEST_F(HostBadInput, BrokenPictureFilesAreRefusedWithStatusTwo) {
  for (const BadFile& file : BadPictureFiles()) {
    SCOPED_TRACE(file.label);
    vftest::WriteFileBytes(Path("in" + file.extension), file.bytes);
    ExpectRefused("run maxfilter --in " + Path("in" + file.extension) + Outputs());
    if (file.label.find(" cut to ") == std::string::npos)  // the line-access path reads the same way
      ExpectRefused("run clearback --in " + Path("in" + file.extension) + " --out " + Path("out.png") +
                    " --trace " + Path("trace.json"));
  }
}

TEST_F(HostBadInput, BrokenAndMismatchedPlanesAreRefused) {
  WriteGood("in.png", 4, 3);
  const std::vector<uint8_t> goodPlane = vfhost::EncodePgm(4, 3, std::vector<uint8_t>(12, 9));
  const std::vector<std::pair<std::string, std::vector<uint8_t>>> planes = {
      {"plane 3x4 for a 4x3 picture", vfhost::EncodePgm(3, 4, std::vector<uint8_t>(12, 9))},
      {"plane 4x2", vfhost::EncodePgm(4, 2, std::vector<uint8_t>(8, 9))},
      {"plane cut short", {goodPlane.begin(), goodPlane.end() - 1}},
      {"header only", {goodPlane.begin(), goodPlane.begin() + 5}},
      {"maximum value 0",
       [] {
         const std::string text = "P5 4 3 0\n";
         std::vector<uint8_t> bytes(text.begin(), text.end());
         bytes.resize(bytes.size() + 12, 0);
         return bytes;
       }()},
      {"16-bit maximum",
       [] {
         const std::string text = "P5 4 3 65535\n";
         std::vector<uint8_t> bytes(text.begin(), text.end());
         bytes.resize(bytes.size() + 24, 0);
         return bytes;
       }()},
      {"size beyond memory",
       [] {
         const std::string text = "P5 2000000000 2000000000 255\n";
         return std::vector<uint8_t>(text.begin(), text.end());
       }()},
      {"negative size",
       [] {
         const std::string text = "P5 -4 3 255\n";
         std::vector<uint8_t> bytes(text.begin(), text.end());
         bytes.resize(bytes.size() + 12, 0);
         return bytes;
       }()},
      {"plain-text P2",
       [] {
         const std::string text = "P2 4 3 255\n1 2 3 4 5 6 7 8 9 10 11 12\n";
         return std::vector<uint8_t>(text.begin(), text.end());
       }()},
  };
  for (const auto& [label, bytes] : planes) {
    SCOPED_TRACE(label);
    vftest::WriteFileBytes(Path("plane.pgm"), bytes);
    for (const char* option : {" --mask ", " --alpha "})
      ExpectRefused("run clearback --in " + Path("in.png") + option + Path("plane.pgm") + " --out " +
                    Path("out.png") + " --trace " + Path("trace.json"));
  }
}

TEST_F(HostBadInput, PicturesLargerThanMemoryAllowsAreRefused) {
  std::vector<uint8_t> bmp = vfhost::EncodeBmp(SmallPicture(2, 2));
  PutLe32(bmp, 18, 40000);
  PutLe32(bmp, 22, 40000);  // 1.6 thousand million pixels, more than the host holds
  vftest::WriteFileBytes(Path("huge.bmp"), bmp);
  ExpectRefused("run maxfilter --in " + Path("huge.bmp") + Outputs());
}

TEST_F(HostBadInput, UnknownPluginsAndFilesThatAreNoPluginAreRefused) {
  WriteGood("in.bmp", 3, 3);
  const std::string folder = Path("plugins");
  std::filesystem::create_directories(folder);
  vftest::WriteFileBytes(folder + "/garbage.so", std::vector<uint8_t>(4096, 0x5A));
  vftest::WriteFileBytes(folder + "/empty.so", {});
  std::filesystem::copy_file(std::string(VF_BIN_DIR) + "/../lib/libvfwin.so", folder + "/library.so");
  for (const char* name : {"nofilter", "garbage", "empty", "library", "../plugins/garbage", ""}) {
    SCOPED_TRACE(std::string("plug-in '") + name + "'");
    ExpectRefused(std::string("run ") + name + " --plugins " + folder + " --in " + Path("in.bmp") +
                  Outputs());
  }
  ExpectRefused("options garbage --plugins " + folder + " --ok --trace " + Path("trace.json"));
}

// The in-memory readers on every cut of every good file: no crash, and a
// picture read has the size it claims.
TEST(HostDecoders, EveryCutOfAGoodFileIsReadSoundlyOrRefused) {
  const vfhost::RgbaImage picture = SmallPicture(5, 4);
  const std::vector<uint8_t> bmp = vfhost::EncodeBmp(picture), png = vfhost::EncodePngOwn(picture),
                             pgm = vfhost::EncodePgm(5, 4, std::vector<uint8_t>(20, 3));
  std::string error;
  for (size_t length = 0; length < bmp.size(); ++length) {
    vfhost::RgbaImage image;
    EXPECT_FALSE(vfhost::DecodeBmp({bmp.begin(), bmp.begin() + length}, image, error)) << length;
  }
  for (size_t length = 0; length < png.size(); ++length) {
    vfhost::RgbaImage image;
    EXPECT_FALSE(vfhost::DecodePngOwn({png.begin(), png.begin() + length}, image, error)) << length;
  }
  for (size_t length = 0; length < pgm.size(); ++length) {
    int32_t width = 0, height = 0;
    std::vector<uint8_t> plane;
    EXPECT_FALSE(vfhost::DecodePgm({pgm.begin(), pgm.begin() + length}, width, height, plane, error))
        << length;
  }
}

}  // namespace
