#include "fieldsdialog.h"

#include "art/art.h"
#include "forms/gui/fieldlist.h"
#include "html/formhtml.h"
#include "platform/gui/dialogframe.h"
#include "platform/gui/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kYes = u"Yes"_s;
const QString kNo = u"No"_s;
constexpr int kSampleWidth = 250;
constexpr int kSampleGap = 10;

// A choice's value and text are stored between "|" separators, so neither may hold one: a typed
// "|" is refused with a beep and one that arrives by pasting is taken out.
class NoBarValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        const qsizetype before = input.size();
        const qsizetype barsBeforeCaret = input.left(pos).count(u'|');
        input.remove(u'|');
        if (input.size() != before) {
            pos -= int(barsBeforeCaret);
            Messages::beep();
        }
        return Acceptable;
    }
};

QString kindName(TFieldKind kind)
{
    return FieldKindCaptions[kind].toString();
}

} // namespace

TfrmFields::TfrmFields(TFieldKind kind, QWidget *parent) : QDialog(parent), m_kind(kind)
{
    setObjectName(u"TfrmFields"_s);
    buildControls();
    setUpKind();
    updateCaption();
}

TfrmFields::~TfrmFields() = default;

void TfrmFields::buildControls()
{
    auto *main = new QVBoxLayout(this);
    main->setSpacing(6);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    auto *lblText = new QLabel(u"&Webpage Text:"_s, this);
    txtText = new QPlainTextEdit(this);
    txtText->setObjectName(u"txtText"_s);
    txtText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtText->setTabChangesFocus(true);
    txtText->setFixedHeight(txtText->fontMetrics().lineSpacing() * 3 + 12);
    lblText->setBuddy(txtText);
    grid->addWidget(lblText, 0, 0, Qt::AlignTop);
    grid->addWidget(txtText, 0, 1, 1, 3);

    auto *lblName = new QLabel(u"&Name:"_s, this);
    txtName = new QLineEdit(this);
    txtName->setObjectName(u"txtName"_s);
    lblName->setBuddy(txtName);
    txtName->installEventFilter(this);
    grid->addWidget(lblName, 1, 0);
    grid->addWidget(txtName, 1, 1, 1, 3);

    auto *lblValue = new QLabel(u"&Value:"_s, this);
    txtValue = new QLineEdit(this);
    txtValue->setObjectName(u"txtValue"_s);
    lblValue->setBuddy(txtValue);
    grid->addWidget(lblValue, 2, 0);
    grid->addWidget(txtValue, 2, 1, 1, 3);

    lblSize = new QLabel(u"&Size:"_s, this);
    cbSize = new QComboBox(this);
    cbSize->setObjectName(u"cbSize"_s);
    cbSize->setEditable(true);
    for (int size = 10; size <= 60; size += 10)
        cbSize->addItem(QString::number(size));
    cbSize->setCurrentText(u"30"_s);
    lblSize->setBuddy(cbSize);
    grid->addWidget(lblSize, 3, 0);
    grid->addWidget(cbSize, 3, 1);

    pnlTextArea = new QWidget(this);
    pnlTextArea->setObjectName(u"pnlTextArea"_s);
    auto *areaLayout = new QHBoxLayout(pnlTextArea);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    auto *lblRows = new QLabel(u"&Rows:"_s, pnlTextArea);
    txtRows = new QLineEdit(u"15"_s, pnlTextArea);
    txtRows->setObjectName(u"txtRows"_s);
    lblRows->setBuddy(txtRows);
    auto *lblCols = new QLabel(u"&Cols:"_s, pnlTextArea);
    txtCols = new QLineEdit(u"30"_s, pnlTextArea);
    txtCols->setObjectName(u"txtCols"_s);
    lblCols->setBuddy(txtCols);
    const int numberWidth = txtRows->fontMetrics().horizontalAdvance(u"00000"_s) + 16;
    txtRows->setFixedWidth(numberWidth);
    txtCols->setFixedWidth(numberWidth);
    areaLayout->addWidget(lblRows);
    areaLayout->addWidget(txtRows);
    areaLayout->addSpacing(12);
    areaLayout->addWidget(lblCols);
    areaLayout->addWidget(txtCols);
    areaLayout->addStretch();
    grid->addWidget(pnlTextArea, 4, 0, 1, 4);
    grid->setColumnStretch(3, 1);
    main->addLayout(grid);

    // The choices: the list, and over it the entry panel while a choice is added or edited.
    pnlDropDown = new QWidget(this);
    pnlDropDown->setObjectName(u"pnlDropDown"_s);
    auto *choiceLayout = new QVBoxLayout(pnlDropDown);
    choiceLayout->setContentsMargins(0, 0, 0, 0);
    choiceLayout->addWidget(new QLabel(u"Items:"_s, pnlDropDown));
    auto *choiceRow = new QHBoxLayout;
    auto *stack = new QGridLayout;
    lvDropDown = new TFieldListView(pnlDropDown);
    lvDropDown->setObjectName(u"lvDropDown"_s);
    lvDropDown->setAccessibleName(u"Choices"_s);
    lvDropDown->setHeaderLabels({u"Value"_s, u"Text"_s, QString()});
    lvDropDown->setColumnWidth(0, 110);
    lvDropDown->setColumnWidth(1, 180);
    lvDropDown->setContextMenuPolicy(Qt::CustomContextMenu);
    stack->addWidget(lvDropDown, 0, 0);

    pnlDropText = new QFrame(pnlDropDown);
    pnlDropText->setObjectName(u"pnlDropText"_s);
    static_cast<QFrame *>(pnlDropText)->setFrameShape(QFrame::StyledPanel);
    pnlDropText->setAutoFillBackground(true);
    auto *entry = new QGridLayout(pnlDropText);
    auto *explanation = new QLabel(u"Value is a unique identifier used when the email form is processed. Text "
                                   u"selection is an item in the drop down box or for a checkbox or radio button it "
                                   u"is the text next to it."_s,
                                   pnlDropText);
    explanation->setWordWrap(true);
    entry->addWidget(explanation, 0, 0, 1, 4);
    auto *lblDropValue = new QLabel(u"&Value (eg. CA)"_s, pnlDropText);
    txtDropValue = new QLineEdit(pnlDropText);
    txtDropValue->setObjectName(u"txtDropValue"_s);
    lblDropValue->setBuddy(txtDropValue);
    auto *lblDropText = new QLabel(u"&Text Selections (eg. California)"_s, pnlDropText);
    txtDropText = new QLineEdit(pnlDropText);
    txtDropText->setObjectName(u"txtDropText"_s);
    lblDropText->setBuddy(txtDropText);
    for (QLineEdit *edit : {txtDropValue, txtDropText})
        edit->setValidator(new NoBarValidator(edit));
    entry->addWidget(lblDropValue, 1, 0);
    entry->addWidget(lblDropText, 1, 1, 1, 3);
    entry->addWidget(txtDropValue, 2, 0);
    entry->addWidget(txtDropText, 2, 1, 1, 3);
    chkCheck = new QCheckBox(u"Chec&ked"_s, pnlDropText);
    chkCheck->setObjectName(u"chkCheck"_s);
    chkCheck->hide();
    btnDropApply = new QPushButton(u"&Apply"_s, pnlDropText);
    btnDropApply->setObjectName(u"btnDropApply"_s);
    btnDropApply->setEnabled(false);
    btnDropCancel = new QPushButton(u"Cancel"_s, pnlDropText);
    btnDropCancel->setObjectName(u"btnDropCancel"_s);
    entry->addWidget(chkCheck, 3, 0);
    entry->addWidget(btnDropApply, 3, 2);
    entry->addWidget(btnDropCancel, 3, 3);
    entry->setColumnStretch(1, 1);
    entry->setColumnStretch(0, 1);
    entry->setRowStretch(4, 1);
    stack->addWidget(pnlDropText, 0, 0);
    pnlDropText->hide();
    choiceRow->addLayout(stack, 1);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    btnAdd = new QToolButton(pnlDropDown);
    btnAdd->setObjectName(u"btnAdd"_s);
    btnAdd->setToolTip(u"Add Item"_s);
    btnAdd->setIcon(Art::panelIcon(Art::PanelButton::Add));
    btnDelete = new QToolButton(pnlDropDown);
    btnDelete->setObjectName(u"btnDelete"_s);
    btnDelete->setToolTip(u"Delete Item"_s);
    btnDelete->setIcon(Art::panelIcon(Art::PanelButton::Remove));
    btnEdit = new QToolButton(pnlDropDown);
    btnEdit->setObjectName(u"btnEdit"_s);
    btnEdit->setToolTip(u"Edit Item"_s);
    btnEdit->setIcon(Art::panelIcon(Art::PanelButton::Edit));
    for (QToolButton *button : {btnAdd, btnDelete, btnEdit}) {
        button->setAutoRaise(true);
        buttons->addWidget(button);
    }
    btnDelete->setEnabled(false);
    btnEdit->setEnabled(false);
    buttons->addStretch();
    choiceRow->addLayout(buttons);
    choiceLayout->addLayout(choiceRow);
    main->addWidget(pnlDropDown);
    // The list is as high as the entry panel that covers it.
    lvDropDown->setMinimumSize(pnlDropText->sizeHint().width(), pnlDropText->sizeHint().height());

    popOptions = new QMenu(this);
    popOptions->setObjectName(u"popOptions"_s);
    popOptionsEdit = popOptions->addAction(u"&Edit Item"_s, this, &TfrmFields::btnEditClick);
    popOptions->addSeparator();
    popOptions->addAction(u"&Add Item"_s, this, &TfrmFields::btnAddClick);
    popOptionsDelete = popOptions->addAction(u"&Delete Item"_s, this, &TfrmFields::btnDeleteClick);

    lblSample = new QLabel(u"Here is a sample of:"_s, this);
    lblSample->setObjectName(u"lblSample"_s);
    main->addWidget(lblSample);
    pnlSample = new QFrame(this);
    pnlSample->setObjectName(u"pnlSample"_s);
    static_cast<QFrame *>(pnlSample)->setFrameShape(QFrame::StyledPanel);
    QPalette white = pnlSample->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    pnlSample->setPalette(white);
    pnlSample->setAutoFillBackground(true);
    auto *sampleLayout = new QHBoxLayout(pnlSample);
    sampleLayout->setSpacing(kSampleGap);
    lblSampleText = new QLabel(u"Webpage Text"_s, pnlSample);
    sampleLayout->addWidget(lblSampleText, 0, Qt::AlignTop);
    main->addWidget(pnlSample);

    auto *closing = new QHBoxLayout;
    closing->addStretch();
    btnOK = new QPushButton(u"OK"_s, this);
    btnOK->setObjectName(u"btnOK"_s);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(u"Cancel"_s, this);
    btnCancel->setObjectName(u"btnCancel"_s);
    closing->addWidget(btnOK);
    closing->addWidget(btnCancel);
    main->addLayout(closing);

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(txtName, &QLineEdit::textChanged, this, &TfrmFields::updateCaption);
    connect(btnAdd, &QToolButton::clicked, this, &TfrmFields::btnAddClick);
    connect(btnEdit, &QToolButton::clicked, this, &TfrmFields::btnEditClick);
    connect(btnDelete, &QToolButton::clicked, this, &TfrmFields::btnDeleteClick);
    connect(btnDropApply, &QPushButton::clicked, this, &TfrmFields::btnDropApplyClick);
    connect(btnDropCancel, &QPushButton::clicked, this, &TfrmFields::closeEntry);
    for (QLineEdit *edit : {txtDropValue, txtDropText})
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { btnDropApply->setEnabled(!text.isEmpty()); });
    connect(lvDropDown, &QTreeWidget::itemSelectionChanged, this, &TfrmFields::lvDropDownSelectionChanged);
    connect(lvDropDown, &QTreeWidget::itemDoubleClicked, this, &TfrmFields::btnEditClick);
    connect(lvDropDown, &TFieldListView::enterPressed, this, &TfrmFields::btnEditClick);
    connect(lvDropDown, &TFieldListView::deletePressed, this, &TfrmFields::btnDeleteClick);
    connect(lvDropDown, &TFieldListView::rowDropped, this, &TfrmFields::lvDropDownDragDrop);
    connect(lvDropDown, &QWidget::customContextMenuRequested, this, &TfrmFields::popOptionsPopup);
}

