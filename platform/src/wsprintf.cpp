// wsprintfA: the formatting subset of the system function. Conversions %s %c
// %d %i %u %x %X with the flags '-', '0' and '#', a width, a precision and the
// size prefixes l and h; %% is a percent sign. Like the system function it
// writes at most 1024 bytes including the terminating NUL and returns the
// length written. A 'long' argument is 32 bits wide, as on the system whose
// code this formats for.
#include <cstdarg>
#include <cstdint>
#include <string>

#include "internal.h"

namespace vfwin {
namespace {

constexpr size_t kLargestOutput = 1024;

struct FieldFormat {
  bool leftAlign = false;
  bool zeroPad = false;
  bool alternate = false;
  int width = 0;
  int precision = -1;
};

void Pad(std::string& out, size_t count, char fill) {
  out.append(count, fill);
}

void EmitField(std::string& out, const FieldFormat& field, const std::string& prefix,
               const std::string& body) {
  size_t length = prefix.size() + body.size();
  size_t padding = field.width > 0 && static_cast<size_t>(field.width) > length ? field.width - length : 0;
  if (field.leftAlign) {
    out += prefix;
    out += body;
    Pad(out, padding, ' ');
  } else if (field.zeroPad) {
    out += prefix;
    Pad(out, padding, '0');
    out += body;
  } else {
    Pad(out, padding, ' ');
    out += prefix;
    out += body;
  }
}

std::string Digits(uint32_t value, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), digits[value % base]);
    value /= base;
  } while (value != 0);
  return text;
}

void EmitNumber(std::string& out, FieldFormat field, char conversion, uint32_t bits) {
  std::string prefix;
  std::string body;
  if (conversion == 'd' || conversion == 'i') {
    int32_t value = static_cast<int32_t>(bits);
    if (value < 0) prefix = "-";
    body = Digits(value < 0 ? 0u - bits : bits, 10, false);
  } else if (conversion == 'u') {
    body = Digits(bits, 10, false);
  } else {
    body = Digits(bits, 16, conversion == 'X');
    if (field.alternate && bits != 0) prefix = conversion == 'X' ? "0X" : "0x";
  }
  if (field.precision >= 0) {
    if (field.precision == 0 && bits == 0) body.clear();
    if (body.size() < static_cast<size_t>(field.precision))
      body.insert(0, field.precision - body.size(), '0');
    field.zeroPad = false;
  }
  EmitField(out, field, prefix, body);
}

std::string Format(const char* format, va_list arguments) {
  std::string out;
  const char* at = format;
  while (*at && out.size() < kLargestOutput) {
    if (*at != '%') {
      out += *at++;
      continue;
    }
    ++at;
    FieldFormat field;
    for (;; ++at) {
      if (*at == '-') {
        field.leftAlign = true;
      } else if (*at == '0') {
        field.zeroPad = true;
      } else if (*at == '#') {
        field.alternate = true;
      } else {
        break;
      }
    }
    while (*at >= '0' && *at <= '9' && field.width < 100000) field.width = field.width * 10 + (*at++ - '0');
    if (*at == '.') {
      ++at;
      field.precision = 0;
      while (*at >= '0' && *at <= '9' && field.precision < 100000)
        field.precision = field.precision * 10 + (*at++ - '0');
    }
    while (*at == 'l' || *at == 'h') ++at;
    char conversion = *at;
    if (conversion == '\0') break;
    ++at;
    switch (conversion) {
      case 's': {
        const char* text = va_arg(arguments, const char*);
        std::string body = text ? text : "(null)";
        if (field.precision >= 0 && body.size() > static_cast<size_t>(field.precision))
          body.resize(field.precision);
        field.zeroPad = false;
        EmitField(out, field, "", body);
        break;
      }
      case 'c': {
        char c = static_cast<char>(va_arg(arguments, int));
        field.zeroPad = false;
        EmitField(out, field, "", std::string(1, c));
        break;
      }
      case 'd':
      case 'i':
      case 'u':
      case 'x':
      case 'X':
        EmitNumber(out, field, conversion, static_cast<uint32_t>(va_arg(arguments, unsigned int)));
        break;
      default:
        // '%%' and an unknown conversion give the character itself.
        out += conversion;
        break;
    }
  }
  if (out.size() > kLargestOutput - 1) out.resize(kLargestOutput - 1);
  return out;
}

}  // namespace
}  // namespace vfwin

extern "C" VFWIN_API int wsprintfA(LPSTR buffer, LPCSTR format, ...) {
  if (!buffer) return 0;
  if (!format) {
    buffer[0] = '\0';
    return 0;
  }
  va_list arguments;
  va_start(arguments, format);
  std::string text = vfwin::Format(format, arguments);
  va_end(arguments);
  text.copy(buffer, text.size());
  buffer[text.size()] = '\0';
  return static_cast<int>(text.size());
}
