// The navigation tree, the main list and the group member list.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "setup/addressbook/entry_dialog_rules.h"
#include "setup/addressbook/entry_rows.h"
#include "setup/res/resource.h"
#include "setup/shell/app_win32.h"

namespace odc {
namespace {

constexpr DWORD kListExStyles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;

HWND CreateList(HINSTANCE instance, HWND parent, HIMAGELIST images, int id, DWORD extraStyle,
                bool visible) {
  const DWORD style = WS_CHILD | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                      LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE | extraStyle |
                      (visible ? WS_VISIBLE : 0);
  HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (list == nullptr) return nullptr;
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, kListExStyles, kListExStyles);
  if (images != nullptr) {
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  }
  return list;
}

}  // namespace

RowContext MakeRowContext(App& app) {
  RowContext context;
  context.doubleByte = app.DoubleByteLanguage();
  context.addressBookOnly = app.data->addressBookOnly;
  context.inchPaper = app.inchPaper;
  context.text = [&app](int id) { return app.Text(static_cast<UINT>(id)); };
  return context;
}

namespace {

void SetColumns(App& app, int view) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(app.list, LVM_GETHEADER, 0, 0));
  const int existing =
      header != nullptr ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  for (int c = existing - 1; c >= 0; --c) SendMessageA(app.list, LVM_DELETECOLUMN, c, 0);
  const auto columns = ListColumns(view, app.DoubleByteLanguage());
  for (size_t c = 0; c < columns.size(); ++c) {
    AddListColumn(app, app.list, static_cast<int>(c), ScaleToDpi(columns[c].width, app.metrics.dpi),
                  columns[c].titleId);
  }
  app.columnLayout = view;
}

}  // namespace

RecordSource EntryRecordSource(App& app) {
  RecordSource source;
  source.set = app.data.get();
  return source;
}

void LoadEntryRecord(App& app, int view, int index, DisplayRecord& record) {
  LoadDisplayRecord(EntryRecordSource(app), view, index, record);
}

