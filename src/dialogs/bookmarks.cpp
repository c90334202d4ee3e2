#include "bookmarks.h"

#include "platform/textutils.h"

#include <QIODevice>

using namespace Qt::StringLiterals;

namespace Bookmarks {

void scanLine(QString line, QStringList &out)
{
    static const QString attribute = u"HREF=\""_s;
    // A negative start makes the search ignore case, so href=" is found as well.
    for (int pos = WildcardPos(line, attribute, -1); pos > 0; pos = WildcardPos(line, attribute, -1)) {
        line.remove(0, pos - 1 + attribute.size());
        qsizetype end = line.indexOf(u'"');
        if (end < 0)
            end = line.indexOf(u' ');
        if (end < 0) {
            // Neither a quote nor a blank: nothing of the line can be an address.
            out.append(QString());
            continue;
        }
        out.append(line.left(end));
        line.remove(0, end + 1);
    }
}

bool scan(QIODevice &device, QStringList &out)
{
    if (!device.isOpen() && !device.open(QIODevice::ReadOnly))
        return false;
    while (!device.atEnd()) {
        const QByteArray raw = device.readLine();
        if (raw.isEmpty() && !device.atEnd())
            return false;
        QString line = QString::fromUtf8(raw);
        while (line.endsWith(u'\n') || line.endsWith(u'\r'))
            line.chop(1);
        scanLine(line, out);
    }
    return true;
}

QString bookmarkFilePath(const NetscapeSettings &settings)
{
    if (!settings.fileLocation.isEmpty())
        return settings.fileLocation;
    QString folder = settings.installDirectory;
    const qsizetype cut = folder.indexOf(u"Communicator"_s, 0, Qt::CaseSensitive);
    if (cut >= 0)
        folder.truncate(cut);
    return folder + u"Users\\"_s + settings.currentUser + u"\\bookmark.htm"_s;
}

} // namespace Bookmarks
