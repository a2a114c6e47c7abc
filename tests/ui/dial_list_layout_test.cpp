#include "setup/print/dial_list_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numeric>

#include "setup/link/demo_machine.h"
#include "setup/res/resource.h"
#include "setup/settings/english_strings.h"

namespace odc {
namespace {

// Ten units per byte in every font: widths are easy to reckon.
int FixedWidth(PrintFont, const std::string& text) { return 10 * static_cast<int>(text.size()); }

RowContext Context(bool doubleByte) {
  RowContext context;
  context.doubleByte = doubleByte;
  context.text = [](int id) { return EnglishString(id); };
  return context;
}

RecordLoader Loader(DataSet& set) {
  RecordSource source;
  source.set = &set;
  return [source](int view, int index, DisplayRecord& record) {
    LoadDisplayRecord(source, view, index, record);
  };
}

// A data set with every Speed Dial in use: "Dial 001" ... "Dial 240".
std::unique_ptr<DataSet> FullSpeedDials() {
  auto set = std::make_unique<DataSet>();
  BuildDemoMachine(*set);
  for (int i = 0; i < kSpeedDialCount; ++i) {
    DisplayRecord r{};
    r.inUse = 1;
    r.kind = kKindFax;
    r.entryType = kEntrySpeedDial;
    std::snprintf(r.name, sizeof r.name, "Dial %03d", i + 1);
    std::snprintf(r.number, sizeof r.number, "0300%06d", i + 1);
    PackSpeedDial(*set, r, i);
  }
  return set;
}

// Metrics whose rows per page come out as `rows` before the cap of 51.
PageMetrics MetricsFor(int rows) {
  PageMetrics m;
  m.dpiX = m.dpiY = 300;
  m.pageWidth = 2400;
  m.lineHeight = 50;
  m.titleLineHeight = 80;
  m.tableTextHeight = 30;
  m.pageHeight = m.dpiY + m.titleLineHeight + (2 + rows) * m.lineHeight;
  return m;
}

std::vector<std::string> Texts(const std::vector<PageMark>& marks) {
  std::vector<std::string> texts;
  for (const PageMark& mark : marks) {
    if (mark.kind == PageMark::Text) texts.push_back(mark.text);
  }
  return texts;
}

bool Has(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(DialListLayout, RowsPerPageFromThePageAndItsLimits) {
  struct Case {
    PageMetrics metrics;
    int rows;
  } cases[] = {
      {MetricsFor(40), 40}, {MetricsFor(51), 51}, {MetricsFor(80), 51},  // at most 51
      {MetricsFor(0), 2},  // a page too small still carries one row
      {PageMetrics{}, 2},  // no font measures at all
  };
  for (const Case& c : cases) EXPECT_EQ(RowsPerPage(c.metrics), c.rows);
  // A4 at 300 dpi with Arial's measures: 3358 units high, lines of 58 and 95.
  PageMetrics a4 = MetricsFor(0);
  a4.pageHeight = 3358;
  a4.lineHeight = 58;
  a4.titleLineHeight = 95;
  EXPECT_EQ(RowsPerPage(a4), (3358 - 300 - 95 - 116) / 58);
}

TEST(DialListLayout, PagingOfOneTouchAndSpeedDialRows) {
  EXPECT_EQ(PageCount(32, 51), 1);
  EXPECT_EQ(PageCount(240, 51), 5);
  EXPECT_EQ(PageCount(240, 49), 5);  // ceil(240 / 48)
  EXPECT_EQ(PageCount(240, 41), 6);
  EXPECT_EQ(PageCount(0, 51), 1);
  EXPECT_EQ(PageCount(5, 2), 5);
  const int firsts[] = {0, 50, 100, 150, 200};
  int total = 0;
  for (int p = 0; p < 5; ++p) {
    const PageRows rows = RowsOfPage(240, 51, p);
    EXPECT_EQ(rows.first, firsts[p]);
    EXPECT_EQ(rows.count, p < 4 ? 50 : 40);
    total += rows.count;
  }
  EXPECT_EQ(total, 240);
  EXPECT_EQ(RowsOfPage(240, 51, 5).count, 0);
}

TEST(DialListLayout, ThirdOfFiveSpeedDialPages) {
  auto set = FullSpeedDials();
  const RowContext context = Context(false);
  ListLayout layout(SpeedDialTable(Loader(*set), context), MetricsFor(51), FixedWidth, context,
                    Language::SingleByte);
  ASSERT_EQ(layout.RowsPerPage(), 51);
  ASSERT_EQ(layout.PageCount(), 5);
  PageHeading heading;
  heading.title = "Speed Dial";
  heading.nameLabel = "Name :\t";
  heading.machineName = "M40 Front Office";
  heading.telLabel = "Tel :\t";
  heading.telephone = "0312340000";
  heading.pagesFormat = "Total %d page(s), page %d";
  heading.dateFormat = "%d/%d/%d";
  heading.month = 12, heading.day = 10, heading.year = 2026;
  const std::vector<std::string> texts = Texts(layout.Page(2, heading));
  for (const char* text : {"Speed Dial", "Name :", "M40 Front Office", "Tel :", "0312340000",
                           "Total 5 page(s), page 3", "12/10/2026", "No.", "Name", "Address"}) {
    EXPECT_TRUE(Has(texts, text)) << text;
  }
  // Rows 101 to 150, and no other.
  EXPECT_TRUE(Has(texts, "101"));
  EXPECT_TRUE(Has(texts, "Dial 101"));
  EXPECT_TRUE(Has(texts, "0300000150"));
  EXPECT_FALSE(Has(texts, "100"));
  EXPECT_FALSE(Has(texts, "151"));
  EXPECT_FALSE(Has(texts, "Dial 151"));
}

TEST(DialListLayout, OneTouchListOnOnePageWithProgramDialAndEmailColumns) {
  DataSet set;
  BuildDemoMachine(set);
  const RowContext context = Context(false);
  const PrintTable table = OneTouchTable(Loader(set), context);
  ASSERT_EQ(table.rows.size(), 32u);
  const std::vector<std::string> headers = {
      "No.",   "Name",        "Address",      "SUB",          "SID",   "Batch Time",
      "Speed", "E-Mail Mode", "Max. TX Size", "Max. Quality", "Coding"};
  EXPECT_EQ(table.headers, headers);
  const std::vector<std::string> headOffice = {
      "01", "Head Office", "0312345678", "1234", "5678", "14:05", "33.6K", "", "", "", ""};
  EXPECT_EQ(table.rows[0], headOffice);
  EXPECT_EQ(table.rows[29][1], "PROGRAM DIAL");
  EXPECT_EQ(table.rows[2][2], "sales@example.com");
  EXPECT_EQ(table.rows[2][7], "Advanced");
  // An empty key prints only its number.
  EXPECT_EQ(table.rows[31][0], "32");
  EXPECT_TRUE(std::all_of(table.rows[31].begin() + 1, table.rows[31].end(),
                          [](const std::string& s) { return s.empty(); }));
  ListLayout layout(table, MetricsFor(51), FixedWidth, context, Language::SingleByte);
  EXPECT_EQ(layout.PageCount(), 1);
}

TEST(DialListLayout, GroupListHasARowPerKeyAndPerMember) {
  DataSet set;
  BuildDemoMachine(set);
  const PrintTable table = GroupTable(Loader(set), Context(false));
  const std::vector<std::string> headers = {"No.", "Name", "Item#", "Item Name", "Address"};
  EXPECT_EQ(table.headers, headers);
  // 32 keys, 4 members of "All Offices" (key 11) and 3 of "Mail Team" (key 12).
  ASSERT_EQ(table.rows.size(), 32u + 4u + 3u);
  using Row = std::vector<std::string>;
  EXPECT_EQ(table.rows[10], (Row{"11", "All Offices", "", "", ""}));
  EXPECT_EQ(table.rows[11], (Row{"", "", "One Touch#1", "Head Office", "0312345678"}));
  EXPECT_EQ(table.rows[12], (Row{"", "", "One Touch#2", "Warehouse", "0298765432"}));
  EXPECT_EQ(table.rows[13], (Row{"", "", "Speed Dial#1", "Branch North", "0451112222"}));
  EXPECT_EQ(table.rows[14], (Row{"", "", "Speed Dial#2", "Branch South", "0663334444"}));
  EXPECT_EQ(table.rows[15], (Row{"12", "Mail Team", "", "", ""}));
  EXPECT_EQ(table.rows[16], (Row{"", "", "One Touch#3", "Sales Team", "sales@example.com"}));
  EXPECT_EQ(table.rows[18], (Row{"", "", "Speed Dial#3", "Accounts", "accounts@example.com"}));
  // Keys that hold no Group dial show only their number, the program too.
  EXPECT_EQ(table.rows[0], (Row{"01", "", "", "", ""}));
  EXPECT_EQ(table.rows[19 + 29 - 12][0], "30");
  EXPECT_EQ(table.rows[19 + 29 - 12][1], "");
}

TEST(DialListLayout, Name2ColumnsOnlyInADoubleByteLanguage) {
  DataSet set;
  BuildDemoMachine(set);
  struct Case {
    bool doubleByte;
    std::vector<std::string> oneTouch, group;
  } cases[] = {
      {false, {"No.", "Name", "Address"}, {"No.", "Name", "Item#", "Item Name", "Address"}},
      {true,
       {"No.", "Name", "Name2", "Address"},
       {"No.", "Name", "Name2", "Item#", "Item Name", "Item Name2", "Address"}},
  };
  for (const Case& c : cases) {
    const RowContext context = Context(c.doubleByte);
    const PrintTable oneTouch = OneTouchTable(Loader(set), context);
    EXPECT_EQ(
        std::vector<std::string>(oneTouch.headers.begin(),
                                 oneTouch.headers.begin() + static_cast<long>(c.oneTouch.size())),
        c.oneTouch);
    EXPECT_EQ(oneTouch.rows[0][1], "Head Office");  // the name under "Name" in both
    EXPECT_EQ(GroupTable(Loader(set), context).headers, c.group);
    const PrintTable speedDial = SpeedDialTable(Loader(set), context);
    EXPECT_EQ(speedDial.headers.size(), c.doubleByte ? 11u : 10u);
    for (const auto& row : speedDial.rows) EXPECT_EQ(row.size(), speedDial.headers.size());
  }
}

TEST(DialListLayout, ColumnWidthsAgainstAFixedMeasurer) {
  DataSet set;
  BuildDemoMachine(set);
  const RowContext context = Context(false);
  const PrintTable table = OneTouchTable(Loader(set), context);
  const int printed = 2250;
  const std::vector<int> widths = ColumnWidths(table, printed, FixedWidth, context);
  ASSERT_EQ(widths.size(), table.headers.size());
  const int margin = 17;               // half a "0" on each side, and 7
  EXPECT_EQ(widths[0], 30 + margin);   // "No."
  EXPECT_EQ(widths[3], 40 + margin);   // "SUB" against "1234"
  EXPECT_EQ(widths[5], 100 + margin);  // "Batch Time"
  EXPECT_EQ(widths[6], 50 + margin);   // "Speed" against "33.6K"
  EXPECT_EQ(widths[7], 110 + margin);  // "E-Mail Mode" against "Advanced"
  EXPECT_EQ(widths[8], 120 + margin);  // "Max. TX Size" against "Letter", "Ledger"
  EXPECT_EQ(widths[9], 120 + margin);  // "Max. Quality" against "Fine", "S/F"
  EXPECT_EQ(widths[10], 60 + margin);  // "Coding" against "MMR"
  EXPECT_EQ(std::accumulate(widths.begin(), widths.end(), 0), printed);
  // Name ("Service Desk", 12) and Address ("service@example.org", 19) share
  // the rest by what they need.
  const int rest = widths[1] + widths[2];
  EXPECT_NEAR(widths[1], rest * 137 / (137 + 207), 1);
  // A page too narrow for the fixed columns leaves the names nothing, and
  // nothing goes negative.
  for (int w : ColumnWidths(table, 100, FixedWidth, context)) EXPECT_GE(w, 0);
}

TEST(DialListLayout, FitTextCutsToDots) {
  struct Case {
    const char* text;
    int cell;
    const char* fitted;
  } cases[] = {
      {"ABCDEFG", 200, "ABCDEFG"},  // fits
      {"ABCDEFG", 77, "ABCDEFG"},   // 70 < 77 - 6
      {"ABCDEFG", 76, "ABC..."},    // 70 is not below 70
      {"ABCDEFG", 66, "AB..."},
      {"ABCDEFG", 56, "A..."},
      {"ABCDEFG", 46, "..."},
      {"ABCDEFG", 36, ".."},
      {"ABCDEFG", 16, ""},
      {"ABCDEFG", 6, ""},  // narrower than "..."
      {"ABCDEFG", 0, ""},
      {"ABCDEFG", -40, ""},
      {"A", 16, ""},
      {"AB", 26, "."},
      {"AB", 27, "AB"},
      {"", 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FitText(c.text, c.cell, FixedWidth), c.fitted) << c.text << " in " << c.cell;
  }
}

TEST(DialListLayout, FitTextEndsForEveryWidthAndKeepsDoubleByteCharactersWhole) {
  const std::string kana = "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8";  // five characters
  // A single-byte reading would cut into the second character here.
  EXPECT_EQ(FitText(kana, 72, FixedWidth, Language::Japanese), "\x82\xA0...");
  EXPECT_EQ(FitText(kana, 72, FixedWidth, Language::SingleByte), "\x82\xA0\x82...");
  const std::string texts[] = {kana,
                               "A\x82\xA0"
                               "B\x82",
                               "AB",
                               "x",
                               "",
                               "Head Office"};
  for (Language language :
       {Language::Japanese, Language::SimplifiedChinese, Language::SingleByte}) {
    for (const std::string& text : texts) {
      for (int cell = -10; cell <= 130; ++cell) {
        const std::string fitted = FitText(text, cell, FixedWidth, language);
        if (fitted == text) continue;
        EXPECT_TRUE(fitted.empty() || FixedWidth(PrintFont::Table, fitted) < cell - 6);
        const std::string kept = fitted.substr(0, fitted.find('.'));
        EXPECT_EQ(text.compare(0, kept.size(), kept), 0);
        if (language == Language::Japanese && text == kana) {
          EXPECT_EQ(kept.size() % 2, 0u);
        }
      }
    }
  }
}

TEST(DialListLayout, CellTextsAreFittedToTheirColumns) {
  DataSet set;
  BuildDemoMachine(set);
  const RowContext context = Context(false);
  PageMetrics narrow = MetricsFor(51);
  narrow.pageWidth = 1200;  // leaves the names and addresses little room
  ListLayout layout(OneTouchTable(Loader(set), context), narrow, FixedWidth, context,
                    Language::SingleByte);
  const std::vector<std::string> texts = Texts(layout.Page(0, PageHeading{}));
  EXPECT_FALSE(Has(texts, "service@example.org"));
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const std::string& s) {
    return s.size() > 3 && s.compare(s.size() - 3, 3, "...") == 0;
  }));
}

