#pragma once

#include "app/panels/blockpanel.h"

#include <memory>

class QMenu;
class QAction;
class QTreeWidgetItem;
class PageDocument;
class TFieldListView;

namespace Ui {
class TFormsPanel;
}

// The Forms block: where the page's e-mail form is sent (address, subject, the page shown
// afterwards) and the list of its fields. The block itself holds nothing; all of it belongs to
// the page's form. The field commands are the document's, carried out at once; the list follows
// the document's form, row i showing field i, also on undo and redo.
class TFormsPanel : public TBlockPanel
{
    Q_OBJECT

public:
    explicit TFormsPanel(QWidget *parent = nullptr);
    ~TFormsPanel() override;

    void load(const TPagelette &doc, const TPageItem &item) override;
    void commit(TBlockEdit &edit) override;

    // The document whose form the field commands change and the list shows.
    void setDocument(PageDocument *document);
    // The folder whose "Fields.ini" holds the field bank (ends in a separator).
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }

    // Clear All: asks first; true when the form is empty afterwards.
    bool btnFormClearClick();

private:
    // The list anew from the form, keeping the row that had the focus.
    void fillFields();
    // The question of Clear All; true when the list is empty or the answer is Yes.
    bool mayClear();
    void addField(int kind);
    void editField();
    void removeField();
    void moveField(int step);
    void loadBasicFields();
    void showOptions();
    void updateButtons();
    void lvFormsDragDrop(TFieldListView *source, QTreeWidgetItem *target);
    void popFormsPopup(bool overList, const QPoint &globalPos);

    std::unique_ptr<Ui::TFormsPanel> ui;
    PageDocument *m_doc = nullptr;
    QString m_programFolder;
    QMenu *popForms = nullptr;
    QList<QAction *> m_listItems; // the menu items shown only over the list
    QAction *popFormsEdit = nullptr;
    QAction *popFormsDelete = nullptr;
    QAction *popFormsMvUp = nullptr;
    QAction *popFormsMvDwn = nullptr;
};
