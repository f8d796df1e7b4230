#include "itemdlg/item_dlg.h"
#include "res/command_ids.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_message_boxes.h"
#include "tests/support/temporary_device_root.h"
#include "tests/support/test_jpeg.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QImage>

#include <gtest/gtest.h>

namespace tavik {
namespace {

const QColor kMagenta(255, 0, 255);
const QColor kYellow(255, 255, 0);
const QColor kCyan(0, 255, 255);

bool Near(QColor a, QColor b, int tolerance = 24)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

// The four link buttons' faces as the editor paints them for `comment`, "LNK1" first,
// each button given `size`; the editor's messages go to `boxes`.
QList<QImage> Faces(const QString& comment, QSize size = QSize())
{
    QList<QImage> faces;
    CItemDlg dialog;
    dialog.m_strComment = comment;
    ScriptedDialogs dialogs;
    dialogs.expect(res::IDD_ITEM, [&](ModalDialog& d) {
        for (int id : {res::IDC_LINK1, res::IDC_LINK2, res::IDC_LINK3, res::IDC_LINK4}) {
            QWidget* button = d.findControl(id);
            if (size.isValid())
                button->resize(size);
            faces << button->grab().toImage();
            faces.last().setDevicePixelRatio(1);
        }
        // Messages of the decoder come once the painting is over.
        QCoreApplication::processEvents();
        return ScriptedDialogs::press(d, IDCANCEL);
    });
    dialog.runModal();
    return faces;
}

// The colour everywhere inside the 2-pixel inset, or an invalid colour when it varies.
QColor InnerColour(const QImage& face)
{
    const QColor first = face.pixelColor(2, 2);
    for (int y = 2; y < face.height() - 2; ++y) {
        for (int x = 2; x < face.width() - 2; ++x) {
            if (!Near(face.pixelColor(x, y), first, 8))
                return QColor();
        }
    }
    return first;
}

class LinkButtonTest : public ::testing::Test {
protected:
    QString writeJpeg(const QString& relative, const TestJpeg& picture) const
    {
        const QString host = m_root.hostPath(relative);
        m_root.makeFolder(QStringLiteral("My Documents"));
        EXPECT_TRUE(WriteTestJpeg(host, picture));
        return host;
    }