TEST(DialListLayout, PageMarksStayOnThePage) {
  auto set = FullSpeedDials();
  const RowContext context = Context(false);
  const PageMetrics m = MetricsFor(51);
  ListLayout layout(SpeedDialTable(Loader(*set), context), m, FixedWidth, context,
                    Language::SingleByte);
  int shaded = 0;
  for (const PageMark& mark : layout.Page(4, PageHeading{})) {
    if (mark.kind == PageMark::Fill && mark.rgb == kWhite) continue;  // the page itself
    EXPECT_GE(mark.x0, 0);
    EXPECT_LE(std::max(mark.x0, mark.x1), m.pageWidth);
    EXPECT_LE(std::max(mark.y0, mark.y1), m.pageHeight - m.dpiY / 2);
    if (mark.kind == PageMark::Fill && mark.rgb == kShadeGrey) ++shaded;
  }
  EXPECT_EQ(shaded, 21);  // every other of the header row and 40 rows
}

TEST(DialListLayout, FailureMessageNamesTheList) {
  EXPECT_EQ(PrintFailedText(EnglishString(IDS_PRINT_FAILED), "Speed Dial"),
            "The Speed Dial list could not be printed.\nPrinting has been stopped.");
  EXPECT_EQ(PrintFailedText("no name", "Group"), "no name");
}

}  // namespace
}  // namespace odc
