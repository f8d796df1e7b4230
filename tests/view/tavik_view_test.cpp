#include "view/tavik_view.h"

#include "files/checklist_files.h"
#include "model/checklist_file.h"
#include "model/item_operations.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/codepage/cp932_codec.h"
#include "platform/combo_box.h"
#include "platform/command_route.h"
#include "platform/command_ui.h"
#include "platform/edit_control.h"
#include "platform/profile_store.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_message_boxes.h"
#include "tests/support/temporary_device_root.h"
#include "view/checklist_table_model.h"
#include "view/find_bar.h"
#include "view/item_finder.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <random>

namespace tavik {
namespace {

// Each row's cells as the model gives them.
QList<QStringList> Cells(const QAbstractItemModel& model)
{
    QList<QStringList> rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows << QStringList{model.index(row, 0).data().toString(), model.index(row, 1).data().toString(),
            model.index(row, 2).data().toString()};
    return rows;
}

// Rows as "mark|text|date", apart by blanks.
std::string Text(const QList<QStringList>& rows)
{
    QStringList joined;
    for (const QStringList& row : rows)
        joined << row.join(QLatin1Char('|'));
    return joined.join(QLatin1Char(' ')).toStdString();
}

// Random commands, undo and redo on a checklist: Qt's model tester checks every signal of the
// list's model, and a list that reads a cell again only where the signals say that it changed
// shows the checklist's rows.
TEST(ChecklistTableModel, RandomCommandsUndoAndRedo_ReachTheListAsTheCellsTheyChanged)
{
    Checklist checklist;
    ChecklistTableModel model(checklist);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QList<QStringList> shown;
    const auto readAll = [&] { shown = Cells(model); };
    int resetsOpen = 0;
    QObject::connect(&model, &QAbstractItemModel::modelAboutToBeReset, [&] { ++resetsOpen; });
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { --resetsOpen; });
    QObject::connect(&model, &QAbstractItemModel::modelReset, readAll);
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, readAll);
    QObject::connect(&model, &QAbstractItemModel::rowsRemoved, readAll);
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&](QModelIndex from, QModelIndex to) {
        for (int row = from.row(); row <= to.row(); ++row)
            for (int column = from.column(); column <= to.column(); ++column)
                shown[row][column] = model.index(row, column).data().toString();
    });
    ChecklistHistory history(checklist);
    ReadChecklist("a\r\n ca\r\n\x81\x9b<03/01/01>b\r\nc\r\n", checklist);
    std::mt19937 random(7);
    const auto pick = [&random](std::size_t count) { return static_cast<std::size_t>(random() % count); };
    const std::function<void(std::size_t, Day)> commands[] = {
        [&](std::size_t row, Day today) { history.record(MarkRow(checklist, row, today), false); },
        [&](std::size_t row, Day today) {
            const std::u16string_view texts[] = {u"", u"x", u"y"};
            history.record(EditRow(checklist, row, texts[pick(3)], u"note", today), true);
        },
        [&](std::size_t row, Day today) { history.record(CutRow(checklist, row, today), false); },
        [&](std::size_t, Day) { history.record(AppendItem(checklist, u"new", u"c"), false); },
        [&](std::size_t row, Day) { history.record(MoveRow(checklist, row, pick(2) ? 1 : -1), false); },
        [&](std::size_t, Day) { history.record(ClearMarks(checklist), false); },
        [&](std::size_t, Day) { history.undo(); },
        [&](std::size_t, Day) { history.redo(); },
    };
    for (int step = 0; step < 500; ++step) {
        const std::size_t row = pick(checklist.rowCount());
        const std::size_t command = pick(std::size(commands));
        commands[command](row, Day{2003, 3, 1 + step % 28});
        ASSERT_EQ(resetsOpen, 0) << "step " << step;
        ASSERT_EQ(Text(shown), Text(Cells(model))) << "step " << step << ", command " << command << " on row " << row;
    }
}

