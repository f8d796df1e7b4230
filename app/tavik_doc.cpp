#include "app/tavik_doc.h"

#include "platform/message_box.h"
#include "view/tavik_view.h"

namespace tavik {

bool CTavikDoc::CanCloseFrame()
{
    CTavikView* view = firstView();
    if (!view || !view->checklist().modified())
        return true;
    if (view->SaveCurrentFile() == SaveResult::Written)
        return true;
    // The write failed (the user has been told why) or was declined: closing now would lose the changes.
    return MessageBox::show(view->window(), QStringLiteral("変更は保存されていません。このまま終了しますか？"),
               MessageButtons::YesNoDefaultNo, MessageIcon::Warning)
        == MessageAnswer::Yes;
}

}  // namespace tavik
