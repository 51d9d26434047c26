#include "app/CommandLine.h"

ExportCommand parseExportCommand(const QStringList& arguments) {
  static const struct {
    const char* option;
    ExportRequest::Kind kind;
  } options[] = {{"--export-midi", ExportRequest::Kind::Midi},
                 {"--export-audio", ExportRequest::Kind::Audio},
                 {"--export-pdf", ExportRequest::Kind::Pdf}};
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
      return {ExportRequest{o.kind, arguments[1], arguments[2]}, QString()};
    }
  return {};
}
