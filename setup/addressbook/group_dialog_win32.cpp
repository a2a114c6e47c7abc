// The Group dial dialog (template 617): One Touch candidates, the members
// and Speed Dial candidates, moved between the lists with ">>", "<<" and
// "Delete Selected"; the member rules live in entry_dialog_rules.
#include <windows.h>
// commctrl.h needs the types windows.h declares.
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "setup/addressbook/entry_dialog_rules.h"
#include "setup/res/resource.h"
#include "setup/shell/app_win32.h"

namespace odc {
namespace {

struct GroupDialogState {
  int key = 0;
  bool singleByte = true;
  DisplayRecord group{};
  GroupEditor editor;
  HIMAGELIST images = nullptr;
};
GroupDialogState g_group;

RowContext Context(App& app) {
  RowContext context;
  context.doubleByte = !g_group.singleByte;
  context.text = [&app](int id) { return app.Text(static_cast<UINT>(id)); };
  return context;
}

HWND List(HWND dialog, int id) { return GetDlgItem(dialog, id); }

void SetGroupListColumns(App& app, HWND dialog, int id) {
  HWND list = List(dialog, id);
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(g_group.images));
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(g_group.images));
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  if (header != nullptr) {
    SetWindowLongPtrA(header, GWL_STYLE, GetWindowLongPtrA(header, GWL_STYLE) | HDS_BUTTONS);
  }
  struct Column {
    UINT title;
    int width;
  };
  std::vector<Column> columns = {{IDS_COLUMN_NO, 50},
                                 {IDS_COLUMN_NAME, g_group.singleByte ? 120 : 60}};
  if (!g_group.singleByte) columns.push_back({IDS_COLUMN_NAME2, 60});
  for (size_t c = 0; c < columns.size(); ++c) {
    AddListColumn(app, list, static_cast<int>(c), ScaleToDpi(columns[c].width, WindowDpi(dialog)),
                  columns[c].title);
  }
  const DWORD ex = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
}

void FocusFirstRow(HWND list) {
  SetFocus(list);
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
}

void AddGroupDialogRow(App& app, HWND list, const DisplayRecord& record, int index,
                       GroupRowRole role) {
  InsertListRow(list, GroupDialogRow(record, index, role, Context(app)));
  FocusFirstRow(list);
}

// The entry index a row names: its text is the 1-based number.
int RowNumber(HWND list, int row) {
  char text[16] = {};
  LVITEMA item = {};
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return std::atoi(text) - 1;
}

int RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

std::vector<int> SelectedRows(HWND list) {
  std::vector<int> rows;
  int row = -1;
  while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0) {
    rows.push_back(row);
  }
  return rows;
}

void RemoveRowOf(HWND list, int number) {
  for (int row = RowCount(list) - 1; row >= 0; --row) {
    if (RowNumber(list, row) == number) SendMessageA(list, LVM_DELETEITEM, row, 0);
  }
}

void FinishFill(HWND list) {
  const DWORD ex = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
  FocusFirstRow(list);
}

void FillGroupLocationList(App& app, HWND dialog) {
  HWND list = List(dialog, IDC_GROUP_MEMBERS);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  DisplayRecord record;
  const auto& sd = g_group.editor.speedDial;
  for (auto m = sd.rbegin(); m != sd.rend(); ++m) {
    UnpackSpeedDial(record, *app.data, m->index);
    InsertListRow(list, GroupDialogRow(record, m->index, GroupRowRole::Member, Context(app)));
  }
  const auto& ot = g_group.editor.oneTouch;
  for (auto m = ot.rbegin(); m != ot.rend(); ++m) {
    UnpackOneTouch(record, *app.data, m->index);
    InsertListRow(list, GroupDialogRow(record, m->index, GroupRowRole::Member, Context(app)));
  }
  FinishFill(list);
}

void FillOneTouchCandidates(App& app, HWND dialog) {
  HWND list = List(dialog, IDC_GROUP_ONE_TOUCH_LIST);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  DisplayRecord record;
  for (int k : OneTouchCandidates(*app.data, g_group.key, g_group.editor)) {
    UnpackOneTouch(record, *app.data, k);
    InsertListRow(list, GroupDialogRow(record, k, GroupRowRole::OneTouchCandidate, Context(app)));
  }
  FinishFill(list);
}

