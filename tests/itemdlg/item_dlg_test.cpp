#include "itemdlg/item_dlg.h"

#include "itemdlg/jpeg_file_decoder.h"
#include "itemdlg/link_launcher.h"
#include "itemdlg/link_slots.h"
#include "platform/edit_control.h"
#include "platform/message_box.h"
#include "res/command_ids.h"
#include "tests/support/popup_probe.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temporary_device_root.h"
#include "tests/support/test_jpeg.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QImage>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tavik {
namespace {

TEST(LinkSlots, TheFirstFourLinkLinesFillTheSlotsInOrder)
{
    const struct {
        QString comment;
        QStringList paths;
        QStringList labels;
    } cases[] = {
        // Case decides whether a line is a link; the name is kept as written.
        {"\\My Documents\\Photo.JPG\r\nnext", {"\\My Documents\\Photo.JPG"}, {"Photo.JPG"}},
        {"  \\windows\\calc.exe und mehr\r\n", {"\\windows\\calc.exe und mehr"}, {"calc.exe und mehr"}},
        {"see HTTP://Example.com/A/b", {"see HTTP://Example.com/A/b"}, {"see HTTP://Example.com/A/b"}},
        // The last line without a line break; a line naming no known place takes no slot.
        {"C:\\data\\list.txt\r\nplain\r\n\\Program Files\\App.exe", {"\\Program Files\\App.exe"}, {"App.exe"}},
        // An empty label still takes its slot.
        {"\\windows\\\r\n\\windows\\a.bmp", {"\\windows\\", "\\windows\\a.bmp"}, {"", "a.bmp"}},
        {"\\windows\\1\n\\windows\\2\n\\windows\\3\n\\windows\\4\n\\windows\\5\n\\windows\\6",
            {"\\windows\\1", "\\windows\\2", "\\windows\\3", "\\windows\\4"}, {"1", "2", "3", "4"}},
    };
    for (const auto& c : cases) {
        const LinkSlots found = LinkSlots::find(c.comment);
        for (int slot = 0; slot < LinkSlots::kCount; ++slot) {
            EXPECT_EQ(found.paths[slot], c.paths.value(slot)) << c.comment.toStdString() << " slot " << slot;
            EXPECT_EQ(found.labels[slot], c.labels.value(slot)) << c.comment.toStdString() << " slot " << slot;
        }
    }
    EXPECT_EQ(SanitizeText(QStringLiteral("\t a\x01z \r")), QStringLiteral("a z"));
}

// Opens an editor on `comment` and hands the live dialog to `work`; gives the result.
int RunEditor(CItemDlg& dialog, const QString& comment, std::function<int(ModalDialog&)> work)
{
    dialog.m_strComment = comment;
    ScriptedDialogs dialogs;
    dialogs.expect(res::IDD_ITEM, std::move(work));
    return dialog.runModal();
}

TEST(ItemEditor, Buttons_EndWithTheirResultAndTheTextsWithCrLfLineEnds)
{
    for (const auto& [button, result] : {std::pair{int(IDOK), int(IDOK)}, {res::IDC_NEXT, int(CItemDlg::kNext)},
             {res::IDC_PREV, int(CItemDlg::kPrevious)}}) {
        CItemDlg dialog;
        EXPECT_EQ(RunEditor(dialog, QStringLiteral("一\r\n二\r\n"),
                      [button = button](ModalDialog& d) {
                          EditControl::setText(*d.findControl(res::IDC_ITEM_TEXT), QStringLiteral("新"));
                          d.findControl<QPlainTextEdit>(res::IDC_COMMENT)->appendPlainText(QStringLiteral("三"));
                          return ScriptedDialogs::press(d, button);
                      }),
            result);
        EXPECT_EQ(dialog.m_strItem, QStringLiteral("新"));
        EXPECT_EQ(dialog.m_strComment, QStringLiteral("一\r\n二\r\n\r\n三"));
    }
}

void HoldOn(QWidget& edit)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4), edit.mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(&edit, &event);
}

// Records what the editor asks the main screen to open.
class RecordingLauncher : public LinkLauncher {
public:
    void OpenInPaintProgram(QWidget* edit, const QString& name) override { record("paint", edit, name); }
    void OpenAsFileName(QWidget* edit, const QString& name) override { record("open", edit, name); }
    void LaunchAsProgram(QWidget* edit, const QString& name) override { record("run", edit, name); }

