#include <QDialog>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include "DataDir.h"
#include "ReferenceImage.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "files/PosixFileLayer.h"
#include "pages/DiagramText.h"
#include "play/PlayPageGeometry.h"
#include "render/PageDrawer.h"
#include "render/PrintSheet.h"
#include "ui/ChordsTab.h"
#include "ui/MainWindow.h"
#include "ui/PlayPageTab.h"
#include "ui/PrintController.h"
#include "ui/RepeatDialog.h"
#include "ui/ScalesTab.h"
#include "ui/SurfaceView.h"

// The headless picture of a page must be what the window prints for the
// same page: the tab's surface without its selection frame.
class PagePictureTest : public QObject {
  Q_OBJECT

  static QPoint slot(int c, int r) {
    return {PlayGeometry::slotX(c) + 20, PlayGeometry::rowTop(r) + 60};
  }

  // The pictures agree within the drawing tolerance of the reference pictures.
  static QString difference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return QStringLiteral("sizes differ");
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int row = 0; row < x.height(); ++row)
      for (int col = 0; col < x.width(); ++col)
        if (!reference::close(x.pixel(col, row), y.pixel(col, row))) ++count;
    return count == 0 ? QString() : QStringLiteral("%1 pixels differ").arg(count);
  }

 private slots:
  void playPageMatchesTheTab() {
    WindowRig rig("/nonexistent/");
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    click(w, "sbtnTime");  // 3/4: other bar lines, numbers and marks
    TChordDiagram chord = startFingering();
    chord.ChordName = "m7";
    chord.Root = 4;
    w.playPage()->takeInHand(chord);
    for (const QPoint at : {slot(0, 0), slot(3, 1), slot(11, 5)})
      clickAt(w, "imgPlayPage", at, Qt::LeftButton, Qt::ControlModifier);
    clickAt(w, "imgPlayPage", slot(0, 2), Qt::RightButton);
    QVERIFY(!w.playPage()->placing());
    // Bar 2 repeats three times and holds the loop point.
    clickAt(w, "imgPlayPage", slot(7, 0), Qt::RightButton);
    child<QMenu>(w, "popmenuPlayPage")->hide();
    ask.dialogs.push_back([](QDialog& d) {
      auto& dlg = static_cast<RepeatDialog&>(d);
      tick(dlg.cbRepeat);
      retype(dlg.editRepeat, QStringLiteral("3"));
      tick(dlg.cbLoop);
      clickIn(dlg, "OKBtn");
      return dlg.result() == QDialog::Accepted;
    });
    trigger(w, "pmenu4Repeat");
    click(w, "sbtnLoop");
    QCOMPARE(ask.unanswered, 0);

    PageContents page;
    page.Kind = PageKind::Play;
    std::copy(&w.state().PlayPage[0][0], &w.state().PlayPage[0][0] + 72, &page.PlayPage[0][0]);
    page.Header.ThreeFour = true;
    page.Header.Loop = true;
    const TRepeatSet marks = w.state().Play.RepeatSet34;
    QCOMPARE(int(marks.RepeatCount[1]), 3);
    const auto picture = pagePicture(page, marks, w.state().Names);
    QVERIFY(picture);
    QCOMPARE(picture->Heading, QStringLiteral("Strumbo! Play Page: "));
    QCOMPARE(picture->Picture, child<SurfaceView>(w, "imgPlayPage")->image());
  }

  void theScalePageMatchesItsTab() {
    WindowRig rig;
    MainWindow& w = rig.w;
    chooseKey(w, 7);
    chooseScale(w, 9);  // G Major Pentatonic
    clickShowChords(w);
    QCOMPARE(w.state().ScaleCount, 1);

    PageContents scales;
    scales.Kind = PageKind::Scale;
    std::copy(std::begin(w.state().ScalePage), std::end(w.state().ScalePage), scales.ScalePage);
    const auto scalePicture = pagePicture(scales, std::nullopt, w.state().Names);
    QVERIFY(scalePicture);
    QCOMPARE(scalePicture->Picture,
             withoutSelectionFrame(child<SurfaceView>(w, "imgScales")->image(),
                                   w.scalesPage()->frame()));
  }

  // An E major set looks the same on the screen, on the printed sheet, in
  // the window reopening its file and in the command line's PDF of the file:
  // all of them head it "E major", as the menu names the type.
  void aMajorSetLooksTheSameEverywhere() {
    QTemporaryDir out;
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    chooseKey(w, 4);
    chooseChordType(w, 1, 0);  // E major
    clickShowChords(w);
    QCOMPARE(w.state().ChordSetCount, 1);
    const TChordDiagram first = w.state().ChordPage[0][0];
    QCOMPARE(first.ChordName.str(), std::string("maj"));  // the dictionary's own name
    const std::string header = DiagramText::chordSetHeader(first, w.state().Names);
    QCOMPARE(QString::fromStdString(header.substr(0, header.find("   ["))),
             QStringLiteral("E major"));
    const SurfaceView* surface = child<SurfaceView>(w, "imgChordPage");
    const QImage screen = withoutSelectionFrame(surface->image(), w.chordsPage()->frame());

    // The printed sheet.
    ask.files.push_back(out.filePath(QStringLiteral("sheet.pdf")));
    trigger(w, "mnuExportPdf");
    QCOMPARE(w.printing()->sheetsPrinted(), 1);
    QCOMPARE(difference(w.printing()->lastPicture(), screen), QString());

    // The page file, opened again in the window.
    const QString file = out.filePath(QStringLiteral("emajor.cpf"));
    ask.files.push_back(file);
    click(w, "sbtnSave");
    trigger(w, "mnuNew");
    QCOMPARE(w.state().ChordSetCount, 0);
    ask.files.push_back(file);
    click(w, "sbtnOpen");
    QCOMPARE(w.state().ChordSetCount, 1);
    QCOMPARE(ask.messages, QStringList());
    QCOMPARE(ask.unanswered, 0);
    QCOMPARE(difference(withoutSelectionFrame(surface->image(), w.chordsPage()->frame()), screen),
             QString());

    // The picture the command line hands to the PDF writer for that file.
    PosixFileLayer files;
    PageContents page;
    std::optional<TRepeatSet> companion;
    QCOMPARE(loadPageFile(files, file.toStdString(), PageKind::Chord, page, companion),
             std::string());
    const auto exported = pagePicture(page, companion, w.state().Names);
    QVERIFY(exported);
    QCOMPARE(exported->Heading, QStringLiteral("Strumbo! Chord Page: "));
    QCOMPARE(difference(exported->Picture, screen), QString());
  }
};

QTEST_MAIN(PagePictureTest)
#include "PagePictureTest.moc"
