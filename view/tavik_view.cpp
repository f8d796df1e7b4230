#include "view/tavik_view.h"

#include "files/checklist_writer.h"
#include "platform/combo_box.h"
#include "platform/command_route.h"
#include "platform/command_table.h"
#include "platform/popup_menu.h"
#include "res/resources.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTreeView>

namespace tavik {

namespace {

// Where the list popup opens, from the main window's client origin.
constexpr QPoint kListPopupPoint(40, 45);

}  // namespace

CTavikView::CTavikView(QWidget* parent)
    : Form(*res::FindDialog(res::IDD_TAVIK_FORM), parent)
{
    m_staticCounter = findControl<QLabel>(res::IDC_COUNTER);
    m_editPane = findControl<QPlainTextEdit>(res::IDC_COMMENT_PANE);
    m_combo = findControl<ComboBox>(res::IDC_FILE_COMBO);
    m_markButton = findControl<QPushButton>(res::IDC_MARK_BUTTON);
    m_menuButton = findControl<QPushButton>(res::IDC_MENU_BUTTON);
    m_list = findControl<QTreeView>(res::IDC_LIST);
}

CTavikView::~CTavikView() = default;

const CommandMap& CTavikView::commandMap() const
{
    static const CommandTable<CTavikView> table{
        {res::IDC_MENU_BUTTON, &CTavikView::OnMenuButton},
        {res::ID_FILE_OPEN, &CTavikView::OnFileOpen},
    };
    return table;
}

void CTavikView::attachFrame(QWidget& frame, CommandRoute& route)
{
    m_frame = &frame;
    m_route = &route;
}

void CTavikView::OnInitialUpdate()
{
    if (m_initialUpdateDone)
        return;
    m_initialUpdateDone = true;
    layoutControls();
}

void CTavikView::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    // A resize applies the same rules as the first showing.
    if (m_initialUpdateDone)
        layoutControls();
}

void CTavikView::layoutControls()
{
    // The list reaches the right and bottom edges; the chooser the right edge.
    if (m_list) {
        QRect rect = m_list->geometry();
        rect.setRight(width() - 1);
        rect.setBottom(height() - 1);
        m_list->setGeometry(rect);
        m_rcList = rect;
    }
    if (m_combo) {
        QRect rect = m_combo->geometry();
        rect.setRight(width() - 1);
        m_combo->setGeometry(rect);
    }
}

void CTavikView::OnMenuButton()
{
    if (!m_frame || !m_route)
        return;
    PopupMenu::showOwnedByFrame(*res::FindMenu(res::IDM_LIST_POPUP),
        PopupMenu::programPointToGlobal(*m_frame, kListPopupPoint), *m_frame, *m_route);
}

void CTavikView::OnFileOpen()
{
    if (m_combo)
        m_combo->showPopup();
}

bool CTavikView::SaveCurrentFile()
{
    return ChecklistWriter::SaveCurrentFile(m_checklist, window()) != SaveResult::Failed;
}

}  // namespace tavik
