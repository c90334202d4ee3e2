#include "commonfieldsdialog.h"

#include "document/blockedit.h"
#include "forms/gui/fieldlist.h"
#include "html/formhtml.h"
#include "platform/gui/busycursor.h"
#include "platform/gui/dialogframe.h"
#include "platform/gui/messages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QCheckBox *checkBox(const QString &caption, const char *name, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1StringView(name));
    return box;
}

TFieldListView *fieldList(const char *name, QWidget *parent)
{
    auto *list = new TFieldListView(parent);
    list->setObjectName(QLatin1StringView(name));
    list->setHeaderLabels({u"Name"_s, u"Type"_s});
    // Room for the longest names of the bank and for the longest kind caption.
    list->setColumnWidth(0, list->fontMetrics().horizontalAdvance(u"Zip Code/Postal Code"_s) + 40);
    list->header()->setStretchLastSection(true);
    list->setMinimumSize(list->columnWidth(0) + list->fontMetrics().horizontalAdvance(u"Drop Down"_s) + 64, 240);
    return list;
}

QList<TFieldEntry> rowsOf(const QTreeWidget *list)
{
    QList<TFieldEntry> entries;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = list->topLevelItem(i);
        entries.append({row->text(0), FieldRowKind(row)});
    }
    return entries;
}

void fillRows(QTreeWidget *list, const QList<TFieldEntry> &entries)
{
    list->clear();
    for (const TFieldEntry &entry : entries)
        AddFieldRow(list, entry.Name, entry.Kind);
}

} // namespace

TfrmCommonFields::TfrmCommonFields(Mode mode, const QString &programFolder, QWidget *parent)
    : QDialog(parent), m_mode(mode), m_bank(programFolder)
{
    setObjectName(u"TfrmCommonFields"_s);
    auto *main = new QVBoxLayout(this);
    buildFieldBankPanel();
    buildOptionsPanel();
    main->addWidget(pnlCommon);
    main->addWidget(pnlAdvanced);

    auto *closing = new QHBoxLayout;
    closing->addWidget(btnReset);
    closing->addStretch();
    btnOk = new QPushButton(u"OK"_s, this);
    btnOk->setObjectName(u"btnOk"_s);
    btnOk->setDefault(true);
    btnCancel = new QPushButton(u"Cancel"_s, this);
    btnCancel->setObjectName(u"btnCancel"_s);
    closing->addWidget(btnOk);
    closing->addWidget(btnCancel);
    main->addLayout(closing);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    if (m_mode == OptionsMode) {
        setWindowTitle(u"E-mail Form Advanced Options"_s);
        pnlCommon->hide();
        btnReset->hide();
    } else {
        setWindowTitle(u"Commonly Used Fields"_s);
        pnlAdvanced->hide();
        loadLists();
    }
    adjustSize();
    DialogFrame::makeFixedSize(this, sizeHint());
}

TfrmCommonFields::~TfrmCommonFields() = default;

void TfrmCommonFields::buildFieldBankPanel()
{
    pnlCommon = new QWidget(this);
    pnlCommon->setObjectName(u"pnlCommon"_s);
    auto *layout = new QGridLayout(pnlCommon);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *intro = new QLabel(u"To Add items to your list, simply drag and drop the item from the Field Bank below. To "
                             u"Remove an item, drag it back to the Field Bank or highlight it and hit Delete."_s,
                             pnlCommon);
    intro->setWordWrap(true);
    auto *note = new QLabel(u"You can add your own customized Fields by clicking on the \"Add Field\" button (+) in "
                            u"the previous window."_s,
                            pnlCommon);
    note->setWordWrap(true);
    layout->addWidget(intro, 0, 0, 1, 3);
    layout->addWidget(note, 1, 0, 1, 3);

    lvForms = fieldList("lvForms", pnlCommon);
    lvFieldBank = fieldList("lvFieldBank", pnlCommon);
    lvForms->setAccessibleName(u"Common Fields"_s);
    lvFieldBank->setAccessibleName(u"Field Bank"_s);
    layout->addWidget(new QLabel(u"Common Fields"_s, pnlCommon), 2, 0);
    layout->addWidget(new QLabel(u"Field Bank"_s, pnlCommon), 2, 2);
    layout->addWidget(lvForms, 3, 0);
    layout->addWidget(lvFieldBank, 3, 2);

    auto *moves = new QVBoxLayout;
    btnMoveUp = new QPushButton(u"Priority"_s, pnlCommon);
    btnMoveUp->setObjectName(u"btnMoveUp"_s);
    btnMoveUp->setToolTip(u"Move Up"_s);
    btnMoveUp->setAccessibleName(btnMoveUp->toolTip()); // both buttons read "Priority"
    btnMoveUp->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    btnMoveDown = new QPushButton(u"Priority"_s, pnlCommon);
    btnMoveDown->setObjectName(u"btnMoveDown"_s);
    btnMoveDown->setToolTip(u"Move Down"_s);
    btnMoveDown->setAccessibleName(btnMoveDown->toolTip());
    btnMoveDown->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    for (QPushButton *button : {btnMoveUp, btnMoveDown}) {
        button->setEnabled(false);
        button->setAutoDefault(false);
    }
    moves->addStretch();
    moves->addWidget(btnMoveUp);
    moves->addWidget(btnMoveDown);
    moves->addStretch();
    layout->addLayout(moves, 3, 1);

    btnReset = new QPushButton(u"&Reset"_s, this);
    btnReset->setObjectName(u"btnReset"_s);
    btnReset->setAutoDefault(false);

    connect(lvForms, &TFieldListView::rowDropped, this, &TfrmCommonFields::lvFormsDragDrop);
    connect(lvFieldBank, &TFieldListView::rowDropped, this, &TfrmCommonFields::lvFieldBankDragDrop);
    connect(lvForms, &TFieldListView::deletePressed, this, &TfrmCommonFields::removeDefaultField);
    connect(lvForms, &QTreeWidget::itemSelectionChanged, this, &TfrmCommonFields::updateMoveButtons);
    connect(btnMoveUp, &QPushButton::clicked, this, [this] { moveDefaultField(-1); });
    connect(btnMoveDown, &QPushButton::clicked, this, [this] { moveDefaultField(1); });
    connect(btnReset, &QPushButton::clicked, this, &TfrmCommonFields::btnResetClick);
}

