#pragma once

#include "model/checklist.h"
#include "platform/form.h"

#include <QRect>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeView;

namespace tavik {

class ComboBox;
class CommandRoute;

// The main screen: a form on the main dialog template with the mark button, the
// menu button "▼", the counter, the folder and file chooser, the list and the
// hidden comment pane. It owns the open checklist.
class CTavikView : public Form {
    Q_OBJECT
public:
    explicit CTavikView(QWidget* parent = nullptr);
    ~CTavikView() override;

    // The frame that owns the view's popups and the route its commands travel.
    void attachFrame(QWidget& frame, CommandRoute& route);

    // The first showing: lays out the list and the chooser. Runs once; later calls do nothing.
    void OnInitialUpdate();

    Checklist& checklist() { return m_checklist; }
    // Writes the checklist back to its file; see ChecklistWriter.
    bool SaveCurrentFile();

    // The list's rectangle after the layout, in view coordinates.
    QRect listRect() const { return m_rcList; }

    QTreeView* list() const { return m_list; }
    ComboBox* fileCombo() const { return m_combo; }
    QLabel* counter() const { return m_staticCounter; }
    QPlainTextEdit* commentPane() const { return m_editPane; }

protected:
    const CommandMap& commandMap() const override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnMenuButton();
    void OnFileOpen();
    void layoutControls();

    Checklist m_checklist;
    QTreeView* m_list = nullptr;
    QLabel* m_staticCounter = nullptr;
    QPlainTextEdit* m_editPane = nullptr;
    ComboBox* m_combo = nullptr;
    QPushButton* m_markButton = nullptr;
    QPushButton* m_menuButton = nullptr;
    QRect m_rcList;
    bool m_initialUpdateDone = false;
    QWidget* m_frame = nullptr;
    CommandRoute* m_route = nullptr;
};

}  // namespace tavik
