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

QLineEdit* makeField(QWidget* parent, const char* name, int maxLength, int width) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QLatin1String(name));
  e->setReadOnly(true);
  e->setMaxLength(maxLength);
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
  sbtnLeftHanded = makeButton(this, "sbtnLeftHanded", "Left Handed", true);
  sbtnLeftHanded->setVisible(false);
  sbtnLeftHanded->setEnabled(false);

  btnShowChords = new QPushButton(QStringLiteral("Show Chords"), this);
  btnShowChords->setObjectName(QStringLiteral("btnShowChords"));
  btnShowChords->setFocusPolicy(Qt::NoFocus);

  editChordRoot = makeField(this, "editChordRoot", 2, 34);
  editChordName = makeField(this, "editChordName", 20, 120);
  auto* rootLabel = new QLabel(QStringLiteral("Root"), this);
  Label4 = new QLabel(QStringLiteral("Chord Name"), this);
  Label4->setObjectName(QStringLiteral("Label4"));

  sbStrumSpeed = new QScrollBar(Qt::Horizontal, this);
  sbStrumSpeed->setObjectName(QStringLiteral("sbStrumSpeed"));
  sbStrumSpeed->setRange(-800, 0);
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
  top->addWidget(sbtnLeftHanded);

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
}
