#include "screenshots.h"

#include "apptestsupport.h"

#include "app/progressbar.h"
#include "platform/clock.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <cstdio>

void ShowReadProgress(CProgressBar* progress, const std::function<void()>& during) {
  QZP::CFakeClock clock;
  progress->SetClock(&clock);
  progress->BeginPatches(200, CZelProgressBar::WORK_READ, true);
  clock.Advance(56 * 600);
  progress->SetPosition(57);
  progress->SetText("User Patch 57: PATCH FX1");
  progress->Refresh();
  during();
  progress->End();
  progress->SetClock(nullptr);
}

void CScreenshots::SetFolder(const QString& folder) {
  m_folder = folder;
  QDir().mkpath(folder);
}

void CScreenshots::Settle() const {
  for (int i = 0; i < m_settleRounds; ++i)
    RunEventLoop(40);
}

void CScreenshots::Save(QWidget* widget, const QString& name) {
  Settle();
  const QString path = QDir(m_folder).filePath(name + QStringLiteral(".png"));
  const QRect area = widget->frameGeometry().adjusted(-m_margin, -m_margin, m_margin, m_margin);
  QPixmap shot = widget->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  if (shot.isNull())
    shot = widget->grab();
  if (!shot.save(path)) {
    std::fprintf(stderr, "%s: %s could not be saved\n", qPrintable(QCoreApplication::applicationName()),
                 qPrintable(path));
    ++m_failures;
    return;
  }
  std::printf("%s\n", qPrintable(path));
}

void CScreenshots::SaveDialog(QDialog& dialog, const QString& name) {
  dialog.show();
  dialog.raise();
  Save(&dialog, name);
  dialog.reject();
}
