// The E-Mail Setting(1), E-Mail Setting(2) and Communication Setting pages
// through the in-memory surface.
#include <cstring>

#include "setup/res/resource.h"
#include "tests/ui/settings_page_fixture.h"

namespace odc {
namespace test {
namespace {

constexpr uint32_t kSenderName = 0x10401, kAddress = 0x10403, kSmtpServer = 0x10405,
                   kSmtpPort = 0x10406, kSmtpTimeout = 0x10407, kTextInsert = 0x10408,
                   kSubject = 0x1040A, kPopBeforeSmtp = 0x1040B, kPopWait = 0x1040C,
                   kMode = 0x1040D, kMaxTxSize = 0x1040E, kMaxQuality = 0x1040F, kCoding = 0x10410;
constexpr uint32_t kPop3Server = 0x10412, kPop3Port = 0x10413, kPop3Timeout = 0x10414,
                   kPop3Account = 0x10416, kPop3Password = 0x10418, kAutoReception = 0x10419,
                   kInterval = 0x1041A, kReplyAddress = 0x1041C, kHeaderPrint = 0x1041D;
constexpr uint32_t kDialType = 0x10510, kPulseRate = 0x10511, kLine = 0x10512, kPrefix = 0x10514,
                   kLineMonitor = 0x10515, kTelFax = 0x10516, kRbtTime = 0x10517,
                   kAnswerMachine = 0x10518, kDialTypeLocked = 0x10520, kBothPulseRates = 0x10521;

const char* kInvalidMail = "E-Mail address is invalid !\n\nExample: user@example.com";

class EmailPages : public SettingsPageTest {
 protected:
  void SetText(uint32_t id, const char* text, uint32_t length) {
    std::strcpy(SettingText(*data, id), text);
    SetItemLength(*data, id, length);
  }
  uint32_t Length(uint32_t id) { return data->records[FindRecord(*data, id)].length; }
  void OpenFirst() {
    SetText(kSenderName, "Front Desk", 10);
    SetText(kAddress, "desk@example.com", 16);
    SetText(kSmtpServer, "smtp.example.com", 16);
    SetText(kSubject, "Scan", 4);
    SetSetting(*data, kSmtpPort, 25);
    SetSetting(*data, kSmtpTimeout, 60);
    SetSetting(*data, kPopWait, 20);
    Open(PageId::EmailSetting1);
    s.RadioGroup({IDC_EM1_BASIC, IDC_EM1_ADVANCED});
  }
  void OpenSecond() {
    SetText(kPop3Server, "pop.example.com", 15);
    SetText(kPop3Account, "desk", 4);
    SetText(kPop3Password, "pw", 2);
    SetText(kReplyAddress, "reply@example.com", 17);
    SetSetting(*data, kPop3Port, 110);
    SetSetting(*data, kPop3Timeout, 90);
    SetSetting(*data, kInterval, 15);
    Open(PageId::EmailSetting2);
  }
};

TEST_F(EmailPages, FirstPageShowsItsValues) {
  SetSetting(*data, kTextInsert, 8);
  SetSetting(*data, kMode, 1);
  SetSetting(*data, kMaxTxSize, 1);
  SetSetting(*data, kMaxQuality, 1);
  SetSetting(*data, kCoding, 2);
  OpenFirst();
  EXPECT_EQ(s.At(IDC_EM1_SENDER_NAME).text, "Front Desk");
  EXPECT_EQ(s.At(IDC_EM1_SENDER_NAME).limit, 20);
  EXPECT_EQ(s.At(IDC_EM1_ADDRESS).limit, 64);
  EXPECT_EQ(s.At(IDC_EM1_SMTP_PORT).text, "25");
  EXPECT_TRUE(s.IsChecked(IDC_EM1_TEXT_INSERT)) << "8 = on";
  EXPECT_EQ(s.At(IDC_EM1_SMTP_TIMEOUT).low, 30);
  EXPECT_EQ(s.At(IDC_EM1_SMTP_TIMEOUT).high, 300);
  EXPECT_EQ(s.At(IDC_EM1_SMTP_TIMEOUT_VALUE).text, "60 sec");
  EXPECT_EQ(s.At(IDC_EM1_POP_WAIT).high, 60);
  EXPECT_EQ(s.At(IDC_EM1_POP_WAIT_VALUE).text, "20 sec");
  EXPECT_TRUE(s.IsChecked(IDC_EM1_ADVANCED));
  EXPECT_EQ(s.At(IDC_EM1_SIZE).items, (std::vector<std::string>{"A3", "B4", "A4"}));
  EXPECT_EQ(s.At(IDC_EM1_SIZE).selection, 1);
  EXPECT_EQ(s.At(IDC_EM1_QUALITY).items, (std::vector<std::string>{"Fine", "S/F"}));
  EXPECT_EQ(s.At(IDC_EM1_QUALITY).selection, 0);
  EXPECT_EQ(s.At(IDC_EM1_CODING).items, (std::vector<std::string>{"MH", "MR", "MMR"}));
  EXPECT_EQ(s.At(IDC_EM1_CODING).selection, 2);
  for (int id : {IDC_EM1_SIZE_LABEL, IDC_EM1_SIZE, IDC_EM1_QUALITY, IDC_EM1_CODING_LABEL})
    EXPECT_TRUE(s.IsShown(id)) << id;
  EXPECT_FALSE(s.IsChecked(IDC_EM1_POP_BEFORE_SMTP));
  EXPECT_FALSE(s.IsEnabled(IDC_EM1_POP_WAIT));
  EXPECT_FALSE(s.IsEnabled(IDC_EM1_POP_WAIT_VALUE));
  EXPECT_EQ(s.At(IDC_EM1_MODE_GROUP).text, "E-Mail Mode");
  EXPECT_EQ(s.At(IDC_EM1_ADVANCED).text, "Advanced(&1)");
}

TEST_F(EmailPages, CodesWithoutAPlaceSelectNothingAndStay) {
  SetSetting(*data, kMode, 1);
  SetSetting(*data, kMaxTxSize, 5);  // no size of either list
  SetSetting(*data, kMaxQuality, 0);
  SetSetting(*data, kCoding, 7);
  OpenFirst();
  EXPECT_EQ(s.At(IDC_EM1_SIZE).selection, -1);
  EXPECT_EQ(s.At(IDC_EM1_QUALITY).selection, -1);
  EXPECT_EQ(s.At(IDC_EM1_CODING).selection, -1);
  s.Click(*driver, IDC_EM1_TEXT_INSERT);
  ASSERT_TRUE(driver->Apply(s));
  EXPECT_EQ(ImageData(kMaxTxSize)[0], 5);
  EXPECT_EQ(ImageData(kCoding)[0], 7);
}

TEST_F(EmailPages, BasicHidesTheModeLists) {
  OpenFirst();
  EXPECT_TRUE(s.IsChecked(IDC_EM1_BASIC));
  for (int id : {IDC_EM1_SIZE_LABEL, IDC_EM1_SIZE, IDC_EM1_QUALITY_LABEL, IDC_EM1_QUALITY,
                 IDC_EM1_CODING_LABEL, IDC_EM1_CODING})
    EXPECT_FALSE(s.IsShown(id)) << id;
}

TEST_F(EmailPages, AdvancedStartsFromTheDefaultsOfThePaper) {
  struct Row {
    bool inch;
    std::vector<std::string> sizes;
    int sizeIndex;
    uint32_t sizeCode;
  };
  const Row rows[] = {{false, {"A3", "B4", "A4"}, 0, 0}, {true, {"Letter", "Ledger"}, 1, 9}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.inch ? "inch" : "metric");
    s = MemorySurface();
    host.inchPaper = r.inch;
    SetSetting(*data, kMode, 0);
    SetSetting(*data, kMaxTxSize, 2);
    SetSetting(*data, kMaxQuality, 1);
    SetSetting(*data, kCoding, 2);
    OpenFirst();
    s.Click(*driver, IDC_EM1_ADVANCED);
    EXPECT_EQ(GetSetting(*data, kMode), 1u);
    EXPECT_EQ(s.At(IDC_EM1_SIZE).items, r.sizes);
    EXPECT_EQ(s.At(IDC_EM1_SIZE).selection, r.sizeIndex);
    EXPECT_EQ(GetSetting(*data, kMaxTxSize), r.sizeCode);
    EXPECT_EQ(GetSetting(*data, kMaxQuality), 2u) << "S/F";
    EXPECT_EQ(s.At(IDC_EM1_QUALITY).selection, 1);
    EXPECT_EQ(GetSetting(*data, kCoding), 0u) << "MH";
    EXPECT_EQ(s.At(IDC_EM1_CODING).selection, 0);
    EXPECT_TRUE(s.IsShown(IDC_EM1_CODING_LABEL));
    s.Click(*driver, IDC_EM1_BASIC);
    EXPECT_EQ(GetSetting(*data, kMode), 0u);
    EXPECT_FALSE(s.IsShown(IDC_EM1_SIZE));
  }
}

TEST_F(EmailPages, ModeListsStoreTheirCodes) {
  host.inchPaper = true;
  SetSetting(*data, kMode, 1);
  OpenFirst();
  s.Choose(*driver, IDC_EM1_SIZE, 0);
  EXPECT_EQ(GetSetting(*data, kMaxTxSize), 12u) << "Letter";
  s.Choose(*driver, IDC_EM1_SIZE, 1);
  EXPECT_EQ(GetSetting(*data, kMaxTxSize), 9u) << "Ledger";
  s.Choose(*driver, IDC_EM1_QUALITY, 0);
  EXPECT_EQ(GetSetting(*data, kMaxQuality), 1u);
  s.Choose(*driver, IDC_EM1_CODING, 1);
  EXPECT_EQ(GetSetting(*data, kCoding), 1u);
  ASSERT_TRUE(driver->Apply(s));
  EXPECT_EQ(ImageData(kMaxTxSize)[0], 9);
}

TEST_F(EmailPages, BoxesAndTheWaitSlider) {
  OpenFirst();
  s.Click(*driver, IDC_EM1_TEXT_INSERT);
  EXPECT_EQ(GetSetting(*data, kTextInsert), 8u);
  s.Click(*driver, IDC_EM1_TEXT_INSERT);
  EXPECT_EQ(GetSetting(*data, kTextInsert), 0u);
  s.Click(*driver, IDC_EM1_POP_BEFORE_SMTP);
  EXPECT_EQ(GetSetting(*data, kPopBeforeSmtp), 1u);
  EXPECT_TRUE(s.IsEnabled(IDC_EM1_POP_WAIT));
  s.Slide(*driver, IDC_EM1_POP_WAIT, kPageDown);
  EXPECT_EQ(GetSetting(*data, kPopWait), 25u);
  EXPECT_EQ(s.At(IDC_EM1_POP_WAIT_VALUE).text, "25 sec");
  s.Click(*driver, IDC_EM1_POP_BEFORE_SMTP);
  EXPECT_EQ(GetSetting(*data, kPopBeforeSmtp), 0u);
  EXPECT_FALSE(s.IsEnabled(IDC_EM1_POP_WAIT));
  EXPECT_EQ(GetSetting(*data, kPopWait), 25u) << "the wait keeps its value";
  s.Slide(*driver, IDC_EM1_SMTP_TIMEOUT, kLineUp);
  EXPECT_EQ(GetSetting(*data, kSmtpTimeout), 59u);
}

TEST_F(EmailPages, FirstPageChecksAddressThenPort) {
  struct Row {
    std::string address, port;
    std::vector<std::string> messages;
    int focus;
  };
  const Row rows[] = {
      {"no-at-sign.example.com", "25", {kInvalidMail}, IDC_EM1_ADDRESS},
      {"a@b", "0", {kInvalidMail}, IDC_EM1_ADDRESS},
      {"", "0", {RangeMessage(1, 65535)}, IDC_EM1_SMTP_PORT},
      {"x@example.com", "70000", {RangeMessage(1, 65535)}, IDC_EM1_SMTP_PORT},
      {"", "587", {}, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.address + " " + r.port);
    s = MemorySurface();
    OpenFirst();
    s.Type(*driver, IDC_EM1_ADDRESS, r.address);
    s.Type(*driver, IDC_EM1_SMTP_PORT, r.port);
    EXPECT_EQ(driver->KillActive(s), r.messages.empty());
    EXPECT_EQ(s.messages, r.messages);
    EXPECT_EQ(s.focus, r.focus);
    if (r.focus) {
      EXPECT_EQ(s.At(r.focus).selStart, 0);
      EXPECT_EQ(s.At(r.focus).selEnd, static_cast<int>(s.At(r.focus).text.size()));
    }
    s.messages.clear();
    EXPECT_EQ(driver->Apply(s), r.messages.empty());
    EXPECT_EQ(s.messages, r.messages);
    if (!r.messages.empty()) {
      EXPECT_EQ(Setting(kAddress), r.address) << "the typed text stays";
    }
  }
}

TEST_F(EmailPages, FirstPageTextLengthsAfterEditAndAfterCancel) {
  OpenFirst();
  s.Type(*driver, IDC_EM1_SMTP_SERVER, "mail.a-much-longer-server-name.example.com");
  s.Type(*driver, IDC_EM1_ADDRESS, "a@b.c");
  s.Type(*driver, IDC_EM1_SENDER_NAME, "Office");
  s.Type(*driver, IDC_EM1_SUBJECT, std::string(21, 'S'));
  EXPECT_EQ(Length(kSmtpServer), 42u);
  EXPECT_EQ(Length(kAddress), 5u);
  EXPECT_EQ(Length(kSenderName), 6u);
  EXPECT_EQ(Length(kSubject), 20u) << "cut to the field";
  EXPECT_EQ(Setting(kSubject), std::string(20, 'S'));
  Cancel();
  EXPECT_EQ(Setting(kSmtpServer), "smtp.example.com");
  EXPECT_EQ(Length(kSmtpServer), 16u);
  EXPECT_EQ(Length(kAddress), 16u);
  EXPECT_EQ(Length(kSenderName), 10u);
  EXPECT_EQ(Length(kSubject), 4u);
}

TEST_F(EmailPages, AnAppliedTextKeepsItsLengthThroughALaterCancel) {
  OpenFirst();
  s.Type(*driver, IDC_EM1_SMTP_SERVER, "mx");
  ASSERT_TRUE(driver->Apply(s));
  EXPECT_EQ(Length(kSmtpServer), 2u);
  s.Type(*driver, IDC_EM1_SMTP_SERVER, "mx.example.net");
  Cancel();
  EXPECT_EQ(Setting(kSmtpServer), "mx");
  EXPECT_EQ(Length(kSmtpServer), 2u);
}

// OK packs every working value when an earlier page applies; when a later
// page then refuses and the sheet is cancelled, the typed text is in the
// image and must keep its own length.
TEST_F(EmailPages, ATextPackedByAnotherPageKeepsItsOwnLengthThroughACancel) {
  OpenFirst();
  s.Type(*driver, IDC_EM1_SMTP_SERVER, "mail.a-much-longer-server-name.example.com");
  PackTransferImage(*data);  // another page's apply
  Cancel();
  EXPECT_EQ(Setting(kSmtpServer), "mail.a-much-longer-server-name.example.com");
  EXPECT_EQ(Length(kSmtpServer), 42u);
}

TEST_F(EmailPages, FirstPageTextFilters) {
  OpenFirst();
  s.Type(*driver, IDC_EM1_SMTP_SERVER, "smtp\t.example.com");
  EXPECT_EQ(s.At(IDC_EM1_SMTP_SERVER).text, "smtp.example.com");
  EXPECT_EQ(s.At(IDC_EM1_SMTP_SERVER).selStart, 4);
  s.Type(*driver, IDC_EM1_SMTP_PORT, "2a5");
  EXPECT_EQ(s.At(IDC_EM1_SMTP_PORT).text, "25");
  EXPECT_EQ(GetSetting(*data, kSmtpPort), 25u);
}

TEST_F(EmailPages, SecondPageShowsItsValues) {
  SetSetting(*data, kAutoReception, 0);
  SetSetting(*data, kHeaderPrint, 1);
  OpenSecond();
  EXPECT_EQ(s.At(IDC_EM2_POP3_SERVER).text, "pop.example.com");
  EXPECT_EQ(s.At(IDC_EM2_POP3_PASSWORD).limit, 32);
  EXPECT_EQ(s.At(IDC_EM2_REPLY_ADDRESS).limit, 64);
  EXPECT_EQ(s.At(IDC_EM2_POP3_PORT).text, "110");
  EXPECT_EQ(s.At(IDC_EM2_INTERVAL).text, "15");
  EXPECT_FALSE(s.IsChecked(IDC_EM2_AUTO_RECEPTION));
  EXPECT_FALSE(s.IsEnabled(IDC_EM2_INTERVAL));
  EXPECT_FALSE(s.IsEnabled(IDC_EM2_INTERVAL_SCROLL));
  EXPECT_TRUE(s.IsChecked(IDC_EM2_HEADER_PRINT));
  EXPECT_EQ(s.At(IDC_EM2_POP3_TIMEOUT_VALUE).text, "90 sec");
  EXPECT_EQ(s.At(IDC_EM2_MINUTES_LABEL).text, "Minute(s)");
}

TEST_F(EmailPages, IntervalFollowsAutoReceptionAndTheArrows) {
  OpenSecond();
  s.Click(*driver, IDC_EM2_AUTO_RECEPTION);
  EXPECT_EQ(GetSetting(*data, kAutoReception), 1u);
  EXPECT_TRUE(s.IsEnabled(IDC_EM2_INTERVAL));
  EXPECT_TRUE(s.IsEnabled(IDC_EM2_INTERVAL_SCROLL));
  s.Slide(*driver, IDC_EM2_INTERVAL_SCROLL, kLineUp);
  EXPECT_EQ(s.At(IDC_EM2_INTERVAL).text, "16");
  EXPECT_EQ(GetSetting(*data, kInterval), 16u);
  s.Type(*driver, IDC_EM2_INTERVAL, "60");
  s.Slide(*driver, IDC_EM2_INTERVAL_SCROLL, kLineUp);
  EXPECT_EQ(GetSetting(*data, kInterval), 60u) << "clamped at 60";
  s.Type(*driver, IDC_EM2_INTERVAL, "1");
  s.Slide(*driver, IDC_EM2_INTERVAL_SCROLL, kLineDown);
  EXPECT_EQ(s.At(IDC_EM2_INTERVAL).text, "1") << "clamped at 1";
  s.Type(*driver, IDC_EM2_INTERVAL, "4x");
  EXPECT_EQ(s.At(IDC_EM2_INTERVAL).text, "4");
  EXPECT_EQ(GetSetting(*data, kInterval), 4u);
  s.Click(*driver, IDC_EM2_AUTO_RECEPTION);
  EXPECT_EQ(GetSetting(*data, kAutoReception), 0u);
  EXPECT_FALSE(s.IsEnabled(IDC_EM2_INTERVAL));
  s.Click(*driver, IDC_EM2_HEADER_PRINT);
  EXPECT_EQ(GetSetting(*data, kHeaderPrint), 1u);
}

TEST_F(EmailPages, SecondPageChecksIntervalPortAndReplyAddress) {
  struct Row {
    bool autoReception;
    std::string interval, port, reply;
    std::string message;
    int focus;
  };
  const Row rows[] = {
      {true, "0", "110", "", RangeMessage(1, 60), IDC_EM2_INTERVAL},
      {true, "61", "0", "", RangeMessage(1, 60), IDC_EM2_INTERVAL},
      {false, "0", "110", "", "", 0},
      {false, "61", "65536", "", RangeMessage(1, 65535), IDC_EM2_POP3_PORT},
      {true, "60", "110", "reply.example.com", kInvalidMail, IDC_EM2_REPLY_ADDRESS},
      {true, "1", "995", "r@example.com", "", 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.interval + " " + r.port + " " + r.reply);
    s = MemorySurface();
    SetSetting(*data, kAutoReception, r.autoReception ? 1 : 0);
    OpenSecond();
    s.Type(*driver, IDC_EM2_INTERVAL, r.interval);
    s.Type(*driver, IDC_EM2_POP3_PORT, r.port);
    s.Type(*driver, IDC_EM2_REPLY_ADDRESS, r.reply);
    EXPECT_EQ(driver->KillActive(s), r.message.empty());
    EXPECT_EQ(LastMessage(), r.message);
    EXPECT_EQ(s.focus, r.focus);
    s.messages.clear();
    EXPECT_EQ(driver->Apply(s), r.message.empty());
    EXPECT_EQ(LastMessage(), r.message);
  }
}

TEST_F(EmailPages, SecondPageTextsAndTheirLengths) {
  OpenSecond();
  s.Type(*driver, IDC_EM2_REPLY_ADDRESS, "re,ply@example.com");
  EXPECT_EQ(s.At(IDC_EM2_REPLY_ADDRESS).text, "reply@example.com") << "mail characters only";
  s.Type(*driver, IDC_EM2_POP3_PASSWORD, "a-new-and-longer-password");
  s.Type(*driver, IDC_EM2_POP3_ACCOUNT, "x");
  s.Type(*driver, IDC_EM2_POP3_SERVER, "");
  EXPECT_EQ(Length(kPop3Password), 25u);
  EXPECT_EQ(Length(kPop3Account), 1u);
  EXPECT_EQ(Length(kPop3Server), 0u);
  Cancel();
  EXPECT_EQ(Setting(kPop3Password), "pw");
  EXPECT_EQ(Length(kPop3Password), 2u);
  EXPECT_EQ(Length(kPop3Account), 4u);
  EXPECT_EQ(Length(kPop3Server), 15u);
  EXPECT_EQ(Length(kReplyAddress), 17u);
}

// ---------------------------------------------------------------------------

class CommunicationPage : public SettingsPageTest {};

TEST_F(CommunicationPage, ToneAndPulseButtons) {
  struct Row {
    uint8_t locked, both, dialType, rate;
    bool group, tone, pulse10, pulse20;
    int selected;  // 0: none
  };
  const Row rows[] = {
      {1, 1, 0x10, 4, false, false, false, false, IDC_COM_PULSE_20},
      {0, 1, 0x00, 0, true, true, true, true, IDC_COM_TONE},
      {0, 0, 0x10, 4, true, true, false, true, IDC_COM_PULSE_20},
      {0, 0, 0x10, 0, true, true, true, false, IDC_COM_PULSE_10},
      {0, 0, 0x00, 4, true, true, false, true, IDC_COM_TONE},
      {0, 0, 0x20, 0, true, true, true, false, IDC_COM_TONE},
      {0, 1, 0x10, 2, true, true, true, true, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message()
                 << int(r.locked) << int(r.both) << " " << int(r.dialType) << " " << int(r.rate));
    s = MemorySurface();
    SetSetting(*data, kDialTypeLocked, r.locked);
    SetSetting(*data, kBothPulseRates, r.both);
    SetSetting(*data, kDialType, r.dialType);
    SetSetting(*data, kPulseRate, r.rate);
    Open(PageId::CommunicationSetting);
    EXPECT_EQ(s.IsEnabled(IDC_COM_DIAL_GROUP), r.group);
    EXPECT_EQ(s.IsEnabled(IDC_COM_TONE), r.tone);
    EXPECT_EQ(s.IsEnabled(IDC_COM_PULSE_10), r.pulse10);
    EXPECT_EQ(s.IsEnabled(IDC_COM_PULSE_20), r.pulse20);
    for (int id : {IDC_COM_TONE, IDC_COM_PULSE_10, IDC_COM_PULSE_20})
      EXPECT_EQ(s.IsChecked(id), id == r.selected) << id;
  }
}

TEST_F(CommunicationPage, ClicksStoreTheMachineCodes) {
  SetSetting(*data, kBothPulseRates, 1);
  SetSetting(*data, kRegionCodeId, 3);
  Open(PageId::CommunicationSetting);
  s.RadioGroup({IDC_COM_TONE, IDC_COM_PULSE_10, IDC_COM_PULSE_20});
  s.RadioGroup({IDC_COM_MONITOR_HIGH, IDC_COM_MONITOR_LOW, IDC_COM_MONITOR_OFF});
  s.RadioGroup({IDC_COM_TEL_FAX_ON, IDC_COM_TEL_FAX_OFF});
  s.RadioGroup({IDC_COM_ANSWER_ON, IDC_COM_ANSWER_OFF});
  s.Click(*driver, IDC_COM_PULSE_20);
  EXPECT_EQ(GetSetting(*data, kDialType), 0x10u);
  EXPECT_EQ(GetSetting(*data, kPulseRate), 4u);
  s.Click(*driver, IDC_COM_PULSE_10);
  EXPECT_EQ(GetSetting(*data, kPulseRate), 0u);
  s.Click(*driver, IDC_COM_TONE);
  EXPECT_EQ(GetSetting(*data, kDialType), 0u);
  const std::pair<int, uint32_t> monitor[] = {
      {IDC_COM_MONITOR_LOW, 0x10}, {IDC_COM_MONITOR_OFF, 0x20}, {IDC_COM_MONITOR_HIGH, 0x00}};
  for (auto [button, code] : monitor) {
    s.Click(*driver, button);
    EXPECT_EQ(GetSetting(*data, kLineMonitor), code);
  }
  s.Click(*driver, IDC_COM_TEL_FAX_ON);
  EXPECT_EQ(GetSetting(*data, kTelFax), 0x80u);
  s.Click(*driver, IDC_COM_ANSWER_ON);
  EXPECT_EQ(GetSetting(*data, kAnswerMachine), 0x40u);
  s.Click(*driver, IDC_COM_ANSWER_OFF);
  EXPECT_EQ(GetSetting(*data, kAnswerMachine), 0u);
  s.Choose(*driver, IDC_COM_RBT_TIME, 11);
  EXPECT_EQ(GetSetting(*data, kRbtTime), 11u);
  ASSERT_TRUE(driver->Apply(s));
  EXPECT_EQ(ImageData(kTelFax)[0], 0x80);
}

TEST_F(CommunicationPage, StoredCodesSelectTheirButtons) {
  SetSetting(*data, kLineMonitor, 0x05);
  SetSetting(*data, kTelFax, 0x80);
  SetSetting(*data, kAnswerMachine, 0x40);
  SetSetting(*data, kRbtTime, 6);
  Open(PageId::CommunicationSetting);
  EXPECT_TRUE(s.IsChecked(IDC_COM_MONITOR_LOW)) << "an unknown monitor code shows Low";
  EXPECT_EQ(GetSetting(*data, kLineMonitor), 0x05u) << "and stays stored";
  EXPECT_TRUE(s.IsChecked(IDC_COM_TEL_FAX_ON));
  EXPECT_TRUE(s.IsChecked(IDC_COM_ANSWER_ON));
  EXPECT_EQ(s.At(IDC_COM_RBT_TIME).items.size(), 12u);
  EXPECT_EQ(s.At(IDC_COM_RBT_TIME).items[6], "60 sec");
  EXPECT_EQ(s.At(IDC_COM_RBT_TIME).selection, 6);
}

TEST_F(CommunicationPage, PbxOpensThePrefix) {
  std::memcpy(SettingBytes(*data, kPrefix), "9\0\0\0\0", 5);
  Open(PageId::CommunicationSetting);
  s.RadioGroup({IDC_COM_PSTN, IDC_COM_PBX});
  EXPECT_TRUE(s.IsChecked(IDC_COM_PSTN));
  EXPECT_FALSE(s.IsEnabled(IDC_COM_PREFIX));
  EXPECT_EQ(s.At(IDC_COM_PREFIX).limit, 4);
  s.Click(*driver, IDC_COM_PBX);
  EXPECT_EQ(GetSetting(*data, kLine), 0x40u);
  EXPECT_TRUE(s.IsEnabled(IDC_COM_PREFIX));
  EXPECT_EQ(s.At(IDC_COM_PREFIX).text, "9") << "the kept prefix is offered";
  s.Type(*driver, IDC_COM_PREFIX, "81*2");
  EXPECT_EQ(s.At(IDC_COM_PREFIX).text, "812");
  s.Type(*driver, IDC_COM_PREFIX, "81234");
  const uint8_t expected[5] = {'8', '1', '2', '3', 0};
  EXPECT_EQ(std::memcmp(SettingBytes(*data, kPrefix), expected, 5), 0);
  s.Click(*driver, IDC_COM_PSTN);
  EXPECT_EQ(GetSetting(*data, kLine), 0u);
  EXPECT_FALSE(s.IsEnabled(IDC_COM_PREFIX));
}

TEST_F(CommunicationPage, RegionThreeGroupsOnlyForRegionThree) {
  const int ids[] = {IDC_COM_TEL_FAX_GROUP, IDC_COM_TEL_FAX_ON,   IDC_COM_RBT_GROUP,
                     IDC_COM_RBT_TIME,      IDC_COM_ANSWER_GROUP, IDC_COM_ANSWER_OFF};
  for (uint8_t region : {0, 1, 3, 4}) {
    s = MemorySurface();
    SetSetting(*data, kRegionCodeId, region);
    Open(PageId::CommunicationSetting);
    for (int id : ids) EXPECT_EQ(s.IsShown(id), region == 3) << int(region) << " " << id;
    EXPECT_TRUE(s.IsShown(IDC_COM_PSTN));
  }
}

}  // namespace
}  // namespace test
}  // namespace odc
