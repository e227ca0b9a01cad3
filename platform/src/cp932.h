// Byte classes of code page 932: a lead byte and the trail byte after it
// form one double-byte character.
#pragma once

namespace vfwin {

inline bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

inline bool IsCp932TrailByte(unsigned char byte) {
  return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

}  // namespace vfwin
