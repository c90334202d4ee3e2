// Load and commit: the blocks' fields in and out of their panels.

#include "blockeditor.h"
#include "ui_blockeditor.h"

#include "art/art.h"
#include "document/pagemodel.h"
#include "platform/programfolder.h"
#include "platform/textutils.h"

#include <QLineEdit>
#include <QFileInfo>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace {

// Memo text as the block stores it, with CR LF between lines.
QString memoText(const QPlainTextEdit *memo)
{
    QString text = memo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text.replace(u'\n', "\r\n"_L1);
}

void setMemoText(QPlainTextEdit *memo, QString text)
{
    text.replace("\r\n"_L1, "\n"_L1);
    text.replace(u'\r', u'\n');
    memo->setPlainText(text);
}

void setLines(TListBoxHrz *list, const QString &text)
{
    list->clearStrings();
    for (const QString &line : Text::splitLines(text))
        list->addString(line);
}

// The combo box's item index, or none (-1) when index is not one of its items.
void selectItem(QComboBox *combo, int index)
{
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

} // namespace

void TBlockEditor::loadBlock(TPagelette &doc, int index)
{
    // An index past the end loads nothing, as the block list expects after a deletion.
    if (const TPageItem *item = doc.Page.Items(index)) {
        ui->btnParagraph->setChecked(item->BlockOnNewLine);
        switch (item->BlockAlign) {
        case baLeft:
            ui->btnLeft->setChecked(true);
            break;
        case baCenter:
            ui->btnCenter->setChecked(true);
            break;
        case baRight:
            ui->btnRight->setChecked(true);
            break;
        default:
            break;
        }

        switch (item->BlockType) {
        case btPageProperties:
            loadPageProperties(*item);
            break;
        case btHeading:
            loadHeading(*item);
            break;
        case btImage:
            loadImage(*item);
            break;
        case btLink:
            loadLink(*item);
            break;
        case btText:
            loadText(*item);
            break;
        case btBullet:
            loadBullets(*item);
            break;
        case btHR:
            loadLine(*item);
            break;
        case btForms:
            loadForms(doc);
            break;
        default:
            break;
        }
        // setText leaves the caret at the end, which scrolls a long text out of view: show its start.
        for (QLineEdit *edit : findChildren<QLineEdit *>())
            edit->setCursorPosition(0);
        if (item->BlockType < kBlockTypeCount)
            bringToFront(item->BlockType);
        if (item->BlockAlign == baLeft || item->BlockAlign == baCenter || item->BlockAlign == baRight)
            ui->pnlAlign->show();
    }
    m_currentBlock = index;
}

bool TBlockEditor::commitBlock(TPagelette &doc)
{
    if (m_currentBlock == -1)
        return false;
    if (TPageItem *item = doc.Page.Items(m_currentBlock))
        commitItem(doc, *item);
    return true;
}

void TBlockEditor::commitItem(TPagelette &doc, TPageItem &item)
{
    item.BlockOnNewLine = ui->btnParagraph->isChecked();
    // The page details block has no alignment of its own.
    if (m_currentBlock != 0) {
        item.BlockAlign = ui->btnLeft->isChecked() ? baLeft : ui->btnCenter->isChecked() ? baCenter : baRight;
    }

    switch (item.BlockType) {
    case btPageProperties: {
        TPagePropertiesBlock &block = item.PagePropertiesBlock;
        block.PageTitle = ui->txtPageTitle->text();
        block.Underline = ui->chkLinkUnderline->isChecked();
        block.MetaText = Text::joinLines(ui->lstMeta->strings());
        break;
    }
    case btHeading: {
        THeadingBlock &block = item.HeadingBlock;
        block.Heading = memoText(ui->txtHeading);
        block.Attributes = FontToDescription(m_headingFont.fontSpec);
        block.ApplyFont = m_headingFont.applyFont;
        break;
    }
    case btImage: {
        // The name comes from the picture shown, never from what was typed into the name box.
        TImageBlock &block = item.ImageBlock;
        block.FileName = QFileInfo(m_imagePath).fileName();
        block.Height = ui->txtImageH->text();
        block.Width = ui->txtImageW->text();
        block.Alt = ui->txtImageAlt->text();
        block.Align = ui->cbImageAlign->currentText();
        block.ImageLink = ui->txtImageLink->text();
        break;
    }
    case btLink: {
        TLinkBlock &block = item.LinkBlock;
        block.LinkURL = ui->txtLinkAddress->text();
        block.LinkText = ui->txtLinkText->text();
        block.UseDropBox = ui->chkLink->isChecked();
        block.Email = ui->chkEmail->isChecked();
        block.DropBoxText = Text::joinLines(ui->lstLinks->strings());
        break;
    }
    case btText: {
        TTextBlock &block = item.TextBlock;
        block.Text = memoText(ui->txtText);
        block.Attributes = FontToDescription(m_textFont.fontSpec);
        block.ApplyFont = m_textFont.applyFont;
        break;
    }
    case btBullet: {
        TBulletBlock &block = item.BulletBlock;
        block.Bullets = memoText(ui->txtBullets);
        if (ui->cbBullets->currentIndex() >= 0)
            block.Style = quint8(ui->cbBullets->currentIndex());
        break;
    }
    case btHR: {
        THRBlock &block = item.HRBlock;
        block.Size = ui->cbHR->currentIndex();
        block.Width = ui->updnHRWidth->position();
        block.NoShade = ui->chkNoShade->isChecked();
        break;
    }
    case btForms:
        doc.Email = ui->txtFormAddress->text();
        doc.Redirect = ui->txtFormURL->text();
        doc.Subject = ui->txtFormSubject->text();
        break;
    default:
        break;
    }
}

