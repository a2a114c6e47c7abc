// The Network Setting page (IP addressing, DNS server, network services)
// and the LDAP Setting page (directory server for address look-up).
//
// Addresses are stored first octet first; an address of four zeros is "not
// set" and shows as a blank control. Changing the addressing marks the page
// so that applying it tells the machine, with the next upload, that its
// network changed; a refused apply tells it nothing.
#include "setup/settings/network_ldap_pages.h"

#include <cstring>

#include "setup/res/resource.h"
#include "setup/settings/settings_binder.h"
#include "setup/settings/settings_pages.h"
#include "setup/settings/text_fields.h"

namespace odc {
namespace network_items {
constexpr uint32_t kIpMode = 0x10306, kIpAddress = 0x10308, kSubnetMask = 0x10309,
                   kGateway = 0x1030A, kGatewayTx = 0x1030B, kDns = 0x1030C, kDnsAddress = 0x1030E,
                   kWeb = 0x1030F, kLpd = 0x10310, kSlp = 0x10311, kSnmp = 0x10312;
constexpr uint32_t kLdapServer = 0x10501, kLdapAccount = 0x10503, kLdapPassword = 0x10505,
                   kLdapPort = 0x10506, kLdapSearchBase = 0x1050A, kLdapSearchMethod = 0x1050B,
                   kLdapSsl = 0x1050C, kLdapDomain = 0x1050E, kLdapAuthentication = 0x1050F;
}  // namespace network_items

int CheckIpAddress(ControlSurface& s, const uint8_t address[4]) {
  const int first = address[0], last = address[3];
  if (first == 0 || first == 127 || first == 255) {
    ShowMessage(s, IDS_INTEGER_TWO_RANGES, {1, 126, 128, 254});
    return kIpBadFirstOctet;
  }
  if (last == 0) {
    ShowMessage(s, IDS_INTEGER_RANGE, {1, 255});
    return kIpZeroLastOctet;
  }
  return kIpValid;
}

int CheckIpComplete(ControlSurface& s, int id, int earlier) {
  if (earlier == kIpBadFirstOctet || earlier == kIpZeroLastOctet) return 1;
  uint8_t octets[4];
  if (s.ReadAddress(id, octets) == 4) return 1;
  ShowMessage(s, IDS_INTEGER_RANGE, {0, 255});
  return 0;
}

namespace {

using namespace network_items;

constexpr uint8_t kIpModeSpecify = 1;
constexpr uint8_t kDnsEnable = 0x80;

// The field of an address control that holds the broken octet.
int FailingField(int result) { return result == kIpBadFirstOctet ? 0 : 3; }

class NetworkSettingPage : public SettingsPage {
 public:
  explicit NetworkSettingPage(SettingsContext& c) : SettingsPage(c) {}
  PageId Id() const override { return PageId::NetworkSetting; }

  void OnInit(ControlSurface& s) override {
    static const std::vector<LabelPair> kLabels = {
        {IDC_NET_AUTO, IDS_NET_AUTO},
        {IDC_NET_SPECIFY, IDS_NET_SPECIFY},
        {IDC_NET_IP_LABEL, IDS_NET_IP_ADDRESS},
        {IDC_NET_SUBNET_LABEL, IDS_NET_SUBNET_MASK},
        {IDC_NET_GATEWAY_LABEL, IDS_NET_GATEWAY},
        {IDC_NET_DNS_GROUP, IDS_NET_DNS_CONFIGURATION},
        {IDC_NET_DNS_ENABLE, IDS_NET_ENABLE},
        {IDC_NET_DNS_DISABLE, IDS_NET_DISABLE},
        {IDC_NET_DNS_LABEL, IDS_NET_DNS_ADDRESS},
        {IDC_NET_GATEWAY_TX, IDS_NET_GATEWAY_TX},
        {IDC_NET_WEB, IDS_NET_WEB},
        {IDC_NET_SNMP, IDS_NET_SNMP},
        {IDC_NET_LPD, IDS_NET_LPD},
        {IDC_NET_SLP, IDS_NET_SLP},
    };
    ApplyLabels(s, kLabels);
    BindingInit(s, ctx.data, Bindings());
    for (const Address& a : kAddresses) {
      s.SetAddressFieldRange(a.control, 0, 0, 255);
      const uint8_t* octets = SettingBytes(ctx.data, a.item);
      static const uint8_t kNotSet[4] = {0, 0, 0, 0};
      if (std::memcmp(octets, kNotSet, 4) != 0)
        s.SetAddress(a.control, octets);
      else
        s.ClearAddress(a.control);
    }
    ShowAddressing(s);
    touched_ = false;
  }

