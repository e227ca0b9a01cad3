// Test helpers for the blur plug-ins' signed settings files: the bytes of a
// file (signature, then the record) and the messages their readers show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace blurtest {

inline std::vector<uint8_t> SignedFile(const std::string& signature, const std::vector<uint8_t>& record) {
  std::vector<uint8_t> bytes(signature.begin(), signature.end());
  bytes.insert(bytes.end(), record.begin(), record.end());
  return bytes;
}

// length, centerX, centerY as the line blurs store them (little-endian).
inline std::vector<uint8_t> LineRecord(uint8_t length, int32_t centerX, int32_t centerY) {
  std::vector<uint8_t> bytes{length};
  for (int32_t value : {centerX, centerY})
    for (int shift = 0; shift < 32; shift += 8)
      bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> shift));
  return bytes;
}

constexpr const char* kDialogMissingText = "設定ファイルが開けないので\n設定を初期化します。";
constexpr const char* kDialogDamagedText = "設定ファイルが壊れているので\n設定を初期化します。";
constexpr const char* kRunDamagedText = "設定ファイルが壊れているので\n処理を中止します。";
constexpr const char* kWriteFailureText = " に書き込めませんでした。";
constexpr const char* kMemoryText = "グローバルメモリーが確保できませんでした；＿；。";

}  // namespace blurtest
