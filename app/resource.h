#pragma once
// Command, template and control ids of the program, and the fixed texts they go with. The ids are the
// ones the settings and the window toolkit know, so they stay as they are.

enum : int {
  // Document templates and the main frame; menu, accelerators and icon share the id.
  IDR_MAINFRAME = 4096,
  IDR_MAINTYPE = 4097,    // the Main window
  IDR_LIBRARYTYPE = 4107, // library windows

  // Commands of the application object.
  ID_APP_ABOUT = 57664,
  ID_APP_EXIT = 57665,
  ID_SETUP_MIDI = 32855,
  ID_SETUP_FONT = 32854,
  ID_HELP_MANUAL = 32858,
  ID_SETUP_TARGET_MODEL = 32857,
  ID_SETUP_RESTORE_CONFIRMATIONS = 32891,
  ID_FILE_IMPORT_ZKL = 4127,
  ID_FILE_IMPORT_QZ3 = 4128,

  // File commands.
  ID_FILE_NEW = 57600,
  ID_FILE_OPEN = 57601,
  ID_FILE_CLOSE = 57602,
  ID_FILE_SAVE = 57603,
  ID_FILE_SAVE_AS = 57604,
  ID_FILE_MRU_FIRST = 57616, // recent files, up to 8
  ID_FILE_DUPLICATE = 32782,
  ID_FILE_IMPORT_SMF = 32861,
  ID_FILE_EXPORT_SMF_ALL = 32859,
  ID_FILE_EXPORT_SMF_SELECTED = 32860,
  ID_FILE_IMPORT_SYSEX = 32880,
  ID_FILE_EXPORT_SYSEX_ALL = 32881,
  ID_FILE_EXPORT_SYSEX_SELECTED = 32882,

  // List editing (library and Main views).
  ID_EDIT_UNDO = 57643,
  ID_EDIT_CUT = 57635,
  ID_EDIT_COPY = 57634,
  ID_EDIT_INSERT = 32779,
  ID_EDIT_REPLACE = 32780,
  ID_EDIT_DELETE = 57088,
  ID_EDIT_EXCHANGE = 32864,
  ID_EDIT_SELECT_ALL = 57642,
  ID_EDIT_FILTER = 32890, // into the filter box above the list
  ID_EDIT_COMPARE = 32883,
  ID_EDIT_SELECT_DUPLICATES = 32884,
  ID_SETUP_GRID = 32863,

  // Transfers (Main view).
  ID_MIDI_READ_ALL = 32784,
  ID_MIDI_READ_SELECTED = 32785,
  ID_MIDI_WRITE_ALL = 32797,
  ID_MIDI_WRITE_SELECTED = 32798,

  // Bars and windows.
  ID_VIEW_TOOLBAR = 59392,
  ID_VIEW_STATUS_BAR = 59393,
  ID_WINDOW_ARRANGE = 57649,
  ID_WINDOW_CASCADE = 57650,
  ID_WINDOW_TILE_HORZ = 57651,

  // Controls of the Main view.
  IDC_READ_ALL = 4267,
  IDC_READ_SELECTED = 4268,
  IDC_WRITE_ALL = 4269,
  IDC_WRITE_SELECTED = 4270,
  IDC_READ_GROUP = 4271,
  IDC_WRITE_GROUP = 4272,
  IDC_PATCH_LIST = 4130,

  // Dialogs.
  IDD_PROGRESS = 3075,
  IDD_MIDI_SETUP = 3077,
  IDD_ABOUT = 4102,
  IDD_SELECT_TARGET = 4138,
  IDD_MIDI_WARNING = 4139,
  IDD_SET_GRID = 4140,
  IDC_PROGRESS_TEXT = 4103,
  IDC_PROGRESS_BAR = 4108,
  IDC_TARGET_GROUP = 4258,
  IDC_TARGET_QZMAX = 4125,
  IDC_TARGET_QZ5 = 4126,
  IDC_GRID_GROUP = 4276,
  IDC_GRID_ON = 4277,
  IDC_GRID_OFF = 4278,
  IDC_ABOUT_DESCRIPTION = 4190,
  IDC_ABOUT_VERSION = 4127,
  IDC_ABOUT_COPYRIGHT = 4141,
  IDC_WARNING_TEXT = 4274,
  IDC_WARNING_CHECK = 4275,

  // Update hints of the views.
  HINT_FONT_CHANGED = 1,
};

// The application title: settings key, message box captions, main frame caption.
inline constexpr const char* kAppTitle = "QZ-MAX Librarian";
// The product model name and the library file extension, fixed whatever the target model.
inline constexpr const char* kProductModelName = "QZ-MAX";
inline constexpr const char* kLibraryExtension = ".qzl";
// The manual beside the program (string 3080).
inline constexpr const char* kManualPath = "Manual/QZ-MAXLibrarianManual_E.htm";
// Progress message codes 1 and 2 (strings 3079, 3087).
inline constexpr const char* kProgressGettingData = "Now, getting data.";
inline constexpr const char* kProgressSynchronizing = "Now, synchronizing data.";