namespace {

void FillList(App& app, int view) {
  SendMessageA(app.list, LVM_DELETEALLITEMS, 0, 0);
  const RowContext context = MakeRowContext(app);
  const int count = view == 2 ? kSpeedDialCount : kOneTouchCount;
  SendMessageA(app.list, WM_SETREDRAW, FALSE, 0);
  for (int i = 0; i < count; ++i) {
    LoadEntryRecord(app, view, i, app.scratch);
    InsertListRow(app.list, view == 1   ? OneTouchRow(app.scratch, i, context)
                            : view == 2 ? SpeedDialRow(app.scratch, i, context)
                                        : GroupRow(app.scratch, i, context));
  }
  SetWindowLongPtrA(
      app.list, GWL_STYLE,
      (GetWindowLongPtrA(app.list, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_REPORT | LVS_SORTASCENDING);
  SendMessageA(app.list, LVM_SORTITEMS, 0, 0);
  SendMessageA(app.list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(app.list, nullptr, TRUE);
}

int SelectedRow(HWND list) {
  return static_cast<int>(
      SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectRow(HWND list, int row) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void FillGroupMemberList(App& app, const DisplayRecord& group) {
  SendMessageA(app.memberList, LVM_DELETEALLITEMS, 0, 0);
  DisplayRecord member;
  for (int j = group.memberCount - 1; j >= 0; --j) {
    const GroupMember& m = group.members[j];
    if (m.kind & kMemberOneTouch) {
      UnpackOneTouch(member, *app.data, m.index);
    } else {
      UnpackSpeedDial(member, *app.data, m.index);
    }
    const MemberLine line = GroupMemberLine(m, member, app.DoubleByteLanguage());
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.pszText = const_cast<char*>(line.text.c_str());
    item.iImage = line.icon;
    SendMessageA(app.memberList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void OnSelectionRead(App& app) {
  const int row = SelectedRow(app.list);
  app.words.selected = row;
  if (app.words.view == 3 && row >= 0) {
    SendMessageA(app.memberList, LVM_DELETEALLITEMS, 0, 0);
    UnpackGroup(app.scratch, *app.data, row);
    if (app.scratch.entryType == kEntryGroup) FillGroupMemberList(app, app.scratch);
  }
}

bool memberListTouched = false;

}  // namespace

HWND CreateNavigationTree(HINSTANCE instance, HWND parent, HIMAGELIST images) {
  HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                                  TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                              0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_NAVIGATION_TREE)),
                              instance, nullptr);
  if (tree != nullptr && images != nullptr) {
    SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  }
  return tree;
}

HWND CreateMainList(HINSTANCE instance, HWND parent, HIMAGELIST images) {
  return CreateList(instance, parent, images, IDC_MAIN_LIST, LVS_SORTASCENDING, true);
}

HWND CreateGroupMemberList(HINSTANCE instance, HWND parent, HIMAGELIST images) {
  HWND list = CreateList(instance, parent, images, IDC_GROUP_MEMBER_LIST, 0, false);
  if (list != nullptr && g_app != nullptr) {
    AddListColumn(*g_app, list, 0, g_app->metrics.groupMemberColumnWidth, IDS_COLUMN_GROUP_ITEMS);
  }
  return list;
}

void ResetNavigationTree(App& app) {
  if (app.tree == nullptr) return;
  SendMessageA(app.tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  SendMessageA(app.tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(app.treeImages));
  std::string rootText = SettingText(*app.data, kMachineNameId);
  TVINSERTSTRUCTA insert = {};
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
  insert.item.pszText = const_cast<char*>(rootText.c_str());
  insert.item.iImage = 0;
  insert.item.iSelectedImage = 1;
  insert.item.lParam = 0;
  insert.item.cChildren = 1;
  HTREEITEM root = reinterpret_cast<HTREEITEM>(
      SendMessageA(app.tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  struct Kind {
    UINT text;
    int image;
  };
  const Kind kinds[] = {{IDS_ONE_TOUCH, 2}, {IDS_SPEED_DIAL, 6}, {IDS_GROUP, 9}};
  for (int k = 0; k < 3; ++k) {
    const std::string text = app.Text(kinds[k].text);
    insert.hParent = root;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = kinds[k].image;
    insert.item.iSelectedImage = kinds[k].image + 1;
    insert.item.lParam = k + 1;
    SendMessageA(app.tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
  }
  EnableWindow(app.tree, app.words.dataLoaded != 0);
  if (app.list != nullptr) {
    SetColumns(app, 1);
    EnableWindow(app.list, app.words.dataLoaded != 0);
  }
}

void SelectTreeItem(App& app, int view) {
  HTREEITEM item =
      reinterpret_cast<HTREEITEM>(SendMessageA(app.tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  if (view > 0) {
    item = reinterpret_cast<HTREEITEM>(
        SendMessageA(app.tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    for (int i = 1; i < view && item != nullptr; ++i) {
      item = reinterpret_cast<HTREEITEM>(
          SendMessageA(app.tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
  }
  if (item != nullptr) {
    SendMessageA(app.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  }
}

void SetTreeRootText(App& app) {
  HTREEITEM root =
      reinterpret_cast<HTREEITEM>(SendMessageA(app.tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  if (root == nullptr) return;
  std::string text = SettingText(*app.data, kMachineNameId);
  TVITEMA item = {};
  item.mask = TVIF_TEXT;
  item.hItem = root;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(app.tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

LRESULT OnTreeSelectionChanged(App& app, NMHDR* notification) {
  if (notification->code != TVN_SELCHANGEDA && notification->code != TVN_SELCHANGEDW) return 0;
  const NMTREEVIEWA* change = reinterpret_cast<NMTREEVIEWA*>(notification);
  const int view = static_cast<int>(change->itemNew.lParam);
  app.words.view = view;
  UpdateMenuState(app);
  if (view == 0) {
    LayoutMainWindow(app);
    return 0;
  }
  if (app.columnLayout != view) SetColumns(app, view);
  FillList(app, view);
  app.words.selected = 0;
  SelectRow(app.list, 0);
  SetFocus(app.list);
  LayoutMainWindow(app);
  return 0;
}

void FillCurrentList(App& app) {
  if (app.words.view >= 1 && app.words.view <= 3) {
    if (app.columnLayout != app.words.view) SetColumns(app, app.words.view);
    FillList(app, app.words.view);
  }
}

LRESULT OnMainListNotify(App& app, NMHDR* notification) {
  switch (notification->code) {
    case LVN_ITEMACTIVATE:
      OpenSelectedEntry(app);
      break;
    case LVN_ITEMCHANGED:
      OnSelectionRead(app);
      break;
    case NM_CLICK:
    case NM_RCLICK:
      if (memberListTouched) {
        OnSelectionRead(app);
        UpdateMenuState(app);
        memberListTouched = false;
      }
      break;
  }
  return 0;
}

LRESULT OnGroupMemberListNotify(App& app, NMHDR* notification) {
  if (notification->code == LVN_ITEMACTIVATE) {
    OpenSelectedEntry(app);
  } else if (notification->code == LVN_ITEMCHANGED) {
    app.words.selected = -1;
    memberListTouched = true;
    UpdateMenuState(app);
  }
  return 0;
}

void ShowTreeMenu(App& app, POINT screen) {
  TVHITTESTINFO hit = {};
  hit.pt = screen;
  ScreenToClient(app.tree, &hit.pt);
  HTREEITEM item = reinterpret_cast<HTREEITEM>(
      SendMessageA(app.tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (item == nullptr ||
      !(hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON))) {
    return;
  }
  TVITEMA data = {};
  data.mask = TVIF_PARAM;
  data.hItem = item;
  SendMessageA(app.tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  const int view = static_cast<int>(data.lParam);
  if (view != 0) {
    SendMessageA(app.main, WM_COMMAND, ID_VIEW_ONE_TOUCH + view - 1, 0);
    return;
  }
  HMENU menu = LoadMenuA(app.resources, MAKEINTRESOURCEA(IDR_TREEROOT_MENU));
  if (menu == nullptr) return;
  HMENU popup = GetSubMenu(menu, 0);
  app.words.view = 0;
  UpdateMenuState(app);
  if (!app.link->connected) {
    for (int id : {ID_MACHINE_DISCONNECT, ID_TREEROOT_DOWNLOAD, ID_TREEROOT_UPLOAD}) {
      EnableMenuItem(popup, id, MF_BYCOMMAND | MF_GRAYED);
    }
  } else {
    EnableMenuItem(popup, ID_MACHINE_CONNECT, MF_BYCOMMAND | MF_GRAYED);
  }
  SelectTreeItem(app, 0);
  SetForegroundWindow(app.main);
  TrackPopupMenu(popup, TPM_RIGHTBUTTON, screen.x, screen.y, 0, app.main, nullptr);
  DestroyMenu(menu);
}

void ShowEntryMenu(App& app, POINT screen) {
  if (app.words.view == 0) return;
  LVHITTESTINFO hit = {};
  hit.pt = screen;
  ScreenToClient(app.list, &hit.pt);
  const int row =
      static_cast<int>(SendMessageA(app.list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (row < 0 || !(hit.flags & LVHT_ONITEM)) return;
  app.words.selected = row;
  HMENU menu = LoadMenuA(app.resources, MAKEINTRESOURCEA(IDR_LISTMEMBER_MENU));
  if (menu == nullptr) return;
  HMENU popup = GetSubMenu(menu, 0);
  EntryMenuInputs in;
  in.view = app.words.view;
  in.flags = EntryFlagsOf(*app.data, app.words.view, row);
  in.addressEmpty = ListAddressText(app, row).empty();
  in.clipboardSlots = app.clipboardSlots;
  if (app.words.view == 3) {
    UnpackGroup(app.scratch, *app.data, row);
    in.holdsGroup = app.scratch.inUse != 0 && app.scratch.entryType == kEntryGroup;
  }
  const EntryMenuState state = ComputeEntryMenu(in);
  const struct {
    int id;
    bool enabled;
  } items[] = {{ID_ENTRY_PROPERTY, state.property},
               {ID_EDIT_CUT, state.cut},
               {ID_EDIT_COPY, state.copy},
               {ID_EDIT_PASTE, state.paste},
               {ID_EDIT_DELETE, state.remove}};
  for (const auto& item : items) {
    EnableMenuItem(popup, item.id, MF_BYCOMMAND | (item.enabled ? MF_ENABLED : MF_GRAYED));
  }
  SetForegroundWindow(GetParent(app.list));
  TrackPopupMenu(popup, TPM_RIGHTBUTTON, screen.x, screen.y, 0, app.main, nullptr);
  DestroyMenu(menu);
}

void OpenSelectedEntry(App& app) {
  const int i = SelectedRow(app.list);
  if (i < 0) return;
  app.words.selected = i;
  auto ask = [&app](UINT question) {
    return app.prompts->Message(app.main, app.Text(question), app.Text(IDS_WARNING), MB_YESNO) ==
           IDYES;
  };
  switch (app.words.view) {
    case 1: {
      const uint8_t flags = EntryFlagsOf(*app.data, 1, i);
      UnpackOneTouch(app.scratch, *app.data, i);
      if (app.scratch.groupMarker != 0 && app.scratch.entryType == kEntryGroup) {
        if (!ask(IDS_KEY_USED_BY_GROUP)) return;
        SendMessageA(app.main, WM_COMMAND, ID_EDIT_DELETE, 0);
      }
      if (flags & kFlagProgram) return;
      RunEntryDialog(app);
      SetFocus(app.list);
      break;
    }
    case 2:
      if (EntryFlagsOf(*app.data, 2, i) & kFlagProgram) return;
      RunEntryDialog(app);
      SetFocus(app.list);
      break;
    case 3: {
      const uint8_t flags = EntryFlagsOf(*app.data, 1, i);
      UnpackGroup(app.scratch, *app.data, i);
      if (app.scratch.program == 0 && app.scratch.entryType == kEntryOneTouch) {
        if (!ask(IDS_KEY_USED_BY_ONE_TOUCH)) return;
      }
      if (flags & kFlagProgram) return;
      RunGroupDialog(app);
      SetFocus(app.list);
      break;
    }
  }
}

void AddOneTouchRow(App& app, const DisplayRecord& record, int index) {
  InsertListRow(app.list, OneTouchRow(record, index, MakeRowContext(app)));
}

void AddSpeedDialRow(App& app, const DisplayRecord& record, int index) {
  InsertListRow(app.list, SpeedDialRow(record, index, MakeRowContext(app)));
}

void AddGroupRow(App& app, const DisplayRecord& record, int index) {
  InsertListRow(app.list, GroupRow(record, index, MakeRowContext(app)));
}

void FillGroupList(App& app) { FillList(app, 3); }

void SelectMainListRow(App& app, int row) { SelectRow(app.list, row); }

void AddListColumn(App& app, HWND list, int column, int width, UINT titleId) {
  const std::string title = app.Text(titleId);
  LVCOLUMNA item = {};
  item.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  item.fmt = LVCFMT_CENTER;
  item.cx = width;
  item.pszText = const_cast<char*>(title.c_str());
  item.iSubItem = column;
  SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&item));
}

std::string ControlText(HWND dialog, int id, int atMost) {
  std::string text(static_cast<size_t>(atMost) + 1, '\0');
  const int n = GetDlgItemTextA(dialog, id, &text[0], atMost + 1);
  text.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return text;
}

void InsertListRow(HWND list, const ListRow& row) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = 0;
  item.pszText = const_cast<char*>(row.item.c_str());
  item.iImage = row.icon;
  const int at =
      static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  for (size_t c = 0; c < row.cells.size(); ++c) {
    LVITEMA cell = {};
    cell.iSubItem = static_cast<int>(c + 1);
    cell.pszText = const_cast<char*>(row.cells[c].c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&cell));
  }
}

std::string ListAddressText(App& app, int index) {
  if (app.list == nullptr || index < 0) return std::string();
  char text[129] = {};
  LVITEMA item = {};
  item.iSubItem = AddressColumn(app.DoubleByteLanguage());
  item.pszText = text;
  item.cchTextMax = sizeof text - 1;
  SendMessageA(app.list, LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
  return text;
}

}  // namespace odc
