#include "setup/settings/setting_catalog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>

#include "setup/addressbook/entry_dialog_rules.h"
#include "setup/data/bytes.h"
#include "setup/res/resource.h"
#include "setup/settings/english_strings.h"
#include "setup/settings/fax_rx_dialogs.h"
#include "setup/settings/network_ldap_pages.h"
#include "setup/settings/paper_source_page.h"

namespace odc {
namespace {

using F = SettingForm;
using P = PageId;

// Items the rules below look at.
constexpr uint32_t kShutOffTimeId = 0x10002, kShutOffPermissionId = 0x10300;
constexpr uint32_t kAccessId = kAccessNumbersId, kRemoteMonitorId = 0x10304,
                   kRemotePasswordId = 0x10305;
constexpr uint32_t kIpModeId = 0x10306, kIpAddressId = 0x10308, kSubnetMaskId = 0x10309,
                   kGatewayId = 0x1030A, kDnsId = 0x1030C, kDnsServerId = 0x1030E;
constexpr uint32_t kEmailModeId = 0x1040D, kMaxTxSizeId = 0x1040E, kMaxQualityId = 0x1040F,
                   kCodingId = 0x10410;
constexpr uint32_t kQualityPriorityId = 0x10601, kDensityPriorityId = 0x10602;
constexpr uint32_t kPaperSizeModeId = 0x10106;
constexpr uint32_t kMemoryRxModeId = 0x10900, kMemoryRxWindowId = 0x10901, kRingsId = 0x10903,
                   kMaximumRingsId = 0x10904, kForwardModeId = 0x10905;
constexpr uint32_t kDialTypeId = 0x10510, kPulseRateId = 0x10511, kDialTypeLockedId = 0x10520,
                   kBothPulseRatesId = 0x10521;
constexpr int kMemoryRxOnTimeOffset = 2, kMemoryRxPasswordOffset = 4, kMemoryRxOffTimeOffset = 8,
              kMemoryRxTimeFlagsOffset = 10;

CatalogSetting Base(const char* name, uint32_t item, PageId page, const char* meaning,
                    SettingForm form) {
  CatalogSetting s;
  s.name = name;
  s.item = item;
  s.page = page;
  s.meaning = meaning;
  s.form = form;
  return s;
}

CatalogSetting OnOff(const char* name, uint32_t item, PageId page, const char* meaning, uint32_t on,
                     uint32_t off) {
  CatalogSetting s = Base(name, item, page, meaning, F::OnOff);
  s.codes = {{"on", on}, {"off", off}};
  return s;
}

CatalogSetting Choice(const char* name, uint32_t item, PageId page, const char* meaning,
                      std::vector<NamedCode> codes) {
  CatalogSetting s = Base(name, item, page, meaning, F::Choice);
  s.codes = std::move(codes);
  return s;
}

CatalogSetting Number(const char* name, uint32_t item, PageId page, const char* meaning, int low,
                      int high, const char* unit = "", int scale = 1) {
  CatalogSetting s = Base(name, item, page, meaning, F::Number);
  s.low = low;
  s.high = high;
  s.unit = unit;
  s.scale = scale;
  return s;
}

CatalogSetting Text(const char* name, uint32_t item, PageId page, const char* meaning,
                    TextFilter filter, int limit, SettingForm form = F::Text) {
  CatalogSetting s = Base(name, item, page, meaning, form);
  s.filter = filter;
  s.limit = limit;
  s.emptyAllowed = true;
  s.secret = form == F::SecretText;
  return s;
}

CatalogSetting Address(const char* name, uint32_t item, const char* meaning, bool rule) {
  CatalogSetting s = Base(name, item, P::NetworkSetting, meaning, F::IpAddress);
  s.addressRule = rule;
  return s;
}

CatalogSetting Digits(const char* name, uint32_t item, PageId page, const char* meaning, int digits,
                      bool emptyAllowed) {
  CatalogSetting s = Base(name, item, page, meaning, F::SecretDigits);
  s.filter = TextFilter::Digits;
  s.limit = digits;
  s.emptyAllowed = emptyAllowed;
  s.secret = true;
  return s;
}

std::vector<NamedCode> Indexed(std::initializer_list<const char*> names) {
  std::vector<NamedCode> codes;
  uint32_t i = 0;
  for (const char* n : names) codes.push_back({n, i++});
  return codes;
}

std::vector<CatalogSetting> BuildCatalog() {
  std::vector<CatalogSetting> c;
  auto add = [&c](CatalogSetting s) { c.push_back(std::move(s)); };
  const std::initializer_list<const char*> keyTimes = {"0.1 sec", "0.3 sec", "0.5 sec", "1.0 sec",
                                                       "1.5 sec", "2.0 sec", "2.5 sec", "3.0 sec"};

  // Machine Setting.
  add(Choice("auto_panel_reset", 0x10000, P::MachineSetting, "Auto Panel Reset time",
             {{"30 Sec", 0},
              {"1 min", 1},
              {"2 min", 2},
              {"3 min", 3},
              {"4 min", 4},
              {"5 min", 5},
              {"off", 6}}));
  add(Number("energy_save_mode", 0x10001, P::MachineSetting, "Energy Save Mode time", 1, 240,
             "min"));
  {
    CatalogSetting s =
        Number("auto_shut_off", kShutOffTimeId, P::MachineSetting,
               "Auto Shut Off time (off only where the administrator allows it)", 15, 240, "min");
    s.form = F::NumberOrOff;
    add(s);
  }
  add(Choice("density_adf", 0x10003, P::MachineSetting, "Density(ADF) mode",
             {{"Mode1", 0}, {"Mode2", 1}}));
  add(Choice("density_book", 0x10004, P::MachineSetting, "Density(BOOK) mode",
             {{"Mode1", 0}, {"Mode2", 1}}));
  add(Number("print_density", 0x10005, P::MachineSetting, "Print Density, lighter to darker", 0,
             4));
  add(Number("lcd_contrast", 0x10006, P::MachineSetting, "LCD Contrast, lighter to darker", 0, 3));
  add(Choice("buzzer_volume", 0x10007, P::MachineSetting, "Buzzer Volume",
             {{"High", 0x00}, {"Low", 0x40}, {"OFF", 0x80}}));
  add(Choice("language", 0x10008, P::MachineSetting, "panel language (the list of the region)",
             {}));
  {
    CatalogSetting s =
        Number("region_code", kRegionCodeId, P::MachineSetting, "region code (read only)", 0, 255);
    s.readOnly = true;
    add(s);
  }
  add(Choice("initial_mode", 0x1000A, P::MachineSetting, "Initial Mode",
             {{"Copy", 0}, {"Fax", 1}}));
  add(Choice(
      "scan_threshold", 0x1000B, P::MachineSetting, "Scan threshold",
      {{"256 Kbytes", 0x00}, {"512 Kbytes", 0x08}, {"1024 Kbytes", 0x10}, {"1536 Kbytes", 0x18}}));
  add(Choice("key_time_to_start", 0x1000C, P::MachineSetting, "Key Speed Setting: Time To Start",
             Indexed(keyTimes)));
  add(Choice("key_interval", 0x1000D, P::MachineSetting, "Key Speed Setting: Interval",
             Indexed(keyTimes)));

  // Paper Source.
  static const char* const kTrayNames[] = {"tray1", "tray2", "tray3",
                                           "tray4", "tray5", "multi_bypass"};
  static std::deque<std::string> names;  // keeps the composed names in place
  for (int t = 0; t < 5; ++t) {
    names.push_back(std::string(kTrayNames[t]) + "_inch_metric");
    add(Choice(names.back().c_str(), 0x10100 + t, P::PaperSource, "Inch/Metric Setting of a tray",
               {{"Inch", 0}, {"Metric", 1}}));
  }
  add(Choice("media_type", 0x10105, P::PaperSource, "Tray1 Paper: Media Type",
             {{"PLAIN", 0}, {"TRANSPARENCY", 1}, {"CARD", 2}, {"Envelope", 3}}));
  add(Choice("paper_size", 0x10106, P::PaperSource,
             "Tray1 Paper: Paper Size (Size Input, Memory 1 and Memory 2 need their X and Y in "
             "range)",
             {{"Auto", 0}, {"Size Input", 1}, {"Hagaki", 2}, {"Memory 1", 3}, {"Memory 2", 4}}));
  add(Number("size_input_x", 0x10107, P::PaperSource, "Size Input X", 140, 432, "mm"));
  add(Number("size_input_y", 0x10108, P::PaperSource, "Size Input Y", 90, 297, "mm"));
  for (int t = 0; t < 6; ++t) {
    names.push_back(std::string(kTrayNames[t]) + "_paper_type");
    add(Choice(names.back().c_str(), 0x10109 + t, P::PaperSource, "Paper Type of a tray",
               {{"Plain", 0}, {"Recycle", 1}, {"Special", 2}, {"1-Side", 3}}));
  }
  add(Number("memory1_x", 0x10200, P::PaperSource, "Memory 1 X", 140, 432, "mm"));
  add(Number("memory1_y", 0x10201, P::PaperSource, "Memory 1 Y", 90, 297, "mm"));
  add(Number("memory2_x", 0x10202, P::PaperSource, "Memory 2 X", 140, 432, "mm"));
  add(Number("memory2_y", 0x10203, P::PaperSource, "Memory 2 Y", 90, 297, "mm"));

  // Copy Setting(1) and (2).
  add(Choice("paper_priority", 0x10600, P::CopySetting1,
             "Paper Priority (the installed trays, then Multi-Bypass)", {}));
  add(Choice("quality_priority", kQualityPriorityId, P::CopySetting1,
             "Quality Priority (Photo forces Manual density)",
             {{"Text/Photo", 0}, {"Text", 1}, {"Photo", 2}}));
  add(Choice("density_priority", kDensityPriorityId, P::CopySetting1, "Density Priority",
             {{"Auto", 0}, {"Manual", 1}}));
  add(Choice("binding_position", 0x10603, P::CopySetting1, "Binding Position",
             {{"Left", 0}, {"Right", 1}}));
  add(Choice("density_level_auto", 0x10604, P::CopySetting1, "Density Level(A)",
             {{"Light", 0}, {"Normal", 1}, {"Dark", 2}}));
  add(Number("density_level_manual", 0x10605, P::CopySetting1,
             "Density Level(M), lighter to darker", 0, 8));
  add(Number("page_margin", 0x10606, P::CopySetting1, "Page Margin Setting", 0, 20, "mm"));
  add(Number("erase_left", 0x10607, P::CopySetting1, "Erase Setting: Left", 5, 20, "mm"));
  add(Number("erase_upper", 0x10608, P::CopySetting1, "Erase Setting: Upper", 5, 20, "mm"));
  add(Number("erase_frame", 0x10609, P::CopySetting1, "Erase Setting: Frame", 5, 20, "mm"));
  add(OnOff("small_original", 0x1060A, P::CopySetting1, "Small Original", 1, 0));
  add(OnOff("mixed_original", 0x10703, P::CopySetting2, "Mixed Original", 0, 1));
  add(Choice("copy_priority", 0x10700, P::CopySetting2, "Copy Priority",
             {{"Auto Paper Select", 0}, {"Auto Zoom", 1}, {"Manual", 2}}));
  add(Choice("output_priority", 0x10701, P::CopySetting2, "Output Priority",
             {{"NON-Sort", 0}, {"Sort", 1}, {"Group", 2}}));
  add(Choice("copy_4in1_order", 0x10702, P::CopySetting2, "4-IN1 Copy Order",
             {{"Pattern1", 0}, {"Pattern2", 1}}));
  add(OnOff("duplex_copy", 0x10704, P::CopySetting2, "Duplex Copy", 0, 1));
  add(OnOff("crisscross_mode", 0x10705, P::CopySetting2, "Crisscross Mode", 0, 1));

  // FAX TX Operation.
  add(Number("fax_tx_density", 0x10800, P::FaxTxOperation, "Density Level, lighter to darker", 0, 4,
             "", 8));
  add(Choice("fax_tx_quality", 0x10801, P::FaxTxOperation, "Quality Priority",
             {{"Standard / Text", 0},
              {"Fine / Text", 1},
              {"Super Fine / Text", 2},
              {"Standard / Photo", 4},
              {"Fine / Photo", 5},
              {"Super Fine / Photo", 6}}));
  add(Choice("default_tx", 0x10802, P::FaxTxOperation, "Default TX",
             {{"Memory TX", 0}, {"ADF TX", 4}}));
  add(OnOff("fax_header", 0x10803, P::FaxTxOperation, "Header", 2, 0));

  // FAX RX Operation: one item per field of the page, in field order.
  add(OnOff("memory_rx", kMemoryRxModeId, P::FaxRxOperation, "Memory RX Mode", 0x80, 0x00));
  {
    CatalogSetting s = Digits("memory_rx_password", kMemoryRxWindowId, P::FaxRxOperation,
                              "Memory RX password (only while Memory RX is ON)", 4, true);
    s.storage = SettingStorage::CharsAtOffset;
    s.offset = kMemoryRxPasswordOffset;
    add(s);
  }
  for (int off = 0; off < 2; ++off) {
    CatalogSetting s =
        Base(off ? "memory_rx_off_time" : "memory_rx_on_time", kMemoryRxWindowId, P::FaxRxOperation,
             off ? "Memory RX Off Time (only while Memory RX is ON; set together with the On Time)"
                 : "Memory RX On Time (only while Memory RX is ON; set together with the Off Time)",
             F::Time);
    s.storage = SettingStorage::TimeAtOffset;
    s.offset = off ? kMemoryRxOffTimeOffset : kMemoryRxOnTimeOffset;
    s.flagOffset = kMemoryRxTimeFlagsOffset;
    s.flag = off ? 0x40 : 0x80;
    s.emptyAllowed = true;
    add(s);
  }
  add(Choice("reduction_rx", 0x10902, P::FaxRxOperation, "Reduction RX",
             {{"ON", 0}, {"OFF", 1}, {"CUT", 2}}));
  add(Number("number_of_rings", kRingsId, P::FaxRxOperation,
             "No. of rings, as the page shows it (stored one lower except in region code 3)", 0,
             255));
  {
    CatalogSetting s = Number("maximum_rings", kMaximumRingsId, P::FaxRxOperation,
                              "upper limit of the stored number of rings (read only)", 0, 255);
    s.readOnly = true;
    add(s);
  }
  add(Choice("forward_mode", kForwardModeId, P::FaxRxOperation,
             "Forward Mode (ON needs a forward location; OFF clears it)",
             {{"ON", 0x00}, {"ON(Print)", 0x20}, {"OFF", 0x40}}));
  add(Choice("rx_print", 0x10907, P::FaxRxOperation, "RX Print",
             {{"Memory RX", 8}, {"Print RX", 0}}));
  add(Choice("rx_mode", 0x10908, P::FaxRxOperation, "RX Mode",
             {{"Auto RX", 0}, {"Manual RX", 0x20}}));
  add(OnOff("footer", 0x10909, P::FaxRxOperation, "Footer", 0x10, 0));
  for (int t = 0; t < 5; ++t) {
    names.push_back(std::string(kTrayNames[t]) + "_rx_print");
    add(OnOff(names.back().c_str(), 0x1090A + t, P::FaxRxOperation,
              "Select Tray: the tray prints received faxes", 1u << t, 0));
  }
  add(OnOff("closed_network", 0x1090F, P::FaxRxOperation, "Closed Network", 0x20, 0));
  add(OnOff("call_transfer", 0x10910, P::FaxRxOperation, "Call Transfer (region code 3)", 0x10, 0));
  add(Number("call_transfer_count", 0x10911, P::FaxRxOperation, "Call Transfer count", 0, 9));

  // Scan Setting and Report Setting.
  add(Choice("scan_resolution", 0x10B00, P::ScanSetting, "Quality Priority",
             {{"150 DPI", 0}, {"300 DPI", 8}, {"600 DPI", 16}}));
  add(Choice("scan_image_format", 0x10B01, P::ScanSetting, "Image Format",
             {{"TIFF", 0}, {"PDF", 4}}));
  add(Choice("scan_coding", 0x10B02, P::ScanSetting, "Coding Method",
             {{"MH", 0}, {"MR", 1}, {"MMR", 2}}));
  add(OnOff("activity_report", 0x10A00, P::ReportSetting, "Activity Report", 0x80, 0));
  add(OnOff("reservation_report", 0x10A01, P::ReportSetting, "Reservation Report", 0x40, 0));
  add(OnOff("tx_result_report", 0x10A02, P::ReportSetting, "TX Result Report", 0x20, 0));
  add(OnOff("rx_result_report", 0x10A03, P::ReportSetting, "RX Result Report", 0x10, 0));

  // Administrator Mode.
  add(Digits("administrator_number", kAdminNumberId, P::AdministratorMode,
             "administrator number, six digits", 6, false));
  add(OnOff("user_auto_shut_off", kShutOffPermissionId, P::AdministratorMode,
            "Auto Shut Off: the user may switch Auto Shut Off off", 0, 1));
  add(OnOff("account_track", 0x10301, P::AdministratorMode, "Account Track Mode", 0, 1));
  for (int id = 1; id <= kAccountCount; ++id) {
    char name[32];
    std::snprintf(name, sizeof name, "access_number_%02d", id);
    names.push_back(name);
    CatalogSetting s = Digits(names.back().c_str(), kAccessId, P::AdministratorMode,
                              "Account Track access number of a user ID, 001-999", 3, true);
    s.storage = SettingStorage::U16AtOffset;
    s.offset = static_cast<uint16_t>((id - 1) * 2);
    add(s);
  }
  add(Choice("remote_monitor", kRemoteMonitorId, P::AdministratorMode, "Remote Monitor",
             {{"Limited", 0}, {"Full", 1}, {"Off", 2}}));
  add(Digits("remote_password", kRemotePasswordId, P::AdministratorMode,
             "Remote Password, four digits", 4, false));

  // Network Setting.
  add(Choice("ip_mode", kIpModeId, P::NetworkSetting, "IP addressing",
             {{"Auto", 0}, {"Specify IP address", 1}}));
  add(Address("ip_address", kIpAddressId, "IP Address", true));
  add(Address("subnet_mask", kSubnetMaskId, "Subnet Mask", false));
  add(Address("gateway", kGatewayId, "GateWay", true));
  add(OnOff("gateway_tx", 0x1030B, P::NetworkSetting, "Gateway TX", 1, 0));
  add(Choice("dns", kDnsId, P::NetworkSetting, "DNS Configuration",
             {{"Enable", 0x80}, {"Disable", 0}}));
  add(Address("dns_server", kDnsServerId, "DNS Address", true));
  add(OnOff("web_setting", 0x1030F, P::NetworkSetting, "Web Setting", 1, 0));
  add(OnOff("lpd_setting", 0x10310, P::NetworkSetting, "LPD Setting", 1, 0));
  add(OnOff("slp_setting", 0x10311, P::NetworkSetting, "SLP Setting", 1, 0));
  add(OnOff("snmp_setting", 0x10312, P::NetworkSetting, "SNMP Setting(1)", 1, 0));

  // E-Mail Setting(1) and (2).
  add(Text("sender_name", kSenderNameId, P::EmailSetting1, "Sender Name", TextFilter::Name, 20));
  add(Text("email_address", 0x10403, P::EmailSetting1, "E-Mail Address", TextFilter::Ascii, 64,
           F::MailAddress));
  add(Text("smtp_server", 0x10405, P::EmailSetting1, "SMTP Server Address", TextFilter::Ascii, 64));
  add(Number("smtp_port", 0x10406, P::EmailSetting1, "SMTP Port No.", 1, 65535));
  add(Number("smtp_timeout", 0x10407, P::EmailSetting1, "SMTP Timeout", 30, 300, "sec"));
  add(OnOff("text_insert", 0x10408, P::EmailSetting1, "TEXT Insert", 8, 0));
  add(Text("default_subject", kDefaultSubjectId, P::EmailSetting1, "Default Subject",
           TextFilter::Name, 20));
  add(Choice("email_mode", kEmailModeId, P::EmailSetting1,
             "E-Mail Mode (Advanced starts from the page's defaults)",
             {{"Basic", 0}, {"Advanced", 1}}));
  add(Choice("max_tx_size", kMaxTxSizeId, P::EmailSetting1,
             "Max. TX Size (A3/B4/A4, or Letter/Ledger on inch-paper machines)", {}));
  add(Choice("max_quality", kMaxQualityId, P::EmailSetting1, "Max. Quality",
             {{"Fine", 1}, {"S/F", 2}}));
  add(Choice("coding", kCodingId, P::EmailSetting1, "Coding", {{"MH", 0}, {"MR", 1}, {"MMR", 2}}));
  add(OnOff("pop_before_smtp", 0x1040B, P::EmailSetting1, "POP Before SMTP", 1, 0));
  add(Number("pop_before_smtp_wait", 0x1040C, P::EmailSetting1, "POP Before SMTP wait", 0, 60,
             "sec"));
  add(Text("pop3_server", 0x10412, P::EmailSetting2, "POP3 Server Address", TextFilter::Ascii, 64));
  add(Number("pop3_port", 0x10413, P::EmailSetting2, "POP3 Port No.", 1, 65535));
  add(Number("pop3_timeout", 0x10414, P::EmailSetting2, "POP3 Timeout", 30, 300, "sec"));
  add(Text("pop3_account", 0x10416, P::EmailSetting2, "POP3 Account", TextFilter::Ascii, 64));
  add(Text("pop3_password", 0x10418, P::EmailSetting2, "POP3 Password", TextFilter::Ascii, 32,
           F::SecretText));
  add(OnOff("auto_reception", 0x10419, P::EmailSetting2, "Auto reception", 1, 0));
  add(Number("auto_reception_interval", 0x1041A, P::EmailSetting2, "Auto reception interval", 1, 60,
             "min"));
  add(Text("reply_address", 0x1041C, P::EmailSetting2, "Reply Address", TextFilter::Mail, 64,
           F::MailAddress));
  add(OnOff("header_print", 0x1041D, P::EmailSetting2, "Header Print", 1, 0));

  // LDAP Setting.
  add(Text("ldap_server", 0x10501, P::LdapSetting, "LDAP Server", TextFilter::Name, 64));
  add(Number("ldap_port", 0x10506, P::LdapSetting, "LDAP Port No.", 1, 65535));
  add(Text("ldap_search_base", 0x1050A, P::LdapSetting, "Search Base", TextFilter::Ascii, 64));
  add(Choice("ldap_search_method", 0x1050B, P::LdapSetting, "Search Method",
             {{"BEGIN", 0}, {"CONTAIN", 1}, {"END", 2}}));
  add(Number("ldap_timeout", 0x10507, P::LdapSetting, "LDAP Timeout", 5, 300, "sec"));
  add(Number("ldap_max_search_results", 0x10508, P::LdapSetting, "Max. Search Results", 5, 100));
  add(Text("ldap_account", 0x10503, P::LdapSetting, "LDAP Account", TextFilter::Ascii, 64));
  add(Text("ldap_password", 0x10505, P::LdapSetting, "LDAP Password", TextFilter::Ascii, 32,
           F::SecretText));
  add(Text("ldap_domain_name", 0x1050E, P::LdapSetting, "Domain Name", TextFilter::Ascii, 64));
  add(Choice("ldap_ssl", 0x1050C, P::LdapSetting, "SSL Setting", {{"Enable", 1}, {"Disable", 0}}));
  add(Choice("ldap_authentication", 0x1050F, P::LdapSetting, "Authentication Mode",
             {{"Anonymous", 0}, {"Simple", 1}, {"Digest-MD5", 2}, {"GSS-SPNEGO", 3}}));

  // Communication Setting.
  add(Choice("dial_type", kDialTypeId, P::CommunicationSetting, "Tone/Pulse",
             {{"Tone", 0x00}, {"Pulse", 0x10}}));
  add(Choice("pulse_rate", kPulseRateId, P::CommunicationSetting, "pulse rate of Pulse dialling",
             {{"10PPS", 0}, {"20PPS", 4}}));
  add(Choice("line_monitor", 0x10515, P::CommunicationSetting, "Line Monitor",
             {{"High", 0x00}, {"Low", 0x10}, {"OFF", 0x20}}));
  add(Choice("pstn_pbx", 0x10512, P::CommunicationSetting, "PSTN/PBX",
             {{"PSTN", 0}, {"PBX", 0x40}}));
  {
    CatalogSetting s = Text("prefix", 0x10514, P::CommunicationSetting, "PRE-FIX of PBX dialling",
                            TextFilter::Digits, 4);
    s.storage = SettingStorage::TextChars;
    add(s);
  }
  add(Choice("tel_fax_mode", 0x10516, P::CommunicationSetting, "TEL/FAX Mode (region code 3)",
             {{"On", 0x80}, {"Off", 0}}));
  add(Choice("rbt_signal_time", 0x10517, P::CommunicationSetting, "RBT Signal Time (region code 3)",
             Indexed({"5 sec", "10 sec", "15 sec", "20 sec", "25 sec", "30 sec", "60 sec", "90 sec",
                      "120 sec", "150 sec", "180 sec", "240 sec"})));
  add(Choice("answer_machine", 0x10518, P::CommunicationSetting, "Answer Machine (region code 3)",
             {{"On", 0x40}, {"Off", 0}}));

  // Machine Information.
  add(Text("machine_name", kMachineNameId, P::MachineInformation, "machine name", TextFilter::Name,
           32));
  add(Text("telephone_number", 0x1051C, P::MachineInformation, "Telephone Number",
           TextFilter::Phone, 20));
  return c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const char x = a[i] >= 'A' && a[i] <= 'Z' ? a[i] - 'A' + 'a' : a[i];
    const char y = b[i] >= 'A' && b[i] <= 'Z' ? b[i] - 'A' + 'a' : b[i];
    if (x != y) return false;
  }
  return true;
}

std::string_view Trimmed(std::string_view v) {
  while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
  while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
  return v;
}

bool InchPaper(const DataSet& set) { return UpdateInchPaperFlag(set); }

// Named codes of lists whose entries depend on the data set.
std::vector<NamedCode> CodesOf(const CatalogSetting& s, const DataSet* set) {
  if (!s.codes.empty() || set == nullptr) return s.codes;
  static const char* const kLanguages[][12] = {
      {"ENGLISH", "GERMAN", "FRENCH", "ITALIAN", "DANISH", "DUTCH", "SPANISH", "NORWEGIAN",
       "SWEDISH", "FINNISH", "TURKISH", "PORTUGUESE"},
      {"ENGLISH", "GERMAN", "FRENCH", "CZECH", "HUNGARIAN", "POLISH", "ROMANIAN", "LITHUANIAN",
       "SLOVAKIAN"},
      {"ENGLISH", "JAPANESE"},
      {"ENGLISH", "RUSSIAN"},
      {"ENGLISH", "CHINESE"}};
  std::vector<NamedCode> codes;
  if (s.item == 0x10008) {
    const uint32_t region = GetSetting(*set, kRegionCodeId);
    const int list = region == 0 || region == 2   ? 0
                     : region == 1                ? 1
                     : region == 3                ? 2
                     : region == 4                ? 3
                     : region == 5 || region == 6 ? 4
                                                  : -1;
    if (list < 0) return codes;
    for (uint32_t i = 0; i < 12 && kLanguages[list][i]; ++i)
      codes.push_back({kLanguages[list][i], i});
  } else if (s.item == kMaxTxSizeId) {
    const SizeList sizes = MaxTxSizeList(InchPaper(*set), false);
    static const char* const kInch[] = {"Letter", "Ledger"};
    static const char* const kMetric[] = {"A3", "B4", "A4"};
    for (size_t i = 0; i < sizes.codes.size(); ++i)
      codes.push_back({InchPaper(*set) ? kInch[i] : kMetric[i], sizes.codes[i]});
  } else if (s.item == 0x10600) {
    static const char* const kTrays[] = {"Tray 1", "Tray 2", "Tray 3", "Tray 4", "Tray 5"};
    const int trays = InstalledTrays(*set);
    for (int t = 0; t < trays; ++t) codes.push_back({kTrays[t], static_cast<uint32_t>(t)});
    if (set->machineInfo[machine_info::kMultiBypass] == 2)
      codes.push_back({"Multi-Bypass", static_cast<uint32_t>(trays)});
  }
  return codes;
}

uint32_t StoredNumber(const DataSet& set, const CatalogSetting& s) {
  const uint8_t* p = SettingBytes(set, s.item);
  switch (s.storage) {
    case SettingStorage::U16AtOffset:
      return GetU16(p + s.offset);
    default:
      return GetSetting(set, s.item);
  }
}

std::string StoredChars(const DataSet& set, const CatalogSetting& s) {
  const SettingItem* item = FindSettingItem(s.item);
  const char* p = reinterpret_cast<const char*>(SettingBytes(set, s.item));
  switch (s.storage) {
    case SettingStorage::CharsAtOffset:
      return std::string(p + s.offset, strnlen(p + s.offset, static_cast<size_t>(s.limit)));
    default:
      return std::string(p, strnlen(p, item->width));
  }
}

std::string CodeName(const std::vector<NamedCode>& codes, uint32_t code) {
  for (const NamedCode& c : codes) {
    if (c.code == code) return c.name;
  }
  return "(" + std::to_string(code) + ")";
}

bool NicKit(const DataSet& set) { return set.machineInfo[machine_info::kNicKit] != 0; }
bool AnyAdf(const DataSet& set) {
  return set.machineInfo[machine_info::kAdf] != 0 || set.machineInfo[machine_info::kAdfDuplex] != 0;
}
bool Region3(const DataSet& set) { return GetSetting(set, kRegionCodeId) == 3; }

// The range a person reads for a number. The number of rings is shown one
// above its stored value, except in region code 3, and goes up to the
// machine's maximum rings.
struct NumberRange {
  int low, high, shownOffset;
};
NumberRange RangeOf(const CatalogSetting& s, const DataSet* set) {
  if (s.item != kRingsId || set == nullptr) return {s.low, s.high, 0};
  const int offset = Region3(*set) ? 0 : 1;
  const int maximum =
      std::max(0, static_cast<int>(static_cast<int8_t>(GetSetting(*set, kMaximumRingsId) & 0xFF)));
  return {offset, maximum + offset, offset};
}

bool PageOnSheet(PageId page, const DataSet& set) {
  for (SheetId sheet : {SheetId::Utility, SheetId::Administrator}) {
    for (const PageEntry& e : SheetPages(sheet, set, false)) {
      if (e.page == page) return true;
    }
  }
  return false;
}

// Why this machine's pages do not offer the setting, or the value; "" when
// they do.
std::string Unavailable(const CatalogSetting& s, const DataSet& set, uint32_t code) {
  if (s.readOnly) return "read only: the pages show it but do not change it";
  if (!PageOnSheet(s.page, set)) {
    return std::string("the ") + PageTitle(s.page) + " page is not offered: " +
           (NicKit(set) ? "LDAP is not available on this machine" : "no NIC kit installed");
  }
  const int trays = InstalledTrays(set);
  const uint32_t id = s.item;
  if (id >= 0x10100 && id <= 0x10104 && static_cast<int>(id - 0x10100) >= trays)
    return "tray not installed";
  if (id >= 0x10109 && id <= 0x1010D && static_cast<int>(id - 0x10109) >= trays)
    return "tray not installed";
  if (id >= 0x1090A && id <= 0x1090E && static_cast<int>(id - 0x1090A) >= trays)
    return "tray not installed";
  if (id == 0x1010E && set.machineInfo[machine_info::kMultiBypass] == 1)
    return "Multi-Bypass not installed";
  if (id >= 0x10109 && id <= 0x1010E && code == 3 &&
      set.machineInfo[machine_info::kDuplexUnit] == 0)
    return "1-Side needs the duplex unit";
  if (id == 0x10106 && code == 2 && !Region3(set)) return "Hagaki only with region code 3";
  if ((id == 0x10003 || (id == 0x10802 && code == 4)) && !AnyAdf(set)) return "no ADF installed";
  if (id == 0x10704 && set.machineInfo[machine_info::kDuplexUnit] == 0)
    return "no duplex unit installed";
  if (id == 0x10705 && set.machineInfo[machine_info::kShifter] != 0)
    return "not available with the Shifter installed";
  if (id == 0x10803) {
    const uint32_t machine = GetSetting(set, kMachineValueId);
    if (machine == 2 || machine == 0x13 || machine == 0x18) return "not available on this machine";
  }
  if ((id == 0x10910 || id == 0x10911 || id == 0x10516 || id == 0x10517 || id == 0x10518) &&
      !Region3(set))
    return "only with region code 3";
  if ((id == kDialTypeId || id == kPulseRateId) && GetSetting(set, kDialTypeLockedId) != 0)
    return "the dial type of this machine is locked";
  if (id == kPulseRateId && GetSetting(set, kBothPulseRatesId) == 0 &&
      code != GetSetting(set, kPulseRateId))
    return "this machine allows only its own pulse rate";
  return "";
}

std::string Refusal(const CatalogSetting& s, std::string_view value, const std::string& why,
                    const DataSet& set) {
  std::string text = std::string(s.name) + ": ";
  if (s.secret)
    text += "value refused: ";
  else
    text += "\"" + std::string(value) + "\" refused: ";
  text += why;
  text += (why.back() == '!' ? " Accepted: " : ". Accepted: ") + AcceptedValues(s, &set) + ".";
  return text;
}

// Reads a decimal number of at most nine digits, with the setting's unit
// allowed behind it.
bool ReadNumber(std::string_view v, const char* unit, int& value) {
  v = Trimmed(v);
  const std::string_view u(unit);
  if (!u.empty() && v.size() > u.size() && EqualsNoCase(v.substr(v.size() - u.size()), u))
    v = Trimmed(v.substr(0, v.size() - u.size()));
  if (v.empty() || v.size() > 9 || !FilterDigits(v).accepted) return false;
  value = LeadingInteger(v);
  return true;
}

bool FilterAccepts(const DataSet& set, TextFilter filter, const std::string& text) {
  switch (filter) {
    case TextFilter::None:
      return true;
    case TextFilter::Ascii:
      return std::all_of(text.begin(), text.end(),
                         [](char c) { return IsAsciiTextChar(static_cast<unsigned char>(c)); });
    case TextFilter::Phone:
      return std::all_of(text.begin(), text.end(),
                         [](char c) { return IsPhoneTextChar(static_cast<unsigned char>(c)); });
    case TextFilter::Digits:
      return FilterDigits(text).accepted;
    case TextFilter::Mail:
      return FilterMailText(text).accepted;
    case TextFilter::Name:
      return FilterNameText(text, set.language, GetSetting(set, kMachineVariantId)).accepted;
  }
  return false;
}

// The value as stored, for comparing before and after.
std::vector<uint8_t> StoredBytes(const DataSet& set, uint32_t id) {
  const SettingItem* item = FindSettingItem(id);
  const uint8_t* p = SettingBytes(set, id);
  std::vector<uint8_t> bytes(p, p + item->width);
  const int r = FindRecord(set, id);
  const uint32_t length = r >= 0 ? set.records[r].length : 0;
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(length >> (8 * i)));
  return bytes;
}

