#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A bookmark file the way current browsers export it ("bookmarks.html"): a folder on the
// bookmarks bar, an icon attribute, a duplicate address, non-ASCII text and LF line ends.
inline QByteArray exportedBookmarks()
{
    return QByteArrayLiteral("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                             "<!-- This is an automatically generated file.\n"
                             "     It will be read and overwritten.\n"
                             "     DO NOT EDIT! -->\n"
                             "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                             "<TITLE>Bookmarks</TITLE>\n"
                             "<H1>Bookmarks</H1>\n"
                             "<DL><p>\n"
                             "    <DT><H3 ADD_DATE=\"1712345678\" LAST_MODIFIED=\"1712345999\" "
                             "PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks bar</H3>\n"
                             "    <DL><p>\n"
                             "        <DT><A HREF=\"https://www.debian.org/\" ADD_DATE=\"1712345680\" "
                             "ICON=\"data:image/png;base64,iVBORw0KGgo=\">Debian</A>\n"
                             "        <DT><A HREF=\"https://walking.example.org/caf%C3%A9?x=1&amp;y=2\" "
                             "ADD_DATE=\"1712345681\">Caf\xc3\xa9 walks</A>\n"
                             "    </DL><p>\n"
                             "    <DT><H3 ADD_DATE=\"1712345700\" LAST_MODIFIED=\"1712345701\">Reading</H3>\n"
                             "    <DL><p>\n"
                             "        <DT><A HREF=\"https://doc.qt.io/qt-6/\" ADD_DATE=\"1712345702\" "
                             "LAST_MODIFIED=\"1712345703\" SHORTCUTURL=\"qt\">Qt 6</A>\n"
                             "        <DD>The Qt documentation\n"
                             "    </DL><p>\n"
                             "    <DT><A HREF=\"https://www.debian.org/\" ADD_DATE=\"1712345710\">Debian again</A>\n"
                             "</DL><p>\n");
}

inline QStringList exportedAddresses()
{
    return {QStringLiteral("https://www.debian.org/"),
            QStringLiteral("https://walking.example.org/caf%C3%A9?x=1&amp;y=2"),
            QStringLiteral("https://doc.qt.io/qt-6/"), QStringLiteral("https://www.debian.org/")};
}
