// The dialogs, the progress display and the message-box output.

#include "apptestsupport.h"

#include "app/aboutdialog.h"
#include "app/appmidi.h"
#include "app/mainframe.h"
#include "app/midisetupdialog.h"
#include "app/midiwarningdlg.h"
#include "app/progressbar.h"
#include "app/resource.h"
#include "app/setgriddlg.h"
#include "app/textoutbox.h"
#include "midi/midienvironment.h"
#include "midi/transfer.h"
#include "model/appstate.h"
#include "platform/qtsettings.h"
#include "sim/port/simport.h"
#include "textout/textout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class CDialogsTest : public CAppTestBase {
  Q_OBJECT

private slots:
  void confirmationStoresItsFlagOnlyOnOk();
  void confirmationFlagsReachTheSettings();
  void progressNestsDisablesItsOwnerAndCancels();
  void textOutBoxShowsErrorsAndMapsAnswers();
  void aboutShowsTheBuildDigitsWithCtrl();
  void gridChoiceAppliesOnOk();
  void midiSetupOffersTheSimulatorAndStoresTheChoice();
  void simulatorOfTheRunIsNotStored();
  void findUnitFillsTheDialogFromTheUnitThatAnswers();
  void findUnitOffersSeveralUnitsAndOneOfTheOtherModel();
};

void CDialogsTest::confirmationStoresItsFlagOnlyOnOk() {
  CTestUi ui;
  CConfirmationFlags flags;
  for (int kind = 0; kind < CONFIRM_KIND_COUNT; ++kind) {
    // Ticked and cancelled: nothing stored, the command does not run.
    ui.OnModal([](QDialog& dialog) {
      static_cast<CMidiWarningDlg&>(dialog).GetCheckBox()->setChecked(true);
      return Reject(dialog);
    });
    QVERIFY(!CMidiWarningDlg::Confirm(kind, flags));
    QCOMPARE(flags.Get(kind), 0);
    // Unticked and OK: runs, still asks next time.
    bool startsUnticked = false;
    ui.OnModal([&startsUnticked](QDialog& dialog) {
      startsUnticked = !static_cast<CMidiWarningDlg&>(dialog).GetCheckBox()->isChecked();
      return Accept(dialog);
    });
    QVERIFY(CMidiWarningDlg::Confirm(kind, flags));
    QVERIFY(startsUnticked);
    QCOMPARE(flags.Get(kind), 0);
    // Ticked and OK: stored for this kind only.
    ui.OnModal([](QDialog& dialog) {
      static_cast<CMidiWarningDlg&>(dialog).GetCheckBox()->setChecked(true);
      return Accept(dialog);
    });
    QVERIFY(CMidiWarningDlg::Confirm(kind, flags));
    QCOMPARE(flags.Get(kind), 1);
    for (int other = kind + 1; other < CONFIRM_KIND_COUNT; ++other)
      QCOMPARE(flags.Get(other), 0);
    const int asked = ui.m_modalCount;
    QVERIFY(CMidiWarningDlg::Confirm(kind, flags));
    QCOMPARE(ui.m_modalCount, asked); // no dialog any more
  }
  QCOMPARE(flags.Get(CONFIRM_KIND_COUNT), 0);
  flags.Set(CONFIRM_KIND_COUNT, 1);
  QCOMPARE(flags.Get(CONFIRM_KIND_COUNT), 0);

  QCOMPARE(CMidiWarningDlg::Question(CONFIRM_WRITE_TEMP_BUTTON),
           QStringLiteral("Are you sure you want to overwrite the temporary area of the QZ-MAX?"));
  QCOMPARE(CMidiWarningDlg::Question(CONFIRM_WRITE_TEMP_CLICK), CMidiWarningDlg::Question(CONFIRM_WRITE_TEMP_BUTTON));
  QZML::CTargetModelScope qz5(QZML::MODEL_QZ5);
  QCOMPARE(CMidiWarningDlg::Question(CONFIRM_READ_USER),
           QStringLiteral("Are you sure you want to load the data from the user area of the QZ-5?"));
  QCOMPARE(CMidiWarningDlg::Question(CONFIRM_IMPORT_SMF),
           QStringLiteral("Are you sure you want to read the SMF file and overwrite the main window?"));
  QCOMPARE(CMidiWarningDlg::Question(CONFIRM_IMPORT_SYSEX),
           QStringLiteral("Are you sure you want to read the SysEx file and overwrite the main window?"));
}

