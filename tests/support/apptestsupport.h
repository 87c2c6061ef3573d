#pragma once
// What the application's GUI tests share: settings in a temporary folder, message boxes and modal
// dialogs answered by the test, and an application started for one test and shut down after it.

#include "app/app.h"
#include "app/guiapplication.h"
#include "app/messagebox.h"

#include <QDialog>
#include <QObject>
#include <QPalette>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// The per-user settings in a fresh temporary folder for the whole test program.
class CTestSettings {
public:
  CTestSettings();
  bool IsValid() const { return m_dir.isValid(); }
  QString Path() const { return m_dir.path(); }
  // Forgets everything stored.
  static void Clear();
  // Before each test: forgets everything stored, and puts the application state's target model (QZ-MAX),
  // grid switch (off) and clipboard (empty) as a first start has them.
  static void Reset();

private:
  QTemporaryDir m_dir;
};

// Records every message box and answers it with the next queued answer (or the box's first button).
// Modal dialogs go to a handler; without one they are cancelled.
class CTestUi {
public:
  CTestUi();
  ~CTestUi();

  void Answer(QMessageBox::StandardButton button) { m_answers.append(button); }
  // A handler ends with return Accept(dialog) or Reject(dialog).
  void OnModal(std::function<int(QDialog&)> handler) { m_modal = std::move(handler); }

  QStringList m_texts;
  QList<QMessageBox::Icon> m_icons;
  QList<QMessageBox::StandardButtons> m_buttons;
  int m_modalCount = 0;

private:
  QList<QMessageBox::StandardButton> m_answers;
  std::function<int(QDialog&)> m_modal;
};

// The base of a test object: settings in a temporary folder for the whole program, put back as a first
// start has them before each test.
class CAppTestBase : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void init() { CTestSettings::Reset(); }

private:
  CTestSettings m_settings;
};

// Close a modal dialog from its handler, giving the handler's result.
int Accept(QDialog& dialog);
int Reject(QDialog& dialog);

// Options of a test start: only the built-in ports (with the simulated unit when asked), a
// single-instance key of this test program.
CAppOptions TestOptions(bool simulator = false);

// A dark desktop theme, as such themes colour windows and lists.
QPalette DarkPalette();

// Runs the event loop (so its idle work runs) for about ms milliseconds.
void RunEventLoop(int ms);
// Runs the event loop until done() holds or maxMs pass.
bool RunEventLoopUntil(const std::function<bool()>& done, int maxMs);

// Starts an application, and shuts it down at the end of the scope.
class CStartedApp {
public:
  explicit CStartedApp(const CAppOptions& options = TestOptions());
  ~CStartedApp();
  CApp& App() { return *m_app; }
  CApp* operator->() { return m_app.get(); }
  bool Started() const { return m_started; }
  // Shuts down now (settings saved).
  void Exit();

private:
  std::unique_ptr<CApp> m_app;
  bool m_started = false;
  bool m_exited = false;
};

// main() of a test program: the program's own Qt application object, then the test object.
#define QZ_APP_TEST_MAIN(TestClass)                                                                           \
  int main(int argc, char** argv) {                                                                           \
    CGuiApplication app(argc, argv);                                                                          \
    app.setQuitOnLastWindowClosed(false);                                                                     \
    TestClass test;                                                                                           \
    return QTest::qExec(&test, argc, argv);                                                                   \
  }
