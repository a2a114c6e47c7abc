// The E-Mail Setting(1) page (sender, SMTP server, default transmission
// mode), the E-Mail Setting(2) page (POP3 reception) and the Communication
// Setting page (dialling, line monitor, PBX prefix, and for region code 3
// the TEL/FAX mode, ring-back time and answering machine).
#include <cstring>

#include "setup/addressbook/entry_dialog_rules.h"
#include "setup/res/resource.h"
#include "setup/settings/settings_binder.h"
#include "setup/settings/settings_pages.h"
#include "setup/settings/text_fields.h"

namespace odc {
namespace email_items {
constexpr uint32_t kSenderName = 0x10401, kAddress = 0x10403, kSmtpServer = 0x10405,
                   kSmtpPort = 0x10406, kTextInsert = 0x10408, kSubject = 0x1040A,
                   kPopBeforeSmtp = 0x1040B, kMode = 0x1040D, kMaxTxSize = 0x1040E,
                   kMaxQuality = 0x1040F, kCoding = 0x10410;
constexpr uint32_t kPop3Server = 0x10412, kPop3Port = 0x10413, kPop3Account = 0x10416,
                   kPop3Password = 0x10418, kAutoReception = 0x10419, kInterval = 0x1041A,
                   kReplyAddress = 0x1041C, kHeaderPrint = 0x1041D;
constexpr uint32_t kDialType = 0x10510, kPulseRate = 0x10511, kLine = 0x10512, kPrefix = 0x10514,
                   kLineMonitor = 0x10515, kTelFax = 0x10516, kRbtTime = 0x10517,
                   kAnswerMachine = 0x10518, kDialTypeLocked = 0x10520, kBothPulseRates = 0x10521;
}  // namespace email_items

namespace {

using namespace email_items;

// E-mail modes and the Advanced mode's starting values.
constexpr uint8_t kModeBasic = 0, kModeAdvanced = 1;
constexpr uint8_t kAdvancedQuality = 2;  // S/F
constexpr uint8_t kAdvancedCoding = 0;   // MH

class EmailSetting1Page : public CheckedTextPage {
 public:
  explicit EmailSetting1Page(SettingsContext& c) : CheckedTextPage(c, Texts()) {}
  PageId Id() const override { return PageId::EmailSetting1; }

