#include <QApplication>
#include <QCommandLineParser>
#include <QImage>
#include <QTimer>

#include <cstdio>

#include "app/ProgramDir.h"
#include "ui/TfrmMain.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Strumbo!"));
  QApplication::setApplicationDisplayName(QStringLiteral("Strumbo!"));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Strumbo! - a workbench for guitar players"));
  parser.addHelpOption();
  QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                QStringLiteral("Render the main window to a PNG file and exit."),
                                QStringLiteral("FILE"));
  parser.addOption(screenshot);
  parser.process(app);

  TfrmMain window(programDirectory(argv[0]));
  window.show();

  if (parser.isSet(screenshot)) {
    const QString file = parser.value(screenshot);
    // Let the window lay itself out and paint once before it is grabbed.
    QTimer::singleShot(200, &window, [&window, file] {
      const bool ok = window.grab().toImage().save(file, "PNG");
      if (!ok) std::fprintf(stderr, "strumbo: could not write %s\n", qPrintable(file));
      QApplication::exit(ok ? 0 : 1);
    });
  }
  return app.exec();
}
