#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QtTest>

#include "DataDir.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "ui/ChordDesignTab.h"
#include "ui/MainWindow.h"

namespace {

// Where `widget` lies in `ancestor`'s coordinates.
QRect placeIn(const QWidget* widget, const QWidget* ancestor) {
  return QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
}

// The label whose text is `caption` among the tab's own controls.
QLabel* labelCaptioned(QWidget& tab, const QString& caption) {
  for (QLabel* l : tab.findChildren<QLabel*>())
    if (l->text() == caption) return l;
  return nullptr;
}

// The Chord Design tab of a shown window of `size`, laid out.
[[nodiscard]] bool showDesignTab(MainWindow& w, QSize size) {
  w.show();
  if (!QTest::qWaitForWindowExposed(&w)) return false;
  w.resize(size);
  clickTab(w, int(PlayTab::ChordDesign));
  QApplication::processEvents();
  return w.currentTab() == PlayTab::ChordDesign;
}

}  // namespace

class ChordDesignTabTest : public QObject {
  Q_OBJECT

 private slots:
  // The window's size at start on any screen but an 800 x 600 one.
  void theTabFitsTheStartingWindow() {
    WindowRig rig;
    MainWindow& w = rig.w;
    QVERIFY(showDesignTab(w, QSize(808, 608)));
    auto* scroll = child<QScrollArea>(w, "scrollChordDesign");
    QVERIFY(!scroll->horizontalScrollBar()->isVisible());
    QVERIFY(!scroll->verticalScrollBar()->isVisible());
    const QRect seen = scroll->viewport()->rect();
    for (const char* name : {"listChordDesign", "imgChordDesign", "btnSearch", "rgRootOp",
                             "sbDisplayIntervals", "ComboBox1", "editTab5"})
      QVERIFY2(seen.contains(placeIn(child(w, name), scroll->viewport())), name);
  }

  void tablatureIsAColumnOnItsStaffHighestStringOnTop() {
    WindowRig rig;
    MainWindow& w = rig.w;
    QVERIFY(showDesignTab(w, QSize(808, 608)));
    QWidget* page = w.chordDesign();
    QWidget* staff = child(w, "imgTablature");
    const QRect staffAt = placeIn(staff, page);
    int lastTop = -1;
    for (int s = 0; s < 6; ++s) {
      auto* box = child<QLineEdit>(w, QStringLiteral("editTab%1").arg(s).toLatin1().constData());
      const QRect at = placeIn(box, page);
      QCOMPARE(box->property("tag").toInt(), s);
      QCOMPARE(box->maxLength(), 2);
      QVERIFY(at.top() > lastTop);
      lastTop = at.top();
      QCOMPARE(at.left(), placeIn(child(w, "editTab0"), page).left());
      // Right of the staff, on the line of its string: the staff is black
      // at its right edge level with the box's middle.
      QVERIFY(at.left() >= staffAt.right() && at.left() - staffAt.right() < 8);
      const QImage picture = staff->grab().toImage();
      const int y = at.center().y() - staffAt.top();
      QVERIFY2(y >= 0 && y < picture.height(), "box beside the staff");
      bool line = false;
      for (int dy = -1; dy <= 1; ++dy)
        line = line || picture.pixelColor(picture.width() - 1, y + dy) == QColor(Qt::black);
      QVERIFY2(line, qPrintable(QStringLiteral("no staff line beside string %1").arg(s)));
    }
  }

  void aLargerWindowKeepsCaptionsBesideTheirControls() {
    WindowRig rig;
    MainWindow& w = rig.w;
    QVERIFY(showDesignTab(w, QSize(1024, 768)));
    QWidget* page = w.chordDesign();
    const struct {
      const char* caption;
      const char* control;
    } pairs[] = {{"Finger", "sbtnPlain"}, {"Root", "editRoot"}, {"Bass", "editBass"}};
    for (const auto& p : pairs) {
      QLabel* label = labelCaptioned(*page, QLatin1String(p.caption));
      QVERIFY2(label, p.caption);
      const QRect l = placeIn(label, page), c = placeIn(child(w, p.control), page);
      QVERIFY2(c.left() > l.left() && c.left() - l.right() < 16, p.caption);
      QVERIFY2(c.top() < l.bottom() && l.top() < c.bottom(), p.caption);
    }
    // The staff stays beside the group's picture, the list takes the room.
    const QRect group = placeIn(child(w, "imgChordDesign"), page);
    QVERIFY(placeIn(child(w, "imgTablature"), page).left() - group.right() < 24);
    QVERIFY(child(w, "listChordDesign")->width() > 500);
  }
};

QTEST_MAIN(ChordDesignTabTest)
#include "ChordDesignTabTest.moc"
