#pragma once

#include "forms/formmodel.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TFieldListView;

// The field dialog: one form field's page text, name, value, kind-specific size settings and,
// for radio buttons, check boxes and drop-down lists, its list of choices, with a live sample
// of the field. The kind is fixed for the dialog's life. FillFieldDialog loads a field into
// it; StoreFieldDialog stores it after OK.
class TfrmFields : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmFields(TFieldKind kind, QWidget *parent = nullptr);
    ~TfrmFields() override;

    TFieldKind kind() const { return m_kind; }

    // The names of the form's other fields: OK refuses a name that the page would write as one
    // of theirs.
    void setOtherFieldNames(const QStringList &names) { m_otherNames = names; }

    // The drop-down sample's entries are brought in line with the choice rows.
    void RefreshSample();

    // The choice rows in storing order: value, text and flag ("Yes", "No", or empty for a row
    // that never had one).
    struct Choice
    {
        QString value;
        QString text;
        QString flag;
    };
    QList<Choice> choices() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend void FillFieldDialog(TfrmFields &dialog, const TFormElement &element);
    friend void StoreFieldDialog(const TfrmFields &dialog, TFieldKind kind, TFormElement &element);

    void buildControls();
    void setUpKind();
    void updateCaption();
    // The required-name rule: an empty name is refused with a message and becomes "Untitled".
    bool refuseEmptyName();
    // A name another field has is refused with a message; the dialog stays open.
    bool refuseTakenName();
    QTreeWidgetItem *addChoiceRow(const QString &value, const QString &text, const QString &flag);

    void btnAddClick();
    void btnEditClick();
    void btnDeleteClick();
    void btnDropApplyClick();
    void closeEntry();
    void showEntry();
    void lvDropDownSelectionChanged();
    void lvDropDownDragDrop(TFieldListView *source, QTreeWidgetItem *target);
    void popOptionsPopup(const QPoint &pos);

    TFieldKind m_kind;
    QStringList m_otherNames;
    bool m_editingRow = false;
    bool m_shown = false;

    QPlainTextEdit *txtText = nullptr;
    QLineEdit *txtName = nullptr;
    QLineEdit *txtValue = nullptr;
    QLabel *lblSize = nullptr;
    QComboBox *cbSize = nullptr;
    QWidget *pnlTextArea = nullptr;
    QLineEdit *txtRows = nullptr;
    QLineEdit *txtCols = nullptr;
    QWidget *pnlDropDown = nullptr;
    TFieldListView *lvDropDown = nullptr;
    QToolButton *btnAdd = nullptr;
    QToolButton *btnDelete = nullptr;
    QToolButton *btnEdit = nullptr;
    QMenu *popOptions = nullptr;
    QAction *popOptionsEdit = nullptr;
    QAction *popOptionsDelete = nullptr;
    QWidget *pnlDropText = nullptr;
    QLineEdit *txtDropValue = nullptr;
    QLineEdit *txtDropText = nullptr;
    QPushButton *btnDropApply = nullptr;
    QPushButton *btnDropCancel = nullptr;
    QCheckBox *chkCheck = nullptr;
    QLabel *lblSample = nullptr;
    QWidget *pnlSample = nullptr;
    QLabel *lblSampleText = nullptr;
    QWidget *sample = nullptr;
    QComboBox *sampleList = nullptr; // the drop-down sample, when that is the sample
    QLineEdit *sampleEdit = nullptr; // the text box sample
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
};

// The names of the fields of form other than the one at index except.
QStringList OtherFieldNames(const TWebForm &form, int except = -1);

// Loads element into the dialog before it is shown.
void FillFieldDialog(TfrmFields &dialog, const TFormElement &element);

// After OK: stores the dialog into element, a new one or a copy of the field it was filled
// from. Lines of a text box or text area other than its size settings (such as "Maxlength")
// are kept.
void StoreFieldDialog(const TfrmFields &dialog, TFieldKind kind, TFormElement &element);

// The value of the first "name=value" line of strings with that name (any case); empty when none.
QString StringsValue(const QStringList &strings, QStringView name);
// Replaces the first line named name with "name=value", or appends it when there is none.
void SetStringsValue(QStringList &strings, QStringView name, const QString &value);
