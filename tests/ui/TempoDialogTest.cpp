#include <QtTest>

#include "WindowProbe.h"
#include "ui/TempoDialog.h"

class TempoDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheTempoInBeatsPerMinute() {
    std::int32_t tempo = 600000;
    bool changed = false;
    TempoDialog d(tempo, changed);
    QCOMPARE(d.windowTitle(), QStringLiteral("Change PlayPage Tempo"));
    QCOMPARE(d.size(), QSize(313, 214));
    d.show();
    QCOMPARE(d.meditTempo->text(), QStringLiteral("100"));
    QCOMPARE(d.scrollTempo->value(), 100);
    QCOMPARE(d.meditTempo->selectedText(), QStringLiteral("100"));
    QCOMPARE(d.scrollTempo->minimum(), 10);
    QCOMPARE(d.scrollTempo->maximum(), 250);
    QCOMPARE(d.scrollTempo->pageStep(), 10);
    d.scrollTempo->setValue(180);
    QCOMPARE(d.meditTempo->text(), QStringLiteral("180"));
    d.hide();
  }

  void okClampsAndStoresTheTempo_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("tempo");
    QTest::newRow("5") << "5"
                       << "10" << 6000000;
    QTest::newRow("300") << "300"
                         << "250" << 240000;
    QTest::newRow("120") << "120"
                         << "120" << 500000;
  }
  void okClampsAndStoresTheTempo() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, tempo);
    std::int32_t t = 600000;
    bool changed = false;
    TempoDialog d(t, changed);
    d.show();
    retype(d.meditTempo, typed);
    QTest::mouseClick(d.OKBtn, Qt::LeftButton);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(d.meditTempo->text(), shown);
    QCOMPARE(t, tempo);
    QVERIFY(changed);
  }

  void emptyFieldOrCancelLeavesTheTempo() {
    std::int32_t t = 500000;
    bool changed = false;
    TempoDialog d(t, changed);
    d.show();
    QCOMPARE(d.meditTempo->text(), QStringLiteral("120"));
    retype(d.meditTempo, QString());
    QTest::mouseClick(d.OKBtn, Qt::LeftButton);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(t, 500000);
    QVERIFY(!changed);

    TempoDialog c(t, changed);
    c.show();
    retype(c.meditTempo, QStringLiteral("60"));
    QTest::mouseClick(c.CancelBtn, Qt::LeftButton);
    QCOMPARE(c.result(), int(QDialog::Rejected));
    QCOMPARE(t, 500000);
    QVERIFY(!changed);
  }

  void aDamagedTempoDoesNotDivideByZero() {
    std::int32_t t = 0;
    bool changed = false;
    TempoDialog d(t, changed);
    d.show();
    QCOMPARE(d.meditTempo->text(), QStringLiteral("100"));
    t = -5;
    d.hide();
    d.show();
    QCOMPARE(d.meditTempo->text(), QStringLiteral("100"));
  }

  void theFieldTakesThreeDigitsOnly() {
    std::int32_t t = 600000;
    bool changed = false;
    TempoDialog d(t, changed);
    d.meditTempo->clear();
    QTest::keyClicks(d.meditTempo, QStringLiteral("-1x2345"));
    QCOMPARE(d.meditTempo->text(), QStringLiteral("123"));
  }
};

QTEST_MAIN(TempoDialogTest)
#include "TempoDialogTest.moc"