// The real main screen on a device root of its own, on 2003-03-05, with every message box and
// dialog answered from the test's script (an unexpected one fails the test).
class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        remember(QString());
        ProfileStore::writeInt(QStringLiteral("ListView"), QStringLiteral("Font"), 90);
        Clock::standIn.set([] { return QDate(2003, 3, 5); });
    }
    void TearDown() override
    {
        if (m_view)
            m_view->checklist().setModified(false);
        m_view.reset();
        Clock::standIn.set(nullptr);
    }

    static void remember(const QString& fileName) { ChecklistFiles::rememberLocation({QString(), fileName}); }
    static QByteArray Cp932(std::u16string_view text) { return QByteArray::fromStdString(Cp932Codec::encode(text)); }
    void write(const QString& relative, std::u16string_view text) const { m_root.writeFile(relative, Cp932(text)); }
    QByteArray fileBytes(const QString& relative = QStringLiteral("list.lst")) const
    {
        return m_root.readFile(relative).value_or("(missing)");
    }

    // Shows the view for the first time, as the program does at start, on list.lst holding `text`.
    void open(std::u16string_view text)
    {
        write(QStringLiteral("list.lst"), text);
        remember(QStringLiteral("list.lst"));
        open();
    }
    void open()
    {
        m_view = std::make_unique<CTavikView>();
        m_view->resize(240, 296);
        m_view->show();
        m_view->OnInitialUpdate();
        m_view->list()->setFocus();
    }

    ComboBox* combo() const { return m_view->findControl<ComboBox>(res::IDC_FILE_COMBO); }
    QStringList comboEntries() const
    {
        QStringList entries;
        for (int i = 0; i < combo()->count(); ++i)
            entries << combo()->itemText(i);
        return entries;
    }
    // The user picks the chooser's entry `text`.
    void choose(const QString& text)
    {
        const int index = combo()->findText(text);
        ASSERT_GE(index, 0) << "no entry " << text.toStdString();
        combo()->setCurrentIndex(index);
        emit combo()->activated(index);
    }

    void selectRow(int row) { m_view->list()->setCurrentIndex(m_view->listModel()->index(row, 0)); }
    std::optional<int> selected() const { return m_view->GetSelectedRow(); }
    void key(QKeyCombination key) { QTest::keyClick(m_view->list(), key.key(), key.keyboardModifiers()); }
    void run(int command) { m_view->executeCommand(command); }
    bool enabled(int command) const
    {
        CommandUi ui(command);
        m_view->updateCommand(ui);
        return ui.isEnabled();
    }
    // The rows as the list shows them, then the counter's first line.
    std::string rows() const
    {
        return Text(Cells(*m_view->listModel())) + " : " + m_view->counter()->text().section('\n', 0, 0).toStdString();
    }
    QString pane() const { return m_view->findControl<QPlainTextEdit>(res::IDC_COMMENT_PANE)->toPlainText(); }
    bool modified() const { return m_view->checklist().modified(); }

    // The next item editor gets `item` and `comment` typed and `button` pressed.
    void typeInEditor(const QString& item, const QString& comment = QString(), int button = IDOK)
    {
        m_dialogs.expect(res::IDD_ITEM, [=](ModalDialog& dialog) {
            EditControl::setText(*dialog.findControl(res::IDC_ITEM_TEXT), item);
            EditControl::setText(*dialog.findControl(res::IDC_COMMENT), comment);
            return ScriptedDialogs::press(dialog, button);
        });
    }

    TemporaryDeviceRoot m_root;
    ScriptedMessageBoxes m_boxes;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<CTavikView> m_view;
};

const QString kWritten = QStringLiteral("書き込みました");
const QString kDeletion = QStringLiteral("データが削除されます");

TEST_F(ViewTest, MarkAndClearMarks_ShowTheCount_AndClearingAsksFirst)
{
    open(u"○<02/12/23>牛乳\r\n卵\r\n");
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("マークしたいデータを選択してください。"));
    run(res::IDC_MARK_BUTTON);
    selectRow(1);
    run(res::IDC_MARK_BUTTON);
    EXPECT_EQ(m_view->counter()->text(), QStringLiteral("2/2\n100%"));
    m_boxes.expect(MessageAnswer::No, QStringLiteral("マークと日付をクリアします"));
    run(res::ID_CLEAR_MARKS);
    EXPECT_EQ(m_boxes.shown().last().buttons, MessageButtons::YesNoDefaultNo);
    EXPECT_EQ(rows(), "○|牛乳|02/12/23 ○|卵|03/03/05 : 2/2");
    m_boxes.expect(MessageAnswer::Yes);
    run(res::ID_CLEAR_MARKS);
    EXPECT_EQ(rows(), "|牛乳| |卵| : 0/2");
}