void CDialogsTest::confirmationFlagsReachTheSettings() {
  CTestUi ui;
  {
    CStartedApp app;
    QStringList texts;
    ui.OnModal([&texts](QDialog& dialog) {
      auto& warning = static_cast<CMidiWarningDlg&>(dialog);
      texts << warning.windowTitle() << warning.GetCheckBox()->text();
      warning.GetCheckBox()->setChecked(warning.GetKind() % 2 == 0);
      return Accept(dialog);
    });
    for (int kind = 0; kind < CONFIRM_KIND_COUNT; ++kind)
      QVERIFY(CMidiWarningDlg::Confirm(kind, app->GetFlags()));
    QCOMPARE(texts.value(0), QStringLiteral("QZ-MAX Librarian"));
    QCOMPARE(texts.value(1), QStringLiteral("Don't show this dialog again."));
  }
  const char* const names[] = {"ReadUser", "ReadTemp", "WriteUser", "WriteTempButton", "WriteTempClick", "ImportSMF",
                               "ImportSysEx"};
  for (int kind = 0; kind < CONFIRM_KIND_COUNT; ++kind)
    QCOMPARE(QZP::CQtSettings().Int(QStringLiteral("Option"), QString::fromLatin1(names[kind]), -1), kind % 2 == 0 ? 1 : 0);
  CStartedApp again;
  for (int kind = 0; kind < CONFIRM_KIND_COUNT; ++kind)
    QCOMPARE(again->GetFlag(kind), kind % 2 == 0 ? 1 : 0);
}

void CDialogsTest::progressNestsDisablesItsOwnerAndCancels() {
  QWidget owner;
  owner.resize(400, 300);
  owner.show();
  CProgressBar progress(&owner);
  progress.BeginCode(4, 1, true);
  QCOMPARE(progress.GetDepth(), 1);
  QVERIFY(!owner.isEnabled());
  QPointer<CProgressDialog> dialog = progress.GetDialog();
  QVERIFY(dialog && dialog->isVisible());
  QVERIFY(dialog->isEnabled());
  QCOMPARE(dialog->Text()->text(), QStringLiteral("Now, getting data."));
  QCOMPARE(dialog->Bar()->maximum(), 4);

  // A nested begin shows no second dialog and does not repaint it.
  progress.BeginText(10, "inner", false);
  QCOMPARE(progress.GetDepth(), 2);
  QCOMPARE(progress.GetDialog(), dialog.data());
  progress.SetText("ignored while nested");
  QCOMPARE(dialog->Text()->text(), QStringLiteral("Now, getting data."));
  progress.End();
  QVERIFY(dialog && dialog->isVisible());
  QVERIFY(!owner.isEnabled());

  // Updates show at most every kRefreshMs: one that comes sooner waits for that time, and then shows with
  // everything else that came; the last one shows when the time is up.
  QZP::CFakeClock clock;
  progress.SetClock(&clock);
  progress.Refresh();
  progress.SetPosition(3);
  QCOMPARE(dialog->Bar()->value(), 0);
  clock.Advance(CProgressBar::kRefreshMs);
  progress.SetText("User Patch 1: PATCH FX1");
  QCOMPARE(dialog->Bar()->value(), 3);
  QCOMPARE(dialog->Text()->text(), QStringLiteral("User Patch 1: PATCH FX1"));
  QVERIFY(dialog->Count()->isHidden()); // no patches counted here
  progress.SetCode(2);
  QCOMPARE(dialog->Text()->text(), QStringLiteral("User Patch 1: PATCH FX1"));
  QTRY_COMPARE(dialog->Text()->text(), QStringLiteral("Now, synchronizing data."));
  progress.SetClock(nullptr);

  progress.End();
  QCOMPARE(progress.GetDepth(), 0);
  QVERIFY(owner.isEnabled());
  QVERIFY(!progress.GetDialog());
  QVERIFY(RunEventLoopUntil([&]() { return !dialog; }, 2000)); // destroyed
  progress.End(); // an extra end changes nothing
  QCOMPARE(progress.GetDepth(), 0);
  QVERIFY(owner.isEnabled());

  // Cancel only when the transfer allows it.
  progress.BeginText(5, "", true);
  QVERIFY(!progress.IsCancelled());
  QPushButton* cancel = progress.GetDialog()->CancelButton();
  QVERIFY(cancel->isVisible() && cancel->isEnabled());
  QTest::mouseClick(cancel, Qt::LeftButton);
  QVERIFY(progress.IsCancelled());
  QVERIFY(progress.GetDialog()->isVisible()); // stays until the transfer ends it
  progress.End();

  // A new transfer starts uncancelled; Escape cancels too.
  progress.BeginText(5, "", true);
  QVERIFY(!progress.IsCancelled());
  QTest::keyClick(progress.GetDialog(), Qt::Key_Escape);
  QVERIFY(progress.IsCancelled());
  progress.End();

  // Without may-cancel the button is hidden and nothing cancels.
  progress.BeginText(5, "", false);
  QVERIFY(!progress.GetDialog()->CancelButton()->isVisible());
  QTest::keyClick(progress.GetDialog(), Qt::Key_Escape);
  progress.Cancel();
  QVERIFY(!progress.IsCancelled());
  progress.End();
}

