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
#include <QLabel>

using namespace Qt::StringLiterals;

namespace {

// Roles a user acts on: such a control must tell a screen reader what it is.
bool isInteractive(const QAccessibleInterface *control)
{
    using A = QAccessible;
    static const QList<A::Role> roles{A::Button, A::CheckBox, A::RadioButton, A::ComboBox, A::EditableText,
                                      A::SpinBox, A::Slider, A::List, A::ListItem, A::Tree, A::Table,
                                      A::PageTab, A::ButtonMenu, A::ButtonDropDown};
    const QObject *object = control->object();
    if (control->role() == A::ScrollBar) // a scroll area's own bars belong to the area
        return object && !object->parent()->objectName().startsWith(u"qt_scrollarea");
    return roles.contains(control->role()) || (control->state().focusable && object && object->isWidgetType());
}

void collectUnnamed(QAccessibleInterface *node, const QString &path, QStringList &unnamed)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (!child || child->state().invisible)
            continue;
        const QString name = child->object() ? child->object()->objectName() : QString();
        const QString at = name.isEmpty() ? path : name;
        if (isInteractive(child) && child->text(QAccessible::Name).trimmed().isEmpty())
            unnamed.append(u"%1 (role 0x%2)"_s.arg(at).arg(int(child->role()), 0, 16));
        collectUnnamed(child, at, unnamed);
    }
}

// The controls Tab can never reach, pressing Tab from the focused control round the window
// (and Ctrl+Tab where a text box takes Tab itself).
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
        const bool grouped = button && std::any_of(reached.cbegin(), reached.cend(), sameGroup);
        if (!reached.contains(widget) && !grouped)
            missed.append(widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                                         : widget->objectName());
    }
    return missed;
}

// Two visible captions of a window marking the same Alt+letter.
QStringList clashingMnemonics(QWidget *window)
{
    QHash<QChar, QStringList> owners;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        const auto *label = qobject_cast<QLabel *>(widget);
        const auto *button = qobject_cast<QAbstractButton *>(widget);
        const QString caption = button ? button->text() : label && label->buddy() ? label->text() : QString();
        const qsizetype mark = QString(caption).replace(u"&&"_s, u"__"_s).indexOf(u'&');
        if (widget->window() == window && widget->isVisible() && mark >= 0 && mark + 1 < caption.size())
            owners[caption[mark + 1].toLower()].append(widget->objectName());
    }
    QStringList clashes;
    for (auto owner = owners.cbegin(); owner != owners.cend(); ++owner) {
        if (owner.value().size() > 1)
            clashes.append(owner.key() + u": "_s + owner.value().join(u", "));
    }
    return clashes;
}

void click(QWidget *window, const char *name)
{
    if (auto *button = child<QAbstractButton>(window, name))
        button->click();
}

// Scene index: the main window with each block's panel open, then View Page, then the dialogs.
std::unique_ptr<QWidget> makeScene(int index, AppFixture &fixture)
{
    static TWebTheme themes;
    if (index < kBlockTypeCount + 1) {
        std::unique_ptr<TfrmMain> window = fixture.makeWindow();
        auto *list = child<TBlockList>(window.get(), "lstBlocks");
        if (index == kBlockTypeCount) {
            window->viewPage();
        } else {
            int row = 0;
            while (row < list->count() && window->document().Page.Items(row)->BlockType != index)
                ++row;
            if (row == list->count())
                window->pageDocument().insertBlock(row, index);
            list->setFocus();
            list->setCurrentRow(row);
            Q_EMIT list->rowChosen(row);
        }
        return window;
    }
    index -= kBlockTypeCount + 1;
    if (index < kFieldKindCount)
        return std::make_unique<TfrmFields>(TFieldKind(index));
    switch (index - kFieldKindCount) {
    case 0:
    case 1: {
        auto misc = std::make_unique<TfrmMisc>();
        misc->setDialogMode(index == kFieldKindCount ? TfrmMisc::FontMode : TfrmMisc::MetaMode);
        misc->prepare();
        return misc;
    }
    case 2:
        return std::make_unique<TfrmColor>(nullptr, QStringLiteral(BRISKO_PROGRAM_DIR));
    case 3:
    case 4: {
        themes = TWebTheme();
        LoadThemes(fixture.folder() + u"Themes.dat"_s, themes, nullptr);
        auto theme = std::make_unique<TfrmTheme>(themes, fixture.folder());
        if (index - kFieldKindCount == 4)
            click(theme.get(), "btnEdit");
        return theme;
    }
    case 5:
        return std::make_unique<TfrmCommonFields>(TfrmCommonFields::FieldBankMode, fixture.folder());
    case 6:
        return std::make_unique<TfrmCommonFields>(TfrmCommonFields::OptionsMode, QString());
    case 7:
    case 8:
    case 9: {
        auto upload = std::make_unique<TfrmUpload>();
        upload->setUploadList({fixture.folder() + u"Upload/page.html"_s});
        if (index - kFieldKindCount > 7)
            click(upload.get(), index - kFieldKindCount == 8 ? "btnAdd" : "btnUpload");
        return upload;
    }
    case 10:
        return std::make_unique<TfrmTemplates>(fixture.folder());
    default:
        return std::make_unique<TfrmTips>(fixture.folder(), true);
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

    void everyControlIsNamedReachedByTabAndUnclashed_data()
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

    void everyControlIsNamedReachedByTabAndUnclashed()
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
        const QStringList clashes = clashingMnemonics(window.get());
        QVERIFY2(clashes.isEmpty(), qPrintable(u"mnemonics clash: "_s + clashes.join(u"; ")));
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'|')));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
