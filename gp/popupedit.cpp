#include "gp/popupedit.h"

#include <QValidator>

namespace GP {

namespace {

// Drops the characters the field cannot hold; the rest of an insertion stays.
class CCharacterFilter : public QValidator {
public:
  CCharacterFilter(bool (*accepts)(char32_t), QObject* parent) : QValidator(parent), m_accepts(accepts) {}

  State validate(QString& input, int& pos) const override {
    const QList<uint> characters = input.toUcs4();
    QString kept;
    int keptBeforeCursor = 0;
    int seen = 0; // UTF-16 units of input passed so far
    for (uint c : characters) {
      const int units = QChar::requiresSurrogates(c) ? 2 : 1;
      if (m_accepts(static_cast<char32_t>(c))) {
        kept.append(QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1));
        if (seen < pos)
          keptBeforeCursor += units;
      }
      seen += units;
    }
    if (kept != input) {
      input = kept;
      pos = keptBeforeCursor;
    }
    return Acceptable;
  }

private:
  bool (*m_accepts)(char32_t);
};

} // namespace

CPopupEdit::CPopupEdit(Qt::Alignment alignment, const QString& text, QWidget* parent)
    : CPopupWidget(KIND_EDIT, parent) {
  setText(text);
  setAlignment(alignment | Qt::AlignVCenter);
  setFrame(false);
  connect(this, &QLineEdit::textEdited, this, [this]() { Changed(); });
}

void CPopupEdit::SetLimits(int maxLength, bool (*accepts)(char32_t)) {
  // A longer text already there is cut to the field, as it will be stored.
  if (maxLength > 0)
    setMaxLength(maxLength);
  if (accepts)
    setValidator(new CCharacterFilter(accepts, this));
}

} // namespace GP
