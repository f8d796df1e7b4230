#pragma once

#include <QComboBox>

#include <cstdint>

namespace tavik {

// A drop-down list that behaves as the Windows combo box does for the program:
// entries carry a 32-bit value, a sorted box keeps its entries in the order of a
// case-insensitive comparison of their whole texts, and adding entries selects none
// of them. A choice the user makes is reported by QComboBox::activated;
// selecting from the program reports nothing of the kind. The wheel over the closed box
// chooses nothing: a turn meant for the window must not open the next entry.
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    enum class Order { AsAdded, Sorted };

    explicit ComboBox(Order order, QWidget* parent = nullptr);

    Order order() const { return m_order; }

    // Adds an entry (at its sorted place in a sorted box, else at the end) and
    // returns its index.
    int addString(const QString& text, std::uint32_t value = 0);
    std::uint32_t itemValue(int index) const;
    void resetContent();

    // The entry whose whole text is `text`: one written the same way first, else one
    // that differs only in case; -1 when there is none.
    int findStringExact(const QString& text) const;

    // The order a sorted box keeps: negative when `a` comes before `b`.
    static int compareTexts(const QString& a, const QString& b);

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    Order m_order = Order::AsAdded;
};

}  // namespace tavik
