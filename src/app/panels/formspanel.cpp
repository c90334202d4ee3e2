#include "formspanel.h"
#include "ui_formspanel.h"

#include "art/art.h"
#include "document/pagemodel.h"

#include <QHeaderView>

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
    ui->lvForms->setIconSize(QSize(16, 16));

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

void TFormsPanel::commit(TPagelette &doc, TPageItem &)
{
    doc.Email = ui->txtFormAddress->text();
    doc.Redirect = ui->txtFormURL->text();
    doc.Subject = ui->txtFormSubject->text();
}

void TFormsPanel::fillFields(const TPagelette &doc)
{
    ui->lvForms->clear();
    for (int i = 0; i < doc.WebForm.Count(); ++i) {
        const TFormElement &element = *doc.WebForm.Items(i);
        const int kind = element.FieldKind;
        auto *row = new QTreeWidgetItem(ui->lvForms);
        row->setText(0, element.Name);
        if (kind < kFieldKindCount)
            row->setText(1, FieldKindCaptions[kind].toString());
        row->setIcon(0, QIcon(Art::fieldKindIcon(kind)));
        row->setData(0, Qt::UserRole, kind);
    }
    ui->btnFormClear->setEnabled(ui->lvForms->topLevelItemCount() > 0);
    for (QToolButton *button : {ui->btnFormUp, ui->btnFormDown, ui->btnFormRemove, ui->btnFormEdit})
        button->setEnabled(false);
}

void TFormsPanel::clearFields()
{
    ui->lvForms->clear();
    for (QWidget *button : std::initializer_list<QWidget *>{ui->btnFormClear, ui->btnFormUp, ui->btnFormDown,
                                                            ui->btnFormRemove, ui->btnFormEdit})
        button->setEnabled(false);
}
