#include "itemdlg/jpeg_file_decoder.h"

#include "tests/support/test_jpeg.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tavik {
namespace {

class JpegFileDecoderTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString write(const QString& name, const TestJpeg& picture) const
    {
        EXPECT_TRUE(WriteTestJpeg(path(name), picture)) << name.toStdString();
        return path(name);
    }

    QString writeBytes(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << name.toStdString();
        return path(name);
    }

    std::optional<DibBitmap> decode(const QString& hostPath, QSize atLeast = QSize())
    {
        return JpegFileDecoder::decode(
            hostPath, [this](const QString& text) { m_messages << text; }, atLeast);
    }

    QTemporaryDir m_dir;
    QStringList m_messages;
};

// The pixel in picture row `y` (0 = top) of the bottom-up, blue-green-red bitmap.
QColor StoredPixel(const DibBitmap& bitmap, int x, int y)
{
    const std::uint8_t* p = bitmap.bits.get() + (bitmap.header.height - 1 - y) * bitmap.stride() + 3 * x;
    return QColor(p[2], p[1], p[0]);
}

// The largest difference of a channel between the two colours.
int Deviation(const QColor& a, const QColor& b)
{
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())});
}

testing::AssertionResult Near(const QColor& actual, const QColor& expected, int tolerance)
{
    if (Deviation(actual, expected) <= tolerance)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "got " << actual.name().toStdString() << ", expected "
                                       << expected.name().toStdString();
}

QColor SmallPicturePixel(int x, int y)
{
    static const QColor colours[2][3] = {
        {QColor(200, 30, 40), QColor(20, 180, 60), QColor(30, 50, 220)},
        {QColor(240, 230, 20), QColor(20, 200, 200), QColor(90, 90, 90)},
    };
    return colours[y][x];
}

TEST_F(JpegFileDecoderTest, ASmallPictureFillsTheBitmapBottomUpInBlueGreenRed)
{
    auto bitmap
        = decode(write("small.jpg", TestJpeg{.width = 3, .height = 2, .quality = 100, .pixel = SmallPicturePixel}));
    ASSERT_TRUE(bitmap);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    const DibBitmap::InfoHeader& header = bitmap->header;
    EXPECT_EQ(header.size, 40u);
    EXPECT_EQ(header.width, 3);
    EXPECT_EQ(header.height, 2);
    EXPECT_EQ(header.planes, 1);
    EXPECT_EQ(header.bitCount, 24);
    EXPECT_EQ(header.compression, 0u);
    EXPECT_EQ(header.sizeImage, 24u);
    EXPECT_EQ(bitmap->stride(), 12);

    // The top row is the second stored row, blue first; each row ends in 3 zero bytes.
    const std::uint8_t* bits = bitmap->bits.get();
    for (int x = 0; x < 3; ++x) {
        const QColor top = SmallPicturePixel(x, 0);
        const QColor bottom = SmallPicturePixel(x, 1);
        EXPECT_TRUE(Near(QColor(bits[12 + 3 * x + 2], bits[12 + 3 * x + 1], bits[12 + 3 * x]), top, 6)) << x;
        EXPECT_TRUE(Near(QColor(bits[3 * x + 2], bits[3 * x + 1], bits[3 * x]), bottom, 6)) << x;
    }
    for (int i : {9, 10, 11, 21, 22, 23})
        EXPECT_EQ(bits[i], 0) << "padding byte " << i;

    // The image is a copy, top row first.
    const QImage image = bitmap->toImage();
    bitmap.reset();
    ASSERT_EQ(image.size(), QSize(3, 2));
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x)
            EXPECT_TRUE(Near(image.pixelColor(x, y), SmallPicturePixel(x, y), 6)) << x << "," << y;
    }
    EXPECT_TRUE(DibBitmap().toImage().isNull());
}

// A smooth picture, which JPEG keeps close.
QColor Smooth(int x, int y)
{
    return QColor(40 + 5 * x, 30 + 6 * y, 220 - 4 * x);
}

// The JPEG file with an APP1 segment of `size` bytes of varied content after its start marker.
QByteArray WithApp1(QByteArray jpeg, int size)
{
    if (size <= 0)
        return jpeg;
    QByteArray segment("\xFF\xE1");
    segment.append(char((size + 2) >> 8)).append(char((size + 2) & 0xFF));
    for (int i = 0; i < size; ++i)
        segment.append(char(i * 7));
    return jpeg.insert(2, segment);
}