  void OnInit(ControlSurface& s) override {
    static const std::vector<LabelPair> kLabels = {
        {IDC_EM1_SENDER_NAME_LABEL, IDS_EM1_SENDER_NAME},
        {IDC_EM1_ADDRESS_LABEL, IDS_EM1_ADDRESS},
        {IDC_EM1_SMTP_SERVER_LABEL, IDS_EM1_SMTP_SERVER},
        {IDC_EM1_SMTP_PORT_LABEL, IDS_EM1_SMTP_PORT},
        {IDC_EM1_SMTP_TIMEOUT_LABEL, IDS_EM1_SMTP_TIMEOUT},
        {IDC_EM1_SUBJECT_LABEL, IDS_EM1_SUBJECT},
        {IDC_EM1_MODE_GROUP, IDS_EMAIL_MODE},
        {IDC_EM1_BASIC, IDS_LABEL_BASIC},
        {IDC_EM1_ADVANCED, IDS_LABEL_ADVANCED},
        {IDC_EM1_SIZE_LABEL, IDS_LABEL_MAX_TX_SIZE},
        {IDC_EM1_QUALITY_LABEL, IDS_LABEL_MAX_QUALITY},
        {IDC_EM1_CODING_LABEL, IDS_LABEL_CODING},
        {IDC_EM1_TEXT_INSERT, IDS_EM1_TEXT_INSERT},
        {IDC_EM1_POP_BEFORE_SMTP, IDS_EM1_POP_BEFORE_SMTP},
    };
    ApplyLabels(s, kLabels);
    InitTexts(s);
    ShowNumber(s, IDC_EM1_SMTP_PORT, GetSetting(ctx.data, kSmtpPort));
    s.LimitText(IDC_EM1_SMTP_PORT, 5);
    InitSettingsSlider(s, ctx, IDC_EM1_SMTP_TIMEOUT);
    InitSettingsSlider(s, ctx, IDC_EM1_POP_WAIT);
    BindingInit(s, ctx.data, Bindings());

    const bool inch = ctx.host.InchPaper();
    const SizeList sizes = MaxTxSizeList(inch, false);
    s.ClearList(IDC_EM1_SIZE);
    for (int id : sizes.stringIds) s.AddListItem(IDC_EM1_SIZE, s.String(id));
    s.SelectListItem(
        IDC_EM1_SIZE,
        MaxTxSizeIndex(static_cast<uint8_t>(GetSetting(ctx.data, kMaxTxSize)), inch, false));
    const int quality = static_cast<int>(GetSetting(ctx.data, kMaxQuality));
    s.ClearList(IDC_EM1_QUALITY);
    FillComboFromStrings(s, IDC_EM1_QUALITY, IDS_QUALITY_FINE, IDS_QUALITY_SF,
                         quality >= 1 && quality <= 2 ? quality - 1 : -1);
    const int coding = static_cast<int>(GetSetting(ctx.data, kCoding));
    s.ClearList(IDC_EM1_CODING);
    FillComboFromStrings(s, IDC_EM1_CODING, IDS_CODING_MH, IDS_CODING_MMR,
                         coding <= 2 ? coding : -1);
    ShowModeLists(s, GetSetting(ctx.data, kMode) == kModeAdvanced);
    EnablePopWait(s);
  }

  Handled OnCommand(ControlSurface& s, int id, int code) override {
    DataSet& d = ctx.data;
    switch (id) {
      case IDC_EM1_SMTP_PORT:
        return PortCommand(s, d, kSmtpPort, id, code);
      case IDC_EM1_BASIC:
      case IDC_EM1_ADVANCED: {
        if (code != kButtonClicked) return Handled::No;
        const bool advanced = id == IDC_EM1_ADVANCED;
        SetSetting(d, kMode, advanced ? kModeAdvanced : kModeBasic);
        if (advanced) {
          const bool inch = ctx.host.InchPaper();
          const SizeList sizes = MaxTxSizeList(inch, false);
          const int size = inch ? 1 : 0;  // Ledger or A3
          SetSetting(d, kMaxTxSize, sizes.codes[size]);
          SetSetting(d, kMaxQuality, kAdvancedQuality);
          SetSetting(d, kCoding, kAdvancedCoding);
          s.SelectListItem(IDC_EM1_SIZE, size);
          s.SelectListItem(IDC_EM1_QUALITY, kAdvancedQuality - 1);
          s.SelectListItem(IDC_EM1_CODING, kAdvancedCoding);
        }
        ShowModeLists(s, advanced);
        return Handled::Changed;
      }
      case IDC_EM1_SIZE: {
        if (code != kListSelChange) return Handled::No;
        const SizeList sizes = MaxTxSizeList(ctx.host.InchPaper(), false);
        const int index = s.ListSelection(id);
        if (index < 0 || index >= static_cast<int>(sizes.codes.size())) return Handled::No;
        SetSetting(d, kMaxTxSize, sizes.codes[static_cast<size_t>(index)]);
        return Handled::Changed;
      }
      case IDC_EM1_QUALITY:
      case IDC_EM1_CODING: {
        if (code != kListSelChange) return Handled::No;
        const int index = s.ListSelection(id);
        if (index < 0) return Handled::No;
        if (id == IDC_EM1_QUALITY)
          SetSetting(d, kMaxQuality, static_cast<uint32_t>(index + 1));
        else
          SetSetting(d, kCoding, static_cast<uint32_t>(index));
        return Handled::Changed;
      }
      default:
        break;
    }
    const Handled text = TextCommand(s, id, code);
    if (text != Handled::No) return text;
    const Handled bound = BindingCommand(s, d, Bindings(), id, code);
    if (bound != Handled::No && id == IDC_EM1_POP_BEFORE_SMTP) EnablePopWait(s);
    return bound;
  }

