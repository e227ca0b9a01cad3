// Inspection of the Windows builds: every plug-in DLL of build/win32 and
// build/win64 must be a sound deliverable (machine, the three plain exports,
// allowed imports with COMCTL32 by ordinal, its named dialog template, no
// compiler runtime DLL), and vfhost.exe must run without runtime DLLs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "pe_image.h"

namespace {

namespace fs = std::filesystem;

// The dialog template each plug-in loads by name.
const std::map<std::string, std::string> kTemplateOf = {
    {"clearback", "SAMPLEDLG"}, {"fullscroll", "SAMPLEDLG"}, {"opaquefill", "SAMPLEDLG"},
    {"jitternoise", "DLGBOX"},  {"diffuseblur", "DLGBOX"},   {"edgeblur", "DLGBOX"},
    {"edgeextract", "DLGBOX"},  {"rangestretch", "DLGBOX"},  {"ditherbw", "DLGBOX"},
    {"softblur", "DIALOG1"},    {"maxfilter", "MAX_DLG"},    {"radialblur", "RSMS_DLG"},
    {"despeckle", "DLGBOX"},    {"scroll", "SCRL_DLG"},      {"regionavg", "DLGBOX"},
    {"minfilter", "MIN_DLG"},   {"spinblur", "CSMS_DLG"},    {"colorreduce", "DLGBOX"},
};

std::vector<std::string> SplitList(const std::string& list) {
  std::vector<std::string> items;
  std::stringstream stream(list);
  for (std::string item; std::getline(stream, item, ',');) {
    if (!item.empty()) items.push_back(item);
  }
  return items;
}

pe::Image SoundPlugin(uint16_t machine) {
  pe::Image image;
  image.machine = machine;
  image.pe32Plus = machine == pe::kMachineAmd64;
  image.isDll = true;
  image.exportNames = {"FilterGetTitle", "FilterOption", "FilterProc"};
  image.exportCount = 3;
  image.imports = {{"KERNEL32.dll", {"GlobalAlloc", "_lopen"}, {}},
                   {"USER32.dll", {"DialogBoxParamA"}, {}},
                   {"COMCTL32.dll", {}, {16, 17}},
                   {"msvcrt.dll", {"memcpy"}, {}}};
  image.dialogNames = {"MAX_DLG"};
  return image;
}

TEST(PluginDeviations, SoundModuleHasNone) {
  EXPECT_TRUE(pe::PluginDeviations(SoundPlugin(pe::kMachineI386), pe::kMachineI386, "MAX_DLG").empty());
  EXPECT_TRUE(pe::PluginDeviations(SoundPlugin(pe::kMachineAmd64), pe::kMachineAmd64, "max_dlg").empty());
}

TEST(PluginDeviations, NamesEachDeviation) {
  struct Case {
    const char* what;
    std::function<void(pe::Image&)> spoil;
    const char* expected;
  };
  const Case cases[] = {
      {"64-bit module in the 32-bit build", [](pe::Image& m) { m.machine = pe::kMachineAmd64; },
       "machine is x86-64, expected i386"},
      {"an executable", [](pe::Image& m) { m.isDll = false; }, "not marked as a DLL"},
      {"stdcall-decorated export", [](pe::Image& m) { m.exportNames[2] = "FilterProc@16"; },
       "does not export FilterProc"},
      {"underscore-prefixed export", [](pe::Image& m) { m.exportNames[0] = "_FilterGetTitle"; },
       "exports _FilterGetTitle besides"},
      {"an extra export", [](pe::Image& m) { m.exportNames.push_back("DllMain"); },
       "exports DllMain besides"},
      {"an export by ordinal only", [](pe::Image& m) { m.exportCount = 4; }, "export table has 4 entries"},
      {"libstdc++ DLL",
       [](pe::Image& m) {
         m.imports.push_back({"libstdc++-6.dll", {"x"}, {}});
       },
       "compiler runtime DLL libstdc++-6.dll"},
      {"winpthread DLL",
       [](pe::Image& m) {
         m.imports.push_back({"libwinpthread-1.dll", {"x"}, {}});
       },
       "compiler runtime DLL libwinpthread-1.dll"},
      {"a foreign DLL",
       [](pe::Image& m) {
         m.imports.push_back({"ADVAPI32.dll", {"RegOpenKeyA"}, {}});
       },
       "imports from ADVAPI32.dll"},
      {"COMCTL32 by name", [](pe::Image& m) { m.imports[2].names = {"InitCommonControls"}; },
       "imports COMCTL32 InitCommonControls by name"},
      {"another COMCTL32 ordinal",
       [](pe::Image& m) {
         m.imports[2].ordinals = {16, 345};
       },
       "COMCTL32 ordinal 345"},
      {"template under another name", [](pe::Image& m) { m.dialogNames = {"DLGBOX"}; },
       "no dialog resource named MAX_DLG (found: DLGBOX)"},
      {"template by number", [](pe::Image& m) { m.dialogNames.clear(), m.dialogIds = {101}; },
       "no named dialog at all"},
  };
  for (const Case& c : cases) {
    pe::Image image = SoundPlugin(pe::kMachineI386);
    c.spoil(image);
    std::vector<std::string> problems = pe::PluginDeviations(image, pe::kMachineI386, "MAX_DLG");
    std::string all;
    for (const std::string& problem : problems) all += problem + "\n";
    EXPECT_NE(all.find(c.expected), std::string::npos) << c.what << ": got\n" << all;
  }
}

TEST(ReadImage, RejectsWhatIsNoPeModule) {
  pe::Image image;
  std::string error;
  EXPECT_FALSE(pe::ReadImage({'M', 'Z'}, image, error));
  std::vector<uint8_t> noSignature(256, 0);
  noSignature[0] = 'M', noSignature[1] = 'Z', noSignature[0x3c] = 0x80;
  EXPECT_FALSE(pe::ReadImage(noSignature, image, error));
  EXPECT_EQ(error, "no PE signature");
}

struct Build {
  const char* preset;
  const char* dir;
  uint16_t machine;
};
void PrintTo(const Build& build, std::ostream* out) {
  *out << build.preset;
}

class BuiltWindowsModules : public testing::TestWithParam<Build> {
 protected:
  void SetUp() override {
    if (!fs::is_directory(GetParam().dir)) {
      GTEST_SKIP() << GetParam().dir << " is not built (scripts/windows-suites.sh builds it)";
    }
  }
  fs::path PluginDir() const { return fs::path(GetParam().dir) / "plugins"; }
};

TEST_P(BuiltWindowsModules, EveryPluginIsASoundDeliverable) {
  std::vector<std::string> plugins = SplitList(VF_EXPECTED_PLUGINS);
  ASSERT_FALSE(plugins.empty());
  for (const auto& entry : fs::directory_iterator(PluginDir())) {
    std::string stem = entry.path().stem().string();
    if (entry.path().extension() == ".dll" &&
        std::find(plugins.begin(), plugins.end(), stem) == plugins.end()) {
      plugins.push_back(stem);  // built there but unknown here: inspect it too
    }
  }
  for (const std::string& plugin : plugins) {
    fs::path dll = PluginDir() / (plugin + ".dll");
    if (!fs::exists(dll)) {
      ADD_FAILURE() << dll.string() << ": missing (rebuild the " << GetParam().preset << " preset)";
      continue;
    }
    auto known = kTemplateOf.find(plugin);
    if (known == kTemplateOf.end()) {
      ADD_FAILURE() << dll.string() << ": no dialog template is known for this plug-in";
      continue;
    }
    pe::Image image;
    std::string error;
    if (!pe::ReadImageFile(dll.string(), image, error)) {
      ADD_FAILURE() << dll.string() << ": " << error;
      continue;
    }
    for (const std::string& problem : pe::PluginDeviations(image, GetParam().machine, known->second)) {
      ADD_FAILURE() << dll.string() << ": " << problem;
    }
  }
}

TEST_P(BuiltWindowsModules, ReaderSeesAChangedMachineField) {
  std::vector<std::string> plugins = SplitList(VF_EXPECTED_PLUGINS);
  fs::path dll = PluginDir() / (plugins.at(0) + ".dll");
  if (!fs::exists(dll)) GTEST_SKIP() << dll.string() << " is not built";
  std::ifstream file(dll, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_GT(bytes.size(), 0x40u);
  size_t machineAt = (bytes[0x3c] | bytes[0x3d] << 8) + 4;
  ASSERT_LT(machineAt + 1, bytes.size());
  bytes[machineAt] = 0xc4, bytes[machineAt + 1] = 0x01;  // ARM Thumb-2
  pe::Image image;
  std::string error;
  ASSERT_TRUE(pe::ReadImage(bytes, image, error)) << error;
  EXPECT_EQ(image.machine, 0x01c4);
  EXPECT_FALSE(pe::PluginDeviations(image, GetParam().machine, kTemplateOf.at(plugins[0])).empty());
}

TEST_P(BuiltWindowsModules, HostNeedsNoRuntimeDll) {
  fs::path host = fs::path(GetParam().dir) / "bin" / "vfhost.exe";
  if (!fs::exists(host)) GTEST_SKIP() << host.string() << " is not built";
  pe::Image image;
  std::string error;
  ASSERT_TRUE(pe::ReadImageFile(host.string(), image, error)) << error;
  EXPECT_EQ(image.machine, GetParam().machine);
  for (const pe::ImportedDll& dll : image.imports) {
    std::string upper = dll.name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(upper.rfind("LIB", 0) != 0) << host.string() << ": needs " << dll.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Presets, BuiltWindowsModules,
                         testing::Values(Build{"win32", VF_WIN32_DIR, pe::kMachineI386},
                                         Build{"win64", VF_WIN64_DIR, pe::kMachineAmd64}),
                         [](const testing::TestParamInfo<Build>& info) {
                           return std::string(info.param.preset);
                         });

}  // namespace
