// Files: the old-style _l functions and OpenFile over plain POSIX file
// descriptors. A file number is the descriptor, and the handle that ReadFile,
// WriteFile and CloseHandle take is that number cast to a handle, as code
// does with what OpenFile returns.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "internal.h"

namespace vfwin {
namespace {

constexpr UINT kReadWriteError = static_cast<UINT>(HFILE_ERROR);

int AccessFlags(UINT mode) {
  switch (mode & 0x3) {
    case OF_WRITE:
      return O_WRONLY;
    case OF_READWRITE:
      return O_RDWR;
    default:
      return O_RDONLY;
  }
}

int OpenDescriptor(const char* path, int flags) {
  if (!path) {
    errno = ENOENT;
    return -1;
  }
  int descriptor;
  do {
    descriptor = ::open(path, flags | O_CLOEXEC, 0666);
  } while (descriptor < 0 && errno == EINTR);
  return descriptor;
}

// Reads or writes up to bytes, going on after short transfers; the count
// done, or -1 when nothing could be done because of an error.
long long TransferAll(int descriptor, void* buffer, size_t bytes, bool writing) {
  size_t done = 0;
  while (done < bytes) {
    char* at = static_cast<char*>(buffer) + done;
    ssize_t step = writing ? ::write(descriptor, at, bytes - done) : ::read(descriptor, at, bytes - done);
    if (step < 0) {
      if (errno == EINTR) continue;
      return done > 0 ? static_cast<long long>(done) : -1;
    }
    if (step == 0) break;
    done += static_cast<size_t>(step);
  }
  return static_cast<long long>(done);
}

// The system error numbers that OpenFile reports in nErrCode.
WORD SystemErrorOf(int error) {
  switch (error) {
    case ENOENT:
      return 2;  // ERROR_FILE_NOT_FOUND
    case ENOTDIR:
      return 3;  // ERROR_PATH_NOT_FOUND
    case EMFILE:
    case ENFILE:
      return 4;  // ERROR_TOO_MANY_OPEN_FILES
    case EACCES:
    case EPERM:
    case EROFS:
      return 5;  // ERROR_ACCESS_DENIED
    case EISDIR:
      return 5;
    case ENAMETOOLONG:
      return 206;  // ERROR_FILENAME_EXCED_RANGE
    case ENOSPC:
      return 112;  // ERROR_DISK_FULL
    default:
      return 31;  // ERROR_GEN_FAILURE
  }
}

void FillPathName(OFSTRUCT* info, const char* path) {
  char resolved[PATH_MAX];
  const char* name = path ? path : "";
  if (path && ::realpath(path, resolved)) name = resolved;
  size_t length = std::min(std::strlen(name), sizeof info->szPathName - 1);
  std::memcpy(info->szPathName, name, length);
  info->szPathName[length] = '\0';
}

int DescriptorOf(HANDLE handle) {
  intptr_t value = reinterpret_cast<intptr_t>(handle);
  return value >= 0 && value <= INT_MAX ? static_cast<int>(value) : -1;
}

}  // namespace
}  // namespace vfwin

extern "C" {

// Share modes have no meaning here and are ignored.
VFWIN_API HFILE _lopen(LPCSTR path, int mode) {
  int descriptor = vfwin::OpenDescriptor(path, vfwin::AccessFlags(static_cast<UINT>(mode)));
  return descriptor < 0 ? HFILE_ERROR : descriptor;
}

// Creates the file or truncates it, open for reading and writing. The
// attributes (read-only, hidden, system) are not kept.
VFWIN_API HFILE _lcreat(LPCSTR path, int /*attributes*/) {
  int descriptor = vfwin::OpenDescriptor(path, O_RDWR | O_CREAT | O_TRUNC);
  return descriptor < 0 ? HFILE_ERROR : descriptor;
}

VFWIN_API UINT _lread(HFILE file, LPVOID buffer, UINT bytes) {
  if (bytes > 0 && !buffer) return vfwin::kReadWriteError;
  long long done = vfwin::TransferAll(file, buffer, bytes, false);
  return done < 0 ? vfwin::kReadWriteError : static_cast<UINT>(done);
}

VFWIN_API UINT _lwrite(HFILE file, LPCSTR buffer, UINT bytes) {
  if (bytes > 0 && !buffer) return vfwin::kReadWriteError;
  long long done = vfwin::TransferAll(file, const_cast<char*>(buffer), bytes, true);
  return done < 0 ? vfwin::kReadWriteError : static_cast<UINT>(done);
}

VFWIN_API HFILE _lclose(HFILE file) {
  return ::close(file) == 0 ? 0 : HFILE_ERROR;
}

// OF_CREATE creates or truncates the file, open for reading and writing;
// OF_EXIST opens and closes it again, reporting whether it is there.
VFWIN_API HFILE OpenFile(LPCSTR path, LPOFSTRUCT info, UINT style) {
  int flags = (style & OF_CREATE) ? (O_RDWR | O_CREAT | O_TRUNC) : vfwin::AccessFlags(style);
  int descriptor = vfwin::OpenDescriptor(path, flags);
  int error = errno;
  if (info) {
    info->cBytes = static_cast<BYTE>(sizeof(OFSTRUCT));
    info->fFixedDisk = 1;
    info->nErrCode = descriptor < 0 ? vfwin::SystemErrorOf(error) : 0;
    vfwin::FillPathName(info, path);
  }
  if (descriptor < 0) return HFILE_ERROR;
  if (style & OF_EXIST) ::close(descriptor);
  return descriptor;
}

VFWIN_API BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytes, LPDWORD bytesRead, void* /*overlapped*/) {
  if (bytesRead) *bytesRead = 0;
  int descriptor = vfwin::DescriptorOf(file);
  if (descriptor < 0 || (bytes > 0 && !buffer)) return FALSE;
  long long done = vfwin::TransferAll(descriptor, buffer, bytes, false);
  if (done < 0) return FALSE;
  if (bytesRead) *bytesRead = static_cast<DWORD>(done);
  return TRUE;
}

VFWIN_API BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytes, LPDWORD bytesWritten,
                         void* /*overlapped*/) {
  if (bytesWritten) *bytesWritten = 0;
  int descriptor = vfwin::DescriptorOf(file);
  if (descriptor < 0 || (bytes > 0 && !buffer)) return FALSE;
  long long done = vfwin::TransferAll(descriptor, const_cast<void*>(buffer), bytes, true);
  if (done < 0) return FALSE;
  if (bytesWritten) *bytesWritten = static_cast<DWORD>(done);
  return done == static_cast<long long>(bytes) ? TRUE : FALSE;
}

VFWIN_API BOOL CloseHandle(HANDLE object) {
  int descriptor = vfwin::DescriptorOf(object);
  return descriptor >= 0 && ::close(descriptor) == 0 ? TRUE : FALSE;
}

}  // extern "C"