void FillSpeedDialCandidates(App& app, HWND dialog) {
  HWND list = List(dialog, IDC_GROUP_SPEED_DIAL_LIST);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  DisplayRecord record;
  for (int s : SpeedDialCandidates(*app.data, g_group.editor)) {
    UnpackSpeedDial(record, *app.data, s);
    InsertListRow(list, GroupDialogRow(record, s, GroupRowRole::SpeedDialCandidate, Context(app)));
  }
  FinishFill(list);
}

void DestroyImages() {
  if (g_group.images != nullptr) ImageList_Destroy(g_group.images);
  g_group.images = nullptr;
}

void OnInit(App& app, HWND dialog) {
  g_group = GroupDialogState();
  g_group.key = app.words.selected;
  g_group.singleByte = !app.DoubleByteLanguage();
  SetControlText(app, dialog, IDC_GROUP_ADD_SPEED_DIAL, IDS_LABEL_ADD_SPEED_DIAL);
  SetControlText(app, dialog, IDC_GROUP_ADD_ONE_TOUCH, IDS_LABEL_ADD_ONE_TOUCH);
  CentreWindow(dialog);
  for (const Label& label : GroupDialogLabels(g_group.singleByte)) {
    SetControlText(app, dialog, label.controlId, static_cast<UINT>(label.stringId));
  }
  if (g_group.singleByte) {
    ShowWindow(GetDlgItem(dialog, IDC_GROUP_NAME_LABEL), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_ENTRY_NAME2_EDIT), SW_HIDE);
    // 96-DPI pixels, growing with the display scale as the dialog does.
    const int dpi = WindowDpi(dialog);
    MoveControl(dialog, IDC_GROUP_NAME2_LABEL, ScaleToDpi(8, dpi), ScaleToDpi(271, dpi));
    MoveControl(dialog, IDC_ENTRY_NAME_EDIT, ScaleToDpi(95, dpi), ScaleToDpi(271, dpi));
  }
  SendDlgItemMessageA(dialog, IDC_ENTRY_NAME2_EDIT, EM_LIMITTEXT, 20, 0);
  // The group's name holds 20 characters too; limited from the start so a
  // paste cannot bring in more.
  SendDlgItemMessageA(dialog, IDC_ENTRY_NAME_EDIT, EM_LIMITTEXT, 20, 0);
  SetWindowTextA(dialog, GroupDialogTitle(g_group.key, app.Text(IDS_REGISTER_GROUP_TITLE)).c_str());

  g_group.images = CreateTreeImageList(app.resources, WindowDpi(dialog));

  UnpackGroup(g_group.group, *app.data, g_group.key);
  const GroupMemberLists members = SplitGroupMembers(g_group.group, *app.data);
  g_group.editor.oneTouch = members.oneTouch;
  g_group.editor.speedDial = members.speedDial;
  SetDlgItemTextA(dialog, IDC_ENTRY_NAME_EDIT, g_group.group.name);
  SetDlgItemTextA(dialog, IDC_ENTRY_NAME2_EDIT, g_group.group.name2);

  for (int id : {IDC_GROUP_MEMBERS, IDC_GROUP_SPEED_DIAL_LIST, IDC_GROUP_ONE_TOUCH_LIST}) {
    SetGroupListColumns(app, dialog, id);
  }
  FillGroupLocationList(app, dialog);
  FillSpeedDialCandidates(app, dialog);
  FillOneTouchCandidates(app, dialog);
}

