#include "view/tavik_view.h"

#include "itemdlg/item_dlg.h"
#include "itemdlg/link_slots.h"
#include "model/comment_text.h"
#include "model/item_operations.h"
#include "model/item_text.h"
#include "model/progress.h"
#include "model/read_aloud_text.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/combo_box.h"
#include "platform/command_route.h"
#include "platform/command_table.h"
#include "platform/command_ui.h"
#include "platform/device_file_system.h"
#include "platform/dialog_units.h"
#include "platform/edit_control.h"
#include "platform/message_box.h"
#include "platform/popup_menu.h"
#include "platform/process_launcher.h"
#include "platform/profile_store.h"
#include "platform/qt_text.h"
#include "platform/tap_and_hold.h"
#include "res/resources.h"
#include "speech/speech_reader.h"
#include "view/checklist_table_model.h"
#include "view/find_bar.h"
#include "view/item_finder.h"
#include "view/progress_counter.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTableView>
#include <QtMath>

#include <algorithm>

namespace tavik {

namespace {

// Where the list popup opens, from the main window's client origin.
constexpr QPoint kListPopupPoint(40, 45);
// Where a double tap pops the comment pane up, in view pixels.
constexpr QRect kCommentPopupRect(15, 150, 195, 140);

// The chooser keeps room for its arrow and the start of a name, in dialog units, and
// stands a little apart from the counter's right-aligned figures.
constexpr int kChooserMinWidth = 40;
constexpr int kCounterGap = 1;
const QString kNothingCounted = QStringLiteral("0/0\n0%");

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

// Today as the rules of the list see it.
Day Today()
{
    const QDate today = Clock::today();
    return {today.year(), today.month(), today.day()};
}

// Lets the item editor refuse an item text that a file line cannot hold as an item:
// one that would be read back as a comment of the item above, or as a marked or
// deleted line.
QString RefuseItemText(const QString& item)
{
    const std::u16string text = OneLineItemText(item.toStdU16String());
    if (ReadsAsCommentLine(text))
        return QStringLiteral("項目の先頭に「!」「！」「.」「．」は使えません。");
    if (LineMark(text))
        return QStringLiteral("項目の先頭に「○<」「×<」「？<」「削<」は使えません。");
    return {};
}

// Starts `application` (a device path) with `commandLine`; nothing waits for the program.
bool StartProcess(const QString& application, const QString& commandLine)
{
    return static_cast<bool>(ProcessLauncher::start(application, commandLine));
}

// The name a launch works on: the selection of `edit` when there is one (cleaned
// when asked), otherwise `name` as given.
QString TakeName(QWidget* edit, const QString& name, bool clean)
{
    if (!edit)
        return name;
    const QString selected = EditControl::selectedText(*edit);
    return clean ? SanitizeText(selected) : selected;
}

// Asks before an item is deleted, through the editor or the Delete key; true for OK.
bool ConfirmDeletion(QWidget* owner)
{
    return MessageBox::show(
               owner, QStringLiteral("データが削除されます"), MessageButtons::OkCancel, MessageIcon::Information)
        == MessageAnswer::Ok;
}

// The commands keys run in the list. Delete, Alt+Up and Alt+Down are the view's own
// (see OnListKey).
struct ListKeyBinding {
    QKeyCombination key;
    int command;
};
constexpr ListKeyBinding kListKeys[] = {
    {Qt::Key_Space, res::IDC_MARK_BUTTON},
    {Qt::Key_Return, res::IDC_EDIT_ITEM},
    {Qt::Key_Enter, res::IDC_EDIT_ITEM},
    {Qt::Key_F2, res::IDC_EDIT_ITEM},
    {Qt::Key_Insert, res::IDC_ADD_ITEM},
    {Qt::ControlModifier | Qt::Key_C, res::ID_ITEM_COPY},
    {Qt::ControlModifier | Qt::Key_X, res::ID_ITEM_CUT},
    {Qt::ControlModifier | Qt::Key_V, res::ID_ITEM_PASTE_APPEND},
    {Qt::ControlModifier | Qt::Key_Z, res::ID_EDIT_UNDO},
    {Qt::ControlModifier | Qt::Key_Y, res::ID_EDIT_REDO},
    {Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z, res::ID_EDIT_REDO},
    {Qt::ControlModifier | Qt::Key_F, res::ID_EDIT_FIND},
};

// The command `key` runs in the list, 0 for none.
int ListKeyCommand(QKeyCombination key)
{
    for (const ListKeyBinding& binding : kListKeys) {
        if (binding.key == key)
            return binding.command;
    }
    return 0;
}

// The key of `event` without the keypad's flag, so that Enter and the keypad's arrows count.
QKeyCombination KeyOf(const QKeyEvent& event)
{
    return QKeyCombination(event.modifiers() & ~Qt::KeypadModifier, Qt::Key(event.key()));
}

bool IsListKey(QKeyCombination key)
{
    return ListKeyCommand(key) != 0 || key == QKeyCombination(Qt::Key_Delete) || key == (Qt::AltModifier | Qt::Key_Up)
        || key == (Qt::AltModifier | Qt::Key_Down);
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
    m_list = findControl<QTableView>(res::IDC_LIST);
    m_counterTemplateRect = m_staticCounter->geometry();
    m_counter = new ProgressCounter(*m_staticCounter);
    // The form's own size keeps every control usable: the buttons, the counter, the
    // chooser and a few rows of the list.
    setMinimumSize(size());
    m_model = new ChecklistTableModel(m_checklist, this);
    m_list->setModel(m_model);
    // Columns take exactly the widths measured for them, however narrow.
    m_list->horizontalHeader()->setMinimumSectionSize(1);
    connect(m_combo, &QComboBox::activated, this, [this] { m_files.OnSelectFileCombo(); });
    // What a screen reader says for each control; the counter's name is its figures.
    m_markButton->setAccessibleName(QStringLiteral("マーク"));
    m_menuButton->setAccessibleName(QStringLiteral("メニュー"));
    m_combo->setAccessibleName(QStringLiteral("ファイル"));
    // On this platform Qt names a chooser by its current entry and reads its label from a
    // label whose buddy it is; the label is never shown.
    auto* chooserLabel = new QLabel(QStringLiteral("ファイル"), this);
    chooserLabel->setBuddy(m_combo);
    chooserLabel->hide();
    m_list->setAccessibleName(QStringLiteral("チェックリスト"));
    m_editPane->setAccessibleName(QStringLiteral("コメント"));
    // A click on a button or the chooser leaves the keyboard in the list; Tab still reaches them.
    for (QWidget* control :
        {static_cast<QWidget*>(m_markButton), static_cast<QWidget*>(m_menuButton), static_cast<QWidget*>(m_combo)})
        control->setFocusPolicy(Qt::TabFocus);
    m_list->installEventFilter(this);
    // The list takes its keys itself (see OnListKey); redo and find also serve the view's
    // other controls (undo comes through the frame's accelerators).
    for (const ListKeyBinding& binding : kListKeys) {
        if (binding.command != res::ID_EDIT_REDO && binding.command != res::ID_EDIT_FIND)
            continue;
        auto* shortcut = new QShortcut(QKeySequence(binding.key), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, id = binding.command] { executeCommand(id); });
    }

    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] { OnListDblClk(); });
    connect(m_list, &QAbstractItemView::clicked, this, [this] { OnListClick(); });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { OnListItemChanged(); });
    for (QWidget* control : {static_cast<QWidget*>(m_list), static_cast<QWidget*>(m_editPane)}) {
        const int id = control == m_list ? res::IDC_LIST : res::IDC_COMMENT_PANE;
        TapAndHold::watch(*control, [this, id](const QPoint&, const QPoint& globalPos) { OnNotify(id, globalPos); });
    }
    // Nothing is counted before a file is read.
    UpdateCounter();
}

