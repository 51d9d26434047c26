#include "ui/PageCommands.h"

#include <QPainter>
#include <QPen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

#include "play/PlayPageGeometry.h"
#include "render/PageDrawer.h"
#include "state/Workbench.h"
#include "ui/BusyGuard.h"
#include "ui/ChordDesignTab.h"
#include "ui/ChordsTab.h"
#include "ui/DesignGroupController.h"
#include "ui/FretboardPanel.h"
#include "ui/PageLookOf.h"
#include "ui/PlayPageTab.h"
#include "ui/PrintPageTab.h"
#include "ui/Prompter.h"
#include "ui/ScalesTab.h"
#include "ui/SmoothDialog.h"
#include "ui/TransposeDialog.h"

PageCommands::PageCommands(Parts parts, QObject* parent) : QObject(parent), P(parts) {}

void PageCommands::showPageCaption(PlayTab tab) {
  P.Window.setWindowTitle(QStringLiteral("Strumbo!   ") +
                          QString::fromStdString(P.Bench.State.lastPageFile(tab)));
}

void PageCommands::scrollToTop(PlayTab tab) {
  if (QScrollArea* scroll = P.Scrolls[static_cast<int>(tab)])
    scroll->verticalScrollBar()->setValue(0);
}

void PageCommands::PageControl1Change(PlayTab tab, bool byUser) {
  apply(P.Bench.tabChanged(tab, byUser));
}

void PageCommands::sendTo(PlayTab to) {
  if (P.Guard.active()) return;
  apply(P.Bench.sendTo(P.Bench.activeTab(), to));
}

void PageCommands::eraseActivePage(std::string_view label) {
  if (P.Guard.active()) return;
  const PlayTab tab = P.Bench.activeTab();
  BenchUpdate u = P.Bench.erasePage(tab, label);
  if (u.Question) {
    if (!P.Ask.ask(&P.Window, QString::fromStdString(u.Question->Text), u.Question->DefaultYes))
      return;
    u = P.Bench.erasePage(tab, label, true);
  }
  apply(u);
}

void PageCommands::erasePage(PlayTab tab) {
  apply(P.Bench.clearPage(tab));
}

void PageCommands::undoClick() {
  if (P.Guard.active()) return;
  apply(P.Bench.undo(P.Bench.activeTab()));
}

void PageCommands::redoClick() {
  if (P.Guard.active()) return;
  apply(P.Bench.redo(P.Bench.activeTab()));
}

void PageCommands::smoothClick() {
  if (P.Guard.active()) return;
  const std::string dir = P.Bench.State.ExeDir;
  // The picture shows the page as it would become, every chord that
  // changes framed.
  auto preview = [this, dir](const SmoothRequest& r) {
    PageContents page = P.Bench.contents(PageKind::Play);
    LibraryFingerings library(dir);
    const SmoothResult result = smoothFingerings(page.PlayPage, r, library);
    SmoothDialog::Preview p;
    p.Page = drawPage(page, P.Bench.State.Play.savedSet(), pageLookOf(P.Bench.State)).Surface;
    QPainter painter(&p.Page);
    painter.setPen(QPen(Qt::red, 3));
    for (const PlaySlot& s : result.Changed)
      painter.drawRect(PlayGeometry::slotX(s.Column) - 4,
                       PlayGeometry::rowTop(s.Row) + PlayGeometry::CaptionTop - 4,
                       PlayGeometry::ColumnPitch - 4,
                       PlayGeometry::StaffTop - PlayGeometry::CaptionTop - 6);
    p.Changes = static_cast<int>(result.Changed.size());
    p.TravelBefore = result.TravelBefore;
    p.TravelAfter = result.TravelAfter;
    return p;
  };
  SmoothDialog dialog(P.Bench.smoothRequest(), preview, &P.Window);
  if (!P.Ask.execDialog(dialog)) return;
  apply(P.Bench.smoothFingerings(dialog.request()));
}

void PageCommands::transposeClick() {
  if (P.Guard.active()) return;
  const PlayTab tab = P.Bench.activeTab();
  if (tab != PlayTab::PlayPage && tab != PlayTab::ChordDesign && tab != PlayTab::Print) {
    P.Ask.message(&P.Window, QStringLiteral("Transpose works on the PlayPage, the Print page and "
                                            "the Chord Design group."));
    return;
  }
  const AppState& st = P.Bench.State;
  TransposeDialog dialog(P.Bench.firstRoot(tab), st.Names.sharps(), &P.Window);
  if (!P.Ask.execDialog(dialog)) return;
  if (dialog.sharps() != st.Names.sharps()) emit namingChosen(dialog.sharps());
  const Workbench::Transposed t = P.Bench.transpose(tab, dialog.steps());
  apply(t.Update);
  if (t.Report.ShapeChanged.empty()) return;
  QString numbers;
  for (int i : t.Report.ShapeChanged) numbers += QStringLiteral(" %1").arg(i + 1);
  P.Ask.message(&P.Window,
                QStringLiteral("These chords could not move as their shapes and now have the "
                               "library's nearest fingering:%1.")
                    .arg(numbers));
}