void Store(DataSet& set, const CatalogSetting& s, const ParsedValue& v) {
  uint8_t* p = SettingBytes(set, s.item);
  const SettingItem* item = FindSettingItem(s.item);
  switch (s.form) {
    case F::IpAddress:
      std::memcpy(p, v.octets, 4);
      return;
    case F::Text:
    case F::MailAddress:
    case F::SecretText:
      if (s.storage == SettingStorage::TextChars) {
        std::memset(p, 0, item->width);
        std::memcpy(p, v.text.data(), std::min<size_t>(v.text.size(), item->width));
      } else {
        StoreTextSetting(set, s.item, v.text);
      }
      return;
    case F::SecretDigits:
      if (s.storage == SettingStorage::CharsAtOffset) {
        std::memset(p + s.offset, 0, static_cast<size_t>(s.limit));
        std::memcpy(p + s.offset, v.text.data(), v.text.size());
        return;
      }
      if (s.storage == SettingStorage::U16AtOffset) {
        PutU16(p + s.offset, static_cast<uint16_t>(v.number));
        // An access number taken away takes the user's counter with it.
        if (v.number == 0) set.settings.accountCounters[s.offset / 2] = 0;
        return;
      }
      SetSetting(set, s.item, v.number);
      return;
    case F::Time:
      if (v.text.empty()) {
        p[s.flagOffset] = static_cast<uint8_t>(p[s.flagOffset] & ~s.flag);
      } else {
        PutU16(p + s.offset, static_cast<uint16_t>(v.number));
        p[s.flagOffset] |= s.flag;
      }
      return;
    default:
      SetSetting(set, s.item, v.number);
      return;
  }
}

