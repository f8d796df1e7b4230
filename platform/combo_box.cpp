#include "platform/combo_box.h"

#include <QWheelEvent>

namespace tavik {

namespace {

constexpr int kValueRole = Qt::UserRole;

}  // namespace

ComboBox::ComboBox(Order order, QWidget* parent)
    : QComboBox(parent)
    , m_order(order)
{
    setEditable(false);
}

int ComboBox::addString(const QString& text, std::uint32_t value)
{
    int index = count();
    if (m_order == Order::Sorted) {
        // After any entries that compare equal, so equal texts keep the order they came in.
        int low = 0;
        int high = count();
        while (low < high) {
            const int middle = (low + high) / 2;
            if (compareTexts(itemText(middle), text) <= 0)
                low = middle + 1;
            else
                high = middle;
        }
        index = low;
    }
    // QComboBox selects the first entry put into an empty box; the program selects its entries itself.
    const bool wasEmpty = count() == 0;
    insertItem(index, text, QVariant::fromValue<quint32>(value));
    if (wasEmpty)
        setCurrentIndex(-1);
    return index;
}

std::uint32_t ComboBox::itemValue(int index) const
{
    return itemData(index, kValueRole).value<quint32>();
}

void ComboBox::resetContent()
{
    clear();
}

int ComboBox::findStringExact(const QString& text) const
{
    const int same = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return same >= 0 ? same : findText(text, Qt::MatchFixedString);
}

int ComboBox::compareTexts(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}

void ComboBox::wheelEvent(QWheelEvent* event)
{
    // Left to the parent, as over any other control that does not scroll; the open list
    // is a widget of its own and keeps scrolling with the wheel.
    event->ignore();
}

}  // namespace tavik
