#include <qpa/qplatformwindow.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include "../settings/FakeFileLayer.h"
#include "DataDir.h"
#include "MidiRig.h"
#include "ScriptedPrompter.h"
#include "WindowProbe.h"
#include "WindowRig.h"
#include "settings/ProfileFile.h"
#include "ui/AddUserChordDialog.h"
#include "ui/ApplicationName.h"
#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"
#include "ui/MidiSetupDialog.h"
#include "ui/Prompter.h"

namespace {

// The title a window has on the screen. The window keeps the caption it was
// given (QWindow::title); the X11 and Wayland plugins pass it through this
// formatting of Qt's before handing it to the window system, which appends
// the application's display name when one is set.
struct PlatformTitle : QPlatformWindow {
  using QPlatformWindow::formatWindowTitle;
};

QString titleOnScreen(QWidget* w) {
  if (!w || !w->windowHandle()) return QStringLiteral("(no window)");
  return PlatformTitle::formatWindowTitle(w->windowHandle()->title(),
                                          QString::fromUtf8(" \u2014 "));
}

// What a box of the real prompter showed, read while it is up.
struct BoxSeen {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Reads the modal message box as soon as it shows and presses its
// `answer` button (its only button when none), so nothing waits on it.
void answerBox(BoxSeen& seen, QMessageBox::StandardButton answer = QMessageBox::NoButton) {
  QTimer::singleShot(0, [&seen, answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      seen.title = QStringLiteral("(no box)");
      return;
    }
    seen.title = titleOnScreen(box);
    seen.text = box->text();
    seen.icon = box->icon();
    QAbstractButton* b =
        answer == QMessageBox::NoButton ? box->buttons().value(0) : box->button(answer);
    if (b)
      QTest::mouseClick(b, Qt::LeftButton);
    else
      box->reject();
  });
}

// Types `text` key by key; characters with no key of their own come as key
// presses carrying the character, as a keyboard layout or input method sends them.
void type(QWidget* field, const QString& text) {
  for (const QChar c : text)
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

using Rig = SettingsWindowRig;

// The text area of a combo box, where the chosen item's text is drawn.
int textRoom(QComboBox* box) {
  QStyleOptionComboBox option;
  option.initFrom(box);
  option.editable = box->isEditable();
  option.frame = box->hasFrame();
  return box->style()
      ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box)
      .width();
}

}  // namespace

class DialogTextsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { nameApplication(); }

  // The window system shows the program's captions, nothing appended.
  void titlesOnTheScreenAreTheProgramsCaptions() {
    QTemporaryDir dir;
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(titleOnScreen(&w), QStringLiteral("Strumbo!"));
    ask.files.push_back(dir.filePath(QStringLiteral("song.cpf")));
    click(w, "sbtnSave");
    QCOMPARE(ask.messages, QStringList());
    QCOMPARE(titleOnScreen(&w), QStringLiteral("Strumbo!   song.cpf"));

    // The program's own dialogs, as they open.
    QStringList dialogTitles;
    ask.dialogs.push_back([&dialogTitles](QDialog& d) {
      dialogTitles << titleOnScreen(&d);
      return false;
    });
    clickTab(w, int(PlayTab::ChordDesign));
    trigger(w, "pmenu6Add");
    QCOMPARE(dialogTitles, QStringList{QStringLiteral("Add User Chord")});

    // The real boxes: a question, a notice and an error.
    QtPrompter real;
    BoxSeen question;
    answerBox(question, QMessageBox::No);
    QVERIFY(!real.ask(&w, QStringLiteral("Do you want to replace this diagram?"), true));
    QCOMPARE(question.title, QStringLiteral("Plectrix"));
    QCOMPARE(question.icon, QMessageBox::Question);
    BoxSeen notice;
    answerBox(notice);
    real.message(&w, QStringLiteral("Maximum is 5 sets of chords. Clear the Chord page."));
    QCOMPARE(notice.title, QStringLiteral("Strumbo!"));
    QCOMPARE(notice.icon, QMessageBox::Information);
    BoxSeen error;
    answerBox(error);
    real.error(&w, QStringLiteral("Could Not Find Chord Data Files."));
    QCOMPARE(error.title, QStringLiteral("Strumbo!"));
    QCOMPARE(error.icon, QMessageBox::Warning);
    QCOMPARE(error.text, QStringLiteral("Could Not Find Chord Data Files."));
  }

  // Something that failed is said as an error, a refusal as a notice.
  void failuresAreErrorsAndRefusalsNotices() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    DataDir& data = rig.data;
    w.show();
    trigger(w, "mnuMidiSetup");
    chooseKey(w, 0);
    chooseChordType(w, 1, 2);
    QFile::resize(data.dir.filePath("pxma2.dat"), 5);
    clickShowChords(w);
    QFile::remove(data.dir.filePath("pxma2.dat"));
    clickShowChords(w);
    QVERIFY2(ask.errors.size() == 3, qPrintable(ask.errors.join(QLatin1Char('|'))));
    QCOMPARE(ask.errors[0], QStringLiteral("MIDI is not available."));
    // The program's name closes the sentence; no full stop after its "!".
    QVERIFY2(ask.errors[1].startsWith(QStringLiteral("Could not read the data file ")) &&
                 ask.errors[1].endsWith(QStringLiteral("reinstall Strumbo!")),
             qPrintable(ask.errors[1]));
    QCOMPARE(ask.errors[2], QStringLiteral("Could Not Find Chord Data Files."));
    QCOMPARE(ask.messages, ask.errors);

    clickTab(w, int(PlayTab::ChordDesign));
    trigger(w, "pmenu6Delete");
    QCOMPARE(ask.messages.size(), 4);
    QCOMPARE(ask.messages.last(),
             QStringLiteral("Cannot delete this chord. Please select a User Chord."));
    QCOMPARE(ask.errors.size(), 3);
  }

  // A file of no page kind, opened from the command line or dropped on the window.
  void aFileOfNoPageKindIsNamedInOneSentence() {
    WindowRig rig;
    MainWindow& w = rig.w;
    ScriptedPrompter& ask = rig.ask;
    w.openFiles({QStringLiteral("/tmp/notes.txt")});
    QCOMPARE(ask.errors, QStringList{QStringLiteral("notes.txt is not a page file of Strumbo!")});
  }

  // The name field takes what the record holds, and OK waits for an interval.
  void addUserChordTakesOnlyWhatItCanKeep() {
    Rig r;
    r.window.showTab(PlayTab::ChordDesign);
    QStringList seen;
    r.ask.dialogs.push_back([&seen](QDialog& d) {
      auto* name = child<QLineEdit>(d, "editUserName");
      auto* ok = child<QPushButton>(d, "OKBtn");
      if (ok->isEnabled()) seen << QStringLiteral("OK enabled with no interval");
      // Pressing OK or Enter now does not close the dialog.
      clickIn(d, "OKBtn");
      QTest::keyClick(name, Qt::Key_Return);
      if (d.result() == QDialog::Accepted || !d.isVisible()) seen << QStringLiteral("closed");

      type(name, QString::fromUtf8("maj\u0394 \u0416"));
      seen << name->text();
      type(name, QStringLiteral("7 with a long tail"));
      seen << name->text() << QString::number(name->maxLength());

      tick(child<QCheckBox>(d, "cbInterval4"));
      if (!ok->isEnabled()) seen << QStringLiteral("OK disabled with an interval");
      tick(child<QCheckBox>(d, "cbInterval4"));
      if (ok->isEnabled()) seen << QStringLiteral("OK enabled after the tick was taken back");
      tick(child<QCheckBox>(d, "cbInterval7"));
      clickIn(d, "OKBtn");
      return d.result() == QDialog::Accepted;
    });
    trigger(r.window, "pmenu6Add");
    QCOMPARE(seen, (QStringList{QStringLiteral("maj "), QStringLiteral("maj 7 with a lo"),
                                QStringLiteral("15")}));
    QCOMPARE(r.ini.readString("62", "Name", ""), std::string("maj 7 with a lo"));
    QCOMPARE(r.ask.unanswered, 0);
  }

  // Help asked from a modal dialog closes with its button or Escape and
  // hands the dialog back.
  void helpOverAModalDialogClosesWithItsButtonAndEscape() {
    Rig r;
    r.window.showTab(PlayTab::ChordDesign);
    r.window.show();
    QStringList seen;
    r.ask.dialogs.push_back([&seen, &r](QDialog& d) {
      // As exec() shows it: blocking every other window.
      d.hide();
      d.setWindowModality(Qt::ApplicationModal);
      d.show();
      if (!QTest::qWaitForWindowExposed(&d)) return false;
      HelpWindow* help = r.window.help();
      for (const char* how : {"Escape", "Close"}) {
        clickIn(d, "HelpBtn");
        if (!help->isVisible() || QApplication::activeModalWidget() != help) {
          seen << QStringLiteral("help not on top");
          return false;
        }
        seen << titleOnScreen(help);
        if (QByteArray(how) == "Escape") {
          QApplication::setActiveWindow(help);
          if (!QTest::qWaitForWindowActive(help)) return false;
          QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : help,
                          Qt::Key_Escape);
        } else {
          QTest::mouseClick(child<QPushButton>(*help, "btnHelpClose"), Qt::LeftButton);
        }
        seen << QLatin1String(how) + (help->isVisible() ? " left it open" : " closed it");
        if (QApplication::activeModalWidget() != &d) seen << QStringLiteral("dialog not back");
      }
      // The dialog is the user's again.
      tick(child<QCheckBox>(d, "cbInterval4"));
      clickIn(d, "OKBtn");
      return d.result() == QDialog::Accepted;
    });
    trigger(r.window, "pmenu6Add");
    QCOMPARE(seen,
             (QStringList{QStringLiteral("Strumbo! Help"), QStringLiteral("Escape closed it"),
                          QStringLiteral("Strumbo! Help"), QStringLiteral("Close closed it")}));
    QCOMPARE(r.ini.readString("62", "Name", ""), std::string("NONAME"));
    // Asked from the main window, it is an ordinary window beside it again.
    trigger(r.window, "mnuTopics");
    QCOMPARE(r.window.help()->windowModality(), Qt::NonModal);
  }

  // A settings file without a voice list: MIDI Setup offers the 128 General
  // MIDI voices, each name read whole, and the settings written at shutdown
  // hold them.
  void midiSetupShowsTheLongestVoiceNameWhole() {
    MidiRig rig;  // a settings file without a voice list: the 128 voices
    QStringList cut;
    QSize size;
    rig.ask.dialogs.push_back([&cut, &size](QDialog& d) {
      size = d.size();
      for (const char* name : {"cmboGuitarVoice", "cmboBassVoice"}) {
        auto* box = child<QComboBox>(d, name);
        if (box->count() != 128) cut << QStringLiteral("%1 voices").arg(box->count());
        for (int i = 0; i < box->count(); ++i)
          if (box->fontMetrics().horizontalAdvance(box->itemText(i)) > textRoom(box))
            cut << box->itemText(i);
      }
      if (const QByteArray shot = qgetenv("STRUMBO_DIALOG_SHOT"); !shot.isEmpty())
        d.grab().save(QString::fromLocal8Bit(shot));
      return false;
    });
    trigger(rig.window, "mnuMidiSetup");
    QCOMPARE(cut, QStringList());
    QCOMPARE(size.height(), 372);
    QVERIFY(size.width() >= 427);
    QCOMPARE(rig.ask.unanswered, 0);
    QVERIFY(rig.window.close());
    const std::vector<std::string> written = rig.ini.readKeyNames("General MIDI");
    QCOMPARE(written.size(), std::size_t(128));
    QCOMPARE(written[32], std::string("033 Acoustic Bass"));
  }
};

QTEST_MAIN(DialogTextsTest)
#include "DialogTextsTest.moc"