// Each key reaches its command (a disabled one it leaves alone), and each step goes back with
// Ctrl+Z and comes again with Ctrl+Y: the rows, the counter and the selected row. A step that wrote
// at once writes its undo too, so the file is again what it was, byte for byte.
TEST_F(ViewTest, KeysRunTheirCommands_AndEveryStepUndoesAndRedoes)
{
    open(u"牛乳\r\n 2 l\r\n○<02/12/23>卵\r\nパン\r\n");
    const std::string start = rows();
    ASSERT_EQ(m_view->SaveCurrentFile(), SaveResult::Written);
    const QByteArray original = fileBytes();
    const auto undoRedo = [&](const std::string& done, std::optional<int> selectedAfterUndo) {
        SCOPED_TRACE(done);
        EXPECT_EQ(rows(), done);
        key(Qt::ControlModifier | Qt::Key_Z);
        EXPECT_EQ(rows(), start);
        EXPECT_EQ(selected(), selectedAfterUndo);
        key(Qt::ControlModifier | Qt::Key_Y);
        EXPECT_EQ(rows(), done);
        key(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z);  // nothing left to redo
        key(Qt::ControlModifier | Qt::Key_Z);
        EXPECT_EQ(rows(), start);
    };
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("編集データを選択してください。"));
    key(Qt::Key_F2);
    key(Qt::ControlModifier | Qt::Key_X);  // nothing selected: disabled

    selectRow(0);
    key(Qt::Key_Space);
    undoRedo("○|牛乳|03/03/05 ○|卵|02/12/23 |パン| : 2/3", 0);
    EXPECT_FALSE(modified()) << "back where the file is";

    m_boxes.expect(MessageAnswer::Cancel, kDeletion).expect(MessageAnswer::Ok, kDeletion);
    key(Qt::Key_Delete);
    EXPECT_EQ(fileBytes(), original);
    key(Qt::Key_Delete);
    EXPECT_EQ(
        fileBytes(), Cp932(u"\r\n 削除＝＞\r\n 牛乳<>\r\n 2 l\r\n ＜＝削除\r\n\r\n\r\n○<02/12/23>卵\r\nパン\r\n"));
    key(Qt::ControlModifier | Qt::Key_Z);
    EXPECT_EQ(fileBytes(), original);
    EXPECT_EQ(pane(), QStringLiteral("2 l"));

    selectRow(1);
    key(Qt::ControlModifier | Qt::Key_X);
    EXPECT_EQ(Clipboard::text(), QStringLiteral("卵\r\n"));
    undoRedo("|牛乳| 削||03/03/05 |パン| : 0/2", 1);
    key(Qt::ControlModifier | Qt::Key_V);
    undoRedo("|牛乳| ○|卵|02/12/23 |パン| |卵| : 1/4", 1);
    selectRow(1);
    key(Qt::AltModifier | Qt::Key_Down);
    EXPECT_EQ(selected(), 2) << "the moved row stays selected";
    undoRedo("|牛乳| |パン| ○|卵|02/12/23 : 1/3", 1);
    typeInEditor(QStringLiteral("バター"));
    key(Qt::Key_Insert);
    EXPECT_TRUE(fileBytes().endsWith(Cp932(u"バター\r\n")));
    undoRedo("|牛乳| ○|卵|02/12/23 |パン| |バター| : 1/4", 1);
    EXPECT_EQ(fileBytes(), original);
}

// `modified` tells whether the file holds what the screen shows, across a save; another file
// starts a history of its own.
TEST_F(ViewTest, Undo_TellsModifiedByWhatTheFileHolds_AndEndsWithTheFile)
{
    write(QStringLiteral("b.lst"), u"x\r\n");
    open(u"a\r\n");
    selectRow(0);
    key(Qt::Key_Space);
    ASSERT_EQ(m_view->SaveCurrentFile(), SaveResult::Written);
    key(Qt::ControlModifier | Qt::Key_Z);
    EXPECT_TRUE(modified()) << "the file holds the mark";
    key(Qt::ControlModifier | Qt::Key_Y);
    EXPECT_FALSE(modified());
    choose(QStringLiteral(" b.lst"));
    key(Qt::ControlModifier | Qt::Key_Z);
    EXPECT_EQ(rows(), "|x| : 0/1");
}

