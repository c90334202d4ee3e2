#include "formspanel.h"
#include "ui_formspanel.h"

#include "art/art.h"
#include "document/blockedit.h"
#include "forms/fieldbank.h"
#include "forms/gui/commonfieldsdialog.h"
#include "forms/gui/fieldlist.h"
#include "forms/gui/fieldsdialog.h"
#include "html/formhtml.h"
#include "platform/gui/busycursor.h"
#include "platform/gui/messages.h"
#include "platform/settingsstore.h"
#include "project/pagedocument.h"

#include <QHeaderView>
#include <QMenu>

#include <optional>

using namespace Qt::StringLiterals;

TFormsPanel::TFormsPanel(QWidget *parent) : TBlockPanel(parent), ui(std::make_unique<Ui::TFormsPanel>())
{
    ui->setupUi(this);
    setUpHeading(ui->imgForms, ui->lblForms0, btForms);
    ui->btnFormAdd->setIcon(Art::panelIcon(Art::PanelButton::Add));
    ui->btnFormRemove->setIcon(Art::panelIcon(Art::PanelButton::Remove));
    ui->btnFormEdit->setIcon(Art::panelIcon(Art::PanelButton::Edit));
    ui->btnFormUp->setArrowType(Qt::UpArrow);
    ui->btnFormDown->setArrowType(Qt::DownArrow);

    ui->lvForms->header()->setStretchLastSection(true);
    ui->lvForms->setColumnWidth(0, 180);
    ui->lvForms->setContextMenuPolicy(Qt::CustomContextMenu);

    popForms = new QMenu(this);
    popForms->setObjectName(u"popForms"_s);
    const struct
    {
        const char *name;
        QString caption;
    } kinds[] = {{"popFormsTextBox", u"Text &Box"_s},
                 {"popFormsTextArea", u"Text &Area"_s},
                 {"popFormsRadio", u"&Radio Button"_s},
                 {"popFormsCheck", u"&Check Box"_s},
                 {"popFormsCombo", u"&Drop Down List"_s}};
    for (int kind = 0; kind < int(std::size(kinds)); ++kind) {
        QAction *item = popForms->addAction(QIcon(Art::fieldKindIcon(kind)), kinds[kind].caption, this,
                                            [this, kind] { addField(kind); });
        item->setObjectName(QLatin1StringView(kinds[kind].name));
    }
    popFormsEdit = popForms->addAction(u"&Edit Field"_s, this, &TFormsPanel::editField);
    QAction *separator = popForms->addSeparator();
    popFormsDelete = popForms->addAction(u"&Delete Field"_s, this, &TFormsPanel::removeField);
    popFormsMvUp = popForms->addAction(u"Move Field &Up"_s, this, [this] { moveField(-1); });
    popFormsMvDwn = popForms->addAction(u"Move Field Do&wn"_s, this, [this] { moveField(1); });
    popFormsEdit->setObjectName(u"popFormsEdit"_s);
    popFormsDelete->setObjectName(u"popFormsDelete"_s);
    popFormsMvUp->setObjectName(u"popFormsMvUp"_s);
    popFormsMvDwn->setObjectName(u"popFormsMvDwn"_s);
    m_listItems = {popFormsEdit, separator, popFormsDelete, popFormsMvUp, popFormsMvDwn};
    for (QAction *item : std::as_const(m_listItems))
        item->setVisible(false);

    connect(ui->btnFormAdd, &QToolButton::clicked, this, [this] {
        popFormsPopup(false, ui->btnFormAdd->mapToGlobal(QPoint(0, ui->btnFormAdd->height())));
    });
    connect(ui->lvForms, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { popFormsPopup(true, ui->lvForms->viewport()->mapToGlobal(pos)); });
    connect(ui->btnFormEdit, &QToolButton::clicked, this, &TFormsPanel::editField);
    connect(ui->lvForms, &QTreeWidget::itemDoubleClicked, this, &TFormsPanel::editField);
    connect(ui->lvForms, &TFieldListView::enterPressed, this, &TFormsPanel::editField);
    connect(ui->btnFormRemove, &QToolButton::clicked, this, &TFormsPanel::removeField);
    connect(ui->lvForms, &TFieldListView::deletePressed, this, &TFormsPanel::removeField);
    connect(ui->btnFormUp, &QToolButton::clicked, this, [this] { moveField(-1); });
    connect(ui->btnFormDown, &QToolButton::clicked, this, [this] { moveField(1); });
    connect(ui->lvForms, &TFieldListView::rowDropped, this, &TFormsPanel::lvFormsDragDrop);
    connect(ui->lvForms, &QTreeWidget::itemSelectionChanged, this, &TFormsPanel::updateButtons);
    connect(ui->btnFormClear, &QPushButton::clicked, this, &TFormsPanel::btnFormClearClick);
    connect(ui->btnFormBasic, &QPushButton::clicked, this, &TFormsPanel::loadBasicFields);
    connect(ui->btnFormOptions, &QPushButton::clicked, this, &TFormsPanel::showOptions);

    attachF1({{ui->txtFormAddress, 200}, {ui->txtFormSubject, 200}, {ui->txtFormURL, 200}, {ui->lvForms, 200},
              {ui->btnFormOptions, 202}, {ui->btnFormBasic, 203}});
}

