// The MDI frame and child windows: position memory, stretching children, the window list and Ctrl+G.

#include "gp/mdichildwndex.h"
#include "gp/mdiframewndex.h"
#include "platform/qtsettings.h"
#include "testprofile.h"

#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QtTest>

#include <memory>

using GP::CMDIChildWndEx;
using GP::CMDIFrameWndEx;

class CMdiTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QVERIFY(m_profile.IsValid()); }
  void init() {
    CTestProfile::Clear();
    CMDIChildWndEx::SetPositionMode(CMDIChildWndEx::EPositionMode::Default);
  }

  void firstStartOpensAtDefaultRectangle();
  void frameReopensWhereItWasClosed();
  void frameReopensMaximizedAndRestoresItsNormalRectangle();
  void malformedPositionKeepsUnparsedFields();
  void closeStoresBarsAndVersion();
  void maximizeHeightLeavesRoomForMinimizedWindows();
  void childCommandsOnlyForNormalChildren();
  void childReopensAtSavedPosition();
  void windowListShowsAtMost36Children();
  void windowListActivatesAndRestores();

private:
  static CMDIChildWndEx* AddChild(CMDIFrameWndEx& frame, int slot, const QString& title) {
    auto* child = new CMDIChildWndEx(slot);
    child->setWidget(new QWidget);
    child->setWindowTitle(title);
    frame.AddChild(child);
    child->show();
    return child;
  }

  CTestProfile m_profile;
};

void CMdiTest::firstStartOpensAtDefaultRectangle() {
  CMDIFrameWndEx frame;
  frame.show();
  QVERIFY(QTest::qWaitForWindowExposed(&frame));
  // Three quarters of the screen's area, centred.
  const QRect available = frame.screen()->availableGeometry();
  QCOMPARE(frame.pos(), CMDIFrameWndEx::FirstStartRect(available).topLeft());
  QCOMPARE(frame.size(), CMDIFrameWndEx::FirstStartRect(available).size());
  QVERIFY(!frame.isMaximized());
  const QRect rect(frame.pos(), frame.size());
  QVERIFY(available.contains(rect));
  QVERIFY(qAbs(rect.center().x() - available.center().x()) <= 1);
  QVERIFY(qAbs(rect.center().y() - available.center().y()) <= 1);
  const double share = double(rect.width()) * rect.height() / (double(available.width()) * available.height());
  QVERIFY2(share > 0.70 && share < 0.80, qPrintable(QString::number(share)));
  // On a screen of 1280x900 below a panel.
  QCOMPARE(CMDIFrameWndEx::FirstStartRect(QRect(0, 30, 1280, 870)), QRect(86, 88, 1108, 753));
}

void CMdiTest::frameReopensWhereItWasClosed() {
  {
    CMDIFrameWndEx frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.move(30, 40);
    frame.resize(500, 300);
    QTRY_COMPARE(frame.pos(), QPoint(30, 40));
    frame.close();
  }
  QCOMPARE(QZP::CQtSettings().String(QStringLiteral("Window"), QStringLiteral("Position")), QStringLiteral("30,40,530,340"));
  QCOMPARE(QZP::CQtSettings().Int(QStringLiteral("Window"), QStringLiteral("Maximized"), -1), 0);
  CMDIFrameWndEx frame;
  frame.show();
  QVERIFY(QTest::qWaitForWindowExposed(&frame));
  QCOMPARE(frame.pos(), QPoint(30, 40));
  QCOMPARE(frame.size(), QSize(500, 300));
}

void CMdiTest::frameReopensMaximizedAndRestoresItsNormalRectangle() {
  {
    CMDIFrameWndEx frame;
    frame.move(20, 30);
    frame.resize(400, 300);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.showMaximized();
    QTRY_VERIFY(frame.isMaximized());
    frame.close();
  }
  QCOMPARE(QZP::CQtSettings().Int(QStringLiteral("Window"), QStringLiteral("Maximized")), 1);
  QCOMPARE(QZP::CQtSettings().String(QStringLiteral("Window"), QStringLiteral("Position")), QStringLiteral("20,30,420,330"));
  CMDIFrameWndEx frame;
  frame.show();
  QVERIFY(QTest::qWaitForWindowExposed(&frame));
  QTRY_VERIFY(frame.isMaximized());
  frame.showNormal();
  QTRY_COMPARE(frame.pos(), QPoint(20, 30));
  QCOMPARE(frame.size(), QSize(400, 300));
}

