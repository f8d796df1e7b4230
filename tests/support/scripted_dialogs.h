#pragma once

#include <QList>

#include <deque>
#include <functional>
#include <map>

namespace tavik {

class ModalDialog;

// Works the program's modal dialogs from a script while it lives, without any
// event loop. Each dialog takes the next entry queued for its template id: a fixed
// answer, a button to press, or a function that gets the live, initialised dialog
// (to fill its controls or press its buttons) and returns the result. A dialog
// with nothing queued for its template fails the running test and ends with
// IDCANCEL; entries still queued at the end fail it too.
class ScriptedDialogs {
public:
    using Script = std::function<int(ModalDialog& dialog)>;

    ScriptedDialogs();
    ~ScriptedDialogs();
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    ScriptedDialogs& expect(int templateId, Script script);
    // The dialog ends with `result`, its controls untouched.
    ScriptedDialogs& expectAnswer(int templateId, int result);
    // Button `buttonId` is pressed; the dialog's own handling decides the result.
    ScriptedDialogs& expectPress(int templateId, int buttonId);

    // Clicks button control `buttonId` of a running dialog and returns the result the
    // dialog ended with. A missing, hidden or disabled button, or a dialog that does
    // not end, fails the running test and gives -1.
    static int press(ModalDialog& dialog, int buttonId);

    // The template ids of the dialogs run so far, in order.
    const QList<int>& shown() const { return m_shown; }
    int pending() const;

private:
    int run(ModalDialog& dialog);

    std::map<int, std::deque<Script>> m_queues;
    QList<int> m_shown;
};

}  // namespace tavik
