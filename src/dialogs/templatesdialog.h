#pragma once

#include <QDialog>

#include <memory>

class QListWidgetItem;

namespace Ui {
class TfrmTemplates;
}

// The Open dialog: lists the templates in "Templates/" and the projects in "BriskoFiles/"
// with a preview of each, browses for any other file and deletes entries.
class TfrmTemplates : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmTemplates(const QString &programFolder, QWidget *parent = nullptr);
    ~TfrmTemplates() override;

    // Full path of the file to open, with its extension; empty until one is chosen.
    QString SelectedFile() const;

private:
    // Adds an entry for every file of folder whose name ends in extension; icon 0 for
    // templates, 1 for projects.
    void listFolder(const QString &folder, const QString &extension, int icon);
    void lvTemplatesSelectItem();
    void btnOpenClick();
    void btnDeleteClick();
    // Shows the preview page at path when it exists, resolving absolute references against
    // serverRoot. Errors are ignored: the viewer keeps what it showed.
    void showPreview(const QString &path, const QString &serverRoot);
    // The file behind an entry, or its preview page with extension "html".
    QString entryFile(const QListWidgetItem *item, const QString &extension) const;

    std::unique_ptr<Ui::TfrmTemplates> ui;
    QString m_programFolder;
    QString m_selectedFile;
};
