#include "ui/ToolBarPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* makeButton(QWidget* parent, const char* name, const char* caption, bool toggle) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QLatin1String(name));
  b->setText(QLatin1String(caption));
  b->setCheckable(toggle);
  b->setAutoRaise(false);
  b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

// Read-only: no length limit, so whatever the program shows stands whole.
QLineEdit* makeField(QWidget* parent, const char* name, int width) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QLatin1String(name));
  e->setReadOnly(true);
  e->setFixedWidth(width);
  e->setFocusPolicy(Qt::NoFocus);
  return e;
}

QFrame* separator(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

ToolBarPanel::ToolBarPanel(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("pnlTop"));
  setFrameShape(QFrame::StyledPanel);

  sbtnOpen = makeButton(this, "sbtnOpen", "Open", false);
  sbtnSave = makeButton(this, "sbtnSave", "Save", false);
  sbtnPrintPage = makeButton(this, "sbtnPrintPage", "Print Page", false);
  sbtnErase = makeButton(this, "sbtnErase", "Erase Page", false);
  sbtnPlay = makeButton(this, "sbtnPlay", "Play", true);
  sbtnPause = makeButton(this, "sbtnPause", "Pause", true);
  sbtnStop = makeButton(this, "sbtnStop", "Stop", false);
  sbtnStep = makeButton(this, "sbtnStep", "Step Play", true);
  sbtnLoop = makeButton(this, "sbtnLoop", "Loop Play", true);
  sbtnCount = makeButton(this, "sbtnCount", "Count Off", true);
  sbtnClick = makeButton(this, "sbtnClick", "Click", true);
  sbtnTime = makeButton(this, "sbtnTime", "Time Signature", true);
  sbShowArp = makeButton(this, "sbShowArp", "Show Arpeggio", true);
  sbtnBassNote = makeButton(this, "sbtnBassNote", "Bass Note", true);
  sbtnFlip = makeButton(this, "sbtnFlip", "Flip", true);

  btnShowChords = new QPushButton(QStringLiteral("Show Chords"), this);
  btnShowChords->setObjectName(QStringLiteral("btnShowChords"));
  btnShowChords->setFocusPolicy(Qt::NoFocus);

  editChordRoot = makeField(this, "editChordRoot", 34);
  editChordName = makeField(this, "editChordName", 120);
  editChordRoot->setAccessibleName(QStringLiteral("Root"));
  editChordName->setAccessibleName(QStringLiteral("Chord name"));
  auto* rootLabel = new QLabel(QStringLiteral("Root"), this);
  Label4 = new QLabel(QStringLiteral("Chord Name"), this);
  Label4->setObjectName(QStringLiteral("Label4"));

  sbStrumSpeed = new QScrollBar(Qt::Horizontal, this);
  sbStrumSpeed->setObjectName(QStringLiteral("sbStrumSpeed"));
  sbStrumSpeed->setRange(SlowestStrumSpeed, FastestStrumSpeed);
  sbStrumSpeed->setValue(-300);
  sbStrumSpeed->setPageStep(50);
  sbStrumSpeed->setSingleStep(10);
  sbStrumSpeed->setFocusPolicy(Qt::StrongFocus);
  sbStrumSpeed->setFixedWidth(100);
  auto* speedLabel = new QLabel(QStringLiteral("Strum Speed"), this);

  auto* top = new QHBoxLayout;
  top->setSpacing(2);
  for (QWidget* w : {static_cast<QWidget*>(sbtnOpen), static_cast<QWidget*>(sbtnSave),
                     static_cast<QWidget*>(sbtnPrintPage), static_cast<QWidget*>(sbtnErase)})
    top->addWidget(w);
  top->addWidget(separator(this));
  for (QToolButton* b : {sbtnPlay, sbtnPause, sbtnStop, sbtnStep, sbtnLoop, sbtnCount, sbtnClick})
    top->addWidget(b);
  top->addWidget(separator(this));
  top->addWidget(sbtnTime);
  top->addStretch(1);

  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(4);
  bottom->addWidget(rootLabel);
  bottom->addWidget(editChordRoot);
  bottom->addWidget(Label4);
  bottom->addWidget(editChordName);
  bottom->addWidget(btnShowChords);
  bottom->addWidget(separator(this));
  bottom->addWidget(sbShowArp);
  bottom->addWidget(sbtnBassNote);
  bottom->addWidget(sbtnFlip);
  bottom->addStretch(1);
  bottom->addWidget(speedLabel);
  bottom->addWidget(sbStrumSpeed);

  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(4, 2, 4, 2);
  rows->setSpacing(2);
  rows->addLayout(top);
  rows->addLayout(bottom);
  connect(sbtnPlay, &QToolButton::clicked, this, &ToolBarPanel::playClicked);
  connect(sbtnPause, &QToolButton::clicked, this, &ToolBarPanel::pauseClicked);
  connect(sbtnStop, &QToolButton::clicked, this, &ToolBarPanel::stopClicked);
  connect(sbtnStep, &QToolButton::clicked, this, &ToolBarPanel::stepClicked);
  connect(sbtnLoop, &QToolButton::clicked, this, &ToolBarPanel::loopClicked);
  connect(sbtnTime, &QToolButton::clicked, this, &ToolBarPanel::timeClicked);
  connect(sbtnBassNote, &QToolButton::clicked, this, &ToolBarPanel::bassNoteClicked);
  connect(sbtnFlip, &QToolButton::clicked, this, &ToolBarPanel::flipClicked);
  connect(sbtnClick, &QToolButton::toggled, this, &ToolBarPanel::clickToggled);
  connect(sbShowArp, &QToolButton::clicked, this, &ToolBarPanel::showArpClicked);
  connect(sbStrumSpeed, &QScrollBar::valueChanged, this, &ToolBarPanel::strumSpeedChanged);
  connect(btnShowChords, &QPushButton::clicked, this, &ToolBarPanel::showChordsClicked);
  connect(sbtnPrintPage, &QToolButton::clicked, this, &ToolBarPanel::printPageClicked);
  connect(sbtnOpen, &QToolButton::clicked, this, &ToolBarPanel::openClicked);
  connect(sbtnSave, &QToolButton::clicked, this, &ToolBarPanel::saveClicked);
  connect(sbtnErase, &QToolButton::clicked, this, &ToolBarPanel::eraseClicked);
  connect(editChordRoot, &QLineEdit::editingFinished, this, &ToolBarPanel::rootEdited);
}

