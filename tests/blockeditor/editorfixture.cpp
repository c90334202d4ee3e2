#include "editorfixture.h"

#include "app/panels/blockpanel.h"
#include "dialogs/miscdialog.h"
#include "document/blockedit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>

void commitInto(TBlockPanel &panel, TPagelette &doc, const TPageItem &item)
{
    int index = 0;
    while (doc.Page.Items(index) && doc.Page.Items(index) != &item)
        ++index;
    TBlockEdit edit = BlockEditOf(doc, index);
    panel.commit(edit);
    ApplyBlockEdit(doc, index, edit);
}

TPagelette pageWithEveryBlock()
{
    TPagelette doc;
    doc.AddDefaultBlocks(); // page details, image, link, paragraph
    while (doc.Page.Count() > 1)
        doc.Page.Delete(1);
    for (int type = btHeading; type <= btForms; ++type)
        doc.InsertNewBlock(type, TBlockType(type));
    return doc;
}

QString textOf(const QWidget &editor, const char *name)
{
    QWidget *widget = control(editor, name);
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    if (auto *memo = qobject_cast<QPlainTextEdit *>(widget))
        return memo->toPlainText();
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->currentText();
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    qFatal("%s shows no text", name);
}

bool isChecked(const QWidget &editor, const char *name)
{
    return control<QAbstractButton>(editor, name)->isChecked();
}

void retype(QWidget *edit, const QString &text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void retype(const QWidget &editor, const char *name, const QString &text)
{
    QWidget *widget = control(editor, name);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        widget = combo->lineEdit();
    retype(widget, text);
}

void clickCheckBox(const QWidget &editor, const char *name)
{
    QWidget *box = control(editor, name);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

void onNextDialog(QObject *context, std::function<void(TfrmMisc *)> answer)
{
    QTimer::singleShot(0, context, [answer] {
        auto *dialog = qobject_cast<TfrmMisc *>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("the dialog did not open");
        answer(dialog);
    });
}

void clickButton(QWidget *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

void doubleClickRow(QListWidget *list, int row)
{
    const QPoint pos = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, pos);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
