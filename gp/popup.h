#pragma once
// The pop-up editors laid over list cells: a common interface, the owner that hears from them, and the
// key and focus handling all of them share.

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QRect>

#include <type_traits>

class QEventLoop;
class QWidget;

namespace GP {

class IPopup;

// Hears from the popups of an edit. While a popup runs on its own (DoModal) it tells no sink.
class IPopupSink {
public:
  virtual ~IPopupSink() = default;
  // The user changed the text.
  virtual void OnPopupChanged(IPopup& popup) = 0;
  // A choice was taken from the drop-down list.
  virtual void OnPopupChoiceTaken(IPopup& popup) = 0;
  // Enter (true) or Escape (false) was pressed.
  virtual void OnPopupReturn(IPopup& popup, bool enter) = 0;
  // The popup took (true) or lost (false) the focus.
  virtual void OnPopupFocus(IPopup& popup, bool in) = 0;
  // A spin step by delta; false refuses it.
  virtual bool OnPopupSpin(IPopup& popup, double delta) = 0;
};

class IPopup {
public:
  enum Kind : int { KIND_EDIT = 0, KIND_COMBO = 1, KIND_SPIN = 2 };
  enum ModalResult : int { MODAL_ENTER = 1, MODAL_ESCAPE = 2 };

  explicit IPopup(int kind) : m_kind(kind) {}
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
  bool IsModified() const { return m_modified; }
  void SetModified(bool modified) { m_modified = modified; }
  void SetSink(IPopupSink* sink) { m_sink = sink; }
  IPopupSink* GetSink() const { return m_sink; }

protected:
  // What the popups report: the user's change (it marks the popup modified) or choice, a spin step
  // (true when the sink allows it; without a sink every step is allowed), Enter or Escape (which ends
  // DoModal), and the focus coming in or going out (going elsewhere ends DoModal as Escape).
  void Changed();
  void ChoiceTaken();
  bool Spin(double delta);
  void Returned(bool enter);
  void FocusEntered();
  void FocusLeft(QWidget* self);
  bool IsModal() const { return m_loop != nullptr; }

private:
  int m_kind;
  bool m_modified = false;
  IPopupSink* m_sink = nullptr;
  QEventLoop* m_loop = nullptr;
};

// A popup made of a Qt widget: Enter and Escape end the edit, whatever the widget would do with them,
// and the focus moves are reported.
template <class TWidget> class CPopupWidget : public TWidget, public IPopup {
public:
  CPopupWidget(int kind, QWidget* parent) : TWidget(parent), IPopup(kind) {}

  QWidget* GetWnd() override { return this; }

protected:
  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      event->accept();
      Returned(event->key() != Qt::Key_Escape);
      return;
    default:
      TWidget::keyPressEvent(event);
    }
  }
  void focusInEvent(QFocusEvent* event) override {
    TWidget::focusInEvent(event);
    FocusEntered();
  }
  void focusOutEvent(QFocusEvent* event) override {
    TWidget::focusOutEvent(event);
    if constexpr (std::is_base_of_v<QComboBox, TWidget>)
      if (event->reason() == Qt::PopupFocusReason)
        return; // its own drop-down list took the focus
    FocusLeft(this);
  }
};

} // namespace GP
