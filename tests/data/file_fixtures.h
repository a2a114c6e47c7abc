// Settings data files built byte by byte for the file and import tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "setup/data/bytes.h"
#include "setup/data/data_set.h"

namespace odc {
namespace fixtures {

inline void AppendU32(std::vector<uint8_t>& out, uint32_t value) {
  uint8_t b[4];
  PutU32(b, value);
  out.insert(out.end(), b, b + 4);
}

inline void AppendItem(std::vector<uint8_t>& out, uint32_t id, const std::vector<uint8_t>& data) {
  AppendU32(out, id);
  AppendU32(out, static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
}

inline void AppendItemLength(std::vector<uint8_t>& out, uint32_t id, uint32_t length) {
  AppendU32(out, id);
  AppendU32(out, length);
}

// Signature header (NUL-padded to 64), block code 258, N, stream.
inline std::vector<uint8_t> WrapStream(
    const std::vector<uint8_t>& stream,
    const std::string& signature = "CMDCODE002|ODC|BRAMWYN|ALL") {
  std::vector<uint8_t> file(64, 0);
  std::memcpy(file.data(), signature.data(), signature.size() < 64 ? signature.size() : 64);
  AppendU32(file, 258);
  AppendU32(file, static_cast<uint32_t>(stream.size()));
  file.insert(file.end(), stream.begin(), stream.end());
  return file;
}

inline uint32_t DialId(int record) {
  return record < kOneTouchCount ? kOneTouchFirstId + record
                                 : kSpeedDialFirstId + (record - kOneTouchCount);
}

inline void PutText(std::vector<uint8_t>& e, size_t at, const char* text) {
  std::memcpy(e.data() + at, text, std::strlen(text));
}

// One Touch entries of every kind.
inline std::vector<uint8_t> OneTouchFax(int key) {
  std::vector<uint8_t> e(kOneTouchEntrySize, 0);
  PutU16(e.data(), static_cast<uint16_t>(key + 1));
  e[2] = kFlagFax | kFlagOneTouchEntry | kFlagBatchTime;
  e[3] = 4;  // "1234"
  e[5] = 3;
  PutText(e, 6, "ABC");
  PutU16(e.data() + 26, 0x3A21);
  PutU16(e.data() + 28, 28832);  // 14:05
  e[30] = 3;
  e[31] = 2;  // SUB "56"
  e[32] = 1;  // SID "7"
  e[33] = 0x21;
  e[34] = 0x43;
  e[58] = 0x65;
  e[68] = 0x07;
  return e;
}

inline std::vector<uint8_t> OneTouchEmail(int key) {
  std::vector<uint8_t> e(kOneTouchEntrySize, 0);
  PutU16(e.data(), static_cast<uint16_t>(key + 1));
  e[2] = kFlagEmail | kFlagOneTouchEntry;
  e[3] = 7;
  e[5] = 2;
  PutText(e, 6, "EM");
  e[30] = 1;
  e[31] = 2;
  e[32] = 1;
  e[33] = 2;
  PutText(e, 34, "a@b.com");
  return e;
}

inline std::vector<uint8_t> OneTouchGroup(int key) {
  std::vector<uint8_t> e(kOneTouchEntrySize, 0);
  PutU16(e.data(), static_cast<uint16_t>(key + 1));
  e[2] = kFlagGroup;
  e[3] = 2;
  e[5] = 2;
  PutText(e, 6, "GR");
  const uint8_t members[] = {8, 1, 4, 1};
  std::memcpy(e.data() + 30, members, sizeof members);
  return e;
}

inline std::vector<uint8_t> OneTouchCombination(int key) {
  std::vector<uint8_t> e(kOneTouchEntrySize, 0);
  PutU16(e.data(), static_cast<uint16_t>(key + 1));
  e[2] = kFlagFax | kFlagOneTouchEntry | kFlagCombination;
  e[3] = 3;  // "12+"
  e[33] = 0x21;
  e[34] = 0x0E;
  return e;
}

// A key holding a program set on the machine: kept byte for byte.
inline std::vector<uint8_t> OneTouchProgram(int key) {
  std::vector<uint8_t> e(kOneTouchEntrySize, 0);
  PutU16(e.data(), static_cast<uint16_t>(key + 1));
  e[2] = kFlagProgram;
  for (size_t i = 3; i < e.size(); ++i) e[i] = static_cast<uint8_t>(i * 13);
  return e;
}

inline std::vector<uint8_t> SpeedDialFax(int index) {
  std::vector<uint8_t> e(kSpeedDialEntrySize, 0);
  PutU16(e.data(), static_cast<uint16_t>((index + 1) | 0x8000));
  e[2] = kFlagFax | kFlagSpeedDial;
  e[3] = 3;
  e[4] = 1;
  PutText(e, 5, "S");
  e[28] = 2;
  e[31] = 0x21;
  e[32] = 0x03;
  return e;
}

inline std::vector<uint8_t> SpeedDialEmail(int index) {
  std::vector<uint8_t> e(kSpeedDialEntrySize, 0);
  PutU16(e.data(), static_cast<uint16_t>((index + 1) | 0x8000));
  e[2] = kFlagEmail | kFlagSpeedDial;
  e[3] = 5;
  e[4] = 1;
  PutText(e, 5, "M");
  PutText(e, 32, "x@y.z");
  return e;
}

// The data of a settings item in a form that survives unpacking and
// packing unchanged: texts in plain letters, other values any bytes.
inline std::vector<uint8_t> SettingData(const SettingItem& item, int seed) {
  std::vector<uint8_t> data(item.width, 0);
  if (item.kind == SettingKind::Text || item.kind == SettingKind::ConvertedText) {
    for (size_t i = 0; i + 1 < data.size() && i < 6; ++i) data[i] = 'A' + (seed + i) % 26;
  } else {
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(seed * 7 + i * 3 + 1);
  }
  return data;
}

struct FullFile {
  std::vector<uint8_t> bytes;
  size_t afterLastSpeedDial = 0;  // file offsets just behind those items
  size_t afterEndItem = 0;
  std::vector<uint8_t> machineInfo;
};

// A full file as the machine's data would be saved: dial entries of every
// kind, every settings item but the counters, the end item and the machine
// information block.
inline FullFile MakeFullFile() {
  FullFile f;
  std::vector<uint8_t> stream;
  for (int r = 0; r < kDialRecordCount; ++r) {
    std::vector<uint8_t> data;
    switch (r) {
      case 0:
        data = OneTouchFax(0);
        break;
      case 1:
        data = OneTouchEmail(1);
        break;
      case 2:
        data = OneTouchGroup(2);
        break;
      case 3:
        data = OneTouchCombination(3);
        break;
      case 29:
        data = OneTouchProgram(29);
        break;
      case 32:
        data = SpeedDialFax(0);
        break;
      case 33:
        data = SpeedDialEmail(1);
        break;
      case 271:
        data = SpeedDialFax(239);
        break;
      default:
        break;
    }
    AppendItem(stream, DialId(r), data);
  }
  f.afterLastSpeedDial = 72 + stream.size();
  for (int i = 0; i < kSettingItemCount; ++i) {
    const SettingItem& item = kSettingItems[i];
    if (item.id >= kFirstCounterId && item.id <= kLastCounterId) continue;
    AppendItem(stream, item.id, SettingData(item, i));
  }
  f.afterEndItem = 72 + stream.size();
  for (int i = 0; i < 80; ++i) f.machineInfo.push_back(static_cast<uint8_t>(0xA0 + i));
  AppendItem(stream, kMachineInfoId, f.machineInfo);
  f.bytes = WrapStream(stream);
  return f;
}

}  // namespace fixtures
}  // namespace odc
