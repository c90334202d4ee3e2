#include "app/appfixture.h"
#include "dialogs/miscdialog.h"
#include "dialogs/templatesdialog.h"
#include "dialogs/tipsdialog.h"
#include "document/pagemodel.h"
#include "forms/gui/commonfieldsdialog.h"
#include "forms/gui/fieldsdialog.h"
#include "platform/gui/accessibility.h"
#include "project/pagedocument.h"
#include "publish/gui/uploadwizard.h"
#include "themes/gui/colorpicker.h"
#include "themes/gui/themedialog.h"
#include "themes/themesfile.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QButtonGroup>

using namespace Qt::StringLiterals;

namespace {

// Controls a user acts on must tell a screen reader what they are. A scroll area's own bars
// belong to the area.
void collectUnnamed(QAccessibleInterface *node, const QString &path, QStringList &unnamed)
{
    using A = QAccessible;
    static const QList<A::Role> roles{A::Button, A::CheckBox, A::RadioButton, A::ComboBox, A::EditableText, A::List,
                                      A::ListItem, A::Tree, A::Table, A::PageTab, A::ScrollBar, A::SpinBox};
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *control = node->child(i);
        if (!control || control->state().invisible)
            continue;
        const QObject *object = control->object();
        const QString at = object && !object->objectName().isEmpty() ? object->objectName() : path;
        const bool ownBar = at.startsWith(u"qt_scrollarea");
        if ((roles.contains(control->role()) || control->state().focusable) && !ownBar
            && control->text(QAccessible::Name).trimmed().isEmpty())
            unnamed.append(u"%1 (role 0x%2)"_s.arg(at).arg(int(control->role()), 0, 16));
        collectUnnamed(control, at, unnamed);
    }
}

// The visible controls that Tab (Ctrl+Tab out of a text box that takes Tab) never reaches.
QStringList unreachable(QWidget *window)
{
    QList<QWidget *> focusable;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->window() == window && widget->isVisible() && widget->isEnabled()
            && (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy())
            focusable.append(widget);
    }
    QSet<QWidget *> reached;
    for (qsizetype i = 0; i < 2 * focusable.size() + 10 && QApplication::focusWidget(); ++i) {
        QWidget *from = QApplication::focusWidget();
        reached.insert(from);
        QTest::keyClick(from, Qt::Key_Tab);
        if (QApplication::focusWidget() == from)
            QTest::keyClick(from, Qt::Key_Tab, Qt::ControlModifier);
        if (QApplication::focusWidget() == from)
            return {u"Tab stays in "_s + from->objectName()};
    }
    QStringList missed;
    for (QWidget *widget : std::as_const(focusable)) {
        // Tab enters a group of exclusive buttons at one of them; the arrows do the rest.
        const auto *button = qobject_cast<QAbstractButton *>(widget);
        const auto sameGroup = [button](QWidget *other) {
            const auto *peer = qobject_cast<QAbstractButton *>(other);
            return peer && ((button->group() && peer->group() == button->group())
                            || (button->autoExclusive() && peer->autoExclusive() && peer->parent() == button->parent()));
        };
        if (!reached.contains(widget) && !(button && std::any_of(reached.cbegin(), reached.cend(), sameGroup)))
            missed.append(widget->objectName() + u':' + QString::fromLatin1(widget->metaObject()->className()));
    }
    return missed;
}

template<typename W> std::unique_ptr<QWidget> clicked(std::unique_ptr<W> window, const char *button)
{
    child<QAbstractButton>(window.get(), button)->click();
    return window;
}

// Scenes: the main window with each block type's panel open, View Page, then every dialog.
std::unique_ptr<QWidget> makeScene(int scene, AppFixture &fixture)
{
    static TWebTheme themes;
    if (scene <= kBlockTypeCount) {
        std::unique_ptr<TfrmMain> window = fixture.makeWindow();
        if (scene == kBlockTypeCount) {
            window->viewPage();
            return window;
        }
        auto *list = child<TBlockList>(window.get(), "lstBlocks");
        int row = 0;
        while (row < list->count() && window->document().Page.Items(row)->BlockType != scene)
            ++row;
        if (row == list->count())
            window->pageDocument().insertBlock(row, scene);
        list->setFocus();
        list->setCurrentRow(row);
        Q_EMIT list->rowChosen(row);
        return window;
    }
    scene -= kBlockTypeCount + 1;
    if (scene < kFieldKindCount)
        return std::make_unique<TfrmFields>(TFieldKind(scene));
    auto misc = std::make_unique<TfrmMisc>();
    themes = TWebTheme();
    LoadThemes(fixture.folder() + u"Themes.dat"_s, themes, nullptr);
    auto upload = std::make_unique<TfrmUpload>();
    upload->setUploadList({fixture.folder() + u"Upload/page.html"_s});
    switch (scene - kFieldKindCount) {
    case 0:
    case 1:
        misc->setDialogMode(scene == kFieldKindCount ? TfrmMisc::FontMode : TfrmMisc::MetaMode);
        misc->prepare();
        return misc;
    case 2: return std::make_unique<TfrmColor>(nullptr, QStringLiteral(BRISKO_PROGRAM_DIR));
    case 3: return std::make_unique<TfrmTheme>(themes, fixture.folder());
    case 4: return clicked(std::make_unique<TfrmTheme>(themes, fixture.folder()), "btnEdit");
    case 5: return std::make_unique<TfrmCommonFields>(TfrmCommonFields::FieldBankMode, fixture.folder());
    case 6: return std::make_unique<TfrmCommonFields>(TfrmCommonFields::OptionsMode, QString());
    case 7: return upload;
    case 8: return clicked(std::move(upload), "btnAdd");
    case 9: return clicked(std::move(upload), "btnUpload");
    case 10: return std::make_unique<TfrmTemplates>(fixture.folder());
    default: return std::make_unique<TfrmTips>(fixture.folder(), true);
    }
}

} // namespace

// Every window and dialog is announced in full to a screen reader and works from the keyboard.
class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        Accessibility::nameEveryControl();
        QAccessible::setActive(true);
    }

    void everyControlIsNamedAndReachedByTab_data()
    {
        QTest::addColumn<int>("scene");
        const char *names[] = {"page details", "heading", "image", "link", "paragraph", "bullets", "line", "forms",
                               "view page", "field: text box", "field: text area", "field: radio button",
                               "field: check box", "field: drop down", "field: button", "font", "meta tag",
                               "colour picker", "themes", "themes: editing", "field bank", "form options",
                               "upload: servers", "upload: new profile", "upload: files", "open", "tips"};
        for (int i = 0; i < int(std::size(names)); ++i)
            QTest::newRow(names[i]) << i;
    }

    void everyControlIsNamedAndReachedByTab()
    {
        QFETCH(int, scene);
        AppFixture fixture;
        std::unique_ptr<QWidget> window = makeScene(scene, fixture);
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QStringList unnamed;
        collectUnnamed(QAccessible::queryAccessibleInterface(window.get()), window->objectName(), unnamed);
        QVERIFY2(unnamed.isEmpty(), qPrintable(u"without a name: "_s + unnamed.join(u", ")));
        const QStringList missed = unreachable(window.get());
        QVERIFY2(missed.isEmpty(), qPrintable(u"Tab never reaches "_s + missed.join(u", ")));
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'|')));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
