#include "app/textoutbox.h"

#include "app/messagebox.h"
#include "model/appstate.h"

#include <QApplication>

QString CTextOutBox::ErrorText(ETextOutError code) {
  if (code < TEXTOUT_ERR_LOAD || code > TEXTOUT_ERR_FILE_TYPE)
    return QStringLiteral("Undefined error.");
  QString text = QString::fromLatin1(TextOutErrorMessage(code));
  if (code == TEXTOUT_ERR_NO_ANSWER)
    text.replace(QStringLiteral("%s"), QString::fromLatin1(QZML::CAppState::Instance().GetModelName()));
  return text;
}

void CTextOutBox::Error(ETextOutError code) {
  AppMessageBox(QApplication::activeWindow(), QMessageBox::Warning, ErrorText(code));
}

void CTextOutBox::ErrorDetail(ETextOutError code, const std::string& detail) {
  AppMessageBox(QApplication::activeWindow(), QMessageBox::Warning,
                ErrorText(code) + QStringLiteral("\n\n") + QString::fromStdString(detail));
}

EAnswer CTextOutBox::Ask(EAskKind kind, EQuestion code, int reserved) {
  (void)reserved;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  switch (kind) {
  case ASK_OK_CANCEL:
    buttons = QMessageBox::Ok | QMessageBox::Cancel;
    break;
  case ASK_YES_NO:
    buttons = QMessageBox::Yes | QMessageBox::No;
    break;
  case ASK_YES_NO_CANCEL:
    buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    break;
  default:
    break;
  }
  const QString text = QString::fromLatin1(TextOutQuestionMessage(code));
  switch (AppMessageBox(QApplication::activeWindow(), QMessageBox::Question, text, buttons)) {
  case QMessageBox::Ok:
    return ANSWER_OK;
  case QMessageBox::Yes:
    return ANSWER_YES;
  case QMessageBox::No:
    return ANSWER_NO;
  default:
    return ANSWER_CANCEL;
  }
}
