// Reading and writing the signed settings file.
#include "signed_settings.h"

#include <cstring>

#include "frame/messages.h"
#include "frame/progress.h"

namespace blur {
namespace {

const char kMissingForDialog[] = "設定ファイルが開けないので\n設定を初期化します。";
const char kDamagedForDialog[] = "設定ファイルが壊れているので\n設定を初期化します。";
const char kDamagedForRun[] = "設定ファイルが壊れているので\n処理を中止します。";
const char kUnreadableForRun[] = ".dat が読めませんでした ；＿；。";
const char kUnreadableCaption[] = " File ERROR";
const char kWriteFailureFormat[] = "%s に書き込めませんでした。";
const char kWriteFailureCaption[] = "ごめんなさい";

HANDLE AsHandle(HFILE file) {
  return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file));
}

HFILE OpenSettingsFile(const char* path, UINT style) {
  OFSTRUCT info = {};
  return OpenFile(path, &info, style);
}

bool ReadExactly(HFILE file, void* buffer, DWORD size) {
  DWORD done = 0;
  return ReadFile(AsHandle(file), buffer, size, &done, nullptr) && done == size;
}

bool WriteExactly(HFILE file, const void* buffer, DWORD size) {
  DWORD done = 0;
  return WriteFile(AsHandle(file), buffer, size, &done, nullptr) && done == size;
}

bool SignatureMatches(HFILE file, const SignedFormat& format) {
  char signature[kSignatureLength];
  return ReadExactly(file, signature, kSignatureLength) &&
         std::memcmp(signature, format.signature, kSignatureLength) == 0;
}

// The record field by field; false when the file ends before the record does.
bool ReadRecord(HFILE file, const SignedFormat& format, void* record) {
  uint8_t* bytes = static_cast<uint8_t*>(record);
  for (std::size_t i = 0; i < format.fieldCount; ++i) {
    const RecordField& field = format.fields[i];
    if (!ReadExactly(file, bytes + field.offset, field.size)) return false;
  }
  return true;
}

bool WriteRecord(HFILE file, const SignedFormat& format, const void* record) {
  if (!WriteExactly(file, format.signature, kSignatureLength)) return false;
  const uint8_t* bytes = static_cast<const uint8_t*>(record);
  for (std::size_t i = 0; i < format.fieldCount; ++i) {
    const RecordField& field = format.fields[i];
    if (!WriteExactly(file, bytes + field.offset, field.size)) return false;
  }
  return true;
}

// "<stem>.dat" followed by text, in a buffer of bufferSize bytes.
void FileNameWith(char* buffer, std::size_t bufferSize, const SignedFormat& format, const char* text) {
  const std::size_t stemLength = std::strlen(format.fileStem);
  const std::size_t textLength = std::strlen(text);
  buffer[0] = '\0';
  if (stemLength + textLength + 1 > bufferSize) return;
  std::memcpy(buffer, format.fileStem, stemLength);
  std::memcpy(buffer + stemLength, text, textLength + 1);
}

void ShowWriteFailure(HWND dialog, const char* path, const SignedFormat& format) {
  // Room for the longest path the path buffer holds together with the text,
  // so that the message never runs past its buffer.
  char message[frame::kPathBufferSize + sizeof(kWriteFailureFormat)];
  char shownName[frame::kPathBufferSize];
  if (path[0] != '\0') {
    std::strcpy(shownName, path);
  } else {
    FileNameWith(shownName, sizeof(shownName), format, ".dat");  // the folder did not fit
  }
  wsprintfA(message, kWriteFailureFormat, shownName);
  frame::ShowMessage(dialog, message, kWriteFailureCaption, MB_ICONINFORMATION);
}

}  // namespace

void AssembleSignedPath(SettingsPath& path, const char* dir, const SignedFormat& format) {
  frame::AssembleSettingsPath(path, dir, format.fileStem);
}

void DialogLoad(HWND dialog, const char* path, const SignedFormat& format, void* record,
                const void* defaults) {
  const HFILE file = OpenSettingsFile(path, OF_READ);
  if (file == HFILE_ERROR) {
    if (format.missingFileCaption != nullptr) {
      frame::ShowMessage(dialog, kMissingForDialog, format.missingFileCaption, MB_ICONINFORMATION);
    }
    std::memcpy(record, defaults, format.recordSize);
    return;
  }
  if (!SignatureMatches(file, format) || !ReadRecord(file, format, record)) {
    frame::ShowMessage(dialog, kDamagedForDialog, format.damagedFileCaption, MB_ICONINFORMATION);
    std::memcpy(record, defaults, format.recordSize);
  }
  _lclose(file);
}

void DialogSave(HWND dialog, const char* path, const SignedFormat& format, const void* record) {
  const HFILE file = OpenSettingsFile(path, OF_CREATE);
  if (file == HFILE_ERROR) {
    ShowWriteFailure(dialog, path, format);
    return;
  }
  const bool written = WriteRecord(file, format, record);
  _lclose(file);
  if (!written) ShowWriteFailure(dialog, path, format);
}

bool RunSettingsFile::Read(HWND host, const char* dir, const SignedFormat& format, void* record) {
  Close();
  frame::SendProgress(host, frame::PROGRESS_BEGIN, 0);
  SettingsPath path;
  AssembleSignedPath(path, dir, format);
  file_ = OpenSettingsFile(path, OF_READ);
  if (file_ == HFILE_ERROR) {
    char message[64];
    FileNameWith(message, sizeof(message), format, kUnreadableForRun);
    frame::ShowMessage(host, message, kUnreadableCaption, MB_ICONERROR);
    frame::SendProgress(host, frame::PROGRESS_END, 0);
    return false;
  }
  if (!SignatureMatches(file_, format) || !ReadRecord(file_, format, record)) {
    frame::ShowMessage(host, kDamagedForRun, format.damagedFileCaption, MB_ICONERROR);
    Close();
    frame::SendProgress(host, frame::PROGRESS_END, 0);
    return false;
  }
  return true;
}

void RunSettingsFile::Close() {
  if (file_ == HFILE_ERROR) return;
  _lclose(file_);
  file_ = HFILE_ERROR;
}

}  // namespace blur
