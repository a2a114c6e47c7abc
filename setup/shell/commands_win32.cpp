// The command handler of the main window: every menu item, toolbar button,
// accelerator and context-menu item, and the menu and toolbar update.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>

#include "setup/addressbook/address_text_import.h"
#include "setup/addressbook/contact_import.h"
#include "setup/addressbook/entry_dialog_rules.h"
#include "setup/addressbook/import_preview.h"
#include "setup/data/file_io.h"
#include "setup/print/print_win32.h"
#include "setup/res/resource.h"
#include "setup/settings/settings_win32.h"
#include "setup/shell/app_win32.h"
#include "setup/shell/help_target.h"

namespace odc {
namespace {

bool ChooseFile(App& app, std::string& path, FileDialogMode mode,
                UINT filter = IDS_DATA_FILE_FILTER) {
  UINT title = IDS_OPEN;
  if (mode == FileDialogMode::Save) title = IDS_SAVE;
  if (mode == FileDialogMode::SaveAs) title = IDS_SAVE_AS;
  return app.prompts->ChooseDataFile(app.main, path, mode, app.TextUtf8(title),
                                     app.TextUtf8(filter));
}

// What the views show of a freshly loaded data set.
void ShowLoadedDataSet(App& app, bool titleFromFile) {
  SelectTreeItem(app, 0);
  EnableWindow(app.tree, TRUE);
  EnableWindow(app.list, TRUE);
  SetTreeRootText(app);
  if (titleFromFile) {
    app.document.displayName = DisplayNameOf(app.document.filePath);
    SetWindowTitle(app);
  }
  RefreshConnectionStatus(app);
  LayoutMainWindow(app);
}

// After every unpack of a new data set (open, new, download).
void SetInchPaper(App& app) { app.inchPaper = UpdateInchPaperFlag(*app.data); }

void ReportFailedSave(App& app, const std::string& path) {
  app.MessageWithPath(IDS_SAVE_FAILED, path, MB_OK | MB_ICONEXCLAMATION);
}

// Open and Import could not use `path`: a file that cannot even be opened
// is named, so the user looks for the file and not at its content.
void ReportUnusableFile(App& app, const std::string& path) {
  if (FileCanBeOpened(path)) {
    app.Message(IDS_FILE_FORMAT_ERROR, MB_OK);
  } else {
    app.MessageWithPath(IDS_FILE_CANNOT_BE_OPENED, path, MB_OK | MB_ICONEXCLAMATION);
  }
}

// The default data set (DEFAULTFILE 253) of a module, or false.
bool DefaultDataSetOf(HMODULE module, const uint8_t*& bytes, size_t& size) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDR_DEFAULT_FILE), "DEFAULTFILE");
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const void* locked = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (locked == nullptr) return false;
  bytes = static_cast<const uint8_t*>(locked);
  size = SizeofResource(module, found);
  return true;
}

void OnNew(App& app) {
  // The resource module's default data set, read where it lies in memory;
  // else the program's own (NewDataSet falls back to the built-in one when
  // neither can be read).
  const uint8_t* bytes = nullptr;
  size_t size = 0;
  if (!DefaultDataSetOf(app.resources, bytes, size)) DefaultDataSetOf(app.instance, bytes, size);
  app.words.dataLoaded = NewDataSet(*app.data, app.document, bytes, size);
  SetInchPaper(app);
  UpdateMenuState(app);
  app.document.filePath = app.document.displayName = app.TextUtf8(IDS_DEFAULT_FILE_NAME);
  SetWindowTitle(app);
  if (app.words.dataLoaded != 0) {
    ShowLoadedDataSet(app, false);
    app.modified = true;
  }
}

void OnOpen(App& app) {
  std::string path = app.document.filePath;
  if (!ChooseFile(app, path, FileDialogMode::Open)) return;
  if (OpenDataSet(*app.data, app.document, path)) {
    app.words.dataLoaded = 1;
    SetInchPaper(app);
  } else {
    // The data set in memory is untouched and stays loaded: hiding it
    // would leave its unsaved changes beyond reach.
    ReportUnusableFile(app, path);
  }
  UpdateMenuState(app);
  if (app.words.dataLoaded != 0) {
    ShowLoadedDataSet(app, true);
    FillCurrentList(app);
  } else {
    LayoutMainWindow(app);
  }
}

// Save and Save As: true when the data set is now in a file.
bool SaveTo(App& app, FileDialogMode mode) {
  app.data->uploadPacking = false;
  std::string path = app.document.filePath;
  if (mode == FileDialogMode::SaveAs || NeedsFileName(app.document)) {
    if (!ChooseFile(app, path, mode)) return false;
  }
  if (!SaveDataSet(*app.data, app.document, path)) {
    ReportFailedSave(app, path);
    return false;
  }
  app.modified = false;
  SetWindowTitle(app);
  return true;
}

