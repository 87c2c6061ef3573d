#pragma once
// The pop-up editors laid over list cells: a common interface and the owner that hears from them.

#include <QRect>

class QEventLoop;
class QWidget;

namespace GP {

class IPopup;

// Receives a popup's notifications. Returning false refuses a spin step (NOTIFY_DELTAPOS); other codes ignore it.
class IPopupSink {
public:
  virtual ~IPopupSink() = default;
  virtual bool OnPopupNotify(IPopup& popup, int code, double value) = 0;
};

class IPopup {
public:
  enum Kind : int { KIND_EDIT = 0, KIND_COMBO = 1, KIND_SPIN = 2 };

  // Notification codes; RETURN carries 1 for Enter and 2 for Escape, DELTAPOS the spin difference.
  enum Notify : int {
    NOTIFY_CHANGE = 0x300,    // the user changed the text
    NOTIFY_SETFOCUS = 0x301,  // the popup took the focus
    NOTIFY_KILLFOCUS = 0x302, // the popup lost the focus
    NOTIFY_SELENDOK = 9,      // a choice was taken
    NOTIFY_RETURN = -4,
    NOTIFY_DELTAPOS = -722,
  };

  enum ModalResult : int { MODAL_ENTER = 1, MODAL_ESCAPE = 2 };

  IPopup(int kind, int ownerValue) : m_kind(kind), m_ownerValue(ownerValue) {}
  virtual ~IPopup() = default;
  IPopup(const IPopup&) = delete;
  IPopup& operator=(const IPopup&) = delete;

  virtual QWidget* GetWnd() = 0;
  // Runs the popup as an editor on its own over rect of parent until Enter (1) or Escape (2);
  // leaving it by moving the focus elsewhere counts as Escape.
  virtual int DoModal(const QRect& rect, QWidget* parent);

  virtual QString GetText() const = 0;
  // Shows a text without notifying anyone (used to mirror the popup being typed in).
  virtual void SetText(const QString& text) = 0;

  int GetKind() const { return m_kind; }
  const QRect& GetRect() const { return m_rect; }
  void SetRect(const QRect& rect) { m_rect = rect; }
  bool IsModified() const { return m_modified; }
  void SetModified(bool modified) { m_modified = modified; }
  int GetOwnerValue() const { return m_ownerValue; }
  // The control ID the owner knows this popup by (a list uses 100 + row).
  int GetId() const { return m_id; }
  void SetId(int id) { m_id = id; }
  void SetSink(IPopupSink* sink) { m_sink = sink; }
  IPopupSink* GetSink() const { return m_sink; }

protected:
  // Tells the sink, or ends DoModal on RETURN. Without a sink every step is accepted.
  bool Notify(int code, double value = 0.0);
  bool IsModal() const { return m_loop != nullptr; }
  // Called by the popups on losing the focus; ends DoModal when the focus went outside.
  void FocusLeft(QWidget* self);

private:
  int m_kind;
  QRect m_rect;
  bool m_modified = false;
  int m_ownerValue;
  int m_id = 0;
  IPopupSink* m_sink = nullptr;
  QEventLoop* m_loop = nullptr;
};

} // namespace GP