  Handled OnScroll(ControlSurface& s, int id, int code) override {
    if (id != IDC_EM1_SMTP_TIMEOUT && id != IDC_EM1_POP_WAIT) return Handled::No;
    HandleSettingsSlider(s, ctx, code, id);
    return Handled::Changed;
  }

 private:
  static const std::vector<TextField>& Texts() {
    static const std::vector<TextField> kTexts = {
        {IDC_EM1_SENDER_NAME, kSenderName, 20, TextField::Filter::Name},
        {IDC_EM1_ADDRESS, kAddress, 64, TextField::Filter::Ascii},
        {IDC_EM1_SMTP_SERVER, kSmtpServer, 64, TextField::Filter::Ascii},
        {IDC_EM1_SUBJECT, kSubject, 20, TextField::Filter::Name},
    };
    return kTexts;
  }
  static const std::vector<Binding>& Bindings() {
    static const std::vector<Binding> kBindings = {
        RadioBinding(kMode, {IDC_EM1_BASIC, IDC_EM1_ADVANCED}, {kModeBasic, kModeAdvanced}),
        CheckBinding(kTextInsert, IDC_EM1_TEXT_INSERT, 0, 8),
        CheckBinding(kPopBeforeSmtp, IDC_EM1_POP_BEFORE_SMTP, 0, 1),
    };
    return kBindings;
  }

  static void ShowModeLists(ControlSurface& s, bool shown) {
    for (int id : {IDC_EM1_SIZE_LABEL, IDC_EM1_SIZE, IDC_EM1_QUALITY_LABEL, IDC_EM1_QUALITY,
                   IDC_EM1_CODING_LABEL, IDC_EM1_CODING})
      s.Show(id, shown);
  }
  // The wait keeps its value while POP before SMTP is off.
  static void EnablePopWait(ControlSurface& s) {
    const bool on = s.IsChecked(IDC_EM1_POP_BEFORE_SMTP);
    s.Enable(IDC_EM1_POP_WAIT, on);
    s.Enable(IDC_EM1_POP_WAIT_VALUE, on);
  }
  bool Valid(ControlSurface& s) override {
    return CheckOptionalMailAddress(s, IDC_EM1_ADDRESS) &&
           CheckIntegerField(s, IDC_EM1_SMTP_PORT, IDS_INTEGER_RANGE, 1, 65535) != 0;
  }
};

// ---------------------------------------------------------------------------

class EmailSetting2Page : public CheckedTextPage {
 public:
  explicit EmailSetting2Page(SettingsContext& c) : CheckedTextPage(c, Texts()) {}
  PageId Id() const override { return PageId::EmailSetting2; }

  void OnInit(ControlSurface& s) override {
    static const std::vector<LabelPair> kLabels = {
        {IDC_EM2_POP3_SERVER_LABEL, IDS_EM2_POP3_SERVER},
        {IDC_EM2_POP3_ACCOUNT_LABEL, IDS_EM2_POP3_ACCOUNT},
        {IDC_EM2_POP3_PASSWORD_LABEL, IDS_EM2_POP3_PASSWORD},
        {IDC_EM2_POP3_PORT_LABEL, IDS_EM2_POP3_PORT},
        {IDC_EM2_POP3_TIMEOUT_LABEL, IDS_EM2_POP3_TIMEOUT},
        {IDC_EM2_AUTO_RECEPTION, IDS_EM2_AUTO_RECEPTION},
        {IDC_EM2_MINUTES_LABEL, IDS_EM2_MINUTES},
        {IDC_EM2_REPLY_ADDRESS_LABEL, IDS_EM2_REPLY_ADDRESS},
        {IDC_EM2_HEADER_PRINT, IDS_EM2_HEADER_PRINT},
    };
    ApplyLabels(s, kLabels);
    InitTexts(s);
    ShowNumber(s, IDC_EM2_POP3_PORT, GetSetting(ctx.data, kPop3Port));
    s.LimitText(IDC_EM2_POP3_PORT, 5);
    s.SetText(IDC_EM2_INTERVAL, std::to_string(GetSetting(ctx.data, kInterval)));
    s.LimitText(IDC_EM2_INTERVAL, 2);
    BindingInit(s, ctx.data, Bindings());
    EnableInterval(s);
    InitSettingsSlider(s, ctx, IDC_EM2_POP3_TIMEOUT);
  }

