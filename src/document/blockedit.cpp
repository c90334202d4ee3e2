#include "blockedit.h"

TFormOptions FormOptionsOf(const TPagelette &page)
{
    return {page.AlphaSort,    page.BlankFields, page.Border,     page.BrowserUsed, page.EmailAddress,
            page.EmailSubject, page.EnvReport,   page.FormFooter, page.HostName,    page.FormTitle};
}

void SetFormOptions(TPagelette &page, const TFormOptions &options)
{
    page.AlphaSort = options.AlphaSort;
    page.BlankFields = options.BlankFields;
    page.Border = options.Border;
    page.BrowserUsed = options.BrowserUsed;
    page.EmailAddress = options.EmailAddress;
    page.EmailSubject = options.EmailSubject;
    page.EnvReport = options.EnvReport;
    page.FormFooter = options.FormFooter;
    page.HostName = options.HostName;
    page.FormTitle = options.FormTitle;
}

TFormState FormStateOf(const TPagelette &page)
{
    return {page.WebForm, FormOptionsOf(page), {page.Email, page.Subject, page.Redirect}, page.Color};
}

void SetFormState(TPagelette &page, const TFormState &state)
{
    page.WebForm = state.WebForm;
    SetFormOptions(page, state.Options);
    page.Email = state.Address.Email;
    page.Subject = state.Address.Subject;
    page.Redirect = state.Address.Redirect;
    page.Color = state.Color;
}

TBlockEdit BlockEditOf(const TPagelette &page, int index)
{
    TBlockEdit edit;
    if (const TPageItem *item = page.Page.Items(index))
        edit.Item = *item;
    edit.Form = {page.Email, page.Subject, page.Redirect};
    return edit;
}

bool ApplyBlockEdit(TPagelette &page, int index, const TBlockEdit &edit)
{
    TPageItem *item = page.Page.Items(index);
    if (!item)
        return false;
    *item = edit.Item;
    if (item->BlockType == btForms) {
        page.Email = edit.Form.Email;
        page.Subject = edit.Form.Subject;
        page.Redirect = edit.Form.Redirect;
    }
    return true;
}