TFormsPanel::~TFormsPanel() = default;

void TFormsPanel::load(const TPagelette &doc, const TPageItem &)
{
    ui->txtFormAddress->setText(doc.Email);
    ui->txtFormSubject->setText(doc.Subject);
    ui->txtFormURL->setText(doc.Redirect);
    ui->btnFormClear->setEnabled(doc.WebForm.Count() > 0);
}

void TFormsPanel::commit(TBlockEdit &edit)
{
    edit.Form.Email = ui->txtFormAddress->text();
    edit.Form.Redirect = ui->txtFormURL->text();
    edit.Form.Subject = ui->txtFormSubject->text();
}

void TFormsPanel::setDocument(PageDocument *document)
{
    if (m_doc)
        disconnect(m_doc, nullptr, this, nullptr);
    m_doc = document;
    if (m_doc) {
        connect(m_doc, &PageDocument::formChanged, this, &TFormsPanel::fillFields);
        connect(m_doc, &PageDocument::pageReset, this, &TFormsPanel::fillFields);
    }
    fillFields();
}

void TFormsPanel::fillFields()
{
    const QTreeWidgetItem *focused = ui->lvForms->currentItem();
    const int current = focused ? ui->lvForms->rowOf(focused) : -1;
    const bool selected = ui->lvForms->selectedRow() != nullptr;
    ui->lvForms->clear();
    if (m_doc) {
        const TWebForm &form = m_doc->page().WebForm;
        for (int i = 0; i < form.Count(); ++i)
            AddFieldRow(ui->lvForms, form.Items(i)->Name, form.Items(i)->FieldKind);
    }
    if (QTreeWidgetItem *row = ui->lvForms->topLevelItem(current))
        ui->lvForms->setCurrentItem(row, 0, selected ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate);
    ui->btnFormClear->setEnabled(ui->lvForms->topLevelItemCount() > 0);
    updateButtons();
}

void TFormsPanel::updateButtons()
{
    const QTreeWidgetItem *row = ui->lvForms->selectedRow();
    const int index = row ? ui->lvForms->rowOf(row) : -1;
    const int count = ui->lvForms->topLevelItemCount();
    ui->btnFormUp->setEnabled(row && index > 0);
    ui->btnFormDown->setEnabled(row && index < count - 1);
    ui->btnFormRemove->setEnabled(row != nullptr);
    ui->btnFormEdit->setEnabled(row != nullptr);
}

void TFormsPanel::popFormsPopup(bool overList, const QPoint &globalPos)
{
    for (QAction *item : std::as_const(m_listItems))
        item->setVisible(overList);
    if (overList) {
        popFormsEdit->setEnabled(ui->btnFormEdit->isEnabled());
        popFormsDelete->setEnabled(ui->btnFormRemove->isEnabled());
        popFormsMvUp->setEnabled(ui->btnFormUp->isEnabled());
        popFormsMvDwn->setEnabled(ui->btnFormDown->isEnabled());
    }
    popForms->popup(globalPos);
}

void TFormsPanel::addField(int kind)
{
    if (!m_doc || kind < fkText || kind > fkDropDown)
        return;
    std::optional<BusyCursor> busy(std::in_place);
    TfrmFields dialog(TFieldKind(kind), this);
    dialog.setOtherFieldNames(OtherFieldNames(m_doc->page().WebForm));
    busy.reset();
    if (dialog.exec() != QDialog::Accepted)
        return;
    TFormElement field;
    StoreFieldDialog(dialog, TFieldKind(kind), field);
    m_doc->addField(field);
}

