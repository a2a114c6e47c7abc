#include "setup/addressbook/entry_dialog_rules.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "setup/res/resource.h"

namespace odc {
namespace {

using namespace entry_ids;

// Removes the first character that `allowed` refuses.
template <typename Allowed>
FilterResult RemoveFirstRefused(std::string_view text, Allowed allowed) {
  FilterResult result;
  result.text.assign(text);
  for (size_t i = 0; i < text.size(); ++i) {
    if (!allowed(static_cast<unsigned char>(text[i]))) {
      result.text.erase(i, 1);
      result.caret = static_cast<int>(i);
      result.accepted = false;
      return result;
    }
  }
  result.caret = static_cast<int>(text.size());
  return result;
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Latin letters the machine's single-byte set can show besides ASCII.
constexpr unsigned char kMachineLatin1[] = {
    0xA3, 0xB0, 0xBF, 0xC4, 0xC5, 0xC6, 0xC7, 0xC9, 0xD1, 0xD6, 0xD8, 0xDC, 0xDF, 0xE0, 0xE4,
    0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEC, 0xED, 0xEE, 0xF1, 0xF2, 0xF6, 0xF8, 0xF9, 0xFA, 0xFC};

bool IsMachineLatin1(unsigned char c) {
  return std::find(std::begin(kMachineLatin1), std::end(kMachineLatin1), c) !=
         std::end(kMachineLatin1);
}

const std::vector<int> kFaxSide = {kFieldsFrame, kNameLabel,   kName2Edit,  kName2Label,
                                   kNameEdit,    kNumberLabel, kSubLabel,   kSubEdit,
                                   kSidLabel,    kSidEdit,     kBatchLabel, kHourEdit,
                                   kMinuteEdit,  kSpeed9600,   kSpeed14400, kSpeed33600};

void Add(EntryControls& c, std::initializer_list<int> ids, ControlStep step) {
  for (int id : ids) c.actions.push_back({id, step});
}
void Add(EntryControls& c, const std::vector<int>& ids, ControlStep step) {
  for (int id : ids) c.actions.push_back({id, step});
}
std::vector<int> Range(int first, int last) {
  std::vector<int> ids;
  for (int id = first; id <= last; ++id) ids.push_back(id);
  return ids;
}

// Copies at most `room` bytes of `text` to `out`, NUL-terminated when it
// is shorter; returns the bytes of text written.
size_t PutText(uint8_t* out, size_t room, const char* text) {
  const size_t n = std::min(std::strlen(text), room);
  std::memcpy(out, text, n);
  if (n < room) out[n] = 0;
  return n;
}

}  // namespace

FilterResult FilterDigits(std::string_view text) { return RemoveFirstRefused(text, IsDigit); }

FilterResult FilterDialText(std::string_view text, DialField field) {
  return RemoveFirstRefused(text, [field](unsigned char c) {
    if (IsDigit(c) || c == '*' || c == '#') return true;
    return field == DialField::Number && (c == 'P' || c == ' ' || c == '-');
  });
}

FilterResult FilterMailText(std::string_view text) {
  return RemoveFirstRefused(text, [](unsigned char c) {
    if (c < 32 || c > 126) return false;
    return std::strchr(",:;<>\"\\", c) == nullptr;
  });
}

FilterResult FilterNameText(std::string_view text, Language language, uint32_t machineVariant) {
  const std::u16string wide = AnsiToUtf16(AnsiCodePage(language), text);
  const bool japanese = language == Language::Japanese;
  const bool chinese =
      language == Language::TraditionalChinese || language == Language::SimplifiedChinese;
  FilterResult result;
  result.text.assign(text);
  for (size_t i = 0; i < text.size(); ++i) {
    // Character i of the wide text is tested with byte i: the first
    // two-byte character ends the text at its own place either way.
    const char16_t w = i < wide.size() ? wide[i] : 0;
    bool end = w >= 256 && !(japanese && w >= 0xFF66 && w <= 0xFF9F);
    bool refused = false;
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (!end) {
      if (japanese) {
        refused = (c < 32 || c > 126 || c == '\\') && !(c >= 161 && c <= 223);
        if (refused && (c == 0x81 || c == 0x83)) end = true;
      } else if (machineVariant == 1 || machineVariant == 3 || chinese) {
        refused = c < 32 || c > 126 || c == '\\';
      } else {
        refused = (c < 32 || c > 126 || c == '\\') && !IsMachineLatin1(c);
      }
    }
    if (end) {
      result.text.resize(i);
      result.caret = static_cast<int>(i);
      result.accepted = false;
      return result;
    }
    if (refused) {
      result.text.erase(i, 1);
      result.caret = static_cast<int>(i);
      result.accepted = false;
      return result;
    }
  }
  result.caret = static_cast<int>(text.size());
  return result;
}

bool IsMailAddress(std::string_view text) {
  return std::count(text.begin(), text.end(), '@') == 1 && text.find('.') != std::string_view::npos;
}

namespace {
// The text read as a decimal number; empty reads 0.
long DecimalValue(std::string_view text) {
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > 100000) break;
  }
  return value;
}
}  // namespace

