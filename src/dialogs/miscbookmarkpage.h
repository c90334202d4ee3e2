#pragma once

#include <QStringList>
#include <QWidget>

#include <memory>

namespace Ui {
class TMiscBookmarkPage;
}

// The bookmark page of the font, bookmark and meta tag dialog: the addresses of the browser's
// bookmark file, of which the user picks one.
class TMiscBookmarkPage : public QWidget
{
    Q_OBJECT

public:
    explicit TMiscBookmarkPage(QWidget *parent = nullptr);
    ~TMiscBookmarkPage() override;

    // The selected entry, empty when none.
    QString selectedBookmark() const;
    QStringList bookmarks() const;
    // Adds the addresses of the bookmark file at path to the list; false when it cannot be read.
    // The list then holds at least the "No Bookmarks found." entry and its first row is selected.
    bool loadBookmarks(const QString &path);

    // Loads the file the browser's settings name. When that fails, asks whether the user wants
    // to find the file; false when the user does not (the dialog then closes with Cancel).
    bool prepare();

Q_SIGNALS:
    // An entry was double-clicked: the user has made a choice.
    void bookmarkChosen();

private:
    std::unique_ptr<Ui::TMiscBookmarkPage> ui;
};
