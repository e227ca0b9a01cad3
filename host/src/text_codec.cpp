// Code page 932 <-> UTF-8: iconv on Linux, the system's code page tables on
// Windows.
#include "text_codec.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

#include <vector>

namespace vfhost::detail {

#ifdef _WIN32

namespace {

std::wstring ToWide(const std::string& text, UINT codePage) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string FromWide(const std::wstring& wide, UINT codePage) {
  if (wide.empty()) return {};
  const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
  const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         fallback, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, fallback,
                      nullptr);
  return text;
}

}  // namespace

std::string Cp932ToUtf8(const std::string& text) {
  return FromWide(ToWide(text, 932), CP_UTF8);
}
std::string Utf8ToCp932(const std::string& text) {
  return FromWide(ToWide(text, CP_UTF8), 932);
}

#else

namespace {

// The length of the UTF-8 sequence that starts with this byte (1 for stray bytes).
size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// Converts with iconv; a sequence it cannot convert becomes the replacement
// (a whole UTF-8 character, or one code page 932 byte).
std::string Convert(const std::string& text, const char* from, const char* to,
                    const std::string& replacement) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return text;
  const bool fromUtf8 = std::string(from) == "UTF-8";
  std::string out;
  std::vector<char> buffer(4 * text.size() + 16);
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  while (inLeft > 0) {
    char* target = buffer.data();
    size_t targetLeft = buffer.size();
    const size_t status = iconv(converter, &in, &inLeft, &target, &targetLeft);
    out.append(buffer.data(), target);
    if (status == static_cast<size_t>(-1) && errno != E2BIG) {
      out += replacement;
      const size_t bad = fromUtf8 ? Utf8SequenceLength(static_cast<unsigned char>(*in)) : 1;
      const size_t skip = inLeft < bad ? inLeft : bad;
      in += skip;
      inLeft -= skip;
      iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(converter);
  return out;
}

}  // namespace

std::string Cp932ToUtf8(const std::string& text) {
  return Convert(text, "CP932", "UTF-8", "\xEF\xBF\xBD");
}
std::string Utf8ToCp932(const std::string& text) {
  return Convert(text, "UTF-8", "CP932", "?");
}

#endif

}  // namespace vfhost::detail
