#pragma once

// What the libFuzzer targets share: a check that turns a broken promise into a finding, and a
// folder of this run for the readers that only open files by name.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace Fuzz {

// libFuzzer keeps the input of any abort as a finding.
inline void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

// A folder of this process, removed when it ends; ends with "/". In memory where the system
// offers it: the readers save through a synced file, which would wait for a disk on every run.
inline const QString &scratchFolder()
{
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm/brisko-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/brisko-fuzz-XXXXXX"));
    static const QString path = dir.path() + u'/';
    return path;
}

inline void writeFile(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the scratch folder takes files");
    check(file.write(bytes.data(), bytes.size()) == bytes.size(), "the scratch file is written");
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace Fuzz

#define FUZZ_CHECK(condition) Fuzz::check((condition), #condition)
