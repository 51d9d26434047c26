#pragma once

#include <optional>
#include <string>

#include "app/CommandLine.h"

class FileLayer;

// Carries out one headless export. Needs a QGuiApplication (any platform, the
// offscreen one will do) for the PDF's fonts; opens no window. The page is
// read and checked whole first, so a page that cannot be read writes nothing.
// Returns the process's exit status; on failure one line went to stderr.
// `exeDir` ends in '/' and locates the shipped settings file.
int runExport(const ExportRequest& request, FileLayer& files, const std::string& exeDir);

// The whole export run when the command line asks for one: the platform is
// set to offscreen before the application object exists, so no display is
// touched. Empty when the line is the window's.
std::optional<int> runExportCommandLine(int argc, char* argv[]);