bool SameAsStored(const DataSet& set, const CatalogSetting& s, const ParsedValue& v) {
  const uint8_t* p = SettingBytes(set, s.item);
  switch (s.form) {
    case F::IpAddress:
      return std::memcmp(p, v.octets, 4) == 0;
    case F::Text:
    case F::MailAddress:
    case F::SecretText:
      return StoredChars(set, s) == v.text;
    case F::SecretDigits:
      if (s.storage == SettingStorage::CharsAtOffset) return StoredChars(set, s) == v.text;
      return StoredNumber(set, s) == v.number;
    case F::Time:
      if (v.text.empty()) return (p[s.flagOffset] & s.flag) == 0;
      return (p[s.flagOffset] & s.flag) != 0 && GetU16(p + s.offset) == v.number;
    default:
      return StoredNumber(set, s) == v.number;
  }
}

const CatalogSetting& SettingOfItem(uint32_t id) {
  for (const CatalogSetting& s : SettingCatalog()) {
    if (s.item == id) return s;
  }
  return SettingCatalog().front();
}

// The checks the pages run on apply over several settings together.
std::string CombinedProblem(const DataSet& set, const std::vector<PageId>& touched,
                            const std::vector<uint32_t>& given) {
  auto isGiven = [&given](uint32_t item) {
    return std::find(given.begin(), given.end(), item) != given.end();
  };
  auto touchedPage = [&touched](PageId p) {
    return std::find(touched.begin(), touched.end(), p) != touched.end();
  };
  if (touchedPage(P::NetworkSetting)) {
    std::vector<uint32_t> checked;
    if (GetSetting(set, kIpModeId) == 1) checked = {kIpAddressId, kGatewayId};
    if (GetSetting(set, kDnsId) == 0x80) checked.push_back(kDnsServerId);
    for (uint32_t id : checked) {
      const std::string problem = IpAddressProblem(SettingBytes(set, id));
      if (!problem.empty()) {
        const CatalogSetting& s = SettingOfItem(id);
        return Refusal(s, SettingValueText(set, s),
                       problem + (id == kDnsServerId ? " (DNS is Enable)"
                                                     : " (IP mode is Specify IP address)"),
                       set);
      }
    }
  }
  if (touchedPage(P::PaperSource)) {
    // The page is neither left nor applied while a size of the chosen size
    // mode is outside its range.
    if (const PaperSizeField* f = PaperSizeOutOfRange(set)) {
      const CatalogSetting& mode = SettingOfItem(kPaperSizeModeId);
      const CatalogSetting& size = SettingOfItem(f->item);
      return Refusal(mode, SettingValueText(set, mode),
                     std::string(size.name) + " is " + SettingValueText(set, size) +
                         ": it must be within " + std::to_string(f->low) + " to " +
                         std::to_string(f->high) + " (set it in the same command)",
                     set);
    }
  }
  if (touchedPage(P::CopySetting1) && GetSetting(set, kQualityPriorityId) == 2 &&
      GetSetting(set, kDensityPriorityId) == 0) {
    return Refusal(SettingOfItem(kDensityPriorityId), "Auto",
                   "Auto is not available while quality_priority is Photo", set);
  }
  // Only the Machine Setting page refuses it: the Administrator Mode page
  // takes the permission away whatever the time, and Machine Setting then
  // switches Auto Shut Off on when it is next shown.
  if (touchedPage(P::MachineSetting) && GetSetting(set, kShutOffPermissionId) != 0 &&
      GetSetting(set, kShutOffTimeId) == 0) {
    return Refusal(SettingOfItem(kShutOffTimeId), "off",
                   "the administrator does not let Auto Shut Off be switched off", set);
  }
  if (touchedPage(P::AdministratorMode) && GetSetting(set, kRemoteMonitorId) == 1 &&
      GetSetting(set, kRemotePasswordId) > 9999) {
    return Refusal(SettingOfItem(kRemotePasswordId), "",
                   "Invalid password : must be within 0000 to 9999 !", set);
  }
  if (touchedPage(P::AdministratorMode)) {
    // Account Track keeps every access number for one user ID only.
    const uint8_t* numbers = SettingBytes(set, kAccessId);
    for (int a = 0; a < kAccountCount; ++a) {
      const uint16_t number = GetU16(numbers + 2 * a);
      for (int b = 0; number != 0 && b < a; ++b) {
        if (GetU16(numbers + 2 * b) != number) continue;
        char text[64];
        std::snprintf(text, sizeof text, "This Access No. is exist(ID%02d)", b + 1);
        const CatalogSetting* s = FindCatalogSetting(
            "access_number_" + std::string(a < 9 ? "0" : "") + std::to_string(a + 1));
        return Refusal(*s, "", text, set);
      }
    }
  }
  if (isGiven(kMemoryRxWindowId) && GetSetting(set, kMemoryRxModeId) != 0x80) {
    const CatalogSetting* password = FindCatalogSetting("memory_rx_password");
    if (!StoredChars(set, *password).empty())
      return Refusal(*password, "", "Memory RX is OFF: it keeps no password", set);
    const uint8_t flags = SettingBytes(set, kMemoryRxWindowId)[kMemoryRxTimeFlagsOffset];
    for (const char* name : {"memory_rx_on_time", "memory_rx_off_time"}) {
      const CatalogSetting* time = FindCatalogSetting(name);
      if (flags & time->flag)
        return Refusal(*time, SettingValueText(set, *time),
                       "Memory RX is OFF: it keeps no time window", set);
    }
  }
  if (isGiven(kForwardModeId)) {
    // Forwarding switched on needs somewhere to forward to.
    if (GetSetting(set, kForwardModeId) != 0x40) {
      if (!ForwardHasDestination(SettingBytes(set, kForwardLocationId))) {
        const CatalogSetting& s = SettingOfItem(kForwardModeId);
        return Refusal(s, SettingValueText(set, s),
                       "no forward location is stored (choose it in the program)", set);
      }
    }
  }
  return "";
}

