// What the One Touch / Speed Dial entry dialog and the Group dial dialog
// decide, as plain functions: the keystroke filters, the OK checks, the
// maximum TX size lists, which controls show for which kind of entry, the
// forwarding destination refresh and the group member editing. The dialog
// procedures only move values between these and the controls.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "setup/addressbook/entry_rows.h"
#include "setup/data/charset.h"
#include "setup/data/dial_codec.h"

namespace odc {

// Control ids of the entry dialog (template 301) and the Group dial dialog
// (template 617); the resource header repeats them for the .rc file.
namespace entry_ids {
constexpr int kRegisterFrame = 302, kFax = 303, kEmail = 304, kFieldsFrame = 305, kNameLabel = 306,
              kName2Edit = 307, kName2Label = 308, kNameEdit = 309, kNumberLabel = 310,
              kAddressEdit = 311, kNumberEdit = 312, kSubLabel = 313, kSubEdit = 314,
              kSidLabel = 315, kSidEdit = 316, kBatchLabel = 317, kHourEdit = 318,
              kTimeSeparator = 319, kMinuteEdit = 320, kSpeedLabel = 321, kSpeed9600 = 322,
              kSpeed14400 = 323, kSpeed33600 = 324, kModeFrame = 325, kBasic = 326, kAdvanced = 327,
              kSizeLabel = 328, kSizeList = 329, kQualityLabel = 330, kQualityList = 331,
              kCodingLabel = 332, kCodingList = 333;
}  // namespace entry_ids

// Result of a keystroke filter: the text to show, where the caret goes
// and whether the text came through unchanged.
struct FilterResult {
  std::string text;
  int caret = 0;
  bool accepted = true;
};

// '0'-'9' only.
FilterResult FilterDigits(std::string_view text);
// Phone number: digits, '*', '#', 'P', space, '-'. SUB and SID: digits,
// '*', '#'.
enum class DialField { Number, SubOrSid };
FilterResult FilterDialText(std::string_view text, DialField field);
// Printable ASCII except , : ; < > " and backslash.
FilterResult FilterMailText(std::string_view text);
// The name field's characters for the resource language and the machine
// variant code. A character the PC holds as two bytes, or outside the
// machine's set, ends the text there.
FilterResult FilterNameText(std::string_view text, Language language, uint32_t machineVariant);

// Exactly one '@' and at least one '.', anywhere.
bool IsMailAddress(std::string_view text);

// Batch hour and minute checks in the order of the OK button. messageId 0
// means passed; otherwise the message (formatted with low and high) and the
// control that gets the focus.
struct CheckFailure {
  int messageId = 0;
  int controlId = 0;
  int low = 0;
  int high = 0;
  bool failed() const { return messageId != 0; }
};
CheckFailure CheckBatchTime(std::string_view hour, std::string_view minute);
// The destination checks that follow the name: empty address, empty
// number, malformed address.
CheckFailure CheckDestination(uint8_t kind, std::string_view address, std::string_view number);

// Maximum TX size list: the string ids shown and the size code each index
// stores.
struct SizeList {
  std::vector<int> stringIds;
  std::vector<uint8_t> codes;
};
SizeList MaxTxSizeList(bool inchPaper, bool addressBookOnly);
// List index of a stored size code; -1 when the code has no place.
int MaxTxSizeIndex(uint8_t code, bool inchPaper, bool addressBookOnly);
// The code Advanced starts with.
uint8_t DefaultMaxTxSize(bool inchPaper, bool addressBookOnly);

// 1 while the number ends with '+' (a combination key).
bool IsCombinationNumber(std::string_view number);

// "Register One Touch #05", "Register Speed Dial #123", with " (Combination
// Key)" behind it for a combination entry. `prefix` and `suffix` are the
// string-table texts.
std::string EntryDialogTitle(int view, int index, const std::string& prefix, bool combination,
                             const std::string& suffix);
// "Register Group #005".
std::string GroupDialogTitle(int index, const std::string& prefix);

// Today's registration date from the local calendar date.
uint16_t RegistrationDateOf(int year, int month, int day);

// What RefreshEntryControls does, as an ordered list of steps.
enum class ControlStep : uint8_t { Enable, Disable, Show, Hide };
struct ControlAction {
  int id;
  ControlStep step;
};
struct EntryControls {
  std::vector<ControlAction> actions;
  int numberLabelId = 0;  // string of control 310
};
EntryControls RefreshEntryControls(uint8_t kind, bool combination, uint8_t emailMode, int view,
                                   bool nicKit);
// Controls disabled at start when the NIC kit is missing.
std::vector<int> ControlsWithoutNicKit();
// Dialog client positions of the single-byte layout, {id, x, y}.
struct ControlPosition {
  int id, x, y;
};
std::vector<ControlPosition> SingleByteEntryLayout();

// Label tables: (control id, string id).
struct Label {
  int controlId, stringId;
};
std::vector<Label> EntryDialogLabels(bool singleByte);
std::vector<Label> GroupDialogLabels(bool singleByte);

// The 72-byte forwarding destination: rewritten when it refers to entry
// `number` (1-based) of the edited kind: 9/10 for a One Touch key (view 1),
// 5/6 for a Speed Dial (view 2). Returns true when it was rewritten.
constexpr size_t kForwardRecordSize = 72;
bool RefreshForwardDestination(uint8_t* forward, int view, int number, const DisplayRecord& record);

// The Group dial dialog's members while it is open.
struct GroupEditor {
  std::vector<GroupMemberRow> oneTouch;
  std::vector<GroupMemberRow> speedDial;

