// Loading a plug-in and calling its three exports as the paint program does.
#include <algorithm>
#include <cstring>
#include <filesystem>

#include "call_context.h"
#include "dialog_driver.h"
#include "frame/line_access_types.h"
#include "host_platform.h"
#include "text_codec.h"
#include "vfhost/line_access.h"
#include "vfhost/session.h"

namespace vfhost {
namespace {

using GetTitleFunction = int32_t(__cdecl*)(int32_t reserved, char* title, int32_t* one, int32_t* kind);
using OptionFunction = int32_t(__cdecl*)(HWND host, const char* dir);
using DibProcFunction = int32_t(__cdecl*)(HWND host, BITMAPINFOHEADER* image, int32_t reserved,
                                          const char* dir);
using LineAccessProcFunction = int32_t(__cdecl*)(HWND host, const frame::ImageSize* size,
                                                 const frame::LineAccessTable* write,
                                                 const frame::LineAccessTable* read, const char* dir);

constexpr int32_t kKindDib = 0;
constexpr int32_t kKindLineAccess = 10;
// The paint program's title buffer; a title must end within it.
constexpr size_t kTitleBufferSize = 256;

bool LooksLikePath(const std::string& nameOrPath) {
  return nameOrPath.find_first_of("/\\") != std::string::npos ||
         (nameOrPath.size() > 4 && (nameOrPath.rfind(".so") == nameOrPath.size() - 3 ||
                                    nameOrPath.rfind(".dll") == nameOrPath.size() - 4));
}

std::string StemOf(const std::string& path) {
  return std::filesystem::path(path).stem().string();
}

Event ResultEvent(int32_t value) {
  Event event;
  event.type = Event::Type::Result;
  event.value = value;
  return event;
}

}  // namespace

struct Plugin::Impl {
  void* library = nullptr;
  std::string name, path, title;
  int32_t kind = kKindDib;
  GetTitleFunction getTitle = nullptr;
  OptionFunction option = nullptr;
  void* proc = nullptr;
};

Plugin::Plugin() : impl_(std::make_unique<Impl>()) {}

Plugin::~Plugin() {
  if (impl_->library) detail::CloseLibrary(impl_->library);
}

std::unique_ptr<Plugin> Plugin::Load(const std::string& nameOrPath, const std::string& pluginDir,
                                     std::string& error) {
  std::string path = nameOrPath;
  if (!LooksLikePath(nameOrPath))
    path = (std::filesystem::path(pluginDir) / PluginFileName(nameOrPath)).string();
  if (!std::filesystem::exists(path)) {
    error = "no plug-in " + path;
    return nullptr;
  }
  std::unique_ptr<Plugin> plugin(new Plugin());
  Impl& impl = *plugin->impl_;
  impl.path = path;
  impl.name = StemOf(path);
  impl.library = detail::OpenLibrary(path, error);
  if (!impl.library) return nullptr;
  impl.getTitle = reinterpret_cast<GetTitleFunction>(detail::LibrarySymbol(impl.library, "FilterGetTitle"));
  impl.option = reinterpret_cast<OptionFunction>(detail::LibrarySymbol(impl.library, "FilterOption"));
  impl.proc = detail::LibrarySymbol(impl.library, "FilterProc");
  for (const auto& [address, exportName] :
       {std::pair<const void*, const char*>{reinterpret_cast<const void*>(impl.getTitle), "FilterGetTitle"},
        {reinterpret_cast<const void*>(impl.option), "FilterOption"},
        {impl.proc, "FilterProc"}}) {
    if (!address) {
      error = path + " does not export " + exportName;
      return nullptr;
    }
  }

  // Fill the buffer so that a title without its NUL shows up.
  char title[kTitleBufferSize];
  std::memset(title, 0x7F, sizeof title);
  int32_t one = 0, kind = -1;
  impl.getTitle(0, title, &one, &kind);
  const void* end = std::memchr(title, '\0', sizeof title);
  if (!end) {
    error = path + ": FilterGetTitle gave a title without its end within " +
            std::to_string(kTitleBufferSize) + " bytes";
    return nullptr;
  }
  if (kind != kKindDib && kind != kKindLineAccess) {
    error = path + ": FilterGetTitle gave the unknown interface kind " + std::to_string(kind);
    return nullptr;
  }
  impl.title.assign(title, static_cast<size_t>(static_cast<const char*>(end) - title));
  impl.kind = kind;
  return plugin;
}

const std::string& Plugin::name() const {
  return impl_->name;
}
const std::string& Plugin::path() const {
  return impl_->path;
}
std::string Plugin::TitleUtf8() const {
  return detail::Cp932ToUtf8(impl_->title);
}
std::string Plugin::TitleBytes() const {
  return impl_->title;
}
int32_t Plugin::Kind() const {
  return impl_->kind;
}

RunOutcome Plugin::RunDib(Dib& image, const ::vfhost::RunOptions& options) {
  RunOutcome outcome;
  if (impl_->kind != kKindDib) {
    outcome.error = impl_->name + " is a line-access plug-in (kind 10), not a DIB one";
    return outcome;
  }
  const std::string dir = WithTrailingSeparator(options.settingsDir);
  detail::CallContext call(options);
  {
    detail::PlatformCall platform(call, options);
    auto proc = reinterpret_cast<DibProcFunction>(impl_->proc);
    outcome.result =
        proc(detail::HostWindow(), reinterpret_cast<BITMAPINFOHEADER*>(image.header()), 0, dir.c_str());
    outcome.liveAllocations = platform.LeakedAllocations();
  }
  call.events().push_back(ResultEvent(outcome.result));
  outcome.events = std::move(call.events());
  outcome.escPolls = call.escPolls();
  return outcome;
}

RunOutcome Plugin::RunLineAccess(LayeredImage& image, const ::vfhost::RunOptions& options) {
  RunOutcome outcome;
  if (impl_->kind != kKindLineAccess) {
    outcome.error = impl_->name + " is a DIB plug-in (kind 0), not a line-access one";
    return outcome;
  }
  const std::string dir = WithTrailingSeparator(options.settingsDir);
  detail::CallContext call(options);
  {
    LineAccessSession lines(image, options.sharedStorage);
    detail::PlatformCall platform(call, options);
    auto proc = reinterpret_cast<LineAccessProcFunction>(impl_->proc);
    outcome.result =
        proc(detail::HostWindow(), lines.size(), lines.writeTable(), lines.readTable(), dir.c_str());
    outcome.liveAllocations = platform.LeakedAllocations();
    outcome.lineCalls = lines.counts();
  }
  call.events().push_back(ResultEvent(outcome.result));
  outcome.events = std::move(call.events());
  outcome.escPolls = call.escPolls();
  return outcome;
}

OptionsOutcome Plugin::RunOptions(const std::vector<DialogAction>& actions,
                                  const ::vfhost::RunOptions& options) {
  OptionsOutcome outcome;
  const std::string dir = WithTrailingSeparator(options.settingsDir);
  detail::DialogDriver driver(actions);
  detail::CallContext call(options);
  call.SetDialogDriver(&driver);
  {
    detail::PlatformCall platform(call, options);
    outcome.result = impl_->option(detail::HostWindow(), dir.c_str());
  }
  call.events().push_back(ResultEvent(outcome.result));
  outcome.events = std::move(call.events());
  outcome.state = driver.state();
  outcome.errors = driver.errors();
  return outcome;
}

std::vector<std::string> FindPlugins(const std::string& pluginDir) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(pluginDir, error)) {
    const std::filesystem::path& path = entry.path();
    if (entry.is_regular_file(error) && path.extension() == detail::LibraryExtension())
      names.push_back(path.stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string PluginFileName(const std::string& name) {
  return name + detail::LibraryExtension();
}

std::string WithTrailingSeparator(const std::string& folder) {
  if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder;
#ifdef _WIN32
  return folder + "\\";
#else
  return folder + "/";
#endif
}

}  // namespace vfhost
