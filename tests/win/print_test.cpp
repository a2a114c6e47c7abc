// The dial lists drawn into enhanced metafiles and read back from their text
// records, and the Print command run from the menu with its printer chosen
// through the prompts: cancelled, refused by the device, or printing while a
// foreign address book is shown.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "setup/print/print_win32.h"
#include "tests/win/print_fixture.h"

namespace odc {
namespace {

using printing::MetafileTexts;
using printing::PrintItemsAnswer;

bool Has(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class Printing : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(w.Create(ODC_DEMO_MACHINE_PATH)); }

  // Every page of a list, each drawn into its own metafile; the texts of all.
  std::vector<std::vector<std::string>> RenderPages(PrintedList list, int& pageCount) {
    std::vector<std::vector<std::string>> pages;
    HDC reference = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    ListPrinter printer(w.app, reference, list);
    pageCount = printer.PageCount();
    HENHMETAFILE unused = CloseEnhMetaFile(reference);
    DeleteEnhMetaFile(unused);
    for (int page = 0; page < pageCount; ++page) {
      HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
      {
        ListPrinter drawing(w.app, dc, list);
        drawing.DrawPage(page);
      }
      HENHMETAFILE metafile = CloseEnhMetaFile(dc);
      pages.push_back(MetafileTexts(metafile));
      DeleteEnhMetaFile(metafile);
    }
    return pages;
  }

  // Runs File > Print with the boxes given; the printers come from `dcs`.
  void Print(std::array<bool, 3> boxes, std::vector<HDC> dcs) {
    w.prompts.printers.assign(dcs.begin(), dcs.end());
    PrintItemsAnswer::Set(boxes);
    SendMessageA(w.window, WM_COMMAND, ID_FILE_PRINT, 0);
    ASSERT_TRUE(PrintItemsAnswer::Answered());
  }

  // A device context on which StartDoc fails: a memory context is no
  // printer.
  static HDC RefusingPrinter() { return CreateCompatibleDC(nullptr); }

  std::vector<uint8_t> Tables() const {
    std::vector<uint8_t> bytes(w.app.data->oneTouch, w.app.data->oneTouch + kOneTouchTableSize);
    bytes.insert(bytes.end(), w.app.data->speedDial, w.app.data->speedDial + kSpeedDialTableSize);
    const auto* records = reinterpret_cast<const uint8_t*>(w.app.data->records);
    bytes.insert(bytes.end(), records, records + sizeof w.app.data->records);
    return bytes;
  }

  printing::PrintWindow w;
};

TEST_F(Printing, EachListRendersItsTitleHeaderAndEntries) {
  struct Case {
    PrintedList list;
    const char* title;
    std::vector<std::string> texts;  // anywhere in the list
  } cases[] = {
      {PrintedList::OneTouch,
       "One Touch",
       {"Head Office", "0312345678", "14:05", "33.6K", "Sales Team", "sales@example.com",
        "Advanced", "PROGRAM DIAL", "SUB", "Batch Time", "Coding", "32"}},
      {PrintedList::SpeedDial,
       "Speed Dial",
       {"Branch North", "0451112222", "accounts@example.com", "Dial 240", "0300000240", "Speed",
        "Max. Quality"}},
      {PrintedList::Group,
       "Group",
       {"All Offices", "Mail Team", "One Touch#1", "Speed Dial#2", "Item#", "Item Name",
        "Branch South", "sales@example.com"}},
  };
  for (const Case& c : cases) {
    int pageCount = 0;
    const auto pages = RenderPages(c.list, pageCount);
    ASSERT_GE(pageCount, 1);
    std::vector<std::string> all;
    for (int p = 0; p < pageCount; ++p) {
      const auto& texts = pages[static_cast<size_t>(p)];
      EXPECT_TRUE(Has(texts, c.title)) << c.title << " page " << p + 1;
      EXPECT_TRUE(Has(texts, "Name :"));
      EXPECT_TRUE(Has(texts, "M40 Front Office"));
      EXPECT_TRUE(Has(texts, "Tel :"));
      EXPECT_TRUE(Has(texts, "0312340000"));
      EXPECT_TRUE(Has(texts, "No."));
      const std::string pagesText =
          "Total " + std::to_string(pageCount) + " page(s), page " + std::to_string(p + 1);
      EXPECT_TRUE(Has(texts, pagesText)) << pagesText;
      all.insert(all.end(), texts.begin(), texts.end());
    }
    for (const std::string& text : c.texts) EXPECT_TRUE(Has(all, text)) << c.title << ": " << text;
    EXPECT_FALSE(Has(all, "Name2")) << "no Name2 column in English";
  }
}

// Page 1 of a list drawn into a metafile: its texts and its font faces.
void RenderFirstPage(App& app, PrintedList list, std::vector<std::string>& texts,
                     std::vector<std::string>& faces) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  {
    ListPrinter printer(app, dc, list);
    printer.DrawPage(0);
  }
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  texts = MetafileTexts(metafile);
  faces = printing::MetafileFontFaces(metafile);
  DeleteEnhMetaFile(metafile);
}

