#include <QComboBox>
#include <QListWidget>
#include <QtTest>

#include "../play/FakeMidiDevices.h"
#include "../settings/FakeFileLayer.h"
#include "WindowProbe.h"
#include "midi/MidiComponent.h"
#include "midi/MidiSession.h"
#include "midi/VirtualClock.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "ui/MidiSetupDialog.h"

namespace {

const std::string kPath = "/prog/Px.ini";

// A settings file, the MIDI component on fake devices and an open session.
struct Rig {
  Rig() {
    fs.files[kPath] = "[General MIDI]\n001 Piano=\n002 Bright=\n003 Organ=\n";
    session.open(&target, 0, 0);
  }
  QStringList errors;
  std::unique_ptr<MidiSetupDialog> dialog() {
    auto d = std::make_unique<MidiSetupDialog>(settings, ini, session, &target);
    // A message must come under the normal pointer, whichever step failed.
    d->showError = [this](const QString& e) {
      errors << e;
      if (QApplication::overrideCursor()) errors << QStringLiteral("under the busy pointer");
    };
    return d;
  }
  FakeFileLayer fs;
  ProfileFile ini{kPath, fs};
  Settings settings;
  VirtualClock clock{0};
  MidiLog log{clock, {}, {}};
  FakeMidiDevices devices{log};
  LogTarget target{log};
  MidiComponent midi{clock, devices};
  MidiSession session{midi};
};

QStringList items(const QComboBox* box) {
  QStringList out;
  for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
  return out;
}

QStringList items(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

}  // namespace

class MidiSetupDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void controlsAndLists() {
    Rig rig;
    auto d = rig.dialog();
    QCOMPARE(d->windowTitle(), QStringLiteral("MIDI Setup"));
    const QStringList voices{"001 Piano", "002 Bright", "003 Organ"};
    QCOMPARE(items(d->cmboGuitarVoice), voices);
    QCOMPARE(items(d->cmboBassVoice), voices);
    QCOMPARE(items(d->lbMidiOut),
             QStringList({"Synth", "A port whose name is longer tha"}));  // 31 characters
    QCOMPARE(items(d->lbMidiIn), QStringList({"Keyboard"}));
    QCOMPARE(d->cmboClickCh->count(), 16);
    QCOMPARE(d->cmboClickCh->itemText(15), QStringLiteral("16"));
    QCOMPARE(d->sbGuitarVolume->maximum(), 127);
    QCOMPARE(d->sbClickVolume->maximum(), 84);
    QCOMPARE(d->sbClickVolume->pageStep(), 5);
    QVERIFY(!d->cmboGuitarVoice->isEditable());
  }

  void noOutputDeviceLeavesDeviceAndChannelListsEmpty() {
    Rig rig;
    rig.devices.outs.clear();
    auto d = rig.dialog();
    QCOMPARE(d->lbMidiOut->count(), 0);
    QCOMPARE(d->lbMidiIn->count(), 0);
    QCOMPARE(d->cmboGuitarCh->count(), 0);
    QCOMPARE(d->cmboClickCh->count(), 0);
    QCOMPARE(d->cmboGuitarVoice->count(), 3);
  }

  void showSelectsTheStoredValues() {
    Rig rig;
    rig.settings.MidiOutDevice = 1;
    rig.settings.Player.GuitarPatch = 2;
    rig.settings.Player.BassPatch = 90;  // beyond this file's voice list
    rig.settings.Player.GuitarChannel = 3;
    rig.settings.Player.ClickChannel = 9;
    rig.settings.Player.GuitarVolume = 90;
    rig.settings.Player.ClickVolume = 70;
    rig.settings.Player.ClickNote = 42;
    auto d = rig.dialog();
    d->show();  // FormShow runs on showing
    QCOMPARE(d->lbMidiOut->currentRow(), 1);
    QCOMPARE(d->lbMidiIn->currentRow(), 0);
    QCOMPARE(d->cmboGuitarVoice->currentIndex(), 2);
    QCOMPARE(d->cmboBassVoice->currentIndex(), -1);
    QCOMPARE(d->cmboGuitarCh->currentText(), QStringLiteral("4"));
    QCOMPARE(d->cmboClickCh->currentText(), QStringLiteral("10"));
    QCOMPARE(d->sbGuitarVolume->value(), 90);
    QCOMPARE(d->sbClickVolume->value(), 70);
    QCOMPARE(d->editNote->text(), QStringLiteral("42"));
    QTest::mouseClick(d->editNote, Qt::LeftButton);
    QCOMPARE(d->editNote->selectedText(), QStringLiteral("42"));
    d->hide();
  }

