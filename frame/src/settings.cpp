// Loading and saving the raw settings record.
#include "frame/settings.h"

#include <cstring>

namespace frame {

bool AssembleSettingsPath(char (&path)[kPathBufferSize], const char* dir, const char* name) {
  static const char kExtension[] = ".dat";
  const std::size_t dirLength = std::strlen(dir);
  const std::size_t nameLength = std::strlen(name);
  const std::size_t total = dirLength + nameLength + sizeof(kExtension);  // NUL included
  path[0] = '\0';
  if (total > kPathBufferSize) return false;
  std::memcpy(path, dir, dirLength);
  std::memcpy(path + dirLength, name, nameLength);
  std::memcpy(path + dirLength + nameLength, kExtension, sizeof(kExtension));
  return true;
}

bool LoadSettingsRecord(const char* dir, const char* name, void* record, std::size_t size) {
  char path[kPathBufferSize];
  if (!AssembleSettingsPath(path, dir, name)) return false;
  const HFILE file = _lopen(path, OF_READ | OF_SHARE_DENY_WRITE);
  if (file == HFILE_ERROR) return false;
  _lread(file, record, static_cast<UINT>(size));
  _lclose(file);
  return true;
}

void SaveSettingsRecord(const char* dir, const char* name, const void* record, std::size_t size) {
  char path[kPathBufferSize];
  if (!AssembleSettingsPath(path, dir, name)) return;
  const HFILE file = _lcreat(path, 0);
  if (file == HFILE_ERROR) return;
  _lwrite(file, static_cast<const char*>(record), static_cast<UINT>(size));
  _lclose(file);
}

}  // namespace frame
