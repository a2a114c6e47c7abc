#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include "setup/data/bytes.h"
#include "setup/data/document.h"
#include "setup/data/file_io.h"
#include "setup/link/demo_machine.h"
#include "setup/link/simulated_machine.h"
#include "setup/settings/setting_catalog.h"
#include "tools/odctool/commands.h"
#include "tools/odctool/link_commands.h"
#include "tools/odctool/settings_commands.h"

namespace odc {
namespace tool {
namespace {

using Values = std::vector<std::pair<std::string, std::string>>;

std::string TempPath(const std::string& name) { return ::testing::TempDir() + name; }

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  return WriteFileAtomically(path, bytes.data(), bytes.size());
}

// Opens a settings data file, changes it as `edit` says and saves it again,
// as the program would.
template <typename Edit>
void Rewrite(const std::string& path, Edit edit) {
  auto set = LoadDataSet(path, Language::SingleByte);
  ASSERT_NE(set, nullptr) << path;
  edit(*set);
  PackTransferImage(*set);
  Document document;
  ASSERT_EQ(SaveDataSet(*set, document, path), 1);
}

// The demonstration machine as a downloaded file: ADF, three trays,
// Multi-bypass, NIC kit and duplex unit installed, region code 1.
class OdctoolSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    input = TempPath("settings_in.DAT");
    output = TempPath("settings_out.DAT");
    ASSERT_TRUE(WriteBytes(input, DemoMachineFileBytes()));
    // Up to nine rings on this machine (the page shows 1-9).
    Rewrite(input, [](DataSet& set) { SetSetting(set, 0x10904, 8); });
    std::remove(output.c_str());
  }
  void TearDown() override {
    std::remove(input.c_str());
    std::remove(output.c_str());
  }

  int Set(const Values& values) { return RunSet(input, values, output, Language::SingleByte, err); }
  std::string Get(const std::string& path, const std::string& name) {
    std::ostringstream text;
    EXPECT_EQ(RunGet(path, {name}, false, Language::SingleByte, text, err), kExitOk) << err.str();
    return text.str();
  }
  bool OutputExists() {
    std::vector<uint8_t> bytes;
    return ReadFileBytes(output, bytes);
  }

  std::string input, output;
  std::ostringstream out, err;
};

