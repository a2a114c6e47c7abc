// A fixture for the native tests of a settings page: a full data set built
// like New's, the settings UI state, a recording host, an in-memory surface
// and the page run by its driver.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "setup/data/document.h"
#include "setup/settings/settings_pages.h"
#include "tests/ui/memory_surface.h"

namespace odc {
namespace test {

class PageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Document document;
    ASSERT_EQ(NewDataSet(data, document), 1);
    data.addressBookOnly = false;
  }
  // Starts the page on the surface; the radio groups are the surface's
  // before the page sees it.
  void OpenPage(std::unique_ptr<SettingsPage> (*factory)(SettingsContext&)) {
    page = factory(ctx);
    driver = std::make_unique<PageDriver>(ctx, *page);
    ConnectPage(s, *driver, page->Id());
    driver->Init(s);
  }
  // A value as the transfer image holds it (pages that rebuild the working
  // values at start read it from there).
  void Stored(uint32_t id, uint32_t value) {
    SetSetting(data, id, value);
    PackTransferImage(data);
  }
  uint32_t Image(uint32_t id) const {
    DataSet copy = data;
    UnpackTransferImage(copy);
    return GetSetting(copy, id);
  }

  DataSet data;
  SettingsUiState ui;
  RecordingHost host;
  SettingsContext ctx{data, ui, host};
  MemorySurface s;
  std::unique_ptr<SettingsPage> page;
  std::unique_ptr<PageDriver> driver;
};

}  // namespace test
}  // namespace odc
