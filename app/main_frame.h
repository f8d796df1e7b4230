#pragma once

#include "platform/command_target.h"

#include <QMainWindow>

class QToolBar;
class QToolButton;

namespace tavik {

class CommandRoute;
class CTavikDoc;

// The main window, titled "tavik": the main view fills it, and the command bar at
// the bottom holds one drop-down button, "ツール".
class CMainFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT
public:
    CMainFrame(CTavikDoc& document, CommandRoute& route);

    // Creates the command bar with its menu bar and the accelerators; 0 on success, -1 on failure.
    int OnCreate();

    // The command bar at the bottom; nullptr before OnCreate().
    QToolBar* commandBar() const { return m_commandBar; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void OnToolsButton();

    CTavikDoc& m_document;
    CommandRoute& m_route;
    QToolBar* m_commandBar = nullptr;
    QToolButton* m_toolsButton = nullptr;
};

}  // namespace tavik
