#include "setup/print/dial_list_layout.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "setup/res/resource.h"
#include "setup/settings/settings_framework.h"

namespace odc {
namespace {

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

// Headers and cells of the One Touch and Speed Dial lists: the entry list's
// own row, with the number as "%02d" and, in a double-byte language, the
// Name column before the Name2 column.
PrintTable DialTable(PrintedList list, const RecordLoader& load, const RowContext& context) {
  const int view = list == PrintedList::OneTouch ? 1 : 2;
  PrintTable table;
  table.list = list;
  const std::vector<ListColumn> columns = ListColumns(view, context.doubleByte);
  table.columnIds.push_back(IDS_PRINT_COLUMN_NO);
  for (size_t c = 1; c < columns.size(); ++c) table.columnIds.push_back(columns[c].titleId);
  for (int id : table.columnIds) table.headers.push_back(context.text(id));
  const int count = view == 1 ? kOneTouchCount : kSpeedDialCount;
  DisplayRecord record;
  for (int i = 0; i < count; ++i) {
    load(view, i, record);
    ListRow row = view == 1 ? OneTouchRow(record, i, context) : SpeedDialRow(record, i, context);
    if (context.doubleByte) std::swap(row.cells[0], row.cells[1]);
    std::vector<std::string> cells;
    cells.reserve(columns.size());
    cells.push_back(TwoDigits(i + 1));
    cells.insert(cells.end(), row.cells.begin(), row.cells.end());
    table.rows.push_back(std::move(cells));
  }
  return table;
}

bool IsFlexible(int columnId) {
  return columnId == IDS_COLUMN_NAME || columnId == IDS_COLUMN_NAME2 ||
         columnId == IDS_COLUMN_ADDRESS || columnId == IDS_PRINT_COLUMN_ITEM_NAME ||
         columnId == IDS_PRINT_COLUMN_ITEM_NAME2;
}

// The values a fixed column can hold besides those of the table itself.
std::vector<std::string> PossibleValues(int columnId, const RowContext& context) {
  std::vector<int> ids;
  switch (columnId) {
    case IDS_COLUMN_BATCH_TIME:
      return {"00:00"};
    case IDS_COLUMN_SPEED:
      ids = {IDS_SPEED_9600, IDS_SPEED_14400, IDS_SPEED_33600};
      break;
    case IDS_EMAIL_MODE:
      ids = {IDS_EMAIL_MODE_BASIC, IDS_EMAIL_MODE_ADVANCED};
      break;
    case IDS_COLUMN_MAX_TX_SIZE:
      ids = {IDS_SIZE_A3, IDS_SIZE_B4, IDS_SIZE_A4, IDS_SIZE_LETTER, IDS_SIZE_LEDGER};
      break;
    case IDS_COLUMN_MAX_QUALITY:
      ids = {IDS_QUALITY_FINE, IDS_QUALITY_SF};
      break;
    case IDS_COLUMN_CODING:
      ids = {IDS_CODING_MH, IDS_CODING_MR, IDS_CODING_MMR};
      break;
    default:
      break;
  }
  std::vector<std::string> values;
  for (int id : ids) values.push_back(context.text(id));
  return values;
}

// Byte length of each character of `text`: two for a lead byte of the
// language's code page followed by a trail byte, else one.
std::vector<size_t> CharacterLengths(const std::string& text, Language language) {
  std::vector<size_t> lengths;
  for (size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    bool lead = false;
    if (language == Language::Japanese) {
      lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    } else if (language != Language::SingleByte) {
      lead = b >= 0x81 && b <= 0xFE;
    }
    const size_t n = lead && i + 1 < text.size() ? 2 : 1;
    lengths.push_back(n);
    i += n;
  }
  return lengths;
}

}  // namespace

int CellPadding(const TextMeasure& measure) { return (measure(PrintFont::Table, "0") + 1) / 2; }

int CellMargin(const TextMeasure& measure) { return 2 * CellPadding(measure) + 7; }

PrintTable OneTouchTable(const RecordLoader& load, const RowContext& context) {
  return DialTable(PrintedList::OneTouch, load, context);
}

PrintTable SpeedDialTable(const RecordLoader& load, const RowContext& context) {
  return DialTable(PrintedList::SpeedDial, load, context);
}

PrintTable GroupTable(const RecordLoader& load, const RowContext& context) {
  PrintTable table;
  table.list = PrintedList::Group;
  table.columnIds = {IDS_PRINT_COLUMN_NO, IDS_COLUMN_NAME};
  if (context.doubleByte) table.columnIds.push_back(IDS_COLUMN_NAME2);
  table.columnIds.insert(table.columnIds.end(),
                         {IDS_PRINT_COLUMN_ITEM, IDS_PRINT_COLUMN_ITEM_NAME});
  if (context.doubleByte) table.columnIds.push_back(IDS_PRINT_COLUMN_ITEM_NAME2);
  table.columnIds.push_back(IDS_COLUMN_ADDRESS);
  for (int id : table.columnIds) table.headers.push_back(context.text(id));
  const size_t names = context.doubleByte ? 2 : 1;  // name columns of a key and of a member
  const size_t width = table.columnIds.size();
  DisplayRecord group, member;
  for (int key = 0; key < kOneTouchCount; ++key) {
    load(3, key, group);
    std::vector<std::string> row(width);
    row[0] = TwoDigits(key + 1);
    const bool isGroup = group.inUse != 0 && group.entryType == kEntryGroup;
    if (isGroup) {
      row[1] = group.name;
      if (context.doubleByte) row[2] = group.name2;
    }
    table.rows.push_back(std::move(row));
    if (!isGroup) continue;
    const int members = std::min<int>(group.memberCount, kMaxGroupMembers);
    for (int j = 0; j < members; ++j) {
      const GroupMember& m = group.members[j];
      const bool oneTouch = (m.kind & kMemberOneTouch) != 0;
      const int count = oneTouch ? kOneTouchCount : kSpeedDialCount;
      // A member that names no entry of its table shows only its number.
      member = DisplayRecord{};
      if (m.index < count) load(oneTouch ? 1 : 2, m.index, member);
      std::vector<std::string> line(width);
      size_t c = 1 + names;
      line[c++] = context.text(oneTouch ? IDS_ONE_TOUCH : IDS_SPEED_DIAL) + "#" +
                  std::to_string(m.index + 1);
      line[c++] = member.name;
      if (context.doubleByte) line[c++] = member.name2;
      line[c] = member.kind == kKindEmail ? member.email : member.number;
      table.rows.push_back(std::move(line));
    }
  }
  return table;
}

PrintTable ListTable(PrintedList list, const RecordLoader& load, const RowContext& context) {
  return list == PrintedList::Group ? GroupTable(load, context) : DialTable(list, load, context);
}

int RowsPerPage(const PageMetrics& m) {
  if (m.lineHeight <= 0) return 2;
  const int rows = (m.pageHeight - m.dpiY - m.titleLineHeight - 2 * m.lineHeight) / m.lineHeight;
  return std::clamp(rows, 2, kMaxRowsPerPage);
}

int PageCount(int tableRows, int rowsPerPage) {
  const int perPage = std::max(1, rowsPerPage - 1);
  return std::max(1, (tableRows + perPage - 1) / perPage);
}

PageRows RowsOfPage(int tableRows, int rowsPerPage, int page) {
  const int perPage = std::max(1, rowsPerPage - 1);
  PageRows rows;
  rows.first = std::clamp(page * perPage, 0, std::max(0, tableRows));
  rows.count = std::clamp(tableRows - rows.first, 0, perPage);
  return rows;
}

std::string FitText(const std::string& text, int cellWidth, const TextMeasure& measure,
                    Language language) {
  const int limit = cellWidth - 6;
  if (measure(PrintFont::Table, text) < limit) return text;
  const std::vector<size_t> lengths = CharacterLengths(text, language);
  // Cut k characters, then turn the last (up to) three into dots.
  for (size_t k = 1; k < lengths.size(); ++k) {
    const size_t kept = lengths.size() - k;
    const size_t dots = std::min<size_t>(3, kept);
    size_t bytes = 0;
    for (size_t i = 0; i < kept - dots; ++i) bytes += lengths[i];
    const std::string candidate = text.substr(0, bytes) + std::string(dots, '.');
    if (measure(PrintFont::Table, candidate) < limit) return candidate;
  }
  return std::string();
}

std::vector<int> ColumnWidths(const PrintTable& table, int printedWidth, const TextMeasure& measure,
                              const RowContext& context) {
  const size_t n = table.columnIds.size();
  const int margin = CellMargin(measure);
  std::vector<int> widths(n, 0);
  std::vector<int> wanted(n, 0);
  int fixed = 0;
  long long wantedFlexible = 0;
  for (size_t c = 0; c < n; ++c) {
    int widest = measure(PrintFont::Table, c < table.headers.size() ? table.headers[c] : "");
    for (const auto& row : table.rows) {
      if (c < row.size()) widest = std::max(widest, measure(PrintFont::Table, row[c]));
    }
    for (const std::string& value : PossibleValues(table.columnIds[c], context)) {
      widest = std::max(widest, measure(PrintFont::Table, value));
    }
    wanted[c] = widest + margin;
    if (IsFlexible(table.columnIds[c])) {
      wantedFlexible += wanted[c];
    } else {
      widths[c] = wanted[c];
      fixed += wanted[c];
    }
  }
  // Names and addresses share what is left, each by its share of what it
  // would need; the last of them takes the rounding.
  const int left = std::max(0, printedWidth - fixed);
  int given = 0;
  size_t last = n;
  for (size_t c = 0; c < n; ++c) {
    if (!IsFlexible(table.columnIds[c])) continue;
    widths[c] = wantedFlexible > 0 ? static_cast<int>(left * wanted[c] / wantedFlexible) : 0;
    given += widths[c];
    last = c;
  }
  if (last < n) widths[last] += left - given;
  return widths;
}

std::string PagesText(const PageHeading& heading, int pageCount, int page) {
  return FormatString(heading.pagesFormat, {pageCount, page});
}

std::string DateText(const PageHeading& heading) {
  return FormatString(heading.dateFormat, {heading.month, heading.day, heading.year});
}

ListLayout::ListLayout(PrintTable table, const PageMetrics& metrics, const TextMeasure& measure,
                       const RowContext& context, Language language)
    : table_(std::move(table)),
      metrics_(metrics),
      measure_(measure),
      language_(language),
      rowsPerPage_(odc::RowsPerPage(metrics)),
      pageCount_(odc::PageCount(static_cast<int>(table_.rows.size()), rowsPerPage_)),
      widths_(ColumnWidths(table_, metrics.pageWidth - metrics.dpiX / 2, measure, context)) {}

std::vector<PageMark> ListLayout::Page(int page, const PageHeading& heading) const {
  const PageMetrics& m = metrics_;
  const int left = m.dpiX / 4;
  const int right = m.pageWidth - m.dpiX / 4;
  const int top = m.dpiY / 2;
  const int line = std::max(1, m.lineHeight);
  const PageRows rows = RowsOfPage(static_cast<int>(table_.rows.size()), rowsPerPage_, page);
  const int tableRows = 1 + rows.count;
  // What the rows leave of the page goes, up to half a line each, between
  // the title and the header lines and between those and the table.
  const int slack = m.pageHeight - m.dpiY - m.titleLineHeight - (2 + rowsPerPage_) * line;
  const int gap = std::clamp(slack / 3, 0, line / 2);

  std::vector<PageMark> marks;
  auto fill = [&](int x0, int y0, int x1, int y1, uint32_t rgb) {
    PageMark mark;
    mark.kind = PageMark::Fill;
    mark.x0 = x0, mark.y0 = y0, mark.x1 = x1, mark.y1 = y1, mark.rgb = rgb;
    marks.push_back(mark);
  };
  auto rule = [&](int x0, int y0, int x1, int y1) {
    PageMark mark;
    mark.kind = PageMark::Line;
    mark.x0 = x0, mark.y0 = y0, mark.x1 = x1, mark.y1 = y1;
    marks.push_back(mark);
  };
  auto text = [&](PrintFont font, PageMark::Align align, int x, int y, std::string s) {
    PageMark mark;
    mark.kind = PageMark::Text;
    mark.font = font, mark.align = align, mark.x0 = x, mark.y0 = y, mark.text = std::move(s);
    marks.push_back(mark);
  };
  auto box = [&](int x0, int y0, int x1, int y1) {
    rule(x0, y0, x1, y0);
    rule(x1, y0, x1, y1);
    rule(x1, y1, x0, y1);
    rule(x0, y1, x0, y0);
  };

  // The page, the title box and the shaded rows.
  fill(0, 0, m.pageWidth, m.pageHeight, kWhite);
  const int titleBottom = top + m.titleLineHeight;
  fill(left, top, right, titleBottom, kTitleGrey);
  const int headerTop = titleBottom + gap;
  const int tableTop = headerTop + 2 * line + gap;
  int tableRight = left;
  for (int w : widths_) tableRight += w;
  for (int r = 0; r < tableRows; r += 2) {
    fill(left, tableTop + r * line, tableRight, tableTop + (r + 1) * line, kShadeGrey);
  }

  // Frames and rules.
  box(left, top, right, titleBottom);
  const int tableBottom = tableTop + tableRows * line;
  box(left, tableTop, tableRight, tableBottom);
  for (int r = 1; r < tableRows; ++r)
    rule(left, tableTop + r * line, tableRight, tableTop + r * line);
  int x = left;
  for (size_t c = 0; c + 1 < widths_.size(); ++c) {
    x += widths_[c];
    rule(x, tableTop, x, tableBottom);
  }

  // Texts: the title, the header lines, the table.
  text(PrintFont::Title, PageMark::Centre, (left + right) / 2, top, heading.title);
  const auto label = [](const std::string& s) { return s.substr(0, s.find('\t')); };
  const std::string nameLabel = label(heading.nameLabel);
  const std::string telLabel = label(heading.telLabel);
  const int valueX =
      left +
      std::max(measure_(PrintFont::Header, nameLabel), measure_(PrintFont::Header, telLabel)) +
      measure_(PrintFont::Header, "00");
  text(PrintFont::Header, PageMark::Left, left, headerTop, nameLabel);
  text(PrintFont::Header, PageMark::Left, valueX, headerTop, heading.machineName);
  text(PrintFont::Header, PageMark::Right, right - 10, headerTop,
       PagesText(heading, pageCount_, page + 1));
  text(PrintFont::Header, PageMark::Left, left, headerTop + line, telLabel);
  text(PrintFont::Header, PageMark::Left, valueX, headerTop + line, heading.telephone);
  text(PrintFont::Header, PageMark::Right, right - 10, headerTop + line, DateText(heading));

  const int pad = CellPadding(measure_);
  const int lift = std::max(0, (line - m.tableTextHeight) / 2);
  for (int r = 0; r < tableRows; ++r) {
    const std::vector<std::string>& cells =
        r == 0 ? table_.headers : table_.rows[rows.first + r - 1];
    int cellLeft = left;
    for (size_t c = 0; c < widths_.size(); ++c) {
      const std::string& cell = c < cells.size() ? cells[c] : std::string();
      if (!cell.empty()) {
        std::string shown = FitText(cell, widths_[c] - 2 * pad, measure_, language_);
        if (r == 0) {
          text(PrintFont::Table, PageMark::Centre, cellLeft + widths_[c] / 2, tableTop + lift,
               std::move(shown));
        } else {
          text(PrintFont::Table, PageMark::Left, cellLeft + pad, tableTop + r * line + lift,
               std::move(shown));
        }
      }
      cellLeft += widths_[c];
    }
  }
  return marks;
}

std::string PrintFailedText(const std::string& format, const std::string& listName) {
  const size_t at = format.find("%s");
  if (at == std::string::npos) return format;
  return format.substr(0, at) + listName + format.substr(at + 2);
}

}  // namespace odc
