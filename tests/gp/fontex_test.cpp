// The font with colour: profile round trip of the 13 numbers, defaults, and the font dialog.

#include "gp/fontdialog.h"
#include "gp/fontex.h"
#include "platform/qtsettings.h"
#include "testprofile.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDialog>
#include <QTimer>
#include <QtTest>

using GP::CFontEx;

namespace {

const QString kSection = QStringLiteral("Option");
const QString kPrefix = QStringLiteral("Font");

CFontEx::SLogFont SampleLogFont() {
  CFontEx::SLogFont logFont;
  const int numbers[] = {-13, 0, 0, 0, 700, 1, 0, 1, 128, 3, 2, 0, 49};
  logFont.SetNumbers(numbers, 13);
  logFont.faceName = QStringLiteral("DejaVu Sans Mono");
  return logFont;
}

// Runs f on the font dialog once it is open.
template <typename F> void WhenDialogOpens(F f) {
  QTimer::singleShot(0, [f]() {
    auto* dialog = qobject_cast<GP::CFontDialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    f(*dialog);
  });
}

} // namespace

class CFontExTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QVERIFY(m_profile.IsValid()); }
  void init() { CTestProfile::Clear(); }

  void savedFontLoadsBackWithTheSameNumbersAndColour();
  void missingEntriesGiveTheInterfaceFont();
  void attributeTextIsReadLikeScanf();
  void loadingTwiceKeepsTheFirstFont();
  void dialogOkTakesFontEffectsAndColour();
  void dialogCancelKeepsFontAndColour();

private:
  CTestProfile m_profile;
};

void CFontExTest::savedFontLoadsBackWithTheSameNumbersAndColour() {
  CFontEx saved;
  saved.SaveProfile(kSection, kPrefix); // no font yet: nothing written
  QVERIFY(QZP::CQtSettings().String(kSection, QStringLiteral("FontFaceName")).isNull());
  saved.CreateFontIndirect(SampleLogFont());
  saved.SetColorRef(255);
  saved.SaveProfile(kSection, kPrefix);
  QCOMPARE(QZP::CQtSettings().String(kSection, QStringLiteral("FontFaceName")), QStringLiteral("DejaVu Sans Mono"));
  QCOMPARE(QZP::CQtSettings().String(kSection, QStringLiteral("FontAttribute")),
           QStringLiteral("-13,0,0,0,700,1,0,1,128,3,2,0,49"));
  QCOMPARE(QZP::CQtSettings().Int(kSection, QStringLiteral("FontColor")), 255);

  CFontEx loaded;
  loaded.LoadProfile(kSection, kPrefix);
  QVERIFY(loaded.HasFont());
  QCOMPARE(loaded.GetLogFont().Numbers(), SampleLogFont().Numbers());
  QCOMPARE(loaded.GetLogFont().faceName, QStringLiteral("DejaVu Sans Mono"));
  QCOMPARE(loaded.GetColorRef(), quint32(255));
  QCOMPARE(loaded.GetColor(), QColor(255, 0, 0));
  QVERIFY(loaded.GetFont().italic());
  QVERIFY(loaded.GetFont().strikeOut());
  QVERIFY(!loaded.GetFont().underline());
  QCOMPARE(loaded.GetFont().weight(), QFont::Bold);
  QCOMPARE(loaded.GetFont().family(), QStringLiteral("DejaVu Sans Mono"));
  QCOMPARE(loaded.GetFont().pointSizeF(), 9.75);
}

void CFontExTest::missingEntriesGiveTheInterfaceFont() {
  CFontEx font;
  QVERIFY(!font.HasFont());
  font.LoadProfile(kSection, kPrefix);
  QVERIFY(font.HasFont());
  QCOMPARE(font.GetFont().family(), QApplication::font().family());
  QCOMPARE(font.GetColorRef(), quint32(0));

  // A face name without attributes is not enough either.
  QZP::CQtSettings().SetString(kSection, QStringLiteral("FontFaceName"), QStringLiteral("Serif"));
  QZP::CQtSettings().SetInt(kSection, QStringLiteral("FontColor"), 0x00FF00);
  CFontEx faceOnly;
  faceOnly.LoadProfile(kSection, kPrefix);
  QCOMPARE(faceOnly.GetFont().family(), QApplication::font().family());
  QCOMPARE(faceOnly.GetColor(), QColor(0, 255, 0));
}

