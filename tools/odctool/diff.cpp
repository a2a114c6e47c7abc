#include "tools/odctool/diff.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "setup/data/bytes.h"
#include "setup/data/charset.h"
#include "setup/settings/setting_catalog.h"
#include "tools/odctool/setting_names.h"

namespace odc {
namespace tool {
namespace {

constexpr const char* kNotStored = "(not stored)";

std::string Hex(const uint8_t* bytes, size_t count) {
  std::string text;
  char cell[4];
  for (size_t i = 0; i < count; ++i) {
    std::snprintf(cell, sizeof cell, i == 0 ? "%02X" : " %02X", bytes[i]);
    text += cell;
  }
  return text;
}

std::string Label(const char* label, const char* numberFormat, int number) {
  char text[64];
  std::snprintf(text, sizeof text, "%s ", label);
  std::string out = text;
  std::snprintf(text, sizeof text, numberFormat, number);
  return out + text;
}

std::string Change(const std::string& what, const std::string& from, const std::string& to) {
  return what + " " + from + " -> " + to;
}

std::string EntrySummary(const EntryReport& e) {
  std::string text = e.type;
  if (!e.name.empty()) text += " " + Quoted(e.name);
  if (!e.address.empty()) text += " " + Quoted(e.address);
  return text;
}

std::string GroupSummary(const GroupReport& g) {
  return "group " + Quoted(g.name) + " with " + std::to_string(g.members.size()) + " member(s)";
}

std::string MembersText(const std::vector<GroupMemberReport>& members) {
  if (members.empty()) return "(none)";
  std::string text;
  for (const GroupMemberReport& m : members) {
    if (!text.empty()) text += ", ";
    text += m.kind + " " + std::to_string(m.number);
  }
  return text;
}

// The field changes of one entry present on both sides.
void DiffEntry(const std::string& label, const EntryReport& a, const EntryReport& b,
               std::vector<std::string>& lines) {
  auto text = [&](const char* what, const std::string& x, const std::string& y) {
    if (x != y) lines.push_back(label + ": " + Change(what, Quoted(x), Quoted(y)));
  };
  auto word = [&](const char* what, const std::string& x, const std::string& y) {
    auto shown = [](const std::string& s) { return s.empty() ? std::string("(none)") : s; };
    if (x != y) lines.push_back(label + ": " + Change(what, shown(x), shown(y)));
  };
  word("type", a.type, b.type);
  text("name", a.name, b.name);
  text("name2", a.name2, b.name2);
  text("address", a.address, b.address);
  text("SUB", a.sub, b.sub);
  text("SID", a.sid, b.sid);
  word("batch time", a.batchTime, b.batchTime);
  word("speed", a.speed, b.speed);
  if (a.combination != b.combination) {
    lines.push_back(
        label + ": " +
        Change("combination", a.combination ? "yes" : "no", b.combination ? "yes" : "no"));
  }
  word("e-mail mode", a.emailMode, b.emailMode);
  auto code = [](const std::optional<int>& c) {
    return c ? std::to_string(*c) : std::string("(none)");
  };
  if (a.maxTxSizeCode != b.maxTxSizeCode) {
    lines.push_back(label + ": " +
                    Change("max. TX size code", code(a.maxTxSizeCode), code(b.maxTxSizeCode)));
  }
  word("max. quality", a.maxQuality, b.maxQuality);
  word("coding", a.coding, b.coding);
  word("registered", a.registered, b.registered);
}

template <typename T>
std::map<int, const T*> ByNumber(const std::vector<T>& items) {
  std::map<int, const T*> map;
  for (const T& item : items) map[item.number] = &item;
  return map;
}

// Settings item data as the file or machine delivered it: the record's
// data, or nothing when the record carries none.
bool Stored(const ItemRecord& record) { return record.length != 0 && record.length != kNoData; }

std::string TextOf(const DataSet& set, const uint8_t* p, size_t width) {
  const char* text = reinterpret_cast<const char*>(p);
  return Quoted(AnsiToUtf8(set.language, std::string_view(text, strnlen(text, width))));
}

// The destination of the forward location: fax (type 2) or e-mail (type 1).
std::string ForwardLocationText(const DataSet& set, const uint8_t* p, size_t width) {
  if (p[0] == 2 && p[1] <= 50 && p[3] <= 20 && p[4] <= 20) {
    char number[51], sub[21], sid[21];
    UnpackDigits(number, p + 5, p[1]);
    UnpackDigits(sub, p + 30, p[3]);
    UnpackDigits(sid, p + 40, p[4]);
    return std::string("fax ") + Quoted(number) + " SUB " + Quoted(sub) + " SID " + Quoted(sid);
  }
  if (p[0] == 1) {
    return "e-mail " + TextOf(set, p + 6, width - 6) + " mode " + std::to_string(p[2]) + " size " +
           std::to_string(p[3]) + " quality " + std::to_string(p[4]) + " coding " +
           std::to_string(p[5]);
  }
  size_t used = width;
  while (used > 0 && p[used - 1] == 0) --used;
  return used == 0 ? std::string("(empty)") : Hex(p, used);
}

std::string ValueText(const DataSet& set, const SettingItem& item) {
  const uint8_t* p = set.settings.bytes + item.offset;
  switch (item.kind) {
    case SettingKind::U8:
      return std::to_string(p[0]);
    case SettingKind::U16:
      return std::to_string(GetU16(p));
    case SettingKind::U32:
      return std::to_string(GetU32(p));
    case SettingKind::Text:
    case SettingKind::ConvertedText:
      if (item.id == kForwardLocationId) return ForwardLocationText(set, p, item.width);
      return TextOf(set, p, item.width);
    case SettingKind::Bytes:
      if (item.width == 4) {
        char text[32];
        std::snprintf(text, sizeof text, "%u.%u.%u.%u", p[0], p[1], p[2], p[3]);
        return text;
      }
      if (item.id == 0x10514) return TextOf(set, p, item.width);  // prefix digits
      return Hex(p, item.width);
    case SettingKind::Counters:
      return Hex(p, item.width);
  }
  return "";
}

// The bytes (and, in a byte of flags, the bits) of an item that one named
// setting holds.
void MarkHeldBytes(const CatalogSetting& s, const SettingItem& item, std::vector<uint8_t>& mask) {
  auto mark = [&mask](size_t from, size_t count) {
    for (size_t k = from; k < from + count && k < mask.size(); ++k) mask[k] = 0xFF;
  };
  switch (s.storage) {
    case SettingStorage::Item:
    case SettingStorage::TextChars:
      mark(0, item.width);
      break;
    case SettingStorage::Octets:
      mark(s.offset, 4);
      break;
    case SettingStorage::U16AtOffset:
      mark(s.offset, 2);
      break;
    case SettingStorage::CharsAtOffset:
      mark(s.offset, static_cast<size_t>(s.limit));
      break;
    case SettingStorage::TimeAtOffset:
      mark(s.offset, 2);
      if (s.flagOffset < mask.size()) mask[s.flagOffset] |= s.flag;
      break;
  }
}

}  // namespace

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::vector<std::string> DiffEntries(const char* label, const char* numberFormat,
                                     const std::vector<EntryReport>& a,
                                     const std::vector<EntryReport>& b) {
  std::vector<std::string> lines;
  const auto mapA = ByNumber(a);
  const auto mapB = ByNumber(b);
  std::set<int> numbers;
  for (const auto& [n, e] : mapA) numbers.insert(n);
  for (const auto& [n, e] : mapB) numbers.insert(n);
  for (int n : numbers) {
    const std::string name = Label(label, numberFormat, n);
    const auto ia = mapA.find(n);
    const auto ib = mapB.find(n);
    if (ib == mapB.end()) {
      lines.push_back(name + ": removed " + EntrySummary(*ia->second));
    } else if (ia == mapA.end()) {
      lines.push_back(name + ": added " + EntrySummary(*ib->second));
    } else {
      DiffEntry(name, *ia->second, *ib->second, lines);
    }
  }
  return lines;
}

std::vector<std::string> DiffGroups(const std::vector<GroupReport>& a,
                                    const std::vector<GroupReport>& b) {
  std::vector<std::string> lines;
  const auto mapA = ByNumber(a);
  const auto mapB = ByNumber(b);
  std::set<int> numbers;
  for (const auto& [n, g] : mapA) numbers.insert(n);
  for (const auto& [n, g] : mapB) numbers.insert(n);
  for (int n : numbers) {
    const std::string name = Label("Group", "%02d", n);
    const auto ia = mapA.find(n);
    const auto ib = mapB.find(n);
    if (ib == mapB.end()) {
      lines.push_back(name + ": removed " + GroupSummary(*ia->second));
      continue;
    }
    if (ia == mapA.end()) {
      lines.push_back(name + ": added " + GroupSummary(*ib->second) + ": " +
                      MembersText(ib->second->members));
      continue;
    }
    const GroupReport& x = *ia->second;
    const GroupReport& y = *ib->second;
    if (x.name != y.name)
      lines.push_back(name + ": " + Change("name", Quoted(x.name), Quoted(y.name)));
    if (x.name2 != y.name2) {
      lines.push_back(name + ": " + Change("name2", Quoted(x.name2), Quoted(y.name2)));
    }
    if (!(x.members == y.members)) {
      lines.push_back(name + ": " +
                      Change("members", MembersText(x.members), MembersText(y.members)));
    }
    if (x.registered != y.registered) {
      lines.push_back(name + ": " +
                      Change("registered", x.registered.empty() ? "(none)" : x.registered,
                             y.registered.empty() ? "(none)" : y.registered));
    }
  }
  return lines;
}

std::vector<std::string> DiffSettings(const DataSet& a, const DataSet& b) {
  std::vector<std::string> lines;
  for (int i = 0; i < kSettingItemCount; ++i) {
    const SettingItem& item = kSettingItems[i];
    const ItemRecord& ra = a.records[kFirstSettingRecord + i];
    const ItemRecord& rb = b.records[kFirstSettingRecord + i];
    const bool storedA = Stored(ra);
    const bool storedB = Stored(rb);
    if (!storedA && !storedB) continue;
    const uint8_t* va = a.settings.bytes + item.offset;
    const uint8_t* vb = b.settings.bytes + item.offset;
    // The account counters are kept apart from the other values.
    const bool countersDiffer = item.kind == SettingKind::Counters &&
                                std::memcmp(a.settings.accountCounters, b.settings.accountCounters,
                                            sizeof a.settings.accountCounters) != 0;
    if (storedA == storedB && !countersDiffer && std::memcmp(va, vb, item.width) == 0) continue;

    // The settings of this item that get and set know by name.
    std::vector<uint8_t> held(item.width, 0);
    bool named = false;
    for (const CatalogSetting& s : SettingCatalog()) {
      if (s.item != item.id) continue;
      named = true;
      std::vector<uint8_t> mine(item.width, 0);
      MarkHeldBytes(s, item, mine);
      bool bytesDiffer = false;
      for (size_t k = 0; k < mine.size(); ++k) {
        held[k] |= mine[k];
        if ((va[k] ^ vb[k]) & mine[k]) bytesDiffer = true;
      }
      if (s.secret) {
        if (storedA != storedB || bytesDiffer) lines.push_back(std::string(s.name) + ": changed");
        continue;
      }
      const std::string x = storedA ? Quoted(SettingValueText(a, s)) : kNotStored;
      const std::string y = storedB ? Quoted(SettingValueText(b, s)) : kNotStored;
      if (x != y) {
        lines.push_back(std::string(s.name) + ": " + x + " -> " + y);
      } else if (bytesDiffer) {
        lines.push_back(std::string(s.name) + ": " + x + ", stored bytes differ");
      }
    }
    if (named) {
      // Bytes of the item that no named setting holds: shown one by one,
      // never whole (a secret may share the item).
      if (storedA != storedB) continue;
      const SettingName name = NameOfSetting(item.id);
      for (size_t k = 0; k < held.size(); ++k) {
        const uint8_t free = static_cast<uint8_t>(~held[k]);
        if (((va[k] ^ vb[k]) & free) == 0) continue;
        const uint8_t x = va[k] & free, y = vb[k] & free;
        lines.push_back(Change(std::string(name.page) + ": " + name.meaning + " byte " +
                                   std::to_string(k) + (free != 0xFF ? " (other bits)" : ""),
                               Hex(&x, 1), Hex(&y, 1)));
      }
      continue;
    }
    // No name for get and set: the page and what the value means there.
    const SettingName name = NameOfSetting(item.id);
    const std::string what = std::string(name.page) + ": " + name.meaning;
    if (name.secret) {
      lines.push_back(what + " changed");
      continue;
    }
    if (storedA && storedB && item.kind == SettingKind::Counters) {
      for (int user = 0; user < kAccountCount; ++user) {
        const uint32_t x = a.settings.accountCounters[user];
        const uint32_t y = b.settings.accountCounters[user];
        if (x != y) {
          lines.push_back(std::string(name.page) + ": account counter of user ID " +
                          std::to_string(user + 1) + " " + std::to_string(x) + " -> " +
                          std::to_string(y));
        }
      }
      continue;
    }
    const std::string x = storedA ? ValueText(a, item) : kNotStored;
    const std::string y = storedB ? ValueText(b, item) : kNotStored;
    if (x != y) {
      // 150 counter bytes say nothing to a person.
      if (item.kind == SettingKind::Counters) {
        lines.push_back(
            Change(what, storedA ? "(stored)" : kNotStored, storedB ? "(stored)" : kNotStored));
      } else {
        lines.push_back(Change(what, x, y));
      }
    } else {
      lines.push_back(what + ": stored bytes differ");
    }
  }
  return lines;
}

std::vector<std::string> DiffMachineInfo(const DataSet& a, const DataSet& b) {
  std::vector<std::string> lines;
  // Only a full data set carries a block of its own.
  const bool hasA = !a.addressBookOnly;
  const bool hasB = !b.addressBookOnly;
  if (!hasA && !hasB) return lines;
  for (int f = 0; f < kMachineInfoFieldCount; ++f) {
    const MachineInfoField& field = kMachineInfoFields[f];
    auto value = [&field](const DataSet& set, bool has) -> std::string {
      if (!has) return "(none)";
      const uint8_t* p = set.machineInfo + field.offset;
      switch (field.kind) {
        case MachineInfoField::Byte:
          return std::to_string(p[0]);
        case MachineInfoField::Word:
          return std::to_string(GetU16(p));
        case MachineInfoField::Text: {
          const char* text = reinterpret_cast<const char*>(p);
          return Quoted(
              AnsiToUtf8(set.language, std::string_view(text, strnlen(text, field.width))));
        }
        case MachineInfoField::Raw:
          return Hex(p, field.width);
      }
      return "";
    };
    const std::string x = value(a, hasA);
    const std::string y = value(b, hasB);
    if (x != y) lines.push_back(Change(std::string("Machine information: ") + field.name, x, y));
  }
  return lines;
}

std::vector<std::string> DiffDataSets(const LoadedDataSet& a, const LoadedDataSet& b) {
  std::vector<std::string> lines;
  if (a.book->kind != b.book->kind) lines.push_back(Change("Kind:", a.book->kind, b.book->kind));

  std::vector<std::string> part =
      DiffEntries("One Touch", "%02d", a.book->oneTouch, b.book->oneTouch);
  lines.insert(lines.end(), part.begin(), part.end());
  part = DiffGroups(a.book->groups, b.book->groups);
  lines.insert(lines.end(), part.begin(), part.end());
  part = DiffEntries("Speed Dial", "%03d", a.book->speedDial, b.book->speedDial);
  lines.insert(lines.end(), part.begin(), part.end());

  // Stored entries that no list shows (they break a limit) still make the
  // data sets different; say so rather than report them equal.
  for (int r = 0; r < kDialRecordCount; ++r) {
    const bool oneTouch = r < kOneTouchCount;
    const size_t size = oneTouch ? kOneTouchEntrySize : kSpeedDialEntrySize;
    auto entryBytes = [size](const ItemRecord& record) {
      std::vector<uint8_t> bytes(size, 0);
      if (Stored(record))
        std::memcpy(bytes.data(), record.data, std::min<size_t>(record.length, size));
      return bytes;
    };
    if (entryBytes(a.set->records[r]) == entryBytes(b.set->records[r])) continue;
    const std::string label = oneTouch ? Label("One Touch", "%02d", r + 1)
                                       : Label("Speed Dial", "%03d", r - kOneTouchCount + 1);
    const std::string group = oneTouch ? Label("Group", "%02d", r + 1) : std::string("-");
    const bool shown = std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.compare(0, label.size() + 1, label + ":") == 0 ||
             line.compare(0, group.size() + 1, group + ":") == 0;
    });
    if (!shown) lines.push_back(label + ": stored entry differs (not readable as an entry)");
  }

  part = DiffSettings(*a.set, *b.set);
  lines.insert(lines.end(), part.begin(), part.end());
  part = DiffMachineInfo(*a.set, *b.set);
  lines.insert(lines.end(), part.begin(), part.end());
  return lines;
}

}  // namespace tool
}  // namespace odc
