#include "setup/addressbook/entry_rows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace odc {
namespace {

RowContext Context(bool doubleByte) {
  RowContext context;
  context.doubleByte = doubleByte;
  context.text = [](int id) {
    static const std::map<int, std::string> texts = {
        {3344, "PROGRAM DIAL"}, {3469, "9.6K"},     {3470, "14.4K"},  {3471, "33.6K"},
        {3472, "Basic"},        {3473, "Advanced"}, {3447, "A3"},     {3448, "B4"},
        {3449, "A4"},           {3450, "Letter"},   {3451, "Ledger"}, {3452, "Fine"},
        {3453, "S/F"},          {3454, "MH"},       {3455, "MR"},     {3456, "MMR"}};
    auto it = texts.find(id);
    return it == texts.end() ? std::string("?") : it->second;
  };
  return context;
}

DisplayRecord Record(uint8_t kind, uint8_t type) {
  DisplayRecord r{};
  r.inUse = 1;
  r.kind = kind;
  r.entryType = type;
  std::strcpy(r.name, "Sales");
  std::strcpy(r.name2, "N2");
  return r;
}

TEST(EntryRows, ColumnsOfEachViewAndLanguage) {
  EXPECT_EQ(ListColumns(1, false).size(), 11u);
  EXPECT_EQ(ListColumns(1, true).size(), 12u);
  EXPECT_EQ(ListColumns(2, false).size(), 10u);
  EXPECT_EQ(ListColumns(3, false).size(), 2u);
  EXPECT_EQ(ListColumns(3, true).size(), 3u);
  EXPECT_EQ(ListColumns(1, false)[2].titleId, 3322) << "Address follows Name";
  EXPECT_EQ(ListColumns(1, true)[2].titleId, 3489) << "Name2 before Address";
  EXPECT_EQ(ListColumns(1, false)[5].titleId, 3325) << "Batch Time only for One Touch";
  EXPECT_EQ(ListColumns(2, false)[5].titleId, 3327);
}

TEST(EntryRows, OneTouchFaxRow) {
  DisplayRecord r = Record(kKindFax, kEntryOneTouch);
  std::strcpy(r.number, "0123");
  std::strcpy(r.sub, "9");
  std::strcpy(r.batchHour, "7");
  std::strcpy(r.batchMinute, "5");
  r.speedIndex = 1;
  const ListRow row = OneTouchRow(r, 4, Context(false));
  EXPECT_EQ(row.item, "05");
  EXPECT_EQ(row.icon, kIconOneTouchFax);
  const std::vector<std::string> cells = {"Sales", "0123", "9", "", "07:05",
                                          "14.4K", "",     "",  "", ""};
  EXPECT_EQ(row.cells, cells);
  const ListRow japanese = OneTouchRow(r, 4, Context(true));
  EXPECT_EQ(japanese.cells[0], "N2");
  EXPECT_EQ(japanese.cells[1], "Sales");
  EXPECT_EQ(japanese.cells[2], "0123");
}

TEST(EntryRows, EmailRowsAndMaxTxSizeTexts) {
  DisplayRecord r = Record(kKindEmail, kEntryOneTouch);
  std::strcpy(r.email, "a@b.c");
  r.emailOptions[0] = 1;
  r.emailOptions[1] = 9;
  r.emailOptions[2] = 2;
  r.emailOptions[3] = 2;
  RowContext context = Context(false);
  ListRow row = OneTouchRow(r, 0, context);
  EXPECT_EQ(row.icon, kIconEmail);
  EXPECT_EQ(row.cells[1], "a@b.c");
  EXPECT_EQ(row.cells[6], "Advanced");
  EXPECT_EQ(row.cells[7], "A3");
  EXPECT_EQ(row.cells[8], "S/F");
  EXPECT_EQ(row.cells[9], "MMR");
  context.inchPaper = true;
  EXPECT_EQ(OneTouchRow(r, 0, context).cells[7], "Ledger");
  context.addressBookOnly = true;
  EXPECT_EQ(OneTouchRow(r, 0, context).cells[7], "Ledger");
  r.emailOptions[1] = 12;
  EXPECT_EQ(OneTouchRow(r, 0, context).cells[7], "Letter");
  r.emailOptions[0] = 0;
  row = OneTouchRow(r, 0, context);
  EXPECT_EQ(row.cells[6], "Basic");
  EXPECT_EQ(row.cells[7], "") << "Basic mode shows no further options";
  row = SpeedDialRow(r, 99, context);
  EXPECT_EQ(row.item, "100");
  EXPECT_EQ(row.icon, kIconSpeedDialEmail);
  EXPECT_EQ(row.cells[5], "Basic");
}

TEST(EntryRows, SpecialRows) {
  DisplayRecord combination = Record(kKindFax, kEntryOneTouch);
  combination.combination = 1;
  std::strcpy(combination.number, "9+");
  std::strcpy(combination.sub, "1");
  ListRow row = OneTouchRow(combination, 6, Context(false));
  EXPECT_EQ(row.cells[0], "") << "a combination key has no name";
  EXPECT_EQ(row.cells[1], "9+");
  EXPECT_EQ(row.cells[2], "") << "nor SUB";

  DisplayRecord program{};
  program.inUse = 1;
  program.program = 1;
  program.entryType = kEntryOneTouch;
  row = OneTouchRow(program, 29, Context(true));
  EXPECT_EQ(row.cells[0], "PROGRAM DIAL");
  EXPECT_EQ(row.cells[1], "PROGRAM DIAL");
  EXPECT_EQ(row.cells[2], "");

  DisplayRecord group = Record(kKindFax, kEntryGroup);
  group.groupMarker = 1;
  std::strcpy(group.number, "11");
  row = OneTouchRow(group, 10, Context(false));
  EXPECT_EQ(row.icon, kIconOneTouchGroup);
  EXPECT_EQ(row.cells[0], "Sales");
  EXPECT_EQ(row.cells[1], "") << "a Group dial shows only its number and name";
  EXPECT_EQ(GroupRow(group, 10, Context(false)).icon, kIconGroup);
  EXPECT_EQ(GroupRow(Record(kKindFax, kEntryOneTouch), 0, Context(false)).icon, kIconGroupOneTouch);

  const ListRow empty = SpeedDialRow(DisplayRecord{}, 239, Context(false));
  EXPECT_EQ(empty.item, "240");
  EXPECT_EQ(empty.icon, kIconEmpty);
  for (const auto& cell : empty.cells) EXPECT_EQ(cell, "");
}

TEST(EntryRows, BatchTimeAndMemberLines) {
  EXPECT_EQ(BatchTimeText("14", "05"), "14:05");
  EXPECT_EQ(BatchTimeText("14", ""), "");
  EXPECT_EQ(BatchTimeText("", "05"), "");
  DisplayRecord member = Record(kKindEmail, kEntrySpeedDial);
  const MemberLine line = GroupMemberLine({kMemberSpeedDial, 149}, member, false);
  EXPECT_EQ(line.text, "150  Sales");
  EXPECT_EQ(line.icon, kIconSpeedDialEmail);
  EXPECT_EQ(GroupMemberLine({kMemberOneTouch, 2}, member, true).text, "03  N2");
}

}  // namespace
}  // namespace odc