void TFormsPanel::editField()
{
    const QTreeWidgetItem *row = ui->lvForms->selectedRow();
    if (!m_doc || !row)
        return;
    const int index = ui->lvForms->rowOf(row);
    const TFormElement *element = m_doc->page().WebForm.Items(index);
    const int kind = FieldRowKind(row);
    if (!element || kind < 0 || kind >= kFieldKindCount)
        return;
    std::optional<BusyCursor> busy(std::in_place);
    TfrmFields dialog(TFieldKind(kind), this);
    FillFieldDialog(dialog, *element);
    dialog.setOtherFieldNames(OtherFieldNames(m_doc->page().WebForm, index));
    busy.reset();
    if (dialog.exec() != QDialog::Accepted)
        return;
    TFormElement field = *m_doc->page().WebForm.Items(index);
    StoreFieldDialog(dialog, TFieldKind(kind), field);
    m_doc->replaceField(index, field);
}

void TFormsPanel::removeField()
{
    if (!m_doc || !ui->lvForms->selectedRow())
        return;
    Messages::beep();
    if (Messages::show(this, Messages::Kind::Confirmation, u"Do you want to delete the selected field?"_s,
                       Messages::Yes | Messages::No | Messages::Cancel)
        != Messages::Yes)
        return;
    // The list removes the row and picks the next selection; the form follows.
    const int removed = RemoveSelectedRow(ui->lvForms, u"form field"_s);
    if (removed >= 0)
        m_doc->removeField(removed);
}

void TFormsPanel::moveField(int step)
{
    QTreeWidgetItem *focused = ui->lvForms->currentItem();
    if (!m_doc || !focused)
        return;
    focused->setSelected(true);
    const int a = ui->lvForms->rowOf(focused);
    QTreeWidgetItem *other = ui->lvForms->topLevelItem(a + step);
    if (!other)
        return;
    ExchangeRows(ui->lvForms, other);
    m_doc->moveField(a, a + step);
}

void TFormsPanel::lvFormsDragDrop(TFieldListView *source, QTreeWidgetItem *target)
{
    QTreeWidgetItem *dragged = ui->lvForms->selectedRow();
    if (!m_doc || source != ui->lvForms || !target || !dragged || dragged == target)
        return;
    const int a = ui->lvForms->rowOf(dragged), b = ui->lvForms->rowOf(target);
    ExchangeRows(ui->lvForms, target);
    m_doc->exchangeFields(a, b);
}

bool TFormsPanel::mayClear()
{
    return ui->lvForms->topLevelItemCount() == 0
        || Messages::show(this, Messages::Kind::Confirmation, u"Do you want to clear ALL the forms fields?"_s,
                          Messages::Yes | Messages::No | Messages::Cancel)
               == Messages::Yes;
}

bool TFormsPanel::btnFormClearClick()
{
    if (!mayClear())
        return false;
    if (m_doc)
        m_doc->clearFields();
    for (QWidget *button : std::initializer_list<QWidget *>{ui->btnFormClear, ui->btnFormDown, ui->btnFormUp,
                                                            ui->btnFormEdit, ui->btnFormRemove})
        button->setEnabled(false);
    return true;
}

void TFormsPanel::loadBasicFields()
{
    if (!m_doc)
        return;
    {
        std::optional<BusyCursor> busy(std::in_place);
        TfrmCommonFields dialog(TfrmCommonFields::FieldBankMode, m_programFolder, this);
        busy.reset();
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    BusyCursor busy;
    ui->btnFormBasic->setEnabled(false);
    // One reading of the file gives both the rows and the fields, so they always agree; a file
    // that does not read leaves the form as it was. Clearing and loading are one step.
    TWebForm fields;
    QList<TFieldEntry> entries;
    QString error;
    const FieldBank bank(m_programFolder);
    if (!bank.LoadDefaultFields(fields, entries, &error) && !error.isEmpty())
        Messages::error(this, error);
    else if (mayClear())
        m_doc->loadBasicFields(fields);
    ui->btnFormBasic->setEnabled(true);
    ui->btnFormClear->setEnabled(true);
    updateButtons();
}

void TFormsPanel::showOptions()
{
    if (!m_doc)
        return;
    SettingsStore &settings = SettingsStore::instance();
    std::optional<BusyCursor> busy(std::in_place);
    TfrmCommonFields dialog(TfrmCommonFields::OptionsMode, m_programFolder, this);
    dialog.setOptions(FormOptionsOf(m_doc->page()), settings.readString({}, kFormActionSetting.toString()));
    busy.reset();
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_doc->setFormOptions(dialog.options());
    settings.writeString({}, kFormActionSetting.toString(), dialog.formAction());
    QString error;
    if (!settings.sync(&error))
        Messages::error(this, u"The form-to-mail script address could not be stored."_s, error);
}
