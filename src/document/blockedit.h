#pragma once

#include "pagemodel.h"

// The options of the page's e-mail form, as the options dialog shows them.
struct TFormOptions
{
    bool AlphaSort = false;
    bool BlankFields = false;
    bool Border = false;
    bool BrowserUsed = false;
    bool EmailAddress = false;
    bool EmailSubject = false;
    bool EnvReport = false;
    bool FormFooter = false;
    bool HostName = false;
    QString FormTitle;
    bool operator==(const TFormOptions &) const = default;
};

// Where the page's form is sent: edited in the Forms block's panel.
struct TFormAddress
{
    QString Email;
    QString Subject;
    QString Redirect;
    bool operator==(const TFormAddress &) const = default;
};

// Everything of the page that belongs to its form: what deleting the Forms block empties.
struct TFormState
{
    TWebForm WebForm;
    TFormOptions Options;
    TFormAddress Address;
    QString Color;
    bool operator==(const TFormState &) const = default;
};

// One block as its editor panel hands it back: a copy of the block and, for the Forms block,
// where the form is sent.
struct TBlockEdit
{
    TPageItem Item;
    TFormAddress Form;
    bool operator==(const TBlockEdit &) const = default;
};

TFormOptions FormOptionsOf(const TPagelette &page);
void SetFormOptions(TPagelette &page, const TFormOptions &options);
TFormState FormStateOf(const TPagelette &page);
void SetFormState(TPagelette &page, const TFormState &state);

// The block at index as its panel starts editing it (an empty block past the end).
TBlockEdit BlockEditOf(const TPagelette &page, int index);
// Writes edit into the block at index (and the form's address for the Forms block); false when
// there is no such block.
bool ApplyBlockEdit(TPagelette &page, int index, const TBlockEdit &edit);
