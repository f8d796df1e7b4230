#pragma once

#include "files/checklist_files.h"
#include "files/checklist_host.h"
#include "itemdlg/link_launcher.h"
#include "model/checklist.h"
#include "platform/form.h"
#include "platform/window_timers.h"
#include "view/checklist_history.h"

#include <QRect>

#include <memory>
#include <optional>
#include <string>

class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace tavik {

class CSpeechReader;
class ChecklistTableModel;
class ComboBox;
class CommandRoute;
class CommandUi;
class FindBar;
class ItemFinder;
class ProgressCounter;

// The main screen: a form on the main dialog template with the mark button, the
// menu button "▼", the counter, the folder and file chooser, the list and the
// hidden comment pane. It owns the open checklist.
class CTavikView : public Form, private ChecklistHost, public LinkLauncher {
    Q_OBJECT
public:
    // The view's window timers.
    enum Timer { kFileSelectTimer = 3000, kCommentPopupTimer = 5000 };

    explicit CTavikView(QWidget* parent = nullptr);
    ~CTavikView() override;

    // The frame that owns the view's popups, the route its commands travel, and the bar
    // at the frame's bottom that the find field covers while it is open.
    void attachFrame(QWidget& frame, CommandRoute& route, QWidget& bottomBar);

    // The first showing: lays out the list and its columns in the stored font, then
    // opens the remembered checklist. Runs once; later calls do nothing.
    void OnInitialUpdate();

    Checklist& checklist() { return m_checklist; }
    ChecklistHistory& history() { return m_history; }
    ChecklistFiles& files() { return m_files; }
    // Writes the checklist back to its file; see ChecklistWriter.
    SaveResult SaveCurrentFile();

    // The first selected row of the list, the row every item command works on.
    std::optional<int> GetSelectedRow() const;
    void UpdateCounter() override;
    // Applies the stored list font size plus `step` (tenths of a point), kept between
    // 7 and 15 points, and stores the size.
    void ApplyListFont(int step);

    // Called by the view's window timers when one fires; each runs once.
    void OnTimer(int id);

    // Opening the files a comment names: the selection of `edit`, or `name`.
    void OpenInPaintProgram(QWidget* edit, const QString& name) override;
    void OpenAsFileName(QWidget* edit, const QString& name) override;
    void LaunchAsProgram(QWidget* edit, const QString& name) override;

    QTableView* list() const { return m_list; }
    ChecklistTableModel* listModel() const { return m_model; }
    QLabel* counter() const { return m_staticCounter; }

protected:
    const CommandMap& commandMap() const override;
    void resizeEvent(QResizeEvent* event) override;
    // The keys of the list.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnMenuButton();
    void OnFileOpen();
    void OnMarkButton();
    void OnClearMarks();
    void OnFontSmaller();
    void OnFontStandard();
    void OnFontLarger();
    void OnUpdateFontSmaller(CommandUi& ui);
    void OnUpdateFontLarger(CommandUi& ui);
    void OnSaveFile();
    void OnSaveFileAs();
    void OnCreateEmptyFile();
    void OnAddItem();
    void OnEditItem();
    void OnMoveUp();
    void OnMoveDown();
    void OnUpdateMoveUp(CommandUi& ui);
    void OnUpdateMoveDown(CommandUi& ui);
    void OnShowComment();
    void OnUpdateShowComment(CommandUi& ui);
    // The tap-and-hold gesture on control `controlId` (the list or the comment pane).
    void OnNotify(int controlId, const QPoint& globalPos);
    void OnListDblClk();
    void OnListClick();
    void OnListItemChanged();
    void OnSaveAndExit();
    void OnCloseView();
    void OnPaneOpenPaint();
    void OnPaneOpenFile();
    void OnPaneRunProgram();
    void OnPaneCopy();
    void OnEditCopy();
    void OnItemCopy();
    void OnItemPasteAppend();
    void OnItemCut();
    void OnUpdateItemCopy(CommandUi& ui);
    void OnUpdateItemPasteAppend(CommandUi& ui);
    void OnUpdateItemCut(CommandUi& ui);
    void OnReadAloud();
    void OnUpdateReadAloud(CommandUi& ui);
    void OnEditUndo();
    void OnEditRedo();
    void OnFind();

    // ChecklistHost
    void checklistReplaced() override;
    void startFileSelectTimer() override;
    ComboBox& chooser() override;
    std::optional<int> selectedRow() const override;
    void selectRow(int row) override;
    QWidget* dialogOwner() override;

    void layoutControls();
    // Fits the counter's two lines into its place above the list, taking width from the
    // chooser beside it when the figures need it.
    void fitCounter();
    void placeCommentPane();
    // The double-tap pop-up's place: its own where the list leaves room for it, otherwise
    // moved and shrunk into the list's rectangle.
    QRect commentPopupRect() const;
    // Moves `row` one place up or down (`step` -1 or 1) with its comment; afterwards no
    // row is selected, or the moved one with `keepSelected`.
    void moveRow(int row, int step, bool keepSelected);
    // Adds an item after the last row, brought into sight (the selection stays), and
    // shows its comment; the checklist is changed. `writesAtOnce`: the command writes the
    // file right after (add), which its undo then does too.
    void appendItem(std::u16string_view text, std::u16string_view comment, bool writesAtOnce);
    // One of the list's own keys pressed in the list (see IsListKey).
    void OnListKey(const QKeyEvent& key);
    // Runs command `id` as its key does: not at all while its update handler disables it.
    void runEnabledCommand(int id);
    // The Delete key: the selected row goes as when its text is emptied in the editor.
    void deleteSelectedRow();
    // Shows what a step taken back or done again changed, and writes when the step did.
    void showTravelled(const ChecklistHistory::Travelled& step);
    // Selects the next row holding the find field's text, from `start` in `direction`.
    void findFrom(std::size_t start, int direction);
    // Shows the comment of `row` in the comment pane, which then names that row.
    void showRowComment(int row);
    // Measures the mark and date columns in the list's font and fits the item column.
    void measureColumns();
    void fitItemColumn();

    Checklist m_checklist;
    ChecklistTableModel* m_model = nullptr;
    ChecklistFiles m_files{m_checklist, *this};
    ChecklistHistory m_history{m_checklist};
    WindowTimers m_timers{[this](int id) { OnTimer(id); }};
    QTableView* m_list = nullptr;
    QLabel* m_staticCounter = nullptr;
    ProgressCounter* m_counter = nullptr;
    QPlainTextEdit* m_editPane = nullptr;
    ComboBox* m_combo = nullptr;
    QPushButton* m_markButton = nullptr;
    QPushButton* m_menuButton = nullptr;
    QRect m_rcList;
    // The counter's place in the form: it keeps the top and is never narrower; its width
    // beyond that and its font follow its figures.
    QRect m_counterTemplateRect;
    bool m_initialUpdateDone = false;
    // The comment pane shares the list's rectangle, below the list.
    bool m_bCommentPane = false;
    // The row whose comment the pane shows; -1 while it shows none.
    int m_nCommentRow = -1;
    // The file whose rows the list shows, so that reading it again keeps the list's place.
    std::u16string m_shownFilePath;
    QWidget* m_frame = nullptr;
    CommandRoute* m_route = nullptr;
    QWidget* m_bottomBar = nullptr;
    FindBar* m_findBar = nullptr;
    std::unique_ptr<ItemFinder> m_finder;
    // Made at the first read-aloud, stopped and released with the view.
    std::unique_ptr<CSpeechReader> m_pReader;
};

}  // namespace tavik