void CDialogsTest::textOutBoxShowsErrorsAndMapsAnswers() {
  CTestUi ui;
  CTextOutBox box;
  for (int code : {0, 1, 2, 3, 4, 5, 6})
    box.Error(static_cast<ETextOutError>(code));
  box.ErrorDetail(TEXTOUT_ERR_MIDI_SETUP, "The MIDI input port \"QZ USB MIDI\" is not connected.");
  QCOMPARE(ui.m_texts, (QStringList{
                           QStringLiteral("Undefined error."),
                           QStringLiteral("This file could not be loaded."),
                           QStringLiteral("This file could not be saved."),
                           QStringLiteral("MIDI devices aren't set up.\nMake sure the settings in the \"Set Up MIDI "
                                          "Devices\" dialog box."),
                           QStringLiteral("It appears that the QZ-MAX is unconnected or connected incorrectly. "
                                          "Please check the connections.\nCheck that the MIDI input and output "
                                          "ports lead to the unit, that the device ID is the one set on the unit, "
                                          "and that the target model is the unit's model."),
                           QStringLiteral("Cannot read files of this type."),
                           QStringLiteral("Undefined error."),
                           QStringLiteral("MIDI devices aren't set up.\nMake sure the settings in the \"Set Up MIDI "
                                          "Devices\" dialog box.\n\nThe MIDI input port \"QZ USB MIDI\" is not "
                                          "connected."),
                       }));
  for (QMessageBox::Icon icon : ui.m_icons)
    QCOMPARE(icon, QMessageBox::Warning);
  for (QMessageBox::StandardButtons buttons : ui.m_buttons)
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

  ui.m_texts.clear();
  ui.m_buttons.clear();
  ui.Answer(QMessageBox::Ok);
  QCOMPARE(box.Ask(ASK_OK, QUESTION_CONVERT_TO_QZMAX, 0), ANSWER_OK);
  ui.Answer(QMessageBox::Cancel);
  QCOMPARE(box.Ask(ASK_OK_CANCEL, QUESTION_CONVERT_TO_QZ5, 0), ANSWER_CANCEL);
  ui.Answer(QMessageBox::Yes);
  QCOMPARE(box.Ask(ASK_YES_NO, QUESTION_CONVERT_TO_QZMAX, 0), ANSWER_YES);
  ui.Answer(QMessageBox::No);
  QCOMPARE(box.Ask(ASK_YES_NO_CANCEL, static_cast<EQuestion>(99), 0), ANSWER_NO);
  ui.Answer(QMessageBox::NoButton); // closed some other way
  QCOMPARE(box.Ask(ASK_YES_NO, QUESTION_CONVERT_TO_QZMAX, 0), ANSWER_CANCEL);
  QCOMPARE(ui.m_buttons.mid(0, 4), (QList<QMessageBox::StandardButtons>{
                                       QMessageBox::Ok, QMessageBox::Ok | QMessageBox::Cancel,
                                       QMessageBox::Yes | QMessageBox::No,
                                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel}));
  QCOMPARE(ui.m_texts.value(1), QStringLiteral("Are you sure you want to convert this QZ-MAX data to QZ-5 data?"));
  QCOMPARE(ui.m_texts.value(3), QString());
}