// The editor's Cancel, and Cancel to the question before an emptied item goes, change nothing;
// OK writes at once, re-dating a dated row, and "次" opens the editor on the next row.
TEST_F(ViewTest, Editor_WritesAtOnce_AndAnEmptiedItemGoesOnlyAfterAsking)
{
    open(u"○<02/12/23>牛乳\r\n 2 l\r\n卵\r\n");
    const QByteArray read = fileBytes();
    selectRow(0);
    QStringList seen;
    const auto look = [&seen](int button) {
        return [&seen, button](ModalDialog& dialog) {
            seen << EditControl::text(*dialog.findControl(res::IDC_ITEM_TEXT))
                 << EditControl::text(*dialog.findControl(res::IDC_COMMENT));
            return ScriptedDialogs::press(dialog, button);
        };
    };
    m_dialogs.expect(res::IDD_ITEM, look(IDCANCEL));
    typeInEditor(QString(), QStringLiteral("2 l"), res::IDC_NEXT);
    m_boxes.expect(MessageAnswer::Cancel, kDeletion);
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    EXPECT_EQ(fileBytes(), read);
    EXPECT_FALSE(modified());

    typeInEditor(QStringLiteral("牛乳2"), QStringLiteral("2 l"), res::IDC_NEXT);
    m_dialogs.expect(res::IDD_ITEM, look(IDOK));  // an undated row stays undated
    key(Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(seen, (QStringList{"牛乳", "2 l", "卵", ""}));
    EXPECT_EQ(fileBytes(), Cp932(u"\r\n○<03/03/05>牛乳2\r\n 2 l\r\n卵\r\n"));
    EXPECT_EQ(selected(), 1);
}

// At either end a move is disabled and does nothing: the row stays selected. A move takes the
// pane's comment along when the pane shows either of the two rows, and waits for the next write.
TEST_F(ViewTest, Moves_StopAtTheEnds_CarryThePanesComment_AndWaitForTheNextWrite)
{
    open(u"a\r\n ca\r\nb\r\n cb\r\n");
    const QByteArray read = fileBytes();
    for (const auto& [row, command] : {std::pair(0, res::ID_MOVE_UP), std::pair(1, res::ID_MOVE_DOWN)}) {
        selectRow(row);
        EXPECT_FALSE(enabled(command)) << row;
        run(command);
        EXPECT_EQ(selected(), row);
    }
    // A pasted item shows its comment while row 1 stays selected; then row 1 trades places with it.
    Clipboard::setText(QStringLiteral("c\r\n cc\r\n"));
    run(res::ID_ITEM_PASTE_APPEND);
    run(res::ID_MOVE_DOWN);
    EXPECT_EQ(selected(), std::nullopt);
    EXPECT_EQ(rows(), "|a| |c| |b| : 0/3");
    selectRow(2);
    EXPECT_EQ(pane(), QStringLiteral("cb"));
    EXPECT_EQ(fileBytes(), read);
    ASSERT_EQ(m_view->SaveCurrentFile(), SaveResult::Written);
    EXPECT_EQ(fileBytes(), Cp932(u"\r\na\r\n ca\r\nc\r\n cc\r\nb\r\n cb\r\n"));
}

TEST_F(ViewTest, ClipboardCommands_NeedARowOrText_AndPasteRefusesWhatCannotBeAnItem)
{
    open(u"牛乳\r\n 2 l\r\n");
    QGuiApplication::clipboard()->clear();
    for (const int command : {res::ID_ITEM_COPY, res::ID_ITEM_CUT, res::ID_ITEM_PASTE_APPEND})
        EXPECT_FALSE(enabled(command)) << command;
    selectRow(0);
    run(res::ID_ITEM_COPY);
    EXPECT_EQ(Clipboard::text(), QStringLiteral("牛乳\r\n 2 l\r\n"));
    run(res::ID_ITEM_CUT);
    EXPECT_FALSE(enabled(res::ID_ITEM_CUT)) << "a deleted row has nothing to cut";
    const std::pair<const char16_t*, const char16_t*> refused[]
        = {{u"!注意\r\n", u"項目の先頭に「!」「！」「.」「．」は使えません。"},
            {u"削<メモ>\r\n", u"項目の先頭に「○<」「×<」「？<」「削<」は使えません。"}};
    for (const auto& [text, message] : refused) {
        Clipboard::setText(QString::fromUtf16(text));
        m_boxes.expect(MessageAnswer::Ok, QString::fromUtf16(message));
        run(res::ID_ITEM_PASTE_APPEND);
    }
    EXPECT_EQ(rows(), "削|| : 0/0");
}

// The box of what is drawn over the background (the colour of the bottom-left pixel).
QRect InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, image.height() - 1))
                box |= QRect(x, y, 1, 1);
    return box;
}

