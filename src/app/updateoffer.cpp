#include "updateoffer.h"

#include "i18n/texttable.h"
#include "platform/platform.h"
#include "web/updatecheck.h"

bool askToOpenUpdatePage(Platform &platform, const TextTable &texts, QWidget *owner)
{
    return platform.messageBox(owner, updateQuestion(texts.text(TextId::UpdateQuestion)),
               MessageBoxStyle::Information | MessageBoxStyle::YesNo,
               texts.text(TextId::UpdateTitle))
        == MessageBoxAnswer::Yes;
}