    TemporaryDeviceRoot m_root;
    ScriptedMessageBoxes m_boxes;
};

TEST_F(LinkButtonTest, KindsOfFile_ShowAsPictureFieldOrFrame)
{
    TestJpeg redBlue{.width = 80, .height = 20, .quality = 100};
    redBlue.pixel = [](int x, int) { return x < 40 ? QColor(Qt::red) : QColor(Qt::blue); };
    writeJpeg(QStringLiteral("My Documents/Photo.JPG"), redBlue);
    QImage bitmap(4, 4, QImage::Format_RGB888);
    bitmap.fill(Qt::green);
    bitmap.save(m_root.hostPath(QStringLiteral("My Documents/map.bmp")));
    bitmap.fill(Qt::blue);
    bitmap.save(m_root.hostPath(QStringLiteral("My Documents/Map.BMP")));

    // Names in the comment in any case: the kind is judged ignoring case, and a file is
    // found ignoring case unless one is named exactly as written (Map.BMP, not its twin).
    const QList<QImage> faces = Faces(QStringLiteral("\\My Documents\\photo.jpg\r\n\\My Documents\\Map.BMP\r\n"
                                                     "\\My Documents\\gone.bmp\r\n\\My Documents\\tool.exe"));
    const QImage& photo = faces[0];
    const int w = photo.width();
    const int h = photo.height();
    // Stretched over the whole inset, not letter-boxed: red on the left, blue on the right, top to bottom.
    EXPECT_TRUE(Near(photo.pixelColor(3, 3), Qt::red, 60)) << photo.pixelColor(3, 3).name().toStdString();
    EXPECT_TRUE(Near(photo.pixelColor(3, h - 4), Qt::red, 60));
    EXPECT_TRUE(Near(photo.pixelColor(w - 4, 3), Qt::blue, 60));
    EXPECT_TRUE(Near(photo.pixelColor(w - 4, h - 4), Qt::blue, 60));
    EXPECT_FALSE(Near(photo.pixelColor(0, h / 2), Qt::red, 60)) << "the frame stays around the picture";

    EXPECT_TRUE(Near(InnerColour(faces[1]), Qt::blue, 4));
    // A bitmap that does not load shows its label on magenta; a program on yellow, found or not.
    EXPECT_TRUE(Near(faces[2].pixelColor(w - 4, h - 4), kMagenta, 0));
    EXPECT_TRUE(Near(faces[3].pixelColor(w - 4, h - 4), kYellow, 0));
    EXPECT_FALSE(Near(faces[3].pixelColor(0, 0), kYellow, 60));
}

TEST_F(LinkButtonTest, OtherNames_ShowTheirLabelOnCyan_WrappedAndClipped)
{
    const QList<QImage> faces = Faces(QStringLiteral("\\My Documents\\photo.jpeg\r\n"
                                                     "\\My Documents\\one two three four five six seven eight nine ten "
                                                     "eleven twelve thirteen fourteen fifteen sixteen\r\n"
                                                     "http://example.com/\r\n\\windows\\"),
        QSize(60, 40));
    for (int slot : {0, 1, 2})
        EXPECT_TRUE(Near(faces[slot].pixelColor(57, 37), kCyan, 0)) << slot;

    // The long label: dark text from the inset's left edge on more than one line, nothing
    // of it below the inset.
    const QImage& label = faces[1];
    QList<int> textRows;
    int leftmost = label.width();
    for (int y = 0; y < label.height(); ++y) {
        for (int x = 2; x < label.width() - 2; ++x) {
            if (label.pixelColor(x, y).lightness() < 100) {
                textRows << y;
                leftmost = std::min(leftmost, x);
            }
        }
    }
    ASSERT_FALSE(textRows.isEmpty());
    EXPECT_LE(leftmost, 4);
    EXPECT_GE(textRows.last() - textRows.first(), 20) << "more than one line";
    EXPECT_GE(textRows.first(), 2);
    EXPECT_LT(textRows.last(), 38);

    // A slot whose line has no name after its last backslash still draws, as a frame on cyan.
    EXPECT_TRUE(Near(faces[3].pixelColor(30, 20), kCyan, 0));
}

TEST_F(LinkButtonTest, JpegsThatFail_LeaveTheBareFrame_AndTellWhyOnce_OneBoxAtATime)
{
    m_root.writeFile(QStringLiteral("My Documents/empty.jpg"), QByteArray());
    m_root.writeFile(QStringLiteral("My Documents/junk.jpg"), QByteArray(500, 'x'));
    QByteArray cut = TestJpegBytes(TestJpeg{.width = 64, .height = 64});
    cut.truncate(cut.size() / 2);
    m_root.writeFile(QStringLiteral("My Documents/cut.jpg"), cut);
    // Each box runs events while it is open, as a real one does; another box must not
    // come up over it.
    QList<MessageRequest> shown;
    int open = 0;
    int mostOpen = 0;
    MessageBox::standIn.set([&](const MessageRequest& request) {
        shown << request;
        mostOpen = std::max(mostOpen, ++open);
        QCoreApplication::processEvents();
        --open;
        return MessageAnswer::Ok;
    });

    const QList<QImage> faces
        = Faces(QStringLiteral("\\My Documents\\empty.jpg\r\n\\My Documents\\junk.jpg\r\n\\My Documents\\cut.jpg\r\n"
                               "\\My Documents\\missing.jpg"));
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(mostOpen, 1);
    for (const MessageRequest& box : shown) {
        EXPECT_EQ(box.caption, QStringLiteral("JPEG Library Error"));
        EXPECT_EQ(box.icon, MessageIcon::Error);
    }
    EXPECT_EQ(shown[0].text, QStringLiteral("Empty input file"));
    EXPECT_TRUE(shown[1].text.startsWith(QStringLiteral("Not a JPEG file"))) << shown[1].text.toStdString();
    EXPECT_EQ(shown[2].text, QStringLiteral("Premature end of JPEG file"));

    // The failures and the missing file: a frame with nothing inside it.
    // The failures look like the missing file: the button frame with nothing on it.
    const QImage& bare = faces[3];
    EXPECT_EQ(faces[0], bare);
    EXPECT_EQ(faces[1], bare);
    for (const QColor field : {kMagenta, kYellow, kCyan})
        EXPECT_FALSE(Near(bare.pixelColor(bare.width() / 2, bare.height() / 2), field, 60));
    // The truncated picture is drawn with what the decoder made of it.
    EXPECT_NE(faces[2], bare);
}

TEST_F(LinkButtonTest, Repaints_ReadNothingAgain)
{
    writeJpeg(QStringLiteral("My Documents/a.jpg"), TestJpeg{.width = 64, .height = 64});
    m_root.writeFile(QStringLiteral("My Documents/junk.jpg"), QByteArray(500, 'x'));
    m_boxes.expect(MessageAnswer::Ok);

    CItemDlg dialog;
    dialog.m_strComment = QStringLiteral("\\My Documents\\a.jpg\r\n\\My Documents\\junk.jpg");
    ScriptedDialogs dialogs;
    dialogs.expect(res::IDD_ITEM, [&](ModalDialog& d) {
        QWidget* picture = d.findControl(res::IDC_LINK1);
        const QImage first = picture->grab().toImage();
        QFile::remove(m_root.hostPath(QStringLiteral("My Documents/a.jpg")));
        EXPECT_EQ(picture->grab().toImage(), first);
        for (int i = 0; i < 3; ++i)
            d.findControl(res::IDC_LINK2)->grab();
        // An empty slot draws nothing at all, not even a frame.
        QWidget* empty = d.findControl(res::IDC_LINK3);
        empty->resize(40, 40);
        EXPECT_TRUE(InnerColour(empty->grab().toImage().copy(-2, -2, 44, 44)).isValid());
        QCoreApplication::processEvents();
        return ScriptedDialogs::press(d, IDCANCEL);
    });
    dialog.runModal();
    EXPECT_EQ(m_boxes.shown().size(), 1);
}

}  // namespace
}  // namespace tavik
