#pragma once

#include <QString>

namespace tavik {

// What an update handler may say about one command just before its menu entry is
// shown: whether it can be chosen, whether it carries a check mark, and a new text.
class CommandUi {
public:
    explicit CommandUi(int id)
        : m_id(id)
    {
    }

    int id() const { return m_id; }

    void setEnabled(bool enabled) { m_enabled = enabled; }
    void setChecked(bool checked) { m_checked = checked; }
    void setText(const QString& text)
    {
        m_text = text;
        m_textSet = true;
    }

    bool isEnabled() const { return m_enabled; }
    bool isChecked() const { return m_checked; }
    // False leaves the entry's own text in place.
    bool hasText() const { return m_textSet; }
    const QString& text() const { return m_text; }

private:
    int m_id = 0;
    bool m_enabled = true;
    bool m_checked = false;
    bool m_textSet = false;
    QString m_text;
};

}  // namespace tavik