  Handled OnCommand(ControlSurface& s, int id, int code) override {
    DataSet& d = ctx.data;
    if (id == IDC_EM2_POP3_PORT) return PortCommand(s, d, kPop3Port, id, code);
    if (id == IDC_EM2_INTERVAL) {
      if (code != kEditChange) return Handled::No;
      StoreInterval(s);
      return Handled::Changed;
    }
    const Handled text = TextCommand(s, id, code);
    if (text != Handled::No) return text;
    const Handled bound = BindingCommand(s, d, Bindings(), id, code);
    if (bound != Handled::No && id == IDC_EM2_AUTO_RECEPTION) EnableInterval(s);
    return bound;
  }

  Handled OnScroll(ControlSurface& s, int id, int code) override {
    if (id == IDC_EM2_POP3_TIMEOUT) {
      HandleSettingsSlider(s, ctx, code, id);
      return Handled::Changed;
    }
    if (id == IDC_EM2_INTERVAL_SCROLL && (code == kLineUp || code == kLineDown)) {
      StepEditNumber(s, code, IDC_EM2_INTERVAL, 1, 60);
      // The edit's own change notification is not the page's to take: the
      // stepped number is stored here.
      StoreInterval(s);
      return Handled::Changed;
    }
    return Handled::No;
  }

 private:
  static const std::vector<TextField>& Texts() {
    static const std::vector<TextField> kTexts = {
        {IDC_EM2_POP3_SERVER, kPop3Server, 64, TextField::Filter::Ascii},
        {IDC_EM2_POP3_ACCOUNT, kPop3Account, 64, TextField::Filter::Ascii},
        {IDC_EM2_POP3_PASSWORD, kPop3Password, 32, TextField::Filter::Ascii},
        {IDC_EM2_REPLY_ADDRESS, kReplyAddress, 64, TextField::Filter::Mail},
    };
    return kTexts;
  }
  static const std::vector<Binding>& Bindings() {
    static const std::vector<Binding> kBindings = {
        CheckBinding(kAutoReception, IDC_EM2_AUTO_RECEPTION, 0, 1),
        CheckBinding(kHeaderPrint, IDC_EM2_HEADER_PRINT, 0, 1),
    };
    return kBindings;
  }

  void StoreInterval(ControlSurface& s) {
    std::string text = s.Text(IDC_EM2_INTERVAL, 3);
    ApplyDigitFilter(s, text, IDC_EM2_INTERVAL, 2);
    SetSetting(ctx.data, kInterval, static_cast<uint32_t>(LeadingInteger(text)) & 0xFF);
  }
  static void EnableInterval(ControlSurface& s) {
    const bool on = s.IsChecked(IDC_EM2_AUTO_RECEPTION);
    s.Enable(IDC_EM2_INTERVAL, on);
    s.Enable(IDC_EM2_INTERVAL_SCROLL, on);
  }
  bool Valid(ControlSurface& s) override {
    if (s.IsChecked(IDC_EM2_AUTO_RECEPTION) &&
        !CheckIntegerField(s, IDC_EM2_INTERVAL, IDS_INTEGER_RANGE, 1, 60))
      return false;
    return CheckIntegerField(s, IDC_EM2_POP3_PORT, IDS_INTEGER_RANGE, 1, 65535) != 0 &&
           CheckOptionalMailAddress(s, IDC_EM2_REPLY_ADDRESS);
  }
};

// ---------------------------------------------------------------------------

constexpr uint8_t kDialTone = 0x00, kDialPulse = 0x10;
constexpr uint8_t kPulse10 = 0, kPulse20 = 4;
constexpr uint8_t kLinePstn = 0, kLinePbx = 0x40;
constexpr int kPrefixLength = 4;

class CommunicationSettingPage : public SettingsPage {
 public:
  explicit CommunicationSettingPage(SettingsContext& c) : SettingsPage(c) {}
  PageId Id() const override { return PageId::CommunicationSetting; }