  Handled OnCommand(ControlSurface& s, int id, int code) override {
    for (const Address& a : kAddresses) {
      if (a.control != id) continue;
      if (code != kAddressFieldChanged) return Handled::No;
      s.ReadAddress(id, SettingBytes(ctx.data, a.item));
      touched_ = true;
      return Handled::Changed;
    }
    const Handled handled = BindingCommand(s, ctx.data, Bindings(), id, code);
    if (handled != Handled::No && (id == IDC_NET_AUTO || id == IDC_NET_SPECIFY ||
                                   id == IDC_NET_DNS_ENABLE || id == IDC_NET_DNS_DISABLE)) {
      touched_ = true;
      ShowAddressing(s);
    }
    return handled;
  }

  bool OnKillActive(ControlSurface& s) override {
    if (guard_.Passing()) return true;
    for (const Address* a : LeaveChecks()) {
      const int result = CheckIpAddress(s, SettingBytes(ctx.data, a->item));
      if (result == kIpValid) continue;
      guard_.ShowPage(s);
      s.FocusAddressField(a->control, FailingField(result));
      return false;
    }
    return true;
  }

  bool OnApply(ControlSurface& s) override {
    if (Specify()) {
      if (!CheckAddressThenComplete(s, kAddresses[0])) return false;
      if (!CheckIpComplete(s, kAddresses[1].control, kIpValid))
        return Refuse(s, kAddresses[1].control);
      if (!CheckCompleteThenAddress(s, kAddresses[2])) return false;
    }
    if (DnsEnabled()) {
      if (!CheckCompleteThenAddress(s, kAddresses[3])) return false;
      SetItemLength(ctx.data, kDnsAddress, 4);
    }
    return true;
  }

  void OnApplied(ControlSurface&) override {
    // Only an applied change of the addressing reaches the machine.
    if (touched_) ctx.host.SetNetworkChanged();
    touched_ = false;
  }

 private:
  struct Address {
    int control;
    int label;
    uint32_t item;
  };
  // IP address, subnet mask, gateway, DNS server.
  static constexpr Address kAddresses[4] = {
      {IDC_NET_IP, IDC_NET_IP_LABEL, kIpAddress},
      {IDC_NET_SUBNET, IDC_NET_SUBNET_LABEL, kSubnetMask},
      {IDC_NET_GATEWAY, IDC_NET_GATEWAY_LABEL, kGateway},
      {IDC_NET_DNS, IDC_NET_DNS_LABEL, kDnsAddress},
  };

  static const std::vector<Binding>& Bindings() {
    static const std::vector<Binding> kBindings = {
        RadioBinding(kIpMode, {IDC_NET_AUTO, IDC_NET_SPECIFY}, {0, kIpModeSpecify}),
        RadioBinding(kDns, {IDC_NET_DNS_DISABLE, IDC_NET_DNS_ENABLE}, {0, kDnsEnable}),
        CheckBinding(kGatewayTx, IDC_NET_GATEWAY_TX, 0, 1, true),
        CheckBinding(kWeb, IDC_NET_WEB, 0, 1, true),
        CheckBinding(kSnmp, IDC_NET_SNMP, 0, 1, true),
        CheckBinding(kLpd, IDC_NET_LPD, 0, 1, true),
        CheckBinding(kSlp, IDC_NET_SLP, 0, 1, true),
    };
    return kBindings;
  }

