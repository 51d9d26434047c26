#include "ui/ChordDesignTab.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <functional>

#include "library/MenuTables.h"
#include "render/TablaturePicture.h"
#include "ui/HelpContext.h"
#include "ui/RecordText.h"
#include "ui/SurfaceView.h"
#include "ui/TabStopDelegate.h"
#include "ui/UpDown.h"

namespace {

// The tablature staff: its width, and the height of each string's row, which
// is also the height of each box.
constexpr int TablatureWidth = 36, TablaturePitch = 20;

// The search results. A wheel turned over the list scrolls the list alone:
// at either end it is spent there, rather than moving the tab under the
// pointer onto another control.
class ResultList : public QListWidget {
 public:
  using QListWidget::QListWidget;

 protected:
  void wheelEvent(QWheelEvent* event) override {
    QListWidget::wheelEvent(event);
    event->accept();
  }
};

// The chord-type list and its pop-up menu share one help section.
constexpr int ChordTypesHelpContext = 400;

QLineEdit* readOnlyField(QWidget* parent, const QString& name, int width) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setReadOnly(true);
  e->setFixedWidth(width);
  e->setFocusPolicy(Qt::NoFocus);
  return e;
}

QGroupBox* radioGroup(QWidget* parent, const char* name, const char* caption,
                      std::initializer_list<const char*> items, int selected,
                      QButtonGroup*& group) {
  auto* box = new QGroupBox(QLatin1String(caption), parent);
  box->setObjectName(QLatin1String(name));
  group = new QButtonGroup(box);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(6, 2, 6, 2);
  layout->setSpacing(0);
  int id = 0;
  for (const char* item : items) {
    auto* r = new QRadioButton(QLatin1String(item), box);
    r->setFocusPolicy(Qt::NoFocus);
    group->addButton(r, id);
    layout->addWidget(r);
    if (id == selected) r->setChecked(true);
    ++id;
  }
  return box;
}

}  // namespace