CTavikView::~CTavikView()
{
    // The reader's thread stops at once; a reading in progress is left to the speech program.
    if (m_pReader)
        m_pReader->Stop();
    // The list and its model would outlive the checklist (they go with the widget's
    // children): the list must not ask for rows any more, nor the checklist tell the model.
    m_list->setModel(nullptr);
    delete m_model;
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
        {res::IDC_ADD_ITEM, &CTavikView::OnAddItem},
        {res::IDC_EDIT_ITEM, &CTavikView::OnEditItem},
        {res::ID_MOVE_UP, &CTavikView::OnMoveUp},
        {res::ID_MOVE_UP, &CTavikView::OnUpdateMoveUp},
        {res::ID_MOVE_DOWN, &CTavikView::OnMoveDown},
        {res::ID_MOVE_DOWN, &CTavikView::OnUpdateMoveDown},
        {res::ID_SHOW_COMMENT, &CTavikView::OnShowComment},
        {res::ID_SHOW_COMMENT, &CTavikView::OnUpdateShowComment},
        {res::ID_ITEM_COPY, &CTavikView::OnItemCopy},
        {res::ID_ITEM_COPY, &CTavikView::OnUpdateItemCopy},
        {res::ID_ITEM_PASTE_APPEND, &CTavikView::OnItemPasteAppend},
        {res::ID_ITEM_PASTE_APPEND, &CTavikView::OnUpdateItemPasteAppend},
        {res::ID_ITEM_CUT, &CTavikView::OnItemCut},
        {res::ID_ITEM_CUT, &CTavikView::OnUpdateItemCut},
        {res::ID_READ_ALOUD, &CTavikView::OnReadAloud},
        {res::ID_READ_ALOUD, &CTavikView::OnUpdateReadAloud},
        {res::IDC_SAVE_AND_EXIT, &CTavikView::OnSaveAndExit},
        {res::IDC_CLOSE_VIEW, &CTavikView::OnCloseView},
        {res::ID_LIST_OPEN_PAINT, &CTavikView::OnPaneOpenPaint},
        {res::ID_LIST_OPEN_FILE, &CTavikView::OnPaneOpenFile},
        {res::ID_LIST_RUN_PROGRAM, &CTavikView::OnPaneRunProgram},
        {res::ID_POPUP2_COPY, &CTavikView::OnPaneCopy},
        {res::ID_EDIT_COPY, &CTavikView::OnEditCopy},
        {res::ID_EDIT_UNDO, &CTavikView::OnEditUndo},
        {res::ID_EDIT_REDO, &CTavikView::OnEditRedo},
        {res::ID_EDIT_FIND, &CTavikView::OnFind},
    };
    return table;
}

