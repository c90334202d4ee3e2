#pragma once

#include "pagemodel.h"
#include "themes/thememodel.h"

// Copies the theme into the page details block (item 0) of the page; false when the index
// or the page has no such item.
bool ApplyTheme(const TWebTheme &themes, int index, TPagelette &page);
// The same on a page details block; false when there is no such theme.
bool ApplyTheme(const TWebTheme &themes, int index, TPagePropertiesBlock &details);