CheckFailure CheckBatchTime(std::string_view hour, std::string_view minute) {
  if (!hour.empty() && minute.empty()) return {IDS_MINUTE_RANGE, kMinuteEdit, 0, 59};
  if (hour.empty() && !minute.empty()) return {IDS_HOUR_RANGE, kHourEdit, 0, 23};
  if (DecimalValue(hour) > 23) return {IDS_HOUR_RANGE, kHourEdit, 0, 23};
  if (DecimalValue(minute) > 59) return {IDS_MINUTE_RANGE, kMinuteEdit, 0, 59};
  return {};
}

CheckFailure CheckDestination(uint8_t kind, std::string_view address, std::string_view number) {
  if (kind == kKindEmail && address.empty()) return {IDS_EMAIL_ADDRESS_REQUIRED, kAddressEdit};
  if (kind == kKindFax && number.empty()) return {IDS_PHONE_NUMBER_REQUIRED, kNumberEdit};
  if (kind == kKindEmail && !IsMailAddress(address)) {
    return {IDS_EMAIL_ADDRESS_INVALID, kAddressEdit};
  }
  return {};
}

SizeList MaxTxSizeList(bool inchPaper, bool addressBookOnly) {
  if (addressBookOnly) {
    return {{IDS_SIZE_A3, IDS_SIZE_B4, IDS_SIZE_A4, IDS_SIZE_LETTER, IDS_SIZE_LEDGER},
            {0, 1, 2, 12, 9}};
  }
  if (inchPaper) return {{IDS_SIZE_LETTER, IDS_SIZE_LEDGER}, {12, 9}};
  return {{IDS_SIZE_A3, IDS_SIZE_B4, IDS_SIZE_A4}, {0, 1, 2}};
}

int MaxTxSizeIndex(uint8_t code, bool inchPaper, bool addressBookOnly) {
  if (addressBookOnly) {
    switch (code) {
      case 0:
        return 0;
      case 1:
        return 1;
      case 2:
        return 2;
      case 12:
        return 3;
      case 9:
        return 4;
    }
    return -1;
  }
  if (inchPaper) {
    if (code == 0 || code == 1 || code == 9) return 1;
    if (code == 2 || code == 12) return 0;
    return -1;
  }
  if (code == 0 || code == 9) return 0;
  if (code == 1) return 1;
  if (code == 2 || code == 12) return 2;
  return -1;
}

uint8_t DefaultMaxTxSize(bool inchPaper, bool addressBookOnly) {
  return inchPaper && !addressBookOnly ? 1 : 0;
}

bool IsCombinationNumber(std::string_view number) {
  return !number.empty() && number.back() == '+';
}

std::string EntryDialogTitle(int view, int index, const std::string& prefix, bool combination,
                             const std::string& suffix) {
  char text[160];
  std::snprintf(text, sizeof text, view == 1 ? "%s%02d" : "%s%03d", prefix.c_str(), index + 1);
  std::string title = text;
  if (combination) title += suffix;
  return title;
}

std::string GroupDialogTitle(int index, const std::string& prefix) {
  char text[160];
  std::snprintf(text, sizeof text, "%s%03d", prefix.c_str(), index + 1);
  return text;
}

uint16_t RegistrationDateOf(int year, int month, int day) {
  return EncodeRegistrationDate(year, month, day);
}

