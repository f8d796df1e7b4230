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
    insertItem(index, text, QVariant::fromValue<quint32>(value));
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

int ComboBox::selectString(int startAfter, const QString& prefix)
{
    const int entries = count();
    if (entries == 0)
        return -1;
    if (startAfter < 0 || startAfter >= entries)
        startAfter = -1;
    for (int step = 1; step <= entries; ++step) {
        const int index = (startAfter + step) % entries;
        if (itemText(index).startsWith(prefix, Qt::CaseInsensitive)) {
            setCurrentIndex(index);
            return index;
        }
    }
    return -1;
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
