// Reading a whole decimal number from a control's text, the way dialog boxes
// read numbers typed by the user.
#include "internal.h"

namespace vfwin {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

bool ParseDialogNumber(std::string_view text, long long minimum, long long maximum, long long* value) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Past this bound every magnitude is out of range of any 32-bit number.
  constexpr long long kSaturated = 1LL << 40;
  long long magnitude = 0;
  size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    if (magnitude < kSaturated) magnitude = magnitude * 10 + (text[i] - '0');
    ++i;
    ++digits;
  }
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (digits == 0 || i != text.size()) return false;
  long long number = negative ? -magnitude : magnitude;
  if (number < minimum || number > maximum) return false;
  *value = number;
  return true;
}

}  // namespace vfwin
