#pragma once

#include <QString>
#include <QStringList>

class TPagelette;

// The local files of a published page: the existing background and image files of the page, sorted
// without regard to case (an entry is dropped only when it is the very same path), then the page itself.
QStringList BuildUploadList(const TPagelette &page, const QString &programFolder);
// "Upload/<project name without extension and spaces>.html" below the program folder.
QString PublishedPagePath(const QString &documentName, const QString &programFolder);
// The whole list: BuildUploadList, then the published page when it exists.
QStringList PublishFileList(const TPagelette &page, const QString &documentName, const QString &programFolder);

// True when the file's real path, with links and ".." resolved, lies inside folder.
bool LiesInside(const QString &path, const QString &folder);

// Local pictures and pages the published page refers to that would be missing on the server: each entry
// reads "NAME is missing on disk" or "NAME is not in the upload list".
QStringList PrePublishCheck(const QString &htmlPath, const QStringList &uploadList);