// The coupled rules of the pages, for a setting whose value just changed.
// `given` holds the items the command sets itself: those are left alone.
void Couple(DataSet& set, uint32_t id, uint32_t before, const std::vector<uint32_t>& given) {
  auto isGiven = [&given](uint32_t item) {
    return std::find(given.begin(), given.end(), item) != given.end();
  };
  const uint32_t now = GetSetting(set, id);
  if (id == kQualityPriorityId && !isGiven(kDensityPriorityId)) {
    // Photo needs Manual density; Text and Text/Photo start from Auto.
    SetSetting(set, kDensityPriorityId, now == 2 ? 1 : 0);
  }
  if (id == kEmailModeId && now == 1 && before != 1) {
    const bool inch = InchPaper(set);
    if (!isGiven(kMaxTxSizeId)) SetSetting(set, kMaxTxSizeId, inch ? 9 : 0);
    if (!isGiven(kMaxQualityId)) SetSetting(set, kMaxQualityId, 2);
    if (!isGiven(kCodingId)) SetSetting(set, kCodingId, 0);
  }
  if (id == kMemoryRxModeId && now == 0 && before == 0x80) {
    // Switching Memory RX off empties its password and time window.
    uint8_t* window = SettingBytes(set, kMemoryRxWindowId);
    std::memset(window + kMemoryRxPasswordOffset, 0, 4);
    window[kMemoryRxTimeFlagsOffset] = 0;
  }
}

