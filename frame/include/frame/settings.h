// Settings files: one fixed-size record per plug-in, stored raw as
// "<dir><name>.dat", loaded at every FilterOption and FilterProc call.
#pragma once

#include <cstddef>

#include "frame/win_api.h"

namespace frame {

constexpr std::size_t kPathBufferSize = 256;

// Copies dir and appends name and ".dat". A path that would not fit the
// buffer is not cut short (that would name another file): the buffer is left
// empty and false returned, and the caller treats the file as unreachable.
bool AssembleSettingsPath(char (&path)[kPathBufferSize], const char* dir, const char* name);

// Reads up to size bytes of the file over the record; a shorter file fills
// only the leading bytes. Returns false when the file cannot be opened (the
// caller then sets its defaults).
bool LoadSettingsRecord(const char* dir, const char* name, void* record, std::size_t size);

// Creates or truncates the file and writes the whole record; gives up
// silently when the file cannot be created.
void SaveSettingsRecord(const char* dir, const char* name, const void* record, std::size_t size);

namespace settings_detail {
// A record whose defaults cover only some fields says so with ApplyDefaults();
// the others keep what they held. Otherwise the whole record is Defaults().
template <typename Record>
auto SetDefaults(Record& record, int) -> decltype(record.ApplyDefaults(), void()) {
  record.ApplyDefaults();
}
template <typename Record>
void SetDefaults(Record& record, long) {
  record = Record::Defaults();
}
}  // namespace settings_detail

// For a packed Record with a kFileStem name and its defaults (above).
template <typename Record>
void LoadSettings(const char* dir, Record& record) {
  if (!LoadSettingsRecord(dir, Record::kFileStem, &record, sizeof(Record))) {
    settings_detail::SetDefaults(record, 0);
  }
}

template <typename Record>
void SaveSettings(const char* dir, const Record& record) {
  SaveSettingsRecord(dir, Record::kFileStem, &record, sizeof(Record));
}

}  // namespace frame