TEST_F(OdctoolSettings, SetThenGetRoundTripsEveryForm) {
  struct Case {
    Values values;
    const char* name;
    const char* shown;  // what get prints behind "name = "
    uint32_t item;
    std::vector<uint8_t> stored;  // the item's value bytes in the written file
  };
  const Case cases[] = {
      // On/off with the page's codes, also where "on" is stored as 0.
      {{{"small_original", "on"}}, "small_original", "on", 0x1060A, {1}},
      {{{"mixed_original", "off"}}, "mixed_original", "off", 0x10703, {1}},
      {{{"activity_report", "ON"}}, "activity_report", "on", 0x10A00, {0x80}},
      // Named codes.
      {{{"default_tx", "ADF TX"}}, "default_tx", "ADF TX", 0x10802, {4}},
      {{{"buzzer_volume", "low"}}, "buzzer_volume", "Low", 0x10007, {0x40}},
      {{{"scan_threshold", "1024 Kbytes"}}, "scan_threshold", "1024 Kbytes", 0x1000B, {0x10}},
      {{{"language", "POLISH"}}, "language", "POLISH", 0x10008, {5}},
      {{{"paper_priority", "Multi-Bypass"}}, "paper_priority", "Multi-Bypass", 0x10600, {3}},
      {{{"max_tx_size", "B4"}}, "max_tx_size", "B4", 0x1040E, {1}},
      {{{"auto_panel_reset", "off"}}, "auto_panel_reset", "off", 0x10000, {6}},
      // Numbers, with or without their unit; the TX density is stored 8 x level.
      {{{"auto_shut_off", "30"}}, "auto_shut_off", "30", 0x10002, {30, 0, 0, 0}},
      {{{"auto_shut_off", "off"}}, "auto_shut_off", "off", 0x10002, {0, 0, 0, 0}},
      {{{"size_input_x", "300 mm"}}, "size_input_x", "300", 0x10107, {0x2C, 0x01}},
      {{{"smtp_port", "587"}}, "smtp_port", "587", 0x10406, {0x4B, 0x02, 0, 0}},
      {{{"fax_tx_density", "3"}}, "fax_tx_density", "3", 0x10800, {0x18}},
      // The page shows the rings one above their stored value (region code 1).
      {{{"number_of_rings", "5"}}, "number_of_rings", "5", 0x10903, {4}},
      // Texts (the converted sender name among them) and addresses.
      {{{"smtp_server", "mail.fleet.example"}}, "smtp_server", "mail.fleet.example", 0x10405, {}},
      {{{"sender_name", "Site 7"}}, "sender_name", "Site 7", 0x10401, {}},
      {{{"telephone_number", "+81 3-1234"}}, "telephone_number", "+81 3-1234", 0x1051C, {}},
      {{{"prefix", "0"}}, "prefix", "0", 0x10514, {'0', 0, 0, 0, 0}},
      {{{"reply_address", "desk@site7.example"}},
       "reply_address",
       "desk@site7.example",
       0x1041C,
       {}},
      {{{"ip_address", "10.1.2.3"}}, "ip_address", "10.1.2.3", 0x10308, {10, 1, 2, 3}},
      {{{"subnet_mask", "255.255.0.0"}}, "subnet_mask", "255.255.0.0", 0x10309, {255, 255, 0, 0}},
      // Secrets: stored, never shown.
      {{{"administrator_number", "654321"}},
       "administrator_number",
       "(set)",
       0x20600,
       {0xF1, 0xFB, 0x09, 0}},
      {{{"remote_password", "0042"}}, "remote_password", "(set)", 0x10305, {42, 0, 0, 0}},
      {{{"ldap_password", "s3cret"}}, "ldap_password", "(set)", 0x10505, {}},
      {{{"pop3_password", ""}}, "pop3_password", "(empty)", 0x10418, {}},
      {{{"memory_rx", "on"}, {"memory_rx_on_time", "08:30"}, {"memory_rx_off_time", "18:05"}},
       "memory_rx_on_time",
       "08:30",
       0x10901,
       {0, 0, 0xC0, 0x43, 0, 0, 0, 0, 0xA0, 0x90, 0xC0, 0}},
      {{{"memory_rx", "on"}, {"memory_rx_password", "1234"}},
       "memory_rx_password",
       "(set)",
       0x10901,
       {0, 0, 0, 0, '1', '2', '3', '4', 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::remove(output.c_str());
    ASSERT_EQ(Set(c.values), kExitOk) << err.str();
    EXPECT_EQ(Get(output, c.name), std::string(c.name) + " = " + c.shown + "\n");
    auto set = LoadDataSet(output, Language::SingleByte);
    ASSERT_NE(set, nullptr);
    const int r = FindRecord(*set, c.item);
    ASSERT_GE(r, 0);
    const ItemRecord& record = set->records[r];
    if (c.stored.empty()) {
      // A typed text: the item's data is the text and its length the text's.
      const std::string text = c.values.back().second;
      EXPECT_EQ(record.length, text.size());
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.data), text.size()), text);
    } else {
      ASSERT_LE(c.stored.size(), record.length);
      EXPECT_EQ(std::vector<uint8_t>(record.data, record.data + c.stored.size()), c.stored);
    }
  }
}

