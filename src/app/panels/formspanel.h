#pragma once

#include "app/panels/blockpanel.h"

#include <memory>

class QMenu;
class QAction;
class QTreeWidgetItem;
class TFieldListView;
class TPagelette;

namespace Ui {
class TFormsPanel;
}

// The Forms block: where the page's e-mail form is sent (address, subject, the page shown
// afterwards) and the list of its fields. The block itself holds nothing; all of it belongs to
// the page's form. The field commands change the page's form at once, keeping the list and the
// form in the same order, and announce every change with formChanged().
class TFormsPanel : public TBlockPanel
{
    Q_OBJECT

public:
    explicit TFormsPanel(QWidget *parent = nullptr);
    ~TFormsPanel() override;

    void load(const TPagelette &doc, const TPageItem &item) override;
    void commit(TPagelette &doc, TPageItem &item) override;

    // The page whose form the field commands change; loading the Forms block and filling the
    // list set it, clearing the list forgets it.
    void setPage(TPagelette *page) { m_page = page; }
    // The folder whose "Fields.ini" holds the field bank (ends in a separator).
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }

    // The field list: filled from the form after a file is loaded, emptied (with its buttons
    // disabled) when the Forms block is deleted.
    void fillFields(TPagelette &doc);
    void clearFields();

    // Clear All: asks first; true when the form is empty afterwards.
    bool btnFormClearClick();

Q_SIGNALS:
    // The page's form or its options changed.
    void formChanged();

private:
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
    TPagelette *m_page = nullptr;
    QString m_programFolder;
    QMenu *popForms = nullptr;
    QList<QAction *> m_listItems; // the menu items shown only over the list
    QAction *popFormsEdit = nullptr;
    QAction *popFormsDelete = nullptr;
    QAction *popFormsMvUp = nullptr;
    QAction *popFormsMvDwn = nullptr;
};
