// Everything that asks the user something goes through Prompts, so GUI
// tests can answer "Yes", pick a file or cancel without a human.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace odc {

enum class FileDialogMode { Open = 0, Save = 1, SaveAs = 2 };

class Prompts {
 public:
  virtual ~Prompts() = default;
  // A message box; returns IDOK, IDYES, IDNO or IDCANCEL.
  // `text` and `caption` are in the ANSI code page, as the string table's
  // texts and the entries' names are.
  virtual int Message(HWND owner, const std::string& text, const std::string& caption,
                      UINT type) = 0;
  // A message that names a path: `text` and `caption` are UTF-8, so that a
  // folder outside the code page is shown in full. The default hands the
  // text, as near as the code page comes, to Message.
  virtual int MessageUtf8(HWND owner, const std::string& text, const std::string& caption,
                          UINT type);
  // The settings data file dialog. `path` holds the initial name and
  // receives the choice; `path`, `title` and `filter` are UTF-8. False when
  // cancelled.
  virtual bool ChooseDataFile(HWND owner, std::string& path, FileDialogMode mode,
                              const std::string& title, const std::string& filter) = 0;
  // Help: the WinHelp file, and a document (the HTML user guide) in the
  // program the user has for it (UTF-8 paths). Tests replace them so that
  // nothing starts.
  virtual bool ShowHelpFile(HWND owner, const std::string& path);
  virtual bool OpenDocument(HWND owner, const std::string& path);
  // The print dialog: a printer device context the caller deletes, or null
  // when the user cancelled. Stand-ins that never print may keep this one,
  // which cancels.
  virtual HDC ChoosePrinter(HWND /*owner*/) { return nullptr; }
  // A pop-up menu of `items` with its top left corner at `at` (screen
  // coordinates); the index chosen, or -1.
  virtual int ChooseMenuItem(HWND owner, const std::vector<std::string>& items, POINT at);
};

// The real dialogs.
class WindowsPrompts : public Prompts {
 public:
  int Message(HWND owner, const std::string& text, const std::string& caption, UINT type) override;
  int MessageUtf8(HWND owner, const std::string& text, const std::string& caption,
                  UINT type) override;
  bool ChooseDataFile(HWND owner, std::string& path, FileDialogMode mode, const std::string& title,
                      const std::string& filter) override;
  HDC ChoosePrinter(HWND owner) override;
};

}  // namespace odc
