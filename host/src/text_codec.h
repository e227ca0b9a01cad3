// Conversion between the plug-ins' code page 932 texts and UTF-8.
#pragma once

#include <string>

namespace vfhost::detail {

// Bytes that are not valid in the source encoding become U+FFFD (to UTF-8)
// or '?' (to code page 932).
std::string Cp932ToUtf8(const std::string& text);
std::string Utf8ToCp932(const std::string& text);

}  // namespace vfhost::detail
