#include "setup/print/print_win32.h"

#include <algorithm>
#include <array>
#include <string>

#include "setup/res/resource.h"
#include "setup/settings/settings_win32.h"
#include "setup/shell/app_win32.h"

namespace odc {
namespace {

constexpr int kTitlePoints = 20, kHeaderPoints = 12, kTablePoints = 8;
constexpr uint32_t kMachineTelephoneId = 0x1051C;

int TitleId(PrintedList list) {
  switch (list) {
    case PrintedList::OneTouch:
      return IDS_ONE_TOUCH;
    case PrintedList::SpeedDial:
      return IDS_SPEED_DIAL;
    default:
      return IDS_GROUP;
  }
}

HFONT CreatePrintFont(const std::string& face, int points, int weight, int dpiY) {
  return CreateFontA(-MulDiv(points, dpiY, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, face.c_str());
}

int LineHeight(HDC dc, HFONT font, bool withLeading) {
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  return metrics.tmHeight + (withLeading ? metrics.tmExternalLeading : 0);
}

COLORREF Colour(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// Prints every page of one list as one document. False, with the document
// aborted, when the device refused a step.
bool PrintDocument(App& app, HDC dc, PrintedList list) {
  ListPrinter printer(app, dc, list);
  const std::string name = app.Text(IDS_PRINT_DOCUMENT_NAME);
  DOCINFOA doc = {};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = name.c_str();
  if (StartDocA(dc, &doc) <= 0) return false;
  for (int page = 0; page < printer.PageCount(); ++page) {
    if (StartPage(dc) <= 0) {
      AbortDoc(dc);
      return false;
    }
    printer.DrawPage(page);
    if (EndPage(dc) <= 0) {
      AbortDoc(dc);
      return false;
    }
  }
  return EndDoc(dc) > 0;
}

void PrintList(App& app, PrintJob& job, PrintedList list) {
  if (job.state == -1) return;
  if (job.state == 0) {
    if (ChoosePrinter(app, job) == 0) {
      job.state = -1;
      return;
    }
    job.state = 1;
  }
  if (PrintDocument(app, job.dc, list)) return;
  job.state = -1;
  app.Message(PrintFailedText(app.Text(IDS_PRINT_FAILED), app.Text(TitleId(list))),
              MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

PrintJob::~PrintJob() {
  if (dc != nullptr) DeleteDC(dc);
}

int ChoosePrinter(App& app, PrintJob& job) {
  job.dc = app.prompts->ChoosePrinter(app.main);
  return job.dc != nullptr ? 1 : 0;
}

void PrintDialList(App& app, PrintJob& job, int list) {
  PrintList(app, job, list == 0 ? PrintedList::OneTouch : PrintedList::SpeedDial);
}

void PrintGroupList(App& app, PrintJob& job) { PrintList(app, job, PrintedList::Group); }

void RunPrintCommand(App& app) {
  if (!AskPrintItems(app)) return;
  const std::array<bool, 3>& selection = app.settingsUi.printSelection;
  PrintJob job;
  if (selection[0]) PrintDialList(app, job, 0);
  if (selection[1]) PrintDialList(app, job, 1);
  if (selection[2]) PrintGroupList(app, job);
  // The job's printer is released here: the next command starts at state 0.
}

ListPrinter::ListPrinter(App& app, HDC dc, PrintedList list) : dc_(dc) {
  metrics_.dpiX = GetDeviceCaps(dc, LOGPIXELSX);
  metrics_.dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  metrics_.pageWidth = GetDeviceCaps(dc, HORZRES);
  metrics_.pageHeight = GetDeviceCaps(dc, VERTRES);
  std::string face = app.Text(IDS_PRINT_FONT_FACE);
  if (face.empty()) face = "Arial";
  fonts_[0] = CreatePrintFont(face, kTitlePoints, FW_BOLD, metrics_.dpiY);
  fonts_[1] = CreatePrintFont(face, kHeaderPoints, FW_BOLD, metrics_.dpiY);
  fonts_[2] = CreatePrintFont(face, kTablePoints, 100, metrics_.dpiY);
  metrics_.titleLineHeight = LineHeight(dc, fonts_[0], true);
  metrics_.lineHeight = LineHeight(dc, fonts_[1], true);
  metrics_.tableTextHeight = LineHeight(dc, fonts_[2], false);

  const DataSet& data = *app.data;
  heading_.title = app.Text(TitleId(list));
  heading_.nameLabel = app.Text(IDS_PRINT_NAME_LABEL);
  heading_.machineName = SettingText(data, kMachineNameId);
  heading_.telLabel = app.Text(IDS_PRINT_TEL_LABEL);
  heading_.telephone = SettingText(data, kMachineTelephoneId);
  heading_.pagesFormat = app.Text(IDS_PRINT_PAGES);
  heading_.dateFormat = app.Text(IDS_PRINT_DATE);
  SYSTEMTIME now;
  GetLocalTime(&now);
  heading_.month = now.wMonth, heading_.day = now.wDay, heading_.year = now.wYear;

  // The lists' converters and unpacking may rewrite entries; they work on a
  // copy, so the data set stays as it is.
  auto copy = std::make_unique<DataSet>(data);
  RecordSource source = EntryRecordSource(app);
  source.set = copy.get();
  const RowContext context = MakeRowContext(app);
  PrintTable table = ListTable(
      list,
      [&source](int view, int index, DisplayRecord& r) {
        LoadDisplayRecord(source, view, index, r);
      },
      context);
  layout_ = std::make_unique<ListLayout>(
      std::move(table), metrics_,
      [this](PrintFont font, const std::string& text) { return Measure(font, text); }, context,
      data.language);
}

ListPrinter::~ListPrinter() {
  for (HFONT font : fonts_) {
    if (font != nullptr) DeleteObject(font);
  }
}

HFONT ListPrinter::Font(PrintFont font) const { return fonts_[static_cast<int>(font)]; }

int ListPrinter::Measure(PrintFont font, const std::string& text) {
  HGDIOBJ old = SelectObject(dc_, Font(font));
  SIZE size = {};
  GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc_, old);
  return size.cx;
}

void ListPrinter::DrawPage(int page) {
  const std::vector<PageMark> marks = layout_->Page(page, heading_);
  const int saved = SaveDC(dc_);
  SetMapMode(dc_, MM_TEXT);
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, RGB(0, 0, 0));
  HPEN pen = CreatePen(PS_SOLID, std::max(1, metrics_.dpiX / 150), RGB(0, 0, 0));
  SelectObject(dc_, pen);
  HBRUSH brushes[3] = {CreateSolidBrush(Colour(kWhite)), CreateSolidBrush(Colour(kTitleGrey)),
                       CreateSolidBrush(Colour(kShadeGrey))};
  for (const PageMark& mark : marks) {
    switch (mark.kind) {
      case PageMark::Fill: {
        const RECT area = {mark.x0, mark.y0, mark.x1, mark.y1};
        HBRUSH brush = mark.rgb == kWhite       ? brushes[0]
                       : mark.rgb == kTitleGrey ? brushes[1]
                                                : brushes[2];
        FillRect(dc_, &area, brush);
        break;
      }
      case PageMark::Line:
        MoveToEx(dc_, mark.x0, mark.y0, nullptr);
        LineTo(dc_, mark.x1, mark.y1);
        break;
      case PageMark::Text: {
        SelectObject(dc_, Font(mark.font));
        const UINT align = mark.align == PageMark::Centre  ? TA_CENTER
                           : mark.align == PageMark::Right ? TA_RIGHT
                                                           : TA_LEFT;
        SetTextAlign(dc_, align | TA_TOP | TA_NOUPDATECP);
        TextOutA(dc_, mark.x0, mark.y0, mark.text.c_str(), static_cast<int>(mark.text.size()));
        break;
      }
    }
  }
  RestoreDC(dc_, saved);
  DeleteObject(pen);
  for (HBRUSH brush : brushes) DeleteObject(brush);
}

}  // namespace odc