void CDialogsTest::aboutShowsTheBuildDigitsWithCtrl() {
  const bool without = false;
  CAboutDialog plain(nullptr, &without);
  QCOMPARE(plain.windowTitle(), QStringLiteral("About QZ-MAX Librarian"));
  QCOMPARE(plain.Line(IDC_ABOUT_DESCRIPTION)->text(), QStringLiteral("QZ-MAX Librarian"));
  QCOMPARE(plain.Line(IDC_ABOUT_VERSION)->text(), QStringLiteral("Version 1.00"));
  QVERIFY(!plain.Line(IDC_ABOUT_COPYRIGHT)->text().isEmpty());
  const bool with = true;
  CAboutDialog ctrl(nullptr, &with);
  const QRegularExpression digits(QStringLiteral("^Version 1\\.00 \\(100\\d+\\)$"));
  QVERIFY2(digits.match(ctrl.Line(IDC_ABOUT_VERSION)->text()).hasMatch(),
           qPrintable(ctrl.Line(IDC_ABOUT_VERSION)->text()));
}

void CDialogsTest::gridChoiceAppliesOnOk() {
  CTestUi ui;
  CStartedApp app;
  QZML::CAppState::Instance().SetGridSwitch(0);
  int shown = -1;
  ui.OnModal([&shown](QDialog& dialog) {
    auto& grid = static_cast<CSetGridDlg&>(dialog);
    shown = grid.GetGrid();
    grid.Button(1)->setChecked(true);
    return Reject(dialog);
  });
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_SETUP_GRID));
  QCOMPARE(shown, 0);
  QCOMPARE(QZML::CAppState::Instance().GetGridSwitch(), 0);
  ui.OnModal([](QDialog& dialog) {
    static_cast<CSetGridDlg&>(dialog).Button(1)->setChecked(true);
    return Accept(dialog);
  });
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_SETUP_GRID));
  QCOMPARE(QZML::CAppState::Instance().GetGridSwitch(), 1);
}

void CDialogsTest::midiSetupOffersTheSimulatorAndStoresTheChoice() {
  CTestUi ui;
  CStartedApp app;
  QStringList seen;
  ui.OnModal([&seen](QDialog& dialog) {
    auto& setup = static_cast<CMidiSetupDialog&>(dialog);
    QComboBox* in = setup.Combo(IDC_MIDI_IN_DEVICE);
    QComboBox* ids = setup.Combo(IDC_MIDI_DEVICE_ID);
    seen << setup.windowTitle() << setup.ModelLabel()->text() << QString::number(in->count()) << in->itemText(0)
         << in->currentText() << QString::number(ids->count()) << ids->itemText(0) << ids->itemText(31)
         << ids->currentText();
    in->setCurrentIndex(0);
    setup.Combo(IDC_MIDI_OUT_DEVICE)->setCurrentIndex(0);
    ids->setCurrentIndex(16);
    return Accept(dialog);
  });
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_SETUP_MIDI));
  QCOMPARE(ui.m_modalCount, 1);
  QCOMPARE(seen, (QStringList{QStringLiteral("Set Up MIDI Devices"), QStringLiteral("QZ-MAX"), QStringLiteral("2"),
                              QStringLiteral("QZ-MAX Simulator"), QStringLiteral("(none)"), QStringLiteral("32"),
                              QStringLiteral("1"), QStringLiteral("32"), QStringLiteral("1")}));
  QVERIFY(CMidiEnvironment::Instance().IsSetupComplete());
  QCOMPARE(QZP::CQtSettings().String(QStringLiteral("MIDIOutConnection"), QStringLiteral("MIDIOutDevice0")),
           QStringLiteral("QZ-MAX Simulator"));
  QCOMPARE(QZP::CQtSettings().Int(QStringLiteral("MIDIOutConnection"), QStringLiteral("MIDIOutDeviceId0"), -1), 16);
  QCOMPARE(QZP::CQtSettings().Int(QStringLiteral("MIDIInConnection"), QStringLiteral("MIDIInDeviceId1"), -1), 16);
  app.Exit();

  // The next start binds the stored choice.
  CStartedApp again;
  QVERIFY(CMidiEnvironment::Instance().IsSetupComplete());
  QCOMPARE(int(CMidiEnvironment::Instance().Outputs()[0].m_deviceId), 16);
}

