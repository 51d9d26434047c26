#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class MidiMessageTarget;
class MidiSession;
class ProfileFile;
class Settings;

// "MIDI Setup": the MIDI devices and, for guitar, bass and click, the voice,
// channel and volume, and the click's note. OK reopens the open ports on the
// chosen devices, applies the values to the settings in memory and writes the
// eleven MIDI keys of the settings file. The device and voice lists are read
// once, when the dialog is made, so the lists stay as they were when it opened.
class MidiSetupDialog : public QDialog {
  Q_OBJECT

 public:
  MidiSetupDialog(Settings& settings, ProfileFile& settingsFile, MidiSession& midi,
                  MidiMessageTarget* window, QWidget* parent = nullptr);

  // How errors are shown; tests replace it so that nothing blocks.
  std::function<void(const QString&)> showError;
  // Opens the help at a context; the Help button stays disabled without it.
  void setHelp(std::function<void(int)> showHelp);
  static constexpr int HelpContext = 420;

  QGroupBox* gbMidiIn = nullptr;
  QListWidget* lbMidiIn = nullptr;
  QGroupBox* gbMidiOut = nullptr;
  QListWidget* lbMidiOut = nullptr;
  QGroupBox* gbGuitarSet = nullptr;
  QComboBox* cmboGuitarVoice = nullptr;
  QComboBox* cmboGuitarCh = nullptr;
  QScrollBar* sbGuitarVolume = nullptr;
  QGroupBox* gbBassSet = nullptr;
  QComboBox* cmboBassVoice = nullptr;
  QComboBox* cmboBassCh = nullptr;
  QScrollBar* sbBassVolume = nullptr;
  QGroupBox* gbClickSet = nullptr;
  QComboBox* cmboClickCh = nullptr;
  QLineEdit* editNote = nullptr;
  QScrollBar* sbClickVolume = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
  QPushButton* btnHelp = nullptr;

  void FormCreate();
  void FormShow();
  void btnOKClick();
  void btnCancelClick();
  void editNoteClick();
  void btnHelpClick();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();

  Settings& settings_;
  ProfileFile& file_;
  MidiSession& midi_;
  MidiMessageTarget* window_;
  std::function<void(int)> showHelp_;
};