// Both lines whole, with background all round, beside the chooser and above the list: in the
// default and the narrowest window, in the form's font and in one twice as large, too tall for the
// counter's place, which the figures shrink from until they fit.
TEST_F(ViewTest, Counter_ShowsItsFiguresWhole)
{
    open(u"a\r\n");
    QLabel* counter = m_view->counter();
    const QFont formFont = counter->font();
    QFont large = formFont;
    large.setPixelSize(2 * QFontInfo(formFont).pixelSize());
    for (const int rowCount : {1, 3, 100000}) {
        m_root.writeFile(QStringLiteral("list.lst"),
            QByteArray("\x81\x9b<03/03/05>a\r\n") + QByteArray("a\r\n").repeated(rowCount - 1));
        m_view->files().LoadCurrentFile();
        for (const QSize size : {QSize(240, 296), m_view->minimumSize()}) {
            for (const QFont& font : {formFont, large}) {
                counter->setFont(font);
                m_view->resize(size);
                m_view->UpdateCounter();
                SCOPED_TRACE(counter->text().toStdString() + " at " + std::to_string(size.width()) + ", "
                    + std::to_string(QFontInfo(font).pixelSize()) + " px");
                const QImage drawn = counter->grab().toImage();
                EXPECT_TRUE(drawn.rect().adjusted(1, 1, -1, -1).contains(InkBox(drawn)));
                EXPECT_FALSE(counter->geometry().intersects(m_view->list()->geometry()));
                EXPECT_LT(counter->geometry().right(), combo()->geometry().left());
            }
        }
    }
}

// Each font command steps the list's font within its limits, and a date shows whole in every size.
TEST_F(ViewTest, FontCommands_StepWithinTheirLimits_AndADateShowsWholeInEverySize)
{
    ProfileStore::writeInt(QStringLiteral("ListView"), QStringLiteral("Font"), 70);
    open(u"○<00/00/00>項目\r\n");
    QTableView* list = m_view->list();
    EXPECT_FALSE(enabled(res::ID_FONT_SMALLER));
    for (int size = 70; size <= 150; size += 5) {
        if (size > 70)
            run(res::ID_FONT_LARGER);
        EXPECT_EQ(list->font().pointSizeF(), size / 10.0);
        // The date's cell looks the same when its column is wider.
        const QRect cell = list->visualRect(m_view->listModel()->index(0, ChecklistTableModel::kDateColumn));
        const QImage fitted = list->viewport()->grab(cell).toImage();
        const int width = list->columnWidth(ChecklistTableModel::kDateColumn);
        list->setColumnWidth(ChecklistTableModel::kDateColumn, width + 40);
        EXPECT_EQ(list->viewport()->grab(cell).toImage(), fitted) << size;
        list->setColumnWidth(ChecklistTableModel::kDateColumn, width);
    }
    EXPECT_FALSE(enabled(res::ID_FONT_LARGER));
    run(res::ID_FONT_STANDARD);
    EXPECT_EQ(list->font().pointSizeF(), 9.0);
}

