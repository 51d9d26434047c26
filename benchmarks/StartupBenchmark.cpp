// Prints start-up to first paint of the main window, with the settings read
// and MIDI opened as the program does at start-up, against a minimal Qt window
// measured in the same run; then how long after that first paint the built-in
// synthesiser is ready to sound, and the memory peak of the whole program from
// start to close (a child process running `strumbo --screenshot`).
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "files/PosixFileLayer.h"
#include "midi/MidiComponent.h"
#include "midi/MidiSession.h"
#include "midi/SoundFont.h"
#include "midi/SystemClock.h"
#include "midi/SystemMidiDevices.h"
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
// first paints; `afterPaint` then runs while the window is still up.
template <class Make, class AfterPaint>
double untilFirstPaint(Make make, AfterPaint afterPaint) {
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
  afterPaint();
  return ms;
}

template <class Make>
double untilFirstPaint(Make make) {
  return untilFirstPaint(make, [] {});
}

// Runs the program on a copy of its directory (so its settings file is the
// shipped one and the build's stays untouched), grabbing the window and
// closing as the close box would. Returns its peak resident memory in MiB
// from start to close, or -1.
double programPeakMiB() {
  namespace fs = std::filesystem;
  QTemporaryDir dir;
  const fs::path program(STRUMBO_PROGRAM);
  std::error_code ec;
  fs::copy(program.parent_path(), dir.path().toStdString(), fs::copy_options::recursive, ec);
  if (ec) return -1;
  const std::string exe = dir.path().toStdString() + "/" + program.filename().string();
  const std::string png = dir.path().toStdString() + "/shot.png";
  std::vector<std::string> args{exe, "--screenshot", png};
  std::vector<std::string> env{"QT_QPA_PLATFORM=offscreen",
                               "XDG_CONFIG_HOME=" + dir.path().toStdString() + "/config",
                               "HOME=" + dir.path().toStdString()};
  for (const char* keep : {"PATH", "XDG_RUNTIME_DIR", "STRUMBO_SOUNDFONT"})
    if (const char* v = std::getenv(keep)) env.push_back(std::string(keep) + "=" + v);
  auto pointers = [](std::vector<std::string>& v) {
    std::vector<char*> p;
    for (auto& s : v) p.push_back(s.data());
    p.push_back(nullptr);
    return p;
  };
  auto argv = pointers(args);
  auto envp = pointers(env);
  pid_t pid = 0;
  if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return -1;
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
}

// A settings file with `chords` user chords as the chord dialog writes them
// (name, formula and seven intervals each: 88 bytes a chord), written in one go.
void writeUserChords(const std::string& path, int chords) {
  QFile::remove(QString::fromStdString(path));
  QFile::copy(QStringLiteral(STRUMBO_SOURCE_DIR "/data/Px.ini"), QString::fromStdString(path));
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::Append)) return;
  QByteArray text = "\n\n[UserChords]\nNumber=" + QByteArray::number(chords) + "\n";
  for (int i = 0; i < chords; ++i) {
    text += "\n\n[" + QByteArray::number(62 + i) + "]\nName=user chord " + QByteArray::number(i) +
            "\nFormula=1 3 5 b7 9\n";
    for (int k = 0; k < 7; ++k)
      text += "I" + QByteArray::number(k) + "=" + QByteArray::number(k < 5 ? k * 2 : 255) + "\n";
  }
  file.write(text);
}

// Start-up as the program does it, settings read by the window itself.
double startWithSettings(const std::string& exeDir) {
  PosixFileLayer files;
  ProfileFile ini(exeDir + "Px.ini", files);
  return untilFirstPaint(
      [&] { return std::make_unique<MainWindow>(exeDir, nullptr, MainWindow::Services{&ini}); });
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
  double soundReadyBest = 1e9, soundReadyWorst = 0;
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
    full = std::min(full, untilFirstPaint(
                              [&] {
                                QElapsedTimer part;
                                part.start();
                                PosixFileLayer files;
                                ProfileFile ini(exeDir + "Px.ini", files);
                                Settings settings;
                                settings.load(ini, exeDir);
                                readSettings = std::min(readSettings, part.nsecsElapsed() / 1e6);
                                auto w = std::make_unique<MainWindow>(exeDir);
                                part.restart();
                                session.open(nullptr, settings.MidiOutDevice, settings.MidiInDevice,
                                             MidiSession::voicesOf(settings.Player));
                                openMidi = std::min(openMidi, part.nsecsElapsed() / 1e6);
                                return w;
                              },
                              [&] {
                                // From the first paint until the synthesiser can sound,
                                // with the window idle in its event loop as the program's
                                // is (a busy wait would take the core the loading needs).
                                QElapsedTimer ready;
                                ready.start();
                                QEventLoop idle;
                                QTimer poll;
                                QObject::connect(&poll, &QTimer::timeout, &idle, [&] {
                                  if (session.soundReady() || ready.elapsed() > 30000) idle.quit();
                                });
                                poll.start(1);
                                idle.exec();
                                const double ms = static_cast<double>(ready.nsecsElapsed()) / 1e6;
                                soundReadyBest = std::min(soundReadyBest, ms);
                                soundReadyWorst = std::max(soundReadyWorst, ms);
                              }));
  }
  std::printf(
      "first paint, best of 5 (ms): minimal window %.1f  main window %.1f (%.1fx)"
      "  main window with settings and MIDI %.1f (%.1fx)\n",
      minimal, window, window / minimal, full, full / minimal);
  std::printf("of which: reading the settings %.2f ms, opening MIDI %.2f ms\n", readSettings,
              openMidi);
  const std::string font = SoundFont::findGeneralMidi();
  std::printf("soundfont: %s\n", font.empty() ? "(none)" : font.c_str());
  std::printf("sound ready after the first paint (ms): best %.1f, worst %.1f of 5\n",
              soundReadyBest, soundReadyWorst);
  double peak = 0;
  for (int run = 0; run < 3; ++run) peak = std::max(peak, programPeakMiB());
  if (peak > 0)
    std::printf("peak memory of the program from start to close (MiB, most of 3 runs): %.1f\n",
                peak);
  else
    std::printf("peak memory of the program: the program did not run\n");

  // Start-up must not grow with the user's chord list.
  QTemporaryDir chordsDir;
  const std::string chordsExe = chordsDir.path().toStdString() + "/";
  double none = 1e9, thousand = 1e9;
  for (int round = 0; round < 3; ++round) {
    writeUserChords(chordsExe + "Px.ini", 0);
    none = std::min(none, startWithSettings(chordsExe));
    writeUserChords(chordsExe + "Px.ini", 1000);
    thousand = std::min(thousand, startWithSettings(chordsExe));
  }
  std::printf(
      "first paint with settings, best of 3 (ms): no user chords %.1f  1000 user chords (%lld "
      "bytes) %.1f  difference %.1f (goal: under 50)\n",
      none, static_cast<long long>(QFile(QString::fromStdString(chordsExe + "Px.ini")).size()),
      thousand, thousand - none);
  return 0;
}