void OnAddOneTouch(App& app, HWND dialog) {
  HWND candidates = List(dialog, IDC_GROUP_ONE_TOUCH_LIST);
  HWND speedDials = List(dialog, IDC_GROUP_SPEED_DIAL_LIST);
  // Each pass takes the next selected key, as the button pressed again.
  for (;;) {
    if (g_group.editor.Count() >= kMaxGroupMembers) return;
    int key = -1;
    for (int row : SelectedRows(candidates)) {
      const int number = RowNumber(candidates, row);
      if (!g_group.editor.HasOneTouch(number)) {
        key = number;
        break;
      }
    }
    if (key < 0) {
      FillGroupLocationList(app, dialog);
      return;
    }
    const GroupEditor::Moved moved = g_group.editor.AddOneTouch(*app.data, key);
    for (int k : moved.oneTouchRows) RemoveRowOf(candidates, k);
    for (int s : moved.speedDialRows) RemoveRowOf(speedDials, s);
    FillGroupLocationList(app, dialog);
    if (!moved.moved) return;
  }
}

void OnAddSpeedDials(App& app, HWND dialog) {
  if (g_group.editor.Count() >= kMaxGroupMembers) return;
  HWND candidates = List(dialog, IDC_GROUP_SPEED_DIAL_LIST);
  std::vector<int> selected;
  for (int row : SelectedRows(candidates)) selected.push_back(RowNumber(candidates, row));
  const std::vector<int> joined = g_group.editor.AddSpeedDials(selected);
  for (int s : joined) RemoveRowOf(candidates, s);
  FillGroupLocationList(app, dialog);
}

void OnDeleteSelected(App& app, HWND dialog) {
  HWND members = List(dialog, IDC_GROUP_MEMBERS);
  const std::vector<GroupMemberRow> removed = g_group.editor.RemoveRows(SelectedRows(members));
  DisplayRecord record;
  for (const GroupMemberRow& m : removed) {
    if (m.kind == kMemberOneTouch) {
      UnpackOneTouch(record, *app.data, m.index);
      AddGroupDialogRow(app, List(dialog, IDC_GROUP_ONE_TOUCH_LIST), record, m.index,
                        GroupRowRole::Member);
    } else {
      UnpackSpeedDial(record, *app.data, m.index);
      AddGroupDialogRow(app, List(dialog, IDC_GROUP_SPEED_DIAL_LIST), record, m.index,
                        GroupRowRole::Member);
    }
  }
  std::vector<int> rows = SelectedRows(members);
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    SendMessageA(members, LVM_DELETEITEM, *row, 0);
  }
}

template <size_t N>
void Store(char (&field)[N], const std::string& text) {
  const size_t n = std::min<size_t>(text.size(), 20);
  std::memcpy(field, text.data(), n);
  std::memset(field + n, 0, N - n);
}

void OnEditChange(App& app, HWND dialog, int id) {
  if (id == IDC_ENTRY_NAME2_EDIT) {
    Store(g_group.group.name2, ControlText(dialog, id, 21));
  } else if (id == IDC_ENTRY_NAME_EDIT) {
    const std::string text = ControlText(dialog, id, 21);
    const FilterResult f =
        FilterNameText(text, app.data->language, GetSetting(*app.data, kMachineVariantId));
    if (!f.accepted) {
      SetDlgItemTextA(dialog, id, f.text.c_str());
      SendDlgItemMessageA(dialog, id, EM_SETSEL, f.caret, f.caret);
      return;
    }
    SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, 20, 0);
    Store(g_group.group.name, text);
  }
}

// The button a double-click or Enter in a list stands for; 0 for no list.
int ListButton(int listId) {
  switch (listId) {
    case IDC_GROUP_ONE_TOUCH_LIST:
      return IDC_GROUP_ADD_ONE_TOUCH;
    case IDC_GROUP_SPEED_DIAL_LIST:
      return IDC_GROUP_ADD_SPEED_DIAL;
    case IDC_GROUP_MEMBERS:
      return IDC_GROUP_DELETE_SELECTED;
  }
  return 0;
}

void Tell(App& app, HWND dialog, UINT id) {
  app.prompts->Message(dialog, app.Text(id), app.Text(IDS_APP_TITLE), MB_OK);
}

