// Setup's print path against a real print queue (a private CUPS scheduler,
// set up by tests/print/cups_print_test.sh): File > Print with the queue
// chosen in the print dialog. The script reads back what the queue received.
//
// Environment: ODC_PRINT_QUEUE names the queue; ODC_PRINT_EXPECT names a
// file that receives, one per line, texts the printed pages must hold (the
// page count of the Speed Dial list is the layout's for the queue's page).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "setup/print/print_win32.h"
#include "tests/win/print_fixture.h"

namespace odc {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

HDC QueueDc() {
  return CreateDCA("WINSPOOL", Environment("ODC_PRINT_QUEUE").c_str(), nullptr, nullptr);
}

class PrintQueue : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Environment("ODC_PRINT_QUEUE").empty()) << "run by cups_print_test.sh";
    ASSERT_TRUE(w.Create(ODC_DEMO_MACHINE_PATH));
  }
  void PrintAll() {
    HDC dc = QueueDc();
    ASSERT_NE(dc, nullptr);
    w.prompts.printers = {dc};
    printing::PrintItemsAnswer::Set({true, true, true});
    SendMessageA(w.window, WM_COMMAND, ID_FILE_PRINT, 0);
    ASSERT_TRUE(printing::PrintItemsAnswer::Answered());
    EXPECT_EQ(w.prompts.printDialogs, 1);
  }
  printing::PrintWindow w;
};

TEST_F(PrintQueue, PrintsTheThreeLists) {
  // What the pages must show, the page count as the layout has it for this
  // queue's paper.
  std::ofstream expect(Environment("ODC_PRINT_EXPECT"));
  ASSERT_TRUE(expect.good());
  HDC dc = QueueDc();
  ASSERT_NE(dc, nullptr);
  int pages[3] = {};
  for (int list = 0; list < 3; ++list) {
    ListPrinter printer(w.app, dc, static_cast<PrintedList>(list));
    pages[list] = printer.PageCount();
  }
  DeleteDC(dc);
  ASSERT_GE(pages[1], 3) << "the Speed Dial list needs a third page";
  expect << "pages " << pages[0] << " " << pages[1] << " " << pages[2] << "\n";
  expect << "Total " << pages[1] << " page(s), page 3\n";

  PrintAll();
  for (const auto& message : w.prompts.messages) ADD_FAILURE() << message.text;
}

TEST_F(PrintQueue, ARefusingQueueIsReportedAndStopsTheCommand) {
  PrintAll();
  ASSERT_EQ(w.prompts.messages.size(), 1u);
  EXPECT_EQ(w.prompts.messages[0].caption, "Device Configurator - ODC");
  EXPECT_EQ(w.prompts.messages[0].text,
            "The One Touch list could not be printed.\nPrinting has been stopped.");
}

// A stopped queue takes the jobs and holds them: nothing has failed.
TEST_F(PrintQueue, AStoppedQueueTakesTheJobs) {
  PrintAll();
  EXPECT_TRUE(w.prompts.messages.empty());
}

}  // namespace
}  // namespace odc