  int Count() const { return static_cast<int>(oneTouch.size() + speedDial.size()); }
  bool HasOneTouch(int key) const;
  bool HasSpeedDial(int index) const;

  // ">>" for one chosen key: an individual key joins; a key holding a Group
  // dial brings its members instead. Lists the candidate rows to remove.
  struct Moved {
    bool moved = false;
    std::vector<int> oneTouchRows;   // keys whose rows leave the One Touch candidates
    std::vector<int> speedDialRows;  // indexes whose rows leave the Speed Dial candidates
  };
  Moved AddOneTouch(DataSet& set, int key);
  // "<<": the selected indexes in order until the group is full; returns
  // those that joined.
  std::vector<int> AddSpeedDials(const std::vector<int>& selected);
  // "Delete Selected": rows of the member list (One Touch members first).
  // Returns the members taken out.
  std::vector<GroupMemberRow> RemoveRows(const std::vector<int>& rows);
};

// Candidate entries of the Group dial dialog.
std::vector<int> OneTouchCandidates(DataSet& set, int groupKey, const GroupEditor& editor);
std::vector<int> SpeedDialCandidates(DataSet& set, const GroupEditor& editor);

// A row of the Group dial dialog's lists.
enum class GroupRowRole { OneTouchCandidate, SpeedDialCandidate, Member };
ListRow GroupDialogRow(const DisplayRecord& record, int index, GroupRowRole role,
                       const RowContext& context);

// Takes a removed dial out of every Group dial (the first matching member
// of each); returns the keys whose group became empty.
std::vector<int> RemoveFromGroupDials(DataSet& set, const DisplayRecord& removed);

// The row menu of the main list.
struct EntryMenuInputs {
  int view = 0;
  uint8_t flags = 0;         // of the entry under the row (One Touch in views 1 and 3)
  bool addressEmpty = true;  // views 1 and 2: the row's Address cell
  bool holdsGroup = false;   // view 3: the key holds a Group dial in use
  std::array<int, 3> clipboardSlots{-1, -1, -1};
};
struct EntryMenuState {
  bool property = true, cut = true, copy = true, paste = true, remove = true;
};
EntryMenuState ComputeEntryMenu(const EntryMenuInputs& in);

// The entry flags of entry `index` in the table a view shows: the One Touch
// table in views 1 and 3, the Speed Dial table in view 2; 0 for an index
// outside that table or another view.
uint8_t EntryFlagsOf(const DataSet& set, int view, int index);

// Whether Paste writes into entry `index` of the view. `targetFlags` are
// the flags of the target entry (One Touch in views 1 and 3, Speed Dial in
// view 2); `target` the view 3 scratch record of the key.
bool PasteAllowed(int view, int index, uint8_t targetFlags, const uint8_t programKeyStates[4],
                  const DisplayRecord& target);

// The group dialog's OK checks after the name validator: messageId 0 = OK.
int CheckGroup(std::string_view name, int memberCount, bool singleByte);

}  // namespace odc