  bool Specify() const { return GetSetting(ctx.data, kIpMode) == kIpModeSpecify; }
  bool DnsEnabled() const { return GetSetting(ctx.data, kDns) == kDnsEnable; }

  // The three addresses follow Specify, the DNS server follows Enable.
  void ShowAddressing(ControlSurface& s) {
    for (int i = 0; i < 4; ++i) {
      const bool on = i < 3 ? Specify() : DnsEnabled();
      s.Enable(kAddresses[i].control, on);
      s.Enable(kAddresses[i].label, on);
    }
  }

  std::vector<const Address*> LeaveChecks() const {
    std::vector<const Address*> checks;
    if (Specify()) {
      checks.push_back(&kAddresses[0]);
      checks.push_back(&kAddresses[2]);
    }
    if (DnsEnabled()) checks.push_back(&kAddresses[3]);
    return checks;
  }

  // The driver brings the page to the front after a refused apply.
  bool Refuse(ControlSurface& s, int control, int field = -1) {
    if (field < 0)
      s.Focus(control);
    else
      s.FocusAddressField(control, field);
    return false;
  }
  bool CheckAddressThenComplete(ControlSurface& s, const Address& a) {
    const int result = CheckIpAddress(s, SettingBytes(ctx.data, a.item));
    if (result != kIpValid) return Refuse(s, a.control, FailingField(result));
    if (!CheckIpComplete(s, a.control, result)) return Refuse(s, a.control);
    return true;
  }
  bool CheckCompleteThenAddress(ControlSurface& s, const Address& a) {
    if (!CheckIpComplete(s, a.control, kIpValid)) return Refuse(s, a.control);
    const int result = CheckIpAddress(s, SettingBytes(ctx.data, a.item));
    if (result != kIpValid) return Refuse(s, a.control, FailingField(result));
    return true;
  }

  bool touched_ = false;
  LeaveGuard guard_;
};

// ---------------------------------------------------------------------------

class LdapSettingPage : public SettingsPage {
 public:
  explicit LdapSettingPage(SettingsContext& c) : SettingsPage(c) {}
  PageId Id() const override { return PageId::LdapSetting; }

  void OnInit(ControlSurface& s) override {
    static const std::vector<LabelPair> kLabels = {
        {IDC_LDAP_SERVER_LABEL, IDS_LDAP_SERVER},
        {IDC_LDAP_PORT_LABEL, IDS_LDAP_PORT},
        {IDC_LDAP_SEARCH_BASE_LABEL, IDS_LDAP_SEARCH_BASE},
        {IDC_LDAP_SEARCH_METHOD_LABEL, IDS_LDAP_SEARCH_METHOD},
        {IDC_LDAP_TIMEOUT_LABEL, IDS_LDAP_TIMEOUT},
        {IDC_LDAP_TIMEOUT_UNIT, IDS_UNIT_SEC},
        {IDC_LDAP_MAX_RESULTS_LABEL, IDS_LDAP_MAX_RESULTS},
        {IDC_LDAP_ACCOUNT_LABEL, IDS_LDAP_ACCOUNT},
        {IDC_LDAP_PASSWORD_LABEL, IDS_LDAP_PASSWORD},
        {IDC_LDAP_DOMAIN_LABEL, IDS_LDAP_DOMAIN},
        {IDC_LDAP_SSL_GROUP, IDS_LDAP_SSL},
        {IDC_LDAP_SSL_ENABLE, IDS_NET_ENABLE},
        {IDC_LDAP_SSL_DISABLE, IDS_NET_DISABLE},
        {IDC_LDAP_AUTH_GROUP, IDS_LDAP_AUTHENTICATION},
        {IDC_LDAP_AUTH_ANONYMOUS, IDS_LDAP_ANONYMOUS},
        {IDC_LDAP_AUTH_SIMPLE, IDS_LDAP_SIMPLE},
        {IDC_LDAP_AUTH_DIGEST, IDS_LDAP_DIGEST},
        {IDC_LDAP_AUTH_SPNEGO, IDS_LDAP_SPNEGO},
    };
    ApplyLabels(s, kLabels);
    InitTextFields(s, ctx.data, Texts());
    lengths_.Take(ctx.data, Texts());
    ShowNumber(s, IDC_LDAP_PORT, GetSetting(ctx.data, kLdapPort));
    s.LimitText(IDC_LDAP_PORT, 5);
    InitSettingsSlider(s, ctx, IDC_LDAP_TIMEOUT);
    InitSettingsSlider(s, ctx, IDC_LDAP_MAX_RESULTS);
    BindingInit(s, ctx.data, Bindings());
  }

