#include "speech/readout/readout_window.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace tavik::readout {

ReadOutWindow::ReadOutWindow()
    : m_text(new QPlainTextEdit(this))
    , m_readButton(new QPushButton(QStringLiteral("読上げ"), this))
{
    setWindowTitle(QStringLiteral("VELUN-SPEECH"));
    // tavik starts the program while the user works in tavik's own window.
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_readButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    resize(360, 200);

    connect(m_readButton, &QPushButton::clicked, this, &ReadOutWindow::startReading);
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    quit->setContext(Qt::ApplicationShortcut);
    connect(quit, &QShortcut::activated, qApp, &QCoreApplication::quit);
}

QString ReadOutWindow::text() const
{
    return m_text->toPlainText();
}

void ReadOutWindow::setText(const QString& text)
{
    m_text->setPlainText(text);
}

bool ReadOutWindow::isReadOnly() const
{
    return m_text->isReadOnly();
}

void ReadOutWindow::startReading()
{
    if (isReadOnly())
        return;
    m_text->setReadOnly(true);
    m_readButton->setEnabled(false);
    emit readingStarted(text());
}

void ReadOutWindow::endReading()
{
    m_text->setReadOnly(false);
    m_readButton->setEnabled(true);
}

}  // namespace tavik::readout