void CTavikView::attachFrame(QWidget& frame, CommandRoute& route, QWidget& bottomBar)
{
    m_frame = &frame;
    m_route = &route;
    m_bottomBar = &bottomBar;
}

void CTavikView::OnInitialUpdate()
{
    if (m_initialUpdateDone)
        return;
    m_initialUpdateDone = true;

    layoutControls();
    ApplyListFont(0);

    m_files.OpenRememberedFile();
    m_files.selectOpenFile();
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
    fitCounter();
    if (m_bCommentPane)
        placeCommentPane();
    else if (m_editPane->isVisible())
        m_editPane->setGeometry(commentPopupRect());
}

void CTavikView::fitCounter()
{
    // The counter starts beside the menu button and reaches down to the list; what its
    // figures need beyond its own width comes from the chooser, down to the chooser's
    // minimum width.
    const DialogUnits units(font());
    const int left = std::max(m_counterTemplateRect.left(), m_menuButton->geometry().right() + 1);
    const int gap = units.toPixelsX(kCounterGap);
    const int right = m_combo->geometry().right() + 1 - units.toPixelsX(kChooserMinWidth) - gap;
    const int top = m_counterTemplateRect.top();
    const int width = m_counter->fit(
        left, top, m_list->geometry().top() - top, m_counterTemplateRect.right() + 1 - gap - left, right - left);
    QRect chooser = m_combo->geometry();
    chooser.setLeft(left + width + gap);
    m_combo->setGeometry(chooser);
}

