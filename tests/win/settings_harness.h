// Drives the real settings sheets and dialogs in-process: a fixture with the
// main window and the demonstration machine's data set, and a script of
// steps that a thread timer runs inside the modal loops of the sheet and its
// dialogs, as a user's clicks would arrive.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setup/data/data_file.h"
#include "setup/link/simulated_machine.h"
#include "setup/res/resource.h"
#include "setup/settings/settings_win32.h"
#include "setup/shell/app_win32.h"
#include "tests/win/demo_machine_window.h"
#include "tests/win/scripted_prompts.h"

namespace odc {
namespace test {

inline std::string WindowTextOf(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

inline std::string ItemText(HWND dialog, int id) {
  char text[512] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// A string of a resource module, as the program loads it.
inline std::string ModuleText(HMODULE module, int id) {
  char text[256] = {};
  LoadStringA(module, static_cast<UINT>(id), text, sizeof text);
  return text;
}

// The enabled top-level dialog of this thread with this caption.
inline HWND FindDialog(const std::string& caption) {
  struct Search {
    std::string caption;
    HWND found;
  } search{caption, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (IsWindowEnabled(window) && WindowTextOf(window) == s->caption) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The current page window of a property sheet.
inline HWND CurrentPage(HWND sheet) {
  return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// The tab captions of a sheet, in order.
inline std::vector<std::string> PageCaptions(HWND sheet) {
  HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
  std::vector<std::string> captions;
  const int n = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char text[128] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    captions.push_back(text);
  }
  return captions;
}

// What a user does to a control of a page or dialog.
inline void ClickButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  const LONG style = GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
  if (style == BS_AUTORADIOBUTTON) {
    SendMessageA(button, BM_CLICK, 0, 0);
  } else {
    SendMessageA(button, BM_CLICK, 0, 0);
  }
}
inline void TypeText(HWND dialog, int id, const std::string& text) {
  SetDlgItemTextA(dialog, id, text.c_str());
}
inline void ChooseListItem(HWND dialog, int id, int index) {
  SendDlgItemMessageA(dialog, id, CB_SETCURSEL, index, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
inline void MoveSlider(HWND dialog, int id, int position) {
  HWND slider = GetDlgItem(dialog, id);
  SendMessageA(slider, TBM_SETPOS, TRUE, position);
  SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
               reinterpret_cast<LPARAM>(slider));
}
inline bool Checked(HWND dialog, int id) {
  return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
inline void PressSheetButton(HWND sheet, int button) {
  SendMessageA(sheet, PSM_PRESSBUTTON, button, 0);
}

// A script of steps run from a thread timer while a modal loop runs. Each
// step returns false while what it waits for is not there yet; a script
// that does not finish within its time presses Cancel everywhere and fails.
class Script {
 public:
  using Step = std::function<bool()>;
  Script& Then(Step step) {
    steps_.push_back(std::move(step));
    return *this;
  }
  // Runs `modal` (which opens the sheet or dialog) with the steps.
  void Run(const std::function<void()>& modal) {
    current_ = this;
    ticks_ = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &Script::Tick);
    modal();
    KillTimer(nullptr, timer);
    current_ = nullptr;
    EXPECT_TRUE(steps_.empty()) << steps_.size() << " step(s) of the script did not run";
    EXPECT_FALSE(timedOut_) << "the script timed out";
  }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Script* s = current_;
    if (s == nullptr || s->busy_) return;
    s->busy_ = true;
    if (++s->ticks_ > 1500) {
      // Stuck: close whatever is open so the test ends.
      s->timedOut_ = true;
      s->steps_.clear();
      if (HWND sheet = CurrentSettingsSheet()) PressSheetButton(sheet, PSBTN_CANCEL);
      HWND active = GetActiveWindow();
      if (active) SendMessageA(active, WM_COMMAND, IDCANCEL, 0);
    } else {
      while (!s->steps_.empty() && s->steps_.front()()) s->steps_.pop_front();
    }
    s->busy_ = false;
  }
  std::deque<Step> steps_;
  int ticks_ = 0;
  bool busy_ = false;
  bool timedOut_ = false;
  static inline Script* current_ = nullptr;
};

// The main window with a data set from a settings data file.
class SettingsWindow : public DemoMachineWindow {
 protected:
  void SetUp() override {
    DemoMachineWindow::SetUp();
    if (HasFatalFailure()) return;
    Open(ODC_DEMO_MACHINE_PATH);
  }
  // File > Open of a settings data file.
  void Open(const std::string& path) {
    prompts.files.push_back(path);
    SendMessageA(window, WM_COMMAND, ID_FILE_OPEN, 0);
    ASSERT_NE(app.words.dataLoaded, 0);
  }
  // The settings value of an item in the transfer image (what a save or an
  // upload carries) and in the working values.
  uint32_t ImageByte(uint32_t id, int offset = 0) {
    const int r = FindRecord(*app.data, id);
    return r < 0 ? 0xFFFFFFFF : app.data->records[r].data[offset];
  }
};

}  // namespace test
}  // namespace odc
