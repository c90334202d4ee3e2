#include "miscmetapage.h"
#include "ui_miscmetapage.h"

#include "platform/gui/help.h"

namespace {

// Help topics of the controls.
constexpr int kHelpMetaText = 12, kHelpMetaName = 13, kHelpMetaContent = 14;

} // namespace

TMiscMetaPage::TMiscMetaPage(QWidget *parent) : QFrame(parent), ui(std::make_unique<Ui::TMiscMetaPage>())
{
    ui->setupUi(this);
    Help::attachWhatsThis(ui->lbl0, kHelpMetaText);
    Help::attachWhatsThis(ui->Label1, kHelpMetaContent);
    Help::attachWhatsThis(ui->txtMetaContent, kHelpMetaContent);
    // The right-click on the name label is the way to the meta tag tips.
    Help::attachWhatsThis(ui->Label2, kHelpMetaName);
    Help::attachWhatsThis(ui->cbMetaName, kHelpMetaName);
    connect(ui->txtMetaContent, &QLineEdit::textChanged, this, &TMiscMetaPage::metaContentChanged);
}

TMiscMetaPage::~TMiscMetaPage() = default;

QString TMiscMetaPage::metaName() const
{
    return ui->cbMetaName->currentIndex() < 0 ? QString() : ui->cbMetaName->currentText();
}

void TMiscMetaPage::setMetaName(const QString &name)
{
    // MatchFixedString compares without regard to case.
    int index = ui->cbMetaName->findText(name, Qt::MatchFixedString);
    // A name the list does not offer (from a page made elsewhere) is offered for this edit, so
    // that confirming the dialog keeps it rather than emptying it.
    if (index < 0 && !name.isEmpty()) {
        ui->cbMetaName->addItem(name);
        index = ui->cbMetaName->count() - 1;
    }
    ui->cbMetaName->setCurrentIndex(index);
}

QString TMiscMetaPage::metaContent() const
{
    return ui->txtMetaContent->text();
}

void TMiscMetaPage::setMetaContent(const QString &content)
{
    ui->txtMetaContent->setText(content);
}

void TMiscMetaPage::prepare()
{
    ui->txtMetaContent->setFocus();
}