EntryControls RefreshEntryControls(uint8_t kind, bool combination, uint8_t emailMode, int view,
                                   bool nicKit) {
  EntryControls c;
  const std::vector<int> emailOptions = Range(kSizeLabel, kCodingList);
  if (kind == kKindEmail) {
    Add(c, kFaxSide, ControlStep::Disable);
    if (nicKit) {
      Add(c,
          {kFieldsFrame, kNameLabel, kName2Edit, kName2Label, kNameEdit, kNumberLabel, kAddressEdit,
           kModeFrame, kBasic, kAdvanced},
          ControlStep::Enable);
    }
    Add(c,
        {kHourEdit, kMinuteEdit, kBatchLabel, kTimeSeparator, kSubLabel, kSubEdit, kSidLabel,
         kSidEdit, kSpeed9600, kSpeed14400, kSpeed33600, kSpeedLabel},
        ControlStep::Hide);
    c.numberLabelId = IDS_LABEL_ADDRESS;
    Add(c, {kNumberEdit}, ControlStep::Disable);
    Add(c, {kNumberEdit}, ControlStep::Hide);
    Add(c, {kAddressEdit, kModeFrame, kBasic, kAdvanced}, ControlStep::Show);
    if (emailMode == 1) {
      if (nicKit) Add(c, emailOptions, ControlStep::Enable);
      Add(c, emailOptions, ControlStep::Show);
    } else {
      Add(c, emailOptions, ControlStep::Disable);
      Add(c, emailOptions, ControlStep::Hide);
    }
    return c;
  }
  const std::vector<int> emailSide = Range(kModeFrame, kCodingList);
  c.numberLabelId = IDS_LABEL_PHONE_NUMBER;
  if (combination) {
    Add(c, kFaxSide, ControlStep::Disable);
    Add(c, {kNumberEdit}, ControlStep::Enable);
    Add(c, {kNumberEdit}, ControlStep::Show);
    Add(c, {kAddressEdit}, ControlStep::Disable);
    Add(c, {kAddressEdit}, ControlStep::Hide);
    Add(c, emailSide, ControlStep::Disable);
    Add(c, emailSide, ControlStep::Hide);
  } else {
    Add(c, kFaxSide, ControlStep::Enable);
    Add(c, Range(kBatchLabel, kSpeed33600), ControlStep::Show);
    Add(c, Range(kSubLabel, kSidEdit), ControlStep::Show);
    Add(c, emailSide, ControlStep::Disable);
    Add(c, emailSide, ControlStep::Hide);
    Add(c, {kNumberEdit}, ControlStep::Enable);
    Add(c, {kNumberEdit}, ControlStep::Show);
    Add(c, {kAddressEdit}, ControlStep::Disable);
    Add(c, {kAddressEdit}, ControlStep::Hide);
  }
  if (view == 2) {
    // Speed Dial entries have no batch time.
    Add(c, Range(kBatchLabel, kMinuteEdit), ControlStep::Disable);
    Add(c, Range(kBatchLabel, kMinuteEdit), ControlStep::Hide);
  }
  return c;
}

std::vector<int> ControlsWithoutNicKit() {
  std::vector<int> ids = {kEmail,      kFieldsFrame, kNameLabel,   kName2Edit,
                          kName2Label, kNameEdit,    kNumberLabel, kAddressEdit,
                          kModeFrame,  kBasic,       kAdvanced};
  for (int id = kSizeLabel; id <= kCodingList; ++id) ids.push_back(id);
  return ids;
}

std::vector<ControlPosition> SingleByteEntryLayout() {
  return {{kName2Label, 30, 95},   {kNameEdit, 30, 115},   {kNumberLabel, 30, 150},
          {kAddressEdit, 30, 170}, {kNumberEdit, 30, 170}, {kSubLabel, 30, 205},
          {kSubEdit, 30, 225},     {kSidLabel, 30, 260},   {kSidEdit, 30, 280}};
}