void TfrmFields::setUpKind()
{
    const bool choices = m_kind == fkRadio || m_kind == fkCheckBox || m_kind == fkDropDown;
    lblSize->setVisible(m_kind == fkText);
    cbSize->setVisible(m_kind == fkText);
    pnlTextArea->setVisible(m_kind == fkTextArea);
    pnlDropDown->setVisible(choices);
    txtValue->setEnabled(m_kind != fkTextArea);

    switch (m_kind) {
    case fkText: {
        sampleEdit = new QLineEdit(pnlSample);
        sampleEdit->setFixedWidth(kSampleWidth);
        sampleEdit->setText(txtValue->text());
        connect(txtValue, &QLineEdit::textChanged, sampleEdit, &QLineEdit::setText);
        sample = sampleEdit;
        break;
    }
    case fkTextArea: {
        auto *memo = new QPlainTextEdit(pnlSample);
        memo->setFixedWidth(kSampleWidth);
        memo->setTabChangesFocus(true);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setFixedHeight(memo->fontMetrics().lineSpacing() * 4 + 24);
        sample = memo;
        break;
    }
    case fkRadio: {
        auto *radio = new QRadioButton(u"A radio button"_s, pnlSample);
        radio->setChecked(true);
        sample = radio;
        lvDropDown->headerItem()->setText(2, u"Selected"_s);
        chkCheck->setText(u"Selected"_s);
        break;
    }
    case fkCheckBox: {
        auto *check = new QCheckBox(u"A check box"_s, pnlSample);
        check->setChecked(true);
        sample = check;
        lvDropDown->headerItem()->setText(2, u"Checked"_s);
        break;
    }
    case fkDropDown:
        sampleList = new QComboBox(pnlSample);
        sampleList->setFixedWidth(kSampleWidth);
        sample = sampleList;
        RefreshSample();
        break;
    case fkButton:
        break;
    }
    chkCheck->setVisible(m_kind == fkRadio || m_kind == fkCheckBox);
    lvDropDown->setColumnHidden(2, m_kind == fkDropDown);
    if (sample) {
        sample->setObjectName(u"sample"_s);
        sample->setAccessibleName(u"Sample"_s);
        auto *row = static_cast<QHBoxLayout *>(pnlSample->layout());
        row->addWidget(sample, 0, Qt::AlignTop);
    }
    static_cast<QHBoxLayout *>(pnlSample->layout())->addStretch();
    // Each kind has its own set of controls, and the dialog is as large as they need.
    adjustSize();
    DialogFrame::makeFixedSize(this, sizeHint().expandedTo(QSize(460, 0)));
}

