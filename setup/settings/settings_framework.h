// What every settings page and settings dialog shares: the sheets' page
// tables and skip lists, the page protocol (edit at once, mark changed,
// validate on leave, pack on apply, revert on cancel), the shared
// validators, edit filters and slider rules, and the label tables. Pages are
// plain objects working on the data set through a ControlSurface; the Win32
// side only routes window messages to them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "setup/addressbook/entry_dialog_rules.h"
#include "setup/data/data_set.h"
#include "setup/settings/control_surface.h"

namespace odc {

// ---------------------------------------------------------------------------
// Pages and sheets

enum class PageId : int {
  MachineSetting,
  PaperSource,
  CopySetting1,
  CopySetting2,
  FaxTxOperation,
  FaxRxOperation,
  ScanSetting,
  ReportSetting,
  AdministratorMode,
  NetworkSetting,
  EmailSetting1,
  EmailSetting2,
  LdapSetting,
  CommunicationSetting,
  MachineInformation,
};
constexpr int kPageCount = 15;

enum class SheetId { Utility, Administrator };

struct PageEntry {
  PageId page;
  int captionId;   // string id of the tab caption
  int templateId;  // dialog template of the page
};

// Offsets in the machine information block (item 0x21002).
namespace machine_info {
constexpr int kAdf = 0, kAdfDuplex = 1, kTrayCount = 2, kMultiBypass = 3, kSeparator = 4,
              kShifter = 5, kPclKit = 6, kNicKit = 7, kDuplexUnit = 8, kMainMemory = 9,
              kFirstVersion = 11, kVersionSize = 12, kVersionCount = 5;
}
// The tray count as the pages use it: 2-5 as stored, anything else 1.
int InstalledTrays(const DataSet& set);

// The whole page table of a sheet, in order.
const std::vector<PageEntry>& SheetPageTable(SheetId sheet);
// The pages a sheet is built with for this data set: the table less the
// pages its skip lists leave out (no NIC kit; LDAP not available) and less
// the pages this build does not have (unless `onlyBuilt` is false).
std::vector<PageEntry> SheetPages(SheetId sheet, const DataSet& set, bool onlyBuilt = true);

// Program-wide state of the settings user interface.
struct SettingsUiState {
  std::array<uint8_t, kPageCount> pageChanged{};
  bool pendingChange = false;
  // Print selection flags: One Touch, Speed Dial, Group Dial lists.
  std::array<bool, 3> printSelection{true, true, true};
  // Account Track: the current ID index (0-49), kept between openings.
  int accountIndex = 0;

  uint8_t& Changed(PageId page) { return pageChanged[static_cast<int>(page)]; }
  bool IsChanged(PageId page) const { return pageChanged[static_cast<int>(page)] != 0; }
};

// The program around the pages: what a page changes outside the data set.
class SettingsHost {
 public:
  virtual ~SettingsHost() = default;
  // The next upload tells the machine that its network addressing changed.
  virtual void SetNetworkChanged() = 0;
  // The navigation tree's root shows the machine name.
  virtual void SetTreeRootText(const std::string& text) = 0;
  // The inch-paper flag (machine variant 1 or 5), read by the e-mail pages.
  virtual bool InchPaper() const = 0;
  // The product id of the machine the link found (0 when none was found).
  virtual uint32_t MachineProductId() const = 0;
};

// What a page or dialog works on.
struct SettingsContext {
  DataSet& data;
  SettingsUiState& ui;
  SettingsHost& host;
};

// A settings page. Every handler works on the data set through the surface.
// The protocol around them (pending-change flag, page changed flag, Apply
// button, packing, reverting) is PageDriver's.
class SettingsPage {
 public:
  virtual ~SettingsPage() = default;
  virtual PageId Id() const = 0;

  // How a command or scroll was taken.
  enum class Handled {
    No,        // not this page's control or notification
    Changed,   // a value was edited: the page is marked changed
    NoChange,  // handled, nothing to mark (a sub-dialog that was cancelled)
  };

  virtual void OnInit(ControlSurface& s) = 0;
  virtual Handled OnCommand(ControlSurface& s, int id, int code) = 0;
  // WM_HSCROLL (sliders) and WM_VSCROLL (up-down scroll bars).
  virtual Handled OnScroll(ControlSurface&, int /*id*/, int /*code*/) { return Handled::No; }
  virtual void OnSetActive(ControlSurface&) {}
  // Leaving the page; false keeps it (the page has shown why).
  virtual bool OnKillActive(ControlSurface&) { return true; }
  // Apply of a changed page; false refuses it (the page has shown why and
  // focused the field): nothing is packed and the sheet stays open.
  virtual bool OnApply(ControlSurface&) { return true; }
  // After the page was packed.
  virtual void OnApplied(ControlSurface&) {}
  // PSN_RESET / WM_CLOSE: put a private copy back.
  virtual void OnReset(ControlSurface&) {}
  // After the cancel's unpack of the transfer image.
  virtual void OnCancelled(ControlSurface&) {}

