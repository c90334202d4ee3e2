#pragma once

#include <QString>

class QWidget;

#include <QUrl>

#include <functional>

// Opens a file, folder or web address with the desktop's default handler. When the desktop
// cannot, the user is told where to find the maker instead (one information message).
bool OpenUrl(const QString &pathOrAddress);

// The same without a message: false when the desktop has no program for it.
bool OpenWithDesktop(const QString &pathOrAddress);

// What the user is told when the desktop has no handler for a page or address.
inline constexpr QStringView kNoDefaultClientMessage =
    u"Could not load the default client. Please visit http://www.marlowen.example/ or email at support@marlowen.example";

// Tests: from now on the addresses OpenUrl would hand to the desktop go to handler, whose
// answer stands for the desktop's; an empty handler restores the desktop.
void SetOpenUrlHandler(std::function<bool(const QUrl &)> handler);

// The operations of ShellFileOperation, numbered as callers have always passed them.
enum ShellOperation : int { ShellMove = 1, ShellCopy = 2, ShellDelete = 3, ShellRename = 4 };

// Copies, moves, deletes or renames files given as comma-separated lists (a ShellOperation).
// False on any failure, with the reason in *error.
bool ShellFileOperation(const QString &sources, const QString &targets, int operation, int flags,
                        QString *error = nullptr);

// Copies one file to target (a file path), replacing a file there only with a complete copy and
// making target's folder when it is missing; any name, a comma in it too. False with the reason
// in *error.
bool ShellCopyFile(const QString &source, const QString &target, QString *error = nullptr);
