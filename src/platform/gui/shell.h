#pragma once

#include <QString>

class QWidget;

// Opens a file, folder or web address with the desktop's default handler.
bool OpenUrl(const QString &pathOrAddress);

// The operations of ShellFileOperation, numbered as callers have always passed them.
enum ShellOperation : int { ShellMove = 1, ShellCopy = 2, ShellDelete = 3, ShellRename = 4 };

// Copies, moves, deletes or renames files given as comma-separated lists (a ShellOperation).
// False on any failure, with the reason in *error.
bool ShellFileOperation(const QString &sources, const QString &targets, int operation, int flags,
                        QString *error = nullptr);
