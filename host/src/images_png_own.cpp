// Our own PNG codec over zlib: every colour type and bit depth of
// non-interlaced files read into RGBA, grey, RGB and RGBA written. The
// Windows build reads and writes its PNG files with it.
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "images_internal.h"
#include "vfhost/images.h"

namespace vfhost {
namespace {

const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

enum ColourType : uint8_t { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgba = 6 };

uint32_t Be32(const uint8_t* at) {
  return (static_cast<uint32_t>(at[0]) << 24) | (static_cast<uint32_t>(at[1]) << 16) |
         (static_cast<uint32_t>(at[2]) << 8) | at[3];
}
void AppendBe32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

struct Header {
  uint32_t width = 0, height = 0;
  uint8_t depth = 0, colourType = 0, interlace = 0;
  int Channels() const {
    switch (colourType) {
      case kRgb:
        return 3;
      case kGreyAlpha:
        return 2;
      case kRgba:
        return 4;
      default:
        return 1;
    }
  }
  bool Valid() const {
    switch (colourType) {
      case kGrey:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
      case kPalette:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
      case kRgb:
      case kGreyAlpha:
      case kRgba:
        return depth == 8 || depth == 16;
      default:
        return false;
    }
  }
};

struct Decoded {
  Header header;
  std::vector<uint8_t> palette;       // 3 bytes an entry
  std::vector<uint8_t> paletteAlpha;  // tRNS of palette files
  bool hasColourKey = false;
  uint16_t colourKey[3] = {0, 0, 0};  // tRNS of grey and RGB files
  std::vector<uint8_t> compressed;
};

bool ReadChunks(const std::vector<uint8_t>& file, Decoded& decoded, std::string& error) {
  if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0) {
    error = "not a PNG file";
    return false;
  }
  size_t at = 8;
  bool sawHeader = false, sawEnd = false;
  while (!sawEnd) {
    if (file.size() - at < 12) {
      error = "PNG file is cut short";
      return false;
    }
    const uint32_t length = Be32(&file[at]);
    if (length > file.size() - at - 12) {
      error = "PNG file is cut short";
      return false;
    }
    const uint8_t* type = &file[at + 4];
    const uint8_t* data = &file[at + 8];
    const uint32_t storedCrc = Be32(data + length);
    if (crc32(0, type, length + 4) != storedCrc) {
      error = "PNG file is damaged (checksum)";
      return false;
    }
    const std::string name(reinterpret_cast<const char*>(type), 4);
    if (name == "IHDR") {
      if (length != 13) {
        error = "PNG header is damaged";
        return false;
      }
      Header& h = decoded.header;
      h.width = Be32(data);
      h.height = Be32(data + 4);
      h.depth = data[8];
      h.colourType = data[9];
      h.interlace = data[12];
      if (!h.Valid() || data[10] != 0 || data[11] != 0 || h.interlace > 1) {
        error = "PNG header is damaged or of an unknown kind";
        return false;
      }
      sawHeader = true;
    } else if (!sawHeader) {
      error = "PNG file does not start with its header";
      return false;
    } else if (name == "PLTE") {
      decoded.palette.assign(data, data + length - length % 3);
    } else if (name == "tRNS") {
      if (decoded.header.colourType == kPalette) {
        decoded.paletteAlpha.assign(data, data + length);
      } else if (decoded.header.colourType == kGrey && length >= 2) {
        decoded.hasColourKey = true;
        decoded.colourKey[0] = static_cast<uint16_t>((data[0] << 8) | data[1]);
      } else if (decoded.header.colourType == kRgb && length >= 6) {
        decoded.hasColourKey = true;
        for (int c = 0; c < 3; ++c)
          decoded.colourKey[c] = static_cast<uint16_t>((data[2 * c] << 8) | data[2 * c + 1]);
      }
    } else if (name == "IDAT") {
      decoded.compressed.insert(decoded.compressed.end(), data, data + length);
    } else if (name == "IEND") {
      sawEnd = true;
    } else if (!(type[0] & 0x20)) {
      error = "PNG file holds a critical chunk this reader does not know (" + name + ")";
      return false;
    }
    at += 12 + length;
  }
  return true;
}

bool Inflate(const std::vector<uint8_t>& compressed, std::vector<uint8_t>& raw, std::string& error) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) {
    error = "zlib could not start";
    return false;
  }
  stream.next_in = const_cast<Bytef*>(compressed.data());
  stream.avail_in = static_cast<uInt>(compressed.size());
  stream.next_out = raw.data();
  stream.avail_out = static_cast<uInt>(raw.size());
  const int status = inflate(&stream, Z_FINISH);
  const bool complete =
      stream.avail_out == 0 && (status == Z_STREAM_END || status == Z_BUF_ERROR || status == Z_OK);
  inflateEnd(&stream);
  if (!complete) error = "PNG pixel data is damaged or cut short";
  return complete;
}

