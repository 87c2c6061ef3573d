#pragma once
// The progress display of transfers. Its own behaviour, used when no dialog is attached, keeps the
// position and text and never reports a cancel.

#include <string>

class CZelProgressBar {
public:
  virtual ~CZelProgressBar() = default;
  // code: 1 "Now, getting data.", 2 "Now, synchronizing data."
  virtual void BeginCode(int range, int code, bool mayCancel) {
    m_range = range;
    m_code = code;
    m_position = 0;
    (void)mayCancel;
  }
  virtual void BeginText(int range, const std::string& text, bool mayCancel) {
    m_range = range;
    m_text = text;
    m_position = 0;
    (void)mayCancel;
  }
  virtual void End() {}
  virtual void SetPosition(int position) { m_position = position; }
  virtual void SetCode(int code) { m_code = code; }
  virtual void SetText(const std::string& text) { m_text = text; }
  virtual bool IsCancelled() { return false; }
  virtual void SetRange(int range) { m_range = range; }

  int GetPosition() const { return m_position; }
  int GetRange() const { return m_range; }
  const std::string& GetText() const { return m_text; }

protected:
  int m_range = 0;
  int m_position = 0;
  int m_code = 0;
  std::string m_text;
};
