#pragma once

#include "format/componentstream.h"
#include "pagemodel.h"

#include <QString>

#include <memory>

class QIODevice;

// Project (.mbe) and template (.mbt) files: one page document as a component stream.

// What the user is told about a file that cannot be read as a page.
extern const QString kInvalidDocumentMessage;
// What the user is told when a project or template file cannot be created.
extern const QString kUnableToCreateFileMessage;

// The page as a stream object, with the properties in the order the files have them.
Stream::Object PageToStream(const TPagelette &page);

// Fills page from a stream object. Rejects a foreign class, a property the page does not
// have and a value of the wrong kind; page is left unchanged then.
bool PageFromStream(const Stream::Object &object, TPagelette &page, QString *error);

// Reads a page straight from the file's bytes, without the stream object in between. Accepts
// and rejects what Stream::read and PageFromStream do, and says why in the same words; page is
// left unchanged on failure.
bool ReadDocument(QByteArrayView bytes, TPagelette &page, QString *error);
bool ReadDocument(QIODevice &device, TPagelette &page, QString *error);

// The file's bytes for the page, written straight from it; the same bytes as
// Stream::write(PageToStream(page)).
QByteArray DocumentBytes(const TPagelette &page);
// The same bytes onto the device, a piece at a time; false when a write failed.
bool WriteDocument(QIODevice &device, const TPagelette &page);

// Reads a project or template file; nullptr with the reason when it is not a valid page.
std::unique_ptr<TPagelette> LoadDocument(const QString &path, QString *error);

// Writes the file through a temporary file and a rename, so a failed write leaves the
// previous file as it was.
bool WriteDocument(const QString &path, const TPagelette &page, QString *error);

// The document name after loading path: "Untitled" for a template (extension exactly
// ".mbt"), the path otherwise.
QString DocumentNameAfterLoad(const QString &path);

// "Untitled - <title>" style title bar text for a document name.
QString TitleBarText(const QString &documentName, const QString &applicationTitle);

// The base name of a saved page: the file name without folder and without its last extension.
QString PageBaseName(const QString &path);

// Where Save puts the two HTML copies of a project saved at projectPath: the preview page in
// the projects folder under the base name, the published page in the upload folder under the
// base name without spaces.
struct SavedPagePaths
{
    QString previewPage;    // <program folder>BriskoFiles/<base>.html
    QString publishedPage;  // <program folder>Upload/<base without spaces>.html
    QString publishedName;  // <base without spaces>.html, as the user is told
};
SavedPagePaths SavePagePaths(const QString &programFolder, const QString &projectPath);

// Where Save As Template puts the template's preview page: <program folder>Templates/<base>.html.
QString TemplatePreviewPath(const QString &programFolder, const QString &templatePath);