void TfrmFields::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (txtName->text().isEmpty())
        txtName->setText(u"Untitled"_s);
    lblSample->setText(u"Here is a sample of a "_s + kindName(m_kind));
    updateCaption();
    txtText->setFocus();
}

void TfrmFields::updateCaption()
{
    setWindowTitle(u"Form Field ("_s + kindName(m_kind) + u") - "_s + txtName->text());
}

bool TfrmFields::refuseEmptyName()
{
    if (!txtName->text().isEmpty())
        return false;
    Messages::information(this, u"The Name field is a required field. Please include a unique name for the field."_s);
    txtName->setText(u"Untitled"_s);
    return true;
}

bool TfrmFields::eventFilter(QObject *watched, QEvent *event)
{
    // The whole name is selected as the box gets the focus, so that typing replaces "Untitled". A
    // click places the cursor after the focus arrives: select once the click is done.
    if (watched == txtName && event->type() == QEvent::FocusIn)
        QMetaObject::invokeMethod(txtName, &QLineEdit::selectAll, Qt::QueuedConnection);
    if (watched == txtName && event->type() == QEvent::FocusOut && isVisible()) {
        // Only a move within the dialog counts; switching to another window is no leaving.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            refuseEmptyName();
    }
    return QDialog::eventFilter(watched, event);
}

