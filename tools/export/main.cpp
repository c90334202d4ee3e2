// brisko-export: the page engine from the command line, for batch work and for testing.
#include "document/pagefile.h"
#include "format/filebytes.h"
#include "format/streamjson.h"
#include "format/streamreader.h"
#include "html/formhtml.h"
#include "html/htmlfile.h"
#include "html/pagehtml.h"
#include "platform/cp1252.h"
#include "platform/programfolder.h"
#include "platform/savefile.h"
#include "platform/version.h"
#include "themes/themesfile.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

constexpr int kBadInput = 2;

int fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    return kBadInput;
}

constexpr QStringView kUsage = u"usage: brisko-export html [--mode preview|relative|upload] [--logo] FILE\n"
                               u"       brisko-export json FILE\n"
                               u"       brisko-export resave FILE OUT";

int usage()
{
    return fail(kUsage.toString());
}

bool writeStdout(const QByteArray &bytes)
{
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size())
        && std::fflush(stdout) == 0;
}

bool startsAsThemes(QByteArrayView head)
{
    return head.sliced(qMin<qsizetype>(4, head.size())).startsWith("\x09TWebTheme");
}

// The one line the user sees when a file does not read: the reason for what begins as a themes
// file, the page message for anything else.
QString readFailure(QByteArrayView head, const QString &reason)
{
    return startsAsThemes(head) ? QStringLiteral("Invalid themes file: %1").arg(reason) : kInvalidDocumentMessage;
}

// Reads any component stream into the generic tree.
bool readObject(const QString &path, Stream::Object &object, QString *error)
{
    QFile file(path);
    QString reason;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = kInvalidDocumentMessage;
        return false;
    }
    const QByteArray head = file.peek(16);
    if (Stream::read(file, object, &reason))
        return true;
    *error = readFailure(head, reason);
    return false;
}

// Writes the page's HTML a few thousand lines at a time, so that the whole page is never held
// as bytes as well as text.
bool writeHtml(const QStringList &lines)
{
    constexpr qsizetype kLinesAtATime = 4096;
    for (qsizetype at = 0; at < lines.size(); at += kLinesAtATime) {
        if (!writeStdout(EncodeHtmlLines(lines.mid(at, kLinesAtATime))))
            return false;
    }
    return true;
}

int exportHtml(QStringList args)
{
    quint8 mode = pmRelative;
    bool logo = false;
    QString path;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == u"--logo") {
            logo = true;
        } else if (arg == u"--mode" && !args.isEmpty()) {
            const QString name = args.takeFirst();
            if (name == u"preview")
                mode = pmPreview;
            else if (name == u"relative")
                mode = pmRelative;
            else if (name == u"upload")
                mode = pmUpload;
            else
                return usage();
        } else if (path.isEmpty() && !arg.startsWith(u"--")) {
            path = arg;
        } else {
            return usage();
        }
    }
    if (path.isEmpty())
        return usage();
    QString error;
    const auto page = LoadDocument(path, &error);
    if (!page)
        return fail(kInvalidDocumentMessage);
    const QStringList lines = BuildPageHtml(*page, mode, logo, ProgramFolder(), StoredFormAction(), &error);
    if (!error.isEmpty())
        return fail(error);
    return writeHtml(lines) ? 0 : fail(QStringLiteral("Cannot write the page"));
}

int exportJson(const QString &path)
{
    Stream::Object object;
    QString error;
    if (!readObject(path, object, &error))
        return fail(error);
    return writeStdout(StreamToJson(object)) ? 0 : fail(QStringLiteral("Cannot write the JSON text"));
}

int resave(const QString &path, const QString &out)
{
    QFile file(path);
    Stream::FileBytes contents;
    QString error;
    if (!file.open(QIODevice::ReadOnly))
        return fail(kInvalidDocumentMessage);
    if (!contents.load(file, &error))
        return fail(readFailure(file.peek(16), error));
    const QByteArrayView bytes = contents.bytes();
    // A page, the large case, is read straight into the page and written straight to the file;
    // themes go through the tree.
    Stream::StreamReader header(bytes);
    const bool isThemes = header.readHeader() ? Stream::sameName(Cp1252::decode(header.className()), u"TWebTheme")
                                              : startsAsThemes(bytes);
    if (isThemes) {
        Stream::Object object;
        if (!Stream::read(bytes, object, &error))
            return fail(readFailure(bytes, error));
        TWebTheme themes;
        if (!ThemesFromStream(object, themes, &error))
            return fail(QStringLiteral("Invalid themes file: %1").arg(error));
        if (!WriteFileAtomically(out, Stream::write(ThemesToStream(themes)), &error))
            return fail(QStringLiteral("Cannot write %1: %2").arg(out, error));
        return 0;
    }
    TPagelette page;
    if (!ReadDocument(bytes, page, &error))
        return fail(kInvalidDocumentMessage);
    return WriteDocument(out, page, &error) ? 0 : fail(error);
}

} // namespace

int main(int argc, char *argv[])
{
    if (const auto answered = AnswerHelpOrVersion(argc, argv, u"brisko-export", kUsage))
        return *answered;
    QCoreApplication app(argc, argv);
    // Preview pages address pictures in the program folder, the same one the program uses.
    if (const QString problem = CurrentProgramFolder().error; !problem.isEmpty())
        std::fprintf(stderr, "brisko-export: warning: %s\n", problem.toLocal8Bit().constData());
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == u"html")
        return exportHtml(args);
    if (command == u"json" && args.size() == 1)
        return exportJson(args.at(0));
    if (command == u"resave" && args.size() == 2)
        return resave(args.at(0), args.at(1));
    return usage();
}