ChordDesignTab::ChordDesignTab(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("pageChordDesignContents"));
  imgChordDesign = new SurfaceView(QStringLiteral("imgChordDesign"), QSize(456, 101), this);

  // Root and bass of the edited fingering.
  udRoot = new UpDown(QStringLiteral("udRoot"), 0, 11, 0, true, this);
  udBass = new UpDown(QStringLiteral("udBass"), 0, 11, 0, true, this);
  editRoot = readOnlyField(this, QStringLiteral("editRoot"), 32);
  editBass = readOnlyField(this, QStringLiteral("editBass"), 32);
  imgChordDesign->setAccessibleName(QStringLiteral("Design group"));
  imgChordDesign->setAccessibleDescription(
      QStringLiteral("The fingerings kept in the design group; a click takes one in hand"));
  udRoot->nameFor(QStringLiteral("Root"));
  udBass->nameFor(QStringLiteral("Bass"));
  editRoot->setAccessibleName(QStringLiteral("Root"));
  editBass->setAccessibleName(QStringLiteral("Bass"));
  editRoot->setText(QStringLiteral("C"));
  editBass->setText(QStringLiteral("C"));
  connect(udRoot, &UpDown::stepped, this, &ChordDesignTab::rootStepped);
  connect(udRoot, &UpDown::committed, this, &ChordDesignTab::rootCommitted);
  connect(udBass, &UpDown::stepped, this, &ChordDesignTab::bassStepped);

  // Finger markers: exactly one is down.
  fingerMarkers = new QButtonGroup(this);
  fingerMarkers->setExclusive(true);
  const struct {
    QToolButton** button;
    const char* name;
    const char* caption;
    int finger;
  } markers[] = {{&sbtnPlain, "sbtnPlain", "P", 6},
                 {&sbtnOne, "sbtnOne", "1", 1},
                 {&sbtnTwo, "sbtnTwo", "2", 2},
                 {&sbtnThree, "sbtnThree", "3", 3},
                 {&sbtnFour, "sbtnFour", "4", 4}};
  auto* markerRow = new QHBoxLayout;
  markerRow->setSpacing(1);
  markerRow->addWidget(new QLabel(QStringLiteral("Finger"), this));
  markerRow->addSpacing(4);
  for (const auto& m : markers) {
    auto* b = new QToolButton(this);
    b->setObjectName(QLatin1String(m.name));
    b->setText(QLatin1String(m.caption));
    b->setCheckable(true);
    b->setFixedSize(22, 20);
    b->setFocusPolicy(Qt::NoFocus);
    fingerMarkers->addButton(b, m.finger);
    markerRow->addWidget(b);
    *m.button = b;
  }
  sbtnPlain->setChecked(true);

  // Tablature: a box per string stacked on the lines of a little staff,
  // string 0 (the highest) at the top as a guitarist reads tab.
  imgTablature = new SurfaceView(QStringLiteral("imgTablature"),
                                 QSize(TablatureWidth, 6 * TablaturePitch), this);
  imgTablature->setImage(
      tablaturePicture(TablatureWidth, TablaturePitch, imgTablature->pixelRatio()));
  imgTablature->setAccessibleName(QStringLiteral("Tablature"));
  auto* tabBoxes = new QVBoxLayout;
  tabBoxes->setSpacing(0);
  for (int s = 0; s < 6; ++s) {
    editTab[s] = new QLineEdit(this);
    editTab[s]->setObjectName(QStringLiteral("editTab%1").arg(s));
    editTab[s]->setProperty("tag", s);
    editTab[s]->setAccessibleName(QStringLiteral("Tablature string %1").arg(s + 1));
    editTab[s]->setAccessibleDescription(
        QStringLiteral("Fret of string %1; empty when the string is not played").arg(s + 1));
    editTab[s]->setFixedSize(28, TablaturePitch);
    editTab[s]->setMaxLength(2);
    editTab[s]->setAlignment(Qt::AlignCenter);
    tabBoxes->addWidget(editTab[s]);
  }
  auto* tablature = new QHBoxLayout;
  tablature->setSpacing(2);
  tablature->addWidget(imgTablature, 0, Qt::AlignTop);
  tablature->addLayout(tabBoxes);

  auto* rootRow = new QHBoxLayout;
  rootRow->setSpacing(2);
  rootRow->addWidget(new QLabel(QStringLiteral("Root"), this));
  rootRow->addWidget(editRoot);
  rootRow->addWidget(udRoot);
  rootRow->addSpacing(8);
  rootRow->addWidget(new QLabel(QStringLiteral("Bass"), this));
  rootRow->addWidget(editBass);
  rootRow->addWidget(udBass);
  rootRow->addStretch(1);
  markerRow->addStretch(1);

  // Chord-type list and the intervals display.
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  setHelpContext(ComboBox1, ChordTypesHelpContext);
  ComboBox1->setFocusPolicy(Qt::NoFocus);
  for (std::string_view name : DictionaryChordNames) ComboBox1->addItem(qs(name));
  ComboBox1->setCurrentIndex(0);
  // A modest width whatever the user chords are called, so the tab fits the
  // window; the drop-down shows the names whole.
  ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  ComboBox1->setMinimumContentsLength(12);
  sbDisplayIntervals = new QToolButton(this);
  sbDisplayIntervals->setObjectName(QStringLiteral("sbDisplayIntervals"));
  sbDisplayIntervals->setText(QStringLiteral("Show Intervals"));
  sbDisplayIntervals->setCheckable(true);
  sbDisplayIntervals->setFocusPolicy(Qt::NoFocus);

  auto* editColumn = new QVBoxLayout;
  editColumn->setSpacing(3);
  editColumn->addLayout(rootRow);
  editColumn->addLayout(markerRow);
  editColumn->addSpacing(4);
  editColumn->addWidget(new QLabel(QStringLiteral("Use Chord Intervals For:"), this));
  editColumn->addWidget(ComboBox1, 0, Qt::AlignLeft);
  editColumn->addWidget(sbDisplayIntervals, 0, Qt::AlignLeft);
  editColumn->addStretch(1);

  // The design group and, under it, the file it was saved to or loaded from.
  lblCDFilePath = new QLabel(QStringLiteral("File:"), this);
  lblCDFilePath->setObjectName(QStringLiteral("lblCDFilePath"));
  // A long path is cut rather than widening the tab.
  lblCDFilePath->setMaximumWidth(imgChordDesign->width());
  auto* groupColumn = new QVBoxLayout;
  groupColumn->setSpacing(2);
  groupColumn->addWidget(imgChordDesign);
  groupColumn->addWidget(lblCDFilePath);
  groupColumn->addStretch(1);
  auto* top = new QHBoxLayout;
  top->setSpacing(10);
  top->addLayout(groupColumn);
  top->addLayout(tablature);
  top->addLayout(editColumn);
  top->addStretch(1);

  // Chord search.
  rgIntervalOp = radioGroup(this, "rgIntervalOp", "Interval Note Options",
                            {"Search For All Chords Containing These Notes",
                             "Limit Search To Chords With These Notes Only"},
                            1, intervalOptions);
  rgRootOp = radioGroup(
      this, "rgRootOp", "Root Note Options",
      {"Use Current Root Note Only", "Use Each Note In Chord As Root", "Use All 12 Keys As Root"},
      0, rootOptions);
  btnSearch = new QPushButton(QStringLiteral("Search"), this);
  btnSearch->setObjectName(QStringLiteral("btnSearch"));
  listChordDesign = new ResultList(this);
  listChordDesign->setObjectName(QStringLiteral("listChordDesign"));
  listChordDesign->setAccessibleName(QStringLiteral("Chords found"));
  listChordDesign->setMinimumWidth(240);
  // A few lines are enough; the list takes whatever height the window gives.
  listChordDesign->setMinimumHeight(60);
  // A result line is dragged onto the design group to fetch its fingerings.
  listChordDesign->setDragEnabled(true);
  listChordDesign->setDragDropMode(QAbstractItemView::DragOnly);

  auto* options = new QVBoxLayout;
  options->setSpacing(4);
  options->addWidget(rgIntervalOp);
  options->addWidget(rgRootOp);
  options->addStretch(1);
  cbSuggest = new QCheckBox(QStringLiteral("Suggest"), this);
  cbSuggest->setObjectName(QStringLiteral("cbSuggest"));
  cbSuggest->setToolTip(
      QStringLiteral("A chord dropped on the group comes ordered by how easily the hand reaches "
                     "each fingering from the PlayPage chord before the selected slot"));
  connect(cbSuggest, &QCheckBox::clicked, this, &ChordDesignTab::suggestClicked);
  auto* searchColumn = new QVBoxLayout;
  searchColumn->addWidget(btnSearch);
  searchColumn->addWidget(cbSuggest);
  searchColumn->addStretch(1);
  auto* bottom = new QHBoxLayout;
  bottom->addLayout(options);
  bottom->addLayout(searchColumn);
  bottom->addWidget(listChordDesign, 1);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(6, 6, 6, 6);
  page->setSpacing(6);
  page->addLayout(top);
  page->addLayout(bottom, 1);
}

