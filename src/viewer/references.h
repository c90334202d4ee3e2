#pragma once

#include <QString>
#include <QStringView>

// Where a reference in a page (a picture source, a background, a link target) leads on disk.
//
// The pages were written for a system with drive letters and backslashes; on this one:
//  1. "%" and two hexadecimal digits become the byte they name (a run of them is read as UTF-8
//     when it is valid UTF-8, else as Windows-1252).
//  2. When the reference contains "/": a leading "file://" is removed (and the "/" before a
//     drive letter, "file:///C|/x"), and every "|" becomes ":".
//  3. Every "\" becomes "/".
//  4. A reference with a scheme of two or more letters ("http:", "mailto:") is no local file.
//  5. A path that starts with one "/" is the server root's path when a server root is set,
//     unless the path names a file of this system: the file itself, or its folder when that is
//     not "/", exists (letter case ignored). So the absolute picture paths of a generated
//     preview page stay as they are, while "/images/a.gif" is looked for below the server root.
//  6. Any other path that is not absolute is relative to the folder of the loaded file (to the
//     working folder for a document without a file); "." and ".." steps are resolved.
//  7. A folder or file name that does not exist as written is matched without regard to letter
//     case, one name at a time, so "../Upload/Images/a.gif" finds "Upload/images/a.gif".
namespace References {

// The local path of reference, or an empty string when it names no local file. serverRoot and
// baseFolder use either separator and may be empty.
QString resolve(QStringView reference, const QString &serverRoot, const QString &baseFolder);

// path with every name that does not exist as written replaced by the first entry of its folder
// that matches it without regard to case; path unchanged when some name has no match.
QString matchCase(const QString &path);

// Step 1 alone.
QString decodePercent(QStringView reference);

// Whether reference names no file at all: it is empty, or it ends with a folder separator, as the
// page generator writes the source of an image block whose picture is not chosen yet.
bool namesNoFile(QStringView reference);

} // namespace References
