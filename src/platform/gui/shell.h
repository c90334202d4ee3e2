#pragma once

#include <QString>

class QWidget;

// Opens a file, folder or web address with the desktop's default handler.
bool OpenUrl(const QString &pathOrAddress);

// Copies, moves, deletes or renames files given as comma-separated lists (operation 1 move,
// 2 copy, 3 delete, 4 rename). False on any failure, with the reason in *error.
bool ShellFileOperation(const QString &sources, const QString &targets, int operation, int flags,
                        QString *error = nullptr);
