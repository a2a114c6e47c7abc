// The One Touch / Speed Dial entry dialog (template 301): reads and writes
// its controls; what is allowed and checked is decided in
// entry_dialog_rules.
#include <windows.h>
// commctrl.h needs the types windows.h declares.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "setup/addressbook/entry_dialog_rules.h"
#include "setup/res/resource.h"
#include "setup/shell/app_win32.h"

namespace odc {
namespace {

// The dialog's own state besides the shared scratch record; one dialog is
// open at a time.
struct EntryDialogState {
  int view = 1;
  int index = 0;
  bool combination = false;
  bool starting = false;  // texts set by the start are the record's already
};
EntryDialogState g_entry;

// Copies a text into a fixed record field, cut to `limit` characters.
template <size_t N>
void Store(char (&field)[N], const std::string& text, size_t limit) {
  const size_t n = std::min({text.size(), limit, N - 1});
  std::memcpy(field, text.data(), n);
  std::memset(field + n, 0, N - n);
}

bool NicKit(const App& app) { return app.data->machineInfo[7] != 0; }

void Show(HWND dialog, int id, bool show) {
  ShowWindow(GetDlgItem(dialog, id), show ? SW_SHOW : SW_HIDE);
}

void SelectAndFocus(HWND dialog, int id) {
  SendDlgItemMessageA(dialog, id, EM_SETSEL, 0, -1);
  SetFocus(GetDlgItem(dialog, id));
}

RECT ClientRectOf(HWND dialog, int id) {
  RECT r = {};
  GetWindowRect(GetDlgItem(dialog, id), &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The single-byte layout moves the fields up by the hidden Name row: the
// frame around them, the buttons and the dialog follow, so that no empty
// band stays under SID.
void CloseGapUnderFields(HWND dialog) {
  const RECT frame = ClientRectOf(dialog, IDC_ENTRY_FIELDS_FRAME);
  const RECT first = ClientRectOf(dialog, IDC_ENTRY_NAME2_LABEL);
  const RECT last = ClientRectOf(dialog, IDC_ENTRY_SID);
  const int gap = frame.bottom - (last.bottom + (first.top - frame.top));
  if (gap <= 0) return;
  SetWindowPos(GetDlgItem(dialog, IDC_ENTRY_FIELDS_FRAME), nullptr, 0, 0, frame.right - frame.left,
               frame.bottom - frame.top - gap, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (int id : {IDOK, IDCANCEL}) {
    const RECT button = ClientRectOf(dialog, id);
    MoveControl(dialog, id, button.left, button.top - gap);
  }
  RECT window = {};
  GetWindowRect(dialog, &window);
  SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - gap,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A message box owned by the dialog.
void Tell(App& app, HWND dialog, const std::string& text) {
  app.prompts->Message(dialog, text, app.Text(IDS_APP_TITLE), MB_OK);
}

void Refresh(App& app, HWND dialog) {
  const DisplayRecord& r = app.scratch;
  const EntryControls controls = RefreshEntryControls(r.kind, g_entry.combination,
                                                      r.emailOptions[0], g_entry.view, NicKit(app));
  for (const ControlAction& a : controls.actions) {
    HWND control = GetDlgItem(dialog, a.id);
    switch (a.step) {
      case ControlStep::Enable:
        EnableWindow(control, TRUE);
        break;
      case ControlStep::Disable:
        EnableWindow(control, FALSE);
        break;
      case ControlStep::Show:
        ShowWindow(control, SW_SHOW);
        break;
      case ControlStep::Hide:
        ShowWindow(control, SW_HIDE);
        break;
    }
  }
  SetControlText(app, dialog, IDC_ENTRY_NUMBER_LABEL, controls.numberLabelId);
}

void SetTitle(App& app, HWND dialog, bool combination) {
  const UINT prefix =
      g_entry.view == 1 ? IDS_REGISTER_ONE_TOUCH_TITLE : IDS_REGISTER_SPEED_DIAL_TITLE;
  const std::string title = EntryDialogTitle(g_entry.view, g_entry.index, app.Text(prefix),
                                             combination, app.Text(IDS_COMBINATION_KEY));
  SetWindowTextA(dialog, title.c_str());
}

void SelectSize(App& app, HWND dialog) {
  const int index =
      MaxTxSizeIndex(app.scratch.emailOptions[1], app.inchPaper, app.data->addressBookOnly);
  SendDlgItemMessageA(dialog, IDC_ENTRY_SIZE, CB_SETCURSEL, index, 0);
}

void OnInit(App& app, HWND dialog) {
  g_entry.view = app.words.view;
  g_entry.index = app.words.selected;
  g_entry.starting = true;
  DisplayRecord& r = app.scratch;

  const bool singleByte = !app.DoubleByteLanguage();
  for (const Label& label : EntryDialogLabels(singleByte)) {
    SetControlText(app, dialog, label.controlId, static_cast<UINT>(label.stringId));
  }
  if (!NicKit(app)) {
    for (int id : ControlsWithoutNicKit()) EnableWindow(GetDlgItem(dialog, id), FALSE);
  }
  if (singleByte) {
    Show(dialog, IDC_ENTRY_NAME_LABEL, false);
    Show(dialog, IDC_ENTRY_NAME2_EDIT, false);
    // The positions are 96-DPI pixels; the dialog grows with the display
    // scale, and so do they.
    const int dpi = WindowDpi(dialog);
    for (const ControlPosition& p : SingleByteEntryLayout()) {
      MoveControl(dialog, p.id, ScaleToDpi(p.x, dpi), ScaleToDpi(p.y, dpi));
    }
    CloseGapUnderFields(dialog);
  }
  CentreWindow(dialog);  // at its final size
  // Every edit is limited from the start, so that no paste can bring in
  // more than the entry can hold.
  const struct {
    int id, limit;
  } limits[] = {{IDC_ENTRY_NAME2_EDIT, 20}, {IDC_ENTRY_NAME_EDIT, 20}, {IDC_ENTRY_ADDRESS, 64},
                {IDC_ENTRY_NUMBER, 30},     {IDC_ENTRY_SUB, 20},       {IDC_ENTRY_SID, 20},
                {IDC_ENTRY_HOUR, 2},        {IDC_ENTRY_MINUTE, 2}};
  for (const auto& l : limits) SendDlgItemMessageA(dialog, l.id, EM_LIMITTEXT, l.limit, 0);

  g_entry.combination = false;
  LoadEntryRecord(app, g_entry.view, g_entry.index, r);
  SetTitle(app, dialog, r.combination != 0);
  const uint8_t kind = r.kind <= 1 ? r.kind : 0;
  CheckRadioButton(dialog, IDC_ENTRY_FAX, IDC_ENTRY_EMAIL, IDC_ENTRY_FAX + kind);
  CheckRadioButton(dialog, IDC_ENTRY_BASIC, IDC_ENTRY_ADVANCED,
                   IDC_ENTRY_BASIC + (r.emailOptions[0] == 1 ? 1 : 0));
  if (r.inUse) {
    SetDlgItemTextA(dialog, IDC_ENTRY_NAME2_EDIT, r.name2);
    SetDlgItemTextA(dialog, IDC_ENTRY_NAME_EDIT, r.name);
    SetDlgItemTextA(dialog, IDC_ENTRY_NUMBER, r.number);
    SetDlgItemTextA(dialog, IDC_ENTRY_ADDRESS, r.email);
    if (r.kind == kKindFax) {
      g_entry.combination = IsCombinationNumber(r.number);
      SetDlgItemTextA(dialog, IDC_ENTRY_SUB, r.sub);
      SetDlgItemTextA(dialog, IDC_ENTRY_SID, r.sid);
      SetDlgItemTextA(dialog, IDC_ENTRY_HOUR, r.batchHour);
      SetDlgItemTextA(dialog, IDC_ENTRY_MINUTE, r.batchMinute);
    } else {
      r.speedIndex = 2;
    }
  } else {
    r.speedIndex = 2;
  }
  if (r.speedIndex > 2) r.speedIndex = 2;
  CheckRadioButton(dialog, IDC_ENTRY_SPEED_9600, IDC_ENTRY_SPEED_33600,
                   IDC_ENTRY_SPEED_9600 + r.speedIndex);

  const SizeList sizes = MaxTxSizeList(app.inchPaper, app.data->addressBookOnly);
  FillComboFromStrings(app, dialog, IDC_ENTRY_SIZE, static_cast<UINT>(sizes.stringIds.front()),
                       static_cast<UINT>(sizes.stringIds.back()), -1);
  SelectSize(app, dialog);
  FillComboFromStrings(app, dialog, IDC_ENTRY_QUALITY, IDS_QUALITY_FINE, IDS_QUALITY_SF,
                       r.emailOptions[2] - 1);
  FillComboFromStrings(app, dialog, IDC_ENTRY_CODING, IDS_CODING_MH, IDS_CODING_MMR,
                       r.emailOptions[3]);
  Refresh(app, dialog);

  if (g_entry.combination) {
    SelectAndFocus(dialog, IDC_ENTRY_NUMBER);
  } else {
    SelectAndFocus(dialog, singleByte ? IDC_ENTRY_NAME_EDIT : IDC_ENTRY_NAME2_EDIT);
  }
  if (r.kind == kKindEmail) {
    r.number[0] = 0;
    r.combination = 0;
    SetDlgItemTextA(dialog, IDC_ENTRY_NUMBER, "");
  } else {
    r.email[0] = 0;
    SetDlgItemTextA(dialog, IDC_ENTRY_ADDRESS, "");
  }
  g_entry.starting = false;
}

// Puts a filter's verdict back into the edit; true when the text stands.
bool Apply(HWND dialog, int id, const FilterResult& result, int limit) {
  if (!result.accepted) {
    // Setting the text sends another change notification, which stores the
    // filtered text.
    SetDlgItemTextA(dialog, id, result.text.c_str());
    SendDlgItemMessageA(dialog, id, EM_SETSEL, result.caret, result.caret);
    return false;
  }
  if (limit > 0) SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, limit, 0);
  return true;
}

void OnEditChange(App& app, HWND dialog, int id) {
  if (g_entry.starting) return;
  DisplayRecord& r = app.scratch;
  switch (id) {
    case IDC_ENTRY_NAME2_EDIT:
      Store(r.name2, ControlText(dialog, id, 21), 20);
      break;
    case IDC_ENTRY_NAME_EDIT: {
      const std::string text = ControlText(dialog, id, 21);
      const FilterResult f =
          FilterNameText(text, app.data->language, GetSetting(*app.data, kMachineVariantId));
      if (Apply(dialog, id, f, 20)) Store(r.name, text, 20);
      break;
    }
    case IDC_ENTRY_NUMBER: {
      const std::string text = ControlText(dialog, id, 31);
      const FilterResult f = FilterDialText(text, DialField::Number);
      if (!Apply(dialog, id, f, 30)) break;
      Store(r.number, text, 30);
      g_entry.combination = IsCombinationNumber(r.number);
      SetTitle(app, dialog, g_entry.combination);
      Refresh(app, dialog);
      break;
    }
    case IDC_ENTRY_ADDRESS: {
      const std::string text = ControlText(dialog, id, 65);
      if (Apply(dialog, id, FilterMailText(text), 0)) Store(r.email, text, 64);
      break;
    }
    case IDC_ENTRY_SUB:
    case IDC_ENTRY_SID: {
      const std::string text = ControlText(dialog, id, 21);
      if (!Apply(dialog, id, FilterDialText(text, DialField::SubOrSid), 20)) break;
      if (id == IDC_ENTRY_SUB) {
        Store(r.sub, text, 20);
      } else {
        Store(r.sid, text, 20);
      }
      break;
    }
    case IDC_ENTRY_HOUR:
    case IDC_ENTRY_MINUTE: {
      const std::string text = ControlText(dialog, id, 3);
      if (!Apply(dialog, id, FilterDigits(text), 2)) break;
      if (id == IDC_ENTRY_HOUR) {
        Store(r.batchHour, text, 2);
      } else {
        Store(r.batchMinute, text, 2);
      }
      break;
    }
  }
}

void OnKind(App& app, HWND dialog, int id) {
  DisplayRecord& r = app.scratch;
  CheckRadioButton(dialog, IDC_ENTRY_FAX, IDC_ENTRY_EMAIL, id);
  r.kind = static_cast<uint8_t>(id - IDC_ENTRY_FAX);
  if (r.kind == kKindEmail) {
    r.combination = 0;
    r.number[0] = 0;
    SetDlgItemTextA(dialog, IDC_ENTRY_NUMBER, "");
  } else {
    r.email[0] = 0;
    SetDlgItemTextA(dialog, IDC_ENTRY_ADDRESS, "");
  }
  Refresh(app, dialog);
}

void OnMode(App& app, HWND dialog, int id) {
  DisplayRecord& r = app.scratch;
  CheckRadioButton(dialog, IDC_ENTRY_BASIC, IDC_ENTRY_ADVANCED, id);
  r.emailOptions[0] = static_cast<uint8_t>(id - IDC_ENTRY_BASIC);
  if (r.emailOptions[0] == 1) {
    r.emailOptions[1] = DefaultMaxTxSize(app.inchPaper, app.data->addressBookOnly);
    SelectSize(app, dialog);
    r.emailOptions[2] = 2;
    SendDlgItemMessageA(dialog, IDC_ENTRY_QUALITY, CB_SETCURSEL, 1, 0);
    r.emailOptions[3] = 0;
    SendDlgItemMessageA(dialog, IDC_ENTRY_CODING, CB_SETCURSEL, 0, 0);
  }
  for (int c = IDC_ENTRY_SIZE_LABEL; c <= IDC_ENTRY_CODING; ++c) {
    const bool advanced = r.emailOptions[0] == 1;
    EnableWindow(GetDlgItem(dialog, c), advanced && NicKit(app));
    Show(dialog, c, advanced);
  }
}

void OnSelection(App& app, HWND dialog, int id) {
  const int index = static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
  if (index < 0) return;
  DisplayRecord& r = app.scratch;
  if (id == IDC_ENTRY_SIZE) {
    const SizeList sizes = MaxTxSizeList(app.inchPaper, app.data->addressBookOnly);
    if (static_cast<size_t>(index) < sizes.codes.size()) r.emailOptions[1] = sizes.codes[index];
  } else if (id == IDC_ENTRY_QUALITY) {
    r.emailOptions[2] = static_cast<uint8_t>(index + 1);
  } else if (id == IDC_ENTRY_CODING) {
    r.emailOptions[3] = static_cast<uint8_t>(index);
  }
}

bool Fails(App& app, HWND dialog, const CheckFailure& failure) {
  if (!failure.failed()) return false;
  char text[512];
  std::snprintf(text, sizeof text, app.Text(static_cast<UINT>(failure.messageId)).c_str(),
                failure.low, failure.high);
  Tell(app, dialog, text);
  SelectAndFocus(dialog, failure.controlId);
  return true;
}

void OnOk(App& app, HWND dialog) {
  DisplayRecord& r = app.scratch;
  if (Fails(app, dialog,
            CheckBatchTime(ControlText(dialog, IDC_ENTRY_HOUR, 3),
                           ControlText(dialog, IDC_ENTRY_MINUTE, 3)))) {
    return;
  }
  if (app.DoubleByteLanguage()) {
    const NameCheck check =
        ValidateName(app.data->language, ControlText(dialog, IDC_ENTRY_NAME2_EDIT, 256));
    // The checked text is what is stored, also when nothing was removed: it
    // puts each two-byte character on an even byte and cuts at 20 bytes.
    SetDlgItemTextA(dialog, IDC_ENTRY_NAME2_EDIT, check.text.c_str());
    Store(r.name2, check.text, 20);
    if (check.rejected) {
      Tell(app, dialog, app.Text(IDS_INVALID_NAME_CHARACTERS));
      SelectAndFocus(dialog, IDC_ENTRY_NAME2_EDIT);
      return;
    }
  }
  Store(r.name, ControlText(dialog, IDC_ENTRY_NAME_EDIT, 21), 20);
  if (Fails(app, dialog, CheckDestination(r.kind, r.email, r.number))) return;
  if (r.kind == kKindEmail) {
    r.batchHour[0] = 0;
    r.batchMinute[0] = 0;
    r.combination = 0;
  } else {
    r.combination = g_entry.combination ? 1 : 0;
  }
  const int i = g_entry.index;
  SendMessageA(app.list, LVM_DELETEITEM, i, 0);
  r.inUse = 1;
  r.index = static_cast<uint8_t>(i);
  SYSTEMTIME now;
  GetLocalTime(&now);
  r.registrationDate = RegistrationDateOf(now.wYear, now.wMonth, now.wDay);
  if (g_entry.view == 1) {
    r.entryType = kEntryOneTouch;
    PackOneTouch(*app.data, r, i);
    AddOneTouchRow(app, r, i);
  } else {
    r.entryType = kEntrySpeedDial;
    PackSpeedDial(*app.data, r, i);
    AddSpeedDialRow(app, r, i);
  }
  SelectMainListRow(app, i);
  if (r.combination != 0) RemoveFromGroups(app, r);
  RefreshForwardDestination(SettingBytes(*app.data, kForwardLocationId), g_entry.view, i + 1, r);
  PackTransferImage(*app.data);
  app.modified = true;
  EndDialog(dialog, 0);
}

}  // namespace

INT_PTR CALLBACK EntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  App* app = g_app;
  if (app == nullptr) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      OnInit(*app, dialog);
      return FALSE;  // the focus is set
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (code == EN_CHANGE) {
        OnEditChange(*app, dialog, id);
        return TRUE;
      }
      if (code == CBN_SELCHANGE) {
        OnSelection(*app, dialog, id);
        return TRUE;
      }
      if (code != BN_CLICKED) return FALSE;
      switch (id) {
        case IDC_ENTRY_FAX:
        case IDC_ENTRY_EMAIL:
          OnKind(*app, dialog, id);
          return TRUE;
        case IDC_ENTRY_SPEED_9600:
        case IDC_ENTRY_SPEED_14400:
        case IDC_ENTRY_SPEED_33600:
          app->scratch.speedIndex = static_cast<uint8_t>(id - IDC_ENTRY_SPEED_9600);
          return TRUE;
        case IDC_ENTRY_BASIC:
        case IDC_ENTRY_ADVANCED:
          OnMode(*app, dialog, id);
          return TRUE;
        case IDOK:
          OnOk(*app, dialog);
          return TRUE;
        case IDCANCEL:
          UnpackTransferImage(*app->data);
          EndDialog(dialog, 0);
          return TRUE;
      }
      return FALSE;
    }
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
  }
  return FALSE;
}

void RunEntryDialog(App& app) {
  DialogBoxParamA(app.resources, MAKEINTRESOURCEA(IDD_ENTRY), app.list, EntryDialogProc, 0);
}

void SetControlText(App& app, HWND dialog, int controlId, UINT stringId) {
  SetDlgItemTextA(dialog, controlId, app.Text(stringId).c_str());
}

void FillComboFromStrings(App& app, HWND dialog, int controlId, UINT first, UINT last,
                          int selection) {
  for (UINT id = first; id <= last; ++id) {
    SendDlgItemMessageA(dialog, controlId, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(app.Text(id).c_str()));
  }
  SendDlgItemMessageA(dialog, controlId, CB_SETCURSEL, selection, 0);
}

void MoveControl(HWND dialog, int controlId, int x, int y) {
  SetWindowPos(GetDlgItem(dialog, controlId), nullptr, x, y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace odc
