// Prints start-up to first paint of the main window, with the settings read
// and MIDI opened as the program does at start-up, against a minimal Qt window
// measured in the same run.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "play/midi/MidiComponent.h"
#include "play/midi/MidiSession.h"
#include "play/midi/SystemClock.h"
#include "play/midi/SystemMidiDevices.h"
#include "settings/PosixFileLayer.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "ui/MainWindow.h"

namespace {

class FirstPaint : public QObject {
 public:
  bool painted = false;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) painted = true;
    return false;
  }
};

// Builds a window with `make`, shows it and returns the milliseconds until it
// first paints.
template <class Make>
double untilFirstPaint(Make make) {
  QElapsedTimer t;
  t.start();
  FirstPaint watch;
  auto window = make();
  window->installEventFilter(&watch);
  window->show();
  while (!watch.painted && t.elapsed() < 10000)
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
  window->removeEventFilter(&watch);
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTemporaryDir dir;
  const std::string exeDir = dir.path().toStdString() + "/";
  // A settings file as a user's would be after a while: the voice list, MIDI
  // setup and a few user chords.
  QFile::copy(QStringLiteral(STRUMBO_SOURCE_DIR "/data/Px.ini"),
              dir.filePath(QStringLiteral("Px.ini")));
  {
    PosixFileLayer files;
    ProfileFile ini(exeDir + "Px.ini", files);
    Settings s;
    s.UserChordNames = {"a", "b", "c"};
    s.saveMidiSetup(ini);
    s.saveShutdown(ini);
    ini.writeInteger("UserChords", "Number", 3);
    for (int i = 0; i < 3; ++i) ini.writeString(std::to_string(62 + i), "Name", "mine");
  }

  // The first window pays for the toolkit's own start (fonts, platform).
  untilFirstPaint([] { return std::make_unique<QLabel>("warm-up"); });

  double minimal = 1e9, window = 1e9, full = 1e9, readSettings = 1e9, openMidi = 1e9;
  for (int round = 0; round < 5; ++round) {
    minimal = std::min(minimal, untilFirstPaint([] {
                         auto w = std::make_unique<QWidget>();
                         w->resize(808, 608);
                         return w;
                       }));
    window =
        std::min(window, untilFirstPaint([&] { return std::make_unique<MainWindow>(exeDir); }));
    SystemClock clock;
    SystemMidiDevices devices;
    MidiComponent midi(clock, devices);
    MidiSession session(midi);
    full = std::min(full, untilFirstPaint([&] {
                      QElapsedTimer part;
                      part.start();
                      PosixFileLayer files;
                      ProfileFile ini(exeDir + "Px.ini", files);
                      Settings settings;
                      settings.load(ini, exeDir);
                      readSettings = std::min(readSettings, part.nsecsElapsed() / 1e6);
                      auto w = std::make_unique<MainWindow>(exeDir);
                      part.restart();
                      session.open(nullptr, settings.MidiOutDevice, settings.MidiInDevice);
                      openMidi = std::min(openMidi, part.nsecsElapsed() / 1e6);
                      return w;
                    }));
  }
  std::printf(
      "first paint, best of 5 (ms): minimal window %.1f  main window %.1f (%.1fx)"
      "  main window with settings and MIDI %.1f (%.1fx)\n",
      minimal, window, window / minimal, full, full / minimal);
  std::printf("of which: reading the settings %.2f ms, opening MIDI %.2f ms\n", readSettings,
              openMidi);
  return 0;
}
