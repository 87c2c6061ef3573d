#include "apptestsupport.h"

#include "model/appstate.h"
#include "platform/qtsettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

CTestSettings::CTestSettings() {
  QStandardPaths::setTestModeEnabled(true);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
}

void CTestSettings::Clear() {
  QZP::CQtSettings settings;
  settings.Clear();
  settings.Sync();
  // The simulated unit's memory from earlier tests too.
  QDir folder(settings.Folder());
  for (const QString& file : folder.entryList({QStringLiteral("simulator-*.qzl")}, QDir::Files))
    folder.remove(file);
}

void CAppTestBase::initTestCase() { QVERIFY(m_settings.IsValid()); }

int Accept(QDialog& dialog) {
  dialog.accept();
  return QDialog::Accepted;
}

int Reject(QDialog& dialog) {
  dialog.reject();
  return QDialog::Rejected;
}

void CTestSettings::Reset() {
  Clear();
  QZML::CAppState& state = QZML::CAppState::Instance();
  state.SetTargetModelQuiet(QZML::MODEL_QZMAX);
  state.SetGridSwitch(0);
  state.GetClipboard().m_patches.Clear();
  state.GetClipboard().m_model = QZML::kModelOfTarget;
}

CTestUi::CTestUi() {
  SetMessageBoxHook([this](const CMessageBoxRequest& request) {
    m_texts.append(request.text);
    m_icons.append(request.icon);
    m_buttons.append(request.buttons);
    if (!m_answers.isEmpty())
      return m_answers.takeFirst();
    for (QMessageBox::StandardButton button : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
      if (request.buttons & button)
        return button;
    return QMessageBox::NoButton;
  });
  SetModalHook([this](QDialog& dialog) {
    ++m_modalCount;
    if (m_modal)
      return m_modal(dialog);
    dialog.reject();
    return int(QDialog::Rejected);
  });
}

CTestUi::~CTestUi() {
  SetMessageBoxHook(nullptr);
  SetModalHook(nullptr);
}

CAppOptions TestOptions(bool simulator) {
  CAppOptions options;
  options.realMidi = false;
  options.simulator = simulator;
  options.instanceKey = QStringLiteral("qzmax-librarian-test-%1").arg(QCoreApplication::applicationPid());
  return options;
}

QPalette DarkPalette() {
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
  dark.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
  dark.setColor(QPalette::Base, QColor(0x23, 0x23, 0x23));
  dark.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
  dark.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
  dark.setColor(QPalette::Button, QColor(0x40, 0x40, 0x40));
  dark.setColor(QPalette::ButtonText, QColor(0xe8, 0xe8, 0xe8));
  dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
  dark.setColor(QPalette::HighlightedText, Qt::white);
  dark.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
  dark.setColor(QPalette::Mid, QColor(0x30, 0x30, 0x30));
  dark.setColor(QPalette::Dark, QColor(0x20, 0x20, 0x20));
  dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
  dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
  dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
  return dark;
}

void RunEventLoop(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

bool RunEventLoopUntil(const std::function<bool()>& done, int maxMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > maxMs)
      return false;
    RunEventLoop(10);
  }
  return true;
}

CStartedApp::CStartedApp(const CAppOptions& options) : m_app(std::make_unique<CApp>(options)) {
  m_started = m_app->InitInstance();
}

CStartedApp::~CStartedApp() { Exit(); }

void CStartedApp::Exit() {
  if (m_exited)
    return;
  m_exited = true;
  m_app->ExitInstance();
  m_app.reset();
}