void CFontExTest::attributeTextIsReadLikeScanf() {
  QZP::CQtSettings().SetString(kSection, QStringLiteral("FontFaceName"), QStringLiteral("Sans"));
  // Five numbers: the byte fields keep their defaults.
  QZP::CQtSettings().SetString(kSection, QStringLiteral("FontAttribute"), QStringLiteral(" -16, 0,0,0,400"));
  CFontEx five;
  five.LoadProfile(kSection, kPrefix);
  QCOMPARE(five.GetLogFont().Numbers(), (std::array<int, 13>{-16, 0, 0, 0, 400, 0, 0, 0, 128, 3, 2, 0, 49}));

  // Byte fields take the low byte; parsing stops at the first field that is no number.
  QZP::CQtSettings().SetString(kSection, QStringLiteral("FontAttribute"), QStringLiteral("-12,0,0,0,400,257,2,x,1,1,1,1,1"));
  CFontEx bytes;
  bytes.LoadProfile(kSection, kPrefix);
  QCOMPARE(bytes.GetLogFont().Numbers(), (std::array<int, 13>{-12, 0, 0, 0, 400, 1, 2, 0, 128, 3, 2, 0, 49}));

  // Nothing readable: the leading numbers start at 0, and a zero height keeps the interface font size.
  QZP::CQtSettings().SetString(kSection, QStringLiteral("FontAttribute"), QStringLiteral("bold"));
  CFontEx none;
  none.LoadProfile(kSection, kPrefix);
  QCOMPARE(none.GetLogFont().height, 0);
  QCOMPARE(none.GetFont().pointSizeF(), QApplication::font().pointSizeF());

  // Numbers beyond 32 bits are clamped, not wrapped.
  int values[2] = {7, 7};
  QCOMPARE(QZP::ScanIntegers(QStringLiteral("99999999999,-99999999999"), values, 2), 2);
  QCOMPARE(values[0], INT32_MAX);
  QCOMPARE(values[1], INT32_MIN);
  QCOMPARE(QZP::ScanIntegers(QStringLiteral("1 ,2"), values, 2), 1);
}

void CFontExTest::loadingTwiceKeepsTheFirstFont() {
  CFontEx font;
  font.LoadProfile(kSection, kPrefix);
  const CFontEx::SLogFont first = font.GetLogFont();
  CFontEx other;
  other.CreateFontIndirect(SampleLogFont());
  other.SetColorRef(255);
  other.SaveProfile(kSection, kPrefix);
  font.LoadProfile(kSection, kPrefix);
  QVERIFY(font.GetLogFont() == first);
  QCOMPARE(font.GetColorRef(), quint32(0));
}

void CFontExTest::dialogOkTakesFontEffectsAndColour() {
  CFontEx font;
  font.CreateFontIndirect(SampleLogFont());
  WhenDialogOpens([](GP::CFontDialog& dialog) {
    QFont chosen = dialog.GetSelectedFont();
    QCOMPARE(chosen.italic(), true);
    chosen.setUnderline(true);
    chosen.setStrikeOut(false);
    dialog.GetFontChooser()->setCurrentFont(chosen);
    dialog.SetColor(QColor(0, 0, 128));
    dialog.accept();
  });
  QCOMPARE(font.ChooseFont(), 1);
  QCOMPARE(font.GetColorRef(), quint32(0x800000));
  QCOMPARE(font.GetLogFont().underline, quint8(1));
  QCOMPARE(font.GetLogFont().strikeOut, quint8(0));
  QCOMPARE(font.GetLogFont().charSet, quint8(128)); // what Qt has no notion of is kept
  QVERIFY(font.GetFont().underline());

  // A colour outside the sixteen is offered as a colour of its own.
  GP::CFontDialog dialog;
  const int before = dialog.GetColorBox()->count();
  dialog.SetColor(QColor(1, 2, 3));
  QCOMPARE(dialog.GetColorBox()->count(), before + 1);
  QCOMPARE(dialog.GetColor(), QColor(1, 2, 3));
}

void CFontExTest::dialogCancelKeepsFontAndColour() {
  CFontEx font;
  font.CreateFontIndirect(SampleLogFont());
  font.SetColorRef(255);
  WhenDialogOpens([](GP::CFontDialog& dialog) {
    dialog.SetColor(QColor(0, 0, 255));
    dialog.reject();
  });
  QCOMPARE(font.ChooseFont(), 0);
  QCOMPARE(font.GetColorRef(), quint32(255));
  QVERIFY(font.GetLogFont() == SampleLogFont());
}

QTEST_MAIN(CFontExTest)
#include "fontex_test.moc"
