#pragma once

#include "platform/ownedlist.h"

#include <QString>
#include <QStringList>

#include <array>

// The kinds of form field; the value names are stored in project files.
enum TFieldKind : quint8 { fkText, fkTextArea, fkRadio, fkCheckBox, fkDropDown, fkButton };

inline constexpr int kFieldKindCount = 6;

// Captions shown in lists and dialogs, by kind.
extern const std::array<QStringView, kFieldKindCount> FieldKindCaptions;
// Type names written into the page, by kind.
extern const std::array<QStringView, kFieldKindCount> FieldKindNames;
// The enumeration's value names as stored in project files, by kind.
extern const std::array<QStringView, kFieldKindCount> FieldKindIdents;

// One field of the page's e-mail form.
struct TFormElement
{
    TFieldKind FieldKind = fkText;
    QString Name;
    QStringList Strings; // kind-specific settings and choices
    QString Text;        // shown left of the field; may hold line breaks
    QString Value;       // initial value of a text box

    // Copies everything but Text.
    void Assign(const TFormElement &source);

    bool operator==(const TFormElement &) const = default;
};

// The ordered fields of the form.
class TWebForm : public OwnedList<TFormElement>
{
public:
    bool MoveField(int from, int to) { return Move(from, to); }
    // Fields a and b change places; the others keep theirs.
    bool ExchangeFields(int a, int b)
    {
        if (a == b || !Items(a) || !Items(b))
            return false;
        Move(a, b);
        Move(a < b ? b - 1 : b + 1, a);
        return true;
    }
};
