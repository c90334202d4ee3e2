#include "blockeditor.h"
#include "ui_blockeditor.h"

void TBlockEditor::connectImagePanel()
{
}
