// The platform layer's dialog template reader on arbitrary resource
// scripts, with and without a template name to look for.
#include <cstdint>
#include <cstring>
#include <vector>

#include "vfwin/vfwin_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* script = reinterpret_cast<const char*>(data);
  char error[128];
  VfCheckResourceScript(script, size, nullptr, error, sizeof(error));
  if (std::memchr(error, 0, sizeof(error)) == nullptr) __builtin_trap();  // the reason must be terminated
  VfCheckResourceScript(script, size, "MAXFILTER", error, sizeof(error));
  char tiny[1];
  VfCheckResourceScript(script, size, "DIALOG", tiny, sizeof(tiny));
  return 0;
}
