#pragma once

#include <QString>

class QWidget;

// Bringing a picked picture into the folder the pages take their pictures from (the upload image
// or background folder), where a page names it without a folder.
struct StoredPicture
{
    enum Outcome { Stored, Cancelled, Failed };
    Outcome outcome = Cancelled;
    QString path;  // the picture in the folder the page is to use (Stored and Failed)
    QString error; // why the copy failed (Failed)
};

// Copies source into folder (ending with "/") under its own name. A file of that name with the
// same content is taken as it is, without a copy or a question. A different file of that name
// raises the question: Yes replaces it (every page and theme using the name changes with it), No
// keeps both and saves the new picture under the first free "name-2.ext", "name-3.ext"... (or one
// of them that already holds the same picture), Cancel leaves everything as it was. The folder is
// made when it is missing.
StoredPicture StorePicture(QWidget *parent, const QString &source, const QString &folder);
