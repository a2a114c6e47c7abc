// A settings page run natively: a data set, the settings UI state, a
// recording host, the in-memory surface and the page driver around one
// page's logic, as the sheet would run it.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "setup/data/data_set.h"
#include "setup/settings/settings_framework.h"
#include "tests/ui/memory_surface.h"

namespace odc {
namespace test {

class SettingsPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildTransferImage(*data);
    data->addressBookOnly = false;
  }
  // Opens the page on the working values as they stand; the transfer image
  // is packed first, as after a load.
  void Open(PageId id) {
    PackTransferImage(*data);
    page = CreateSettingsPageLogic(id, ctx);
    ASSERT_NE(page, nullptr);
    driver = std::make_unique<PageDriver>(ctx, *page);
    ConnectPage(s, *driver, id);
    driver->Init(s);
  }
  // The sheet's Cancel: the current page's cancel query, then every page's
  // reset.
  void Cancel() {
    driver->QueryCancel(s);
    driver->Reset(s);
  }
  // Types an address into an address control: `filled` fields hold the
  // first octets, the rest are blank.
  void TypeAddress(int id, std::array<uint8_t, 4> octets, int filled = 4) {
    ControlState& c = s.At(id);
    for (int i = 0; i < 4; ++i) c.octets[i] = i < filled ? octets[i] : 0;
    c.filledFields = filled;
    driver->Command(s, id, kAddressFieldChanged);
  }
  std::string Setting(uint32_t id) { return SettingText(*data, id); }
  const uint8_t* ImageData(uint32_t id) { return data->records[FindRecord(*data, id)].data; }
  bool Changed() { return ui.IsChanged(page->Id()); }
  std::string LastMessage() { return s.messages.empty() ? "" : s.messages.back(); }

  std::unique_ptr<DataSet> data = std::make_unique<DataSet>();
  SettingsUiState ui;
  RecordingHost host;
  SettingsContext ctx{*data, ui, host};
  MemorySurface s;
  std::unique_ptr<SettingsPage> page;
  std::unique_ptr<PageDriver> driver;
};

// Messages of the shared validators, as the user reads them.
inline const char* kTwoRanges = "Invalid value : must be within 1 to 126 and 128 to 254 !";
inline std::string RangeMessage(int low, int high) {
  return "Invalid value : must be within " + std::to_string(low) + " to " + std::to_string(high) +
         " !";
}

}  // namespace test
}  // namespace odc
