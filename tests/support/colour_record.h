// Building and reading the palette records of colorreduce and rangestretch
// in tests: a record's bytes with a palette, and the palette of a saved file.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace vftest {

inline uint32_t ColourWord(uint8_t red, uint8_t green, uint8_t blue) {
  return red | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16;
}

// size bytes of zeros with notice flag, N, method and the palette words.
inline std::vector<uint8_t> PaletteRecord(std::size_t size, uint8_t notice, uint8_t colours, uint8_t method,
                                          const std::vector<uint32_t>& palette) {
  std::vector<uint8_t> bytes(size, 0);
  bytes[0] = notice;
  bytes[1] = colours;
  bytes[2] = method;
  for (std::size_t slot = 0; slot < palette.size(); ++slot)
    std::memcpy(&bytes[4 + 4 * slot], &palette[slot], 4);
  return bytes;
}

inline uint32_t PaletteSlot(const std::vector<uint8_t>& record, int slot) {
  uint32_t word = 0;
  std::memcpy(&word, &record.at(4 + 4 * static_cast<std::size_t>(slot)), 4);
  return word;
}

}  // namespace vftest