void TfrmCommonFields::buildOptionsPanel()
{
    pnlAdvanced = new QWidget(this);
    pnlAdvanced->setObjectName(u"pnlAdvanced"_s);
    auto *layout = new QVBoxLayout(pnlAdvanced);
    layout->setContentsMargins(0, 0, 0, 0);

    auto *table = new QGroupBox(u"Table Properties"_s, pnlAdvanced);
    auto *tableLayout = new QGridLayout(table);
    auto *lblTitle = new QLabel(u"Form &Title"_s, table);
    txtFormTitle = new QLineEdit(table);
    txtFormTitle->setObjectName(u"txtFormTitle"_s);
    lblTitle->setBuddy(txtFormTitle);
    chkFooter = checkBox(u"Include F&ooter"_s, "chkFooter", table);
    chkUseBorder = checkBox(u"Use Table &Border"_s, "chkUseBorder", table);
    tableLayout->addWidget(lblTitle, 0, 0);
    tableLayout->addWidget(txtFormTitle, 0, 1);
    tableLayout->addWidget(chkFooter, 1, 0, 1, 2);
    tableLayout->addWidget(chkUseBorder, 2, 0, 1, 2);
    layout->addWidget(table);

    auto *report = new QGroupBox(u"Display the following items in the e-mail"_s, pnlAdvanced);
    auto *reportLayout = new QGridLayout(report);
    chkAddress = checkBox(u"E-Mail &Address"_s, "chkAddress", report);
    chkSubject = checkBox(u"E-Mail &Subject"_s, "chkSubject", report);
    chkIP = checkBox(u"&IP Address"_s, "chkIP", report);
    chkHostname = checkBox(u"&Hostname"_s, "chkHostname", report);
    chkBrowser = checkBox(u"B&rowser Used"_s, "chkBrowser", report);
    reportLayout->addWidget(chkAddress, 0, 0);
    reportLayout->addWidget(chkSubject, 1, 0);
    reportLayout->addWidget(chkIP, 2, 0);
    reportLayout->addWidget(chkHostname, 0, 1);
    reportLayout->addWidget(chkBrowser, 1, 1);
    layout->addWidget(report);

    chkBlankFields = checkBox(u"Display Blank &Fields in Message Body"_s, "chkBlankFields", pnlAdvanced);
    chkSort = checkBox(u"Sort Fields in A&lphabetic Order"_s, "chkSort", pnlAdvanced);
    layout->addWidget(chkBlankFields);
    layout->addWidget(chkSort);

    // Where the form posts to is the user's choice for every page, not the page's.
    auto *script = new QGroupBox(u"Form-to-mail script address"_s, pnlAdvanced);
    auto *scriptLayout = new QVBoxLayout(script);
    txtFormAction = new QLineEdit(script);
    txtFormAction->setObjectName(u"txtFormAction"_s);
    txtFormAction->setPlaceholderText(FormActionAddress(QString()));
    auto *scriptNote = new QLabel(u"Leave empty to use the built-in script."_s, script);
    scriptLayout->addWidget(txtFormAction);
    scriptLayout->addWidget(scriptNote);
    layout->addWidget(script);
    pnlAdvanced->setMinimumWidth(420);
}

void TfrmCommonFields::loadLists()
{
    BusyCursor busy;
    QString error;
    QList<TFieldEntry> entries;
    Messages::HoldUntilShown hold(this);
    if (m_bank.LoadFieldList(FieldBank::DefaultFieldsSection.toString(), entries, &error)) {
        fillRows(lvForms, entries);
    } else if (error.isEmpty()) {
        m_modified = true;
    } else {
        m_defaultsUnread = true;
        Messages::error(this, error);
    }
    entries.clear();
    if (m_bank.LoadFieldList(FieldBank::FieldBankSection.toString(), entries, &error))
        fillRows(lvFieldBank, entries);
    else if (error.isEmpty())
        m_modified = true;
    else
        Messages::error(this, error);
}

