#include "setup/settings/setting_catalog.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "setup/data/file_io.h"
#include "setup/link/demo_machine.h"

namespace odc {
namespace {

TEST(SettingCatalog, NamesAreUniqueAndEveryFormFitsItsItem) {
  std::set<std::string> names;
  for (const CatalogSetting& s : SettingCatalog()) {
    SCOPED_TRACE(s.name);
    EXPECT_TRUE(names.insert(s.name).second) << "name given twice";
    for (const char* c = s.name; *c; ++c)
      EXPECT_TRUE((*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9') || *c == '_');
    const SettingItem* item = FindSettingItem(s.item);
    ASSERT_NE(item, nullptr);
    switch (s.form) {
      case SettingForm::OnOff:
        EXPECT_EQ(s.codes.size(), 2u);
        [[fallthrough]];
      case SettingForm::Choice:
      case SettingForm::Number:
      case SettingForm::NumberOrOff:
        if (s.storage == SettingStorage::Item) {
          EXPECT_TRUE(item->kind == SettingKind::U8 || item->kind == SettingKind::U16 ||
                      item->kind == SettingKind::U32);
          // The largest value must fit the item.
          const uint64_t largest = static_cast<uint64_t>(s.high) * s.scale;
          EXPECT_LT(largest, item->width >= 4 ? 1ull << 32 : 1ull << (8 * item->width));
        }
        break;
      case SettingForm::Text:
      case SettingForm::MailAddress:
      case SettingForm::SecretText:
        // Room for the text and its zero.
        EXPECT_LT(s.limit, item->width);
        break;
      case SettingForm::IpAddress:
        EXPECT_EQ(item->width, 4);
        break;
      case SettingForm::Time:
        EXPECT_LT(s.offset + 1, item->width);
        EXPECT_LT(s.flagOffset, item->width);
        break;
      case SettingForm::SecretDigits:
        EXPECT_TRUE(s.secret);
        if (s.storage == SettingStorage::Item) {
          EXPECT_EQ(item->kind, SettingKind::U32);  // stored as their number
        } else {
          EXPECT_LE(s.offset + (s.storage == SettingStorage::U16AtOffset ? 2 : s.limit),
                    item->width);
        }
        break;
    }
  }
  // Every secret item of the data set is a secret of the catalog.
  for (const char* secret :
       {"administrator_number", "access_number_01", "access_number_50", "remote_password",
        "memory_rx_password", "ldap_password", "pop3_password"}) {
    const CatalogSetting* s = FindCatalogSetting(secret);
    ASSERT_NE(s, nullptr) << secret;
    EXPECT_TRUE(s->secret) << secret;
  }
}

TEST(SettingCatalog, IpAddressRuleOfTheNetworkPage) {
  struct Case {
    uint8_t octets[4];
    const char* problem;
  };
  const char* firstOctet = "Invalid value : must be within 1 to 126 and 128 to 254 !";
  const char* lastOctet = "Invalid value : must be within 1 to 255 !";
  const Case cases[] = {
      {{192, 168, 1, 20}, ""},      {{1, 0, 0, 1}, ""},           {{126, 255, 255, 254}, ""},
      {{128, 0, 0, 1}, ""},         {{254, 1, 1, 255}, ""},       {{0, 1, 2, 3}, firstOctet},
      {{127, 0, 0, 1}, firstOctet}, {{255, 1, 1, 1}, firstOctet}, {{10, 0, 0, 0}, lastOctet},
      {{0, 0, 0, 0}, firstOctet},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IpAddressProblem(c.octets), c.problem)
        << int(c.octets[0]) << '.' << int(c.octets[1]) << '.' << int(c.octets[2]) << '.'
        << int(c.octets[3]);
  }
}

TEST(SettingCatalog, ParsesThePagesFormsAndNothingElse) {
  auto set = std::make_unique<DataSet>();
  BuildDemoMachine(*set);
  struct Case {
    const char* name;
    const char* value;
    bool accepted;
    uint32_t number;
  };
  const Case cases[] = {
      {"auto_shut_off", "15", true, 15},
      {"auto_shut_off", "240 min", true, 240},
      {"auto_shut_off", " 30 MIN ", true, 30},
      {"auto_shut_off", "OFF", true, 0},
      {"auto_shut_off", "14", false, 0},
      {"auto_shut_off", "30 sec", false, 0},
      {"auto_shut_off", "-30", false, 0},
      {"auto_shut_off", "", false, 0},
      {"auto_shut_off", "99999999999", false, 0},
      {"fax_tx_density", "4", true, 0x20},
      {"default_tx", "memory tx", true, 0},
      {"default_tx", "Memory", false, 0},
      {"small_original", "yes", false, 0},
      {"remote_password", "0000", true, 0},
      {"remote_password", "00000", false, 0},
      {"administrator_number", "000001", true, 1},
      {"administrator_number", "", false, 0},
      {"access_number_01", "", true, 0},
      {"ip_address", "1.2.3.4.5", false, 0},
      {"ip_address", "1..3.4", false, 0},
      {"ip_address", "1.2.3.4.", false, 0},
      {"ip_address", "+1.2.3.4", false, 0},
      {"subnet_mask", "0.0.0.0", true, 0},
      {"prefix", "12345", false, 0},
      {"prefix", "12a", false, 0},
      {"smtp_server", "tab\there", false, 0},
      {"smtp_server", "", true, 0},
      {"memory_rx_on_time", "08:30", true, 0x43C0},
      {"memory_rx_on_time", "8:5", true, (8 * 64 + 5) * 32},
      {"memory_rx_on_time", "24:00", false, 0},
      {"memory_rx_off_time", "12:60", false, 0},
      {"memory_rx_off_time", "12-30", false, 0},
      {"memory_rx_off_time", "", true, 0},
      {"ldap_password", "(set)", false, 0},
      {"administrator_number", "(empty)", false, 0},
  };
  for (const Case& c : cases) {
    const CatalogSetting* s = FindCatalogSetting(c.name);
    ASSERT_NE(s, nullptr) << c.name;
    ParsedValue v;
    const std::string problem = ParseSettingValue(*set, *s, c.value, v);
    EXPECT_EQ(problem.empty(), c.accepted) << c.name << "=" << c.value << ": " << problem;
    if (c.accepted) {
      EXPECT_EQ(v.number, c.number) << c.name << "=" << c.value;
    } else {
      // The message names the setting and what it accepts.
      EXPECT_EQ(problem.rfind(std::string(c.name) + ": ", 0), 0u) << problem;
      EXPECT_NE(problem.find("Accepted: "), std::string::npos) << problem;
    }
  }
}

TEST(SettingCatalog, TheDocumentedTableIsTheCatalogs) {
  std::vector<uint8_t> bytes;
  const std::string path = std::string(ODC_TEST_DATA_DIR) + "/../../docs/settings_by_name.md";
  ASSERT_TRUE(ReadFileBytes(path, bytes)) << path;
  const std::string document(bytes.begin(), bytes.end());
  const std::string table = SettingsTableMarkdown();
  if (document.find(table) == std::string::npos) {
    const std::string fresh = ::testing::TempDir() + "settings_by_name_table.md";
    WriteFileAtomically(fresh, reinterpret_cast<const uint8_t*>(table.data()), table.size());
    ADD_FAILURE() << "docs/settings_by_name.md does not hold the catalog's table; the current "
                     "table is in "
                  << fresh;
  }
}

}  // namespace
}  // namespace odc
