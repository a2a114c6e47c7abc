// What the printing tests and the printing benchmark share: the real main
// window with a full address book opened, answers to "Select Print Items",
// and the texts of an enhanced metafile.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "setup/data/dial_codec.h"
#include "setup/link/simulated_machine.h"
#include "setup/res/resource.h"
#include "setup/shell/app_win32.h"
#include "tests/win/scripted_prompts.h"

namespace odc {
namespace printing {

// Every Speed Dial the demonstration machine leaves empty gets a fax entry:
// "Dial 013" with the number 0300000013, and so on up to 240.
inline void FillEmptySpeedDials(DataSet& set) {
  DisplayRecord record;
  for (int i = 0; i < kSpeedDialCount; ++i) {
    UnpackSpeedDial(record, set, i);
    if (record.inUse) continue;
    record = DisplayRecord{};
    record.inUse = 1;
    record.kind = kKindFax;
    record.entryType = kEntrySpeedDial;
    record.speedIndex = static_cast<uint8_t>(i % 3);
    std::snprintf(record.name, sizeof record.name, "Dial %03d", i + 1);
    std::snprintf(record.number, sizeof record.number, "0300%06d", i + 1);
    PackSpeedDial(set, record, i);
  }
}

// The main window of this process, hidden, with a data file opened through
// File > Open and every Speed Dial in use.
class PrintWindow {
 public:
  App app;
  ScriptedPrompts prompts;
  HWND window = nullptr;

  // `resources`: a language module instead of the program's own resources.
  bool Create(const std::string& dataFile, HMODULE resources = nullptr) {
    static const bool registered = [] {
      INITCOMMONCONTROLSEX controls = {8, 0x82F};
      InitCommonControlsEx(&controls);
      return RegisterMainWindowClass(GetModuleHandleA(nullptr)) != FALSE;
    }();
    if (!registered) return false;
    app.instance = GetModuleHandleA(nullptr);
    app.resources = resources != nullptr ? resources : app.instance;
    app.prompts = &prompts;
    app.usb = std::make_unique<SimulatedMachine>(0);
    app.link = std::make_unique<MachineLink>(*app.usb);
    window = CreateMainWindow(app, SW_HIDE);
    if (window == nullptr) return false;
    prompts.files = {dataFile};
    SendMessageA(window, WM_COMMAND, ID_FILE_OPEN, 0);
    if (app.words.dataLoaded == 0) return false;
    FillEmptySpeedDials(*app.data);
    PackTransferImage(*app.data);
    return true;
  }
  ~PrintWindow() {
    if (IsWindow(window)) {
      app.modified = false;
      DestroyWindow(window);
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
};

// Answers the next "Select Print Items" dialog of this thread from a timer
// that fires inside the dialog's own message loop: the boxes as given, then
// OK, or Cancel when `ok` is false.
class PrintItemsAnswer {
 public:
  static void Set(std::array<bool, 3> boxes, bool ok = true) {
    boxes_ = boxes;
    ok_ = ok;
    answered_ = false;
    timer_ = SetTimer(nullptr, 0, 20, &PrintItemsAnswer::Tick);
  }
  static bool Answered() { return answered_; }
  static void Stop() { KillTimer(nullptr, timer_); }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = FindWindowA(MAKEINTATOM(32770), "Select Print Items");
    if (dialog == nullptr || GetWindowThreadProcessId(dialog, nullptr) != GetCurrentThreadId()) {
      return;
    }
    KillTimer(nullptr, timer_);
    const int boxes[3] = {IDC_PRINT_ONE_TOUCH, IDC_PRINT_SPEED_DIAL, IDC_PRINT_GROUP};
    for (int i = 0; i < 3; ++i) {
      CheckDlgButton(dialog, boxes[i], boxes_[i] ? BST_CHECKED : BST_UNCHECKED);
    }
    answered_ = true;
    PostMessageA(dialog, WM_COMMAND, ok_ ? IDOK : IDCANCEL, 0);
  }
  static inline std::array<bool, 3> boxes_{};
  static inline bool ok_ = true;
  static inline bool answered_ = false;
  static inline UINT_PTR timer_ = 0;
};

// The texts of a metafile's text records, in drawing order.
inline std::vector<std::string> MetafileTexts(HENHMETAFILE metafile) {
  std::vector<std::string> texts;
  auto collect = [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) -> int {
    auto* out = reinterpret_cast<std::vector<std::string>*>(data);
    if (record->iType == EMR_EXTTEXTOUTW) {
      const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
      const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) +
                                                           text->emrtext.offString);
      const int n = static_cast<int>(text->emrtext.nChars);
      char ansi[512] = {};
      WideCharToMultiByte(CP_ACP, 0, chars, n, ansi, sizeof ansi - 1, nullptr, nullptr);
      out->push_back(ansi);
    } else if (record->iType == EMR_EXTTEXTOUTA) {
      const auto* text = reinterpret_cast<const EMREXTTEXTOUTA*>(record);
      const char* chars = reinterpret_cast<const char*>(record) + text->emrtext.offString;
      out->emplace_back(chars, text->emrtext.nChars);
    }
    return 1;
  };
  EnumEnhMetaFile(nullptr, metafile, collect, &texts, nullptr);
  return texts;
}

// The face names of the fonts a metafile creates.
inline std::vector<std::string> MetafileFontFaces(HENHMETAFILE metafile) {
  std::vector<std::string> faces;
  auto collect = [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) -> int {
    if (record->iType == EMR_EXTCREATEFONTINDIRECTW) {
      const auto* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
      char face[LF_FACESIZE * 2] = {};
      WideCharToMultiByte(CP_ACP, 0, font->elfw.elfLogFont.lfFaceName, -1, face, sizeof face - 1,
                          nullptr, nullptr);
      reinterpret_cast<std::vector<std::string>*>(data)->push_back(face);
    }
    return 1;
  };
  EnumEnhMetaFile(nullptr, metafile, collect, &faces, nullptr);
  return faces;
}

}  // namespace printing
}  // namespace odc