bool TfrmFields::refuseTakenName()
{
    const QString name = FieldInputName(txtName->text());
    const bool taken = std::any_of(m_otherNames.cbegin(), m_otherNames.cend(),
                                   [&name](const QString &other) { return FieldInputName(other) == name; });
    if (taken) {
        Messages::information(
            this,
            u"Another field is already named %1. Please include a unique name for the field."_s.arg(txtName->text()));
    }
    return taken;
}

void TfrmFields::done(int result)
{
    // Enter in the name box closes without the name box losing the focus: the rule still holds.
    if (result == QDialog::Accepted && (refuseEmptyName() || refuseTakenName())) {
        txtName->setFocus();
        txtName->selectAll();
        return;
    }
    QDialog::done(result);
}

QTreeWidgetItem *TfrmFields::addChoiceRow(const QString &value, const QString &text, const QString &flag)
{
    auto *row = new QTreeWidgetItem(lvDropDown);
    row->setText(0, value);
    row->setText(1, text);
    row->setText(2, flag);
    return row;
}

QList<TfrmFields::Choice> TfrmFields::choices() const
{
    QList<Choice> result;
    for (int i = 0; i < lvDropDown->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = lvDropDown->topLevelItem(i);
        result.append({row->text(0), row->text(1), row->text(2)});
    }
    return result;
}