 protected:
  explicit SettingsPage(SettingsContext& context) : ctx(context) {}
  SettingsContext& ctx;
};

// Creates the logic of a page; nullptr for a page this build does not have.
std::unique_ptr<SettingsPage> CreateSettingsPageLogic(PageId page, SettingsContext& context);
bool PageIsBuilt(PageId page);

// Runs the page protocol around a page; the Win32 page procedure calls it
// for each message.
class PageDriver {
 public:
  PageDriver(SettingsContext& context, SettingsPage& page) : ctx_(context), page_(page) {}
  void Init(ControlSurface& s);
  // WM_COMMAND / WM_HSCROLL / WM_VSCROLL. A notification that arrives while
  // the page starts, or while the surface writes a control for the page, is
  // the page's own doing and is not handled: the page never runs inside
  // itself.
  void Command(ControlSurface& s, int id, int code);
  void Scroll(ControlSurface& s, int id, int code);
  void SetActive(ControlSurface& s) { page_.OnSetActive(s); }
  // PSN_KILLACTIVE: true lets the user leave.
  bool KillActive(ControlSurface& s) { return page_.OnKillActive(s); }
  // PSN_APPLY: true when the page is applied (or had nothing to apply);
  // false when it refused and the sheet must stay on it.
  bool Apply(ControlSurface& s);
  // PSN_QUERYCANCEL: throws away every unapplied edit.
  void QueryCancel(ControlSurface& s);
  // PSN_RESET and WM_CLOSE.
  void Reset(ControlSurface& s);

