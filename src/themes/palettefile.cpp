#include "palettefile.h"

#include "platform/textutils.h"

#include <QDir>
#include <QFile>
#include <QIODevice>

using namespace Qt::StringLiterals;

namespace Palette {

namespace {

constexpr int kWhite = 0xFFFFFF;

TColor rgb(const std::array<int, 3> &c)
{
    return TColor(c[0] | (c[1] << 8) | (c[2] << 16));
}

} // namespace

Table whiteTable()
{
    Table table;
    table.fill(kWhite);
    return table;
}

void parse(const QString &text, Table &table)
{
    table = whiteTable();
    // Components carry over from one counted line to the next.
    std::array<int, 3> components = {kUnfilledComponent, kUnfilledComponent, kUnfilledComponent};
    int stored = 0;
    const QStringList lines = Text::splitLines(text);
    for (const QString &line : lines) {
        if (stored >= kColors)
            break;
        // Titles and short counts are not colours.
        if (line.size() <= 3 || !IsDigitsOrSpaces(line))
            continue;
        int position = 1;
        int filled = 0;
        while (filled < 3 && position != 0) {
            const QString field = NextToken(line, u" "_s, position);
            if (field.isEmpty() || field.size() > 3)
                continue;
            const int value = field.toInt();
            components[size_t(filled++)] = value < 256 ? value : 255;
        }
        table[size_t(stored++)] = rgb(components);
    }
}

QString nameOf(const QString &fileName)
{
    return fileName.endsWith(kExtension, Qt::CaseInsensitive) ? fileName.chopped(kExtension.size()) : fileName;
}

QStringList filesIn(const QString &folder)
{
    // Name filters of QDir ignore case, so "Sea.PAL" is listed with the others.
    return QDir(folder).entryList({u"*"_s + kExtension}, QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
}

bool Reader::read(QIODevice *device, Table &table)
{
    m_error.clear();
    if (!device->isOpen() && !device->open(QIODevice::ReadOnly)) {
        raiseError(device->errorString());
        return false;
    }
    const QByteArray bytes = device->readAll();
    if (bytes.isEmpty() && !device->atEnd()) {
        raiseError(device->errorString());
        return false;
    }
    // Only digits and blanks matter, so any single-byte reading will do.
    parse(QString::fromLatin1(bytes), table);
    return true;
}

bool Reader::read(const QString &fileName, Table &table)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        raiseError(u"Cannot open file \"%1\". %2"_s.arg(QDir::toNativeSeparators(fileName), file.errorString()));
        return false;
    }
    return read(&file, table);
}

void Reader::raiseError(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message;
}

} // namespace Palette