void TfrmFields::RefreshSample()
{
    if (!sampleList)
        return;
    sampleList->clear();
    for (int i = 0; i < lvDropDown->topLevelItemCount(); ++i)
        sampleList->addItem(lvDropDown->topLevelItem(i)->text(1));
    if (sampleList->count() == 0)
        sampleList->addItems({u"One Selection"_s, u"Two Selection"_s});
    sampleList->setCurrentIndex(0);
}

void TfrmFields::showEntry()
{
    pnlDropText->show();
    pnlDropText->raise();
    btnOK->setDefault(false);
    btnDropApply->setDefault(true);
    txtDropValue->setFocus();
}

void TfrmFields::btnAddClick()
{
    m_editingRow = false;
    showEntry();
}

void TfrmFields::btnEditClick()
{
    const QTreeWidgetItem *row = lvDropDown->selectedRow();
    if (!row)
        return;
    txtDropValue->setText(row->text(0));
    txtDropText->setText(row->text(1));
    if (!row->text(2).isEmpty())
        chkCheck->setChecked(row->text(2) == kYes);
    m_editingRow = true;
    showEntry();
}

void TfrmFields::btnDropApplyClick()
{
    QTreeWidgetItem *row = m_editingRow ? lvDropDown->selectedRow() : nullptr;
    if (!row)
        row = addChoiceRow(QString(), QString(), QString());
    row->setText(1, txtDropText->text());
    row->setText(0, txtDropValue->text());
    // Only one radio button of a field may start selected.
    if (m_kind == fkRadio && chkCheck->isChecked()) {
        for (int i = 0; i < lvDropDown->topLevelItemCount(); ++i) {
            QTreeWidgetItem *other = lvDropDown->topLevelItem(i);
            if (other->text(2) == kYes)
                other->setText(2, kNo);
        }
    }
    row->setText(2, chkCheck->isChecked() ? kYes : kNo);
    closeEntry();
}

void TfrmFields::closeEntry()
{
    RefreshSample();
    txtDropValue->clear();
    txtDropText->clear();
    chkCheck->setChecked(false);
    pnlDropText->hide();
    btnDropApply->setDefault(false);
    btnOK->setDefault(true);
    m_editingRow = false;
    lvDropDown->setFocus();
}

void TfrmFields::btnDeleteClick()
{
    if (!lvDropDown->selectedRow())
        return;
    Messages::beep();
    if (Messages::show(this, Messages::Kind::Confirmation, u"Do you want to delete the seleted item?"_s,
                       Messages::Yes | Messages::No | Messages::Cancel)
        != Messages::Yes)
        return;
    const int removed = RemoveSelectedRow(lvDropDown, u"item in the drop down box."_s);
    if (removed >= 0 && sampleList)
        sampleList->removeItem(removed);
}

void TfrmFields::lvDropDownSelectionChanged()
{
    const bool selected = lvDropDown->selectedRow() != nullptr;
    btnEdit->setEnabled(selected);
    btnDelete->setEnabled(selected);
}

void TfrmFields::lvDropDownDragDrop(TFieldListView *source, QTreeWidgetItem *target)
{
    QTreeWidgetItem *dragged = lvDropDown->selectedRow();
    if (source != lvDropDown || !target || !dragged || dragged == target)
        return;
    const int from = lvDropDown->rowOf(dragged), to = lvDropDown->rowOf(target);
    ExchangeRows(lvDropDown, target);
    if (sampleList && from < sampleList->count() && to < sampleList->count()) {
        const QString text = sampleList->itemText(from);
        sampleList->removeItem(from);
        sampleList->insertItem(to, text);
    }
}

void TfrmFields::popOptionsPopup(const QPoint &pos)
{
    const bool selected = lvDropDown->selectedRow() != nullptr;
    popOptionsEdit->setEnabled(selected);
    popOptionsDelete->setEnabled(selected);
    popOptions->popup(lvDropDown->viewport()->mapToGlobal(pos));
}
