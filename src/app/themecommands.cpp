// The main window's theme commands: the theme dialog, opened from the page details panel and
// from the bar above the preview, and the theme list beside the preview.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "codecs/picturedecoder.h"
#include "dialogs/picturedialog.h"
#include "html/pagehtml.h"
#include "platform/gui/busycursor.h"
#include "platform/gui/filedialogs.h"
#include "project/pagedocument.h"
#include "themes/gui/themedialog.h"

#include <optional>

namespace {

// The window's picture dialog, with the preview pane, opened on folder with fileName preset.
QString choosePicture(QWidget *parent, const QString &folder, const QString &fileName)
{
    const QString filter = TPictureDialog::kFilter.toString();
    if (std::optional<QString> answer = FileDialogs::takeTestAnswer(filter, folder))
        return *answer;
    TPictureDialog dialog(parent, filter, folder);
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

void TfrmMain::editThemes(bool refreshPreview)
{
    std::optional<BusyCursor> busy(std::in_place);
    TfrmTheme dialog(m_themes, m_doc->programFolder(), this);
    dialog.setPictureChooser(choosePicture);
    dialog.setPictureDecoder([](const QString &path) { return Codecs::decodePicture(path).image; });
    dialog.selectTheme(PageThemeName(m_doc->page()));
    busy.reset();
    const int result = dialog.exec();

    // The dialog has written what changed, also when it was cancelled; the list follows.
    if (dialog.changed())
        fillThemeList();
    const int index = dialog.selectedIndex();
    if (index >= 0 && index < ui->lstThemes->count()) {
        ui->lstThemes->setCurrentRow(index);
        ui->lstThemes->scrollToItem(ui->lstThemes->item(index), QAbstractItemView::PositionAtTop);
    } else {
        ui->lstThemes->clearSelection();
        ui->lstThemes->setCurrentRow(-1);
    }
    if (result != QDialog::Accepted || index < 0)
        return;
    // What the open panel shows goes into the page before the theme does.
    commitPanel();
    m_doc->applyTheme(m_themes, index);
    // From the preview's bar the preview shows the page in its new theme at once.
    if (refreshPreview)
        lstThemesClick();
}
