// The printed dial lists as plain data: the tables (the same row texts the
// entry lists show), the page geometry, the paging, the column widths and
// every mark on a page. A device context only has to draw what a page holds.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "setup/addressbook/entry_rows.h"
#include "setup/data/charset.h"
#include "setup/data/dial_codec.h"

namespace odc {

// The lists: One Touch and Speed Dial (PrintDialList 0 and 1) and Group.
enum class PrintedList { OneTouch = 0, SpeedDial = 1, Group = 2 };

constexpr int kMaxRowsPerPage = 51;

// One table to print: the column headers and the cell texts of every row.
struct PrintTable {
  PrintedList list = PrintedList::OneTouch;
  std::vector<std::string> headers;
  std::vector<std::vector<std::string>> rows;
  // The string id of each column's header: it tells which values a column
  // can hold and whether it shares the width left over (names, addresses).
  std::vector<int> columnIds;
};

// Fills `record` with entry `index` of a view (1 One Touch, 2 Speed Dial,
// 3 Group) as the entry lists show it.
using RecordLoader = std::function<void(int view, int index, DisplayRecord& record)>;

// The tables of the three lists. Name2 columns exist only in a double-byte
// language (context.doubleByte).
PrintTable OneTouchTable(const RecordLoader& load, const RowContext& context);
PrintTable SpeedDialTable(const RecordLoader& load, const RowContext& context);
// One row per key; a key holding a Group dial is followed by one row per
// member ("One Touch#3", "Speed Dial#12").
PrintTable GroupTable(const RecordLoader& load, const RowContext& context);
PrintTable ListTable(PrintedList list, const RecordLoader& load, const RowContext& context);

// The printer's page, in device units.
struct PageMetrics {
  int dpiX = 300, dpiY = 300;
  int pageWidth = 0, pageHeight = 0;
  int lineHeight = 0;       // height + external leading of the 12-point header font
  int titleLineHeight = 0;  // the same of the 20-point title font
  int tableTextHeight = 0;  // height of the 8-point table font
};

// Rows of a page, the column header row included: at most 51, and never
// fewer than 2, so that every page carries at least one row of the table.
int RowsPerPage(const PageMetrics& metrics);
// ceil(rows / (rowsPerPage - 1)), at least one page.
int PageCount(int tableRows, int rowsPerPage);
// The table rows [first, first + count) printed on page `page` (0-based).
struct PageRows {
  int first = 0;
  int count = 0;
};
PageRows RowsOfPage(int tableRows, int rowsPerPage, int page);

// The three fonts of a page, and a text's printed width in one of them.
enum class PrintFont { Title, Header, Table };
using TextMeasure = std::function<int(PrintFont font, const std::string& text)>;

// Shortens `text` until its printed width is below cellWidth - 6: one
// character cut from the end at a time, the last three characters turned
// into dots. Ends for every width (a cell too narrow for anything gives "")
// and never splits a double-byte character of `language`.
std::string FitText(const std::string& text, int cellWidth, const TextMeasure& measure,
                    Language language = Language::SingleByte);

// Space before a cell's text (half a digit), and what a column adds to its
// widest text: that padding on each side and the 6 units FitText keeps free.
int CellPadding(const TextMeasure& measure);
int CellMargin(const TextMeasure& measure);

// Column widths in device units: the fixed columns as wide as the widest of
// their header and their possible values plus a margin, the flexible ones
// sharing what is left of `printedWidth`.
std::vector<int> ColumnWidths(const PrintTable& table, int printedWidth, const TextMeasure& measure,
                              const RowContext& context);

// The texts above the table.
struct PageHeading {
  std::string title;        // "One Touch", "Speed Dial", "Group"
  std::string nameLabel;    // "Name :\t" (the tab and what follows it are dropped)
  std::string machineName;  // item 0x1051E
  std::string telLabel;     // "Tel :\t"
  std::string telephone;    // item 0x1051C
  std::string pagesFormat;  // "Total %d page(s), page %d"
  std::string dateFormat;   // "%d/%d/%d": month, day, year
  int month = 1, day = 1, year = 2000;
};
std::string PagesText(const PageHeading& heading, int pageCount, int page);
std::string DateText(const PageHeading& heading);

// Everything drawn on a page, in drawing order.
struct PageMark {
  enum Kind { Fill, Line, Text } kind = Text;
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;               // Fill: rectangle; Line: from, to; Text: x0, y0
  uint32_t rgb = 0;                                 // Fill: 0xRRGGBB
  PrintFont font = PrintFont::Table;                // Text
  enum Align { Left, Centre, Right } align = Left;  // Text: x0 is the left, centre or right
  std::string text;
};

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kTitleGrey = 0xC0C0C0;
constexpr uint32_t kShadeGrey = 0xE0E0E0;

// A list laid out for a page size: the paging and the column widths.
class ListLayout {
 public:
  ListLayout(PrintTable table, const PageMetrics& metrics, const TextMeasure& measure,
             const RowContext& context, Language language);
  int RowsPerPage() const { return rowsPerPage_; }
  int PageCount() const { return pageCount_; }
  const PrintTable& Table() const { return table_; }
  const std::vector<int>& Widths() const { return widths_; }
  // The marks of page `page` (0-based).
  std::vector<PageMark> Page(int page, const PageHeading& heading) const;

 private:
  PrintTable table_;
  PageMetrics metrics_;
  TextMeasure measure_;
  Language language_;
  int rowsPerPage_;
  int pageCount_;
  std::vector<int> widths_;
};

// The message of a list that could not be printed: the format's "%s"
// replaced by the list's name.
std::string PrintFailedText(const std::string& format, const std::string& listName);

}  // namespace odc