// The Memory RX window's two times are set together, as the page's Apply
// composes them: a window with one time only is one the page never shows.
template <typename Assignments>
std::string TimeWindowProblem(const DataSet& set, const Assignments& assignments) {
  bool timeGiven = false;
  for (const auto& a : assignments) timeGiven = timeGiven || a.setting->form == F::Time;
  if (!timeGiven) return "";
  const uint8_t flags = SettingBytes(set, kMemoryRxWindowId)[fax_rx_items::kTimeFlagsOffset] &
                        (fax_rx_items::kOnTimeSet | fax_rx_items::kOffTimeSet);
  if (flags == 0 || flags == (fax_rx_items::kOnTimeSet | fax_rx_items::kOffTimeSet)) return "";
  const CatalogSetting* missing = FindCatalogSetting(
      flags == fax_rx_items::kOnTimeSet ? "memory_rx_off_time" : "memory_rx_on_time");
  return Refusal(*missing, "",
                 "the On Time and the Off Time are set together: give both times, or empty both",
                 set);
}

// What applying a changed page does beyond storing its values.
void ApplyPages(DataSet& set, const std::vector<PageId>& changed) {
  if (std::find(changed.begin(), changed.end(), P::CopySetting1) != changed.end()) {
    // Copy Setting(1) starts its erase widths within 5-20 and stores them so.
    for (uint32_t id : {0x10607u, 0x10608u, 0x10609u})
      SetSetting(set, id, std::clamp<uint32_t>(GetSetting(set, id), 5, 20));
  }
  if (std::find(changed.begin(), changed.end(), P::FaxRxOperation) != changed.end() &&
      GetSetting(set, kForwardModeId) == 0x40) {
    // Forwarding OFF keeps no forward location.
    std::memset(SettingBytes(set, kForwardLocationId), 0,
                FindSettingItem(kForwardLocationId)->width);
  }
}

}  // namespace

