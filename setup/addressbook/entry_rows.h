// The rows and columns of the entry lists as plain data: what each cell of
// the One Touch, Speed Dial and Group views shows for a display record.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "setup/data/address_import.h"
#include "setup/data/dial_codec.h"

namespace odc {

// Icons of the tree/list image strip.
enum ListIcon : int {
  kIconRoot = 0,
  kIconOneTouchFax = 2,
  kIconEmail = 4,
  kIconOneTouchGroup = 5,
  kIconSpeedDialFax = 6,
  kIconSpeedDialEmail = 8,
  kIconGroup = 9,
  kIconGroupOneTouch = 11,
  kIconEmpty = 12,
};

struct ListColumn {
  int titleId;  // string id of the header
  int width;    // pixels
};

struct RowContext {
  bool doubleByte = false;       // a Name2 column exists
  bool addressBookOnly = false;  // decides the Max. TX Size texts
  bool inchPaper = false;
  // Texts of the string table, by id.
  std::function<std::string(int)> text;
};

struct ListRow {
  int icon = kIconEmpty;
  std::string item;                // the NO. column
  std::vector<std::string> cells;  // columns 1 .. n - 1
};

// The columns of a view (1 One Touch, 2 Speed Dial, 3 Group).
std::vector<ListColumn> ListColumns(int view, bool doubleByte);

// "%02d:%02d" of the two texts, or "" unless both are present.
std::string BatchTimeText(const char* hour, const char* minute);
// String id of the Max. TX Size text of a size code; 0 for an unknown code.
int MaxTxSizeTextId(int code, bool addressBookOnly, bool inchPaper);

ListRow OneTouchRow(const DisplayRecord& record, int index, const RowContext& context);
ListRow SpeedDialRow(const DisplayRecord& record, int index, const RowContext& context);
ListRow GroupRow(const DisplayRecord& record, int index, const RowContext& context);
// Column of the Address cell (2, or 3 with a Name2 column).
inline int AddressColumn(bool doubleByte) { return doubleByte ? 3 : 2; }

// A line of the group member list: icon and "%02d  name".
struct MemberLine {
  int icon;
  std::string text;
};
// Where the views read their display records from: the working tables, or,
// while an imported foreign address book (data origin 1 or 2) is shown as it
// came, the import buffers through the format's converters.
struct RecordSource {
  DataSet* set = nullptr;
  const ImportBuffers* imports = nullptr;
  int dataOrigin = 3;
  bool pasteMarker = false;
  std::array<bool, 2> importConverted{false, false};
};
// Entry `index` of a view (1 One Touch, 2 Speed Dial, 3 Group).
void LoadDisplayRecord(const RecordSource& source, int view, int index, DisplayRecord& record);

MemberLine GroupMemberLine(const GroupMember& member, const DisplayRecord& memberRecord,
                           bool doubleByte);

}  // namespace odc
