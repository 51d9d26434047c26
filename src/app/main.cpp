#include <QApplication>
#include <QCommandLineParser>
#include <QImage>
#include <QTimer>
#include <cstdio>

#include "app/ConsolePrompter.h"
#include "app/ExportRun.h"
#include "app/ProgramDir.h"
#include "app/WindowFiles.h"
#include "files/PosixFileLayer.h"
#include "midi/MidiComponent.h"
#include "midi/MidiSession.h"
#include "midi/SystemClock.h"
#include "midi/SystemMidiDevices.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsLocation.h"
#include "ui/ApplicationName.h"
#include "ui/MainWindow.h"

int main(int argc, char* argv[]) {
  // An export runs headless and never reaches the window.
  if (const std::optional<int> status = runExportCommandLine(argc, argv)) return *status;
  QApplication app(argc, argv);
  nameApplication();

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Strumbo! - a workbench for guitar players"));
  parser.addHelpOption();
  QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                QStringLiteral("Render the main window to a PNG file and exit."),
                                QStringLiteral("FILE"));
  parser.addOption(screenshot);
  parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Page files to open."),
                               QStringLiteral("[FILE...]"));
  parser.process(app);

  const std::string exeDir = programDirectory(argv[0]);
  PosixFileLayer files;
  // A settings file set aside at start is told once the window is up.
  std::string settingsNotice;
  ProfileFile settingsFile(SettingsLocation::resolve(exeDir, files, settingsNotice), files);

  // The MIDI library of the program: the built-in synthesiser and the
  // machine's MIDI ports, played by a clock thread of its own.
  SystemClock clock;
  SystemMidiDevices devices;
  MidiComponent midi(clock, devices);
  MidiSession session(midi);

  // A screenshot run has nobody to answer a message box.
  ConsolePrompter console;
  MainWindow window(exeDir, parser.isSet(screenshot) ? &console : nullptr,
                    MainWindow::Services{&settingsFile, &session, nullptr, settingsNotice});
  window.show();
  openFilesInWindow(window, parser.positionalArguments());

  if (parser.isSet(screenshot)) {
    const QString file = parser.value(screenshot);
    // Let the window lay itself out and paint once before it is grabbed.
    QTimer::singleShot(200, &window, [&window, &settingsFile, file] {
      const bool ok = window.grab().toImage().save(file, "PNG");
      if (!ok) std::fprintf(stderr, "strumbo: could not write %s\n", qPrintable(file));
      // Close as the window's close box would: MIDI closed, settings written;
      // a settings file that could not be written fails the run.
      window.FormClose();
      QApplication::exit(ok && !settingsFile.writeFailed() ? 0 : 1);
    });
  }
  return app.exec();
}