QRect CTavikView::commentPopupRect() const
{
    // Inside the list, so that neither the controls above it nor the frame's bar below
    // hide the pane or its scroll bar.
    const QSize size = kCommentPopupRect.size().boundedTo(m_rcList.size());
    const int left = std::clamp(kCommentPopupRect.left(), m_rcList.left(), m_rcList.right() + 1 - size.width());
    const int top = std::clamp(kCommentPopupRect.top(), m_rcList.top(), m_rcList.bottom() + 1 - size.height());
    return QRect(QPoint(left, top), size);
}

void CTavikView::placeCommentPane()
{
    // The list keeps the upper half of its rectangle, the pane the lower half below a
    // two-pixel gap. Bottoms here lie just past the last pixel row.
    const int top = m_rcList.top();
    const int bottom = m_rcList.bottom() + 1;
    const int mid = top + (bottom - top) / 2;
    m_list->setGeometry(m_rcList.left(), top, m_rcList.width(), mid - top);
    m_editPane->setGeometry(m_rcList.left(), mid + 2, m_rcList.width(), bottom - (mid + 2));
}

void CTavikView::measureColumns()
{
    // A cell draws its text inside a margin on either side, which the width includes, and
    // places glyphs at fractional positions, so the text's width is rounded up: a whole
    // date shows in every font.
    const QFontMetricsF metrics(m_list->font());
    const int cellMargins = 2 * (m_list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1);
    const auto widthOf = [&](const QString& text) { return qCeil(metrics.horizontalAdvance(text)) + cellMargins; };
    m_list->setColumnWidth(ChecklistTableModel::kMarkColumn, widthOf(QStringLiteral("検査")));
    m_list->setColumnWidth(ChecklistTableModel::kDateColumn, widthOf(QStringLiteral("00/00/00")));
    fitItemColumn();
}

void CTavikView::fitItemColumn()
{
    // The item column takes what the list's client area leaves beside the other two
    // columns and a vertical scroll bar.
    const int clientWidth = m_list->width() - 2 * m_list->frameWidth();
    const int scrollBarWidth = m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
    m_list->setColumnWidth(ChecklistTableModel::kTextColumn,
        clientWidth - scrollBarWidth - m_list->columnWidth(ChecklistTableModel::kDateColumn)
            - m_list->columnWidth(ChecklistTableModel::kMarkColumn));
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
    // With nothing to count the counter says so, rather than keep figures of another list.
    const std::optional<Progress> progress = ComputeProgress(m_checklist);
    m_staticCounter->setText(progress ? ToQString(progress->counterText()) : kNothingCounted);
    fitCounter();
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
    measureColumns();
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
    m_history.record(MarkRow(m_checklist, static_cast<std::size_t>(*row), Today()), false);
    UpdateCounter();
}

void CTavikView::OnClearMarks()
{
    if (MessageBox::show(window(), QStringLiteral("マークと日付をクリアします"), MessageButtons::YesNoDefaultNo,
            MessageIcon::Question)
        != MessageAnswer::Yes)
        return;
    m_history.record(ClearMarks(m_checklist), false);
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
    // The pop-up goes; a split pane opened in the meantime stays.
    if (id == kCommentPopupTimer && !m_bCommentPane) {
        m_editPane->hide();
        m_editPane->setGeometry(0, 0, 1, 1);
    }
}

void CTavikView::OnNotify(int controlId, const QPoint& globalPos)
{
    if (controlId == res::IDC_LIST && m_route)
        m_route->post(res::ID_SHOW_COMMENT);
    if (controlId == res::IDC_COMMENT_PANE)
        PopupMenu::showOwnedBy(*res::FindMenu(res::IDM_POPUP2), globalPos, *this, *this);
}