QToolButton* ToolBarPanel::button(Toggle toggle) const {
  switch (toggle) {
    case Toggle::BassNote:
      return sbtnBassNote;
    case Toggle::Flip:
      return sbtnFlip;
    case Toggle::Time:
      return sbtnTime;
    case Toggle::Play:
      return sbtnPlay;
    case Toggle::Pause:
      return sbtnPause;
    case Toggle::Count:
      return sbtnCount;
    case Toggle::Click:
      return sbtnClick;
    case Toggle::Loop:
      return sbtnLoop;
    case Toggle::Step:
      return sbtnStep;
    case Toggle::ShowArp:
      return sbShowArp;
  }
  return sbtnPlay;
}

bool ToolBarPanel::isOn(Toggle toggle) const {
  return button(toggle)->isChecked();
}

void ToolBarPanel::setOn(Toggle toggle, bool on) {
  QToolButton* b = button(toggle);
  QSignalBlocker block(b);
  b->setChecked(on);
}

PlayOptions ToolBarPanel::playOptions() const {
  PlayOptions o;
  o.CountOff = sbtnCount->isChecked();
  o.Click = sbtnClick->isChecked();
  return o;
}

void ToolBarPanel::setPlayButtons(bool playDown, bool pauseDown) {
  setOn(Toggle::Play, playDown);
  setOn(Toggle::Pause, pauseDown);
}

void ToolBarPanel::showChoice(const QString& name, bool isScale) {
  editChordName->setText(name);
  // A long scale name shows from its start.
  if (isScale) editChordName->setCursorPosition(0);
  btnShowChords->setText(isScale ? QStringLiteral("Show Scale") : QStringLiteral("Show Chords"));
  Label4->setText(isScale ? QStringLiteral("Scale Name") : QStringLiteral("Chord Name"));
}

void ToolBarPanel::showRoot(const QString& root) {
  editChordRoot->setText(root);
}

QString ToolBarPanel::root() const {
  return editChordRoot->text();
}

QString ToolBarPanel::choiceName() const {
  return editChordName->text();
}

bool ToolBarPanel::scaleChosen() const {
  return btnShowChords->text() == QStringLiteral("Show Scale");
}

void ToolBarPanel::setStrumSpeed(int position) {
  QSignalBlocker block(sbStrumSpeed);
  sbStrumSpeed->setValue(position);
}

void ToolBarPanel::focusStrumSpeed() {
  sbStrumSpeed->setFocus();
}