void TBlockEditor::bringToFront(int blockType)
{
    // The stack holds the panels in block type order. A panel in front covers the bar.
    ui->stkPanels->setCurrentIndex(blockType);
    ui->pnlAlign->hide();
}

void TBlockEditor::loadPageProperties(const TPageItem &item)
{
    const TPagePropertiesBlock &block = item.PagePropertiesBlock;
    ui->txtPageTitle->setText(block.PageTitle);
    ui->chkLinkUnderline->setChecked(block.Underline);
    setLines(ui->lstMeta, block.MetaText);
}

void TBlockEditor::loadHeading(const TPageItem &item)
{
    const THeadingBlock &block = item.HeadingBlock;
    setMemoText(ui->txtHeading, block.Heading);
    m_headingFont.applyFont = block.ApplyFont;
    // A description that does not read gives the designed font.
    TFontSpec fontSpec;
    if (!DescriptionToFont(block.Attributes, fontSpec))
        fontSpec = TFontSpec();
    m_headingFont.fontSpec = fontSpec;
    showMemoFont(HeadingFont);
}

void TBlockEditor::loadImage(const TPageItem &item)
{
    const TImageBlock &block = item.ImageBlock;
    ui->txtImageFile->setText(block.FileName);
    ui->txtImageH->setText(block.Height);
    ui->txtImageW->setText(block.Width);
    ui->txtImageAlt->setText(block.Alt);
    ui->txtImageLink->setText(block.ImageLink);
    ui->cbImageAlign->setEditText(block.Align);
    m_imagePath = m_programFolder + ProgramFiles::kUploadImages + block.FileName;
    showImagePreview();
}

void TBlockEditor::loadLink(const TPageItem &item)
{
    const TLinkBlock &block = item.LinkBlock;
    ui->txtLinkAddress->setText(block.LinkURL);
    ui->txtLinkText->setText(block.LinkText);
    ui->chkLink->setChecked(block.UseDropBox);
    ui->chkEmail->setChecked(block.Email);
    setLines(ui->lstLinks, block.DropBoxText);
    updateDropBoxControls();
}

void TBlockEditor::loadText(const TPageItem &item)
{
    const TTextBlock &block = item.TextBlock;
    setMemoText(ui->txtText, block.Text);
    m_textFont.applyFont = block.ApplyFont;
    TFontSpec fontSpec;
    if (!DescriptionToFont(block.Attributes, fontSpec))
        fontSpec = TFontSpec();
    m_textFont.fontSpec = fontSpec;
    showMemoFont(TextFont);
}

void TBlockEditor::loadBullets(const TPageItem &item)
{
    setMemoText(ui->txtBullets, item.BulletBlock.Bullets);
    selectItem(ui->cbBullets, item.BulletBlock.Style);
}

void TBlockEditor::loadLine(const TPageItem &item)
{
    const THRBlock &block = item.HRBlock;
    selectItem(ui->cbHR, block.Size);
    ui->updnHRWidth->setPosition(block.Width);
    ui->chkNoShade->setChecked(block.NoShade);
    // The preview takes the new size where it stands; only a click centres it.
    showLineThickness();
    showLineWidth();
}

void TBlockEditor::loadForms(const TPagelette &doc)
{
    ui->txtFormAddress->setText(doc.Email);
    ui->txtFormSubject->setText(doc.Subject);
    ui->txtFormURL->setText(doc.Redirect);
    ui->btnFormClear->setEnabled(doc.WebForm.Count() > 0);
}

void TBlockEditor::fillFormFields(const TPagelette &doc)
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

void TBlockEditor::clearFormFields()
{
    ui->lvForms->clear();
    for (QWidget *button : std::initializer_list<QWidget *>{ui->btnFormClear, ui->btnFormUp, ui->btnFormDown,
                                                            ui->btnFormRemove, ui->btnFormEdit})
        button->setEnabled(false);
}
