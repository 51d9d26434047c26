#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolTip>
#include <QtTest>

#include "WindowRig.h"
#include "design/HandCost.h"
#include "files/PosixFileLayer.h"
#include "library/ChordLibrary.h"
#include "library/LibraryFiles.h"
#include "pages/PageFile.h"
#include "play/PlayPageGeometry.h"
#include "ui/SmoothDialog.h"
#include "ui/SurfaceView.h"
#include "ui/TransposeDialog.h"

namespace {

// I-V-vi-IV in A flat, one chord a bar, each the first of its fingerings.
void writeProgression(const std::string& programDir, const std::string& path) {
  PageContents page;
  page.Kind = PageKind::Play;
  for (auto& column : page.PlayPage)
    for (auto& d : column) d.Empty = 1;
  const int chords[4][2] = {{8, 0}, {3, 0}, {5, 19}, {1, 0}};  // key, dictionary index
  for (int bar = 0; bar < 4; ++bar) {
    const auto family = ChordLibrary::familyOfDictionaryIndex(chords[bar][1]);
    TChordDiagram set[6];
    TChordFormula formula{};
    QCOMPARE(
        readChordSet(programDir, int(family->Family), family->Type, chords[bar][0], set, formula)
            .Status,
        LibraryStatus::Ok);
    page.PlayPage[(8 * bar) % 12][(8 * bar) / 12] = set[0];
  }
  PosixFileLayer files;
  QVERIFY(savePageFile(files, path, page).empty());
}

// The progression opened on the PlayPage through Open; the bytes Save then
// writes.
QByteArray openProgression(WindowRig& rig) {
  rig.w.show();
  writeProgression(rig.programDir, rig.file("pop.ppf").toStdString());
  clickTab(rig.w, static_cast<int>(PlayTab::PlayPage));
  rig.ask.files.push_back(rig.file("pop.ppf"));
  click(rig.w, "sbtnOpen");
  return rig.save("opened.ppf");
}

QAction* editItem(MainWindow& w, const char* name) {
  return action(*child<QMenu>(w, "menuEdit"), name);
}

}  // namespace

class SmoothFingeringsTest : public QObject {
  Q_OBJECT

 private slots:
  // Edit > Smooth Fingerings... from another tab: the dialog shows what will
  // change, OK re-fingers the PlayPage as one edit, and Undo gives back the
  // page byte for byte. Cancel from the pop-up changes nothing.
  void theDialogAppliesOneEditThatUndoTakesBack() {
    WindowRig rig;
    MainWindow& w = rig.w;
    const QByteArray opened = openProgression(rig);
    clickTab(w, static_cast<int>(PlayTab::Chords));

    QString summary;
    rig.ask.dialogs.push_back([&](QDialog& d) {
      auto& dialog = static_cast<SmoothDialog&>(d);
      QTest::mouseClick(dialog.rbAroundFret, Qt::LeftButton);
      QTest::keyClick(dialog.spinFret, Qt::Key_Up);
      QTest::keyClick(dialog.spinFret, Qt::Key_Up);
      summary = dialog.lblSummary->text();
      if (!dialog.imgPreview->pixmap().isNull() && qEnvironmentVariableIsSet("STRUMBO_SHOTS"))
        dialog.grab().save(qEnvironmentVariable("STRUMBO_SHOTS") + "/smooth-dialog.png");
      clickIn(dialog, "OKBtn");
      return dialog.result() == QDialog::Accepted;
    });
    editItem(w, "mnuSmooth")->trigger();
    QVERIFY2(summary.contains(QStringLiteral(" chords change (framed)")), qPrintable(summary));
    QCOMPARE(w.state().Play.PlayPageChanged, true);
    QCOMPARE(editItem(w, "mnuUndo")->text(), QStringLiteral("&Undo Smooth Fingerings"));
    for (int bar = 0; bar < 4; ++bar) {
      const auto at = handPosition(w.state().PlayPage[(8 * bar) % 12][(8 * bar) / 12].Strings);
      QVERIFY(at && *at > 4 && *at < 10);
    }
    QVERIFY(rig.save("smoothed.ppf") != opened);

    editItem(w, "mnuUndo")->trigger();
    QCOMPARE(rig.save("undone.ppf"), opened);
    QVERIFY(!w.state().Play.PlayPageChanged);

    rig.ask.dialogs.push_back([](QDialog& dialog) {
      clickIn(dialog, "CancelBtn");
      return dialog.result() == QDialog::Accepted;
    });
    popupCommand(w, "imgPlayPage", {PlayGeometry::slotX(0) + 20, PlayGeometry::rowTop(0) + 60},
                 "popmenuPlayPage", "pmenu4Smooth");
    QVERIFY(rig.ask.dialogs.empty());
    QCOMPARE(rig.save("cancelled.ppf"), opened);
    QCOMPARE(editItem(w, "mnuRedo")->text(), QStringLiteral("&Redo Smooth Fingerings"));
    QCOMPARE(rig.ask.unanswered, 0);
  }