void CMdiTest::malformedPositionKeepsUnparsedFields() {
  QZP::CQtSettings().SetString(QStringLiteral("Window"), QStringLiteral("Position"), QStringLiteral("10,20,x,7"));
  CMDIFrameWndEx frame;
  QCOMPARE(frame.pos(), QPoint(10, 20));
  QVERIFY(frame.width() > 0 && frame.height() > 0);
  // Far off every screen the frame comes back within reach.
  QZP::CQtSettings().SetString(QStringLiteral("Window"), QStringLiteral("Position"),
                         QStringLiteral("90000,90000,90600,90400"));
  CMDIFrameWndEx lost;
  QCOMPARE(lost.size(), QSize(600, 400));
  QVERIFY(lost.screen()->availableGeometry().intersects(QRect(lost.pos(), lost.size())));
}

void CMdiTest::closeStoresBarsAndVersion() {
  QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3"));
  {
    CMDIFrameWndEx frame;
    QToolBar* bar = frame.addToolBar(QStringLiteral("Tool Bar"));
    bar->setObjectName(QStringLiteral("ToolBar"));
    frame.show();
    bar->hide();
    frame.close();
  }
  QCOMPARE(QZP::CQtSettings().String(QStringLiteral("Version"), QStringLiteral("FileVersion")), QStringLiteral("1.2.3"));
  CMDIFrameWndEx frame;
  QToolBar* bar = frame.addToolBar(QStringLiteral("Tool Bar"));
  bar->setObjectName(QStringLiteral("ToolBar"));
  frame.LoadBarState();
  frame.show();
  QVERIFY(!bar->isVisible());
}

void CMdiTest::maximizeHeightLeavesRoomForMinimizedWindows() {
  CMDIFrameWndEx frame;
  frame.show();
  QVERIFY(QTest::qWaitForWindowExposed(&frame));
  CMDIChildWndEx* child = AddChild(frame, 4107, QStringLiteral("Library"));
  child->setGeometry(10, 15, 200, 100);
  CMDIChildWndEx* other = AddChild(frame, 4107, QStringLiteral("Other"));
  other->showMinimized();
  QTRY_VERIFY(other->isMinimized());
  QCOMPARE(CMDIChildWndEx::MinimizedHeight(child), other->height());

  const QRect client = frame.GetMdiArea()->viewport()->rect();
  child->MaximizeHeight();
  QCOMPARE(child->geometry(), QRect(10, 0, 200, client.height() - other->height()));
  child->setGeometry(10, 15, 200, 100);
  child->MaximizeWidth();
  QCOMPARE(child->geometry(), QRect(0, 15, client.width(), 100));
  child->MaximizeBoth();
  QCOMPARE(child->geometry(), QRect(0, 0, client.width(), client.height() - other->height()));
}

void CMdiTest::childCommandsOnlyForNormalChildren() {
  CMDIFrameWndEx frame;
  frame.show();
  QVERIFY(QTest::qWaitForWindowExposed(&frame));
  QVERIFY(!frame.GetMaximizeHeightAction()->isEnabled());
  CMDIChildWndEx* child = AddChild(frame, 1, QStringLiteral("A"));
  frame.GetMdiArea()->setActiveSubWindow(child);
  frame.UpdateChildActions();
  QVERIFY(frame.GetMaximizeHeightAction()->isEnabled());
  QVERIFY(frame.GetSavePositionAction()->isEnabled());
  child->showMaximized();
  frame.UpdateChildActions();
  QVERIFY(!frame.GetMaximizeWidthAction()->isEnabled());
  const QRect maximized = child->geometry();
  frame.GetMaximizeHeightAction()->trigger(); // refused while maximised
  QCOMPARE(child->geometry(), maximized);
  child->showMinimized();
  frame.UpdateChildActions();
  QVERIFY(!frame.GetMaximizeBothAction()->isEnabled());
  QVERIFY(!child->CanStayOnTop());
}