std::vector<Label> EntryDialogLabels(bool singleByte) {
  return {{kRegisterFrame, IDS_LABEL_REGISTER},
          {kFax, IDS_LABEL_FAX},
          {kEmail, IDS_LABEL_EMAIL},
          {kNameLabel, IDS_LABEL_NAME},
          {kName2Label, singleByte ? IDS_LABEL_NAME : IDS_COLUMN_NAME2},
          {kSubLabel, IDS_LABEL_SUB},
          {kSidLabel, IDS_LABEL_SID},
          {kBatchLabel, IDS_LABEL_BATCH_TIME},
          {kTimeSeparator, IDS_LABEL_TIME_SEPARATOR},
          {kSpeedLabel, IDS_LABEL_SPEED},
          {kSpeed9600, IDS_LABEL_SPEED_9600},
          {kSpeed14400, IDS_LABEL_SPEED_14400},
          {kSpeed33600, IDS_LABEL_SPEED_33600},
          {kModeFrame, IDS_EMAIL_MODE},
          {kBasic, IDS_LABEL_BASIC},
          {kAdvanced, IDS_LABEL_ADVANCED},
          {kSizeLabel, IDS_LABEL_MAX_TX_SIZE},
          {kQualityLabel, IDS_LABEL_MAX_QUALITY},
          {kCodingLabel, IDS_LABEL_CODING},
          {1, IDS_OK},
          {2, IDS_CANCEL}};
}

std::vector<Label> GroupDialogLabels(bool singleByte) {
  return {{IDC_GROUP_ONE_TOUCH_FRAME, IDS_LABEL_ONE_TOUCH_GROUP_LIST},
          {IDC_GROUP_ADD_ONE_TOUCH, IDS_LABEL_ADD_ONE_TOUCH},
          {IDC_GROUP_MEMBERS_FRAME, IDS_LABEL_GROUP_LOCATION_LIST},
          {IDC_GROUP_DELETE_SELECTED, IDS_LABEL_DELETE_SELECTED},
          {IDC_GROUP_ADD_SPEED_DIAL, IDS_LABEL_ADD_SPEED_DIAL},
          {IDC_GROUP_SPEED_DIAL_FRAME, IDS_LABEL_SPEED_DIAL_GROUP_LIST},
          {IDC_GROUP_NAME_LABEL, IDS_LABEL_GROUP_NAME},
          {IDC_GROUP_NAME2_LABEL, singleByte ? IDS_LABEL_GROUP_NAME : IDS_LABEL_GROUP_NAME2},
          {1, IDS_OK},
          {2, IDS_CANCEL}};
}

bool RefreshForwardDestination(uint8_t* forward, int view, int number,
                               const DisplayRecord& record) {
  const uint8_t type = forward[0];
  const bool oneTouchPair = type == 9 || type == 10;
  const bool speedDialPair = type == 5 || type == 6;
  // A One Touch key and a Speed Dial of the same number are different
  // destinations: only the pair of the edited kind follows the edit.
  const bool ofView = view == 1 ? oneTouchPair : view == 2 ? speedDialPair : false;
  if (!ofView || forward[1] != number) return false;
  // The pair stays; the kind of the entry picks e-mail (lower) or fax.
  const uint8_t low = oneTouchPair ? 9 : 5;
  std::memset(forward, 0, kForwardRecordSize);
  forward[1] = static_cast<uint8_t>(number);
  if (record.kind == kKindEmail) {
    forward[0] = low;
    std::memcpy(forward + 2, record.emailOptions, 4);
    // The address runs from 6 up to the length byte at 70.
    forward[70] = static_cast<uint8_t>(PutText(forward + 6, 64, record.email));
  } else {
    forward[0] = static_cast<uint8_t>(low + 1);
    forward[2] = record.speedIndex;
    // Number from 5 up to the SUB at 30; SUB text 30-50; the SID text
    // after it, 51-69, so that neither overwrites the other.
    forward[70] = static_cast<uint8_t>(PutText(forward + 5, 25, record.number));
    forward[3] = static_cast<uint8_t>(PutText(forward + 30, 21, record.sub));
    forward[4] = static_cast<uint8_t>(PutText(forward + 51, 19, record.sid));
  }
  return true;
}

bool GroupEditor::HasOneTouch(int key) const {
  return std::any_of(oneTouch.begin(), oneTouch.end(),
                     [key](const GroupMemberRow& m) { return m.index == key; });
}

