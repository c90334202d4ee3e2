#pragma once

#include <QString>

#include <optional>

// The program's version, "4.0".
QString BriskoVersion();

// The commit the executables were built from, e.g. "1a2b3c4d5e6f", followed by "-modified" when
// the checkout held changes not yet committed; "unknown" for a build outside a git checkout.
QString BuildCommit();

// "<program> 4.0 (commit 1a2b3c4d5e6f)".
QString VersionLine(QStringView program);

// Answers "--help" and "--version" anywhere on the command line: prints usage or the version
// line on standard output and returns the exit status 0 for main to return at once; nothing
// otherwise. It needs no application object, so a window program answers without a display.
std::optional<int> AnswerHelpOrVersion(int argc, char **argv, QStringView program, QStringView usage);