 private:
  void AfterEdit(ControlSurface& s, SettingsPage::Handled handled);
  SettingsContext& ctx_;
  SettingsPage& page_;
  bool initialising_ = false;
};

// A settings dialog (sub-dialogs of pages and the small dialogs of the
// menus). OK, Cancel and the close box arrive as commands 1 and 2.
class DialogLogic {
 public:
  virtual ~DialogLogic() = default;
  virtual void OnInit(ControlSurface& s) = 0;
  virtual void OnCommand(ControlSurface& s, int id, int code) = 0;
  virtual void OnScroll(ControlSurface&, int /*id*/, int /*code*/) {}
};
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// Hands a dialog's WM_COMMAND to its logic, except the change notification
// of the dialog's own write to a control. True when the logic got it.
bool RouteDialogCommand(DialogLogic& logic, ControlSurface& s, int id, int code);

// Notification codes the pages look at (the platform's numbers).
constexpr int kButtonClicked = 0;            // BN_CLICKED
constexpr int kEditChange = 0x300;           // EN_CHANGE
constexpr int kListSelChange = 1;            // CBN_SELCHANGE
constexpr int kAddressFieldChanged = 0x300;  // EN_CHANGE of an address control
constexpr int kTableSelChange = -101;        // LVN_ITEMCHANGED: another row selected
// Scroll codes.
constexpr int kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3, kThumbPosition = 4,
              kThumbTrack = 5;

// ---------------------------------------------------------------------------
// Shared helpers of every page

// Sets a control's text from a string of the resource module.
void SetControlText(ControlSurface& s, int id, int stringId);
struct LabelPair {
  int control;
  int stringId;
};
// Applies a label table: every pair whose control exists gets its text.
void ApplyLabels(ControlSurface& s, const std::vector<LabelPair>& labels);

// Shows a message of the resource module, formatted with up to four
// integers where it holds %d.
int ShowMessage(ControlSurface& s, int stringId, std::vector<int> values = {},
                MessageButtons buttons = MessageButtons::Ok);
std::string FormatString(const std::string& format, const std::vector<int>& values);

// The leading decimal digits of a text, as atoi reads them ("12ab" -> 12,
// "" -> 0, "-5" -> -5).
int LeadingInteger(std::string_view text);

// 1 when the control holds an integer in [low, high]; otherwise the message
// is shown, the text selected (not for an empty text) and the control
// focused, and 0 is returned.
int CheckIntegerField(ControlSurface& s, int id, int messageId, int low, int high);
// 1 when the control's text is exactly four characters; otherwise the
// message, the text selected, the control focused, 0.
int CheckFourCharField(ControlSurface& s, int id, int messageId);

// The shared keystroke filters of EN_CHANGE. Each reads the control's whole
// text, removes every character not allowed in one pass (a paste can bring
// several), cuts it to `limit` characters, writes it back when that changed
// it (caret at the place of the last removal) and sets the text limit. 1 the
// text came through unchanged, 0 it was mended. `text` receives the text
// the control then holds: the value to store.
int FilterPhoneText(ControlSurface& s, std::string& text, int id, int limit);
// The characters the two filters let through.
bool IsPhoneTextChar(unsigned char c);
bool IsAsciiTextChar(unsigned char c);
int FilterAsciiText(ControlSurface& s, std::string& text, int id, int limit);
// FilterDigits, FilterNameText and FilterMailText of the entry dialog, applied
// to a control the same way.
int ApplyDigitFilter(ControlSurface& s, std::string& text, int id, int limit);
// The digit filter for numbers that are only read whole when OK is pressed
// (administrator numbers, access numbers): a text longer than `limit` that
// reached the edit some other way than typing is left long, so that the
// check refuses it instead of taking its first digits.
int ApplyDigitFilterKeepingLength(ControlSurface& s, std::string& text, int id, int limit);
int ApplyMailFilter(ControlSurface& s, std::string& text, int id, int limit);
int ApplyNameFilter(ControlSurface& s, const DataSet& set, std::string& text, int id, int limit);
// The same with any filter of the entry dialog's kind, which mends one
// character a step; limit 0 leaves the length alone.
int ApplyTextFilter(ControlSurface& s, std::string& text, int id, int limit,
                    const std::function<FilterResult(std::string_view)>& step,
                    bool cutToLimit = true);

// Appends strings first..last of the resource module to a list and selects
// entry `selection` (-1 none).
void FillComboFromStrings(ControlSurface& s, int id, int firstString, int lastString,
                          int selection);
// Reads an edit as a signed number, steps it by a line up (+1) or line down
// (-1), clamps it to [low, high] and writes it back.
void StepEditNumber(ControlSurface& s, int code, int id, int low, int high);

// Selects `chosen` among radio buttons `ids` (none when it is not one of
// them).
void SelectRadio(ControlSurface& s, std::initializer_list<int> ids, int chosen);

// The shared slider rules. Returns true when the slider is one of the table.
struct SliderRule {
  int control;
  uint32_t item;  // settings item edited
  int width;      // 1 or 4 bytes
  int low, high;  // range
  int pageStep;
  int valueLabel;  // 0: none
  int unitString;  // "%d %s" with this string; 0: "%d"
};
const SliderRule* FindSlider(int control);
bool HandleSettingsSlider(ControlSurface& s, SettingsContext& ctx, int code, int control);
// The stored value a slider edits: bytes signed, 32-bit values unsigned,
// the TX density as its level.
int64_t StoredSliderValue(const SettingsContext& ctx, const SliderRule& rule);
// A value clamped into the slider's range, and the thumb position of the
// stored value.
int ClampSliderValue(const SettingsContext& ctx, const SliderRule& rule, int64_t value);
int SliderValue(const SettingsContext& ctx, const SliderRule& rule);
// Writes a value into the slider's value label (the rings label shows the
// value plus one, except in region code 3).
void ShowSliderLabel(ControlSurface& s, const SettingsContext& ctx, const SliderRule& rule,
                     int64_t value);
// Range, thumb and label of a slider at page start: the thumb within the
// range, the label showing the stored value.
void InitSettingsSlider(ControlSurface& s, const SettingsContext& ctx, int id);
// The upper end of a slider's range: the maximum-rings setting for the
// rings slider, the table's value for the others.
int SliderHigh(const SettingsContext& ctx, const SliderRule& rule);

// The inch-paper flag: machine variant code 1 or 5.
bool UpdateInchPaperFlag(const DataSet& set);

// FinishApply's close test: the sheet may close when no page of it holds
// unapplied changes and the sheet is being closed (OK, not Apply).
bool SheetMayClose(const SettingsUiState& ui, bool closing);

// Sets the data length of a settings item in the transfer image.
void SetItemLength(DataSet& set, uint32_t id, uint32_t length);
uint32_t ItemLength(const DataSet& set, uint32_t id);

// Writes a text into a text setting: the field is cleared, the text copied
// in (cut to the field), and the item's data length set to its length.
void StoreTextSetting(DataSet& set, uint32_t id, const std::string& text);

}  // namespace odc
