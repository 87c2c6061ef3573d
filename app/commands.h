#pragma once
// The program's commands, each declared once: a row in the table of the object that carries it out
// (the application, the main frame, the list views, the library view, the Main view). A row holds the
// id, the menu text, the shortcut, the status tip, where it sits in the menus and on the tool bar (the
// picture is ToolIcon(id)), the handler and the enabling rule. The main frame makes one action per row
// and builds its menus, tool bar and accelerators from the rows; triggering the action runs the handler
// on its owner, and the action is enabled while the owner exists (for the views: is the active view)
// and the rule holds.
//
// Adding a command: one row in the owner's table plus its handler, e.g. in CImageView's table
//   {{ID_MIDI_COMPARE, "&Compare", 0, "Compare the Main window with the unit", EMenu::Midi, 30},
//    [](CImageView& v) { v.OnCompare(); }, [](const CImageView& v) { return v.HasSelection(); }},
// and a new id in app/resource.h.

#include <QKeySequence>

#include <vector>

// The menus of the full menu bar, left to right (ExportSmf and ExportSysEx are the File menu's submenus).
enum class EMenu : unsigned char { None, File, ExportSmf, ExportSysEx, Edit, View, Midi, Setup, Window, Help };

struct CCommandInfo {
  int id;
  const char* text; // menu text with its mnemonic
  int key;          // shortcut as QKeySequence takes it; 0 for none
  const char* tip;  // status bar prompt
  EMenu menu;
  int slot;         // order in the menu; a change of the tens digit puts a separator between
  int tool = 0;     // order on the tool bar, grouped as slot; 0: not there
  bool bare = false; // also in the short menu shown while no child window is open
};

template <class Owner>
struct CCommand : CCommandInfo {
  void (*run)(Owner&);
  bool (*enabled)(const Owner&) = nullptr; // null: always while the owner exists
  bool (*checked)(const Owner&) = nullptr; // non-null: a check item showing this
};

template <class Owner>
using CCommandTable = std::vector<CCommand<Owner>>;

constexpr int Ctrl(Qt::Key key) { return (Qt::CTRL | key).toCombined(); }

// The row of id in table, or null.
template <class Owner>
const CCommand<Owner>* FindCommand(const CCommandTable<Owner>& table, int id) {
  for (const CCommand<Owner>& row : table)
    if (row.id == id)
      return &row;
  return nullptr;
}

// Whether the row's rule holds for owner.
template <class Owner>
bool IsEnabled(const CCommand<Owner>& row, const Owner& owner) {
  return !row.enabled || row.enabled(owner);
}

// Runs the row's handler when its rule holds; false when table has no row for id.
template <class Owner>
bool RunCommand(const CCommandTable<Owner>& table, Owner& owner, int id) {
  const CCommand<Owner>* row = FindCommand(table, id);
  if (!row)
    return false;
  if (IsEnabled(*row, owner))
    row->run(owner);
  return true;
}