  // Edit > Transpose... on the PlayPage: the dialog names the key it leads
  // to, OK moves every chord as one edit and switches the naming, Undo gives
  // the page back.
  void transposeMovesThePageAsOneEdit() {
    WindowRig rig;
    MainWindow& w = rig.w;
    const QByteArray opened = openProgression(rig);
    QString key;
    rig.ask.dialogs.push_back([&](QDialog& d) {
      auto& dialog = static_cast<TransposeDialog&>(d);
      for (int i = 0; i < 3; ++i) QTest::keyClick(dialog.spinSteps, Qt::Key_Up);
      QTest::mouseClick(dialog.rbSharps, Qt::LeftButton);
      key = dialog.lblKey->text();
      clickIn(dialog, "OKBtn");
      return dialog.result() == QDialog::Accepted;
    });
    editItem(w, "mnuTranspose")->trigger();
    QCOMPARE(key, QStringLiteral("From G# to B"));
    QVERIFY(w.state().Names.sharps());
    QCOMPARE(int(w.state().PlayPage[0][0].Root), 11);
    QCOMPARE(int(w.state().PlayPage[8][0].Root), 6);
    QCOMPARE(editItem(w, "mnuUndo")->text(), QStringLiteral("&Undo Transpose"));
    editItem(w, "mnuUndo")->trigger();
    QCOMPARE(rig.save("undone.ppf"), opened);

    // The page's pop-up offers the same command.
    rig.ask.dialogs.push_back([](QDialog& d) {
      QTest::keyClick(static_cast<TransposeDialog&>(d).spinSteps, Qt::Key_Down);
      clickIn(d, "OKBtn");
      return d.result() == QDialog::Accepted;
    });
    popupCommand(w, "imgPlayPage", {PlayGeometry::slotX(0) + 20, PlayGeometry::rowTop(0) + 60},
                 "popmenuPlayPage", "pmenu4Transpose");
    QCOMPARE(int(w.state().PlayPage[0][0].Root), 7);
    QCOMPARE(rig.ask.unanswered, 0);
  }

  // The Print page's pop-up opens on an empty page too, with only the page's
  // own commands; Fill From Play Page lays the progression's four chords out
  // in order, as one edit.
  void fillFromPlayPageLaysOutTheChordsInOrder() {
    WindowRig rig;
    MainWindow& w = rig.w;
    openProgression(rig);
    clickTab(w, static_cast<int>(PlayTab::Print));
    clickAt(w, "imgPrintPage", {70, 90}, Qt::RightButton);
    auto* popup = child<QMenu>(w, "popmenuPrint");
    QVERIFY(!action(*popup, "pmenu3Delete")->isEnabled());
    QVERIFY(action(*popup, "pmenu3Fill")->isEnabled());
    popup->hide();
    action(*popup, "pmenu3Fill")->trigger();
    const int roots[] = {8, 3, 5, 1};
    for (int c = 0; c < 4; ++c) {
      const TPrintDiagram& item = w.state().PrintPage[c][0];
      QVERIFY(!isEmpty(item) && item.IsChord);
      QCOMPARE(int(item.Root), roots[c]);
    }
    QVERIFY(isEmpty(w.state().PrintPage[4][0]));
    QCOMPARE(editItem(w, "mnuUndo")->text(), QStringLiteral("&Undo Fill From Play Page"));
    editItem(w, "mnuUndo")->trigger();
    QVERIFY(isEmpty(w.state().PrintPage[0][0]));
    QCOMPARE(rig.ask.unanswered, 0);
  }

  // Options > Easiest remembered in Px.ini, orders the next set by
  // ease; each diagram's tool tip tells its ease.
  void easiestFirstOrdersTheNextSetAndIsRemembered() {
    SettingsWindowRig s("[Main]\nEasiestFirst=1\n");
    MainWindow& w = s.window;
    w.show();
    auto* easiest = action(*child<QMenu>(w, "menuOptions"), "mnuEasiestFirst");
    QVERIFY(easiest->isChecked());
    auto costs = [&](int row) {
      std::vector<double> c;
      for (int col = 0; col < 6; ++col)
        c.push_back(fingeringEase(w.state().ChordPage[col][row].Strings).Cost);
      return c;
    };
    showChords(w, 5, 2, 0);  // F minor
    const std::vector<double> sorted = costs(0);
    QVERIFY(std::is_sorted(sorted.begin(), sorted.end()));
    easiest->trigger();
    showChords(w, 5, 2, 0);
    const std::vector<double> stored = costs(1);
    QVERIFY(!std::is_sorted(stored.begin(), stored.end()));

    auto* surface = child<SurfaceView>(w, "imgChordPage");
    const QPoint third(120 * 2 + 70, 150 + 90);
    QHelpEvent hover(QEvent::ToolTip, third, surface->mapToGlobal(third));
    QCoreApplication::sendEvent(surface, &hover);
    QCOMPARE(QToolTip::text(),
             QString::fromStdString(easeText(fingeringEase(w.state().ChordPage[2][1].Strings))));
    QVERIFY(w.close());
    QVERIFY(s.files.files[SettingsWindowRig::Ini].find("EasiestFirst=0") != std::string::npos);
  }
};

QTEST_MAIN(SmoothFingeringsTest)
#include "SmoothFingeringsTest.moc"
