#include "version.h"

#include "buildcommit.h"

#include <cstdio>
#include <cstring>

QString BriskoVersion()
{
    return QStringLiteral(BRISKO_VERSION);
}

QString BuildCommit()
{
    return QStringLiteral(BRISKO_BUILD_COMMIT);
}

QString VersionLine(QStringView program)
{
    return program + u' ' + BriskoVersion() + u" (commit " + BuildCommit() + u')';
}

std::optional<int> AnswerHelpOrVersion(int argc, char **argv, QStringView program, QStringView usage)
{
    bool help = false;
    bool version = false;
    for (int i = 1; i < argc; ++i) {
        help = help || std::strcmp(argv[i], "--help") == 0;
        version = version || std::strcmp(argv[i], "--version") == 0;
    }
    if (!help && !version)
        return std::nullopt;
    const QString text = help ? usage.trimmed() + u'\n' + VersionLine(program) : VersionLine(program);
    std::fputs((text + u'\n').toLocal8Bit().constData(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
