// Files through _lopen/_lread/_lcreat/_lwrite and OpenFile with ReadFile and
// WriteFile on the handle made from its result.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "vfwin/vfwin.h"

namespace {

class Files : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vfwin_files_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    std::string command = "rm -rf '" + folder_ + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }
  std::string Path(const char* name) const { return folder_ + "/" + name; }
  void Write(const char* name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string folder_;
};

TEST_F(Files, ShortFileFillsOnlyTheLeadingBytes) {
  Write("short.dat", "abc");
  HFILE file = _lopen(Path("short.dat").c_str(), OF_READ | OF_SHARE_DENY_WRITE);
  ASSERT_NE(file, HFILE_ERROR);
  char record[8];
  std::memset(record, '.', sizeof record);
  EXPECT_EQ(_lread(file, record, sizeof record), 3u);
  EXPECT_EQ(std::string(record, sizeof record), "abc.....");
  EXPECT_EQ(_lread(file, record, sizeof record), 0u);
  EXPECT_EQ(_lclose(file), 0);
  EXPECT_EQ(_lread(file, record, sizeof record), static_cast<UINT>(HFILE_ERROR)) << "closed file";
}

TEST_F(Files, CreateTruncatesAndWritesTheWholeRecord) {
  Write("settings.dat", "a longer old content");
  HFILE file = _lcreat(Path("settings.dat").c_str(), 0);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(_lwrite(file, "\x01\x00\x02", 3), 3u);
  EXPECT_EQ(_lclose(file), 0);
  std::ifstream in(Path("settings.dat"), std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, std::string("\x01\x00\x02", 3));
  EXPECT_EQ(_lcreat(Path("missing/settings.dat").c_str(), 0), HFILE_ERROR);
  EXPECT_EQ(_lopen(Path("absent.dat").c_str(), OF_READ), HFILE_ERROR);
}

TEST_F(Files, OpenFileReportsFailureAndTheNameSafely) {
  OFSTRUCT info;
  std::memset(&info, 0x55, sizeof info);
  std::string missing = Path("absent.dat");
  EXPECT_EQ(OpenFile(missing.c_str(), &info, OF_READ), HFILE_ERROR);
  EXPECT_EQ(info.nErrCode, 2) << "file not found";
  EXPECT_STREQ(info.szPathName, missing.c_str());
  EXPECT_EQ(OpenFile(missing.c_str(), &info, OF_EXIST), HFILE_ERROR);

  std::string longPath = folder_ + "/" + std::string(200, 'n');
  EXPECT_EQ(OpenFile(longPath.c_str(), &info, OF_READ), HFILE_ERROR);
  EXPECT_EQ(std::strlen(info.szPathName), sizeof info.szPathName - 1);
  EXPECT_EQ(std::string(info.szPathName), longPath.substr(0, sizeof info.szPathName - 1));
}

TEST_F(Files, OpenFileHandleServesReadFileAndWriteFile) {
  OFSTRUCT info;
  std::string path = Path("scroll.dat");
  HFILE created = OpenFile(path.c_str(), &info, OF_CREATE);
  ASSERT_NE(created, HFILE_ERROR);
  EXPECT_EQ(info.nErrCode, 0);
  HANDLE handle = reinterpret_cast<HANDLE>(static_cast<intptr_t>(created));
  int32_t values[2] = {80, -60};
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(handle, values, sizeof values, &written, nullptr));
  EXPECT_EQ(written, sizeof values);
  EXPECT_TRUE(CloseHandle(handle));
  EXPECT_FALSE(CloseHandle(handle)) << "already closed";

  HFILE exists = OpenFile(path.c_str(), &info, OF_EXIST);
  EXPECT_NE(exists, HFILE_ERROR);

  HFILE opened = OpenFile(path.c_str(), &info, OF_READ);
  ASSERT_NE(opened, HFILE_ERROR);
  handle = reinterpret_cast<HANDLE>(static_cast<intptr_t>(opened));
  int32_t read[3] = {0, 0, 99};
  DWORD got = 0;
  EXPECT_TRUE(ReadFile(handle, read, sizeof read, &got, nullptr));
  EXPECT_EQ(got, sizeof values) << "end of file reached";
  EXPECT_EQ(read[0], 80);
  EXPECT_EQ(read[1], -60);
  EXPECT_EQ(read[2], 99);
  EXPECT_TRUE(ReadFile(handle, read, 4, &got, nullptr));
  EXPECT_EQ(got, 0u);
  EXPECT_FALSE(WriteFile(handle, values, 4, &written, nullptr)) << "opened for reading";
  EXPECT_TRUE(CloseHandle(handle));
  EXPECT_FALSE(ReadFile(INVALID_HANDLE_VALUE, read, 4, &got, nullptr));
}

}  // namespace