void CDialogsTest::simulatorOfTheRunIsNotStored() {
  CTestUi ui;
  CAppOptions options = TestOptions(true);
  {
    CStartedApp app(options);
    QVERIFY(CMidiEnvironment::Instance().IsSetupComplete());
    QCOMPARE(int(CMidiEnvironment::Instance().Outputs()[0].m_deviceId), int(kSimulatorDeviceId));
    // The dialog shows it; Cancel keeps it for the run.
    QStringList seen;
    ui.OnModal([&seen](QDialog& dialog) {
      auto& setup = static_cast<CMidiSetupDialog&>(dialog);
      seen << setup.Combo(IDC_MIDI_IN_DEVICE)->currentText() << setup.Combo(IDC_MIDI_OUT_DEVICE)->currentText()
           << setup.Combo(IDC_MIDI_DEVICE_ID)->currentText();
      return Reject(dialog);
    });
    app->OnSetupMidi();
    QCOMPARE(seen, (QStringList{QStringLiteral("QZ-MAX Simulator"), QStringLiteral("QZ-MAX Simulator"),
                                QStringLiteral("17")}));
    QVERIFY(CMidiEnvironment::Instance().IsSetupComplete());
  }
  QVERIFY(QZP::CQtSettings().String(QStringLiteral("MIDIOutConnection"), QStringLiteral("MIDIOutDevice0")).isEmpty());
  CStartedApp plain;
  QVERIFY(!CMidiEnvironment::Instance().IsSetupComplete());
}

void CDialogsTest::findUnitFillsTheDialogFromTheUnitThatAnswers() {
  CTestUi ui;
  CStartedApp app;
  // The setup of the last run names a port that is gone: the dialog shows it, Find Unit replaces it.
  QVERIFY(!CMidiEnvironment::Instance().IsSetupComplete());
  QStringList before, after;
  QString status;
  ui.OnModal([&](QDialog& dialog) {
    auto& setup = static_cast<CMidiSetupDialog&>(dialog);
    QComboBox* in = setup.Combo(IDC_MIDI_IN_DEVICE);
    QComboBox* out = setup.Combo(IDC_MIDI_OUT_DEVICE);
    QComboBox* id = setup.Combo(IDC_MIDI_DEVICE_ID);
    before << in->currentText() << out->currentText() << id->currentText();
    setup.FindUnitButton()->click();
    after << in->currentText() << out->currentText() << id->currentText();
    status = setup.FindUnitStatus()->text();
    return Accept(dialog);
  });
  QZP::CQtSettings().SetString(QStringLiteral("MIDIInConnection"), QStringLiteral("MIDIInDevice0"), QStringLiteral("Gone"));
  app->GetMidi()->LoadSetup();
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_SETUP_MIDI));
  QCOMPARE(before,
           (QStringList{QStringLiteral("Gone (not connected)"), QStringLiteral("(none)"), QStringLiteral("1")}));
  QCOMPARE(after,
           (QStringList{QStringLiteral("QZ-MAX Simulator"), QStringLiteral("QZ-MAX Simulator"), QStringLiteral("17")}));
  QCOMPARE(status, QStringLiteral("Found: QZ-MAX, device ID 17, on QZ-MAX Simulator / QZ-MAX Simulator."));
  QVERIFY(ui.m_texts.isEmpty());
  QVERIFY(CMidiEnvironment::Instance().IsSetupComplete());
  QCOMPARE(QZP::CQtSettings().String(QStringLiteral("MIDIInConnection"), QStringLiteral("MIDIInDevice0")),
           QStringLiteral("QZ-MAX Simulator"));

  // A silent unit: nothing changes, and the message names the ports tried.
  CSimPort* sim = app->GetMidi()->Simulator();
  sim->Stop();
  CSimOptions silent = sim->Unit().Options();
  silent.drop = CSimFault::Always();
  sim->Unit().SetOptions(silent);
  sim->Start();
  ui.OnModal([&](QDialog& dialog) {
    auto& setup = static_cast<CMidiSetupDialog&>(dialog);
    setup.FindUnit();
    status = setup.FindUnitStatus()->text();
    return Reject(dialog);
  });
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_SETUP_MIDI));
  QCOMPARE(status, QStringLiteral("No unit answered."));
  QCOMPARE(ui.m_texts.size(), 1);
  QVERIFY(ui.m_texts[0].contains(QStringLiteral("Ports tried: in \"QZ-MAX Simulator\"; out \"QZ-MAX Simulator\".")));
  // Cancel keeps the ports bound as before the search.
  QVERIFY(CMidiEnvironment::Instance().IsSetupComplete());
}