const std::vector<CatalogSetting>& SettingCatalog() {
  static const std::vector<CatalogSetting> kCatalog = BuildCatalog();
  return kCatalog;
}

const CatalogSetting* FindCatalogSetting(std::string_view name) {
  for (const CatalogSetting& s : SettingCatalog()) {
    if (name == s.name) return &s;
  }
  return nullptr;
}

const char* PageTitle(PageId page) {
  static const char* const kTitles[kPageCount] = {
      "Machine Setting",    "Paper Source",          "Copy Setting(1)",    "Copy Setting(2)",
      "FAX TX Operation",   "FAX RX Operation",      "Scan Setting",       "Report Setting",
      "Administrator Mode", "Network Setting",       "E-Mail Setting(1)",  "E-Mail Setting(2)",
      "LDAP Setting",       "Communication Setting", "Machine Information"};
  return kTitles[static_cast<int>(page)];
}

std::string SettingsTableMarkdown() {
  std::string out;
  const CatalogSetting* previous = nullptr;
  auto cell = [](std::string text) {
    std::string escaped;
    for (char c : text) escaped += c == '|' ? std::string("\\|") : std::string(1, c);
    return escaped;
  };
  for (const CatalogSetting& s : SettingCatalog()) {
    if (previous == nullptr || previous->page != s.page) {
      out += std::string(previous ? "\n" : "") + "### " + PageTitle(s.page) +
             "\n\n| Name | Item | Meaning | Accepted values |\n|---|---|---|---|\n";
    }
    previous = &s;
    char item[48];
    std::snprintf(item, sizeof item, "0x%05X", static_cast<unsigned>(s.item));
    std::string where = item;
    if (s.storage == SettingStorage::U16AtOffset || s.storage == SettingStorage::CharsAtOffset) {
      const int last = s.offset + (s.storage == SettingStorage::U16AtOffset ? 1 : s.limit - 1);
      std::snprintf(item, sizeof item, " bytes %d-%d", s.offset, last);
      where += item;
    }
    if (s.storage == SettingStorage::TimeAtOffset) {
      std::snprintf(item, sizeof item, " bytes %d-%d, flag 0x%02X of byte %d", s.offset,
                    s.offset + 1, s.flag, s.flagOffset);
      where += item;
    }
    std::string meaning = s.meaning;
    if (s.secret) meaning += "; `get` shows (set) or (empty)";
    out += "| `" + std::string(s.name) + "` | " + where + " | " + cell(meaning) + " | " +
           cell(AcceptedValues(s)) + " |\n";
  }
  return out;
}