// Ctrl+F: typing selects the first row at or after the selected one whose text or comment holds
// the text, going round past the end; Return and Shift+Return go on; the field shows when nothing
// matches; Escape closes it.
TEST_F(ViewTest, Find_SelectsMatchingRowsGoingRound_AndShowsWhenNothingMatches)
{
    open(u"ミルク\r\nパン\r\n 牛乳と\r\nみるく\r\n");
    QWidget frame;
    QWidget bar(&frame);
    frame.show();
    CommandRoute route;
    m_view->attachFrame(frame, route, bar);
    selectRow(1);
    key(Qt::ControlModifier | Qt::Key_F);
    FindBar* find = frame.findChild<FindBar*>();
    ASSERT_TRUE(find && find->isVisible());
    const QColor normal = find->palette().color(QPalette::Base);
    find->insert(QStringLiteral("ミル"));
    EXPECT_EQ(selected(), 2) << "hiragana for katakana";
    QTest::keyClick(find, Qt::Key_Return);
    EXPECT_EQ(selected(), 0);
    QTest::keyClick(find, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(selected(), 2);
    find->clear();
    find->insert(QStringLiteral("牛乳"));
    EXPECT_EQ(selected(), 1) << "round past the end, in a comment";
    EXPECT_EQ(find->palette().color(QPalette::Base), normal);
    find->insert(QStringLiteral("x"));
    EXPECT_EQ(selected(), 1);
    EXPECT_NE(find->palette().color(QPalette::Base), normal);
    QTest::keyClick(find, Qt::Key_Escape);
    EXPECT_FALSE(find->isVisible());
}

// Each character alone matches what Qt's normalisation and case folding make of it, with hiragana
// as katakana; kana that differ in their marks stay apart.
TEST(ItemFinder, EveryCharacterMatchesItsFoldByQt_AndMarkedKanaStayApart)
{
    Checklist checklist;
    for (char32_t unit = 0x20; unit <= 0xFFFF; ++unit) {
        if (!QChar::isSurrogate(unit))
            checklist.appendRow({Mark::None, std::u16string(1, static_cast<char16_t>(unit)), {}}, {});
    }
    const std::pair<std::u16string_view, QString> apart[] = {{u"ガス", "カス"}, {u"ｶﾞｽ", "ｶｽ"}, {u"ぱん", "ばん"}};
    for (const auto& [text, looked] : apart)
        checklist.appendRow({Mark::None, text, {}}, {});
    ItemFinder finder(checklist);
    for (std::size_t row = 0; row + std::size(apart) < checklist.rowCount(); ++row) {
        const QChar unit(checklist.row(row).text[0]);
        QString folded = QString(unit).normalized(QString::NormalizationForm_KC).toCaseFolded();
        for (QChar& c : folded) {
            if ((c >= u'\u3041' && c <= u'\u3096') || c == u'\u309D' || c == u'\u309E')
                c = QChar(c.unicode() + 0x60);
        }
        finder.setText(folded);
        ASSERT_EQ(finder.find(row, 1), row) << "U+" << QString::number(unit.unicode(), 16).toStdString();
    }
    for (const auto& [text, looked] : apart) {
        finder.setText(looked);
        EXPECT_EQ(finder.find(0, 1), std::nullopt) << looked.toStdString();
    }
}

// Checklist files (their extensions in any case), then folders, then "up" below the root, each
// folder remembered as it is listed; a folder with nothing to list sends the chooser back to the
// root with a message. The open file is selected by its own entry, none while no file is open.
TEST_F(ViewTest, Chooser_ListsFilesThenFoldersThenUp_AndSelectsTheOpenFile)
{
    for (const char* file : {"a/b.lst", "a/b.lst.lst", "a/c.TXT", "a/d.doc", "a/E.LST", "a/f/g.lst", "root.lst"})
        m_root.writeFile(QString::fromLatin1(file), "x\r\n");
    m_root.makeFolder(QStringLiteral("a/x.lst"));
    m_root.makeFolder(QStringLiteral("empty"));
    open();
    const QStringList rootEntries{" root.lst", "∇[a]", "∇[empty]"};
    EXPECT_EQ(comboEntries(), rootEntries);
    choose(QStringLiteral("∇[a]"));
    const QString up = QStringLiteral("△[上のフォルダへ]");
    EXPECT_EQ(comboEntries(), (QStringList{" b.lst", " b.lst.lst", " c.TXT", " E.LST", "∇[f]", "∇[x.lst]", up}));
    EXPECT_EQ(ChecklistFiles::rememberedFolder(), QStringLiteral("\\a"));
    EXPECT_EQ(combo()->currentIndex(), -1);
    EXPECT_EQ(m_view->counter()->text(), QStringLiteral("0/0\n0%")) << "nothing is counted";
    choose(QStringLiteral(" b.lst.lst"));
    choose(QStringLiteral(" b.lst"));
    m_view->OnTimer(CTavikView::kFileSelectTimer);
    EXPECT_EQ(combo()->currentText(), QStringLiteral(" b.lst"));
    EXPECT_EQ(rows(), "|x| : 0/1");

    choose(up);
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("ファイルが見つかりません。システムルートに戻ります。"));
    choose(QStringLiteral("∇[empty]"));
    EXPECT_EQ(ChecklistFiles::rememberedFolder(), QString());
    EXPECT_EQ(comboEntries(), rootEntries);
}

