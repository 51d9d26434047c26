#include "ui/MidiSetupDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <algorithm>

#include "midi/MidiComponent.h"
#include "midi/MidiSession.h"
#include "settings/GeneralMidiVoices.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "ui/BusyGuard.h"
#include "ui/HelpContext.h"

namespace {

constexpr std::uint16_t NoDevice = 65535;

QScrollBar* volumeBar(QWidget* parent, const char* name, int max) {
  auto* bar = new QScrollBar(Qt::Horizontal, parent);
  bar->setObjectName(QLatin1String(name));
  bar->setRange(0, max);
  bar->setPageStep(5);
  return bar;
}

QComboBox* pickList(QWidget* parent, const char* name) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QLatin1String(name));
  box->setEditable(false);
  return box;
}

// Selects the row whose device number is `device`, or none.
void selectDevice(QListWidget* list, int device) {
  list->setCurrentRow(-1);
  for (int row = 0; row < list->count(); ++row) {
    if (list->item(row)->data(Qt::UserRole).toInt() == device) {
      list->setCurrentRow(row);
      return;
    }
  }
}

std::uint16_t selectedDevice(const QListWidget* list) {
  const QListWidgetItem* item = list->currentItem();
  if (!item || list->currentRow() < 0) return NoDevice;
  return static_cast<std::uint16_t>(item->data(Qt::UserRole).toInt());
}

// A combo box position, or `fallback` when nothing is chosen (empty list).
int chosen(const QComboBox* box, int fallback) {
  return box->currentIndex() >= 0 ? box->currentIndex() : fallback;
}

}  // namespace

MidiSetupDialog::MidiSetupDialog(Settings& settings, ProfileFile& settingsFile, MidiSession& midi,
                                 MidiMessageTarget* window, QWidget* parent)
    : QDialog(parent), settings_(settings), file_(settingsFile), midi_(midi), window_(window) {
  showError = [this](const QString& text) {
    QMessageBox::critical(this, QStringLiteral("Strumbo!"), text);
  };
  buildControls();
  FormCreate();
}

