#pragma once

#include "html/markup.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmMisc;
}

// The small helper dialog behind three commands, chosen with DialogMode before it is shown:
// 0 picks a heading or paragraph font, 1 picks an address from the browser's bookmark file,
// 2 enters one meta tag (name and content). Each mode has a page of its own.
class TfrmMisc : public QDialog
{
    Q_OBJECT

public:
    enum Mode : quint8 { FontMode = 0, BookmarkMode = 1, MetaMode = 2 };

    explicit TfrmMisc(QWidget *parent = nullptr);
    ~TfrmMisc() override;

    quint8 DialogMode() const { return m_mode; }
    void setDialogMode(quint8 mode);

    // The installed font families by name, sorted without regard to case, each once.
    static QStringList installedFaces();

    // Font mode: the sample's font, copied in before showing and out after OK.
    TFontSpec sampleFont() const;
    void setSampleFont(const TFontSpec &font);

    // Meta mode: the chosen name (empty when none of the five is selected) and the content.
    QString metaName() const;
    // Selects name among the five choices ignoring case; nothing when it is not one of them.
    void setMetaName(const QString &name);
    QString metaContent() const;
    void setMetaContent(const QString &content);

    // Bookmark mode: the selected entry, empty when none.
    QString selectedBookmark() const;
    QStringList bookmarks() const;
    // Adds the addresses of the bookmark file at path to the list; false when it cannot be read.
    // The list then holds at least the "No Bookmarks found." entry and its first row is selected.
    bool loadBookmarks(const QString &path);

    // Prepares the mode's page as showing the dialog does; false when bookmark mode gave up
    // (the dialog then closes with Cancel without being shown).
    bool prepare();
    int exec() override;

private:
    void updateOk();

    std::unique_ptr<Ui::TfrmMisc> ui;
    quint8 m_mode = FontMode;
    bool m_prepared = false;
};