bool GroupEditor::HasSpeedDial(int index) const {
  return std::any_of(speedDial.begin(), speedDial.end(),
                     [index](const GroupMemberRow& m) { return m.index == index; });
}

GroupEditor::Moved GroupEditor::AddOneTouch(DataSet& set, int key) {
  Moved moved;
  if (Count() >= kMaxGroupMembers || HasOneTouch(key)) return moved;
  DisplayRecord record;
  UnpackOneTouch(record, set, key);
  const bool group = record.groupMarker != 0 && record.entryType == kEntryGroup;
  moved.moved = true;
  moved.oneTouchRows.push_back(key);
  if (!group) {
    oneTouch.push_back({kMemberOneTouch, static_cast<uint8_t>(key), record.groupMarker});
    return moved;
  }
  // A Group dial is not a member: its members join instead.
  DisplayRecord groupRecord;
  UnpackGroup(groupRecord, set, key);
  for (int j = 0; j < groupRecord.memberCount && j < kMaxGroupMembers; ++j) {
    const GroupMember& m = groupRecord.members[j];
    const bool isOneTouch = (m.kind & kMemberOneTouch) != 0;
    const bool present = isOneTouch ? HasOneTouch(m.index) : HasSpeedDial(m.index);
    if (!present) {
      DisplayRecord member;
      if (isOneTouch) {
        UnpackOneTouch(member, set, m.index);
        oneTouch.push_back({kMemberOneTouch, m.index, member.groupMarker});
      } else {
        UnpackSpeedDial(member, set, m.index);
        speedDial.push_back({kMemberSpeedDial, m.index, member.groupMarker});
      }
      if (Count() >= kMaxGroupMembers) break;
    }
    (isOneTouch ? moved.oneTouchRows : moved.speedDialRows).push_back(m.index);
  }
  return moved;
}

std::vector<int> GroupEditor::AddSpeedDials(const std::vector<int>& selected) {
  std::vector<int> joined;
  if (Count() >= kMaxGroupMembers) return joined;
  for (int index : selected) {
    if (HasSpeedDial(index)) continue;
    speedDial.push_back({kMemberSpeedDial, static_cast<uint8_t>(index), 0});
    joined.push_back(index);
    if (Count() >= kMaxGroupMembers) break;
  }
  return joined;
}

std::vector<GroupMemberRow> GroupEditor::RemoveRows(const std::vector<int>& rows) {
  std::vector<GroupMemberRow> all = oneTouch;
  all.insert(all.end(), speedDial.begin(), speedDial.end());
  std::vector<GroupMemberRow> removed;
  std::vector<GroupMemberRow> keptOneTouch, keptSpeedDial;
  for (size_t r = 0; r < all.size(); ++r) {
    const bool selected = std::find(rows.begin(), rows.end(), static_cast<int>(r)) != rows.end();
    if (selected) {
      removed.push_back(all[r]);
    } else {
      (r < oneTouch.size() ? keptOneTouch : keptSpeedDial).push_back(all[r]);
    }
  }
  oneTouch = keptOneTouch;
  speedDial = keptSpeedDial;
  return removed;
}

std::vector<int> OneTouchCandidates(DataSet& set, int groupKey, const GroupEditor& editor) {
  std::vector<int> keys;
  DisplayRecord record;
  for (int k = 0; k < kOneTouchCount; ++k) {
    UnpackOneTouch(record, set, k);
    if (record.inUse == 0 || record.program != 0 || record.combination != 0 ||
        editor.HasOneTouch(k) || k == groupKey) {
      continue;
    }
    keys.push_back(k);
  }
  return keys;
}

std::vector<int> SpeedDialCandidates(DataSet& set, const GroupEditor& editor) {
  std::vector<int> indexes;
  DisplayRecord record;
  for (int s = 0; s < kSpeedDialCount; ++s) {
    UnpackSpeedDial(record, set, s);
    if (record.inUse == 0 || record.combination != 0 || editor.HasSpeedDial(s)) continue;
    indexes.push_back(s);
  }
  return indexes;
}

