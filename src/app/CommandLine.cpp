#include "app/CommandLine.h"

namespace {

ExportCommand parseSmooth(const QStringList& a) {
  const QString usage =
      QStringLiteral("usage: strumbo --smooth-fingerings IN.ppf OUT.ppf [--around FRET]");
  if ((a.size() != 3 && a.size() != 5) || a[1].isEmpty() || a[2].isEmpty())
    return {std::nullopt, usage};
  ExportRequest r{ExportRequest::Kind::Smooth, a[1], a[2], std::nullopt};
  if (a.size() == 5) {
    bool ok = false;
    const int fret = a[4].toInt(&ok);
    if (a[3] != QLatin1String("--around") || !ok) return {std::nullopt, usage};
    if (fret < 1 || fret > 15)
      return {std::nullopt, QStringLiteral("--around takes a fret from 1 to 15")};
    r.Around = fret;
  }
  return {r, QString()};
}

ExportCommand parseTranspose(const QStringList& a) {
  const QString usage = QStringLiteral("usage: strumbo --transpose N IN OUT (N from -11 to 11)");
  bool ok = false;
  const int steps = a.size() == 4 ? a[1].toInt(&ok) : 0;
  if (!ok || steps < -11 || steps > 11 || a[2].isEmpty() || a[3].isEmpty())
    return {std::nullopt, usage};
  ExportRequest r{ExportRequest::Kind::Transpose, a[2], a[3], std::nullopt};
  r.Steps = steps;
  return {r, QString()};
}

}  // namespace

ExportCommand parseExportCommand(const QStringList& arguments) {
  if (!arguments.isEmpty() && arguments[0] == QLatin1String("--smooth-fingerings"))
    return parseSmooth(arguments);
  if (!arguments.isEmpty() && arguments[0] == QLatin1String("--transpose"))
    return parseTranspose(arguments);
  static const struct {
    const char* option;
    ExportRequest::Kind kind;
  } options[] = {{"--export-midi", ExportRequest::Kind::Midi},
                 {"--export-audio", ExportRequest::Kind::Audio},
                 {"--export-pdf", ExportRequest::Kind::Pdf},
                 {"--export-musicxml", ExportRequest::Kind::MusicXml},
                 {"--export-chordpro", ExportRequest::Kind::ChordPro}};
  for (qsizetype i = 0; i < arguments.size(); ++i)
    for (const auto& o : options) {
      if (arguments[i] != QLatin1String(o.option)) continue;
      // One export per run, and nothing else on the line, so a mistyped
      // command never starts the window or half-runs.
      const QLatin1String option(o.option);
      if (arguments.size() != 3 || i != 0)
        return {std::nullopt, QStringLiteral("usage: strumbo %1 PAGE OUT").arg(option)};
      if (arguments[1].isEmpty() || arguments[2].isEmpty())
        return {std::nullopt, QStringLiteral("%1 needs a page and an output file").arg(option)};
      return {ExportRequest{o.kind, arguments[1], arguments[2], std::nullopt}, QString()};
    }
  return {};
}