std::string IpAddressProblem(const uint8_t octets[4]) {
  const IpAddressRule rule = CheckIpAddressRule(octets);
  return rule.messageId ? FormatString(EnglishString(rule.messageId), rule.values) : "";
}

std::string SettingValueText(const DataSet& set, const CatalogSetting& s) {
  switch (s.form) {
    case F::OnOff:
    case F::Choice:
      return CodeName(CodesOf(s, &set), StoredNumber(set, s));
    case F::Number:
      return std::to_string(StoredNumber(set, s) / static_cast<uint32_t>(s.scale) +
                            static_cast<uint32_t>(RangeOf(s, &set).shownOffset));
    case F::NumberOrOff: {
      const uint32_t v = StoredNumber(set, s);
      return v == 0 ? "off" : std::to_string(v);
    }
    case F::Text:
    case F::MailAddress:
      return AnsiToUtf8(set.language, StoredChars(set, s));
    case F::IpAddress: {
      const uint8_t* p = SettingBytes(set, s.item);
      char text[20];
      std::snprintf(text, sizeof text, "%u.%u.%u.%u", p[0], p[1], p[2], p[3]);
      return text;
    }
    case F::SecretText:
      return StoredChars(set, s).empty() ? "(empty)" : "(set)";
    case F::SecretDigits:
      if (s.storage == SettingStorage::CharsAtOffset)
        return StoredChars(set, s).empty() ? "(empty)" : "(set)";
      return s.emptyAllowed && StoredNumber(set, s) == 0 ? "(empty)" : "(set)";
    case F::Time: {
      const uint8_t* p = SettingBytes(set, s.item);
      if ((p[s.flagOffset] & s.flag) == 0) return "";
      const uint16_t time = GetU16(p + s.offset);
      char text[16];
      std::snprintf(text, sizeof text, "%02d:%02d", time >> 11, (time >> 5) & 0x3F);
      return text;
    }
  }
  return "";
}

std::string AcceptedValues(const CatalogSetting& s, const DataSet* set) {
  auto withUnit = [&s](std::string text) { return *s.unit ? text + " (" + s.unit + ")" : text; };
  switch (s.form) {
    case F::OnOff:
      return "on, off";
    case F::Choice: {
      const std::vector<NamedCode> codes = CodesOf(s, set);
      if (codes.empty()) {
        if (s.item == 0x10008) return "the languages of the machine's region";
        if (s.item == kMaxTxSizeId) return "A3, B4, A4 (Letter, Ledger on inch-paper machines)";
        return "Tray 1 to the last installed tray, Multi-Bypass when installed";
      }
      std::string text;
      for (const NamedCode& c : codes) text += (text.empty() ? "" : ", ") + std::string(c.name);
      return text;
    }
    case F::Number: {
      const NumberRange range = RangeOf(s, set);
      if (s.item == kRingsId && set == nullptr)
        return "1 to the machine's maximum rings plus 1 (0 to the maximum in region code 3)";
      return withUnit(std::to_string(range.low) + " to " + std::to_string(range.high));
    }
    case F::NumberOrOff:
      return withUnit("off, or " + std::to_string(s.low) + " to " + std::to_string(s.high));
    case F::Text:
    case F::SecretText: {
      static const char* const kFilters[] = {"any characters",
                                             "printable ASCII characters",
                                             "the name characters of the machine",
                                             "e-mail address characters",
                                             "digits, +, - and space",
                                             "digits"};
      return std::string(kFilters[static_cast<int>(s.filter)]) + ", up to " +
             std::to_string(s.limit) + " characters (empty clears it)";
    }
    case F::MailAddress:
      return "an e-mail address (one @ and a dot) of up to " + std::to_string(s.limit) +
             " characters, or empty";
    case F::IpAddress:
      return s.addressRule ? "four numbers 0-255 as a.b.c.d, the first 1-126 or 128-254, the "
                             "last not 0"
                           : "four numbers 0-255 as a.b.c.d";
    case F::SecretDigits: {
      std::string text = "exactly " + std::to_string(s.limit) + " digits";
      if (s.storage == SettingStorage::U16AtOffset) text += " (001-999)";
      if (s.emptyAllowed) text += ", or empty";
      return text;
    }
    case F::Time:
      return "HH:MM (hours 0-23, minutes 0-59), or empty for no time";
  }
  return "";
}

