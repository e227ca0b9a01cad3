// scroll.dat: opened with OpenFile and read or written 4 bytes at a time.
#include "frame/win_api.h"
#include "scroll_settings.h"

namespace scroll {
namespace {

char settings_path[frame::kPathBufferSize] = "";

HANDLE HandleOf(HFILE file) {
  return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file));
}

void ReadAmount(HFILE file, int32_t& amount) {
  DWORD bytesRead = 0;
  int32_t value = amount;
  // A short read replaces only the bytes it reaches.
  ReadFile(HandleOf(file), &value, sizeof(value), &bytesRead, nullptr);
  amount = value;
}

void WriteAmount(HFILE file, int32_t amount) {
  DWORD bytesWritten = 0;
  WriteFile(HandleOf(file), &amount, sizeof(amount), &bytesWritten, nullptr);
}

}  // namespace

char (&SettingsPath())[frame::kPathBufferSize] {
  return settings_path;
}

bool ReadAmounts(const char* path, Amounts& amounts) {
  amounts = kBeforeReading;
  OFSTRUCT info = {};
  const HFILE file = OpenFile(path, &info, OF_READ);
  if (file == HFILE_ERROR) return false;
  ReadAmount(file, amounts.right);
  ReadAmount(file, amounts.down);
  _lclose(file);
  return true;
}

void WriteAmounts(const char* path, const Amounts& amounts) {
  OFSTRUCT info = {};
  const HFILE file = OpenFile(path, &info, OF_CREATE);
  if (file == HFILE_ERROR) return;
  WriteAmount(file, amounts.right);
  WriteAmount(file, amounts.down);
  _lclose(file);
}

}  // namespace scroll
