#include "view/tavik_view.h"

#include "model/progress.h"
#include "platform/clock.h"
#include "platform/combo_box.h"
#include "platform/command_route.h"
#include "platform/command_table.h"
#include "platform/message_box.h"
#include "platform/popup_menu.h"
#include "platform/profile_store.h"
#include "platform/qt_text.h"
#include "res/resources.h"
#include "view/checklist_table_model.h"

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTreeView>

namespace tavik {

namespace {

// Where the list popup opens, from the main window's client origin.
constexpr QPoint kListPopupPoint(40, 45);

// The list font: its size in tenths of a point, stored in the profile.
const QString kFontSection = QStringLiteral("ListView");
const QString kFontEntry = QStringLiteral("Font");
constexpr int kStandardFontSize = 90;
constexpr int kSmallestFontSize = 70;
constexpr int kLargestFontSize = 150;
constexpr int kFontStep = 5;

int StoredFontSize()
{
    return ProfileStore::readInt(kFontSection, kFontEntry, kStandardFontSize);
}

// The mark button's cycle: empty, "○", "×", "？", "○", ...; any other mark stays.
std::u16string NextMark(const std::u16string& mark)
{
    if (mark.empty())
        return u"○";
    switch (mark.front()) {
    case u'○':
        return u"×";
    case u'×':
        return u"？";
    case u'？':
        return u"○";
    default:
        return mark;
    }
}

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
    m_model = new ChecklistTableModel(m_checklist, this);
    m_list->setModel(m_model);
    // Columns take exactly the widths measured for them, however narrow.
    m_list->header()->setMinimumSectionSize(1);
    connect(m_combo, &QComboBox::activated, this, [this] { m_files.OnSelectFileCombo(); });
}

CTavikView::~CTavikView()
{
    // The list and its model outlive the checklist (they go with the widget's children):
    // the list must not ask for rows any more.
    m_list->setModel(nullptr);
}

const CommandMap& CTavikView::commandMap() const
{
    static const CommandTable<CTavikView> table{
        {res::IDC_MENU_BUTTON, &CTavikView::OnMenuButton},
        {res::ID_FILE_OPEN, &CTavikView::OnFileOpen},
        {res::IDC_MARK_BUTTON, &CTavikView::OnMarkButton},
        {res::ID_CLEAR_MARKS, &CTavikView::OnClearMarks},
        {res::ID_FONT_SMALLER, &CTavikView::OnFontSmaller},
        {res::ID_FONT_SMALLER, &CTavikView::OnUpdateFontSmaller},
        {res::ID_FONT_STANDARD, &CTavikView::OnFontStandard},
        {res::ID_FONT_LARGER, &CTavikView::OnFontLarger},
        {res::ID_FONT_LARGER, &CTavikView::OnUpdateFontLarger},
        {res::ID_FILE_OVERWRITE, &CTavikView::OnSaveFile},
        {res::ID_LIST_SAVE_AS, &CTavikView::OnSaveFileAs},
        {res::ID_NEW_LIST, &CTavikView::OnCreateEmptyFile},
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
    ApplyListFont(0);
    // The columns are measured once, in the stored font; later font changes keep them.
    // A cell draws its text inside a margin on either side, which the width includes so
    // that a whole date shows.
    const QFontMetrics metrics(m_list->font());
    const int cellMargins = 2 * (m_list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1);
    m_markColumnWidth = metrics.horizontalAdvance(QStringLiteral("検査")) + cellMargins;
    m_dateColumnWidth = metrics.horizontalAdvance(QStringLiteral("00/00/00")) + cellMargins;
    m_list->setColumnWidth(ChecklistTableModel::kMarkColumn, m_markColumnWidth);
    m_list->setColumnWidth(ChecklistTableModel::kDateColumn, m_dateColumnWidth);
    fitItemColumn();

    m_files.OpenRememberedFile();
    m_files.selectInCombo(ChecklistFiles::rememberedFileName());
}

void CTavikView::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    // A resize applies the same rules as the first showing.
    if (m_initialUpdateDone) {
        layoutControls();
        fitItemColumn();
    }
}

void CTavikView::layoutControls()
{
    // The list reaches the right and bottom edges; the chooser the right edge.
    QRect rect = m_list->geometry();
    rect.setRight(width() - 1);
    rect.setBottom(height() - 1);
    m_list->setGeometry(rect);
    m_rcList = rect;

    QRect chooser = m_combo->geometry();
    chooser.setRight(width() - 1);
    m_combo->setGeometry(chooser);
}

void CTavikView::fitItemColumn()
{
    // The item column takes what the list's client area leaves beside the other two
    // columns and a vertical scroll bar.
    const int clientWidth = m_list->width() - 2 * m_list->frameWidth();
    const int scrollBarWidth = m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
    m_list->setColumnWidth(
        ChecklistTableModel::kTextColumn, clientWidth - scrollBarWidth - m_dateColumnWidth - m_markColumnWidth);
}

std::optional<int> CTavikView::GetSelectedRow() const
{
    const QModelIndexList selected = m_list->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return std::nullopt;
    int first = selected.first().row();
    for (const QModelIndex& index : selected)
        first = std::min(first, index.row());
    return first;
}

void CTavikView::UpdateCounter()
{
    // With nothing to count the counter keeps the text it had.
    if (const std::optional<Progress> progress = ComputeProgress(m_checklist))
        m_staticCounter->setText(ToQString(progress->counterText()));
}

void CTavikView::ApplyListFont(int step)
{
    int size = StoredFontSize() + step;
    if (size <= kSmallestFontSize)
        size = kSmallestFontSize;
    if (size >= kLargestFontSize)
        size = kLargestFontSize;
    QFont font(QStringLiteral("MS ゴシック"));
    font.setPointSizeF(size / 10.0);
    m_list->setFont(font);
    m_editPane->setFont(font);
    ProfileStore::writeInt(kFontSection, kFontEntry, size);
}

void CTavikView::OnFontSmaller()
{
    ApplyListFont(-kFontStep);
}

void CTavikView::OnFontStandard()
{
    ProfileStore::writeInt(kFontSection, kFontEntry, kStandardFontSize);
    ApplyListFont(0);
}

void CTavikView::OnFontLarger()
{
    ApplyListFont(kFontStep);
}

void CTavikView::OnUpdateFontSmaller(CommandUi& ui)
{
    ui.setEnabled(StoredFontSize() > kSmallestFontSize);
}

void CTavikView::OnUpdateFontLarger(CommandUi& ui)
{
    ui.setEnabled(StoredFontSize() < kLargestFontSize);
}

void CTavikView::OnMarkButton()
{
    const std::optional<int> row = GetSelectedRow();
    if (!row) {
        MessageBox::show(window(), QStringLiteral("マークしたいデータを選択してください。"));
        return;
    }
    m_model->setMark(*row, NextMark(m_checklist.row(static_cast<std::size_t>(*row)).mark));
    // The row is dated today whether or not its mark changed.
    m_model->setDate(*row, u"YY/MM/DD");
    StampDate(*row);
    m_checklist.setModified(true);
    UpdateCounter();
}

void CTavikView::StampDate(int row)
{
    if (m_checklist.row(static_cast<std::size_t>(row)).date.empty())
        return;
    const QDate today = Clock::today();
    const QString date = QString::asprintf("%02d/%02d/%02d", today.year() % 100, today.month(), today.day());
    m_model->setDate(row, date.toStdU16String());
}

void CTavikView::OnClearMarks()
{
    if (MessageBox::show(
            window(), QStringLiteral("マークと日付をクリアします"), MessageButtons::YesNo, MessageIcon::Question)
        != MessageAnswer::Yes)
        return;
    m_checklist.setModified(true);
    m_model->clearMarks();
    UpdateCounter();
}

void CTavikView::OnSaveFile()
{
    m_files.OnSaveFile();
}

void CTavikView::OnSaveFileAs()
{
    m_files.OnSaveFileAs();
}

void CTavikView::OnCreateEmptyFile()
{
    m_files.OnCreateEmptyFile();
}

void CTavikView::OnTimer(int id)
{
    // Every timer of the view runs once.
    m_timers.killTimer(id);
    if (id == kFileSelectTimer)
        m_files.selectOpenFile();
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
    m_combo->showPopup();
}

SaveResult CTavikView::SaveCurrentFile()
{
    return m_files.SaveCurrentFile();
}

void CTavikView::beginReplaceRows()
{
    m_model->beginReplaceRows();
}

void CTavikView::endReplaceRows()
{
    m_model->endReplaceRows();
}

void CTavikView::startFileSelectTimer()
{
    m_timers.setTimer(kFileSelectTimer, 1000);
}

ComboBox& CTavikView::chooser()
{
    return *m_combo;
}

QWidget* CTavikView::dialogOwner()
{
    return window();
}

}  // namespace tavik
