#pragma once
// Command routing: a menu item, tool bar button, accelerator or view button sends a command id; the
// main frame offers it to the active view, its document, its child frame, then itself and the
// application (CMainFrame::RouteCommand). The same route decides at idle time whether the command is
// enabled: a command that nobody answers is shown disabled.

class CCmdUI {
public:
  explicit CCmdUI(int id) : m_id(id) {}
  int GetId() const { return m_id; }
  void Enable(bool enabled = true) {
    m_enabled = enabled;
    m_handled = true;
  }
  void SetCheck(bool checked) { m_checked = checked; }

  bool IsEnabled() const { return m_enabled; }
  bool IsChecked() const { return m_checked; }
  bool IsHandled() const { return m_handled; }

private:
  int m_id;
  bool m_enabled = false;
  bool m_checked = false;
  bool m_handled = false;
};

class CCmdTarget {
public:
  virtual ~CCmdTarget() = default;
  // Runs the command; false when this target does not handle it.
  virtual bool OnCommand(int id) {
    (void)id;
    return false;
  }
  // Fills in the command's state (Enable) when this target handles it; false otherwise.
  virtual bool OnUpdateCommand(CCmdUI& ui) {
    (void)ui;
    return false;
  }
};
