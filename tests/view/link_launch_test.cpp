#include "tests/support/scripted_launcher.h"
#include "tests/view/view_test_fixture.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace tavik {
namespace {

const QString kPaint = QStringLiteral("\\Program Files\\Vantra\\Drawbo.exe");
const QString kRunGuidance = QStringLiteral("選択範囲をﾌｧｲﾙ名(.exeを含む)として起動しますので、正しく選択してください");
const QString kOpenGuidance = QStringLiteral("選択範囲をﾌｧｲﾙ名としますので、範囲を選択してください");

class LinkLaunchTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        writeChecklist(QStringLiteral("list.lst"), u"牛乳\r\n");
        remember(QString(), QStringLiteral("list.lst"));
        open();
    }

    // The comment pane showing `text` with characters [start, end) selected.
    QWidget* paneSelecting(const QString& text, int start, int end)
    {
        QPlainTextEdit* pane = m_view->commentPane();
        pane->setPlainText(text);
        QTextCursor cursor = pane->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        pane->setTextCursor(cursor);
        return pane;
    }

    ScriptedLauncher m_launcher;
};

TEST_F(LinkLaunchTest, PaintProgram_GetsOnlyABitmapNamedExactlyAsSelected)
{
    m_launcher.expectStart().expectStart().expectStart().expectStart(false);
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("起動失敗！"));

    m_view->OpenInPaintProgram(paneSelecting(QStringLiteral("see \\My Documents\\a.Bmp"), 4, 23), QString());
    // Nothing selected, and a name followed by a line break (not cleaned here): no file.
    m_view->OpenInPaintProgram(paneSelecting(QStringLiteral("abc"), 1, 1), QString());
    m_view->OpenInPaintProgram(paneSelecting(QStringLiteral("\\a.bmp\nnext"), 0, 7), QString());
    // A given name is used when there is no edit control.
    m_view->OpenInPaintProgram(nullptr, QStringLiteral("\\x.BMP"));

    ASSERT_EQ(m_launcher.starts().size(), 4);
    EXPECT_EQ(m_launcher.starts()[0].application, kPaint);
    EXPECT_EQ(m_launcher.starts()[0].commandLine, QStringLiteral("\"\\My Documents\\a.Bmp\""));
    EXPECT_EQ(m_launcher.starts()[1].commandLine, QString());
    EXPECT_EQ(m_launcher.starts()[2].commandLine, QString());
    EXPECT_EQ(m_launcher.starts()[3].commandLine, QStringLiteral("\"\\x.BMP\""));
}

TEST_F(LinkLaunchTest, Program_IsACleanedExeNameAsWritten)
{
    m_launcher.expectStart().expectStart().expectStart(false);
    m_boxes.expect(MessageAnswer::Ok, kRunGuidance)
        .expect(MessageAnswer::Ok, kRunGuidance)
        .expect(MessageAnswer::Ok, QStringLiteral("起動失敗！"));

    m_view->LaunchAsProgram(paneSelecting(QStringLiteral("\\Tools\\calc.EXE"), 0, 15), QString());
    m_view->LaunchAsProgram(paneSelecting(QStringLiteral(" \\tools\\run.exe\nmore"), 0, 16), QString());
    m_view->LaunchAsProgram(paneSelecting(QStringLiteral("abc"), 2, 2), QString());
    m_view->LaunchAsProgram(paneSelecting(QStringLiteral("\\notes.txt"), 0, 10), QString());
    m_view->LaunchAsProgram(nullptr, QStringLiteral("\\Program Files\\Gone.Exe"));

    ASSERT_EQ(m_launcher.starts().size(), 3);
    EXPECT_EQ(m_launcher.starts()[0].application, QStringLiteral("\\Tools\\calc.EXE"));
    EXPECT_EQ(m_launcher.starts()[1].application, QStringLiteral("\\tools\\run.exe"));
    EXPECT_EQ(m_launcher.starts()[2].application, QStringLiteral("\\Program Files\\Gone.Exe"));
    EXPECT_EQ(m_launcher.starts()[0].commandLine, QString());
}

TEST_F(LinkLaunchTest, Desktop_OpensTheCleanedSelectionAsWritten_AndSaysWhatDidNotOpen)
{
    m_launcher.expectOpen(ScriptedLauncher::Open::Opens)
        .expectOpen(ScriptedLauncher::Open::Opens)
        .expectOpen(ScriptedLauncher::Open::FailsAtOnce)
        .expectOpen(ScriptedLauncher::Open::FailsLater);
    m_boxes.expect(MessageAnswer::Ok, kOpenGuidance)
        .expect(MessageAnswer::Ok, kOpenGuidance)
        .expect(MessageAnswer::Ok, QStringLiteral("起動失敗！\n\\My Documents\\Photo.jpg"))
        .expect(MessageAnswer::Ok, QStringLiteral("起動失敗！\nhttp://example.com/Gone"));

    QLineEdit edit(QStringLiteral("go \\My Documents\\plan.txt\t"));
    edit.setSelection(3, 23);
    m_view->OpenAsFileName(&edit, QString());
    m_view->OpenAsFileName(nullptr, QStringLiteral("HTTP://Example.com/Docs/ReadMe.html"));
    m_view->OpenAsFileName(paneSelecting(QStringLiteral("x\r\n"), 1, 2), QString());  // only a line break
    m_view->OpenAsFileName(nullptr, QString());
    m_view->OpenAsFileName(nullptr, QStringLiteral("\\My Documents\\Photo.jpg"));
    // The desktop's opener says later that it could not open the name.
    m_view->OpenAsFileName(nullptr, QStringLiteral("http://example.com/Gone"));
    EXPECT_EQ(m_boxes.pending(), 1);
    QCoreApplication::processEvents();

    EXPECT_EQ(m_launcher.opened(),
        QStringList({QStringLiteral("\\My Documents\\plan.txt"), QStringLiteral("HTTP://Example.com/Docs/ReadMe.html"),
            QStringLiteral("\\My Documents\\Photo.jpg"), QStringLiteral("http://example.com/Gone")}));
}

TEST_F(LinkLaunchTest, MissingFiles_FailToStartOrOpenForReal)
{
    ProcessLauncher::startStandIn.set(nullptr);
    ProcessLauncher::shellOpenStandIn.set(nullptr);
    m_root.writeFile(QStringLiteral("tools/plain.exe"), "not executable");
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("起動失敗！"))
        .expect(MessageAnswer::Ok, QStringLiteral("起動失敗！"))
        .expect(MessageAnswer::Ok, QStringLiteral("起動失敗！"))
        .expect(MessageAnswer::Ok, QStringLiteral("起動失敗！\n\\My Documents\\Photo.jpg"));
    m_view->LaunchAsProgram(nullptr, QStringLiteral("\\tools\\missing.exe"));
    m_view->LaunchAsProgram(nullptr, QStringLiteral("\\tools\\plain.exe"));
    m_view->OpenInPaintProgram(nullptr, QString());
    m_view->OpenAsFileName(nullptr, QStringLiteral("\\My Documents\\Photo.jpg"));
}

}  // namespace
}  // namespace tavik