// The import of a text address book: the preview shows what Replace and Add
// would write and every problem; nothing changes until one of them is
// pressed. The preview stands in for the overwrite question. A file refused
// as a whole is reported with its reason and changes nothing either.
void ImportContacts(App& app, const std::vector<uint8_t>& bytes) {
  const ContactPlanner planner = [&app, &bytes](ImportMode mode, const ImportOptions& options,
                                                ContactImportPlan& plan) {
    return PlanContactImport(bytes.data(), bytes.size(), *app.data, mode, options, plan);
  };
  ContactImportPlan first;
  if (!planner(ImportMode::Replace, ImportOptions(), first)) {
    app.prompts->MessageUtf8(
        app.main, ContactRefusalMessage(first, *app.data, [&app](int id) { return app.Text(id); }),
        app.TextUtf8(IDS_APP_TITLE), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  ImportPreviewDialog preview(*app.data, planner);
  const int result = RunSettingsDialog(app, app.main, IDD_IMPORT_PREVIEW, preview);
  if (result != kPreviewReplace && result != kPreviewAdd) return;
  ApplyContactImportPlan(*app.data, preview.Chosen());
  app.document.dataOrigin = DataOriginAfterImport(preview.Chosen().format);
  if (app.words.dataLoaded != 0) {
    ShowLoadedDataSet(app, true);
    FillCurrentList(app);
  } else {
    LayoutMainWindow(app);
  }
  app.modified = true;
}

void OnImport(App& app) {
  if (!ChooseFile(app, app.importPath, FileDialogMode::Open, IDS_IMPORT_FILE_FILTER)) return;
  std::vector<uint8_t> bytes;
  if (ReadFileBytes(app.importPath, bytes) && ContactFileFormat(bytes.data(), bytes.size()) != 0) {
    ImportContacts(app, bytes);
    return;
  }
  // Settings data files and the two CMC formats: the confirmation, then the
  // whole dial tables.
  bool import = true;
  if (app.words.dataLoaded != 0) {
    import = app.Message(IDS_IMPORT_OVERWRITE_QUESTION, MB_YESNO) == IDYES;
  }
  if (import) {
    TextImportProblem problem;
    const int format = ImportAddressBookFile(*app.data, *app.imports, app.importPath, problem);
    app.document.dataOrigin = DataOriginAfterImport(format);
    if (format == 0 && problem.reasonId != 0) {
      app.Message(DescribeTextImportProblem(problem, [&app](int id) { return app.Text(id); }),
                  MB_OK | MB_ICONEXCLAMATION);
    } else if (format == 0) {
      ReportUnusableFile(app, app.importPath);
    }
  }
  if (app.words.dataLoaded != 0) {
    ShowLoadedDataSet(app, true);
    FillCurrentList(app);
  } else {
    LayoutMainWindow(app);
  }
  app.modified = true;
}

void OnConnect(App& app) {
  ConnectMachine(*app.link, app);
  app.words.connected = app.link->connected ? 1 : 0;
  UpdateMenuState(app);
  RefreshConnectionStatus(app);
}

void OnDisconnect(App& app) {
  DisconnectMachine(*app.link, app);
  app.words.connected = 0;
  UpdateMenuState(app);
  RefreshConnectionStatus(app);
}

void OnDownload(App& app) {
  if (!CheckMachineStatus(*app.link, app)) {
    SendMessageA(app.main, WM_COMMAND, ID_MACHINE_DISCONNECT, 0);
    return;
  }
  bool download = true;
  if (app.words.dataLoaded != 0) {
    download = app.Message(IDS_DOWNLOAD_OVERWRITE_QUESTION, MB_YESNO) == IDYES;
  }
  if (download) {
    // The transfer selects the tree's root, which makes the view 0: the
    // clean-up goes by the view the user chose Download in.
    const int view = app.words.view;
    app.normaliseAfterDownload = true;
    SendMessageA(app.main, WM_COMMAND, ID_DOWNLOAD_TRANSFER, 0);
    app.document.dataOrigin = kDataOriginDataSet;
    app.link->poll = true;
    FillCurrentList(app);
    if (view == 2 || view == 3) {
      // Groups may not keep members that the machine no longer has.
      for (int s = 0; s < kSpeedDialCount; ++s) {
        UnpackSpeedDial(app.scratch, *app.data, s);
        if (app.scratch.inUse == 0) {
          app.scratch.entryType = kEntrySpeedDial;
          app.scratch.index = static_cast<uint8_t>(s);
          RemoveFromGroups(app, app.scratch);
        } else if (app.scratch.combination != 0) {
          RemoveFromGroups(app, app.scratch);
        }
      }
      // The image must hold the cleaned groups too: whatever unpacks it
      // next (the Utility Setting sheet, a cancelled page) would otherwise
      // bring the removed members back, and Save or Upload write them.
      PackTransferImage(*app.data);
    }
  }
  SetStatusText(app, 1, app.Text(IDS_STATUS_READY));
  app.modified = true;
}

void OnDownloadTransfer(App& app) {
  const int loaded = ReceiveMachineData(*app.link, app, *app.data);
  if (loaded) {
    app.words.dataLoaded = 1;
    UnpackTransferImage(*app.data);
    SetInchPaper(app);
  }
  if (app.normaliseAfterDownload) {
    PackTransferImage(*app.data);
    UnpackTransferImage(*app.data);
    app.normaliseAfterDownload = false;
  }
  app.link->poll = true;
  SelectTreeItem(app, 0);
  UpdateMenuState(app);
  if (app.words.dataLoaded != 0) {
    EnableWindow(app.tree, TRUE);
    EnableWindow(app.list, TRUE);
    SetTreeRootText(app);
    RefreshConnectionStatus(app);
  }
  LayoutMainWindow(app);
}

void OnUpload(App& app, int command) {
  if (!CheckMachineStatus(*app.link, app)) {
    SendMessageA(app.main, WM_COMMAND, ID_MACHINE_DISCONNECT, 0);
    return;
  }
  bool upload = true;
  if (app.words.dataLoaded != 0) {
    upload = app.Message(IDS_UPLOAD_OVERWRITE_QUESTION, MB_YESNO) == IDYES;
  }
  if (upload && (command == ID_MACHINE_UPLOAD || app.words.view == 0)) {
    PackTransferImage(*app.data);
    if (!SetAllItems(*app.link, *app.data)) app.ShowLinkMessage(LinkMessage::MachineDataError);
    app.link->poll = true;
  }
  SetStatusText(app, 1, app.Text(IDS_STATUS_READY));
  UpdateMenuState(app);
}

void OnHelp(App& app) {
  const HelpTarget help = FindHelp(DirectoryOf(ModuleFileName(app.resources)), IsExistingFile);
  switch (help.kind) {
    case HelpKind::HelpFile:
      app.prompts->ShowHelpFile(app.main, help.path);
      break;
    case HelpKind::UserGuide:
      app.prompts->OpenDocument(app.main, help.path);
      break;
    case HelpKind::None:
      app.Message(IDS_HELP_NOT_INSTALLED, MB_OK | MB_ICONINFORMATION);
      break;
  }
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  App* app = g_app;
  switch (message) {
    case WM_INITDIALOG:
      if (app != nullptr) {
        SetWindowTextA(dialog, app->Text(IDS_ABOUT_CAPTION).c_str());
        SetDlgItemTextA(dialog, IDC_ABOUT_PRODUCT, app->Text(IDS_ABOUT_PRODUCT).c_str());
        SetDlgItemTextA(dialog, IDC_ABOUT_DESCRIPTION, app->Text(IDS_ABOUT_DESCRIPTION).c_str());
        SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, app->Text(IDS_ABOUT_VERSION).c_str());
        SetDlgItemTextA(dialog, IDC_ABOUT_NOTICE, app->Text(IDS_ABOUT_NOTICE).c_str());
      }
      SetFocus(GetDlgItem(dialog, IDOK));
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
  }
  return FALSE;
}

int ViewOfCommand(int command) { return command - ID_VIEW_ONE_TOUCH + 1; }

// The entry an editing command works on; false when there is none.
bool EditedEntry(const App& app, int& view, int& index) {
  view = app.words.view;
  index = app.words.selected;
  if (view < 1 || view > 3 || index < 0) return false;
  return index < (view == 2 ? kSpeedDialCount : kOneTouchCount);
}

void OnCopy(App& app) {
  int view, i;
  if (!EditedEntry(app, view, i)) return;
  DisplayRecord& record = app.clipboard[static_cast<size_t>(view - 1)];
  if (view == 1) UnpackOneTouch(record, *app.data, i);
  if (view == 2) UnpackSpeedDial(record, *app.data, i);
  if (view == 3) UnpackGroup(record, *app.data, i);
  app.clipboardSlots = {-1, -1, -1};
  app.clipboardSlots[static_cast<size_t>(view - 1)] = i;
}

void OnPaste(App& app) {
  int view, i;
  if (!EditedEntry(app, view, i)) return;
  if (app.clipboardSlots[static_cast<size_t>(view - 1)] == -1) return;
  app.pasteMarker = true;
  // The flags of the view's own table: in the Speed Dial view i runs to 239,
  // far beyond the One Touch table.
  const uint8_t targetFlags = EntryFlagsOf(*app.data, view, i);
  DisplayRecord& scratch = app.scratch;
  if (view == 1) {
    scratch.groupMarker = 0;
    scratch.entryType = (targetFlags & kFlagOneTouchEntry) ? kEntryOneTouch : kEntryOther;
    if ((targetFlags & kFlagGroup) && !(targetFlags & kFlagOneTouchEntry)) {
      scratch.entryType = kEntryGroup;
      scratch.groupMarker = 1;
    }
  } else if (view == 3) {
    UnpackGroup(scratch, *app.data, i);
  }
  if (!PasteAllowed(view, i, targetFlags, app.data->programKeyStates, scratch)) return;
  DisplayRecord& record = app.clipboard[static_cast<size_t>(view - 1)];
  SendMessageA(app.list, LVM_DELETEITEM, i, 0);
  if (view == 1) {
    PackOneTouch(*app.data, record, i);
    AddOneTouchRow(app, record, i);
  } else if (view == 2) {
    PackSpeedDial(*app.data, record, i);
    AddSpeedDialRow(app, record, i);
  } else {
    PackGroupMembers(*app.data, record, i);
    AddGroupRow(app, record, i);
  }
  if (view != 3) {
    RefreshForwardDestination(SettingBytes(*app.data, kForwardLocationId), view, i + 1, record);
  }
  SelectMainListRow(app, i);
  PackTransferImage(*app.data);
  app.modified = true;
}

void OnDelete(App& app) {
  int view, i;
  if (!EditedEntry(app, view, i)) return;
  DisplayRecord saved;
  if (view == 1) UnpackOneTouch(saved, *app.data, i);
  if (view == 2) UnpackSpeedDial(saved, *app.data, i);
  if (view == 3) UnpackGroup(saved, *app.data, i);
  SendMessageA(app.list, LVM_DELETEITEM, i, 0);
  std::memset(&app.scratch, 0, sizeof app.scratch);
  if (view == 1) {
    PackOneTouch(*app.data, app.scratch, i);
    AddOneTouchRow(app, app.scratch, i);
  } else if (view == 2) {
    PackSpeedDial(*app.data, app.scratch, i);
    AddSpeedDialRow(app, app.scratch, i);
  } else {
    PackGroup(*app.data, app.scratch, {}, {}, i);
    AddGroupRow(app, app.scratch, i);
  }
  RemoveFromGroups(app, saved);
  SelectMainListRow(app, i);
  PackTransferImage(*app.data);
  app.modified = true;
}

}  // namespace

