// The three exports of a plug-in and its library entry, compiled into every
// plug-in module. VF_PLUGIN_KIND_DIB or VF_PLUGIN_KIND_LINE_ACCESS selects the
// form of FilterProc; the plug-in supplies the functions of host_interface.h.
#include <cstring>

#include "frame/host_interface.h"

#ifdef _WIN32
#define VF_EXPORT extern "C" __declspec(dllexport)
#else
#include "vfwin/vfwin_host.h"
#define VF_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#if defined(VF_PLUGIN_KIND_DIB) == defined(VF_PLUGIN_KIND_LINE_ACCESS)
#error "a plug-in is built with exactly one of VF_PLUGIN_KIND_DIB and VF_PLUGIN_KIND_LINE_ACCESS"
#endif

VF_EXPORT int32_t __cdecl FilterGetTitle(int32_t /*reserved*/, char* title, int32_t* one, int32_t* kind) {
  std::memcpy(title, frame::kPluginTitle, std::strlen(frame::kPluginTitle) + 1);
  *one = 1;
#ifdef VF_PLUGIN_KIND_DIB
  *kind = frame::KIND_DIB;
#else
  *kind = frame::KIND_LINE_ACCESS;
#endif
  return 1;
}

VF_EXPORT int32_t __cdecl FilterOption(HWND host, const char* dir) {
  return frame::PluginOption(host, dir);
}

#ifdef VF_PLUGIN_KIND_DIB
VF_EXPORT int32_t __cdecl FilterProc(HWND host, BITMAPINFOHEADER* image, int32_t /*reserved*/,
                                     const char* dir) {
  return frame::PluginProcDib(host, image, dir);
}
#else
VF_EXPORT int32_t __cdecl FilterProc(HWND host, const frame::ImageSize* size,
                                     const frame::LineAccessTable* write, const frame::LineAccessTable* read,
                                     const char* dir) {
  return frame::PluginProcLineAccess(host, size, write, read, dir);
}
#endif

// The library entry only stores the instance handle.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
  frame::SetModuleInstance(instance);
  return TRUE;
}

#ifndef _WIN32
// On Linux the loader knows no DllMain: when the library is loaded, register
// the embedded dialog template with the platform layer, which gives the
// instance handle, and enter as the system would.
extern const unsigned char vf_resource_script[];
extern const std::size_t vf_resource_script_size;

__attribute__((constructor)) static void EnterLibrary() {
  HINSTANCE instance = VfRegisterModule(VF_PLUGIN_NAME, reinterpret_cast<const char*>(vf_resource_script),
                                        vf_resource_script_size);
  DllMain(instance, DLL_PROCESS_ATTACH, nullptr);
}
#endif
