#pragma once

#include "themes/thememodel.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <optional>

class PageDocument;
class RecoveryKeeper;
struct DocumentOutcome;
class QMenu;
class TBlockEditor;
class TInsertMarker;
class TPagelette;

namespace BlockDrag {
struct Payload;
}

namespace Ui {
class TfrmMain;
}

inline constexpr QStringView kApplicationTitle = u"Marlowen HTML Brisko 4.0";
inline constexpr QStringView kHostingAddress = u"http://www.marlowen.example/hosting/";

// The main window: the Create Page view (palette, block list, editor panels) and the View Page
// view (theme list and preview), the column of large buttons, the pop-up menu and the document
// commands. It owns the open page's document object and the themes for its whole life, shows
// what the document holds and turns the outcomes of its commands into messages.
class TfrmMain : public QMainWindow
{
    Q_OBJECT

public:
    // Runs the creation handler: window placement, a new page, the themes, the palette, the file
    // types, then the file named by the first of arguments (the command line after the program
    // name). programFolder ends with "/"; empty means the executable's folder.
    explicit TfrmMain(const QString &programFolder = {}, const QStringList &arguments = {},
                      QWidget *parent = nullptr);
    ~TfrmMain() override;

    PageDocument &pageDocument() const { return *m_doc; }
    const TPagelette &document() const;
    const TWebTheme &themes() const { return m_themes; }
    TBlockEditor *blockEditor() const;
    QString documentName() const;
    QString programFolder() const;
    bool modified() const;
    int blockTypeToInsert() const { return m_blockTypeToInsert; }
    // 15 before the first deletion, 1 while the bin is full, 0 once the page is back to its
    // page-details block.
    int trashState() const { return m_trashState; }
    bool showTips() const { return m_showTips != 0; }
    int paneWidth() const;
    void setPaneWidth(int width);

    // The start-up splash window, hidden as soon as this window shows.
    void setSplash(QWidget *splash) { m_splash = splash; }

    // Document commands. Each returns whether it went through.
    bool newPage();
    void openPage();
    bool savePage();
    bool saveAsTemplate();
    // Replaces the page with the file at path; an unreadable file leaves a new page.
    void loadDocument(const QString &path);

    // Send to web: asks to save unsaved changes, then opens the upload wizard with the page's files.
    void sendToWeb();

    void viewPage();
    void showCreateView();
    // Preview Page: the page in the default web browser, which runs its script.
    void previewInBrowser();
    // The tip of the day over this window; its "Show at startup" becomes the show-tips setting.
    void showTipOfTheDay();
    // Offers back the work of a run that ended without saving it, then starts keeping a
    // recovery copy of this run's unsaved work.
    void offerRecovery();
    RecoveryKeeper *recovery() const { return m_recovery; }
    void deleteBlock(int row);

    // Undo and Redo of the page's history. The open panel is committed first, so that what it
    // shows is part of the history; the block list, the panel, the theme list and View Page
    // then follow the step.
    void undo();
    void redo();

    // The page generator as the window runs it: commits the open panel, shows the hourglass,
    // selects the page's theme in the theme list and warns when the page cannot be made.
    std::optional<QStringList> buildPageHtml(quint8 pathMode);

    // The pop-up menu as opened from source (the block list, the button column or one of the
    // large buttons). Returns at once; the menu stays open.
    void showBlockMenu(QWidget *source, const QPoint &globalPos);
    QMenu *blockMenu() const { return m_popBlocks; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpControls();
    void setUpMenu();
    void connectControls();
    void restorePlacement();
    void storePlacement();
    void reportProgramFolder();
    void registerFileTypes();
    void loadThemes();
    // Fills lstThemes with the names of the themes in memory.
    void fillThemeList();
    // The theme dialog; refreshPreview also applies its theme through the theme list.
    void editThemes(bool refreshPreview);

    void connectDocument();
    void commitPanel();
    void historyStep(bool back);
    void updateHistoryItems();
    // Selects row index of the block list and opens its block's panel, committing nothing.
    void showBlock(int index);
    void blockRowDeleted(int index);
    void blockFieldsChanged(int index);
    // Whether an Undo or Redo key pressed in widget belongs to its own text history: it does
    // while the open panel holds edits not yet committed and the widget can take the step.
    bool keepsTextHistory(QObject *widget, bool back) const;
    void rebuildBlockList();
    void setTitle();
    void selectPageTheme();
    void setTrash(int state);
    // Shows a failed command's message, with its reason beneath it.
    void report(const DocumentOutcome &outcome, bool warning = false);

    void lstBlocksClick(int row);
    void lstBlocksDragDrop(const BlockDrag::Payload &payload, int position);
    void lstThemesClick();
    void paintButtonFrame();

    std::unique_ptr<Ui::TfrmMain> ui;
    QMenu *m_popBlocks = nullptr;
    QMenu *m_mnuHelp = nullptr;
    TInsertMarker *m_marker = nullptr;
    QPointer<QWidget> m_splash;

    PageDocument *m_doc = nullptr;
    RecoveryKeeper *m_recovery = nullptr;
    TWebTheme m_themes;
    int m_blockTypeToInsert = 1;
    int m_trashState = 15;
    int m_showTips = 1;
    int m_pendingPaneWidth = -1;
    bool m_committing = false;        // the open panel is being committed: it need not reload
    bool m_followingHistory = false;  // an undo or redo is being carried out
};