void OnOk(App& app, HWND dialog) {
  if (!g_group.singleByte) {
    const NameCheck check =
        ValidateName(app.data->language, ControlText(dialog, IDC_ENTRY_NAME2_EDIT, 256));
    // The checked text is what is stored, also when nothing was removed: it
    // puts each two-byte character on an even byte and cuts at 20 bytes.
    SetDlgItemTextA(dialog, IDC_ENTRY_NAME2_EDIT, check.text.c_str());
    Store(g_group.group.name2, check.text);
    if (check.rejected) {
      Tell(app, dialog, IDS_INVALID_NAME_CHARACTERS);
      SendDlgItemMessageA(dialog, IDC_ENTRY_NAME2_EDIT, EM_SETSEL, 0, -1);
      SetFocus(GetDlgItem(dialog, IDC_ENTRY_NAME2_EDIT));
      return;
    }
  }
  const int refused =
      CheckGroup(g_group.group.name, RowCount(List(dialog, IDC_GROUP_MEMBERS)), g_group.singleByte);
  if (refused != 0) {
    Tell(app, dialog, static_cast<UINT>(refused));
    const int focus =
        refused == IDS_DATA_LIST_EMPTY ? IDC_GROUP_ONE_TOUCH_LIST : IDC_ENTRY_NAME_EDIT;
    SendDlgItemMessageA(dialog, focus, EM_SETSEL, 0, -1);
    SetFocus(GetDlgItem(dialog, focus));
    return;
  }
  const int i = g_group.key;
  DisplayRecord& r = g_group.group;
  SendMessageA(app.list, LVM_DELETEITEM, i, 0);
  r.inUse = 1;
  SYSTEMTIME now;
  GetLocalTime(&now);
  r.registrationDate = RegistrationDateOf(now.wYear, now.wMonth, now.wDay);
  r.entryType = kEntryGroup;
  AddGroupRow(app, r, i);
  PackGroup(*app.data, r, g_group.editor.oneTouch, g_group.editor.speedDial, i);
  FillGroupList(app);
  SelectMainListRow(app, i);
  PackTransferImage(*app.data);
  app.modified = true;
  DestroyImages();
  EndDialog(dialog, 0);
}

}  // namespace

INT_PTR CALLBACK GroupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  App* app = g_app;
  if (app == nullptr) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      OnInit(*app, dialog);
      return FALSE;
    case DM_GETDEFID: {
      // Enter in one of the three lists runs that list's button, as a
      // double-click does, instead of OK.
      const int button = ListButton(GetDlgCtrlID(GetFocus()));
      if (button == 0 || !IsChild(dialog, GetFocus())) return FALSE;
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, MAKELONG(button, DC_HASDEFID));
      return TRUE;
    }
    case WM_NOTIFY: {
      const NMHDR* n = reinterpret_cast<NMHDR*>(lParam);
      if (n->code != LVN_ITEMACTIVATE) return FALSE;
      const int button = ListButton(static_cast<int>(n->idFrom));
      if (button != 0) SendMessageA(dialog, WM_COMMAND, button, 0);
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (code == EN_CHANGE) {
        OnEditChange(*app, dialog, id);
        return TRUE;
      }
      if (code != BN_CLICKED) return FALSE;
      switch (id) {
        case IDC_GROUP_ADD_ONE_TOUCH:
          OnAddOneTouch(*app, dialog);
          return TRUE;
        case IDC_GROUP_ADD_SPEED_DIAL:
          OnAddSpeedDials(*app, dialog);
          return TRUE;
        case IDC_GROUP_DELETE_SELECTED:
          OnDeleteSelected(*app, dialog);
          return TRUE;
        case IDOK:
          OnOk(*app, dialog);
          return TRUE;
        case IDCANCEL:
          DestroyImages();
          UnpackTransferImage(*app->data);
          EndDialog(dialog, 0);
          return TRUE;
      }
      return FALSE;
    }
    case WM_CLOSE:
      DestroyImages();
      EndDialog(dialog, 0);
      return TRUE;
  }
  return FALSE;
}

void RunGroupDialog(App& app) {
  DialogBoxParamA(app.resources, MAKEINTRESOURCEA(IDD_GROUP), app.list, GroupDialogProc, 0);
}

}  // namespace odc
