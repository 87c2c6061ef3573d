#pragma once
// A child frame that can stretch to the frame's full height or width and remember a position of its own:
// every kind of child (its slot number) has the entry "Window"/"Position<slot>" as x,y,width,height.

#include <QMdiSubWindow>

namespace GP {

class CMDIChildWndEx : public QMdiSubWindow {
  Q_OBJECT
public:
  // How children are placed when they open: where the area puts them, or at the position stored for
  // their slot (the application switches to that once its settings are loaded).
  enum class EPositionMode : int {
    Default = 0,
    Saved = 2,
  };

  explicit CMDIChildWndEx(int slot, QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

  int GetSlot() const { return m_slot; }

  // The title shown in window lists: the window title with its "[*]" resolved.
  virtual QString GetWindowTitle() const;
  // True while the toolkit's position mode is EPositionMode::Saved.
  virtual bool UsesSavedPosition() const;
  // No window of this program stays on top.
  virtual bool CanStayOnTop() const { return false; }

  static void SetPositionMode(EPositionMode mode);
  static EPositionMode GetPositionMode();

  // Maximize Height / Width / both: only while the child is neither minimised nor maximised.
  bool CanMaximizeSize() const;
  void MaximizeHeight();
  void MaximizeWidth();
  void MaximizeBoth();
  // Save Current Position: the normal rectangle to "Window"/"Position<slot>".
  void SaveCurrentPosition();
  // Takes the stored position and size when UsesSavedPosition(); true when something was applied.
  bool ApplySavedPosition();

  // The rectangle the child has when neither minimised nor maximised.
  QRect GetNormalRect() const;
  // Height of a minimised child in the area: the strip Maximize Height leaves free for them.
  static int MinimizedHeight(const QMdiSubWindow* child);
  static QString PositionEntry(int slot);

protected:
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  void Stretch(bool height, bool width);

  int m_slot;
  bool m_stayOnTop = false;
  QRect m_normalRect;
};

} // namespace GP