void CTavikView::OnListDblClk()
{
    if (m_bCommentPane)
        return;
    // The pane pops up over the list with the comment it holds; a second double tap
    // gives it five seconds more.
    m_editPane->setGeometry(commentPopupRect());
    m_editPane->raise();
    m_editPane->show();
    m_timers.setTimer(kCommentPopupTimer, 5000);
}

void CTavikView::OnListClick()
{
    OnListItemChanged();
}

void CTavikView::OnListItemChanged()
{
    const std::optional<int> row = GetSelectedRow();
    if (row && *row != m_nCommentRow)
        showRowComment(*row);
}

void CTavikView::OnSaveAndExit()
{
    if (m_checklist.modified())
        SaveCurrentFile();
    if (m_route)
        m_route->post(res::ID_APP_EXIT);
}

void CTavikView::OnCloseView()
{
    SaveCurrentFile();
    if (m_route)
        m_route->post(res::ID_APP_EXIT);
}

void CTavikView::OnPaneOpenPaint()
{
    OpenInPaintProgram(m_editPane, QString());
}

void CTavikView::OnPaneOpenFile()
{
    OpenAsFileName(m_editPane, QString());
}

void CTavikView::OnPaneRunProgram()
{
    LaunchAsProgram(m_editPane, QString());
}

void CTavikView::OnPaneCopy()
{
    EditControl::copy(*m_editPane);
}