TEST_F(OdctoolSettings, OneBadValueRefusesTheCommandAndWritesNothing) {
  struct Case {
    Values values;
    const char* message;
  };
  const Case cases[] = {
      {{{"auto_shut_off", "30"}, {"energy_save_mode", "241"}},
       "odctool: energy_save_mode: \"241\" refused: Invalid value : must be within 1 to 240 ! "
       "Accepted: 1 to 240 (min).\n"},
      {{{"smtp_port", "65536"}},
       "smtp_port: \"65536\" refused: Invalid value : must be within 1 "
       "to 65535 !"},
      {{{"smtp_port", "12ab"}}, "smtp_port: \"12ab\" refused: not a number"},
      {{{"ip_address", "192.168.1"}}, "ip_address: \"192.168.1\" refused: not four numbers"},
      {{{"ip_address", "192.168.1.300"}},
       "ip_address: \"192.168.1.300\" refused: Invalid value : must be within 0 to 255 !"},
      {{{"gateway", "127.0.0.1"}},
       "gateway: \"127.0.0.1\" refused: Invalid value : must be within 1 to 126 and 128 to 254 !"},
      {{{"dns_server", "10.0.0.0"}},
       "dns_server: \"10.0.0.0\" refused: Invalid value : must be within 1 to 255 !"},
      {{{"email_address", "frontoffice.example.com"}},
       "email_address: \"frontoffice.example.com\" refused: E-Mail address is invalid !"},
      {{{"reply_address", "a,b@example.com"}},
       "reply_address: \"a,b@example.com\" refused: a character the field does not take"},
      {{{"administrator_number", "1234567"}},
       "administrator_number: value refused: not 6 digits. Accepted: exactly 6 digits."},
      {{{"remote_password", "123"}}, "remote_password: value refused: not 4 digits"},
      {{{"access_number_07", "000"}},
       "access_number_07: value refused: Invalid access number : must be within 001 to 999 !"},
      {{{"access_number_07", "1001"}}, "access_number_07: value refused: not 3 digits"},
      {{{"machine_name", "An office machine name of 33 chars"}},
       "machine_name: \"An office machine name of 33 chars\" refused: longer than 32 characters"},
      {{{"telephone_number", "0312-ABC"}},
       "telephone_number: \"0312-ABC\" refused: a character the field does not take"},
      {{{"buzzer_volume", "Loud"}},
       "buzzer_volume: \"Loud\" refused: not one of the page's choices. Accepted: High, Low, OFF."},
      {{{"language", "JAPANESE"}}, "Accepted: ENGLISH, GERMAN, FRENCH, CZECH,"},
      {{{"paper_size", "Hagaki"}},
       "paper_size: \"Hagaki\" refused: Hagaki only with region code 3"},
      {{{"tray5_paper_type", "Plain"}}, "tray5_paper_type: \"Plain\" refused: tray not installed"},
      {{{"region_code", "3"}}, "region_code: \"3\" refused: read only"},
      {{{"number_of_rings", "0"}},
       "number_of_rings: \"0\" refused: Invalid value : must be within 1 to 9 !"},
      {{{"no_such_setting", "1"}}, "unknown setting \"no_such_setting\""},
      {{{"smtp_port", "25"}, {"smtp_port", "26"}}, "smtp_port: given twice"},
      // The pages' rules over several settings.
      {{{"quality_priority", "Photo"}, {"density_priority", "Auto"}},
       "density_priority: \"Auto\" refused: Auto is not available while quality_priority is "
       "Photo"},
      {{{"user_auto_shut_off", "off"}, {"auto_shut_off", "off"}},
       "auto_shut_off: \"off\" refused: the administrator does not let Auto Shut Off be switched "
       "off"},
      {{{"ip_mode", "Specify IP address"}, {"gateway", "0.0.0.0"}},
       "gateway: \"0.0.0.0\" refused: Invalid value : must be within 1 to 126 and 128 to 254 !"},
      {{{"forward_mode", "ON(Print)"}},
       "forward_mode: \"ON(Print)\" refused: no forward location is stored"},
      {{{"memory_rx_on_time", "07:00"}},
       "memory_rx_on_time: \"07:00\" refused: Memory RX is OFF: it keeps no time window"},
      {{{"memory_rx_password", "1234"}},
       "memory_rx_password: value refused: Memory RX is OFF: it keeps no password"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    err.str("");
    EXPECT_EQ(Set(c.values), kExitFailure);
    EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    EXPECT_FALSE(OutputExists());
  }
}

TEST_F(OdctoolSettings, AccessNumbersBelongToOneUserId) {
  const std::string first = TempPath("settings_access.DAT");
  ASSERT_EQ(RunSet(input, {{"access_number_05", "123"}}, first, Language::SingleByte, err),
            kExitOk);
  EXPECT_EQ(RunSet(first, {{"access_number_09", "123"}}, output, Language::SingleByte, err),
            kExitFailure);
  EXPECT_NE(err.str().find("access_number_09: value refused: This Access No. is exist(ID05)"),
            std::string::npos)
      << err.str();
  EXPECT_FALSE(OutputExists());
  // Taking it from ID 05 in the same command moves it, and ID 05's counter
  // goes with its number.
  Rewrite(first, [](DataSet& set) { set.settings.accountCounters[4] = 77; });
  ASSERT_EQ(RunSet(first, {{"access_number_05", ""}, {"access_number_09", "123"}}, output,
                   Language::SingleByte, err),
            kExitOk)
      << err.str();
  auto moved = LoadDataSet(output, Language::SingleByte);
  ASSERT_NE(moved, nullptr);
  const uint8_t* numbers = SettingBytes(*moved, kAccessNumbersId);
  EXPECT_EQ(GetU16(numbers + 8), 0);
  EXPECT_EQ(GetU16(numbers + 16), 123);
  EXPECT_EQ(moved->settings.accountCounters[4], 0u);
  EXPECT_EQ(Get(output, "access_number_09"), "access_number_09 = (set)\n");
  EXPECT_EQ(Get(output, "access_number_05"), "access_number_05 = (empty)\n");
  std::remove(first.c_str());
}

TEST_F(OdctoolSettings, SpecifiedAddressingNeedsUsableStoredAddresses) {
  // A file whose gateway is not set: specifying the IP address is refused
  // until the gateway is given, as the page refuses its apply.
  Rewrite(input, [](DataSet& set) { std::memset(SettingBytes(set, 0x1030A), 0, 4); });
  EXPECT_EQ(Set({{"ip_mode", "Specify IP address"}}), kExitFailure);
  EXPECT_NE(err.str().find("gateway: \"0.0.0.0\" refused: Invalid value : must be within 1 to "
                           "126 and 128 to 254 ! (IP mode is Specify IP address)"),
            std::string::npos)
      << err.str();
  EXPECT_FALSE(OutputExists());
  EXPECT_EQ(Set({{"ip_mode", "Specify IP address"}, {"gateway", "192.168.1.254"}}), kExitOk)
      << err.str();
}

TEST_F(OdctoolSettings, AValueTheFileDoesNotCarryIsRefusedNotLost) {
  // A number item the machine did not deliver would be packed and never
  // written; a typed text gets its length as the pages give it.
  Rewrite(input, [](DataSet& set) {
    set.records[FindRecord(set, 0x10006)].length = 0;
    set.records[FindRecord(set, 0x10405)].length = 0;
  });
  EXPECT_EQ(Set({{"lcd_contrast", "2"}}), kExitFailure);
  EXPECT_NE(err.str().find("lcd_contrast: \"2\" refused: the data set does not carry this item"),
            std::string::npos)
      << err.str();
  EXPECT_FALSE(OutputExists());
  ASSERT_EQ(Set({{"smtp_server", "smtp.example.net"}}), kExitOk) << err.str();
  EXPECT_EQ(Get(output, "smtp_server"), "smtp_server = smtp.example.net\n");
}

TEST_F(OdctoolSettings, ASetThatChangesNothingKeepsTheFileByteForByte) {
  auto set = LoadDataSet(input, Language::SingleByte);
  ASSERT_NE(set, nullptr);
  Values same;
  for (const char* name : {"ip_address", "smtp_server", "auto_shut_off", "buzzer_volume",
                           "machine_name", "telephone_number", "paper_priority"}) {
    same.emplace_back(name, SettingValueText(*set, *FindCatalogSetting(name)));
  }
  ASSERT_EQ(Set(same), kExitOk) << err.str();
  std::vector<uint8_t> a, b;
  ASSERT_TRUE(ReadFileBytes(input, a));
  ASSERT_TRUE(ReadFileBytes(output, b));
  EXPECT_EQ(a, b);
  EXPECT_EQ(err.str(), "");  // no network change to report
}

TEST_F(OdctoolSettings, AnAddressBookRefusesSettings) {
  const std::string book = TempPath("settings_book.DAT");
  ASSERT_EQ(RunNew(book, err), kExitOk);
  const char* expected =
      "this data set holds only an address book: it has no machine settings to read or change";
  EXPECT_EQ(RunSet(book, {{"smtp_port", "25"}}, output, Language::SingleByte, err), kExitFailure);
  EXPECT_NE(err.str().find(expected), std::string::npos) << err.str();
  EXPECT_FALSE(OutputExists());
  err.str("");
  EXPECT_EQ(RunGet(book, {}, false, Language::SingleByte, out, err), kExitFailure);
  EXPECT_NE(err.str().find(expected), std::string::npos) << err.str();
  EXPECT_EQ(out.str(), "");
  std::remove(book.c_str());
}

TEST_F(OdctoolSettings, CoupledRulesOfThePagesHold) {
  struct Case {
    Values values;
    std::vector<std::pair<const char*, const char*>> after;
  };
  const Case cases[] = {
      // Photo forces Manual density; Text goes back to Auto.
      {{{"quality_priority", "Photo"}}, {{"density_priority", "Manual"}}},
      {{{"quality_priority", "Text"}}, {{"density_priority", "Auto"}}},
      {{{"quality_priority", "Text"}, {"density_priority", "Manual"}},
       {{"density_priority", "Manual"}}},
      // Advanced starts from the page's defaults unless given.
      {{{"email_mode", "Basic"}}, {{"max_tx_size", "A4"}, {"max_quality", "S/F"}}},
  };
  for (const Case& c : cases) {
    std::remove(output.c_str());
    ASSERT_EQ(Set(c.values), kExitOk) << err.str();
    for (const auto& [name, shown] : c.after) {
      EXPECT_EQ(Get(output, name), std::string(name) + " = " + shown + "\n") << c.values[0].second;
    }
  }
  // Photo, then Text: back to Auto.
  const std::string photo = TempPath("settings_photo.DAT");
  ASSERT_EQ(RunSet(input, {{"quality_priority", "Photo"}}, photo, Language::SingleByte, err),
            kExitOk);
  ASSERT_EQ(RunSet(photo, {{"quality_priority", "Text"}}, output, Language::SingleByte, err),
            kExitOk);
  EXPECT_EQ(Get(output, "density_priority"), "density_priority = Auto\n");
  std::remove(photo.c_str());
  // Basic -> Advanced: size A3, S/F, MH; a size given with it is kept.
  const std::string basic = TempPath("settings_basic.DAT");
  ASSERT_EQ(RunSet(input, {{"email_mode", "Basic"}}, basic, Language::SingleByte, err), kExitOk);
  ASSERT_EQ(RunSet(basic, {{"email_mode", "Advanced"}}, output, Language::SingleByte, err),
            kExitOk);
  EXPECT_EQ(Get(output, "max_tx_size"), "max_tx_size = A3\n");
  EXPECT_EQ(Get(output, "coding"), "coding = MH\n");
  ASSERT_EQ(RunSet(basic, {{"max_tx_size", "B4"}, {"email_mode", "Advanced"}}, output,
                   Language::SingleByte, err),
            kExitOk);
  EXPECT_EQ(Get(output, "max_tx_size"), "max_tx_size = B4\n");
  // Memory RX switched off keeps no password.
  ASSERT_EQ(RunSet(input, {{"memory_rx", "on"}, {"memory_rx_password", "4321"}}, basic,
                   Language::SingleByte, err),
            kExitOk);
  ASSERT_EQ(RunSet(basic, {{"memory_rx", "off"}}, output, Language::SingleByte, err), kExitOk);
  EXPECT_EQ(Get(output, "memory_rx_password"), "memory_rx_password = (empty)\n");
  std::remove(basic.c_str());
}

TEST_F(OdctoolSettings, AnAddressingChangeReachesTheMachineWithTheNextUpload) {
  ASSERT_EQ(Set({{"ip_address", "192.168.7.20"}}), kExitOk);
  EXPECT_NE(err.str().find("upload this file with --network-changed"), std::string::npos);
  err.str("");
  ASSERT_EQ(Set({{"web_setting", "off"}}), kExitOk);
  EXPECT_EQ(err.str(), "");  // a service switch is no addressing change

  SimulatedMachine machine;
  const std::vector<uint8_t> demo = DemoMachineFileBytes();
  ASSERT_EQ(machine.LoadMemory(demo.data(), demo.size()), 1);
  ASSERT_EQ(RunUpload(machine, output, Language::SingleByte, err), kExitOk) << err.str();
  EXPECT_EQ(machine.lastRequestFlag(), 0);
  ASSERT_EQ(RunUpload(machine, output, Language::SingleByte, err, true), kExitOk) << err.str();
  EXPECT_EQ(machine.lastRequestFlag(), 1);
}

TEST_F(OdctoolSettings, SettingsFromJson) {
  Values values;
  std::string problem;
  ASSERT_TRUE(ParseSettingsJson(
      R"({"smtp_server": "mail.example", "auto_shut_off": 45, "small_original": true})", values,
      problem));
  EXPECT_EQ(
      values,
      (Values{{"smtp_server", "mail.example"}, {"auto_shut_off", "45"}, {"small_original", "on"}}));
  for (const char* bad : {"[1, 2]", "{\"a\": 1.5}", "{\"a\": null}", "{\"a\": ", ""}) {
    values.clear();
    EXPECT_FALSE(ParseSettingsJson(bad, values, problem)) << bad;
  }

  const std::string json = TempPath("settings.json");
  const std::string text = R"({"auto_shut_off": "45", "ip_address": "10.0.0.9"})";
  ASSERT_TRUE(WriteBytes(json, std::vector<uint8_t>(text.begin(), text.end())));
  ASSERT_EQ(RunSettingsCommand("set", {input, "--json", json, "-o", output}, out, err), kExitOk)
      << err.str();
  std::ostringstream got;
  ASSERT_EQ(RunSettingsCommand("get", {output, "auto_shut_off", "ip_address", "--json"}, got, err),
            kExitOk);
  EXPECT_EQ(got.str(), "{\n  \"auto_shut_off\": \"45\",\n  \"ip_address\": \"10.0.0.9\"\n}\n");
  std::remove(json.c_str());
}

TEST_F(OdctoolSettings, CommandLineMistakesAreUsageErrors) {
  EXPECT_EQ(RunSettingsCommand("set", {input, "smtp_port=25"}, out, err), kExitUsage);
  EXPECT_EQ(RunSettingsCommand("set", {input, "smtp_port", "-o", output}, out, err), kExitUsage);
  EXPECT_EQ(RunSettingsCommand("get", {}, out, err), kExitUsage);
  EXPECT_EQ(RunSettingsCommand("get", {input, "-o", output}, out, err), kExitUsage);
  EXPECT_FALSE(OutputExists());
}

}  // namespace
}  // namespace tool
}  // namespace odc
