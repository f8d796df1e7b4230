#include "app/main_frame.h"

#include "app/tavik_doc.h"
#include "platform/accelerators.h"
#include "platform/command_route.h"
#include "platform/popup_menu.h"
#include "platform/qt_text.h"
#include "res/resources.h"

#include <QCloseEvent>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace tavik {

namespace {

// The device's screen; the window is not remembered between runs.
constexpr QSize kDeviceScreen(240, 320);

}  // namespace

CMainFrame::CMainFrame(CTavikDoc& document, CommandRoute& route)
    : m_document(document)
    , m_route(route)
{
    setWindowTitle(QStringLiteral("tavik"));
    setObjectName(QStringLiteral("mainFrame"));
    resize(kDeviceScreen);
}

int CMainFrame::OnCreate()
{
    const MenuBar* menuBar = res::FindMenuBar(res::IDR_MAINFRAME);
    if (!menuBar || !res::FindMenu(menuBar->menuId))
        return -1;

    m_commandBar = new QToolBar(this);
    m_commandBar->setObjectName(QStringLiteral("commandBar"));
    m_commandBar->setMovable(false);
    m_commandBar->setFloatable(false);
    m_commandBar->toggleViewAction()->setVisible(false);
    addToolBar(Qt::BottomToolBarArea, m_commandBar);

    m_toolsButton = new QToolButton(m_commandBar);
    m_toolsButton->setObjectName(QStringLiteral("toolsButton"));
    m_toolsButton->setText(ResourceText(res::LoadString(menuBar->labelStringId)));
    // An arrow beside the text shows it is a drop-down; the bar is at the bottom, so it opens upwards.
    m_toolsButton->setArrowType(Qt::UpArrow);
    m_toolsButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolsButton->setAutoRaise(true);
    m_commandBar->addWidget(m_toolsButton);
    connect(m_toolsButton, &QToolButton::clicked, this, [this] { OnToolsButton(); });

    Accelerators::install(*this, res::Accelerators(), m_route);
    return 0;
}

void CMainFrame::OnToolsButton()
{
    const Menu& menu = *res::FindMenu(res::FindMenuBar(res::IDR_MAINFRAME)->menuId);
    // The bar sits at the bottom, so the popup opens upwards from the button.
    QMenu* popup = PopupMenu::showOwnedByFrame(menu, m_toolsButton->mapToGlobal(QPoint(0, 0)), *this, m_route);
    if (popup)
        popup->move(m_toolsButton->mapToGlobal(QPoint(0, -popup->sizeHint().height())));
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_document.CanCloseFrame())
        event->accept();
    else
        event->ignore();
}

}  // namespace tavik
