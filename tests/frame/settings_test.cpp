// Settings files: path assembly, short and missing files, saving.
#include "frame/settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "../support/temp_dir.h"

namespace {

#pragma pack(push, 1)
struct Record {
  uint8_t a, b, c;
  uint32_t word;
  static constexpr const char* kFileStem = "sample";
  static Record Defaults() { return Record{1, 2, 3, 0x04050607}; }
};
#pragma pack(pop)

TEST(SettingsPath, GluesDirAndNameWithoutASeparator) {
  char path[frame::kPathBufferSize];
  ASSERT_TRUE(frame::AssembleSettingsPath(path, "/tmp/dir/", "maxfilter"));
  EXPECT_STREQ(path, "/tmp/dir/maxfilter.dat");
  ASSERT_TRUE(frame::AssembleSettingsPath(path, "/tmp/dir", "maxfilter"));
  EXPECT_STREQ(path, "/tmp/dirmaxfilter.dat");
}

TEST(SettingsPath, OverlongDirIsRefusedNotCut) {
  char path[frame::kPathBufferSize];
  const std::string name = "maxfilter";  // + ".dat" + NUL = 14 bytes
  const std::string fits(frame::kPathBufferSize - 14, 'd');
  ASSERT_TRUE(frame::AssembleSettingsPath(path, fits.c_str(), name.c_str()));
  EXPECT_EQ(std::string(path), fits + "maxfilter.dat");
  for (size_t length : {frame::kPathBufferSize - 13, size_t{256}, size_t{4000}}) {
    const std::string tooLong(length, 'd');
    EXPECT_FALSE(frame::AssembleSettingsPath(path, tooLong.c_str(), name.c_str())) << length;
    EXPECT_STREQ(path, "");
  }
}

TEST(SettingsFile, MissingFileGivesDefaultsAndSaveCreatesIt) {
  vftest::TempDir dir;
  Record record{9, 9, 9, 9};
  frame::LoadSettings(dir.path().c_str(), record);
  EXPECT_EQ(record.a, 1);
  EXPECT_EQ(uint32_t{record.word}, 0x04050607u);  // a copy: the packed field is misaligned
  record.b = 200;
  frame::SaveSettings(dir.path().c_str(), record);
  const std::vector<uint8_t> bytes = vftest::ReadFileBytes(dir.path() + "sample.dat");
  EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 200, 3, 0x07, 0x06, 0x05, 0x04}));
}

TEST(SettingsFile, ShortFileFillsOnlyTheLeadingBytes) {
  vftest::TempDir dir;
  vftest::WriteFileBytes(dir.path() + "sample.dat", {10, 20});
  Record record{7, 7, 7, 0x11223344};
  frame::LoadSettings(dir.path().c_str(), record);
  EXPECT_EQ(record.a, 10);
  EXPECT_EQ(record.b, 20);
  EXPECT_EQ(record.c, 7);
  EXPECT_EQ(uint32_t{record.word}, 0x11223344u);  // a copy: the packed field is misaligned
}

TEST(SettingsFile, LongerFileReadsOnlyTheRecord) {
  vftest::TempDir dir;
  vftest::WriteFileBytes(dir.path() + "sample.dat", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  Record record = {};
  frame::LoadSettings(dir.path().c_str(), record);
  EXPECT_EQ(uint32_t{record.word}, 0x07060504u);  // a copy: the packed field is misaligned
}

TEST(SettingsFile, UnwritableFolderIsSilent) {
  Record record = Record::Defaults();
  frame::SaveSettings("/nonexistent-folder/", record);  // must not crash or report
  const std::string tooLong(300, 'x');
  frame::SaveSettings(tooLong.c_str(), record);
  Record loaded{0, 0, 0, 0};
  frame::LoadSettings(tooLong.c_str(), loaded);
  EXPECT_EQ(loaded.a, 1);  // unreachable file: defaults
}

}  // namespace
