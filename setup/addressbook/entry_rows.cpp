#include "setup/addressbook/entry_rows.h"

#include <cstdio>
#include <cstdlib>

namespace odc {
namespace {

constexpr int kNo = 3323, kName = 3321, kName2 = 3489, kAddress = 3322, kSub = 3324, kSid = 3326,
              kBatchTime = 3325, kSpeed = 3327, kEmailMode = 3023, kMaxTxSize = 3444,
              kMaxQuality = 3445, kCoding = 3446;
constexpr int kProgramDial = 3344;
constexpr int kSpeedTextBase = 3469;
constexpr int kEmailModeTextBase = 3472;
constexpr int kQualityTextBase = 3451;
constexpr int kCodingTextBase = 3454;
constexpr int kA3 = 3447, kB4 = 3448, kA4 = 3449, kLetter = 3450, kLedger = 3451;

std::string Number(const char* format, int value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Row with every cell empty, sized for the view's columns.
ListRow EmptyRow(int view, const char* format, int index, const RowContext& context) {
  ListRow row;
  row.item = Number(format, index + 1);
  row.cells.assign(ListColumns(view, context.doubleByte).size() - 1, std::string());
  return row;
}

// Cell of column `column` (1-based like the list's columns).
std::string& Cell(ListRow& row, int column) { return row.cells[column - 1]; }

void SetNames(ListRow& row, const DisplayRecord& record, const RowContext& context) {
  if (context.doubleByte) {
    Cell(row, 1) = record.name2;
    Cell(row, 2) = record.name;
  } else {
    Cell(row, 1) = record.name;
  }
}

void SetProgram(ListRow& row, const RowContext& context) {
  Cell(row, 1) = context.text(kProgramDial);
  if (context.doubleByte) Cell(row, 2) = context.text(kProgramDial);
}

std::string SpeedText(const DisplayRecord& record, const RowContext& context) {
  return record.speedIndex <= 2 ? context.text(kSpeedTextBase + record.speedIndex) : std::string();
}

// The e-mail columns from `first` on: mode, then (Advanced only) size,
// quality and coding.
void SetEmailColumns(ListRow& row, int first, const DisplayRecord& record,
                     const RowContext& context) {
  const uint8_t mode = record.emailOptions[0];
  if (mode > 1) return;
  Cell(row, first) = context.text(kEmailModeTextBase + mode);
  if (mode == 0) return;
  const int size =
      MaxTxSizeTextId(record.emailOptions[1], context.addressBookOnly, context.inchPaper);
  if (size != 0) Cell(row, first + 1) = context.text(size);
  const uint8_t quality = record.emailOptions[2];
  if (quality == 1 || quality == 2) Cell(row, first + 2) = context.text(kQualityTextBase + quality);
  const uint8_t coding = record.emailOptions[3];
  if (coding <= 2) Cell(row, first + 3) = context.text(kCodingTextBase + coding);
}

}  // namespace

std::vector<ListColumn> ListColumns(int view, bool doubleByte) {
  std::vector<ListColumn> columns = {{kNo, 50}, {kName, 100}};
  if (doubleByte) columns.push_back({kName2, 100});
  if (view == 1) {
    columns.insert(columns.end(), {{kAddress, 140},
                                   {kSub, 100},
                                   {kSid, 80},
                                   {kBatchTime, 80},
                                   {kSpeed, 80},
                                   {kEmailMode, 80},
                                   {kMaxTxSize, 80},
                                   {kMaxQuality, 100},
                                   {kCoding, 80}});
  } else if (view == 2) {
    columns.insert(columns.end(), {{kAddress, 140},
                                   {kSub, 100},
                                   {kSid, 80},
                                   {kSpeed, 80},
                                   {kEmailMode, 80},
                                   {kMaxTxSize, 80},
                                   {kMaxQuality, 80},
                                   {kCoding, 80}});
  }
  return columns;
}

std::string BatchTimeText(const char* hour, const char* minute) {
  if (hour[0] == 0 || minute[0] == 0) return std::string();
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", std::atoi(hour) % 100, std::atoi(minute) % 100);
  return text;
}

int MaxTxSizeTextId(int code, bool addressBookOnly, bool inchPaper) {
  struct Row {
    int code, addressBook, inch, other;
  };
  static const Row kRows[] = {{0, kA3, kLedger, kA3},
                              {1, kB4, kLedger, kB4},
                              {2, kA4, kLetter, kA4},
                              {9, kLedger, kLedger, kA3},
                              {12, kLetter, kLetter, kA4}};
  for (const Row& r : kRows) {
    if (r.code == code) return addressBookOnly ? r.addressBook : inchPaper ? r.inch : r.other;
  }
  return 0;
}

ListRow OneTouchRow(const DisplayRecord& record, int index, const RowContext& context) {
  ListRow row = EmptyRow(1, "%02d", index, context);
  if (record.inUse == 0) return row;
  const int f = context.doubleByte ? 0 : 1;
  const bool group = record.groupMarker != 0 && record.entryType == kEntryGroup;
  row.icon = group ? kIconOneTouchGroup : record.kind == kKindEmail ? kIconEmail : kIconOneTouchFax;
  if (record.program) {
    SetProgram(row, context);
    return row;
  }
  SetNames(row, record, context);
  if (group) return row;
  if (record.kind == kKindFax && record.combination == 0) {
    Cell(row, 3 - f) = record.number;
    Cell(row, 4 - f) = record.sub;
    Cell(row, 5 - f) = record.sid;
    Cell(row, 6 - f) = BatchTimeText(record.batchHour, record.batchMinute);
    Cell(row, 7 - f) = SpeedText(record, context);
    return row;
  }
  if (record.combination) Cell(row, 1) = std::string();
  if (record.kind == kKindFax) {
    Cell(row, 3 - f) = record.number;
    return row;
  }
  Cell(row, 3 - f) = record.email;
  Cell(row, 6 - f) = BatchTimeText(record.batchHour, record.batchMinute);
  SetEmailColumns(row, 8 - f, record, context);
  return row;
}

ListRow SpeedDialRow(const DisplayRecord& record, int index, const RowContext& context) {
  ListRow row = EmptyRow(2, "%03d", index, context);
  if (record.inUse == 0) return row;
  const int f = context.doubleByte ? 0 : 1;
  row.icon = record.kind == kKindEmail ? kIconSpeedDialEmail : kIconSpeedDialFax;
  if (record.program) {
    SetProgram(row, context);
  } else {
    SetNames(row, record, context);
  }
  if (record.kind == kKindFax && record.combination == 0) {
    Cell(row, 3 - f) = record.number;
    Cell(row, 4 - f) = record.sub;
    Cell(row, 5 - f) = record.sid;
    Cell(row, 6 - f) = SpeedText(record, context);
    return row;
  }
  if (record.combination) Cell(row, 1) = std::string();
  if (record.kind == kKindFax) {
    Cell(row, 3 - f) = record.number;
    return row;
  }
  Cell(row, 3 - f) = record.email;
  SetEmailColumns(row, 7 - f, record, context);
  return row;
}

ListRow GroupRow(const DisplayRecord& record, int index, const RowContext& context) {
  ListRow row = EmptyRow(3, "%02d", index, context);
  if (record.inUse == 0) return row;
  row.icon = record.kind == kKindEmail            ? kIconEmail
             : record.entryType == kEntryOneTouch ? kIconGroupOneTouch
                                                  : kIconGroup;
  if (record.program) {
    SetProgram(row, context);
  } else {
    SetNames(row, record, context);
  }
  return row;
}

void LoadDisplayRecord(const RecordSource& source, int view, int index, DisplayRecord& record) {
  const int origin = source.dataOrigin;
  const bool foreign = (origin == 1 || origin == 2) && source.imports != nullptr &&
                       !source.pasteMarker &&
                       !source.importConverted[static_cast<size_t>(origin - 1)];
  DataSet& set = *source.set;
  if (view == 1) {
    if (foreign) {
      (origin == 1 ? ConvertType1OneTouch : ConvertType2OneTouch)(record, *source.imports, set,
                                                                  index);
    } else {
      UnpackOneTouch(record, set, index);
    }
  } else if (view == 2) {
    if (foreign) {
      (origin == 1 ? ConvertType1SpeedDial : ConvertType2SpeedDial)(record, *source.imports, set,
                                                                    index);
    } else {
      UnpackSpeedDial(record, set, index);
    }
  } else {
    if (foreign) {
      (origin == 1 ? ConvertType1Group : ConvertType2Group)(record, *source.imports, set, index);
    } else {
      UnpackGroup(record, set, index);
    }
  }
}

MemberLine GroupMemberLine(const GroupMember& member, const DisplayRecord& memberRecord,
                           bool doubleByte) {
  const bool oneTouch = member.kind & kMemberOneTouch;
  const bool email = memberRecord.kind == kKindEmail;
  MemberLine line;
  line.icon = oneTouch ? (email ? kIconEmail : kIconOneTouchFax)
                       : (email ? kIconSpeedDialEmail : kIconSpeedDialFax);
  char text[128];
  std::snprintf(text, sizeof text, "%02d  %s", member.index + 1,
                doubleByte ? memberRecord.name2 : memberRecord.name);
  line.text = text;
  return line;
}

}  // namespace odc
