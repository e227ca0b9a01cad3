// Reading PE modules and judging plug-in modules; see pe_image.h.
#include "pe_image.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>

namespace pe {
namespace {

constexpr uint16_t kFileIsDll = 0x2000;
constexpr uint16_t kMagicPe32Plus = 0x20b;
constexpr uint32_t kResourceTypeDialog = 5;
constexpr int kExportDirectory = 0, kImportDirectory = 1, kResourceDirectory = 2;

struct Section {
  uint32_t virtualAddress = 0, virtualSize = 0, rawOffset = 0, rawSize = 0;
};

// Bounds-checked little-endian access to the file and its virtual addresses.
class Reader {
 public:
  explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

  bool Has(uint64_t offset, uint64_t size) const { return offset + size <= bytes_.size(); }
  uint32_t U16(uint64_t offset) const {
    return Has(offset, 2) ? bytes_[offset] | bytes_[offset + 1] << 8 : 0;
  }
  uint32_t U32(uint64_t offset) const { return U16(offset) | U16(offset + 2) << 16; }
  uint64_t U64(uint64_t offset) const { return U32(offset) | uint64_t{U32(offset + 4)} << 32; }

  void AddSection(const Section& section) { sections_.push_back(section); }

  // File offset of a virtual address; false when no section holds it.
  bool Offset(uint32_t rva, uint64_t& offset) const {
    for (const Section& section : sections_) {
      uint32_t extent = std::max(section.virtualSize, section.rawSize);
      if (rva >= section.virtualAddress && rva - section.virtualAddress < extent) {
        offset = uint64_t{section.rawOffset} + (rva - section.virtualAddress);
        return offset < bytes_.size();
      }
    }
    return false;
  }

  std::string AsciiAt(uint32_t rva) const {
    uint64_t offset = 0;
    std::string text;
    if (!Offset(rva, offset)) return text;
    while (offset < bytes_.size() && bytes_[offset] != 0) text.push_back(static_cast<char>(bytes_[offset++]));
    return text;
  }