void CTavikView::OnEditCopy()
{
    // Ctrl+C reaches the view through the frame; the pane is the only text of the view to copy from.
    if (m_editPane->hasFocus())
        OnPaneCopy();
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

void CTavikView::checklistReplaced()
{
    // Another checklist: the pane must not go on showing a comment of the last one,
    // and its first selection fills the pane whatever the row. Its history and what was
    // being found belong to the rows just replaced.
    showRowComment(-1);
    m_history.clear();
    // Another file opens at its top; the same file read again after a change on disk
    // keeps its place.
    if (m_checklist.filePath() != m_shownFilePath) {
        m_shownFilePath = m_checklist.filePath();
        m_list->scrollToTop();
    }
}

void CTavikView::startFileSelectTimer()
{
    m_timers.setTimer(kFileSelectTimer, 1000);
}

ComboBox& CTavikView::chooser()
{
    return *m_combo;
}

std::optional<int> CTavikView::selectedRow() const
{
    return GetSelectedRow();
}

QWidget* CTavikView::dialogOwner()
{
    return window();
}

void CTavikView::OnEditItem()
{
    const std::optional<int> selected = GetSelectedRow();
    if (!selected) {
        MessageBox::show(window(), QStringLiteral("編集データを選択してください。"));
        return;
    }
    const int row = *selected;
    const std::size_t index = static_cast<std::size_t>(row);

    CItemDlg dialog;
    dialog.m_pView = this;
    dialog.m_refuseItem = RefuseItemText;
    dialog.m_strItem = ToQString(m_checklist.row(index).text);
    std::u16string shown;
    AppendCommentText(m_checklist.comment(index), CommentMode::Display, shown);
    dialog.m_strComment = ToQString(shown);
    dialog.m_bHideNavigation = false;
    const int result = dialog.runModal();
    if (result == IDCANCEL)
        return;

    std::u16string comment = dialog.m_strComment.toStdU16String();
    TextToComment(comment);
    const std::u16string item = OneLineItemText(dialog.m_strItem.toStdU16String());
    if (item.empty() && !m_checklist.row(index).isDeleted() && !ConfirmDeletion(window()))
        return;
    m_history.record(EditRow(m_checklist, index, item, comment, Today()), true);
    showRowComment(row);
    UpdateCounter();

    const int target = result == CItemDlg::kNext ? row + 1 : result == CItemDlg::kPrevious ? row - 1 : -1;
    if (target >= 0 && target < m_model->rowCount()) {
        selectRow(target);
        // The next editor opens once this handler, and its write, are done.
        QMetaObject::invokeMethod(
            this, [this] { executeCommand(res::IDC_EDIT_ITEM); }, Qt::QueuedConnection);
    }
    SaveCurrentFile();
}

void CTavikView::OnAddItem()
{
    CItemDlg dialog;
    dialog.m_pView = this;
    dialog.m_refuseItem = RefuseItemText;
    dialog.m_bHideNavigation = true;
    const int result = dialog.runModal();
    const std::u16string item = OneLineItemText(dialog.m_strItem.toStdU16String());
    // A comment typed without an item text is dropped.
    if (result != IDOK || item.empty())
        return;

    std::u16string comment = dialog.m_strComment.toStdU16String();
    TextToComment(comment);
    appendItem(item, comment, true);
    SaveCurrentFile();
}

void CTavikView::OnMoveUp()
{
    const std::optional<int> row = GetSelectedRow();
    if (row && *row > 0)
        moveRow(*row, -1, false);
}

void CTavikView::OnMoveDown()
{
    const std::optional<int> row = GetSelectedRow();
    if (row && *row + 1 < m_model->rowCount())
        moveRow(*row, 1, false);
}

void CTavikView::moveRow(int row, int step, bool keepSelected)
{
    m_history.record(MoveRow(m_checklist, static_cast<std::size_t>(row), step), false);
    // The pane's comment moves with its item.
    if (m_nCommentRow == row || m_nCommentRow == row + step)
        m_nCommentRow = m_nCommentRow == row ? row + step : row;
    if (keepSelected)
        selectRow(row + step);
    else
        m_list->selectionModel()->clearSelection();
}

void CTavikView::OnUpdateMoveUp(CommandUi& ui)
{
    const std::optional<int> row = GetSelectedRow();
    ui.setEnabled(row && *row > 0);
}

void CTavikView::OnUpdateMoveDown(CommandUi& ui)
{
    const std::optional<int> row = GetSelectedRow();
    ui.setEnabled(row && *row + 1 < m_model->rowCount());
}

void CTavikView::OnShowComment()
{
    if (!m_bCommentPane) {
        m_bCommentPane = true;
        placeCommentPane();
        m_editPane->show();
        if (const std::optional<int> row = GetSelectedRow())
            m_list->scrollTo(m_model->index(*row, 0));
    } else {
        m_bCommentPane = false;
        m_editPane->hide();
        m_editPane->setGeometry(0, 0, 1, 1);
        m_list->setGeometry(m_rcList);
    }
}

void CTavikView::OnUpdateShowComment(CommandUi& ui)
{
    ui.setChecked(m_bCommentPane);
}

void CTavikView::OnItemCopy()
{
    const std::optional<int> row = GetSelectedRow();
    if (!row)
        return;
    const std::size_t index = static_cast<std::size_t>(*row);
    Clipboard::setText(ToQString(ItemClipboardText(m_checklist.row(index).text, m_checklist.comment(index))));
}

void CTavikView::OnItemPasteAppend()
{
    const PastedItem pasted = ParsePastedItem(Clipboard::text().toStdU16String());
    if (pasted.text.empty())
        return;
    if (const QString refusal = RefuseItemText(ToQString(pasted.text)); !refusal.isEmpty()) {
        MessageBox::show(window(), refusal, MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    appendItem(pasted.text, pasted.comment, false);
}

void CTavikView::appendItem(std::u16string_view text, std::u16string_view comment, bool writesAtOnce)
{
    m_history.record(AppendItem(m_checklist, text, comment), writesAtOnce);
    m_list->scrollTo(m_model->index(m_model->rowCount() - 1, 0));
    showRowComment(m_model->rowCount() - 1);
    UpdateCounter();
}

void CTavikView::OnItemCut()
{
    const std::optional<int> row = GetSelectedRow();
    if (!row || m_checklist.row(static_cast<std::size_t>(*row)).isDeleted())
        return;
    OnItemCopy();
    const auto index = static_cast<std::size_t>(*row);
    m_history.record(CutRow(m_checklist, index, Today()), false);
    // The row keeps its comment.
    showRowComment(*row);
    UpdateCounter();
}

void CTavikView::OnUpdateItemCopy(CommandUi& ui)
{
    ui.setEnabled(GetSelectedRow().has_value());
}

void CTavikView::OnUpdateItemPasteAppend(CommandUi& ui)
{
    ui.setEnabled(Clipboard::hasText());
}

void CTavikView::OnUpdateItemCut(CommandUi& ui)
{
    // A deleted row has nothing left to cut.
    const std::optional<int> row = GetSelectedRow();
    ui.setEnabled(row && !m_checklist.row(static_cast<std::size_t>(*row)).isDeleted());
}

void CTavikView::OnUpdateReadAloud(CommandUi& ui)
{
    // Without the speech program the entry keeps its text and cannot be chosen.
    if (!DeviceFileSystem::status(CSpeechReader::kProgram).exists) {
        ui.setEnabled(false);
        return;
    }
    ui.setEnabled(true);
    ui.setText(GetSelectedRow() ? QStringLiteral("選択項目読上げ") : QStringLiteral("全項目読み上げ"));
}

void CTavikView::OnReadAloud()
{
    if (!m_pReader) {
        m_pReader = std::make_unique<CSpeechReader>();
        m_pReader->Start();
        m_pReader->setOwnerWindow(window());
    }
    std::optional<std::size_t> row;
    if (const std::optional<int> selected = GetSelectedRow())
        row = static_cast<std::size_t>(*selected);
    m_pReader->Speak(ToQString(ReadAloudText(m_checklist, row)));
}

void CTavikView::OnEditUndo()
{
    if (const std::optional<ChecklistHistory::Travelled> step = m_history.undo())
        showTravelled(*step);
}

void CTavikView::OnEditRedo()
{
    if (const std::optional<ChecklistHistory::Travelled> step = m_history.redo())
        showTravelled(*step);
}

void CTavikView::showTravelled(const ChecklistHistory::Travelled& step)
{
    UpdateCounter();
    if (step.row) {
        selectRow(static_cast<int>(*step.row));
        showRowComment(static_cast<int>(*step.row));
    } else {
        // The row the pane names may be gone, or its comment back.
        showRowComment(m_nCommentRow < m_model->rowCount() ? m_nCommentRow : -1);
    }
    if (step.writesAtOnce)
        SaveCurrentFile();
}

bool CTavikView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (!IsListKey(KeyOf(key)))
            return Form::eventFilter(watched, event);
        // The list's keys go to the list, not to the window's shortcuts (Ctrl+C, Ctrl+Z).
        event->accept();
        if (event->type() == QEvent::ShortcutOverride)
            return false;
        OnListKey(key);
        return true;
    }
    return Form::eventFilter(watched, event);
}

void CTavikView::OnListKey(const QKeyEvent& key)
{
    const QKeyCombination combination = KeyOf(key);
    if (combination == QKeyCombination(Qt::Key_Delete)) {
        deleteSelectedRow();
    } else if (combination == (Qt::AltModifier | Qt::Key_Up) || combination == (Qt::AltModifier | Qt::Key_Down)) {
        const int step = combination.key() == Qt::Key_Up ? -1 : 1;
        const std::optional<int> row = GetSelectedRow();
        if (row && *row + step >= 0 && *row + step < m_model->rowCount())
            moveRow(*row, step, true);
    } else {
        runEnabledCommand(ListKeyCommand(combination));
    }
}

void CTavikView::runEnabledCommand(int id)
{
    CommandUi ui(id);
    updateCommand(ui);
    if (ui.isEnabled())
        executeCommand(id);
}

void CTavikView::deleteSelectedRow()
{
    const std::optional<int> row = GetSelectedRow();
    if (!row || m_checklist.row(static_cast<std::size_t>(*row)).isDeleted())
        return;
    if (!ConfirmDeletion(window()))
        return;
    const auto index = static_cast<std::size_t>(*row);
    const std::u16string comment(m_checklist.comment(index));
    m_history.record(EditRow(m_checklist, index, u"", comment, Today()), true);
    showRowComment(*row);
    UpdateCounter();
    SaveCurrentFile();
}

void CTavikView::OnFind()
{
    if (!m_bottomBar)
        return;
    if (!m_findBar) {
        m_finder = std::make_unique<ItemFinder>(m_checklist);
        m_findBar = new FindBar(*m_bottomBar);
        connect(m_findBar, &QLineEdit::textChanged, this, [this](const QString& text) {
            m_finder->setText(text);
            findFrom(static_cast<std::size_t>(GetSelectedRow().value_or(0)), 1);
        });
        connect(m_findBar, &FindBar::nextRequested, this, [this] {
            const std::optional<int> row = GetSelectedRow();
            findFrom(row ? static_cast<std::size_t>(*row) + 1 : 0, 1);
        });
        connect(m_findBar, &FindBar::previousRequested, this, [this] {
            // Before the first row going back means the last.
            const std::optional<int> row = GetSelectedRow();
            findFrom(row && *row > 0 ? static_cast<std::size_t>(*row) - 1 : m_checklist.rowCount(), -1);
        });
        connect(m_findBar, &FindBar::closed, this, [this] { m_list->setFocus(); });
    }
    m_findBar->open();
}

void CTavikView::findFrom(std::size_t start, int direction)
{
    const std::optional<std::size_t> row = m_finder->find(start, direction);
    m_findBar->showFound(row.has_value() || m_findBar->text().isEmpty());
    if (row)
        selectRow(static_cast<int>(*row));
}

void CTavikView::selectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_list->scrollTo(index);
}

