// Answers every prompt of the program from a script, and records what was
// asked, so in-process GUI tests run without a human.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "setup/shell/prompts_win32.h"

namespace odc {

class ScriptedPrompts : public Prompts {
 public:
  struct Shown {
    std::string text, caption;
    UINT type;
    HWND owner;
  };
  std::vector<Shown> messages;
  std::deque<int> answers;  // IDYES / IDNO / IDCANCEL; IDOK when empty
  struct Chosen {
    FileDialogMode mode;
    std::string title;
  };
  std::vector<Chosen> dialogs;
  std::deque<std::string> files;  // "" cancels
  std::vector<std::vector<std::string>> menus;
  std::vector<POINT> menuPoints;  // where each menu was placed (screen)
  std::deque<int> menuChoices;    // -1 dismisses; dismissed when empty
  // Printer device contexts handed out by ChoosePrinter (null or none left
  // cancels); the program deletes them.
  std::deque<HDC> printers;
  int printDialogs = 0;

  int Message(HWND owner, const std::string& text, const std::string& caption, UINT type) override {
    messages.push_back({text, caption, type, owner});
    if (answers.empty()) return (type & MB_TYPEMASK) == MB_OK ? IDOK : IDNO;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  // Messages that name a path arrive in UTF-8 and are recorded as they are.
  int MessageUtf8(HWND owner, const std::string& text, const std::string& caption,
                  UINT type) override {
    return Message(owner, text, caption, type);
  }
  // `files` are UTF-8 paths, as the real dialog returns them.
  bool ChooseDataFile(HWND, std::string& path, FileDialogMode mode, const std::string& title,
                      const std::string& filter) override {
    dialogs.push_back({mode, title});
    filters.push_back(filter);
    if (files.empty() || files.front().empty()) {
      if (!files.empty()) files.pop_front();
      return false;
    }
    path = files.front();
    files.pop_front();
    return true;
  }
  // Help never starts a viewer or a browser in a test: it is recorded.
  std::vector<std::string> helpFiles, documents;
  std::vector<std::string> filters;
  bool ShowHelpFile(HWND, const std::string& path) override {
    helpFiles.push_back(path);
    return true;
  }
  bool OpenDocument(HWND, const std::string& path) override {
    documents.push_back(path);
    return true;
  }
  int ChooseMenuItem(HWND, const std::vector<std::string>& items, POINT at) override {
    menus.push_back(items);
    menuPoints.push_back(at);
    if (menuChoices.empty()) return -1;
    const int chosen = menuChoices.front();
    menuChoices.pop_front();
    return chosen;
  }
  HDC ChoosePrinter(HWND) override {
    ++printDialogs;
    if (printers.empty()) return nullptr;
    HDC dc = printers.front();
    printers.pop_front();
    return dc;
  }
};

}  // namespace odc
