#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at path with bytes through a temporary file and a rename. On failure the
// previous file is untouched, no temporary file is left, and *reason says why (without the
// path; callers name the file in their own message).
bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *reason);
