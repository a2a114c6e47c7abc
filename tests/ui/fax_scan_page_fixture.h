// A settings page of the Utility Setting sheet on an in-memory surface: the
// data set, the settings UI state, the page's logic and the driver that runs
// the page protocol around it, as the sheet would.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "setup/settings/settings_pages.h"
#include "tests/ui/memory_surface.h"

namespace odc {
namespace test {

class PageFixture : public ::testing::Test {
 protected:
  PageFixture() { data->machineInfo[machine_info::kNicKit] = 1; }

  // Starts the page: the working values are those of the data set now, and
  // the transfer image holds the same (the last applied state).
  void Open(PageId id) {
    PackTransferImage(*data);
    page = CreateSettingsPageLogic(id, ctx);
    ASSERT_NE(page, nullptr);
    driver = std::make_unique<PageDriver>(ctx, *page);
    ConnectPage(s, *driver, page->Id());
    driver->Init(s);
  }

  uint32_t Stored(uint32_t id) const { return GetSetting(*data, id); }
  // The first byte of an item in the transfer image.
  uint8_t Image(uint32_t id, int offset = 0) const {
    return data->records[FindRecord(*data, id)].data[offset];
  }
  std::vector<uint8_t> ImageBytes(uint32_t id, size_t n) const {
    const uint8_t* p = data->records[FindRecord(*data, id)].data;
    return std::vector<uint8_t>(p, p + n);
  }
  std::vector<uint8_t> WorkingBytes(uint32_t id, size_t n) const {
    const uint8_t* p = SettingBytes(*data, id);
    return std::vector<uint8_t>(p, p + n);
  }
  bool Changed(PageId id) const { return ui.IsChanged(id); }

  std::unique_ptr<DataSet> data = std::make_unique<DataSet>();
  SettingsUiState ui;
  RecordingHost host;
  SettingsContext ctx{*data, ui, host};
  MemorySurface s;
  std::unique_ptr<SettingsPage> page;
  std::unique_ptr<PageDriver> driver;
};

}  // namespace test
}  // namespace odc