void RefreshConnectionStatus(App& app) {
  if (app.panel == nullptr) return;
  const UINT id = IDS_CONNECT_STATUS_OFFLINE - (app.link->connected ? 1 : 0);
  SetDlgItemTextA(app.panel, IDC_CONNECT_STATUS_TEXT, app.Text(id).c_str());
}

void UpdateMenuState(App& app) {
  MenuInputs in;
  in.words = app.words;
  in.words.connected = app.link->connected ? 1 : 0;
  in.addressBookOnly = app.data->addressBookOnly;
  in.clipboardSlots = app.clipboardSlots;
  const int i = app.words.selected;
  in.selectedFlags = EntryFlagsOf(*app.data, app.words.view, i);
  if (app.words.view == 3) {
    in.selectionHasContent =
        app.memberList != nullptr && SendMessageA(app.memberList, LVM_GETITEMCOUNT, 0, 0) > 0;
  } else if (app.words.view != 0) {
    in.selectionHasContent = !ListAddressText(app, i).empty();
  }
  const MenuState state = ComputeMenuState(in);

  if (app.menu != nullptr) {
    for (size_t k = 0; k < kManagedMenuCommands.size(); ++k) {
      EnableMenuItem(app.menu, kManagedMenuCommands[k],
                     MF_BYCOMMAND | (state.menuEnabled[k] ? MF_ENABLED : MF_GRAYED));
    }
    DrawMenuBar(app.main);
  }
  if (app.toolbar != nullptr) {
    for (size_t k = 0; k < kManagedToolbarCommands.size(); ++k) {
      SendMessageA(app.toolbar, TB_ENABLEBUTTON, kManagedToolbarCommands[k],
                   MAKELONG(state.toolbarEnabled[k] ? TRUE : FALSE, 0));
    }
  }
  if (state.panelTextId != 0 && app.panel != nullptr) {
    SetDlgItemTextA(app.panel, IDC_CONNECT_STATUS_TEXT, app.Text(state.panelTextId).c_str());
  }
  if (state.enableTreeAndList) {
    EnableWindow(app.tree, TRUE);
    EnableWindow(app.list, TRUE);
  }
  auto apply = [](HWND window, Visibility v) {
    if (window == nullptr || v == Visibility::Unchanged) return;
    ShowWindow(window, v == Visibility::Show ? SW_SHOW : SW_HIDE);
  };
  apply(app.list, state.mainList);
  apply(app.memberList, state.memberList);
  apply(app.tree, state.tree);
  apply(app.panel, state.panel);
  LayoutMainWindow(app);
}