 private:
  const std::vector<uint8_t>& bytes_;
  std::vector<Section> sections_;
};

void ReadExports(const Reader& reader, uint32_t rva, Image& image) {
  uint64_t directory = 0;
  if (rva == 0 || !reader.Offset(rva, directory)) return;
  image.exportCount = reader.U32(directory + 20);
  uint32_t nameCount = reader.U32(directory + 24);
  uint64_t names = 0;
  if (!reader.Offset(reader.U32(directory + 32), names)) return;
  for (uint32_t i = 0; i < nameCount && reader.Has(names + 4 * i, 4); ++i) {
    image.exportNames.push_back(reader.AsciiAt(reader.U32(names + 4 * i)));
  }
}

void ReadImports(const Reader& reader, uint32_t rva, Image& image) {
  uint64_t descriptor = 0;
  if (rva == 0 || !reader.Offset(rva, descriptor)) return;
  const int thunkSize = image.pe32Plus ? 8 : 4;
  const uint64_t ordinalFlag = image.pe32Plus ? uint64_t{1} << 63 : uint64_t{1} << 31;
  for (; reader.Has(descriptor, 20); descriptor += 20) {
    uint32_t lookup = reader.U32(descriptor), nameRva = reader.U32(descriptor + 12);
    uint32_t firstThunk = reader.U32(descriptor + 16);
    if (lookup == 0 && nameRva == 0 && firstThunk == 0) break;
    ImportedDll dll;
    dll.name = reader.AsciiAt(nameRva);
    uint64_t thunk = 0;
    if (reader.Offset(lookup != 0 ? lookup : firstThunk, thunk)) {
      for (; reader.Has(thunk, thunkSize); thunk += thunkSize) {
        uint64_t entry = image.pe32Plus ? reader.U64(thunk) : reader.U32(thunk);
        if (entry == 0) break;
        if (entry & ordinalFlag) {
          dll.ordinals.push_back(static_cast<uint32_t>(entry & 0xffff));
        } else {
          dll.names.push_back(reader.AsciiAt(static_cast<uint32_t>(entry) + 2));  // after the hint
        }
      }
    }
    image.imports.push_back(dll);
  }
}

// Names are stored as a length and UTF-16 units; template names are ASCII.
std::string ResourceName(const Reader& reader, uint64_t resourceBase, uint32_t offset) {
  uint64_t at = resourceBase + offset;
  uint32_t length = reader.U16(at);
  std::string name;
  for (uint32_t i = 0; i < length && reader.Has(at + 2 + 2 * i, 2); ++i) {
    uint32_t unit = reader.U16(at + 2 + 2 * i);
    name.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  }
  return name;
}

void ReadDialogResources(const Reader& reader, uint32_t rva, Image& image) {
  uint64_t base = 0;
  if (rva == 0 || !reader.Offset(rva, base)) return;
  auto entries = [&](uint64_t directory) { return reader.U16(directory + 12) + reader.U16(directory + 14); };
  uint32_t typeCount = entries(base);
  for (uint32_t t = 0; t < typeCount; ++t) {
    uint64_t entry = base + 16 + 8 * t;
    uint32_t type = reader.U32(entry), target = reader.U32(entry + 4);
    if (type != kResourceTypeDialog || !(target & 0x80000000u)) continue;
    uint64_t names = base + (target & 0x7fffffffu);
    uint32_t nameCount = entries(names);
    for (uint32_t n = 0; n < nameCount; ++n) {
      uint32_t name = reader.U32(names + 16 + 8 * n);
      if (name & 0x80000000u) {
        image.dialogNames.push_back(ResourceName(reader, base, name & 0x7fffffffu));
      } else {
        image.dialogIds.push_back(name);
      }
    }
  }
}

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

bool IsRuntimeDll(const std::string& upperName) {
  for (const char* prefix : {"LIBGCC", "LIBSTDC++", "LIBWINPTHREAD", "LIBGOMP", "LIBSSP"}) {
    if (upperName.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

std::string MachineName(uint16_t machine) {
  if (machine == kMachineI386) return "i386";
  if (machine == kMachineAmd64) return "x86-64";
  char text[16];
  std::snprintf(text, sizeof text, "0x%04x", machine);
  return text;
}

}  // namespace

bool ReadImage(const std::vector<uint8_t>& bytes, Image& image, std::string& error) {
  Reader reader(bytes);
  image = Image{};
  if (!reader.Has(0, 64) || reader.U16(0) != 0x5a4d) {
    error = "no MZ header";
    return false;
  }
  uint64_t header = reader.U32(0x3c);
  if (!reader.Has(header, 24) || reader.U32(header) != 0x00004550) {
    error = "no PE signature";
    return false;
  }
  image.machine = static_cast<uint16_t>(reader.U16(header + 4));
  uint32_t sectionCount = reader.U16(header + 6), optionalSize = reader.U16(header + 20);
  image.isDll = (reader.U16(header + 22) & kFileIsDll) != 0;
  uint64_t optional = header + 24;
  image.pe32Plus = reader.U16(optional) == kMagicPe32Plus;
  uint64_t directoryCountAt = optional + (image.pe32Plus ? 108 : 92);
  uint64_t directories = directoryCountAt + 4;
  uint32_t directoryCount = reader.U32(directoryCountAt);
  if (!reader.Has(optional, optionalSize) ||
      directories + 8 * std::min(directoryCount, 16u) > optional + optionalSize) {
    error = "truncated optional header";
    return false;
  }
  uint64_t sections = optional + optionalSize;
  for (uint32_t i = 0; i < sectionCount; ++i) {
    uint64_t at = sections + 40 * i;
    if (!reader.Has(at, 40)) {
      error = "truncated section table";
      return false;
    }
    reader.AddSection({reader.U32(at + 12), reader.U32(at + 8), reader.U32(at + 20), reader.U32(at + 16)});
  }
  auto directoryRva = [&](int index) {
    return static_cast<uint32_t>(index) < directoryCount ? reader.U32(directories + 8 * index) : 0u;
  };
  ReadExports(reader, directoryRva(kExportDirectory), image);
  ReadImports(reader, directoryRva(kImportDirectory), image);
  ReadDialogResources(reader, directoryRva(kResourceDirectory), image);
  return true;
}

bool ReadImageFile(const std::string& path, Image& image, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return ReadImage(bytes, image, error);
}

std::vector<std::string> PluginDeviations(const Image& image, uint16_t expectedMachine,
                                          const std::string& templateName) {
  std::vector<std::string> problems;
  if (image.machine != expectedMachine) {
    problems.push_back("machine is " + MachineName(image.machine) + ", expected " +
                       MachineName(expectedMachine));
  }
  if (image.pe32Plus != (expectedMachine == kMachineAmd64)) {
    problems.push_back(image.pe32Plus ? "PE32+ optional header in a 32-bit module" : "PE32 optional header");
  }
  if (!image.isDll) problems.push_back("not marked as a DLL");

  const std::set<std::string> wantedExports{"FilterGetTitle", "FilterOption", "FilterProc"};
  std::set<std::string> exports(image.exportNames.begin(), image.exportNames.end());
  for (const std::string& name : wantedExports) {
    if (!exports.count(name)) problems.push_back("does not export " + name + " by that plain name");
  }
  for (const std::string& name : exports) {
    if (!wantedExports.count(name)) problems.push_back("exports " + name + " besides the three entry points");
  }
  if (image.exportCount != wantedExports.size()) {
    problems.push_back("export table has " + std::to_string(image.exportCount) + " entries, expected 3");
  }

  const std::set<std::string> allowed{"KERNEL32.DLL", "USER32.DLL",   "GDI32.DLL",
                                      "COMDLG32.DLL", "COMCTL32.DLL", "MSVCRT.DLL"};
  for (const ImportedDll& dll : image.imports) {
    std::string upper = Upper(dll.name);
    if (IsRuntimeDll(upper)) {
      problems.push_back("needs the compiler runtime DLL " + dll.name + " (link it statically)");
    } else if (!allowed.count(upper)) {
      problems.push_back("imports from " + dll.name + ", which is not one of the allowed DLLs");
    }
    if (upper != "COMCTL32.DLL") continue;
    for (const std::string& name : dll.names) {
      problems.push_back("imports COMCTL32 " + name + " by name, not by ordinal");
    }
    for (uint32_t ordinal : dll.ordinals) {
      if (ordinal != 16 && ordinal != 17) {
        problems.push_back("imports COMCTL32 ordinal " + std::to_string(ordinal) +
                           " (only 16 and 17 are used)");
      }
    }
  }

  bool hasTemplate = std::any_of(image.dialogNames.begin(), image.dialogNames.end(),
                                 [&](const std::string& name) { return Upper(name) == Upper(templateName); });
  if (!hasTemplate) {
    std::string found;
    for (const std::string& name : image.dialogNames) found += (found.empty() ? "" : ", ") + name;
    problems.push_back(
        "has no dialog resource named " + templateName +
        (found.empty() ? std::string(" (no named dialog at all)") : " (found: " + found + ")"));
  }
  return problems;
}

}  // namespace pe