  void OnInit(ControlSurface& s) override {
    static const std::vector<LabelPair> kLabels = {
        {IDC_COM_GROUP, IDS_COM_GROUP},         {IDC_COM_DIAL_GROUP, IDS_COM_DIAL_GROUP},
        {IDC_COM_TONE, IDS_COM_TONE},           {IDC_COM_PULSE_10, IDS_COM_PULSE_10},
        {IDC_COM_PULSE_20, IDS_COM_PULSE_20},   {IDC_COM_MONITOR_GROUP, IDS_COM_MONITOR_GROUP},
        {IDC_COM_MONITOR_HIGH, IDS_COM_HIGH},   {IDC_COM_MONITOR_LOW, IDS_COM_LOW},
        {IDC_COM_MONITOR_OFF, IDS_COM_OFF},     {IDC_COM_LINE_GROUP, IDS_COM_LINE_GROUP},
        {IDC_COM_PSTN, IDS_COM_PSTN},           {IDC_COM_PBX, IDS_COM_PBX},
        {IDC_COM_PREFIX_LABEL, IDS_COM_PREFIX}, {IDC_COM_TEL_FAX_GROUP, IDS_COM_TEL_FAX_GROUP},
        {IDC_COM_TEL_FAX_ON, IDS_COM_ON},       {IDC_COM_TEL_FAX_OFF, IDS_COM_OFF_MODE},
        {IDC_COM_RBT_GROUP, IDS_COM_RBT_GROUP}, {IDC_COM_ANSWER_GROUP, IDS_COM_ANSWER_GROUP},
        {IDC_COM_ANSWER_ON, IDS_COM_ANSWER_ON}, {IDC_COM_ANSWER_OFF, IDS_COM_ANSWER_OFF},
    };
    ApplyLabels(s, kLabels);
    const DataSet& d = ctx.data;

    // Tone/Pulse: locked as a whole, or only the stored pulse rate offered.
    const uint32_t dialType = GetSetting(d, kDialType);
    const uint32_t rate = GetSetting(d, kPulseRate);
    const bool locked = GetSetting(d, kDialTypeLocked) != 0;
    const bool bothRates = GetSetting(d, kBothPulseRates) != 0;
    s.Enable(IDC_COM_DIAL_GROUP, !locked);
    s.Enable(IDC_COM_TONE, !locked);
    s.Enable(IDC_COM_PULSE_10, !locked && (bothRates || rate == kPulse10));
    s.Enable(IDC_COM_PULSE_20, !locked && (bothRates || rate == kPulse20));
    int dialButton = IDC_COM_TONE;
    if (dialType == kDialPulse) {
      dialButton = rate == kPulse10 ? IDC_COM_PULSE_10 : rate == kPulse20 ? IDC_COM_PULSE_20 : 0;
    }
    SelectRadio(s, {IDC_COM_TONE, IDC_COM_PULSE_10, IDC_COM_PULSE_20}, dialButton);

    BindingInit(s, d, Bindings());
    // The prefix is shown also while PSTN holds it back, so that PBX
    // offers the prefix that is kept.
    const char* prefix = reinterpret_cast<const char*>(SettingBytes(d, kPrefix));
    s.SetText(IDC_COM_PREFIX, std::string(prefix, strnlen(prefix, kPrefixLength)));
    s.LimitText(IDC_COM_PREFIX, kPrefixLength);
    s.Enable(IDC_COM_PREFIX, GetSetting(d, kLine) != kLinePstn);

    const bool region3 = GetSetting(d, kRegionCodeId) == 3;
    for (int id :
         {IDC_COM_TEL_FAX_GROUP, IDC_COM_TEL_FAX_ON, IDC_COM_TEL_FAX_OFF, IDC_COM_RBT_GROUP,
          IDC_COM_RBT_TIME, IDC_COM_ANSWER_GROUP, IDC_COM_ANSWER_ON, IDC_COM_ANSWER_OFF})
      s.Show(id, region3);
  }

