#pragma once

#include <QString>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace tavik::readout {

// The program's window: the text to read in a multi-line box and a button that reads it.
// While a reading runs the box is read-only (tavik asks for exactly that to know whether
// the reading has ended) and the button is off.
class ReadOutWindow : public QWidget {
    Q_OBJECT
public:
    ReadOutWindow();

    QString text() const;
    // Replaces the box's text, also while a reading runs.
    void setText(const QString& text);
    bool isReadOnly() const;

    // Starts reading the box's text; ignored while a reading runs.
    void startReading();
    // The reading has ended: the box is writable again.
    void endReading();

signals:
    void readingStarted(const QString& text);

private:
    QPlainTextEdit* m_text;
    QPushButton* m_readButton;
};

}  // namespace tavik::readout