    QStringList calls;

private:
    void record(const char* how, QWidget* edit, const QString& name)
    {
        calls << QStringLiteral("%1 %2%3").arg(QLatin1String(how), edit ? QStringLiteral("[edit] ") : QString(), name);
    }
};

// A program runs, anything else opens, and a bitmap opens in the paint program once that is in
// place; the popup's entries work on the comment's selection. Each name goes as written.
TEST(ItemEditor, LinkButtonsAndPopup_OpenWhatTheyNameTheWayItsKindAsks)
{
    TemporaryDeviceRoot root;
    RecordingLauncher launcher;
    CItemDlg dialog;
    dialog.m_pView = &launcher;
    RunEditor(dialog,
        QStringLiteral("\\My Documents\\Tool.EXE\r\n\\My Documents\\Photo.BMP\r\n\\my documents\\a.jpg\r\n"
                       "see http://Example.com/x"),
        [&](ModalDialog& d) {
            for (int id : {res::IDC_LINK1, res::IDC_LINK2, res::IDC_LINK3, res::IDC_LINK4})
                d.findControl<QAbstractButton>(id)->click();
            root.writeFile(QStringLiteral("Program Files/Vantra/Drawbo.exe"), "");
            d.findControl<QAbstractButton>(res::IDC_LINK2)->click();
            for (int entry : {res::ID_EDIT_OPEN_PAINT, res::ID_EDIT_OPEN_FILE, res::ID_EDIT_RUN_PROGRAM}) {
                HoldOn(*d.findControl(res::IDC_COMMENT));
                PopupProbe::choose(entry);
            }
            return ScriptedDialogs::press(d, IDCANCEL);
        });
    EXPECT_EQ(launcher.calls,
        QStringList({"run \\My Documents\\Tool.EXE", "open \\My Documents\\Photo.BMP", "open \\my documents\\a.jpg",
            "open see http://Example.com/x", "paint \\My Documents\\Photo.BMP", "paint [edit] ", "open [edit] ",
            "run [edit] "}));
}

// A picture fills the inside of its button. A JPEG that fails tells why, once however often it is
// painted, and one box at a time.
TEST(ItemEditor, LinkButtons_ShowTheFilesPicture_AndTellOnceWhyAPictureFails)
{
    TemporaryDeviceRoot root;
    WriteTestJpeg(root.writeFile(QStringLiteral("My Documents/Photo.JPG"), ""),
        {.width = 80, .height = 20, .quality = 100, .pixel = [](int x, int) {
             return QColor(x < 40 ? Qt::red : Qt::blue);
         }});
    root.writeFile(QStringLiteral("My Documents/junk.jpg"), QByteArray(500, 'x'));
    const QByteArray cut = TestJpegBytes({.width = 128, .height = 128});
    root.writeFile(QStringLiteral("My Documents/cut.jpg"), cut.left(cut.size() * 2 / 3));
    QStringList shown;
    int open = 0;
    MessageBox::standIn.set([&](const MessageRequest& request) {
        // Each box runs events while it is open, as a real one does; another must not come up over it.
        EXPECT_EQ(open++, 0) << "a box over another";
        EXPECT_TRUE(request.caption == QStringLiteral("JPEG Library Error") && request.icon == MessageIcon::Error);
        shown << request.text.left(15);
        QCoreApplication::processEvents();
        --open;
        return MessageAnswer::Ok;
    });
    QImage photo;
    CItemDlg dialog;
    RunEditor(dialog,
        QStringLiteral("\\my documents\\photo.jpg\r\n\\My Documents\\junk.jpg\r\n\\My Documents\\cut.jpg"),
        [&](ModalDialog& d) {
            photo = d.findControl(res::IDC_LINK1)->grab().toImage();
            for (int paint = 0; paint < 2; ++paint) {
                d.findControl(res::IDC_LINK2)->grab();
                d.findControl(res::IDC_LINK3)->grab();
            }
            QCoreApplication::processEvents();  // the decoder's messages come once the painting is over
            return ScriptedDialogs::press(d, IDCANCEL);
        });
    MessageBox::standIn.set(nullptr);
    EXPECT_EQ(shown, QStringList({"Not a JPEG file", "Premature end o"}));
    const QColor left = photo.pixelColor(3, photo.height() - 4), right = photo.pixelColor(photo.width() - 4, 3);
    EXPECT_TRUE(left.red() > 200 && left.blue() < 60 && right.blue() > 200 && right.red() < 60);
}

