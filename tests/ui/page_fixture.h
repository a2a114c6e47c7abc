// A settings page under test: a data set whose settings items all carry
// data, the settings state of the program, a recording host and an
// in-memory surface, with the page and its driver opened on them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/ui/memory_surface.h"

namespace odc {
namespace test {

class PageFixture : public ::testing::Test {
 protected:
  using Factory = std::unique_ptr<SettingsPage> (*)(SettingsContext&);

  PageFixture() {
    BuildTransferImage(*set);
    for (int r = kFirstSettingRecord; r < kRecordCount; ++r) set->records[r].length = 4;
    UnpackTransferImage(*set);
  }
  // Opens the page on a fresh surface whose radio buttons act in groups.
  void OpenPage(Factory factory, const std::vector<std::vector<int>>& radioGroups) {
    s = MemorySurface();
    for (const std::vector<int>& group : radioGroups) s.RadioGroup(group);
    page = factory(ctx);
    driver = std::make_unique<PageDriver>(ctx, *page);
    driver->Init(s);
    driver->SetActive(s);
  }
  uint32_t Get(uint32_t id) { return GetSetting(*set, id); }
  // The value of an item in the transfer image (what Apply packed), up to
  // two bytes.
  uint32_t Packed(uint32_t id) {
    const uint8_t* data = set->records[FindRecord(*set, id)].data;
    return data[0] | data[1] << 8;
  }

  std::unique_ptr<DataSet> set = std::make_unique<DataSet>();
  SettingsUiState ui;
  RecordingHost host;
  SettingsContext ctx{*set, ui, host};
  MemorySurface s;
  std::unique_ptr<SettingsPage> page;
  std::unique_ptr<PageDriver> driver;
};

}  // namespace test
}  // namespace odc
