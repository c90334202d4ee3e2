// Times reading a field list of the field bank file ("Fields.ini") of 1,000 to 10,000 entries,
// and the choices of a drop-down of as many, as the field bank window and a new form read them.
// A reader that looked every key up in the whole file would grow with the square of the size.
// Usage: brisko-bench-fields

#include "forms/fieldbank.h"

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

void writeFile(const QString &path, int entries)
{
    QByteArray text = "[Field Bank]\r\n";
    for (int i = 0; i < entries; ++i)
        text += "FIELD" + QByteArray::number(i) + "=Choices " + QByteArray::number(i) + "|4\r\n";
    text += "[Choices 0]\r\n";
    for (int i = 0; i < entries; ++i)
        text += "Choices 0" + QByteArray::number(i) + '=' + QByteArray::number(i) + "|Choice " + QByteArray::number(i) +
                "\r\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const FieldBank bank(dir.path() + u'/');
    std::printf("%-8s %14s %14s\n", "entries", "field list s", "choices s");
    for (int entries : {1000, 2000, 4000, 10000}) {
        writeFile(bank.filePath(), entries);
        auto start = Clock::now();
        QList<TFieldEntry> list;
        if (!bank.LoadFieldList(FieldBank::FieldBankSection.toString(), list) || list.size() != entries) {
            std::fprintf(stderr, "the field list did not read\n");
            return 1;
        }
        const double listSeconds = secondsSince(start);
        start = Clock::now();
        QStringList choices;
        bank.ReadChoices(QStringLiteral("Choices 0"), fkDropDown, choices);
        const double choiceSeconds = secondsSince(start);
        if (choices.size() != entries) {
            std::fprintf(stderr, "the choices did not read\n");
            return 1;
        }
        std::printf("%-8d %14.4f %14.4f\n", entries, listSeconds, choiceSeconds);
    }
    return 0;
}
