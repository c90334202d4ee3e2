#pragma once

#include "document/blockedit.h"
#include "forms/fieldbank.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTreeWidgetItem;
class TFieldListView;

// "Commonly Used Fields": in field bank mode the user composes the list of default fields by
// dragging entries from the bank of "Fields.ini", and OK saves that list when it changed; in
// options mode ("E-mail Form Advanced Options") it shows the form options of a page, which the
// caller sets and reads.
class TfrmCommonFields : public QDialog
{
    Q_OBJECT

public:
    enum Mode { FieldBankMode = 0, OptionsMode = 1 };

    // programFolder (ending in a separator) holds "Fields.ini"; options mode does not use it.
    TfrmCommonFields(Mode mode, const QString &programFolder, QWidget *parent = nullptr);
    ~TfrmCommonFields() override;

    Mode mode() const { return m_mode; }
    bool isModified() const { return m_modified; }

    // Options mode: the controls from the page's form options and the user's form-to-mail
    // address, and back.
    void setOptions(const TFormOptions &options, const QString &formAction);
    TFormOptions options() const;
    QString formAction() const;

    // Field bank mode: the rows of the default list.
    QList<TFieldEntry> defaultFields() const;

    void accept() override;

private:
    void buildFieldBankPanel();
    void buildOptionsPanel();
    void loadLists();
    void lvFormsDragDrop(TFieldListView *source, QTreeWidgetItem *target);
    void lvFieldBankDragDrop(TFieldListView *source, QTreeWidgetItem *target);
    void removeDefaultField();
    void moveDefaultField(int step);
    void updateMoveButtons();
    void btnResetClick();
    void setModified();

    Mode m_mode;
    FieldBank m_bank;
    bool m_modified = false;
    // The default list in the file could not be read: it is not overwritten unless the user
    // composes a new one.
    bool m_defaultsUnread = false;

    QWidget *pnlCommon = nullptr;
    TFieldListView *lvForms = nullptr;
    TFieldListView *lvFieldBank = nullptr;
    QPushButton *btnMoveUp = nullptr;
    QPushButton *btnMoveDown = nullptr;
    QPushButton *btnReset = nullptr;

    QWidget *pnlAdvanced = nullptr;
    QLineEdit *txtFormTitle = nullptr;
    QCheckBox *chkFooter = nullptr;
    QCheckBox *chkUseBorder = nullptr;
    QCheckBox *chkAddress = nullptr;
    QCheckBox *chkSubject = nullptr;
    QCheckBox *chkIP = nullptr;
    QCheckBox *chkHostname = nullptr;
    QCheckBox *chkBrowser = nullptr;
    QCheckBox *chkBlankFields = nullptr;
    QCheckBox *chkSort = nullptr;
    QLineEdit *txtFormAction = nullptr;

    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;
};