void CMdiTest::childReopensAtSavedPosition() {
  CMDIFrameWndEx frame;
  frame.resize(800, 600);
  frame.show();
  QVERIFY(QTest::qWaitForWindowExposed(&frame));
  CMDIChildWndEx* child = AddChild(frame, 4097, QStringLiteral("Main"));
  child->setGeometry(30, 40, 300, 200);
  child->showMaximized();
  frame.GetMdiArea()->setActiveSubWindow(child);
  frame.GetSavePositionAction()->trigger(); // the normal rectangle, not the maximised one
  QCOMPARE(QZP::CQtSettings().String(QStringLiteral("Window"), QStringLiteral("Position4097")),
           QStringLiteral("30,40,300,200"));
  child->showNormal(); // a maximised active child would open the next ones maximised too

  // Position memory off: the area places the child itself.
  CMDIChildWndEx* unplaced = AddChild(frame, 4097, QStringLiteral("Second"));
  QVERIFY(unplaced->geometry() != QRect(30, 40, 300, 200));

  CMDIChildWndEx::SetPositionMode(CMDIChildWndEx::EPositionMode::Saved);
  CMDIChildWndEx* placed = AddChild(frame, 4097, QStringLiteral("Third"));
  QCOMPARE(placed->geometry(), QRect(30, 40, 300, 200));
  CMDIChildWndEx* otherKind = AddChild(frame, 4107, QStringLiteral("Library"));
  QVERIFY(otherKind->geometry() != QRect(30, 40, 300, 200));

  // A child added before the frame shows is placed once the area appears.
  CMDIFrameWndEx hidden;
  hidden.resize(800, 600);
  auto* early = new CMDIChildWndEx(4097);
  early->setWidget(new QWidget);
  hidden.AddChild(early);
  hidden.show();
  QVERIFY(QTest::qWaitForWindowExposed(&hidden));
  QTRY_COMPARE(early->geometry(), QRect(30, 40, 300, 200));
}

void CMdiTest::windowListShowsAtMost36Children() {
  CMDIFrameWndEx frame;
  QMenu* windowMenu = frame.menuBar()->addMenu(QStringLiteral("Window"));
  windowMenu->addAction(QStringLiteral("Cascade"));
  QAction* moveToTop = windowMenu->addAction(QStringLiteral("Move to Top"));
  windowMenu->addAction(QStringLiteral("Arrange Icons"));
  frame.SetWindowMenu(windowMenu, moveToTop);
  QCOMPARE(frame.GetMoveToTopPosition(), 1);
  QCOMPARE(windowMenu->actions().at(1)->menu(), frame.GetWindowListMenu());
  QCOMPARE(frame.GetWindowListMenu()->title(), QStringLiteral("Move to Top"));
  frame.show();
  QVERIFY(QTest::qWaitForWindowExposed(&frame));

  std::vector<CMDIChildWndEx*> children;
  for (int i = 0; i < 40; ++i)
    children.push_back(AddChild(frame, 4107, QStringLiteral("Lib&%1").arg(i)));
  frame.GetMdiArea()->setActiveSubWindow(children[12]);
  frame.RebuildWindowList();
  const QList<QAction*> items = frame.GetWindowListMenu()->actions();
  QCOMPARE(items.size(), 36);
  QCOMPARE(items.first()->text(), QStringLiteral("&0\tLib&&0"));
  QCOMPARE(items.at(10)->text(), QStringLiteral("&A\tLib&&10"));
  QCOMPARE(items.last()->text(), QStringLiteral("&Z\tLib&&35"));
  for (int i = 0; i < items.size(); ++i)
    QCOMPARE(items.at(i)->isChecked(), i == 12);

  // Ctrl+G pops the list up.
  QTest::keyClick(&frame, Qt::Key_G, Qt::ControlModifier);
  QTRY_VERIFY(frame.GetWindowListMenu()->isVisible());
  frame.GetWindowListMenu()->hide();
}

void CMdiTest::windowListActivatesAndRestores() {
  CMDIFrameWndEx frame;
  frame.show();
  QVERIFY(QTest::qWaitForWindowExposed(&frame));
  CMDIChildWndEx* first = AddChild(frame, 1, QStringLiteral("First[*]"));
  first->setWindowModified(true);
  CMDIChildWndEx* second = AddChild(frame, 1, QStringLiteral("Second"));
  frame.GetMdiArea()->setActiveSubWindow(second);
  first->showMinimized();
  QTRY_VERIFY(first->isMinimized());
  frame.RebuildWindowList();
  QCOMPARE(frame.GetWindowListMenu()->actions().at(0)->text(), QStringLiteral("&0\tFirst*"));
  frame.GetWindowListMenu()->actions().at(0)->trigger();
  QTRY_VERIFY(!first->isMinimized());
  QCOMPARE(frame.GetMdiArea()->activeSubWindow(), first);
  QCOMPARE(CMDIFrameWndEx::WindowListLabel(35), QStringLiteral("&Z"));
  QCOMPARE(CMDIFrameWndEx::WindowListLabel(36), QString());
}

QTEST_MAIN(CMdiTest)
#include "mdi_test.moc"