void RemoveFromGroups(App& app, DisplayRecord removed) {
  for (int key : RemoveFromGroupDials(*app.data, removed)) {
    // The emptied key's row, where the main list shows the One Touch keys.
    if (app.words.view != 1 && app.words.view != 3) continue;
    DisplayRecord emptied{};
    SendMessageA(app.list, LVM_DELETEITEM, key, 0);
    if (app.words.view == 1) {
      AddOneTouchRow(app, emptied, key);
    } else {
      AddGroupRow(app, emptied, key);
    }
  }
}

LRESULT HandleCommand(HWND window, WPARAM wParam) {
  App* appPointer = g_app;
  if (appPointer == nullptr) return 0;
  App& app = *appPointer;
  const int command = LOWORD(wParam);
  switch (command) {
    case ID_FILE_NEW:
      OnNew(app);
      break;
    case ID_FILE_OPEN:
      OnOpen(app);
      break;
    case ID_FILE_SAVE:
      SaveTo(app, FileDialogMode::Save);
      break;
    case ID_FILE_SAVE_AS:
      SaveTo(app, FileDialogMode::SaveAs);
      break;
    case ID_FILE_IMPORT:
      OnImport(app);
      break;
    case ID_FILE_PRINT:
      // The menu item is grey without a data set; Ctrl+P must not get past it.
      if (app.words.dataLoaded != 0) RunPrintCommand(app);
      break;
    case ID_FILE_EXIT:
      CloseMainWindow(app);
      break;
    case ID_VIEW_ONE_TOUCH:
    case ID_VIEW_SPEED_DIAL:
    case ID_VIEW_GROUP:
      SelectTreeItem(app, ViewOfCommand(command));
      break;
    case ID_MACHINE_CONNECT:
      OnConnect(app);
      break;
    case ID_MACHINE_DISCONNECT:
      OnDisconnect(app);
      break;
    case ID_MACHINE_DOWNLOAD:
    case ID_TREEROOT_DOWNLOAD:
      OnDownload(app);
      break;
    case ID_DOWNLOAD_TRANSFER:
      OnDownloadTransfer(app);
      break;
    case ID_MACHINE_UPLOAD:
    case ID_TREEROOT_UPLOAD:
      OnUpload(app, command);
      break;
    case ID_HELP_TOPICS:
      OnHelp(app);
      break;
    case ID_HELP_ABOUT:
      DialogBoxParamA(app.resources, MAKEINTRESOURCEA(IDD_ABOUT), window, AboutProc, 0);
      break;
    case ID_INDICATOR_CAPS:
    case ID_INDICATOR_NUM:
    case ID_INDICATOR_SCRL:
      RefreshLockIndicators(app, command);
      break;
    case ID_ENTRY_PROPERTY:
      OpenSelectedEntry(app);
      SetFocus(app.list);
      break;
    case ID_EDIT_COPY:
      OnCopy(app);
      UpdateMenuState(app);
      break;
    case ID_EDIT_CUT:
      SendMessageA(window, WM_COMMAND, ID_EDIT_COPY, 0);
      SendMessageA(window, WM_COMMAND, ID_EDIT_DELETE, 0);
      break;
    case ID_EDIT_PASTE:
      OnPaste(app);
      UpdateMenuState(app);
      break;
    case ID_EDIT_DELETE:
      OnDelete(app);
      UpdateMenuState(app);
      break;
    case ID_MACHINE_UTILITY_SETTING:
      OnUtilitySetting(app);
      break;
    case ID_MACHINE_ADMIN_MANAGEMENT:
      OnAdminManagement(app);
      break;
    case ID_MACHINE_TOTAL_COUNTER:
      OnTotalCounter(app);
      break;
    case ID_MACHINE_CONFIGURATION:
      OnConfiguration(app);
      break;
    default:
      // Print arrives with printing.
      break;
  }
  return 0;
}

}  // namespace odc
