#pragma once

#include <QString>
#include <QStringList>

class QIODevice;

// Reading the addresses out of a browser's bookmark file ("bookmark.htm" of Netscape Navigator,
// "bookmarks.html" as browsers still export it): every HREF="..." value, in file order.
namespace Bookmarks {

// The entry a list shows when a file held no addresses.
inline constexpr char16_t kNoBookmarks[] = u"No Bookmarks found.";

// Appends the addresses of one line to out. Each HREF=" (any case) starts an address that ends
// before the next double quote, else before the next blank, else is empty.
void scanLine(QString line, QStringList &out);

// Appends the addresses of every line of device to out. False on a read error; addresses
// found before it stay in out.
bool scan(QIODevice &device, QStringList &out);

// The Netscape Navigator settings that locate the bookmark file.
struct NetscapeSettings
{
    QString fileLocation;     // "Bookmark List\File Location"
    QString currentUser;      // "Biff\CurrentUser"
    QString installDirectory; // "Main\Install Directory"
};

// The file location when set, otherwise install directory (cut before "Communicator") +
// "Users\" + user + "\bookmark.htm".
QString bookmarkFilePath(const NetscapeSettings &settings);

} // namespace Bookmarks