  Handled OnCommand(ControlSurface& s, int id, int code) override {
    DataSet& d = ctx.data;
    switch (id) {
      case IDC_COM_TONE:
      case IDC_COM_PULSE_10:
      case IDC_COM_PULSE_20:
        if (code != kButtonClicked) return Handled::No;
        SetSetting(d, kDialType, id == IDC_COM_TONE ? kDialTone : kDialPulse);
        if (id != IDC_COM_TONE)
          SetSetting(d, kPulseRate, id == IDC_COM_PULSE_10 ? kPulse10 : kPulse20);
        return Handled::Changed;
      case IDC_COM_PREFIX: {
        if (code != kEditChange) return Handled::No;
        std::string text = s.Text(id, kPrefixLength + 1);
        ApplyDigitFilter(s, text, id, kPrefixLength);
        uint8_t* prefix = SettingBytes(d, kPrefix);
        std::memset(prefix, 0, kPrefixLength + 1);
        std::memcpy(prefix, text.data(), std::min<size_t>(text.size(), kPrefixLength));
        return Handled::Changed;
      }
      default:
        break;
    }
    const Handled bound = BindingCommand(s, d, Bindings(), id, code);
    if (bound != Handled::No && (id == IDC_COM_PSTN || id == IDC_COM_PBX))
      s.Enable(IDC_COM_PREFIX, id == IDC_COM_PBX);
    return bound;
  }

 private:
  static const std::vector<Binding>& Bindings() {
    static const std::vector<Binding> kBindings = {
        // Any monitor value but High and Off shows Low.
        RadioBinding(kLineMonitor, {IDC_COM_MONITOR_HIGH, IDC_COM_MONITOR_LOW, IDC_COM_MONITOR_OFF},
                     {0x00, 0x10, 0x20}, 1),
        RadioBinding(kLine, {IDC_COM_PSTN, IDC_COM_PBX}, {kLinePstn, kLinePbx}, 0),
        RadioBinding(kTelFax, {IDC_COM_TEL_FAX_OFF, IDC_COM_TEL_FAX_ON}, {0x00, 0x80}),
        RadioBinding(kAnswerMachine, {IDC_COM_ANSWER_OFF, IDC_COM_ANSWER_ON}, {0x00, 0x40}),
        ListBinding(kRbtTime, IDC_COM_RBT_TIME, IDS_COM_RBT_5, IDS_COM_RBT_240),
    };
    return kBindings;
  }
};

}  // namespace

std::unique_ptr<SettingsPage> CreateEmailSetting1Page(SettingsContext& ctx) {
  return std::make_unique<EmailSetting1Page>(ctx);
}

std::unique_ptr<SettingsPage> CreateEmailSetting2Page(SettingsContext& ctx) {
  return std::make_unique<EmailSetting2Page>(ctx);
}

std::unique_ptr<SettingsPage> CreateCommunicationSettingPage(SettingsContext& ctx) {
  return std::make_unique<CommunicationSettingPage>(ctx);
}

}  // namespace odc