ListRow GroupDialogRow(const DisplayRecord& record, int index, GroupRowRole role,
                       const RowContext& context) {
  ListRow row;
  char number[16];
  std::snprintf(number, sizeof number, "%03d", index + 1);
  row.item = number;
  const bool email = record.kind == kKindEmail;
  switch (role) {
    case GroupRowRole::OneTouchCandidate:
      row.icon = record.groupMarker != 0 && record.entryType == kEntryGroup ? kIconOneTouchGroup
                 : email                                                    ? kIconEmail
                                                                            : kIconOneTouchFax;
      break;
    case GroupRowRole::SpeedDialCandidate:
      row.icon = email ? kIconSpeedDialEmail : kIconSpeedDialFax;
      break;
    case GroupRowRole::Member:
      if (record.entryType == kEntryOneTouch) {
        row.icon = email ? kIconEmail : kIconOneTouchFax;
      } else {
        row.icon = email ? kIconSpeedDialEmail : kIconSpeedDialFax;
      }
      break;
  }
  if (record.program != 0) {
    const std::string program = context.text(IDS_PROGRAM_DIAL);
    row.cells.push_back(program);
    if (context.doubleByte) row.cells.push_back(program);
  } else if (context.doubleByte) {
    row.cells = {record.name2, record.name};
  } else {
    row.cells = {record.name};
  }
  return row;
}

std::vector<int> RemoveFromGroupDials(DataSet& set, const DisplayRecord& removed) {
  std::vector<int> emptied;
  if (removed.memberCount != 0) return emptied;  // a group is never a member
  uint8_t kind = 0;
  if (removed.entryType == kEntryOneTouch) kind = kMemberOneTouch;
  if (removed.entryType == kEntrySpeedDial) kind = kMemberSpeedDial;
  if (kind == 0) return emptied;
  for (int k = 0; k < kOneTouchCount; ++k) {
    if (RemoveGroupMember(set, k, kind, removed.index) && set.OneTouchEntry(k)[0] == 0) {
      emptied.push_back(k);
    }
  }
  return emptied;
}

EntryMenuState ComputeEntryMenu(const EntryMenuInputs& in) {
  EntryMenuState m;
  const uint8_t f = in.flags;
  const bool program = (f & kFlagProgram) != 0;
  if (program) m.property = false;
  const int slot = in.view >= 1 && in.view <= 3 ? in.clipboardSlots[in.view - 1] : -1;
  if (in.view == 1 || in.view == 2) {
    if (in.addressEmpty) {
      m.cut = m.copy = m.remove = false;
      const bool groupKey = (f & kFlagGroup) && !(f & kFlagOneTouchEntry);
      m.paste = slot != -1 && !(in.view == 1 && groupKey);
    }
  } else if (in.view == 3 && !in.holdsGroup) {
    m.cut = m.copy = m.remove = false;
    const bool individualKey = (f & kFlagOneTouchEntry) && !(f & kFlagGroup);
    m.paste = slot != -1 && !individualKey;
  }
  if (slot == -1 || program) m.paste = false;
  return m;
}

uint8_t EntryFlagsOf(const DataSet& set, int view, int index) {
  if (view == 2) return index >= 0 && index < kSpeedDialCount ? set.SpeedDialEntry(index)[2] : 0;
  if (view == 1 || view == 3) {
    return index >= 0 && index < kOneTouchCount ? set.OneTouchEntry(index)[2] : 0;
  }
  return 0;
}

bool PasteAllowed(int view, int index, uint8_t targetFlags, const uint8_t programKeyStates[4],
                  const DisplayRecord& target) {
  // Nothing is ever pasted over a program dial.
  if (targetFlags & kFlagProgram) return false;
  const bool programKey = index >= 28 && index < 32 && programKeyStates[index - 28] == 1;
  if (view == 1) {
    if ((targetFlags & kFlagGroup) && !(targetFlags & kFlagOneTouchEntry)) return false;
    return !programKey;
  }
  if (view == 3) {
    if (target.entryType != 0 && target.groupMarker == 0) return false;
    return !programKey;
  }
  return view == 2;
}

int CheckGroup(std::string_view name, int memberCount, bool singleByte) {
  if (name.empty()) return singleByte ? IDS_GROUP_NAME_REQUIRED : IDS_GROUP_NAME2_REQUIRED;
  if (memberCount < 1) return IDS_DATA_LIST_EMPTY;
  return 0;
}

}  // namespace odc