  Handled OnCommand(ControlSurface& s, int id, int code) override {
    if (id == IDC_LDAP_PORT) return PortCommand(s, ctx.data, kLdapPort, id, code);
    const Handled text = TextFieldCommand(s, ctx.data, Texts(), id, code);
    if (text != Handled::No) return text;
    return BindingCommand(s, ctx.data, Bindings(), id, code);
  }

  Handled OnScroll(ControlSurface& s, int id, int code) override {
    if (id != IDC_LDAP_TIMEOUT && id != IDC_LDAP_MAX_RESULTS) return Handled::No;
    HandleSettingsSlider(s, ctx, code, id);
    return Handled::Changed;
  }

  bool OnKillActive(ControlSurface& s) override {
    if (guard_.Passing() || PortValid(s)) return true;
    guard_.ShowPage(s);
    s.Focus(IDC_LDAP_PORT);
    return false;
  }
  bool OnApply(ControlSurface& s) override { return PortValid(s); }
  void OnApplied(ControlSurface&) override { lengths_.Take(ctx.data, Texts()); }
  void OnReset(ControlSurface&) override { lengths_.PutBack(ctx.data); }

 private:
  static const std::vector<TextField>& Texts() {
    static const std::vector<TextField> kTexts = {
        {IDC_LDAP_SERVER, kLdapServer, 64, TextField::Filter::Name},
        {IDC_LDAP_ACCOUNT, kLdapAccount, 64, TextField::Filter::Ascii},
        {IDC_LDAP_PASSWORD, kLdapPassword, 32, TextField::Filter::Ascii},
        {IDC_LDAP_SEARCH_BASE, kLdapSearchBase, 64, TextField::Filter::Ascii},
        {IDC_LDAP_DOMAIN, kLdapDomain, 64, TextField::Filter::Ascii},
    };
    return kTexts;
  }
  static const std::vector<Binding>& Bindings() {
    static const std::vector<Binding> kBindings = {
        ListBinding(kLdapSearchMethod, IDC_LDAP_SEARCH_METHOD, IDS_LDAP_BEGIN, IDS_LDAP_END),
        RadioBinding(kLdapSsl, {IDC_LDAP_SSL_ENABLE, IDC_LDAP_SSL_DISABLE}, {1, 0}),
        RadioBinding(kLdapAuthentication,
                     {IDC_LDAP_AUTH_ANONYMOUS, IDC_LDAP_AUTH_SIMPLE, IDC_LDAP_AUTH_DIGEST,
                      IDC_LDAP_AUTH_SPNEGO},
                     {0, 1, 2, 3}),
    };
    return kBindings;
  }
  static bool PortValid(ControlSurface& s) {
    return CheckIntegerField(s, IDC_LDAP_PORT, IDS_INTEGER_RANGE, 1, 65535) != 0;
  }

  KeptItemLengths lengths_;
  LeaveGuard guard_;
};

}  // namespace

std::unique_ptr<SettingsPage> CreateNetworkSettingPage(SettingsContext& ctx) {
  return std::make_unique<NetworkSettingPage>(ctx);
}

std::unique_ptr<SettingsPage> CreateLdapSettingPage(SettingsContext& ctx) {
  return std::make_unique<LdapSettingPage>(ctx);
}

}  // namespace odc