TEST_F(Printing, FontFaceAndName2ColumnsComeFromTheLanguageModule) {
  std::vector<std::string> texts, faces;
  RenderFirstPage(w.app, PrintedList::Group, texts, faces);
  EXPECT_FALSE(faces.empty());
  for (const std::string& face : faces) EXPECT_EQ(face, "Arial");
  EXPECT_FALSE(Has(texts, "Item Name2"));

  HMODULE japanese = LoadLibraryA(ODC_SETUP_JAPANESE_DLL_PATH);
  ASSERT_NE(japanese, nullptr);
  {
    printing::PrintWindow jw;
    ASSERT_TRUE(jw.Create(ODC_DEMO_MACHINE_PATH, japanese));
    ASSERT_TRUE(jw.app.DoubleByteLanguage());
    RenderFirstPage(jw.app, PrintedList::Group, texts, faces);
    EXPECT_TRUE(Has(texts, "Name2"));
    EXPECT_TRUE(Has(texts, "Item Name2"));
    EXPECT_TRUE(Has(texts, "Head Office"));
    for (const std::string& face : faces) EXPECT_EQ(face, jw.app.Text(IDS_PRINT_FONT_FACE));
    RenderFirstPage(jw.app, PrintedList::OneTouch, texts, faces);
    EXPECT_TRUE(Has(texts, "Name2"));
    EXPECT_TRUE(Has(texts, "PROGRAM DIAL"));
  }
  FreeLibrary(japanese);
}

TEST_F(Printing, SpeedDialPagesFollowTheScreenPageSize) {
  int pageCount = 0;
  const auto pages = RenderPages(PrintedList::SpeedDial, pageCount);
  HDC reference = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  int rowsPerPage = 0;
  {
    ListPrinter printer(w.app, reference, PrintedList::SpeedDial);
    rowsPerPage = printer.Layout().RowsPerPage();
  }
  DeleteEnhMetaFile(CloseEnhMetaFile(reference));
  EXPECT_EQ(pageCount, PageCount(240, rowsPerPage));
  // The number of the first row of page 2.
  const std::string firstOfTwo = std::to_string(rowsPerPage);
  EXPECT_TRUE(Has(pages[1], firstOfTwo));
  EXPECT_FALSE(Has(pages[0], firstOfTwo));
}

TEST_F(Printing, CancelledPrintDialogPrintsNothingAndAsksOnce) {
  const auto before = Tables();
  Print({true, true, true}, {});
  EXPECT_EQ(w.prompts.printDialogs, 1);
  EXPECT_TRUE(w.prompts.messages.empty());
  EXPECT_EQ(Tables(), before);
  // The next command starts afresh.
  Print({false, false, true}, {});
  EXPECT_EQ(w.prompts.printDialogs, 2);
}

TEST_F(Printing, CancelledSelectionAsksForNoPrinter) {
  PrintItemsAnswer::Set({true, true, true}, false);
  SendMessageA(w.window, WM_COMMAND, ID_FILE_PRINT, 0);
  ASSERT_TRUE(PrintItemsAnswer::Answered());
  EXPECT_EQ(w.prompts.printDialogs, 0);
}

TEST_F(Printing, ARefusedDocumentIsReportedAndStopsTheCommand) {
  struct Case {
    std::array<bool, 3> boxes;
    const char* listName;
  } cases[] = {
      {{true, true, true}, "One Touch"},
      {{false, true, true}, "Speed Dial"},
      {{false, false, true}, "Group"},
  };
  for (const Case& c : cases) {
    w.prompts.messages.clear();
    w.prompts.printDialogs = 0;
    Print(c.boxes, {RefusingPrinter()});
    EXPECT_EQ(w.prompts.printDialogs, 1);
    ASSERT_EQ(w.prompts.messages.size(), 1u) << "one message, no further list";
    EXPECT_EQ(w.prompts.messages[0].caption, "Device Configurator - ODC");
    EXPECT_EQ(w.prompts.messages[0].text, std::string("The ") + c.listName +
                                              " list could not be printed.\n"
                                              "Printing has been stopped.");
  }
}

TEST_F(Printing, PrintingLeavesTheDataSetAsItIs) {
  // A broken e-mail entry (its stored length says 10, its text has 9): the
  // codec's unpack removes such an entry from the table it reads.
  uint8_t* entry = w.app.data->OneTouchEntry(20);
  std::memset(entry, 0, kOneTouchEntrySize);
  entry[0] = 21;
  entry[2] = kFlagEmail | kFlagOneTouchEntry;
  entry[3] = 10;
  std::memcpy(entry + 34, "a@b.c.org", 9);
  for (int origin : {3, 1, 2}) {
    // Origins 1 and 2 read the (here empty) import buffers through the
    // converters, which rebuild every table entry they read.
    w.app.document.dataOrigin = origin;
    const auto before = Tables();
    Print({true, true, true}, {RefusingPrinter()});
    Print({false, true, false}, {RefusingPrinter()});
    Print({false, false, true}, {RefusingPrinter()});
    EXPECT_EQ(Tables(), before) << "origin " << origin;
    EXPECT_FALSE(w.app.modified);
  }
}

TEST_F(Printing, CtrlPWithoutADataSetDoesNothing) {
  printing::PrintWindow empty;
  ASSERT_FALSE(empty.Create("Z:\\no\\such\\file.DAT"));
  PrintItemsAnswer::Set({true, true, true});
  SendMessageA(empty.window, WM_COMMAND, ID_FILE_PRINT, 0);
  EXPECT_FALSE(PrintItemsAnswer::Answered());
  PrintItemsAnswer::Stop();
  EXPECT_EQ(empty.prompts.printDialogs, 0);
}

}  // namespace
}  // namespace odc