// Another file takes the list's place only once the changes are written; when they cannot be,
// the user decides: No keeps them on screen, Yes drops them.
TEST_F(ViewTest, SwitchingFiles_WritesTheChangesFirst_OrAsksBeforeDroppingThem)
{
    const QString discard = QStringLiteral("変更は保存されていません。破棄しますか？");
    write(QStringLiteral("b.lst"), u"パン\r\n");
    open(u"牛乳\r\n");
    selectRow(0);
    key(Qt::Key_Space);
    choose(QStringLiteral(" b.lst"));
    const QByteArray marked = Cp932(u"\r\n○<03/03/05>牛乳\r\n");
    EXPECT_EQ(fileBytes(), marked);

    choose(QStringLiteral(" list.lst"));
    selectRow(0);
    key(Qt::Key_Space);
    const std::string changed = rows();
    QFile::setPermissions(m_root.hostPath(QStringLiteral("list.lst")), QFileDevice::ReadOwner);
    m_boxes.expect(MessageAnswer::Ok).expect(MessageAnswer::No, discard);
    choose(QStringLiteral(" b.lst"));
    EXPECT_EQ(m_boxes.shown().last().buttons, MessageButtons::YesNoDefaultNo);
    EXPECT_EQ(rows(), changed);
    EXPECT_TRUE(modified());
    EXPECT_EQ(combo()->currentText(), QStringLiteral(" list.lst"));
    m_boxes.expect(MessageAnswer::Ok).expect(MessageAnswer::Yes, discard);
    choose(QStringLiteral(" b.lst"));
    EXPECT_EQ(rows(), "|パン| : 0/1");
    EXPECT_EQ(fileBytes(), marked);
}

// While nothing is unsaved the list shows what another program wrote, keeping the selected row and
// its place, and the chooser lists new files; unsaved changes are never replaced by what is on
// disk, and their write asks first.
TEST_F(ViewTest, OutsideChanges_ShowWhileNothingIsUnsaved_AndAreNotOverwrittenUnasked)
{
    const QString changed = QStringLiteral("ファイルが他のプログラムで変更されています。上書きしますか？");
    const QByteArray items = QByteArray("item\r\n").repeated(200);
    m_root.writeFile(QStringLiteral("list.lst"), items);
    remember(QStringLiteral("list.lst"));
    open();
    selectRow(150);
    const int place = m_view->list()->verticalScrollBar()->value();
    m_root.writeFile(QStringLiteral("list.lst"), items + "more\r\n");
    m_root.writeFile(QStringLiteral("new.lst"), "");
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return m_view->listModel()->rowCount() == 201 && comboEntries().contains(" new.lst"); }, 5000));
    EXPECT_EQ(selected(), 150);
    EXPECT_EQ(m_view->list()->verticalScrollBar()->value(), place);

    key(Qt::Key_Space);
    m_root.writeFile(QStringLiteral("list.lst"), "other\r\n");
    EXPECT_TRUE(m_view->files().OnDiskChanged());
    EXPECT_EQ(m_view->listModel()->rowCount(), 201);
    m_boxes.expect(MessageAnswer::No, changed);
    run(res::ID_FILE_OVERWRITE);
    EXPECT_EQ(fileBytes(), QByteArray("other\r\n"));
    EXPECT_TRUE(modified());
    m_boxes.expect(MessageAnswer::Yes, changed).expect(MessageAnswer::Ok, kWritten);
    run(res::ID_FILE_OVERWRITE);
    EXPECT_TRUE(fileBytes().contains(Cp932(u"item\r\n○<03/03/05>item\r\n")));
    EXPECT_FALSE(modified());
}

// A failed write is reported with the file's device path and the reason; the changes stay unsaved.
TEST_F(ViewTest, Save_WritesAndSaysSo_OrReportsWhyAndKeepsTheChanges)
{
    open(u"牛乳\r\n");
    selectRow(0);
    key(Qt::Key_Space);
    const QString host = m_root.hostPath(QStringLiteral("list.lst"));
    QFile::setPermissions(host, QFileDevice::ReadOwner);
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("ファイルに書き込めませんでした。\n\\list.lst\n許可がありません"));
    run(res::ID_FILE_OVERWRITE);
    EXPECT_EQ(fileBytes(), Cp932(u"牛乳\r\n"));
    EXPECT_TRUE(modified());
    QFile::setPermissions(host, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    m_boxes.expect(MessageAnswer::Ok, kWritten);
    run(res::ID_FILE_OVERWRITE);
    EXPECT_EQ(fileBytes(), Cp932(u"\r\n○<03/03/05>牛乳\r\n"));
    EXPECT_FALSE(modified());
}

