// The Network Setting and LDAP Setting pages through the in-memory surface.
#include "setup/settings/network_ldap_pages.h"

#include <cstring>
#include <functional>

#include "setup/res/resource.h"
#include "tests/ui/settings_page_fixture.h"

namespace odc {
namespace test {
namespace {

constexpr uint32_t kIpMode = 0x10306, kIpAddress = 0x10308, kSubnetMask = 0x10309,
                   kGateway = 0x1030A, kGatewayTx = 0x1030B, kDns = 0x1030C, kDnsAddress = 0x1030E,
                   kWeb = 0x1030F, kLpd = 0x10310, kSlp = 0x10311, kSnmp = 0x10312;
constexpr uint32_t kLdapServer = 0x10501, kLdapAccount = 0x10503, kLdapPassword = 0x10505,
                   kLdapPort = 0x10506, kLdapTimeout = 0x10507, kLdapMaxResults = 0x10508,
                   kLdapSearchBase = 0x1050A, kLdapSearchMethod = 0x1050B, kLdapSsl = 0x1050C,
                   kLdapDomain = 0x1050E, kLdapAuthentication = 0x1050F;

void StoreAddress(DataSet& d, uint32_t id, std::array<uint8_t, 4> octets) {
  std::memcpy(SettingBytes(d, id), octets.data(), 4);
}
std::array<uint8_t, 4> StoredAddress(DataSet& d, uint32_t id) {
  std::array<uint8_t, 4> a;
  std::memcpy(a.data(), SettingBytes(d, id), 4);
  return a;
}

// A surface whose sheet asks the page again when the page asks to be shown,
// as the property sheet does while a page refuses to be left.
struct ReaskingSurface : MemorySurface {
  std::function<void()> onShow;
  void ShowThisPage() override {
    MemorySurface::ShowThisPage();
    if (onShow) onShow();
  }
};

class NetworkPage : public SettingsPageTest {
 protected:
  // Specify with a valid address set and DNS off.
  void OpenSpecified() {
    SetSetting(*data, kIpMode, 1);
    StoreAddress(*data, kIpAddress, {192, 168, 1, 10});
    StoreAddress(*data, kSubnetMask, {255, 255, 255, 0});
    StoreAddress(*data, kGateway, {192, 168, 1, 1});
    Open(PageId::NetworkSetting);
  }
};

TEST_F(NetworkPage, StartingValuesSetTheControls) {
  struct Row {
    uint8_t mode, dns;
    bool addressesOn, dnsOn;
    int modeButton, dnsButton;
  };
  const Row rows[] = {
      {0, 0x00, false, false, IDC_NET_AUTO, IDC_NET_DNS_DISABLE},
      {1, 0x00, true, false, IDC_NET_SPECIFY, IDC_NET_DNS_DISABLE},
      {0, 0x80, false, true, IDC_NET_AUTO, IDC_NET_DNS_ENABLE},
      {1, 0x80, true, true, IDC_NET_SPECIFY, IDC_NET_DNS_ENABLE},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "mode " << int(r.mode) << " dns " << int(r.dns));
    s = MemorySurface();
    SetSetting(*data, kIpMode, r.mode);
    SetSetting(*data, kDns, r.dns);
    Open(PageId::NetworkSetting);
    EXPECT_TRUE(s.IsChecked(r.modeButton));
    EXPECT_TRUE(s.IsChecked(r.dnsButton));
    for (int id : {IDC_NET_IP, IDC_NET_IP_LABEL, IDC_NET_SUBNET, IDC_NET_SUBNET_LABEL,
                   IDC_NET_GATEWAY, IDC_NET_GATEWAY_LABEL})
      EXPECT_EQ(s.IsEnabled(id), r.addressesOn) << id;
    EXPECT_EQ(s.IsEnabled(IDC_NET_DNS), r.dnsOn);
    EXPECT_EQ(s.IsEnabled(IDC_NET_DNS_LABEL), r.dnsOn);
  }
}

TEST_F(NetworkPage, AddressesShowFirstOctetFirstAndZeroAsBlank) {
  StoreAddress(*data, kIpAddress, {10, 1, 2, 3});
  SetSetting(*data, kWeb, 1);
  SetSetting(*data, kSnmp, 1);
  Open(PageId::NetworkSetting);
  EXPECT_EQ(s.At(IDC_NET_IP).filledFields, 4);
  EXPECT_EQ(s.At(IDC_NET_IP).octets[0], 10);
  EXPECT_EQ(s.At(IDC_NET_IP).octets[3], 3);
  EXPECT_EQ(s.At(IDC_NET_GATEWAY).filledFields, 0) << "0 = not set shows blank";
  EXPECT_EQ(s.At(IDC_NET_DNS).filledFields, 0);
  EXPECT_TRUE(s.IsChecked(IDC_NET_WEB));
  EXPECT_TRUE(s.IsChecked(IDC_NET_SNMP));
  EXPECT_FALSE(s.IsChecked(IDC_NET_LPD));
  EXPECT_EQ(s.messages.size(), 0u);

  TypeAddress(IDC_NET_GATEWAY, {172, 16, 0, 254});
  EXPECT_EQ(StoredAddress(*data, kGateway), (std::array<uint8_t, 4>{172, 16, 0, 254}));
  EXPECT_TRUE(Changed());
}

TEST_F(NetworkPage, ButtonsAndBoxesStoreTheirCodes) {
  Open(PageId::NetworkSetting);
  s.RadioGroup({IDC_NET_AUTO, IDC_NET_SPECIFY});
  s.RadioGroup({IDC_NET_DNS_DISABLE, IDC_NET_DNS_ENABLE});
  s.Click(*driver, IDC_NET_SPECIFY);
  EXPECT_EQ(GetSetting(*data, kIpMode), 1u);
  EXPECT_TRUE(s.IsEnabled(IDC_NET_GATEWAY));
  s.Click(*driver, IDC_NET_DNS_ENABLE);
  EXPECT_EQ(GetSetting(*data, kDns), 0x80u);
  EXPECT_TRUE(s.IsEnabled(IDC_NET_DNS));
  s.Click(*driver, IDC_NET_AUTO);
  EXPECT_EQ(GetSetting(*data, kIpMode), 0u);
  EXPECT_FALSE(s.IsEnabled(IDC_NET_IP_LABEL));
  s.Click(*driver, IDC_NET_DNS_DISABLE);
  EXPECT_EQ(GetSetting(*data, kDns), 0u);
  EXPECT_FALSE(s.IsEnabled(IDC_NET_DNS));
  const std::pair<int, uint32_t> boxes[] = {{IDC_NET_GATEWAY_TX, kGatewayTx},
                                            {IDC_NET_WEB, kWeb},
                                            {IDC_NET_SNMP, kSnmp},
                                            {IDC_NET_LPD, kLpd},
                                            {IDC_NET_SLP, kSlp}};
  for (auto [box, item] : boxes) {
    s.Click(*driver, box);
    EXPECT_EQ(GetSetting(*data, item), 1u) << box;
    s.Click(*driver, box);
    EXPECT_EQ(GetSetting(*data, item), 0u) << box;
  }
}

TEST_F(NetworkPage, CheckIpAddressRules) {
  struct Row {
    std::array<uint8_t, 4> address;
    int result;
    std::string message;
  };
  const Row rows[] = {
      {{127, 0, 0, 5}, kIpBadFirstOctet, kTwoRanges},
      {{0, 1, 2, 3}, kIpBadFirstOctet, kTwoRanges},
      {{255, 1, 1, 1}, kIpBadFirstOctet, kTwoRanges},
      {{10, 0, 0, 0}, kIpZeroLastOctet, RangeMessage(1, 255)},
      {{126, 0, 0, 1}, kIpValid, ""},
      {{128, 0, 0, 1}, kIpValid, ""},
      {{254, 255, 255, 255}, kIpValid, ""},
  };
  for (const Row& r : rows) {
    MemorySurface surface;
    EXPECT_EQ(CheckIpAddress(surface, r.address.data()), r.result) << int(r.address[0]);
    EXPECT_EQ(surface.messages.empty() ? "" : surface.messages[0], r.message);
  }
}

// Each row edits one address of a valid Specify page and presses Apply.
TEST_F(NetworkPage, ApplyChecksTheAddresses) {
  struct Row {
    const char* what;
    int control;
    std::array<uint8_t, 4> address;
    int filled;
    std::string message;  // "" = applied
    int focusedField;     // -1: the control as a whole
    bool leaveRefused;
  };
  const Row rows[] = {
      {"loopback", IDC_NET_IP, {127, 0, 0, 5}, 4, kTwoRanges, 0, true},
      {"network address", IDC_NET_IP, {10, 0, 0, 0}, 4, RangeMessage(1, 255), 3, true},
      {"first octet 0", IDC_NET_IP, {0, 1, 2, 3}, 4, kTwoRanges, 0, true},
      {"IP with three fields", IDC_NET_IP, {192, 168, 1, 0}, 3, RangeMessage(1, 255), 3, true},
      {"mask with three fields",
       IDC_NET_SUBNET,
       {255, 255, 255, 0},
       3,
       RangeMessage(0, 255),
       -1,
       false},
      {"gateway with two fields",
       IDC_NET_GATEWAY,
       {192, 168, 0, 0},
       2,
       RangeMessage(0, 255),
       -1,
       true},
      {"gateway 127", IDC_NET_GATEWAY, {127, 0, 0, 1}, 4, kTwoRanges, 0, true},
      {"valid address", IDC_NET_IP, {10, 20, 30, 40}, 4, "", -1, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    s = MemorySurface();
    host.networkChanged = false;
    OpenSpecified();
    const DataSet before = *data;
    TypeAddress(r.control, r.address, r.filled);
    EXPECT_EQ(driver->KillActive(s), !r.leaveRefused);
    s.At(r.control).focusedField = -1;
    s.messages.clear();
    s.focus = 0;
    const bool applied = driver->Apply(s);
    EXPECT_EQ(applied, r.message.empty());
    EXPECT_EQ(LastMessage(), r.message);
    if (!applied) {
      EXPECT_EQ(s.messages.size(), 1u) << "one message per refusal";
      EXPECT_EQ(s.focus, r.control);
      EXPECT_EQ(s.At(r.control).focusedField, r.focusedField);
      EXPECT_EQ(std::memcmp(before.records, data->records, sizeof before.records), 0)
          << "nothing packed";
      EXPECT_TRUE(Changed()) << "the edit waits for the next apply";
      EXPECT_FALSE(host.networkChanged) << "a refused apply tells the machine nothing";
    } else {
      EXPECT_EQ(ImageData(kIpAddress)[0], 10);
      EXPECT_EQ(ImageData(kIpAddress)[3], 40);
      EXPECT_TRUE(host.networkChanged);
    }
  }
}

TEST_F(NetworkPage, AutoValidatesNoAddress) {
  SetSetting(*data, kIpMode, 0);
  StoreAddress(*data, kIpAddress, {127, 0, 0, 1});
  Open(PageId::NetworkSetting);
  EXPECT_FALSE(s.IsEnabled(IDC_NET_IP));
  s.Click(*driver, IDC_NET_LPD);
  EXPECT_TRUE(driver->KillActive(s));
  EXPECT_TRUE(driver->Apply(s));
  EXPECT_TRUE(s.messages.empty());
  EXPECT_EQ(ImageData(kLpd)[0], 1);
}

TEST_F(NetworkPage, NetworkChangedOnlyByAnAppliedAddressingChange) {
  // A check box alone.
  OpenSpecified();
  s.Click(*driver, IDC_NET_WEB);
  ASSERT_TRUE(driver->Apply(s));
  EXPECT_FALSE(host.networkChanged);

  // A refused address, mended and applied.
  TypeAddress(IDC_NET_IP, {127, 0, 0, 9});
  EXPECT_FALSE(driver->Apply(s));
  EXPECT_FALSE(host.networkChanged);
  TypeAddress(IDC_NET_IP, {192, 168, 1, 9});
  EXPECT_TRUE(driver->Apply(s));
  EXPECT_TRUE(host.networkChanged);

  // Once applied, a later check box change alone does not repeat it (the
  // upload clears the flag).
  host.networkChanged = false;
  s.Click(*driver, IDC_NET_WEB);
  EXPECT_TRUE(driver->Apply(s));
  EXPECT_FALSE(host.networkChanged);

  // The mode and DNS choices are addressing too.
  s.RadioGroup({IDC_NET_DNS_DISABLE, IDC_NET_DNS_ENABLE});
  s.Click(*driver, IDC_NET_DNS_DISABLE);
  EXPECT_TRUE(driver->Apply(s));
  EXPECT_TRUE(host.networkChanged);
}

TEST_F(NetworkPage, CancelDropsTheAddressingChange) {
  OpenSpecified();
  TypeAddress(IDC_NET_IP, {10, 9, 8, 7});
  Cancel();
  EXPECT_EQ(StoredAddress(*data, kIpAddress), (std::array<uint8_t, 4>{192, 168, 1, 10}));
  EXPECT_FALSE(host.networkChanged);
}

TEST_F(NetworkPage, AppliedDnsAddressGetsItsLength) {
  SetSetting(*data, kDns, 0x80);
  StoreAddress(*data, kDnsAddress, {8, 8, 4, 4});
  Open(PageId::NetworkSetting);
  ASSERT_EQ(data->records[FindRecord(*data, kDnsAddress)].length, 0u);
  // DNS server 8.8.4.0 is refused, and nothing changes in the image.
  TypeAddress(IDC_NET_DNS, {8, 8, 4, 0});
  EXPECT_FALSE(driver->KillActive(s));
  EXPECT_EQ(s.At(IDC_NET_DNS).focusedField, 3);
  EXPECT_FALSE(driver->Apply(s));
  EXPECT_EQ(data->records[FindRecord(*data, kDnsAddress)].length, 0u);
  TypeAddress(IDC_NET_DNS, {8, 8, 4, 4});
  EXPECT_TRUE(driver->Apply(s));
  EXPECT_EQ(data->records[FindRecord(*data, kDnsAddress)].length, 4u);
  EXPECT_EQ(ImageData(kDnsAddress)[0], 8);
  EXPECT_EQ(ImageData(kDnsAddress)[3], 4);
}

TEST_F(NetworkPage, LeavingChecksIpThenGatewayThenDns) {
  SetSetting(*data, kIpMode, 1);
  SetSetting(*data, kDns, 0x80);
  StoreAddress(*data, kIpAddress, {0, 0, 0, 1});
  StoreAddress(*data, kGateway, {10, 0, 0, 0});
  StoreAddress(*data, kDnsAddress, {255, 0, 0, 1});
  Open(PageId::NetworkSetting);
  EXPECT_FALSE(driver->KillActive(s));
  EXPECT_EQ(s.focus, IDC_NET_IP);
  EXPECT_EQ(s.showPageCount, 1);
  TypeAddress(IDC_NET_IP, {10, 0, 0, 1});
  EXPECT_FALSE(driver->KillActive(s));
  EXPECT_EQ(s.focus, IDC_NET_GATEWAY);
  EXPECT_EQ(s.At(IDC_NET_GATEWAY).focusedField, 3);
  TypeAddress(IDC_NET_GATEWAY, {10, 0, 0, 254});
  EXPECT_FALSE(driver->KillActive(s));
  EXPECT_EQ(s.focus, IDC_NET_DNS);
  EXPECT_EQ(s.At(IDC_NET_DNS).focusedField, 0);
  EXPECT_EQ(s.messages, (std::vector<std::string>{kTwoRanges, RangeMessage(1, 255), kTwoRanges}));
  TypeAddress(IDC_NET_DNS, {10, 0, 0, 53});
  EXPECT_TRUE(driver->KillActive(s));
}

TEST_F(NetworkPage, TheSheetsRepeatedLeaveRequestPassesOnlyWhileThePageShowsItself) {
  StoreAddress(*data, kIpAddress, {127, 0, 0, 1});
  SetSetting(*data, kIpMode, 1);
  PackTransferImage(*data);
  page = CreateSettingsPageLogic(PageId::NetworkSetting, ctx);
  driver = std::make_unique<PageDriver>(ctx, *page);
  ReaskingSurface surface;
  std::vector<bool> nested;
  surface.onShow = [&] { nested.push_back(driver->KillActive(surface)); };
  driver->Init(surface);
  EXPECT_FALSE(driver->KillActive(surface));
  EXPECT_EQ(nested, std::vector<bool>{true}) << "the sheet's own repeat passes";
  EXPECT_EQ(surface.messages.size(), 1u) << "and shows no second message";
  EXPECT_FALSE(driver->KillActive(surface)) << "the user's next try is checked again";
}

// ---------------------------------------------------------------------------

class LdapPage : public SettingsPageTest {
 protected:
  void OpenLdap() {
    std::strcpy(SettingText(*data, kLdapServer), "ldap.example.com");
    std::strcpy(SettingText(*data, kLdapAccount), "admin");
    std::strcpy(SettingText(*data, kLdapPassword), "secret");
    std::strcpy(SettingText(*data, kLdapSearchBase), "dc=example,dc=com");
    std::strcpy(SettingText(*data, kLdapDomain), "example.com");
    SetSetting(*data, kLdapPort, 389);
    SetSetting(*data, kLdapTimeout, 60);
    SetSetting(*data, kLdapMaxResults, 100);
    SetSetting(*data, kLdapSearchMethod, 1);
    SetSetting(*data, kLdapSsl, 1);
    SetSetting(*data, kLdapAuthentication, 2);
    for (uint32_t id : {kLdapServer, kLdapAccount, kLdapPassword, kLdapSearchBase, kLdapDomain})
      SetItemLength(*data, id, static_cast<uint32_t>(std::strlen(SettingText(*data, id))));
    Open(PageId::LdapSetting);
  }
  uint32_t Length(uint32_t id) { return data->records[FindRecord(*data, id)].length; }
};

TEST_F(LdapPage, StartingValuesSetTheControls) {
  OpenLdap();
  EXPECT_EQ(s.At(IDC_LDAP_SERVER).text, "ldap.example.com");
  EXPECT_EQ(s.At(IDC_LDAP_SERVER).limit, 64);
  EXPECT_EQ(s.At(IDC_LDAP_PASSWORD).text, "secret");
  EXPECT_EQ(s.At(IDC_LDAP_PASSWORD).limit, 32);
  EXPECT_EQ(s.At(IDC_LDAP_SEARCH_BASE).text, "dc=example,dc=com");
  EXPECT_EQ(s.At(IDC_LDAP_PORT).text, "389");
  EXPECT_EQ(s.At(IDC_LDAP_TIMEOUT).low, 5);
  EXPECT_EQ(s.At(IDC_LDAP_TIMEOUT).high, 300);
  EXPECT_EQ(s.At(IDC_LDAP_TIMEOUT).position, 60);
  EXPECT_EQ(s.At(IDC_LDAP_TIMEOUT_VALUE).text, "60");
  EXPECT_EQ(s.At(IDC_LDAP_MAX_RESULTS).high, 100);
  EXPECT_EQ(s.At(IDC_LDAP_MAX_RESULTS_VALUE).text, "100");
  EXPECT_EQ(s.At(IDC_LDAP_SEARCH_METHOD).items,
            (std::vector<std::string>{"BEGIN", "CONTAIN", "END"}));
  EXPECT_EQ(s.At(IDC_LDAP_SEARCH_METHOD).selection, 1);
  EXPECT_TRUE(s.IsChecked(IDC_LDAP_SSL_ENABLE)) << "SSL stored as 1";
  EXPECT_FALSE(s.IsChecked(IDC_LDAP_SSL_DISABLE));
  EXPECT_TRUE(s.IsChecked(IDC_LDAP_AUTH_DIGEST));
  EXPECT_EQ(s.At(IDC_LDAP_TIMEOUT_LABEL).text, "LDA&P Timeout :\t");
  EXPECT_EQ(s.At(IDC_LDAP_AUTH_SPNEGO).text, "&GSS-SPNEGO");
  EXPECT_FALSE(Changed());
}

TEST_F(LdapPage, TextsAreFilteredCutAndStoredWithTheirLength) {
  OpenLdap();
  s.Type(*driver, IDC_LDAP_SERVER, std::string(65, 's'));
  EXPECT_EQ(Setting(kLdapServer), std::string(64, 's')) << "the 65th character is cut";
  EXPECT_EQ(Length(kLdapServer), 64u);
  s.Type(*driver, IDC_LDAP_ACCOUNT, "ad\xE9min");
  EXPECT_EQ(s.At(IDC_LDAP_ACCOUNT).text, "admin");
  EXPECT_EQ(s.At(IDC_LDAP_ACCOUNT).selStart, 2) << "the caret stays where the character was";
  s.Type(*driver, IDC_LDAP_ACCOUNT, s.At(IDC_LDAP_ACCOUNT).text);
  EXPECT_EQ(Setting(kLdapAccount), "admin");
  s.Type(*driver, IDC_LDAP_PASSWORD, std::string(33, 'p'));
  EXPECT_EQ(Setting(kLdapPassword), std::string(32, 'p'));
  EXPECT_EQ(Length(kLdapPassword), 32u);
  s.Type(*driver, IDC_LDAP_DOMAIN, "");
  EXPECT_EQ(Setting(kLdapDomain), "");
  EXPECT_EQ(Length(kLdapDomain), 0u);
  EXPECT_TRUE(Changed());
}

TEST_F(LdapPage, CancelPutsTheTextLengthsBack) {
  OpenLdap();
  s.Type(*driver, IDC_LDAP_SEARCH_BASE, "o=x");
  s.Type(*driver, IDC_LDAP_ACCOUNT, "a-much-longer-account-name");
  EXPECT_EQ(Length(kLdapSearchBase), 3u);
  Cancel();
  EXPECT_EQ(Setting(kLdapSearchBase), "dc=example,dc=com");
  EXPECT_EQ(Length(kLdapSearchBase), 17u);
  EXPECT_EQ(Length(kLdapAccount), 5u);
}

TEST_F(LdapPage, AnAppliedTextKeepsItsLengthThroughALaterCancel) {
  OpenLdap();
  s.Type(*driver, IDC_LDAP_SERVER, "dir");
  ASSERT_TRUE(driver->Apply(s));
  s.Type(*driver, IDC_LDAP_SERVER, "directory.example.org");
  Cancel();
  EXPECT_EQ(Setting(kLdapServer), "dir");
  EXPECT_EQ(Length(kLdapServer), 3u);
}

TEST_F(LdapPage, PortIsCheckedOnLeaveAndApply) {
  struct Row {
    std::string typed, shown, message;
  };
  const Row rows[] = {
      {"0", "0", RangeMessage(1, 65535)},
      {"65536", "65536", RangeMessage(1, 65535)},
      {"99999", "99999", RangeMessage(1, 65535)},
      {"", "", "\"\" is not a valid integer value !"},
      {"6x36", "636", ""},
      {"65535", "65535", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.typed);
    s = MemorySurface();
    OpenLdap();
    s.Type(*driver, IDC_LDAP_PORT, r.typed);
    EXPECT_EQ(s.At(IDC_LDAP_PORT).text, r.shown);
    EXPECT_EQ(GetSetting(*data, kLdapPort), static_cast<uint32_t>(LeadingInteger(r.shown)));
    EXPECT_EQ(driver->KillActive(s), r.message.empty());
    EXPECT_EQ(LastMessage(), r.message);
    if (!r.message.empty()) {
      EXPECT_EQ(s.focus, IDC_LDAP_PORT);
      EXPECT_EQ(s.showPageCount, 1);
    }
    EXPECT_EQ(driver->Apply(s), r.message.empty());
  }
}

TEST_F(LdapPage, ListsButtonsAndSliders) {
  OpenLdap();
  s.RadioGroup({IDC_LDAP_SSL_ENABLE, IDC_LDAP_SSL_DISABLE});
  s.Choose(*driver, IDC_LDAP_SEARCH_METHOD, 2);
  EXPECT_EQ(GetSetting(*data, kLdapSearchMethod), 2u);
  s.Click(*driver, IDC_LDAP_SSL_DISABLE);
  EXPECT_EQ(GetSetting(*data, kLdapSsl), 0u);
  s.Click(*driver, IDC_LDAP_SSL_ENABLE);
  EXPECT_EQ(GetSetting(*data, kLdapSsl), 1u);
  const std::pair<int, uint32_t> modes[] = {{IDC_LDAP_AUTH_ANONYMOUS, 0},
                                            {IDC_LDAP_AUTH_SIMPLE, 1},
                                            {IDC_LDAP_AUTH_DIGEST, 2},
                                            {IDC_LDAP_AUTH_SPNEGO, 3}};
  for (auto [button, code] : modes) {
    s.Click(*driver, button);
    EXPECT_EQ(GetSetting(*data, kLdapAuthentication), code);
  }
  s.Slide(*driver, IDC_LDAP_TIMEOUT, kPageDown);
  EXPECT_EQ(GetSetting(*data, kLdapTimeout), 70u);
  s.Slide(*driver, IDC_LDAP_TIMEOUT, kThumbTrack, 500);
  EXPECT_EQ(GetSetting(*data, kLdapTimeout), 300u);
  EXPECT_EQ(s.At(IDC_LDAP_TIMEOUT_VALUE).text, "300");
  s.Slide(*driver, IDC_LDAP_MAX_RESULTS, kPageUp);
  EXPECT_EQ(GetSetting(*data, kLdapMaxResults), 90u);
  EXPECT_EQ(s.At(IDC_LDAP_MAX_RESULTS_VALUE).text, "90");
  ASSERT_TRUE(driver->Apply(s));
  EXPECT_EQ(ImageData(kLdapMaxResults)[0], 90);
}

}  // namespace
}  // namespace test
}  // namespace odc