int ChordDesignTab::selectedFinger() const {
  const int id = fingerMarkers->checkedId();
  return id < 0 ? 6 : id;
}

void ChordDesignTab::selectFinger(int finger) {
  if (auto* b = fingerMarkers->button(finger)) b->setChecked(true);
}

bool ChordDesignTab::fingerKey(int key) {
  if (key >= Qt::Key_1 && key <= Qt::Key_4) {
    selectFinger(key - Qt::Key_0);
    return true;
  }
  if (key == Qt::Key_P) {
    selectFinger(6);
    return true;
  }
  return false;
}

int ChordDesignTab::rootPosition() const {
  return udRoot->position();
}

int ChordDesignTab::bassPosition() const {
  return udBass->position();
}

void ChordDesignTab::showRootAndBass(int root, std::string_view rootName, int bass,
                                     std::string_view bassName) {
  udRoot->setPosition(root);
  editRoot->setText(qs(rootName));
  showBass(bass, bassName);
}

void ChordDesignTab::showBass(int bass, std::string_view bassName) {
  udBass->setPosition(bass);
  editBass->setText(qs(bassName));
}

void ChordDesignTab::showTab(const std::array<std::string, 6>& frets) {
  for (int s = 0; s < 6; ++s) editTab[s]->setText(QString::fromStdString(frets[s]));
}

void ChordDesignTab::setUserChordNames(const std::vector<std::string>& names) {
  for (const std::string& name : names) ComboBox1->addItem(qs(name));
  ComboBox1->setCurrentIndex(0);
}

