#include "editorfixture.h"

#include "app/panels/formspanel.h"
#include "project/pagedocument.h"

#include <QTreeWidget>

using namespace Qt::StringLiterals;

class TestFormsPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void formsRoundTrip();
    void formFieldListFollowsTheForm();

private:
    TPageItem &item() { return *m_doc.Page.Items(btForms); }
    void load() { m_panel->load(m_doc, item()); }
    void commit() { commitInto(*m_panel, m_doc, item()); }

    TPagelette m_doc;
    std::unique_ptr<TFormsPanel> m_panel;
};

void TestFormsPanel::init()
{
    m_doc = pageWithEveryBlock();
    m_panel = std::make_unique<TFormsPanel>();
    m_panel->resize(520, 560);
    m_panel->show();
}

void TestFormsPanel::cleanup()
{
    m_panel.reset();
}

void TestFormsPanel::formsRoundTrip()
{
    m_doc.Email = u"club@example.com"_s;
    m_doc.Subject = u"Enquiry"_s;
    m_doc.Redirect = u"http://example.com/thanks.html"_s;
    m_doc.FormTitle = u"Contact"_s;
    load();

    const QWidget &e = *m_panel;
    QCOMPARE(textOf(e, "txtFormAddress"), u"club@example.com"_s);
    QCOMPARE(textOf(e, "txtFormSubject"), u"Enquiry"_s);
    QCOMPARE(textOf(e, "txtFormURL"), u"http://example.com/thanks.html"_s);

    retype(e, "txtFormAddress", u"info@example.com"_s);
    retype(e, "txtFormSubject", u"Question"_s);
    retype(e, "txtFormURL", u"index.html"_s);
    commit();
    QCOMPARE(m_doc.Email, u"info@example.com"_s);
    QCOMPARE(m_doc.Subject, u"Question"_s);
    QCOMPARE(m_doc.Redirect, u"index.html"_s);
    QCOMPARE(m_doc.FormTitle, u"Contact"_s);
}

void TestFormsPanel::formFieldListFollowsTheForm()
{
    const QWidget &e = *m_panel;
    auto *list = control<QTreeWidget>(e, "lvForms");
    load();
    QVERIFY(!control(e, "btnFormClear")->isEnabled());
    QCOMPARE(textOf(e, "btnFormClear"), u"&Clear All"_s);

    for (int kind = 0; kind < kFieldKindCount; ++kind) {
        TFormElement &element = m_doc.WebForm.Add();
        element.Name = u"Field %1"_s.arg(kind);
        element.FieldKind = TFieldKind(kind);
    }
    PageDocument document(QString{});
    document.adopt(std::make_unique<TPagelette>(m_doc), {});
    m_panel->setDocument(&document);
    QCOMPARE(list->headerItem()->text(0) + u'|' + list->headerItem()->text(1), u"Name|Type"_s);
    QCOMPARE(list->topLevelItemCount(), kFieldKindCount);
    for (int kind = 0; kind < kFieldKindCount; ++kind) {
        const QTreeWidgetItem *row = list->topLevelItem(kind);
        QCOMPARE(row->text(0), u"Field %1"_s.arg(kind));
        QCOMPARE(row->text(1), FieldKindCaptions[kind].toString());
        QVERIFY(!row->icon(0).isNull());
    }
    load();
    QVERIFY(control(e, "btnFormClear")->isEnabled());

    // Deleting the Forms block empties the list, and undoing it brings the fields back.
    list->setCurrentItem(list->topLevelItem(1));
    QVERIFY(document.deleteBlock(btForms).ok());
    QCOMPARE(list->topLevelItemCount(), 0);
    for (const char *name : {"btnFormUp", "btnFormDown", "btnFormRemove", "btnFormEdit", "btnFormClear"})
        QVERIFY2(!control(e, name)->isEnabled(), name);
    document.undo();
    QCOMPARE(list->topLevelItemCount(), kFieldKindCount);
}

QTEST_MAIN(TestFormsPanel)
#include "tst_formspanel.moc"
