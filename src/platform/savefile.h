#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// Replaces the file at path with bytes through a temporary file and a rename. On failure the
// previous file is untouched, no temporary file is left, and *reason says why (without the
// path; callers name the file in their own message).
bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *reason);

// The same, with the contents written by write onto the temporary file; write returns false when
// a write to the device failed.
bool WriteFileAtomically(const QString &path, const std::function<bool(QIODevice &)> &write, QString *reason);