void ChordDesignTab::showTabBox(int s, const QString& text) {
  if (s >= 0 && s < 6) editTab[s]->setText(text);
}

namespace {

// Reports every pointer move over the widgets it watches.
class PointerMoves : public QObject {
 public:
  PointerMoves(std::function<void()> moved, QObject* parent)
      : QObject(parent), Moved(std::move(moved)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseMove) Moved();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> Moved;
};

}  // namespace

int ChordDesignTab::intervalOption() const {
  return std::max(0, intervalOptions->checkedId());
}

void ChordDesignTab::setIntervalOption(int item) {
  if (auto* b = intervalOptions->button(item)) b->setChecked(true);
}

int ChordDesignTab::rootOption() const {
  return std::max(0, rootOptions->checkedId());
}

void ChordDesignTab::setRootOption(int item) {
  if (auto* b = rootOptions->button(item)) b->setChecked(true);
}

void ChordDesignTab::clearSearchResults() {
  listChordDesign->clear();
  // The next search's first lines in view, not the old scroll position.
  listChordDesign->scrollToTop();
}

void ChordDesignTab::addSearchResult(const QString& line, const QString& why,
                                     std::optional<QPoint> chord) {
  auto* item = new QListWidgetItem(line, listChordDesign);
  if (chord) item->setData(Qt::UserRole, *chord);
  if (!why.isEmpty()) item->setToolTip(why);
}

void ChordDesignTab::connectSearch() {
  connect(btnSearch, &QPushButton::clicked, this, &ChordDesignTab::searchClicked);
  listChordDesign->setItemDelegate(new TabStopDelegate(listChordDesign));
  auto* moves = new PointerMoves([this] { emit pointerOverSearch(); }, this);
  for (QWidget* w : {static_cast<QWidget*>(this), listChordDesign->viewport()}) {
    w->setMouseTracking(true);
    w->installEventFilter(moves);
  }
}

int ChordDesignTab::chordTypeIndex() const {
  return ComboBox1->currentIndex();
}

int ChordDesignTab::chordTypeCount() const {
  return ComboBox1->count();
}

void ChordDesignTab::appendChordType(const std::string& name) {
  QSignalBlocker quiet(ComboBox1);
  ComboBox1->addItem(qs(name));
}

void ChordDesignTab::removeChordType(int index) {
  QSignalBlocker quiet(ComboBox1);
  ComboBox1->removeItem(index);
}

void ChordDesignTab::chooseChordType(int index) {
  QSignalBlocker quiet(ComboBox1);
  ComboBox1->setCurrentIndex(index);
}

void ChordDesignTab::setIntervalsShown(bool down) {
  QSignalBlocker quiet(sbDisplayIntervals);
  sbDisplayIntervals->setChecked(down);
}

void ChordDesignTab::enableChordTypeCommands() {
  if (findChild<QMenu*>(QStringLiteral("popmenuCombo"))) return;
  auto* popmenuCombo = new QMenu(this);
  popmenuCombo->setObjectName(QStringLiteral("popmenuCombo"));
  setHelpContext(popmenuCombo, ChordTypesHelpContext);
  QAction* add = popmenuCombo->addAction(QStringLiteral("Add User Chord"));
  add->setObjectName(QStringLiteral("pmenu6Add"));
  QAction* remove = popmenuCombo->addAction(QStringLiteral("Delete User Chord"));
  remove->setObjectName(QStringLiteral("pmenu6Delete"));
  connect(add, &QAction::triggered, this, &ChordDesignTab::addUserChordChosen);
  connect(remove, &QAction::triggered, this, &ChordDesignTab::deleteUserChordChosen);
  ComboBox1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ComboBox1, &QWidget::customContextMenuRequested, popmenuCombo,
          [this, popmenuCombo](QPoint at) { popmenuCombo->popup(ComboBox1->mapToGlobal(at)); });
  connect(ComboBox1, &QComboBox::activated, this, &ChordDesignTab::chordTypeChosen);
  connect(sbDisplayIntervals, &QToolButton::clicked, this, &ChordDesignTab::intervalsClicked);
}

void ChordDesignTab::showFilePath(const QString& path) {
  lblCDFilePath->setText(path.isEmpty() ? QStringLiteral("File:")
                                        : QStringLiteral("File: ") + path);
}