uint8_t Paeth(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up),
            toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<uint8_t>(left);
  if (toUp <= toUpLeft) return static_cast<uint8_t>(up);
  return static_cast<uint8_t>(upLeft);
}

// Undoes the row filters in place; raw holds (filter byte, row bytes) per row.
bool Unfilter(std::vector<uint8_t>& raw, size_t rowBytes, size_t rows, size_t pixelBytes,
              std::string& error) {
  const uint8_t* previous = nullptr;
  for (size_t y = 0; y < rows; ++y) {
    uint8_t* line = &raw[y * (rowBytes + 1)];
    const uint8_t filter = line[0];
    uint8_t* row = line + 1;
    for (size_t i = 0; i < rowBytes; ++i) {
      const int left = i >= pixelBytes ? row[i - pixelBytes] : 0;
      const int up = previous ? previous[i] : 0;
      const int upLeft = previous && i >= pixelBytes ? previous[i - pixelBytes] : 0;
      switch (filter) {
        case 0:
          break;
        case 1:
          row[i] = static_cast<uint8_t>(row[i] + left);
          break;
        case 2:
          row[i] = static_cast<uint8_t>(row[i] + up);
          break;
        case 3:
          row[i] = static_cast<uint8_t>(row[i] + (left + up) / 2);
          break;
        case 4:
          row[i] = static_cast<uint8_t>(row[i] + Paeth(left, up, upLeft));
          break;
        default:
          error = "PNG pixel data is damaged (row filter)";
          return false;
      }
    }
    previous = row;
  }
  return true;
}

// Sample n of a row at the header's bit depth, as its raw value.
uint16_t RawSample(const uint8_t* row, size_t n, int depth) {
  if (depth == 16) return static_cast<uint16_t>((row[2 * n] << 8) | row[2 * n + 1]);
  if (depth == 8) return row[n];
  const size_t bit = n * depth;
  const int shift = 8 - depth - static_cast<int>(bit % 8);
  return static_cast<uint16_t>((row[bit / 8] >> shift) & ((1 << depth) - 1));
}

uint8_t To8Bit(uint16_t sample, int depth) {
  if (depth == 16) return static_cast<uint8_t>(sample >> 8);
  if (depth == 8) return static_cast<uint8_t>(sample);
  return static_cast<uint8_t>(sample * 255 / ((1 << depth) - 1));
}

bool ExpandToRgba(const Decoded& decoded, const std::vector<uint8_t>& raw, size_t rowBytes, RgbaImage& image,
                  std::string& error) {
  const Header& h = decoded.header;
  const int channels = h.Channels();
  image.width = static_cast<int32_t>(h.width);
  image.height = static_cast<int32_t>(h.height);
  image.hasAlpha = h.colourType == kGreyAlpha || h.colourType == kRgba || decoded.hasColourKey ||
                   (h.colourType == kPalette && !decoded.paletteAlpha.empty());
  image.rgba.assign(static_cast<size_t>(h.width) * h.height * 4, 255);
  for (size_t y = 0; y < h.height; ++y) {
    const uint8_t* row = &raw[y * (rowBytes + 1) + 1];
    uint8_t* target = &image.rgba[y * h.width * 4];
    for (size_t x = 0; x < h.width; ++x, target += 4) {
      uint16_t s[4] = {0, 0, 0, 0};
      for (int c = 0; c < channels; ++c) s[c] = RawSample(row, x * channels + c, h.depth);
      switch (h.colourType) {
        case kPalette: {
          if (static_cast<size_t>(s[0]) * 3 + 2 >= decoded.palette.size()) {
            error = "PNG pixel refers to a colour outside its palette";
            return false;
          }
          std::memcpy(target, &decoded.palette[s[0] * 3], 3);
          if (s[0] < decoded.paletteAlpha.size()) target[3] = decoded.paletteAlpha[s[0]];
          break;
        }
        case kGrey:
        case kGreyAlpha:
          target[0] = target[1] = target[2] = To8Bit(s[0], h.depth);
          if (h.colourType == kGreyAlpha) target[3] = To8Bit(s[1], h.depth);
          if (decoded.hasColourKey && s[0] == decoded.colourKey[0]) target[3] = 0;
          break;
        default:
          for (int c = 0; c < 3; ++c) target[c] = To8Bit(s[c], h.depth);
          if (h.colourType == kRgba) target[3] = To8Bit(s[3], h.depth);
          if (decoded.hasColourKey && s[0] == decoded.colourKey[0] && s[1] == decoded.colourKey[1] &&
              s[2] == decoded.colourKey[2])
            target[3] = 0;
      }
    }
  }
  return true;
}

void AppendChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  AppendBe32(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  AppendBe32(out, static_cast<uint32_t>(crc32(0, &out[typeAt], static_cast<uInt>(data.size() + 4))));
}

// Picks each row's filter by the smallest sum of absolute filtered bytes,
// the usual heuristic for photographs and flat drawings alike.
std::vector<uint8_t> FilterRows(const detail::PixelRows& rows) {
  const size_t rowBytes = static_cast<size_t>(rows.width) * rows.channels;
  const size_t pixelBytes = static_cast<size_t>(rows.channels);
  std::vector<uint8_t> out;
  out.reserve((rowBytes + 1) * rows.height);
  std::vector<uint8_t> candidate(rowBytes), best(rowBytes);
  for (int32_t y = 0; y < rows.height; ++y) {
    const uint8_t* row = rows.samples + y * rowBytes;
    const uint8_t* previous = y > 0 ? row - rowBytes : nullptr;
    uint64_t bestScore = UINT64_MAX;
    uint8_t bestFilter = 0;
    for (uint8_t filter = 0; filter <= 4; ++filter) {
      uint64_t score = 0;
      for (size_t i = 0; i < rowBytes; ++i) {
        const int left = i >= pixelBytes ? row[i - pixelBytes] : 0;
        const int up = previous ? previous[i] : 0;
        const int upLeft = previous && i >= pixelBytes ? previous[i - pixelBytes] : 0;
        int predicted = 0;
        if (filter == 1) predicted = left;
        if (filter == 2) predicted = up;
        if (filter == 3) predicted = (left + up) / 2;
        if (filter == 4) predicted = Paeth(left, up, upLeft);
        candidate[i] = static_cast<uint8_t>(row[i] - predicted);
        score += static_cast<uint64_t>(std::abs(static_cast<int8_t>(candidate[i])));
      }
      if (score < bestScore) {
        bestScore = score;
        bestFilter = filter;
        best.swap(candidate);
      }
    }
    out.push_back(bestFilter);
    out.insert(out.end(), best.begin(), best.end());
  }
  return out;
}

}  // namespace

namespace detail {

std::vector<uint8_t> EncodePngChannels(const PixelRows& rows) {
  std::vector<uint8_t> out(kSignature, kSignature + 8);
  std::vector<uint8_t> header;
  AppendBe32(header, static_cast<uint32_t>(rows.width));
  AppendBe32(header, static_cast<uint32_t>(rows.height));
  const uint8_t colourType = rows.channels == 1 ? kGrey : rows.channels == 3 ? kRgb : kRgba;
  header.insert(header.end(), {8, colourType, 0, 0, 0});
  AppendChunk(out, "IHDR", header);

  const std::vector<uint8_t> filtered = FilterRows(rows);
  uLongf compressedSize = compressBound(static_cast<uLong>(filtered.size()));
  std::vector<uint8_t> compressed(compressedSize);
  compress2(compressed.data(), &compressedSize, filtered.data(), static_cast<uLong>(filtered.size()), 6);
  compressed.resize(compressedSize);
  AppendChunk(out, "IDAT", compressed);
  AppendChunk(out, "IEND", {});
  return out;
}

}  // namespace detail

bool DecodePngOwn(const std::vector<uint8_t>& file, RgbaImage& image, std::string& error) {
  Decoded decoded;
  if (!ReadChunks(file, decoded, error)) return false;
  const Header& h = decoded.header;
  if (h.interlace != 0) {
    error = "interlaced PNG files are not supported; save the picture without interlacing";
    return false;
  }
  if (!detail::CheckImageSize(h.width, h.height, error)) return false;
  const size_t rowBytes = (static_cast<size_t>(h.width) * h.Channels() * h.depth + 7) / 8;
  const size_t pixelBytes = std::max<size_t>(1, static_cast<size_t>(h.Channels()) * h.depth / 8);
  std::vector<uint8_t> raw((rowBytes + 1) * h.height);
  if (!Inflate(decoded.compressed, raw, error)) return false;
  if (!Unfilter(raw, rowBytes, h.height, pixelBytes, error)) return false;
  return ExpandToRgba(decoded, raw, rowBytes, image, error);
}

std::vector<uint8_t> EncodePngOwn(const RgbaImage& image) {
  std::vector<uint8_t> samples;
  detail::PixelRows rows{image.width, image.height, image.hasAlpha ? 4 : 3, nullptr};
  if (image.hasAlpha) {
    rows.samples = image.rgba.data();
    return detail::EncodePngChannels(rows);
  }
  samples.reserve(static_cast<size_t>(image.width) * image.height * 3);
  for (size_t i = 0; i < image.rgba.size(); i += 4)
    samples.insert(samples.end(), &image.rgba[i], &image.rgba[i + 3]);
  rows.samples = samples.data();
  return detail::EncodePngChannels(rows);
}

}  // namespace vfhost