// Save As and New file refuse names no file can carry and ask before replacing another file (No
// writes nothing); then they open what they wrote. New file first writes the open changes, here a
// cut, to their file.
TEST_F(ViewTest, SaveAsAndNewFile_AskBeforeReplacingAnotherFile_AndOpenWhatTheyWrote)
{
    write(QStringLiteral("Other.lst"), u"他\r\n");
    open(u"牛乳\r\n");
    selectRow(0);
    key(Qt::Key_Space);
    const auto typeName = [this](const QString& name) {
        m_dialogs.expect(res::IDD_SAVE_AS, [name](ModalDialog& dialog) {
            EXPECT_EQ(dialog.findControl<QLabel>(res::IDC_CURRENT_FOLDER)->text(), QStringLiteral("\\"));
            dialog.findControl<QLineEdit>(res::IDC_ITEM_TEXT)->setText(name);
            return ScriptedDialogs::press(dialog, IDOK);
        });
    };
    const std::pair<QString, QString> refused[] = {{"", "ファイル名が空っぽ？"},
        {"a\\b", "ファイル名に使えない文字が含まれています。"}, {"..", "ファイル名に使えない文字が含まれています。"},
        {"OTHER", "「OTHER.lst」は既にあります。上書きしますか？"}};
    for (const auto& [name, message] : refused) {
        typeName(name);
        m_boxes.expect(message.endsWith("？") ? MessageAnswer::No : MessageAnswer::Ok, message);
        run(res::ID_LIST_SAVE_AS);
    }
    EXPECT_EQ(fileBytes(QStringLiteral("Other.lst")), Cp932(u"他\r\n"));
    EXPECT_EQ(m_view->checklist().filePath(), u"\\list.lst");
    EXPECT_TRUE(modified());

    typeName(QStringLiteral("copy"));
    run(res::ID_LIST_SAVE_AS);
    EXPECT_EQ(fileBytes(QStringLiteral("copy.lst")), Cp932(u"\r\n○<03/03/05>牛乳\r\n"));
    EXPECT_EQ(fileBytes(), Cp932(u"牛乳\r\n"));
    EXPECT_EQ(ChecklistFiles::rememberedFileName(), QStringLiteral("copy.lst"));
    selectRow(0);
    run(res::ID_ITEM_CUT);
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("空のファイルを作成します"));
    typeName(QStringLiteral("new"));
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("ファイルが空です。"));
    run(res::ID_NEW_LIST);
    EXPECT_EQ(fileBytes(QStringLiteral("copy.lst")),
        Cp932(u"\r\n 削除＝＞\r\n 牛乳<03/03/05>\r\n\r\n ＜＝削除\r\n\r\n削<03/03/05>\r\n"));
    EXPECT_EQ(fileBytes(QStringLiteral("new.lst")), QByteArray());
    EXPECT_EQ(rows(), " : 0/0");
}

// A file read only in part is replaced, and a character CP932 cannot hold written as "?", only
// after a yes; the screen then shows what the file holds.
TEST_F(ViewTest, PartlyReadFilesAndUnencodableCharacters_AreWrittenOnlyAfterAYes)
{
    const QString unread
        = QStringLiteral("このファイルは読み込めなかったため、書き込むと元の内容が失われます。書き込みますか？");
    const QString replace = QStringLiteral("保存できない文字があります（🍊）。「?」に置き換えて書き込みますか？");
    const QByteArray partly = Cp932(u"牛乳\r\n") + QByteArray("\0", 1) + Cp932(u"パン\r\n");
    m_root.writeFile(QStringLiteral("list.lst"), partly);
    remember(QStringLiteral("list.lst"));
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("2行目のNUL文字から後ろは読み込めませんでした。"));
    open();
    typeInEditor(QStringLiteral("みかん🍊"));
    m_boxes.expect(MessageAnswer::No, unread);
    run(res::IDC_ADD_ITEM);
    m_boxes.expect(MessageAnswer::Yes, unread).expect(MessageAnswer::No, replace);
    run(res::ID_FILE_OVERWRITE);
    EXPECT_EQ(fileBytes(), partly);
    EXPECT_TRUE(modified());
    m_boxes.expect(MessageAnswer::Yes, unread).expect(MessageAnswer::Yes, replace).expect(MessageAnswer::Ok, kWritten);
    run(res::ID_FILE_OVERWRITE);
    EXPECT_EQ(fileBytes(), Cp932(u"\r\n牛乳\r\nみかん?\r\n"));
    EXPECT_EQ(rows(), "|牛乳| |みかん?| : 0/2");
}

}  // namespace
}  // namespace tavik