QList<TFieldEntry> TfrmCommonFields::defaultFields() const
{
    return rowsOf(lvForms);
}

void TfrmCommonFields::lvFormsDragDrop(TFieldListView *source, QTreeWidgetItem *target)
{
    if (source == lvForms) {
        QTreeWidgetItem *dragged = lvForms->selectedRow();
        if (!dragged || !target || dragged == target)
            return;
        ExchangeRows(lvForms, target);
        setModified();
        return;
    }
    if (source != lvFieldBank)
        return;
    const QTreeWidgetItem *dragged = lvFieldBank->selectedRow();
    if (!dragged)
        return;
    const QString name = dragged->text(0);
    for (int i = 0; i < lvForms->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = lvForms->topLevelItem(i);
        if (row->text(0).startsWith(name, Qt::CaseInsensitive)) {
            lvForms->setCurrentItem(row);
            row->setSelected(true);
            lvForms->setFocus();
            return;
        }
    }
    const int at = target ? lvForms->rowOf(target) : -1;
    QTreeWidgetItem *row = AddFieldRow(lvForms, name, FieldRowKind(dragged), at);
    lvForms->setCurrentItem(row);
    row->setSelected(true);
    lvForms->setFocus();
    setModified();
}

void TfrmCommonFields::lvFieldBankDragDrop(TFieldListView *source, QTreeWidgetItem *)
{
    if (source == lvForms)
        removeDefaultField();
}

void TfrmCommonFields::removeDefaultField()
{
    if (RemoveSelectedRow(lvForms, u"form field"_s) >= 0)
        setModified();
    updateMoveButtons();
}

void TfrmCommonFields::updateMoveButtons()
{
    const QTreeWidgetItem *row = lvForms->selectedRow();
    const int index = row ? lvForms->rowOf(row) : -1;
    btnMoveUp->setEnabled(row && index > 0);
    btnMoveDown->setEnabled(row && index < lvForms->topLevelItemCount() - 1);
}

void TfrmCommonFields::moveDefaultField(int step)
{
    QTreeWidgetItem *focused = lvForms->currentItem();
    if (!focused)
        return;
    focused->setSelected(true);
    QTreeWidgetItem *other = lvForms->topLevelItem(lvForms->rowOf(focused) + step);
    if (!other)
        return;
    ExchangeRows(lvForms, other);
    setModified();
}

void TfrmCommonFields::setModified()
{
    m_modified = true;
    m_defaultsUnread = false;
}

void TfrmCommonFields::btnResetClick()
{
    fillRows(lvForms, FieldBank::BuiltInDefaultFields());
    updateMoveButtons();
    setModified();
}

void TfrmCommonFields::setOptions(const TFormOptions &options, const QString &formAction)
{
    txtFormTitle->setText(options.FormTitle);
    chkFooter->setChecked(options.FormFooter);
    chkUseBorder->setChecked(options.Border);
    chkAddress->setChecked(options.EmailAddress);
    chkSubject->setChecked(options.EmailSubject);
    chkIP->setChecked(options.EnvReport);
    chkHostname->setChecked(options.HostName);
    chkBrowser->setChecked(options.BrowserUsed);
    chkBlankFields->setChecked(options.BlankFields);
    chkSort->setChecked(options.AlphaSort);
    txtFormAction->setText(formAction);
}

TFormOptions TfrmCommonFields::options() const
{
    TFormOptions options;
    options.AlphaSort = chkSort->isChecked();
    options.BlankFields = chkBlankFields->isChecked();
    options.Border = chkUseBorder->isChecked();
    options.BrowserUsed = chkBrowser->isChecked();
    options.EmailAddress = chkAddress->isChecked();
    options.EmailSubject = chkSubject->isChecked();
    options.EnvReport = chkIP->isChecked();
    options.FormTitle = txtFormTitle->text();
    options.HostName = chkHostname->isChecked();
    options.FormFooter = chkFooter->isChecked();
    return options;
}

QString TfrmCommonFields::formAction() const
{
    return txtFormAction->text().trimmed();
}

void TfrmCommonFields::accept()
{
    if (m_mode == OptionsMode) {
        const QString address = formAction();
        if (!address.isEmpty() && !IsFormActionAddress(address)) {
            Messages::warning(this, u"The form-to-mail script address must be a web address starting with "
                                    u"\"http://\" or \"https://\"."_s);
            txtFormAction->setFocus();
            return;
        }
        QDialog::accept();
        return;
    }
    if (m_modified && !m_defaultsUnread) {
        BusyCursor busy;
        QString error;
        if (!m_bank.SaveFieldList(FieldBank::DefaultFieldsSection.toString(), rowsOf(lvForms), &error)) {
            Messages::error(this, u"The list of default fields could not be saved in \"%1\"."_s.arg(m_bank.filePath()),
                            error);
            return;
        }
    }
    QDialog::accept();
}