// A smooth picture, which JPEG keeps close, of 64 × 64 pixels.
QColor Smooth(int x, int y)
{
    return QColor(40 + 3 * x, 30 + 3 * y, 220 - 2 * x);
}

// The largest difference of a channel between the colour at `x`, `y` of the picture (0 is
// the top row) and that pixel of the bottom-up, blue-green-red bitmap.
int Deviation(const DibBitmap& bitmap, int x, int y, QColor expected)
{
    const std::uint8_t* p = bitmap.bits.get() + (bitmap.header.height - 1 - y) * bitmap.stride() + 3 * x;
    return std::max(
        {std::abs(p[2] - expected.red()), std::abs(p[1] - expected.green()), std::abs(p[0] - expected.blue())});
}

QString Write(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    QFile file(dir.filePath(QString::fromLatin1(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << name;
    return file.fileName();
}

// The output is the smallest eighth of the picture that covers the size asked for, whole when
// none is asked. A damaged file gives the library's message, once, and a file cut in its image
// data the lines read before the cut, in a bitmap stored bottom-up, blue-green-red. What cannot
// be read or held gives nothing and no message.
TEST(JpegFileDecoder, ScaledToTheSmallestEighthThatCovers_DamagedFilesSayWhy)
{
    QTemporaryDir dir;
    const QByteArray whole = TestJpegBytes({.width = 64, .height = 64, .pixel = Smooth});
    QByteArray huge = TestJpegBytes({.width = 16, .height = 16});
    huge.replace(huge.indexOf("\xFF\xC0") + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4));  // 60000 × 60000 pixels
    Write(dir, "large.jpg", TestJpegBytes({.width = 1600, .height = 1200}));
    Write(dir, "odd.jpg", TestJpegBytes({.width = 9, .height = 17}));
    Write(dir, "cut.jpg", whole.left(whole.size() * 2 / 3));
    Write(dir, "empty.jpg", {});
    Write(dir, "text.jpg", "this is no picture");
    Write(dir, "header.jpg", whole.left(100));
    Write(dir, "huge.jpg", huge);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.jpg"));
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("pipe.jpg")).constData(), 0600), 0);  // must not block
    const QSize none;
    const struct {
        const char* name;
        QSize atLeast;
        QSize size;  // empty: nothing decoded
        QStringList messages;
    } cases[] = {
        {"large.jpg", {40, 30}, {200, 150}, {}},
        {"large.jpg", {201, 10}, {400, 300}, {}},  // one pixel more than 1/8 gives the next eighth
        {"large.jpg", {10, 1000}, {1400, 1050}, {}},  // the height decides
        {"large.jpg", {5000, 5000}, {1600, 1200}, {}},
        {"large.jpg", none, {1600, 1200}, {}},
        {"large.jpg", {40, 0}, {1600, 1200}, {}},
        {"odd.jpg", {1, 1}, {2, 3}, {}},  // sizes that do not divide by 8 round up
        {"cut.jpg", none, {64, 64}, {"Premature end of JPEG file"}},
        {"empty.jpg", none, none, {"Empty input file"}},
        {"text.jpg", none, none, {"Not a JPEG file: starts with 0x74 0x68"}},
        // The fake end-of-image marker after the warning comes before any image.
        {"header.jpg", none, none, {"Premature end of JPEG file", "JPEG datastream contains no image"}},
        {"huge.jpg", none, none, {}},  // a bitmap of 10 GB is not attempted
        {"folder.jpg", none, none, {}},
        {"pipe.jpg", none, none, {}},
        {"missing.jpg", none, none, {}},
    };
    for (const auto& c : cases) {
        QStringList messages;
        const auto bitmap = JpegFileDecoder::decode(
            dir.filePath(c.name), [&](const QString& text) { messages << text; }, c.atLeast);
        EXPECT_EQ(bitmap ? QSize(bitmap->header.width, bitmap->header.height) : none, c.size) << c.name;
        EXPECT_EQ(messages, c.messages) << c.name;
        if (bitmap) {
            EXPECT_EQ(bitmap->header.sizeImage, bitmap->stride() * bitmap->header.height) << c.name;
        }
        if (bitmap && c.size == QSize(64, 64)) {
            EXPECT_LE(Deviation(*bitmap, 5, 3, Smooth(5, 3)), 8);
        }
    }
}

}  // namespace
}  // namespace tavik
