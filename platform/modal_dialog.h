#pragma once

#include "platform/command_target.h"
#include "platform/dialog_builder.h"
#include "platform/stand_in.h"

#include <QDialog>

#include <optional>

class QPushButton;

namespace tavik {

struct DialogTemplate;

// A modal dialog built from a dialog template: its caption, font, size and
// controls. runModal() initialises it, centres it over its owner and returns the
// id that ended it: 1 (IDOK), 2 (IDCANCEL) or a value the dialog chose.
//
// A click on a button is a command to the dialog: the dialog's handler table gets
// it first; otherwise button 1 runs OnOK() and button 2 OnCancel(), which end the
// dialog with IDOK and IDCANCEL. Escape and the window's close button are IDCANCEL,
// Return presses the default button (IDOK when there is none). A template with the
// caption-OK style and no control 1 gets a small "OK" button at the top right of
// the client area, and there Escape and the close button end the dialog with IDOK.
//
// Every modal run goes through one replaceable function: with a stand-in set,
// runModal() builds and initialises the dialog as usual, shows it and hands the
// live dialog to the stand-in instead of entering an event loop; the stand-in's
// answer is the result.
class ModalDialog : public QDialog, public CommandTarget {
    Q_OBJECT
public:
    explicit ModalDialog(const DialogTemplate& dialog, QWidget* owner = nullptr);

    int runModal();
    // Ends the current run with `result`.
    void endDialog(int result);
    // The result endDialog() was given in the current run, once it has been called.
    std::optional<int> endResult() const { return m_endResult; }

    int templateId() const;

    template <class T = QWidget>
    T* findControl(int id) const
    {
        return DialogBuilder::findControl<T>(*this, id);
    }

    // While set, every runModal() hands the live dialog to the stand-in instead of
    // entering a modal loop.
    static inline StandIn<int(ModalDialog& dialog)> standIn;

    // Moves `window` so that it is centred over the window of `owner` (the active window
    // when null) while that is shown, else over its screen's work area, and keeps it on the
    // screen, as Windows places a dialog. Message boxes are placed the same way.
    static void placeOverOwner(QWidget& window, QWidget* owner);

protected:
    // Runs at the start of each runModal(), before the dialog is shown.
    virtual void OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    void done(int result) override;
    void accept() override;
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void dialogCommand(int id);
    void addCaptionOkButton();
    void placeCaptionOkButton();
    bool hasDefaultButton() const;

    const DialogTemplate* m_template;
    QPushButton* m_captionOk = nullptr;
    std::optional<int> m_endResult;
};

}  // namespace tavik