void CTavikView::showRowComment(int row)
{
    m_nCommentRow = row;
    std::u16string text;
    if (row >= 0 && static_cast<std::size_t>(row) < m_checklist.rowCount())
        AppendCommentText(m_checklist.comment(static_cast<std::size_t>(row)), CommentMode::Display, text);
    EditControl::setText(*m_editPane, ToQString(text));
}

void CTavikView::OpenInPaintProgram(QWidget* edit, const QString& name)
{
    const QString taken = TakeName(edit, name, false);
    // Only a bitmap is handed over, named as written; for anything else the paint program
    // starts empty.
    const QString commandLine = taken.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive)
        ? QLatin1Char('"') + taken + QLatin1Char('"')
        : QString();
    if (!StartProcess(kPaintProgram, commandLine))
        MessageBox::show(this, QStringLiteral("起動失敗！"));
}

void CTavikView::OpenAsFileName(QWidget* edit, const QString& name)
{
    const QString taken = TakeName(edit, name, true);
    if (taken.isEmpty()) {
        MessageBox::show(this, QStringLiteral("選択範囲をﾌｧｲﾙ名としますので、範囲を選択してください"));
        return;
    }
    // The desktop may say only later, once its opener has ended, that it could not open the name.
    const QString notOpened = QStringLiteral("起動失敗！\n%1").arg(taken);
    const ShellOpenResult opened
        = ProcessLauncher::shellOpen(taken, *this, [this, notOpened] { MessageBox::show(this, notOpened); });
    if (opened)
        return;
    if (opened.reason() == ShellOpenFailure::WouldRun)
        MessageBox::show(this, QStringLiteral("実行されるおそれのあるファイルは開きません。\n%1").arg(taken));
    else
        MessageBox::show(this, notOpened);
}

void CTavikView::LaunchAsProgram(QWidget* edit, const QString& name)
{
    const QString taken = TakeName(edit, name, true);
    if (!taken.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) {
        MessageBox::show(
            this, QStringLiteral("選択範囲をﾌｧｲﾙ名(.exeを含む)として起動しますので、正しく選択してください"));
        return;
    }
    if (!StartProcess(taken, QString()))
        MessageBox::show(this, QStringLiteral("起動失敗！"));
}

}  // namespace tavik
