// Printing of the One Touch, Speed Dial and Group dial lists on a printer
// device context. The layout is dial_list_layout.h's; here the pages are
// drawn and the print job is run.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "setup/print/dial_list_layout.h"

namespace odc {

struct App;

// One Print command's printer: state 0 no printer chosen yet, 1 a printer
// device context is open, -1 the print dialog was cancelled or a list could
// not be printed (every further list of the command is skipped).
struct PrintJob {
  int state = 0;
  HDC dc = nullptr;
  PrintJob() = default;
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;
  ~PrintJob();
};

// The print dialog, through the prompts: 1 when a printer device context was
// obtained (job.dc), 0 when the user cancelled.
int ChoosePrinter(App& app, PrintJob& job);
// list 0 One Touch, 1 Speed Dial.
void PrintDialList(App& app, PrintJob& job, int list);
void PrintGroupList(App& app, PrintJob& job);
// The Print command: Select Print Items (settings_win32.h), then the checked
// lists in order.
void RunPrintCommand(App& app);

// A list laid out for a device context: fonts of the resource module's face
// in the context's resolution, the page metrics, and the table read from a
// copy of the data set (printing never changes the data set).
class ListPrinter {
 public:
  ListPrinter(App& app, HDC dc, PrintedList list);
  ~ListPrinter();
  ListPrinter(const ListPrinter&) = delete;
  ListPrinter& operator=(const ListPrinter&) = delete;

  const ListLayout& Layout() const { return *layout_; }
  int PageCount() const { return layout_->PageCount(); }
  // Draws page `page` (0-based) on the device context.
  void DrawPage(int page);

 private:
  HFONT Font(PrintFont font) const;
  int Measure(PrintFont font, const std::string& text);

  HDC dc_;
  HFONT fonts_[3] = {};
  PageMetrics metrics_;
  PageHeading heading_;
  std::unique_ptr<ListLayout> layout_;
};

}  // namespace odc