  void okAppliesReopensAndWritesTheElevenKeys() {
    Rig rig;
    auto d = rig.dialog();
    d->show();
    const auto oldOut = rig.session.out();
    d->lbMidiOut->setCurrentRow(1);
    d->lbMidiIn->setCurrentRow(-1);
    d->cmboGuitarVoice->setCurrentIndex(1);
    d->cmboBassCh->setCurrentIndex(5);
    d->sbBassVolume->setValue(77);
    retype(d->editNote, QStringLiteral("200"));
    QTest::mouseClick(d->btnOK, Qt::LeftButton);
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QVERIFY(rig.errors.isEmpty());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(rig.settings.Player.ClickNote, 127);
    QCOMPARE(rig.settings.MidiOutDevice, 1);
    QCOMPARE(rig.settings.MidiInDevice, 65535);
    QCOMPARE(rig.settings.Player.GuitarPatch, 1);
    QCOMPARE(rig.settings.Player.BassChannel, 5);
    QCOMPARE(rig.settings.Player.BassVolume, 77);
    QVERIFY(rig.session.out() != 0 && rig.session.out() != oldOut);
    QCOMPARE(rig.session.in(), 0u);  // no input chosen: the reopen fails and leaves it closed

    Settings back;
    back.load(rig.ini, "/prog/");
    QCOMPARE(back.Player.ClickNote, 127);
    QCOMPARE(back.MidiOutDevice, 1);
    QCOMPARE(back.MidiInDevice, 65535);
    QCOMPARE(back.Player.BassVolume, 77);
    QCOMPARE(rig.ini.readKeyNames("Click"),
             (std::vector<std::string>{"Channel", "Note", "Volume"}));
    QVERIFY(!rig.ini.hasSection("Main"));
  }

  void closedPortsStayClosedButTheDeviceIsStored() {
    Rig rig;
    rig.session.close();
    auto d = rig.dialog();
    d->show();
    d->lbMidiOut->setCurrentRow(1);
    QTest::mouseClick(d->btnOK, Qt::LeftButton);
    QCOMPARE(rig.settings.MidiOutDevice, 1);
    QCOMPARE(rig.session.out(), 0u);
    QCOMPARE(rig.ini.readInteger("MidiOut", "Device", 0), 1);
  }

  void anEmptyNoteOrAFailedWriteKeepsTheDialogOpen() {
    Rig rig;
    auto d = rig.dialog();
    d->show();
    d->sbGuitarVolume->setValue(12);
    retype(d->editNote, QString());
    QTest::mouseClick(d->btnOK, Qt::LeftButton);
    QCOMPARE(rig.errors, QStringList({"'' is not a valid integer value"}));
    QVERIFY(d->result() != QDialog::Accepted);
    QVERIFY2(!rig.ini.hasSection("Guitar"), "nothing is written");
    QCOMPARE(rig.settings.Player.GuitarVolume, 12);  // what came before the note is in effect
    QVERIFY(!QApplication::overrideCursor());

    rig.errors.clear();
    retype(d->editNote, QStringLiteral("40"));
    rig.fs.failWrites = true;
    QTest::mouseClick(d->btnOK, Qt::LeftButton);
    QCOMPARE(rig.errors, QStringList({"Unable to write to /prog/Px.ini"}));
    QVERIFY(d->result() != QDialog::Accepted);
    QVERIFY(!QApplication::overrideCursor());
  }

  // An output that failed to open at start-up opens on the device chosen
  // here, so sound comes without a restart.
  void anOutputThatFailedAtStartUpOpensOnOk() {
    Rig rig;
    rig.session.close();
    rig.session.open(&rig.target, 70, 65535);  // no such device
    QCOMPARE(rig.session.out(), 0u);
    QVERIFY(rig.session.sync() != 0);
    auto d = rig.dialog();
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    QListWidget* outs = d->lbMidiOut;
    QTest::mouseClick(outs->viewport(), Qt::LeftButton, {},
                      outs->visualItemRect(outs->item(0)).center());
    QTest::mouseClick(d->btnOK, Qt::LeftButton);
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QVERIFY(rig.session.out() != 0);
    QCOMPARE(rig.settings.MidiOutDevice, std::uint16_t(0));
    QCOMPARE(rig.errors, QStringList());
  }

  void cancelChangesNothing() {
    Rig rig;
    const std::string before = rig.fs.files[kPath];
    auto d = rig.dialog();
    d->show();
    d->sbGuitarVolume->setValue(3);
    QTest::mouseClick(d->btnCancel, Qt::LeftButton);
    QCOMPARE(d->result(), int(QDialog::Rejected));
    QCOMPARE(rig.settings.Player.GuitarVolume, 100);
    QCOMPARE(rig.fs.files[kPath], before);
  }

  void editNoteTakesThreeDigitsAndNoSign() {
    Rig rig;
    auto d = rig.dialog();
    d->editNote->clear();
    QTest::keyClicks(d->editNote, QStringLiteral("-12345"));
    QCOMPARE(d->editNote->text(), QStringLiteral("123"));
  }
};

QTEST_MAIN(MidiSetupDialogTest)
#include "MidiSetupDialogTest.moc"
