#include "platform/dialog_builder.h"

#include "platform/combo_box.h"
#include "platform/dialog_units.h"
#include "platform/owner_draw_button.h"
#include "platform/qt_text.h"
#include "platform/report_list_view.h"
#include "platform/resource_types.h"

#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace tavik {

namespace {

bool Has(const ControlTemplate& control, std::uint32_t style)
{
    return (control.styles & style) != 0;
}

QWidget* CreateButton(const ControlTemplate& control, QWidget& parent)
{
    if (control.kind == ControlKind::OwnerDrawButton) {
        auto* button = new OwnerDrawButton(control.id, &parent);
        button->setText(ResourceText(control.text));
        return button;
    }
    auto* button = new QPushButton(ResourceText(control.text), &parent);
    if (control.kind == ControlKind::DefaultPushButton)
        button->setDefault(true);
    return button;
}

QWidget* CreateStatic(const ControlTemplate& control, QWidget& parent)
{
    auto* label = new QLabel(&parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(ResourceText(control.text));
    label->setWordWrap(true);
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (Has(control, kAlignRight))
        horizontal = Qt::AlignRight;
    else if (Has(control, kAlignCenter))
        horizontal = Qt::AlignHCenter;
    label->setAlignment(horizontal | Qt::AlignTop);
    return label;
}

QWidget* CreateIcon(const ControlTemplate& control, QWidget& parent)
{
    auto* label = new QLabel(&parent);
    const QString path = QStringLiteral(":/icons/%1.png").arg(control.iconId);
    if (QFile::exists(path))
        label->setPixmap(QPixmap(path));
    return label;
}

QWidget* CreateEdit(const ControlTemplate& control, QWidget& parent)
{
    if (Has(control, kMultiLine)) {
        auto* edit = new QPlainTextEdit(&parent);
        edit->setReadOnly(Has(control, kReadOnly));
        if (Has(control, kReadOnly))
            edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        edit->setVerticalScrollBarPolicy(Has(control, kVScroll) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        edit->setFrameShape(Has(control, kBorder) ? QFrame::StyledPanel : QFrame::NoFrame);
        // As in a dialog on the device, Tab moves on to the next control.
        edit->setTabChangesFocus(true);
        return edit;
    }
    auto* edit = new QLineEdit(&parent);
    edit->setReadOnly(Has(control, kReadOnly));
    edit->setFrame(Has(control, kBorder));
    return edit;
}

QWidget* CreateComboBox(const ControlTemplate& control, QWidget& parent)
{
    auto* combo = new ComboBox(Has(control, kSort) ? ComboBox::Order::Sorted : ComboBox::Order::AsAdded, &parent);
    return combo;
}

QWidget* CreateListView(const ControlTemplate& control, QWidget& parent)
{
    auto* list = new ReportListView(&parent);
    list->setSelectionMode(
        Has(control, kSingleSelection) ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
    list->horizontalHeader()->setVisible(Has(control, kReportView));
    list->setFrameShape(Has(control, kBorder) ? QFrame::StyledPanel : QFrame::NoFrame);
    if (Has(control, kShowSelectionAlways)) {
        // The selected row keeps its highlight when the list loses the focus.
        QPalette palette = list->palette();
        for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
            palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
        list->setPalette(palette);
    }
    return list;
}

// The width a push button needs to show its whole text: the text and the style's margins
// around it. An owner-drawn button draws its own face.
int NeededButtonWidth(const QPushButton& button)
{
    if (qobject_cast<const OwnerDrawButton*>(&button) || button.text().isEmpty())
        return 0;
    const QStyle* style = button.style();
    int margins = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button)
        + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
    if (button.autoDefault())
        margins += 2 * style->pixelMetric(QStyle::PM_ButtonDefaultIndicator, nullptr, &button);
    return button.fontMetrics().size(Qt::TextShowMnemonic, button.text()).width() + margins;
}

// A template sizes its buttons for the device's font; in another font a text can be wider. Such
// a button grows to the right, taking along what lies to its right in the same rows, and the
// parent grows to hold every control.
void FitButtons(QWidget& parent, const QList<QWidget*>& controls)
{
    for (QWidget* control : controls) {
        auto* button = qobject_cast<QPushButton*>(control);
        const int growth = button ? NeededButtonWidth(*button) - button->width() : 0;
        if (growth <= 0)
            continue;
        const QRect before = button->geometry();
        for (QWidget* other : controls) {
            const QRect place = other->geometry();
            if (other != button && place.left() > before.right() && place.top() <= before.bottom()
                && place.bottom() >= before.top())
                other->move(place.left() + growth, place.top());
        }
        button->resize(before.width() + growth, before.height());
    }
    int right = parent.width();
    for (const QWidget* control : controls)
        right = std::max(right, control->geometry().right() + 1);
    parent.resize(right, parent.height());
}

QRect ControlGeometry(const ControlTemplate& control, const DialogUnits& units, QWidget& widget)
{
    QRect rect = units.toPixels(control.x, control.y, control.width, control.height);
    if (control.kind == ControlKind::Icon) {
        // An icon control takes the size of its picture.
        const QPixmap picture = static_cast<QLabel&>(widget).pixmap();
        if (!picture.isNull())
            rect.setSize(picture.deviceIndependentSize().toSize());
    } else if (control.kind == ControlKind::ComboBox) {
        // The template's height is that of the dropped list; the closed box is as tall
        // as the font needs.
        const QFontMetrics metrics(widget.font());
        const int closedHeight = metrics.height() + 8;
        const int listRows = (rect.height() - closedHeight) / (metrics.height() + 2);
        static_cast<QComboBox&>(widget).setMaxVisibleItems(std::max(1, listRows));
        rect.setHeight(closedHeight);
    }
    return rect;
}

}  // namespace

QFont DialogBuilder::templateFont(const DialogTemplate& dialog)
{
    QFont font(ResourceText(dialog.fontFace));
    if (dialog.fontPointSize > 0)
        font.setPointSize(dialog.fontPointSize);
    return font;
}

void DialogBuilder::build(const DialogTemplate& dialog, QWidget& parent, const ButtonHandler& onButton)
{
    parent.setFont(templateFont(dialog));
    const DialogUnits units(parent.font());
    parent.resize(units.toPixelsX(dialog.width), units.toPixelsY(dialog.height));
    QList<QWidget*> created;
    for (const ControlTemplate& control : dialog.controls) {
        QWidget* widget = createControl(control, units, parent);
        created.append(widget);
        if (auto* button = qobject_cast<QPushButton*>(widget); button && onButton) {
            const int id = control.id;
            QObject::connect(button, &QPushButton::clicked, &parent, [onButton, id] { onButton(id); });
        }
    }
    FitButtons(parent, created);
    // Where controls overlap, an earlier one lies above a later one, as in a Windows
    // dialog (the menu button's edge over the mark button's, for one).
    for (auto it = created.rbegin(); it != created.rend(); ++it)
        (*it)->raise();
}

QWidget* DialogBuilder::createControl(const ControlTemplate& control, const DialogUnits& units, QWidget& parent)
{
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton:
    case ControlKind::OwnerDrawButton:
        widget = CreateButton(control, parent);
        break;
    case ControlKind::Static:
        widget = CreateStatic(control, parent);
        break;
    case ControlKind::Icon:
        widget = CreateIcon(control, parent);
        break;
    case ControlKind::Edit:
        widget = CreateEdit(control, parent);
        break;
    case ControlKind::ComboBox:
        widget = CreateComboBox(control, parent);
        break;
    case ControlKind::ListView:
        widget = CreateListView(control, parent);
        break;
    }
    if (!widget)  // a kind this builder does not know: an empty place holder
        widget = new QWidget(&parent);
    setControlId(*widget, control.id);
    widget->setGeometry(ControlGeometry(control, units, *widget));
    if (Has(control, kHidden))
        widget->hide();
    return widget;
}

QString DialogBuilder::controlName(int id)
{
    return QStringLiteral("control_%1").arg(id);
}

void DialogBuilder::setControlId(QWidget& control, int id)
{
    // Statics without an id share -1; they are not looked up by name.
    if (id >= 0)
        control.setObjectName(controlName(id));
}

}  // namespace tavik
