// The settings by name (odctool set) against the settings pages themselves.
// The catalog restates the pages' rules; wherever the two could part, this
// test sets the same value both ways, starting from the same data set: by
// name as odctool set does, and on the page through the in-memory surface as
// a user would (click, type, choose, slide, then leave the page and Apply).
// Both must refuse, or both must give the same packed transfer image.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "setup/data/bytes.h"
#include "setup/link/demo_machine.h"
#include "setup/res/resource.h"
#include "setup/settings/fax_rx_dialogs.h"
#include "setup/settings/setting_catalog.h"
#include "tests/ui/memory_surface.h"

namespace odc {
namespace test {
namespace {

using Values = std::vector<std::pair<std::string, std::string>>;

// How a person reaches a setting on its page.
enum class Kind {
  Check,    // a check box: checked is "on"
  Radio,    // radio buttons, in the order of the catalog's names
  List,     // a drop-down list, entries in the order of the catalog's names
  Slider,   // a slider; the position is the stored value (see below)
  Edit,     // an edit the value is typed into
  Address,  // an IP address control
  ShutOff,  // the Auto Shut Off check box (341) and slider (343)
};

struct Reach {
  const char* name;
  Kind kind;
  std::vector<int> ids;
  // A control that enables this one (a radio button or a check box): the
  // user turns it on, edits, and turns back what was chosen before.
  int enabler = 0;
};

// Every setting that its page edits with its own controls.
const std::vector<Reach>& Reaches() {
  static const std::vector<Reach> kReaches = {
      // Machine Setting.
      {"energy_save_mode", Kind::Slider, {IDC_MS_ENERGY_SLIDER}},
      {"auto_shut_off", Kind::ShutOff, {IDC_MS_AUTO_SHUT_OFF, IDC_MS_SHUT_OFF_SLIDER}},
      {"density_adf", Kind::Radio, {IDC_MS_ADF_MODE1, IDC_MS_ADF_MODE2}},
      {"density_book", Kind::Radio, {IDC_MS_BOOK_MODE1, IDC_MS_BOOK_MODE2}},
      {"print_density", Kind::Slider, {IDC_MS_DENSITY_SLIDER}},
      {"lcd_contrast", Kind::Slider, {IDC_MS_LCD_SLIDER}},
      {"buzzer_volume", Kind::Radio, {IDC_MS_BUZZER_HIGH, IDC_MS_BUZZER_LOW, IDC_MS_BUZZER_OFF}},
      {"language", Kind::List, {IDC_MS_LANGUAGE}},
      {"initial_mode", Kind::Radio, {IDC_MS_INITIAL_COPY, IDC_MS_INITIAL_FAX}},
      {"scan_threshold", Kind::List, {IDC_MS_SCAN_THRESHOLD}},
      {"key_time_to_start", Kind::List, {IDC_MS_KEY_START}},
      {"key_interval", Kind::List, {IDC_MS_KEY_INTERVAL}},
      // Paper Source.
      {"media_type",
       Kind::Radio,
       {IDC_PS_PLAIN, IDC_PS_TRANSPARENCY, IDC_PS_CARD, IDC_PS_ENVELOPE}},
      {"paper_size",
       Kind::Radio,
       {IDC_PS_AUTO, IDC_PS_SIZE_INPUT, IDC_PS_HAGAKI, IDC_PS_MEMORY1, IDC_PS_MEMORY2}},
      {"size_input_x", Kind::Edit, {IDC_PS_X}, IDC_PS_SIZE_INPUT},
      {"size_input_y", Kind::Edit, {IDC_PS_Y}, IDC_PS_SIZE_INPUT},
      {"memory1_x", Kind::Edit, {IDC_PS_X3}, IDC_PS_MEMORY1},
      {"memory1_y", Kind::Edit, {IDC_PS_Y4}, IDC_PS_MEMORY1},
      {"memory2_x", Kind::Edit, {IDC_PS_X5}, IDC_PS_MEMORY2},
      {"memory2_y", Kind::Edit, {IDC_PS_Y6}, IDC_PS_MEMORY2},
      // Copy Setting(1) and (2).
      {"density_level_manual", Kind::Slider, {IDC_C1_DENSITY_SLIDER}},
      {"page_margin", Kind::Edit, {IDC_C1_MARGIN}},
      {"erase_left", Kind::Edit, {IDC_C1_ERASE_LEFT}},
      {"erase_upper", Kind::Edit, {IDC_C1_ERASE_UPPER}},
      {"erase_frame", Kind::Edit, {IDC_C1_ERASE_FRAME}},
      {"binding_position", Kind::Radio, {IDC_C1_BIND_LEFT, IDC_C1_BIND_RIGHT}},
      {"density_level_auto", Kind::Radio, {IDC_C1_LIGHT, IDC_C1_NORMAL, IDC_C1_DARK}},
      {"small_original", Kind::Check, {IDC_C1_SMALL_ORIGINAL}},
      {"copy_priority", Kind::Radio, {IDC_C2_AUTO_PAPER, IDC_C2_AUTO_ZOOM, IDC_C2_MANUAL}},
      {"output_priority", Kind::Radio, {IDC_C2_NON_SORT, IDC_C2_SORT, IDC_C2_GROUP}},
      {"copy_4in1_order", Kind::Radio, {IDC_C2_PATTERN1, IDC_C2_PATTERN2}},
      {"mixed_original", Kind::Check, {IDC_C2_MIXED_ORIGINAL}},
      {"duplex_copy", Kind::Check, {IDC_C2_DUPLEX}},
      {"crisscross_mode", Kind::Check, {IDC_C2_CRISSCROSS}},
      // FAX TX Operation.
      {"fax_tx_density", Kind::Slider, {IDC_TX_DENSITY}},
      {"fax_tx_quality", Kind::List, {IDC_TX_QUALITY}},
      {"default_tx", Kind::Radio, {IDC_TX_MEMORY, IDC_TX_ADF}},
      {"fax_header", Kind::Check, {IDC_TX_HEADER}},
      // FAX RX Operation.
      {"reduction_rx",
       Kind::Radio,
       {IDC_RX_REDUCTION_ON, IDC_RX_REDUCTION_OFF, IDC_RX_REDUCTION_CUT}},
      {"number_of_rings", Kind::Slider, {IDC_RX_RINGS}},
      {"rx_print", Kind::Radio, {IDC_RX_PRINT_MEMORY, IDC_RX_PRINT_PRINT}},
      {"rx_mode", Kind::Radio, {IDC_RX_MODE_AUTO, IDC_RX_MODE_MANUAL}},
      {"footer", Kind::Check, {IDC_RX_FOOTER}},
      {"closed_network", Kind::Check, {IDC_RX_CLOSED_NETWORK}},
      // Scan Setting and Report Setting.
      {"scan_resolution", Kind::Radio, {IDC_SCAN_150_DPI, IDC_SCAN_300_DPI, IDC_SCAN_600_DPI}},
      {"scan_image_format", Kind::Radio, {IDC_SCAN_TIFF, IDC_SCAN_PDF}},
      {"scan_coding", Kind::Radio, {IDC_SCAN_MH, IDC_SCAN_MR, IDC_SCAN_MMR}},
      {"activity_report", Kind::Check, {IDC_REPORT_ACTIVITY}},
      {"reservation_report", Kind::Check, {IDC_REPORT_RESERVATION}},
      {"tx_result_report", Kind::Check, {IDC_REPORT_TX_RESULT}},
      {"rx_result_report", Kind::Check, {IDC_REPORT_RX_RESULT}},
      // Administrator Mode.
      {"user_auto_shut_off", Kind::Check, {IDC_AM_SHUT_OFF}},
      {"remote_monitor", Kind::Radio, {IDC_AM_LIMITED, IDC_AM_FULL, IDC_AM_OFF}},
      // Network Setting.
      {"ip_mode", Kind::Radio, {IDC_NET_AUTO, IDC_NET_SPECIFY}},
      {"ip_address", Kind::Address, {IDC_NET_IP}, IDC_NET_SPECIFY},
      {"subnet_mask", Kind::Address, {IDC_NET_SUBNET}, IDC_NET_SPECIFY},
      {"gateway", Kind::Address, {IDC_NET_GATEWAY}, IDC_NET_SPECIFY},
      {"gateway_tx", Kind::Check, {IDC_NET_GATEWAY_TX}},
      {"dns", Kind::Radio, {IDC_NET_DNS_ENABLE, IDC_NET_DNS_DISABLE}},
      {"dns_server", Kind::Address, {IDC_NET_DNS}, IDC_NET_DNS_ENABLE},
      {"web_setting", Kind::Check, {IDC_NET_WEB}},
      {"lpd_setting", Kind::Check, {IDC_NET_LPD}},
      {"slp_setting", Kind::Check, {IDC_NET_SLP}},
      {"snmp_setting", Kind::Check, {IDC_NET_SNMP}},
      // E-Mail Setting(1) and (2).
      {"sender_name", Kind::Edit, {IDC_EM1_SENDER_NAME}},
      {"email_address", Kind::Edit, {IDC_EM1_ADDRESS}},
      {"smtp_server", Kind::Edit, {IDC_EM1_SMTP_SERVER}},
      {"smtp_port", Kind::Edit, {IDC_EM1_SMTP_PORT}},
      {"smtp_timeout", Kind::Slider, {IDC_EM1_SMTP_TIMEOUT}},
      {"text_insert", Kind::Check, {IDC_EM1_TEXT_INSERT}},
      {"default_subject", Kind::Edit, {IDC_EM1_SUBJECT}},
      {"pop_before_smtp", Kind::Check, {IDC_EM1_POP_BEFORE_SMTP}},
      {"pop_before_smtp_wait", Kind::Slider, {IDC_EM1_POP_WAIT}, IDC_EM1_POP_BEFORE_SMTP},
      {"pop3_server", Kind::Edit, {IDC_EM2_POP3_SERVER}},
      {"pop3_port", Kind::Edit, {IDC_EM2_POP3_PORT}},
      {"pop3_timeout", Kind::Slider, {IDC_EM2_POP3_TIMEOUT}},
      {"pop3_account", Kind::Edit, {IDC_EM2_POP3_ACCOUNT}},
      {"pop3_password", Kind::Edit, {IDC_EM2_POP3_PASSWORD}},
      {"auto_reception", Kind::Check, {IDC_EM2_AUTO_RECEPTION}},
      {"auto_reception_interval", Kind::Edit, {IDC_EM2_INTERVAL}, IDC_EM2_AUTO_RECEPTION},
      {"reply_address", Kind::Edit, {IDC_EM2_REPLY_ADDRESS}},
      {"header_print", Kind::Check, {IDC_EM2_HEADER_PRINT}},
      // LDAP Setting.
      {"ldap_server", Kind::Edit, {IDC_LDAP_SERVER}},
      {"ldap_port", Kind::Edit, {IDC_LDAP_PORT}},
      {"ldap_search_base", Kind::Edit, {IDC_LDAP_SEARCH_BASE}},
      {"ldap_search_method", Kind::List, {IDC_LDAP_SEARCH_METHOD}},
      {"ldap_timeout", Kind::Slider, {IDC_LDAP_TIMEOUT}},
      {"ldap_max_search_results", Kind::Slider, {IDC_LDAP_MAX_RESULTS}},
      {"ldap_account", Kind::Edit, {IDC_LDAP_ACCOUNT}},
      {"ldap_password", Kind::Edit, {IDC_LDAP_PASSWORD}},
      {"ldap_domain_name", Kind::Edit, {IDC_LDAP_DOMAIN}},
      {"ldap_ssl", Kind::Radio, {IDC_LDAP_SSL_ENABLE, IDC_LDAP_SSL_DISABLE}},
      {"ldap_authentication",
       Kind::Radio,
       {IDC_LDAP_AUTH_ANONYMOUS, IDC_LDAP_AUTH_SIMPLE, IDC_LDAP_AUTH_DIGEST, IDC_LDAP_AUTH_SPNEGO}},
      // Communication Setting.
      {"line_monitor",
       Kind::Radio,
       {IDC_COM_MONITOR_HIGH, IDC_COM_MONITOR_LOW, IDC_COM_MONITOR_OFF}},
      {"pstn_pbx", Kind::Radio, {IDC_COM_PSTN, IDC_COM_PBX}},
      // Machine Information.
      {"machine_name", Kind::Edit, {IDC_MI_NAME}},
      {"telephone_number", Kind::Edit, {IDC_MI_PHONE}},
  };
  return kReaches;
}

// Settings this test does not drive control by control, and why. Each is
// covered by its page's own tests; the list keeps a new setting from being
// left out unnoticed.
const std::set<std::string>& NotReached() {
  static const std::set<std::string> kNames = [] {
    std::set<std::string> names = {
        // Read only: neither way changes them.
        "region_code", "maximum_rings",
        // Sub-dialogs of their pages (Inch/Metric Setting, Paper Type,
        // Select Tray, Change Admin No., Account Track).
        "tray1_inch_metric", "tray2_inch_metric", "tray3_inch_metric", "tray4_inch_metric",
        "tray5_inch_metric", "tray1_paper_type", "tray2_paper_type", "tray3_paper_type",
        "tray4_paper_type", "tray5_paper_type", "multi_bypass_paper_type", "tray1_rx_print",
        "tray2_rx_print", "tray3_rx_print", "tray4_rx_print", "tray5_rx_print",
        "administrator_number", "account_track",
        // Controls shared by two settings, driven in the coupled cases:
        // the Auto Panel Reset box and list, the density and quality
        // buttons, the Memory RX window, forwarding, Tone/Pulse, the
        // e-mail mode with its lists, call transfer, the prefix of PBX
        // dialling, the paper priority list, the remote password.
        "auto_panel_reset", "quality_priority", "density_priority", "paper_priority", "memory_rx",
        "memory_rx_password", "memory_rx_on_time", "memory_rx_off_time", "forward_mode",
        "dial_type", "pulse_rate", "email_mode", "max_tx_size", "max_quality", "coding",
        "call_transfer", "call_transfer_count", "prefix", "tel_fax_mode", "rbt_signal_time",
        "answer_machine", "remote_password"};
    for (int id = 1; id <= kAccountCount; ++id) {
      char name[32];
      std::snprintf(name, sizeof name, "access_number_%02d", id);
      names.insert(name);
    }
    return names;
  }();
  return kNames;
}

// A starting data set whose pages open without changing anything: the
// demonstration machine, with the working values and the image agreeing.
std::unique_ptr<DataSet> Base() {
  auto set = std::make_unique<DataSet>();
  BuildDemoMachine(*set);
  set->addressBookOnly = false;
  PackTransferImage(*set);
  UnpackTransferImage(*set);
  return set;
}

std::vector<uint8_t> Image(const DataSet& set) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(set.records);
  return std::vector<uint8_t>(p, p + sizeof set.records);
}

struct Outcome {
  bool accepted = false;
  std::vector<uint8_t> image;
  std::string note;  // the catalog's refusal, or what the page showed
};

// odctool set: the assignments, then the pages' Apply.
Outcome ByName(const DataSet& base, const Values& values) {
  auto set = std::make_unique<DataSet>(base);
  const SettingsChange change = ApplyNamedSettings(*set, values);
  Outcome o;
  o.note = change.problem;
  if (!change.problem.empty()) return o;
  if (change.changed) PackTransferImage(*set);
  o.accepted = true;
  o.image = Image(*set);
  return o;
}

// The page as the sheet runs it: opened, shown, the user's steps, left and
// applied. `stands` says whether the page now shows what was asked for (a
// slider clamps, a filter drops characters: the page cannot produce the
// value then, which is its refusal).
using Steps = std::function<void(MemorySurface&, PageDriver&, DataSet&)>;
Outcome OnPage(const DataSet& base, PageId pageId, const Steps& steps,
               const std::function<bool(const DataSet&)>& stands) {
  auto set = std::make_unique<DataSet>(base);
  SettingsUiState ui;
  RecordingHost host;
  host.inchPaper = UpdateInchPaperFlag(*set);
  SettingsContext ctx{*set, ui, host};
  auto page = CreateSettingsPageLogic(pageId, ctx);
  Outcome o;
  if (page == nullptr) return o;
  PageDriver driver(ctx, *page);
  MemorySurface s;
  driver.Init(s);
  driver.SetActive(s);
  steps(s, driver, *set);
  const bool left = driver.KillActive(s);
  const bool applied = left && driver.Apply(s);
  for (const std::string& m : s.messages) o.note += m + " | ";
  o.accepted = applied && stands(*set);
  o.image = Image(*set);
  return o;
}

// Compares the two ways; returns "" when they agree.
std::string Disagreement(const Outcome& byName, const Outcome& onPage) {
  if (byName.accepted != onPage.accepted) {
    return std::string(byName.accepted
                           ? "odctool set accepts, the page refuses (" + onPage.note
                           : "odctool set refuses (" + byName.note + "), the page accepts") +
           (byName.accepted ? ")" : "");
  }
  if (!byName.accepted || byName.image == onPage.image) return "";
  for (size_t i = 0; i < byName.image.size(); ++i) {
    if (byName.image[i] == onPage.image[i]) continue;
    const size_t record = i / kRecordSize;
    char where[160];
    std::snprintf(where, sizeof where,
                  "the images differ first in item 0x%05X at byte %d: by name 0x%02X, on the "
                  "page 0x%02X",
                  static_cast<unsigned>(byName.image[record * kRecordSize] |
                                        byName.image[record * kRecordSize + 1] << 8 |
                                        byName.image[record * kRecordSize + 2] << 16),
                  static_cast<int>(i % kRecordSize) - 8, byName.image[i], onPage.image[i]);
    return where;
  }
  return "";
}

// The names a choice takes, in the page's order, as get names them.
std::vector<std::string> NamesOf(const CatalogSetting& s, const DataSet& set) {
  std::vector<std::string> names;
  const std::string accepted = AcceptedValues(s, &set);
  size_t start = 0;
  while (start < accepted.size()) {
    const size_t comma = accepted.find(", ", start);
    names.push_back(accepted.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 2;
  }
  return names;
}

// The values tried for a setting: every choice; for numbers each end, one
// past each end and a middle value; for texts a fitting text, one character
// too many and a character the field does not take.
std::vector<std::string> ValuesOf(const CatalogSetting& s, const DataSet& set) {
  std::vector<std::string> values;
  switch (s.form) {
    case SettingForm::OnOff:
    case SettingForm::Choice:
      return NamesOf(s, set);
    case SettingForm::Number:
    case SettingForm::NumberOrOff: {
      int low = s.low, high = s.high;
      if (s.item == 0x10903) {  // rings: the machine's range, as get shows it
        const std::string accepted = AcceptedValues(s, &set);
        std::sscanf(accepted.c_str(), "%d to %d", &low, &high);
      }
      for (int v : {low, high, (low + high) / 2, high + 1, low - 1}) {
        if (v >= 0) values.push_back(std::to_string(v));
      }
      if (s.form == SettingForm::NumberOrOff) values.push_back("off");
      return values;
    }
    case SettingForm::Text:
    case SettingForm::SecretText:
    case SettingForm::MailAddress: {
      const bool mail = s.form == SettingForm::MailAddress;
      std::string fitting = mail                             ? "ab@cd.ef"
                            : s.filter == TextFilter::Phone  ? "0123 45-6"
                            : s.filter == TextFilter::Digits ? "12"
                                                             : "AB12";
      values.push_back(fitting);
      values.push_back("");
      std::string tooLong(
          static_cast<size_t>(s.limit) + 1,
          s.filter == TextFilter::Phone || s.filter == TextFilter::Digits ? '1' : 'A');
      if (mail) tooLong = std::string(static_cast<size_t>(s.limit) - 5, 'a') + "@cd.ef";
      values.push_back(tooLong);
      values.push_back(
          fitting + (s.filter == TextFilter::Phone || s.filter == TextFilter::Digits ? "x" : "\t"));
      if (mail) values.push_back("abcd.ef");
      return values;
    }
    case SettingForm::IpAddress:
      return {"10.1.2.3", "192.168.0.0", "127.0.0.1", "255.255.255.0", "0.0.0.0"};
    default:
      return values;
  }
}

std::string StoredText(const CatalogSetting& s, const DataSet& set) {
  const bool text = s.form == SettingForm::Text || s.form == SettingForm::SecretText ||
                    s.form == SettingForm::MailAddress;
  return text ? std::string(SettingText(set, s.item)) : SettingValueText(set, s);
}

// Set by the steps when the control that edits the setting cannot be used
// (disabled or hidden): the page cannot be asked for the value at all.
bool g_unreachable = false;

// The page's position for a shown number.
int SliderPosition(const CatalogSetting& s, const DataSet& set, int shown) {
  if (s.item == 0x10903) return GetSetting(set, kRegionCodeId) == 3 ? shown : shown - 1;
  return shown;
}

// Reaches `value` of setting `s` on the page as a user would.
Steps StepsFor(const Reach& r, const CatalogSetting& s, const std::string& value) {
  return [&r, &s, value](MemorySurface& m, PageDriver& d, DataSet& set) {
    for (const Reach& other : Reaches()) {
      if (other.kind == Kind::Radio) m.RadioGroup(other.ids);
    }
    // Nobody clicks, types into or drags a disabled or hidden control.
    auto usable = [&](int id) { return m.IsEnabled(id) && m.IsShown(id); };
    g_unreachable = false;
    auto click = [&](int id) {
      if (usable(id)) m.Click(d, id);
    };
    // Turning on what enables the control, and afterwards back what was
    // chosen: the radio button of the same group that was checked, or the
    // check box as it was.
    int restore = 0;
    if (r.enabler != 0 && !usable(r.ids[0]) && !m.IsChecked(r.enabler)) {
      restore = r.enabler;
      auto group = m.radios.find(r.enabler);
      if (group != m.radios.end()) {
        for (int id : group->second)
          if (m.IsChecked(id)) restore = id;
      }
      click(r.enabler);
    }
    switch (r.kind) {
      case Kind::Check: {
        const bool on = value == "on";
        if (m.IsChecked(r.ids[0]) != on) click(r.ids[0]);
        break;
      }
      case Kind::Radio:
      case Kind::List: {
        const std::vector<std::string> names = NamesOf(s, set);
        const auto found = std::find(names.begin(), names.end(), value);
        if (found == names.end()) return;
        const int index = static_cast<int>(found - names.begin());
        // A choice already made is left alone, as a user would.
        if (r.kind == Kind::List) {
          if (m.ListSelection(r.ids[0]) != index && usable(r.ids[0])) m.Choose(d, r.ids[0], index);
        } else if (!m.IsChecked(r.ids[static_cast<size_t>(index)])) {
          click(r.ids[static_cast<size_t>(index)]);
        }
        break;
      }
      case Kind::Slider:
        if (usable(r.ids[0]))
          m.Slide(d, r.ids[0], kThumbPosition, SliderPosition(s, set, std::stoi(value)));
        break;
      case Kind::ShutOff:
        if (value == "off") {
          if (m.IsChecked(r.ids[0])) click(r.ids[0]);
        } else {
          if (!m.IsChecked(r.ids[0])) click(r.ids[0]);
          if (usable(r.ids[1])) m.Slide(d, r.ids[1], kThumbPosition, std::stoi(value));
        }
        break;
      case Kind::Edit:
        // Typed when the stored value is not already the one asked for.
        if (usable(r.ids[0]) && StoredText(s, set) != value) m.Type(d, r.ids[0], value);
        break;
      case Kind::Address: {
        if (!usable(r.ids[0])) break;
        ControlState& c = m.At(r.ids[0]);
        int octets[4] = {};
        std::sscanf(value.c_str(), "%d.%d.%d.%d", &octets[0], &octets[1], &octets[2], &octets[3]);
        for (int i = 0; i < 4; ++i) c.octets[i] = static_cast<uint8_t>(octets[i]);
        c.filledFields = 4;
        d.Command(m, r.ids[0], kAddressFieldChanged);
        break;
      }
    }
    g_unreachable = !usable(r.ids[0]);
    if (r.kind == Kind::Radio) {
      const std::vector<std::string> names = NamesOf(s, set);
      const auto found = std::find(names.begin(), names.end(), value);
      if (found != names.end())
        g_unreachable = !usable(r.ids[static_cast<size_t>(found - names.begin())]);
    }
    if (restore != 0) click(restore);
  };
}

const CatalogSetting& Setting(const char* name) {
  const CatalogSetting* s = FindCatalogSetting(name);
  EXPECT_NE(s, nullptr) << name;
  return *s;
}

// Where the two ways are known to part, each with its reason. Listed one by
// one and required to part still, so that a change on either side shows
// here (an entry that now agrees is to be taken out).
const std::map<std::string, const char*>& KnownDifferences() {
  static const char* const kAddressRule =
      "by name the address rule is checked on every address given, so that a file never "
      "carries an address the machine refuses once the mode is switched; the page checks the "
      "IP address and gateway only while the IP mode is Specify IP address";
  static const char* const kInterval =
      "the page checks the auto reception interval only while Auto reception is on";
  static const char* const kErase =
      "Copy Setting(1) shows and holds an erase width of 0 as 5 but packs it only when "
      "something on the page changes; by name 5 is stored";
  static const std::map<std::string, const char*> kValues = {
      {"ip_address=192.168.0.0", kAddressRule},
      {"ip_address=127.0.0.1", kAddressRule},
      {"ip_address=255.255.255.0", kAddressRule},
      {"ip_address=0.0.0.0", kAddressRule},
      {"gateway=192.168.0.0", kAddressRule},
      {"gateway=127.0.0.1", kAddressRule},
      {"gateway=255.255.255.0", kAddressRule},
      {"gateway=0.0.0.0", kAddressRule},
      {"auto_reception_interval=0", kInterval},
      {"auto_reception_interval=61", kInterval},
      {"erase_left=5", kErase},
      {"erase_upper=5", kErase},
      {"erase_frame=5", kErase},
      {"dns_server=10.1.2.3",
       "the demonstration machine's DNS choice is 1, which neither radio button stands for: "
       "switching DNS on to type the address cannot be undone on the page"},
  };
  return kValues;
}

TEST(CatalogAgainstPages, EverySettingIsReachedOrNamedWhyNot) {
  std::set<std::string> reached;
  for (const Reach& r : Reaches()) {
    EXPECT_NE(FindCatalogSetting(r.name), nullptr) << r.name;
    EXPECT_TRUE(reached.insert(r.name).second) << r.name << " twice";
  }
  for (const CatalogSetting& s : SettingCatalog()) {
    const bool listed = reached.count(s.name) + NotReached().count(s.name);
    EXPECT_EQ(listed, 1) << s.name << ": reach it on its page here, or say why not";
  }
}

TEST(CatalogAgainstPages, EachValueOfEachSettingAgrees) {
  const auto base = Base();
  int compared = 0;
  for (const Reach& r : Reaches()) {
    const CatalogSetting& s = Setting(r.name);
    for (const std::string& value : ValuesOf(s, *base)) {
      SCOPED_TRACE(std::string(r.name) + "=" + value);
      const Outcome byName = ByName(*base, {{r.name, value}});
      const Outcome onPage = OnPage(*base, s.page, StepsFor(r, s, value), [&](const DataSet& set) {
        return !g_unreachable && StoredText(s, set) == value;
      });
      const std::string disagreement = Disagreement(byName, onPage);
      const std::string what = std::string(r.name) + "=" + value;
      const auto known = KnownDifferences().find(what);
      if (known != KnownDifferences().end()) {
        EXPECT_NE(disagreement, "") << "now agrees, take it off the list: " << known->second;
      } else {
        EXPECT_EQ(disagreement, "");
      }
      ++compared;
    }
  }
  EXPECT_GT(compared, 250);
}

// ---------------------------------------------------------------------------
// The rules that tie settings together.

struct Coupled {
  const char* what;
  std::function<void(DataSet&)> prepare;  // the starting data set
  Values values;
  PageId page;
  Steps steps;
};

// Memory RX on, then the window's times typed (an empty text leaves a time
// out).
void TypeTimes(MemorySurface& m, PageDriver& d, const char* onHour, const char* onMinute,
               const char* offHour, const char* offMinute) {
  m.RadioGroup({IDC_RX_MEMORY_ON, IDC_RX_MEMORY_OFF});
  m.Click(d, IDC_RX_MEMORY_ON);
  m.Type(d, IDC_RX_ON_HOUR, onHour);
  m.Type(d, IDC_RX_ON_MINUTE, onMinute);
  m.Type(d, IDC_RX_OFF_HOUR, offHour);
  m.Type(d, IDC_RX_OFF_MINUTE, offMinute);
}

void MemoryRxOff(DataSet& set) {
  SetSetting(set, fax_rx_items::kMemoryRxMode, 0);
  std::memset(SettingBytes(set, fax_rx_items::kMemoryRxWindow) + 2, 0, 9);
}

void ForwardToFax(DataSet& set) {
  uint8_t* f = SettingBytes(set, kForwardLocationId);
  std::memset(f, 0, 72);
  f[0] = kForwardFax;
  f[1] = 4;
  f[5] = 0x21;  // "1234" packed
  f[6] = 0x43;
  SetSetting(set, fax_rx_items::kForwardMode, 0x00);
}

void PaperSizes(DataSet& set, uint32_t mode, uint32_t x, uint32_t y) {
  SetSetting(set, 0x10106, 0);
  SetSetting(set, mode == 3 ? 0x10200 : mode == 4 ? 0x10202 : 0x10107, x);
  SetSetting(set, mode == 3 ? 0x10201 : mode == 4 ? 0x10203 : 0x10108, y);
}

const std::vector<Coupled>& CoupledCases() {
  static const std::vector<Coupled> kCases = {
      {"forwarding switched OFF forgets its destination",
       ForwardToFax,
       {{"forward_mode", "OFF"}},
       PageId::FaxRxOperation,
       [](MemorySurface& m, PageDriver& d, DataSet&) {
         m.RadioGroup({IDC_RX_FORWARD_ON, IDC_RX_FORWARD_PRINT, IDC_RX_FORWARD_OFF});
         m.Click(d, IDC_RX_FORWARD_OFF);
       }},
      {"forwarding OFF, another FAX RX value changed",
       [](DataSet& set) {
         ForwardToFax(set);
         SetSetting(set, fax_rx_items::kForwardMode, 0x40);
         SetSetting(set, fax_rx_items::kFooter, 0);
       },
       {{"footer", "on"}},
       PageId::FaxRxOperation,
       [](MemorySurface& m, PageDriver& d, DataSet&) { m.Click(d, IDC_RX_FOOTER); }},
      {"Memory RX with both times",
       MemoryRxOff,
       {{"memory_rx", "on"}, {"memory_rx_on_time", "08:30"}, {"memory_rx_off_time", "17:05"}},
       PageId::FaxRxOperation,
       [](MemorySurface& m, PageDriver& d, DataSet&) { TypeTimes(m, d, "08", "30", "17", "05"); }},
      {"Memory RX with the on time only",
       MemoryRxOff,
       {{"memory_rx", "on"}, {"memory_rx_on_time", "08:30"}},
       PageId::FaxRxOperation,
       [](MemorySurface& m, PageDriver& d, DataSet&) { TypeTimes(m, d, "08", "30", "", ""); }},
      {"Memory RX with the off time only",
       MemoryRxOff,
       {{"memory_rx", "on"}, {"memory_rx_off_time", "17:05"}},
       PageId::FaxRxOperation,
       [](MemorySurface& m, PageDriver& d, DataSet&) { TypeTimes(m, d, "", "", "17", "05"); }},
      {"Memory RX with a password and no times",
       MemoryRxOff,
       {{"memory_rx", "on"}, {"memory_rx_password", "2468"}},
       PageId::FaxRxOperation,
       [](MemorySurface& m, PageDriver& d, DataSet&) {
         m.RadioGroup({IDC_RX_MEMORY_ON, IDC_RX_MEMORY_OFF});
         m.Click(d, IDC_RX_MEMORY_ON);
         m.Type(d, IDC_RX_PASSWORD, "2468");
       }},
      {"Memory 1 with sizes out of range",
       [](DataSet& set) { PaperSizes(set, 3, 0, 0); },
       {{"paper_size", "Memory 1"}},
       PageId::PaperSource,
       [](MemorySurface& m, PageDriver& d, DataSet&) {
         m.RadioGroup(
             {IDC_PS_AUTO, IDC_PS_SIZE_INPUT, IDC_PS_HAGAKI, IDC_PS_MEMORY1, IDC_PS_MEMORY2});
         m.Click(d, IDC_PS_MEMORY1);
       }},
      {"Memory 2 with an X out of range",
       [](DataSet& set) { PaperSizes(set, 4, 433, 200); },
       {{"paper_size", "Memory 2"}},
       PageId::PaperSource,
       [](MemorySurface& m, PageDriver& d, DataSet&) {
         m.RadioGroup(
             {IDC_PS_AUTO, IDC_PS_SIZE_INPUT, IDC_PS_HAGAKI, IDC_PS_MEMORY1, IDC_PS_MEMORY2});
         m.Click(d, IDC_PS_MEMORY2);
       }},
      {"Size Input with a Y out of range",
       [](DataSet& set) { PaperSizes(set, 1, 200, 89); },
       {{"paper_size", "Size Input"}},
       PageId::PaperSource,
       [](MemorySurface& m, PageDriver& d, DataSet&) {
         m.RadioGroup(
             {IDC_PS_AUTO, IDC_PS_SIZE_INPUT, IDC_PS_HAGAKI, IDC_PS_MEMORY1, IDC_PS_MEMORY2});
         m.Click(d, IDC_PS_SIZE_INPUT);
       }},
      {"Memory 1 with its sizes given too",
       [](DataSet& set) { PaperSizes(set, 3, 0, 0); },
       {{"paper_size", "Memory 1"}, {"memory1_x", "210"}, {"memory1_y", "297"}},
       PageId::PaperSource,
       [](MemorySurface& m, PageDriver& d, DataSet&) {
         m.RadioGroup(
             {IDC_PS_AUTO, IDC_PS_SIZE_INPUT, IDC_PS_HAGAKI, IDC_PS_MEMORY1, IDC_PS_MEMORY2});
         m.Click(d, IDC_PS_MEMORY1);
         m.Type(d, IDC_PS_X3, "210");
         m.Type(d, IDC_PS_Y4, "297");
       }},
      {"Memory 1 at the ends of its ranges",
       [](DataSet& set) { PaperSizes(set, 3, 140, 90); },
       {{"paper_size", "Memory 1"}},
       PageId::PaperSource,
       [](MemorySurface& m, PageDriver& d, DataSet&) {
         m.RadioGroup(
             {IDC_PS_AUTO, IDC_PS_SIZE_INPUT, IDC_PS_HAGAKI, IDC_PS_MEMORY1, IDC_PS_MEMORY2});
         m.Click(d, IDC_PS_MEMORY1);
       }},
  };
  return kCases;
}

TEST(CatalogAgainstPages, CoupledRulesAgree) {
  for (const Coupled& c : CoupledCases()) {
    SCOPED_TRACE(c.what);
    auto base = Base();
    c.prepare(*base);
    PackTransferImage(*base);
    const Outcome byName = ByName(*base, c.values);
    const Outcome onPage = OnPage(*base, c.page, c.steps, [](const DataSet&) { return true; });
    EXPECT_EQ(Disagreement(byName, onPage), "");
  }
}

}  // namespace
}  // namespace test
}  // namespace odc
