// The Machine Information page through the in-memory surface: the texts,
// their filters, the items' data lengths after edit, apply and cancel.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "setup/res/resource.h"
#include "tests/ui/page_test_fixture.h"

namespace odc {
namespace test {
namespace {

constexpr uint32_t kPhoneId = 0x1051C;

class MachineInformationTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    StoreTextSetting(data, kMachineNameId, "Front Desk");
    StoreTextSetting(data, kPhoneId, "+49 30 1234");
    PackTransferImage(data);
    OpenPage(CreateMachineInformationPage);
  }
  std::string Working(uint32_t id) { return SettingText(data, id); }
};

TEST_F(MachineInformationTest, ShowsBothTexts) {
  EXPECT_EQ(s.At(IDC_MI_NAME).text, "Front Desk");
  EXPECT_EQ(s.At(IDC_MI_PHONE).text, "+49 30 1234");
  EXPECT_EQ(s.At(IDC_MI_NAME).limit, 32);
  EXPECT_EQ(s.At(IDC_MI_PHONE).limit, 20);
  EXPECT_EQ(s.At(IDC_MI_GROUP).text, "Machine Information");
  EXPECT_EQ(s.At(IDC_MI_PHONE_LABEL).text, "&Telephone Number:");
}

TEST_F(MachineInformationTest, AFullWidthNameWithoutZeroShowsSafely) {
  std::memset(SettingText(data, kMachineNameId), 'N', 36);
  PackTransferImage(data);
  MemorySurface t;
  PageDriver other(ctx, *page);
  other.Init(t);
  EXPECT_EQ(t.At(IDC_MI_NAME).text, std::string(36, 'N'));
}

TEST_F(MachineInformationTest, EditsStoreTextAndLengthAtOnce) {
  struct Case {
    int control;
    uint32_t item;
    const char* typed;
    const char* kept;
    int caret;  // -1: accepted as typed
  };
  const Case cases[] = {
      {IDC_MI_NAME, kMachineNameId, "Back Office", "Back Office", -1},
      {IDC_MI_NAME, kMachineNameId, "Back\\Office", "BackOffice", 4},
      {IDC_MI_PHONE, kPhoneId, "+1-555 0100", "+1-555 0100", -1},
      {IDC_MI_PHONE, kPhoneId, "555a1", "5551", 3},
      {IDC_MI_PHONE, kPhoneId, "", "", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    s.Type(*driver, c.control, c.typed);
    EXPECT_EQ(s.At(c.control).text, c.kept);
    if (c.caret >= 0) {
      EXPECT_EQ(s.At(c.control).selStart, c.caret);
    }
    EXPECT_EQ(Working(c.item), c.kept);
    EXPECT_EQ(ItemLength(data, c.item), std::strlen(c.kept));
    EXPECT_TRUE(ui.IsChanged(PageId::MachineInformation));
  }
}

TEST_F(MachineInformationTest, ApplyRelabelsTheTreeRootAndCancelKeepsIt) {
  s.Type(*driver, IDC_MI_NAME, "Lab 3");
  EXPECT_EQ(host.treeRoot, "");
  EXPECT_TRUE(driver->Apply(s));
  EXPECT_EQ(host.treeRoot, "Lab 3");
  EXPECT_EQ(ItemLength(data, kMachineNameId), 5u);

  // A later cancel comes back to the applied state, text and length alike.
  s.Type(*driver, IDC_MI_NAME, "Something longer");
  driver->QueryCancel(s);
  driver->Reset(s);
  EXPECT_EQ(Working(kMachineNameId), "Lab 3");
  EXPECT_EQ(ItemLength(data, kMachineNameId), 5u);
  EXPECT_EQ(host.treeRoot, "Lab 3");
}

TEST_F(MachineInformationTest, CancelRestoresTextsAndLengths) {
  s.Type(*driver, IDC_MI_NAME, "X");
  s.Type(*driver, IDC_MI_PHONE, "0123456789012345");
  EXPECT_EQ(ItemLength(data, kMachineNameId), 1u);
  driver->QueryCancel(s);
  EXPECT_EQ(Working(kMachineNameId), "Front Desk");
  EXPECT_EQ(Working(kPhoneId), "+49 30 1234");
  EXPECT_EQ(ItemLength(data, kMachineNameId), 10u);
  EXPECT_EQ(ItemLength(data, kPhoneId), 11u);
}

TEST_F(MachineInformationTest, CancelFromAnotherPageRestoresTheLengthsToo) {
  // The sheet's cancel question goes to the page in front; every page gets
  // the reset.
  s.Type(*driver, IDC_MI_PHONE, "1");
  UnpackTransferImage(data);  // what the page in front does
  driver->Reset(s);
  EXPECT_EQ(Working(kPhoneId), "+49 30 1234");
  EXPECT_EQ(ItemLength(data, kPhoneId), 11u);
  EXPECT_FALSE(ui.IsChanged(PageId::MachineInformation));
}

TEST_F(MachineInformationTest,
       CancelAfterAnEarlierPageHadPackedTheEditsKeepsTextAndLengthTogether) {
  // OK with a changed earlier page packs every working value, this page's
  // edits too; a later page refuses, so this page is never applied, and
  // the user cancels. The image now holds the typed texts: their lengths
  // must be theirs, not the lengths of the texts they replaced.
  s.Type(*driver, IDC_MI_NAME, "Second floor copier");
  s.Type(*driver, IDC_MI_PHONE, "+1");
  PackTransferImage(data);  // the earlier page's apply
  driver->QueryCancel(s);
  driver->Reset(s);
  EXPECT_EQ(Working(kMachineNameId), "Second floor copier");
  EXPECT_EQ(ItemLength(data, kMachineNameId), 19u);
  EXPECT_EQ(Working(kPhoneId), "+1");
  EXPECT_EQ(ItemLength(data, kPhoneId), 2u);

  // What a save would write reads back whole.
  DataSet saved = data;
  const int r = FindRecord(saved, kMachineNameId);
  std::memset(saved.records[r].data + saved.records[r].length, 0,
              kRecordDataSize - saved.records[r].length);
  UnpackTransferImage(saved);
  EXPECT_STREQ(SettingText(saved, kMachineNameId), "Second floor copier");
}

TEST_F(MachineInformationTest, CancelKeepsAStoredLengthThatIsNotTheTextLength) {
  // A machine may store its name padded to the whole field: a cancel that
  // finds the text unchanged keeps that length as it was.
  SetItemLength(data, kMachineNameId, 36);
  MemorySurface t;
  PageDriver other(ctx, *page);
  other.Init(t);
  t.Type(other, IDC_MI_NAME, "Lab");
  other.QueryCancel(t);
  EXPECT_EQ(Working(kMachineNameId), "Front Desk");
  EXPECT_EQ(ItemLength(data, kMachineNameId), 36u);
}

TEST_F(MachineInformationTest, LeavingAlwaysSucceeds) {
  s.Type(*driver, IDC_MI_NAME, "");
  s.Type(*driver, IDC_MI_PHONE, "");
  EXPECT_TRUE(driver->KillActive(s));
  EXPECT_TRUE(s.messages.empty());
}

}  // namespace
}  // namespace test
}  // namespace odc
