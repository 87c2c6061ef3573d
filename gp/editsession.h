#pragma once
// One in-place edit of a list: a pop-up editor over the edited column of every selected visible row.
//
// The popups mirror each other while the user types; Enter validates the value for every selected row and
// only then applies it to every selected row, through the list's cell operations. A number column edits
// relatively at first (a spin step adds to each row's own number) until a number is typed, which then
// goes to every row as it is. Only one edit is open in the whole program: opening one ends any other,
// and while one is open a click anywhere else ends it (a left click commits a changed value).

#include "gp/popup.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace GP {

class CEditListCtrl;

class CEditSession : public IPopupSink {
public:
  explicit CEditSession(CEditListCtrl& list);
  ~CEditSession() override;
  CEditSession(const CEditSession&) = delete;
  CEditSession& operator=(const CEditSession&) = delete;

  // Opens popups over column for the selected visible rows; row's popup (else the first) takes the
  // focus. The caller has checked that the cell can be edited. False when no selected row is visible.
  bool Begin(int row, int column);
  // Applies the value (commit) or not and closes the popups; false when a row refused the value, which
  // keeps the edit open, or when called from inside a commit.
  bool End(bool commit);
  // Closes the popups without applying anything; the list takes the focus when takeFocus is set.
  void Close(bool takeFocus);
  // The popups follow the column after a width change.
  void Relayout();

  bool IsOpen() const { return m_current != nullptr; }
  // Inside the commit's SetCellValue calls: a derived list that rebuilds then must not end the edit.
  bool IsCommitting() const { return m_committing; }
  IPopup* Current() const { return m_current; }
  IPopup* PopupAt(int row) const;
  int Column() const { return m_column; }
  QString Text() const { return m_text; }
  double Number() const { return m_number; }
  bool IsRelative() const { return m_relative; }

  // From the popups.
  void OnPopupChanged(IPopup& popup) override;
  void OnPopupChoiceTaken(IPopup& popup) override;
  void OnPopupReturn(IPopup& popup, bool enter) override;
  void OnPopupFocus(IPopup& popup, bool in) override;
  bool OnPopupSpin(IPopup& popup, double delta) override;

private:
  class CMouseHook;
  struct SOpenPopup {
    int row;
    IPopup* popup;
  };

  IPopup* MakePopup(int row, int column) const;
  // A button press on widget anywhere in the program; true to swallow it.
  bool HookMousePress(QWidget* widget, Qt::MouseButton button);
  IPopup* PopupOf(const QWidget* widget) const;
  bool IsOpenPopup(const IPopup& popup) const;
  void MakeCurrent(IPopup& popup);
  bool ValidateAll(const std::vector<int>& rows, bool relative, double number);
  QVariant RowValue(int row, bool relative, double number) const;

  CEditListCtrl& m_list;
  std::unique_ptr<CMouseHook> m_hook; // installed while the edit is open
  std::vector<SOpenPopup> m_open;     // ascending rows
  IPopup* m_current = nullptr;
  int m_column = -1;
  QString m_text;
  bool m_relative = false;
  double m_number = 0.0;
  bool m_committing = false;
};

} // namespace GP
