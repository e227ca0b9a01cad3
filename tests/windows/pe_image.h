// A small reader of Windows PE modules (32- and 64-bit) for the inspection
// of the built plug-in DLLs: machine, exports, imports and the named dialog
// resources; and the rules a deliverable plug-in module must follow.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pe {

constexpr uint16_t kMachineI386 = 0x014c;
constexpr uint16_t kMachineAmd64 = 0x8664;

struct ImportedDll {
  std::string name;                // as the import table spells it, e.g. "KERNEL32.dll"
  std::vector<std::string> names;  // functions imported by name
  std::vector<uint32_t> ordinals;  // functions imported by ordinal
};

struct Image {
  uint16_t machine = 0;
  bool pe32Plus = false;  // optional header magic 0x20b
  bool isDll = false;     // IMAGE_FILE_DLL
  std::vector<std::string> exportNames;
  uint32_t exportCount = 0;  // entries of the export address table
  std::vector<ImportedDll> imports;
  std::vector<std::string> dialogNames;  // RT_DIALOG entries named by a string
  std::vector<uint32_t> dialogIds;       // RT_DIALOG entries named by a number
};

// Parses the module's bytes; false and a reason when they are not a PE file
// this reader understands.
bool ReadImage(const std::vector<uint8_t>& bytes, Image& image, std::string& error);
bool ReadImageFile(const std::string& path, Image& image, std::string& error);

// What a deliverable plug-in module must be: the expected machine, a DLL
// exporting exactly FilterGetTitle, FilterOption and FilterProc by their
// plain names, importing only from the system DLLs the plug-ins use and the
// C runtime DLL (COMCTL32 only by ordinals 16 and 17), and holding its dialog
// template as a resource named templateName. One line per deviation; empty
// when the module is sound.
std::vector<std::string> PluginDeviations(const Image& image, uint16_t expectedMachine,
                                          const std::string& templateName);

}  // namespace pe