std::string ParseSettingValue(const DataSet& set, const CatalogSetting& s, std::string_view value,
                              ParsedValue& out) {
  out = ParsedValue{};
  if (s.secret && (Trimmed(value) == "(set)" || Trimmed(value) == "(empty)"))
    return Refusal(s, value, "get shows secrets only as (set) or (empty); give the value itself",
                   set);
  switch (s.form) {
    case F::OnOff:
    case F::Choice: {
      const std::string_view v = Trimmed(value);
      for (const NamedCode& c : CodesOf(s, &set)) {
        if (EqualsNoCase(v, c.name)) {
          out.number = c.code;
          return "";
        }
      }
      return Refusal(s, value, "not one of the page's choices", set);
    }
    case F::NumberOrOff:
      if (EqualsNoCase(Trimmed(value), "off")) {
        out.number = 0;
        return "";
      }
      [[fallthrough]];
    case F::Number: {
      int number = 0;
      if (!ReadNumber(value, s.unit, number)) return Refusal(s, value, "not a number", set);
      const NumberRange range = RangeOf(s, &set);
      if (number < range.low || number > range.high)
        return Refusal(
            s, value, FormatString(EnglishString(IDS_INTEGER_RANGE), {range.low, range.high}), set);
      out.number = static_cast<uint32_t>((number - range.shownOffset) * s.scale);
      return "";
    }
    case F::Text:
    case F::MailAddress:
    case F::SecretText: {
      // Typed texts are held in the PC's character set.
      out.text = Utf8ToAnsi(set.language, value);
      if (out.text.find('\0') != std::string::npos || !FilterAccepts(set, s.filter, out.text))
        return Refusal(s, value, "a character the field does not take", set);
      if (static_cast<int>(out.text.size()) > s.limit)
        return Refusal(s, value, "longer than " + std::to_string(s.limit) + " characters", set);
      if (s.form == F::MailAddress && !out.text.empty() && !IsMailAddress(out.text))
        return Refusal(s, value, "E-Mail address is invalid !", set);
      return "";
    }
    case F::IpAddress: {
      const std::string_view v = Trimmed(value);
      int field = 0;
      size_t start = 0;
      while (field < 4) {
        const size_t dot = v.find('.', start);
        const std::string_view part =
            v.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
        int octet = 0;
        if (part.empty() || part.size() > 3 || !FilterDigits(part).accepted ||
            (octet = LeadingInteger(part)) > 255)
          return Refusal(s, value, FormatString(EnglishString(IDS_INTEGER_RANGE), {0, 255}), set);
        out.octets[field++] = static_cast<uint8_t>(octet);
        if (dot == std::string_view::npos) break;
        start = dot + 1;
      }
      if (field != 4 || start == 0 || v.find('.', start) != std::string_view::npos ||
          std::count(v.begin(), v.end(), '.') != 3)
        return Refusal(s, value, "not four numbers separated by dots", set);
      if (s.addressRule) {
        const std::string problem = IpAddressProblem(out.octets);
        if (!problem.empty()) return Refusal(s, value, problem, set);
      }
      return "";
    }
    case F::Time: {
      const std::string_view v = Trimmed(value);
      if (v.empty()) return "";
      const size_t colon = v.find(':');
      const std::string_view hour = v.substr(0, colon);
      const std::string_view minute =
          colon == std::string_view::npos ? std::string_view() : v.substr(colon + 1);
      if (colon == std::string_view::npos || hour.empty() || hour.size() > 2 || minute.empty() ||
          minute.size() > 2 || !FilterDigits(hour).accepted || !FilterDigits(minute).accepted)
        return Refusal(s, value, "not HH:MM", set);
      const int h = LeadingInteger(hour), m = LeadingInteger(minute);
      if (h > 23)
        return Refusal(s, value, FormatString(EnglishString(IDS_INTEGER_RANGE), {0, 23}), set);
      if (m > 59)
        return Refusal(s, value, FormatString(EnglishString(IDS_INTEGER_RANGE), {0, 59}), set);
      out.number = static_cast<uint32_t>((h * 64 + m) * 32);
      out.text = "set";
      return "";
    }
    case F::SecretDigits: {
      const std::string_view v = Trimmed(value);
      if (v.empty() && s.emptyAllowed) return "";
      if (static_cast<int>(v.size()) != s.limit || !FilterDigits(v).accepted)
        return Refusal(s, value, "not " + std::to_string(s.limit) + " digits", set);
      out.text = std::string(v);
      out.number = static_cast<uint32_t>(LeadingInteger(v));
      if (s.storage == SettingStorage::U16AtOffset && out.number == 0)
        return Refusal(s, value, "Invalid access number : must be within 001 to 999 !", set);
      return "";
    }
  }
  return Refusal(s, value, "not understood", set);
}

std::string SettingsUnavailable(const DataSet& set) {
  if (set.addressBookOnly)
    return "this data set holds only an address book: it has no machine settings to read or "
           "change (download from the machine, or open a full settings data file)";
  return "";
}

SettingsChange ApplyNamedSettings(DataSet& set,
                                  const std::vector<std::pair<std::string, std::string>>& values) {
  SettingsChange result;
  result.problem = SettingsUnavailable(set);
  if (!result.problem.empty()) return result;

  struct Assignment {
    const CatalogSetting* setting;
    ParsedValue value;
  };
  std::vector<Assignment> assignments;
  std::vector<uint32_t> givenItems;
  std::vector<PageId> touched;
  for (const auto& [name, text] : values) {
    const CatalogSetting* s = FindCatalogSetting(name);
    if (s == nullptr) {
      result.problem = "unknown setting \"" + name + "\" (odctool get FILE lists the names)";
      return result;
    }
    for (const Assignment& a : assignments) {
      if (a.setting == s) {
        result.problem = std::string(s->name) + ": given twice";
        return result;
      }
    }
    Assignment a{s, {}};
    result.problem = ParseSettingValue(set, *s, text, a.value);
    if (!result.problem.empty()) return result;
    const std::string why = Unavailable(*s, set, a.value.number);
    if (!why.empty()) {
      result.problem = Refusal(*s, text, why, set);
      return result;
    }
    const int r = FindRecord(set, s->item);
    const uint32_t length = r >= 0 ? set.records[r].length : 0;
    const bool typedText =
        s->form == F::Text || s->form == F::MailAddress || s->form == F::SecretText;
    if ((length == 0 || length == kNoData) && !(typedText && s->storage == SettingStorage::Item)) {
      // A value the item does not carry would be packed and then never
      // written to the file or the machine.
      result.problem = Refusal(*s, text,
                               "the data set does not carry this item (the machine did not "
                               "deliver it), so the value could not be kept",
                               set);
      return result;
    }
    assignments.push_back(a);
    givenItems.push_back(s->item);
    if (std::find(touched.begin(), touched.end(), s->page) == touched.end())
      touched.push_back(s->page);
  }

  // Work on a copy so that a refusal leaves the data set as it was.
  auto work = std::make_unique<DataSet>(set);
  std::vector<PageId> changedPages;
  for (const Assignment& a : assignments) {
    if (SameAsStored(*work, *a.setting, a.value)) continue;
    const uint32_t before = StoredNumber(*work, *a.setting);
    Store(*work, *a.setting, a.value);
    Couple(*work, a.setting->item, before, givenItems);
    if (std::find(changedPages.begin(), changedPages.end(), a.setting->page) == changedPages.end())
      changedPages.push_back(a.setting->page);
  }
  result.problem = CombinedProblem(*work, touched, givenItems);
  if (result.problem.empty()) result.problem = TimeWindowProblem(*work, assignments);
  if (!result.problem.empty()) return result;
  ApplyPages(*work, changedPages);

  // Applying the Network Setting page with DNS enabled carries the DNS
  // address item.
  if (std::find(touched.begin(), touched.end(), P::NetworkSetting) != touched.end() &&
      GetSetting(*work, kDnsId) == 0x80)
    SetItemLength(*work, kDnsServerId, 4);

  for (const SettingItem& item : kSettingItems) {
    if (StoredBytes(set, item.id) == StoredBytes(*work, item.id)) continue;
    result.changed = true;
    // The machine is told of a changed value, not of an item length.
    const bool sameValue =
        std::memcmp(SettingBytes(set, item.id), SettingBytes(*work, item.id), item.width) == 0;
    if (!sameValue &&
        (item.id == kIpModeId || item.id == kIpAddressId || item.id == kSubnetMaskId ||
         item.id == kGatewayId || item.id == kDnsId || item.id == kDnsServerId))
      result.networkChanged = true;
  }
  if (std::memcmp(set.settings.accountCounters, work->settings.accountCounters,
                  sizeof set.settings.accountCounters) != 0)
    result.changed = true;
  set = *work;
  return result;
}

}  // namespace odc
