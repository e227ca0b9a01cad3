// The signed settings file of the blur plug-ins: six signature characters and
// then the settings record field by field, little-endian, without padding.
// The dialog reads and writes it itself; a run refuses to start without a
// file that carries the right signature and the whole record.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/settings.h"
#include "frame/win_api.h"

namespace blur {

constexpr std::size_t kSignatureLength = 6;

// One field of the record: its offset in the record and its size in bytes.
struct RecordField {
  uint16_t offset;
  uint16_t size;
};

struct SignedFormat {
  const char* fileStem;   // the file is <dir><fileStem>.dat
  const char* signature;  // kSignatureLength characters, no NUL stored
  const RecordField* fields;
  std::size_t fieldCount;
  std::size_t recordSize;
  const char* missingFileCaption;  // dialog; null: the defaults are taken silently
  const char* damagedFileCaption;  // dialog and run
};

// Where a plug-in keeps the path of its file between FilterOption and its
// dialog. A folder too long for the buffer leaves it empty: the file then
// cannot be opened and is reported as such.
using SettingsPath = char[frame::kPathBufferSize];
void AssembleSignedPath(SettingsPath& path, const char* dir, const SignedFormat& format);

// Dialog side, on WM_INITDIALOG: reads the record from the file; a missing
// file (with its message unless silent), a wrong signature or a record cut
// short (with the damaged-file message) give the defaults instead.
void DialogLoad(HWND dialog, const char* path, const SignedFormat& format, void* record,
                const void* defaults);

// Dialog side, on OK: writes the signature and the record. When the file
// cannot be created or written the user is told, with the path.
void DialogSave(HWND dialog, const char* path, const SignedFormat& format, const void* record);

// Run side: the file is read into the run's own record and stays open until
// Close() (after the profile table is built) or the end of the object's life.
class RunSettingsFile {
 public:
  RunSettingsFile() = default;
  RunSettingsFile(const RunSettingsFile&) = delete;
  RunSettingsFile& operator=(const RunSettingsFile&) = delete;
  ~RunSettingsFile() { Close(); }

  // Sends PROGRESS_BEGIN, then opens and reads the file. When the file is
  // missing or damaged it shows the message, closes the file, sends
  // PROGRESS_END and returns false: the run must end with 0.
  bool Read(HWND host, const char* dir, const SignedFormat& format, void* record);
  void Close();

 private:
  HFILE file_ = HFILE_ERROR;
};

// Typed forms for a packed Record with static Format() and Defaults().
template <typename Record>
void DialogLoad(HWND dialog, const char* path, Record& record) {
  const Record defaults = Record::Defaults();
  DialogLoad(dialog, path, Record::Format(), &record, &defaults);
}
template <typename Record>
void DialogSave(HWND dialog, const char* path, const Record& record) {
  DialogSave(dialog, path, Record::Format(), &record);
}

}  // namespace blur