void PageCommands::apply(const BenchUpdate& u) {
  if (u.GroupEnded) T.Group.show(*u.GroupEnded);
  if (u.PlayEnded) T.PlayPage.show(*u.PlayEnded);
  if (u.PrintEnded) T.Print.show(*u.PrintEnded);
  if (u.ScalesEnded) T.Scales.show(*u.ScalesEnded);
  if (u.Entered) {
    P.Fretboard.resetIntervalColours();
    P.Fretboard.setTuningEnabled(*u.Entered == PlayTab::ChordDesign ||
                                 *u.Entered == PlayTab::Scales);
    showPageCaption(*u.Entered);
  }
  if (u.ShowTab) P.ShowTab(*u.ShowTab);
  if (u.Erased) showErased(*u.Erased, u);
  if (u.Restored) showRestored(*u.Restored, u);
  if (u.ClearFretboard) P.Fretboard.ClearFretboard();
  if (u.Erased) {
    if (*u.Erased != PlayTab::ChordDesign) scrollToTop(*u.Erased);
    P.Window.setWindowTitle(QStringLiteral("Strumbo!"));
  }
  if (u.NeckTuning) P.Fretboard.showTuning(*u.NeckTuning);
  if (u.ShowContents) showTabContents(*u.ShowContents);
  if (u.SentTo) showSent(*u.SentTo, u);
}

void PageCommands::showErased(PlayTab tab, const BenchUpdate& u) {
  switch (tab) {
    case PlayTab::Chords:
      T.Chords.showErased();
      break;
    case PlayTab::Print:
      T.Print.showErased(u.Print.value_or(PrintUpdate{}));
      break;
    case PlayTab::ChordDesign:
      T.Group.showErased(u.Group.value_or(GroupUpdate{}));
      T.Design.showFilePath(QString());
      break;
    case PlayTab::Scales:
      T.Scales.showErased();
      break;
    case PlayTab::PlayPage:
      if (u.Play) T.PlayPage.show(*u.Play);
      break;
  }
}

void PageCommands::showRestored(PlayTab tab, const BenchUpdate& u) {
  switch (tab) {
    case PlayTab::Chords:
      if (u.Chords) T.Chords.showRestored(*u.Chords);
      break;
    case PlayTab::Scales:
      if (u.Scales) T.Scales.showRestored(*u.Scales);
      break;
    case PlayTab::Print:
      if (u.Print) T.Print.showRestored(*u.Print);
      break;
    case PlayTab::PlayPage:
      if (u.Play) T.PlayPage.show(*u.Play);
      break;
    case PlayTab::ChordDesign:
      T.Group.showRestored(u.Group.value_or(GroupUpdate{}));
      break;
  }
}

void PageCommands::showSent(PlayTab tab, const BenchUpdate& u) {
  switch (tab) {
    case PlayTab::Print:
      if (u.Print) T.Print.show(*u.Print);
      break;
    case PlayTab::PlayPage:
      if (u.Play) T.PlayPage.show(*u.Play);
      break;
    case PlayTab::ChordDesign:
      T.Group.showReceived(u.Group.value_or(GroupUpdate{}));
      break;
    case PlayTab::Scales:
      if (u.Scales) T.Scales.show(*u.Scales);
      break;
    case PlayTab::Chords:
      break;
  }
}

void PageCommands::showTabContents(PlayTab tab) {
  const AppState& st = P.Bench.State;
  switch (tab) {
    case PlayTab::Chords:
      P.Fretboard.ShowDiagram(st.SelectedChord);
      break;
    case PlayTab::ChordDesign:
      // With Show Intervals down the chord type is laid over the fingering
      // again, in place of its arpeggio.
      P.Fretboard.showEditChordDisplay();
      break;
    case PlayTab::PlayPage:
      P.Fretboard.ShowDiagram(st.SelectedPlayChord);
      break;
    case PlayTab::Scales:
      P.Fretboard.ShowScaleOnFretboard(st.CurrentScale);
      break;
    case PlayTab::Print:
      P.Fretboard.showPrintItem(st.SelectedPrintItem);
      break;
  }
}

void PageCommands::pageLoaded(PageKind kind, const PageContents& page,
                              const std::optional<TRepeatSet>& companion, const std::string& path) {
  switch (kind) {
    case PageKind::Chord:
      erasePage(PlayTab::Chords);
      T.Chords.loadPage(page.ChordPage);
      break;
    case PageKind::Print:
      erasePage(PlayTab::Print);
      T.Print.loadPage(page.PrintPage);
      break;
    case PageKind::Design:
      // The group is overwritten slot by slot, not erased first.
      T.Group.loadGroup(page.DesignGroup);
      T.Design.showFilePath(QString::fromStdString(path));
      break;
    case PageKind::Play:
      T.PlayPage.loadHeader(page.Header);
      // The erase draws the staff rows in the page's time signature.
      erasePage(PlayTab::PlayPage);
      T.PlayPage.loadSlots(page.PlayPage);
      if (companion) P.Bench.State.Play.savedSet() = *companion;
      T.PlayPage.DrawRepeatMarks();
      break;
    case PageKind::Scale:
      erasePage(PlayTab::Scales);
      T.Scales.loadPage(page.ScalePage);
      break;
  }
}

void PageCommands::pageSaved(PageKind kind, const std::string& path) {
  if (kind == PageKind::Design) T.Design.showFilePath(QString::fromStdString(path));
}

void PageCommands::selectPressed(PlayTab tab) {
  if (tab == PlayTab::Chords) {
    const QPoint cell = T.Chords.currentCell();
    if (cell != T.Chords.framedCell()) T.Chords.selectCell(cell.x(), cell.y());
  } else if (tab == PlayTab::Scales) {
    if (T.Scales.pressedCell() != T.Scales.selectedCell()) T.Scales.selectPressedCell();
  }
}
