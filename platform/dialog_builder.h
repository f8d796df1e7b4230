#pragma once

#include "platform/dialog_units.h"

#include <QFont>
#include <QString>
#include <QWidget>

#include <functional>

namespace tavik {

struct ControlTemplate;
struct DialogTemplate;

// Builds Qt widgets from a dialog template: the template's font, its size and each
// control at its place, converted from dialog units. Controls are children of the
// widget they are built into, in template order (which is also their tab order);
// where they overlap, an earlier control lies above a later one, as on Windows.
// They are found by their ids. The kinds:
//   push button, default push button   QPushButton (the default one is the dialog's default)
//   owner-drawn button                 OwnerDrawButton
//   static                             QLabel, plain text ("&" shown as it is, "\n" breaks the line)
//   icon                               QLabel with the picture ":/icons/<iconId>.png", at its own size
//   edit                               QLineEdit, or QPlainTextEdit with the multi-line style
//   combo box                          ComboBox, sorted with the sort style
//   list view                          ReportListView (a QTableView) in report style
class DialogBuilder {
public:
    using ButtonHandler = std::function<void(int id)>;

    // The template's font. Its family names ("ＭＳ Ｐゴシック", "MS ゴシック", "System")
    // resolve through the font substitutions the program registers at start.
    static QFont templateFont(const DialogTemplate& dialog);

    // Gives `parent` the template's font and size and creates its controls; a click
    // on any button control calls `onButton` with its id. A push button too narrow for
    // its text in this font is widened, and `parent` with it.
    static void build(const DialogTemplate& dialog, QWidget& parent, const ButtonHandler& onButton);

    // Creates one control as a child of `parent`, placed by `units`.
    static QWidget* createControl(const ControlTemplate& control, const DialogUnits& units, QWidget& parent);

    template <class T = QWidget>
    static T* findControl(const QWidget& parent, int id)
    {
        return parent.findChild<T*>(controlName(id), Qt::FindDirectChildrenOnly);
    }

    // "control_<id>": the object name of control `id`, for tests and end-to-end scripts.
    static QString controlName(int id);
    // Names `control` as control `id`, so that findControl() finds it.
    static void setControlId(QWidget& control, int id);
};

}  // namespace tavik