void CDialogsTest::findUnitOffersSeveralUnitsAndOneOfTheOtherModel() {
  CTestUi ui;
  CStartedApp app;
  // A QZ-5 on ID 3 beside the built-in unit, which gives way to it.
  auto qz5 = std::make_unique<CSimPort>(app->GetMidi()->Virtual(), MakeSimulatorOptions(QZML::MODEL_QZ5, 0x02, false),
                                        "QZ-5 Interface");
  QString status, label;
  ui.OnModal([&](QDialog& dialog) {
    auto& setup = static_cast<CMidiSetupDialog&>(dialog);
    setup.FindUnit();
    status = setup.FindUnitStatus()->text();
    label = setup.ModelLabel()->text();
    return Accept(dialog);
  });
  ui.Answer(QMessageBox::Yes); // use the QZ-5
  ui.Answer(QMessageBox::No);  // and do not convert the data
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_SETUP_MIDI));
  QCOMPARE(ui.m_texts.size(), 2);
  QVERIFY(ui.m_texts[0].contains(QStringLiteral("QZ-5, device ID 3, on QZ-5 Interface / QZ-5 Interface")));
  QVERIFY(ui.m_texts[0].contains(QStringLiteral("the target model will be switched to QZ-5")));
  QCOMPARE(ui.m_texts[1], QString::fromLatin1(TextOutQuestionMessage(QUESTION_CONVERT_TO_QZ5)));
  QCOMPARE(label, QStringLiteral("QZ-5"));
  QVERIFY(status.endsWith(QStringLiteral("OK switches the target model to QZ-5.")));
  QCOMPARE(QZML::CAppState::Instance().GetTargetModel(), QZML::MODEL_QZ5);
  QCOMPARE(int(CMidiEnvironment::Instance().Inputs()[0].m_deviceId), 2);
  QVERIFY(CMidiEnvironment::Instance().IsSetupComplete());

  // Two units out there: the user picks one from the list.
  auto second = std::make_unique<CSimPort>(app->GetMidi()->Virtual(),
                                           MakeSimulatorOptions(QZML::MODEL_QZ5, 0x1F, false), "Second Interface");
  QStringList offered;
  ui.OnModal([&](QDialog& dialog) {
    if (auto* choice = qobject_cast<CFindUnitChoiceDialog*>(&dialog)) {
      for (int row = 0; row < choice->List()->count(); ++row)
        offered << choice->List()->item(row)->text();
      choice->List()->setCurrentRow(1);
      return Accept(dialog);
    }
    auto& setup = static_cast<CMidiSetupDialog&>(dialog);
    setup.FindUnit();
    status = setup.FindUnitStatus()->text();
    return Accept(dialog);
  });
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_SETUP_MIDI));
  QCOMPARE(offered, (QStringList{QStringLiteral("QZ-5, device ID 3, on QZ-5 Interface / QZ-5 Interface"),
                                 QStringLiteral("QZ-5, device ID 32, on Second Interface / Second Interface")}));
  QCOMPARE(status, QStringLiteral("Found: QZ-5, device ID 32, on Second Interface / Second Interface."));
  QCOMPARE(QZP::CQtSettings().String(QStringLiteral("MIDIOutConnection"), QStringLiteral("MIDIOutDevice0")),
           QStringLiteral("Second Interface"));
  QCOMPARE(QZP::CQtSettings().Int(QStringLiteral("MIDIOutConnection"), QStringLiteral("MIDIOutDeviceId0"), -1), 31);
  // The units go before the MIDI system they are plugged into.
  second.reset();
  qz5.reset();
}

QZ_APP_TEST_MAIN(CDialogsTest)
#include "dialogs_test.moc"