TEST_F(JpegFileDecoderTest, EveryKindOfFileDecodesToItsColours)
{
    using Colour = TestJpeg::Colour;
    // 37 wide: 111 bytes of pixels and one of padding per row; 35 high: 5 MCU rows.
    const struct {
        const char* name;
        TestJpeg picture;
        int app1Bytes = 0;  // a metadata segment the decoder skips, as cameras write
    } cases[] = {
        {"rgb", {.width = 37, .height = 35, .pixel = Smooth}},
        {"grey", {.width = 37, .height = 35, .colour = Colour::Grey, .pixel = Smooth}},
        {"cmyk", {.width = 37, .height = 35, .colour = Colour::Cmyk, .pixel = Smooth}},
        {"adobe-cmyk", {.width = 37, .height = 35, .colour = Colour::AdobeCmyk, .pixel = Smooth}},
        {"progressive", {.width = 37, .height = 35, .progressive = true, .pixel = Smooth}},
        {"restart", {.width = 37, .height = 35, .restartRows = 1, .pixel = Smooth}},
        {"subsampled", {.width = 37, .height = 35, .subsampled = true, .pixel = Smooth}},
        // Longer than the source's buffer, so the skip reads on several times.
        {"metadata", {.width = 37, .height = 35, .pixel = Smooth}, 10000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = WithApp1(TestJpegBytes(c.picture), c.app1Bytes);
        // The file is what the case is about: CMYK inverted only under an Adobe marker,
        // restart markers only when asked for.
        EXPECT_EQ(bytes.contains("Adobe"), c.picture.colour == Colour::AdobeCmyk);
        EXPECT_EQ(bytes.contains("\xFF\xD0"), c.picture.restartRows > 0);
        m_messages.clear();
        const auto bitmap = decode(writeBytes(QString::fromLatin1(c.name) + ".jpg", bytes));
        ASSERT_TRUE(bitmap);
        EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
        ASSERT_EQ(bitmap->header.width, 37);
        ASSERT_EQ(bitmap->header.height, 35);
        EXPECT_EQ(bitmap->header.sizeImage, 112u * 35);
        int worst = 0;
        QPoint worstAt;
        int unequalGreys = 0;
        for (int y = 0; y < 35; ++y) {
            for (int x = 0; x < 37; ++x) {
                const QColor actual = StoredPixel(*bitmap, x, y);
                QColor expected = Smooth(x, y);
                if (c.picture.colour == Colour::Grey) {
                    const int grey = qGray(expected.rgb());
                    expected = QColor(grey, grey, grey);
                    unequalGreys += actual.red() != actual.green() || actual.green() != actual.blue();
                }
                if (Deviation(actual, expected) > worst) {
                    worst = Deviation(actual, expected);
                    worstAt = QPoint(x, y);
                }
            }
        }
        EXPECT_LE(worst, 10) << "at " << worstAt.x() << "," << worstAt.y();
        EXPECT_EQ(unequalGreys, 0);
    }
}

TEST_F(JpegFileDecoderTest, DamagedFilesReportTheLibrarysMessage)
{
    const QByteArray whole = TestJpegBytes({.width = 64, .height = 64, .pixel = Smooth});
    ASSERT_GT(whole.size(), 1000);

    // A file cut in its image data: one warning, however many places notice the cut,
    // and the lines read before it.
    const auto truncated = decode(writeBytes("truncated.jpg", whole.left(whole.size() * 2 / 3)));
    EXPECT_EQ(m_messages, QStringList{"Premature end of JPEG file"});
    ASSERT_TRUE(truncated);
    ASSERT_EQ(truncated->header.width, 64);
    ASSERT_EQ(truncated->header.height, 64);
    EXPECT_LE(Deviation(StoredPixel(*truncated, 5, 3), Smooth(5, 3)), 8);

    m_messages.clear();
    EXPECT_FALSE(decode(writeBytes("empty.jpg", QByteArray())));
    EXPECT_EQ(m_messages, QStringList{"Empty input file"});

    m_messages.clear();
    EXPECT_FALSE(decode(writeBytes("text.jpg", "this is no picture")));
    EXPECT_EQ(m_messages, QStringList{"Not a JPEG file: starts with 0x74 0x68"});

    // A header that breaks off: the warning, then the fatal error, as the fake end-of-image
    // marker comes before any image.
    m_messages.clear();
    EXPECT_FALSE(decode(writeBytes("header.jpg", whole.left(100))));
    EXPECT_EQ(m_messages, QStringList({"Premature end of JPEG file", "JPEG datastream contains no image"}));
}

TEST_F(JpegFileDecoderTest, WhatCannotBeReadOrHeldGivesNothingAndNoMessage)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.jpg"));
    ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe.jpg")).constData(), 0600), 0);  // must not block
    for (const char* name : {"missing.jpg", "folder.jpg", "pipe.jpg"})
        EXPECT_FALSE(decode(path(name))) << name;
    EXPECT_FALSE(decode(QString()));

    // A frame header claiming 60000 × 60000 pixels: a bitmap of 10 GB is not attempted.
    QByteArray huge = TestJpegBytes({.width = 16, .height = 16, .pixel = Smooth});
    const qsizetype frame = huge.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    huge.replace(frame + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4));
    EXPECT_FALSE(decode(writeBytes("huge.jpg", huge)));
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

TEST_F(JpegFileDecoderTest, TheOutputIsScaledToTheSmallestEighthThatCoversAtLeast)
{
    const QString file = write("large.jpg", {.width = 1600, .height = 1200});
    const struct {
        QSize atLeast;
        QSize expected;
    } cases[] = {
        {QSize(40, 30), QSize(200, 150)},
        // One pixel more than 1/8 gives the next eighth.
        {QSize(201, 10), QSize(400, 300)},
        {QSize(300, 100), QSize(400, 300)},
        // The height decides.
        {QSize(10, 1000), QSize(1400, 1050)},
        // Never larger than the picture.
        {QSize(5000, 5000), QSize(1600, 1200)},
        // An empty size asks for the full size.
        {QSize(), QSize(1600, 1200)},
        {QSize(40, 0), QSize(1600, 1200)},
    };
    for (const auto& c : cases) {
        const auto bitmap = decode(file, c.atLeast);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(QSize(bitmap->header.width, bitmap->header.height), c.expected)
            << c.atLeast.width() << "x" << c.atLeast.height();
        EXPECT_EQ(bitmap->header.sizeImage, bitmap->stride() * bitmap->header.height);
    }
    // Sizes that do not divide by 8 round up.
    const auto odd = decode(write("odd.jpg", {.width = 9, .height = 17}), QSize(1, 1));
    ASSERT_TRUE(odd);
    EXPECT_EQ(QSize(odd->header.width, odd->header.height), QSize(2, 3));
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

}  // namespace
}  // namespace tavik