void MidiSetupDialog::buildControls() {
  setObjectName(QStringLiteral("frmMidiSetup"));
  setHelpContext(this, HelpContext);
  setWindowTitle(QStringLiteral("MIDI Setup"));
  setFixedSize(427, 372);

  gbMidiIn = new QGroupBox(QStringLiteral("MIDI In Device"), this);
  gbMidiIn->setObjectName(QStringLiteral("gbMidiIn"));
  lbMidiIn = new QListWidget(gbMidiIn);
  lbMidiIn->setObjectName(QStringLiteral("lbMidiIn"));
  (new QVBoxLayout(gbMidiIn))->addWidget(lbMidiIn);

  gbMidiOut = new QGroupBox(QStringLiteral("MIDI Out Device"), this);
  gbMidiOut->setObjectName(QStringLiteral("gbMidiOut"));
  lbMidiOut = new QListWidget(gbMidiOut);
  lbMidiOut->setObjectName(QStringLiteral("lbMidiOut"));
  (new QVBoxLayout(gbMidiOut))->addWidget(lbMidiOut);

  auto part = [this](QGroupBox*& group, const char* groupName, const char* title) {
    group = new QGroupBox(QLatin1String(title), this);
    group->setObjectName(QLatin1String(groupName));
    return new QGridLayout(group);
  };
  auto row = [](QGridLayout* grid, int r, const char* label, QWidget* w) {
    grid->addWidget(new QLabel(QLatin1String(label), w->parentWidget()), r, 0);
    grid->addWidget(w, r, 1);
  };

  QGridLayout* guitar = part(gbGuitarSet, "gbGuitarSet", "Guitar Settings");
  cmboGuitarVoice = pickList(gbGuitarSet, "cmboGuitarVoice");
  cmboGuitarCh = pickList(gbGuitarSet, "cmboGuitarCh");
  sbGuitarVolume = volumeBar(gbGuitarSet, "sbGuitarVolume", 127);
  row(guitar, 0, "Voice:", cmboGuitarVoice);
  row(guitar, 1, "Channel:", cmboGuitarCh);
  row(guitar, 2, "Volume:", sbGuitarVolume);

  QGridLayout* bass = part(gbBassSet, "gbBassSet", "Bass Settings");
  cmboBassVoice = pickList(gbBassSet, "cmboBassVoice");
  cmboBassCh = pickList(gbBassSet, "cmboBassCh");
  sbBassVolume = volumeBar(gbBassSet, "sbBassVolume", 127);
  row(bass, 0, "Voice:", cmboBassVoice);
  row(bass, 1, "Channel:", cmboBassCh);
  row(bass, 2, "Volume:", sbBassVolume);

  QGridLayout* click = part(gbClickSet, "gbClickSet", "Click Settings");
  cmboClickCh = pickList(gbClickSet, "cmboClickCh");
  editNote = new QLineEdit(gbClickSet);
  editNote->setObjectName(QStringLiteral("editNote"));
  editNote->setMaxLength(3);
  editNote->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), editNote));
  editNote->installEventFilter(this);
  sbClickVolume = volumeBar(gbClickSet, "sbClickVolume", Settings::MaxClickVolume);
  row(click, 0, "Channel:", cmboClickCh);
  row(click, 1, "Note:  (0 - 127)", editNote);
  row(click, 2, "Volume:", sbClickVolume);

  btnOK = new QPushButton(QStringLiteral("OK"), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setDefault(true);
  btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  connect(btnOK, &QPushButton::clicked, this, &MidiSetupDialog::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &MidiSetupDialog::btnCancelClick);
  btnHelp = new QPushButton(QStringLiteral("Help"), this);
  btnHelp->setObjectName(QStringLiteral("btnHelp"));
  btnHelp->setEnabled(false);
  connect(btnHelp, &QPushButton::clicked, this, &MidiSetupDialog::btnHelpClick);

  auto* grid = new QGridLayout(this);
  grid->addWidget(gbMidiIn, 0, 0);
  grid->addWidget(gbMidiOut, 0, 1);
  grid->addWidget(gbGuitarSet, 1, 0);
  grid->addWidget(gbBassSet, 1, 1);
  grid->addWidget(gbClickSet, 2, 0);
  auto* buttons = new QVBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);
  buttons->addWidget(btnHelp);
  grid->addLayout(buttons, 2, 1);
}

void MidiSetupDialog::FormCreate() {
  for (const auto& voice : GeneralMidiVoices::offered(file_.read())) {
    cmboGuitarVoice->addItem(QString::fromStdString(voice));
    cmboBassVoice->addItem(QString::fromStdString(voice));
  }
  // A voice box is as wide as its longest name ("Acoustic Guitar (nylon)"
  // and the like must be read whole), and the dialog grows past its usual
  // width when the two side by side need it.
  for (QComboBox* box : {cmboGuitarVoice, cmboBassVoice})
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  setFixedSize(std::max(width(), minimumSizeHint().width()), height());
  MidiComponent& midi = midi_.component();
  const int ins = midi.GetNumInDevices();
  const int outs = midi.GetNumOutDevices();
  if (outs <= 0) return;
  char text[MidiComponent::DescriptionSize];
  // Each row remembers its device number: a device whose name cannot be read
  // is left out, and the rows after it must still open the right device.
  for (int device = 0; device < outs; ++device) {
    if (!midi.GetMidiOutDescription(device, text)) continue;
    auto* item = new QListWidgetItem(QString::fromUtf8(text), lbMidiOut);
    item->setData(Qt::UserRole, device);
  }
  for (int device = 0; device < ins; ++device) {
    if (!midi.GetMidiInDescription(device, text)) continue;
    auto* item = new QListWidgetItem(QString::fromUtf8(text), lbMidiIn);
    item->setData(Qt::UserRole, device);
  }
  for (QComboBox* box : {cmboGuitarCh, cmboBassCh, cmboClickCh})
    for (int ch = 1; ch <= 16; ++ch) box->addItem(QString::number(ch));
}

void MidiSetupDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void MidiSetupDialog::FormShow() {
  selectDevice(lbMidiIn, settings_.MidiInDevice);
  selectDevice(lbMidiOut, settings_.MidiOutDevice);
  cmboGuitarVoice->setCurrentIndex(
      settings_.Player.GuitarPatch < cmboGuitarVoice->count() ? settings_.Player.GuitarPatch : -1);
  cmboBassVoice->setCurrentIndex(
      settings_.Player.BassPatch < cmboBassVoice->count() ? settings_.Player.BassPatch : -1);
  cmboGuitarCh->setCurrentIndex(
      settings_.Player.GuitarChannel < cmboGuitarCh->count() ? settings_.Player.GuitarChannel : -1);
  cmboBassCh->setCurrentIndex(
      settings_.Player.BassChannel < cmboBassCh->count() ? settings_.Player.BassChannel : -1);
  cmboClickCh->setCurrentIndex(
      settings_.Player.ClickChannel < cmboClickCh->count() ? settings_.Player.ClickChannel : -1);
  sbGuitarVolume->setValue(settings_.Player.GuitarVolume);
  sbBassVolume->setValue(settings_.Player.BassVolume);
  sbClickVolume->setValue(settings_.Player.ClickVolume);
  editNote->setText(QString::number(settings_.Player.ClickNote));
}

bool MidiSetupDialog::eventFilter(QObject* watched, QEvent* event) {
  // Selecting on release, so the press does not put the caret back down.
  if (watched == editNote && event->type() == QEvent::MouseButtonRelease) editNoteClick();
  return QDialog::eventFilter(watched, event);
}

void MidiSetupDialog::editNoteClick() {
  editNote->setSelection(0, 3);
}

void MidiSetupDialog::btnOKClick() {
  // The busy pointer is down again before any message shows.
  QString error;
  {
    BusyPointer busy;
    settings_.MidiInDevice = selectedDevice(lbMidiIn);
    settings_.MidiOutDevice = selectedDevice(lbMidiOut);
    midi_.reopenIn(window_, settings_.MidiInDevice);
    midi_.reopenOut(window_, settings_.MidiOutDevice);

    settings_.Player.GuitarPatch = chosen(cmboGuitarVoice, settings_.Player.GuitarPatch);
    settings_.Player.BassPatch = chosen(cmboBassVoice, settings_.Player.BassPatch);
    settings_.Player.GuitarChannel = chosen(cmboGuitarCh, settings_.Player.GuitarChannel);
    settings_.Player.BassChannel = chosen(cmboBassCh, settings_.Player.BassChannel);
    settings_.Player.ClickChannel = chosen(cmboClickCh, settings_.Player.ClickChannel);
    settings_.Player.GuitarVolume = sbGuitarVolume->value();
    settings_.Player.BassVolume = sbBassVolume->value();
    settings_.Player.ClickVolume = sbClickVolume->value();

    bool isNumber = false;
    const int note = editNote->text().trimmed().toInt(&isNumber);
    if (!isNumber) {
      // The dialog stays open; nothing is written.
      error = QStringLiteral("'%1' is not a valid integer value").arg(editNote->text());
    } else {
      settings_.Player.ClickNote = std::clamp(note, 0, 127);
      // A synthesiser that loads sounds on demand gets the new voices now, not
      // at the first note.
      midi_.setVoices(MidiSession::voicesOf(settings_.Player));
      try {
        settings_.saveMidiSetup(file_);
      } catch (const ProfileWriteError& e) {
        error = QString::fromStdString(e.what());
      }
    }
  }
  if (!error.isEmpty()) {
    showError(error);
    return;
  }
  accept();
}

void MidiSetupDialog::setHelp(std::function<void(int)> showHelp) {
  showHelp_ = std::move(showHelp);
  btnHelp->setEnabled(static_cast<bool>(showHelp_));
}

void MidiSetupDialog::btnHelpClick() {
  if (showHelp_) showHelp_(HelpContext);
}

void MidiSetupDialog::btnCancelClick() {
  reject();
}
