#include "platform/file_open_dialog.h"

#include "tests/support/scripted_message_boxes.h"
#include "tests/support/temporary_device_root.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tavik {

namespace {

const QString kFilter = QStringLiteral("text file(*.txt)|*.txt|Bitmap(*.bmp)|*.bmp|AllFile(*.*)|*.*||");

struct DialogRun {
    std::optional<std::string> result;  // the device path chosen
    bool leftOpen = false;  // still open after the script: it was cancelled for the script
};

// Opens the real dialog and lets `script` work it once it is up.
DialogRun RunDialog(const std::function<void(QDialog&)>& script, const QString& filter = kFilter)
{
    DialogRun run;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        script(*dialog);
        run.leftOpen = dialog->isVisible();
        if (run.leftOpen)
            dialog->reject();
    });
    if (const std::optional<QString> chosen = FileOpenDialog::getOpenFileName(nullptr, filter))
        run.result = chosen->toStdString();
    return run;
}

// The names the list shows, sorted and joined by "|".
std::string Names(const QListView& list)
{
    QStringList names;
    for (int row = 0; row < list.model()->rowCount(list.rootIndex()); ++row)
        names.append(list.model()->index(row, 0, list.rootIndex()).data().toString());
    names.sort();
    return names.join(QLatin1Char('|')).toStdString();
}

// What the list shows once it has settled on `expected`, or after waiting for that in vain.
std::string ShownNames(const QListView& list, const std::string& expected)
{
    static_cast<void>(QTest::qWaitFor([&] { return Names(list) == expected; }, 3000));
    return Names(list);
}

// The list's item named `name`, once it is listed and laid out.
QModelIndex Item(const QListView& list, const QString& name)
{
    QModelIndex found;
    const bool listed = QTest::qWaitFor([&] {
        for (int row = 0; row < list.model()->rowCount(list.rootIndex()) && !found.isValid(); ++row) {
            const QModelIndex index = list.model()->index(row, 0, list.rootIndex());
            if (index.data().toString() == name && !list.visualRect(index).isEmpty())
                found = index;
        }
        return found.isValid();
    });
    EXPECT_TRUE(listed) << name.toStdString() << " is not listed";
    return found;
}

void TypeAndEnter(QDialog& dialog, const QString& name)
{
    auto* edit = dialog.findChild<QLineEdit*>();
    edit->clear();
    QTest::keyClicks(edit, name);
    QTest::keyClick(edit, Qt::Key_Return);
}

}  // namespace

TEST(FileOpenDialog, ShowsTheFilterChoices_FirstChosen_AndMatchesPatternsIgnoringCase)
{
    TemporaryDeviceRoot root;
    for (const char* name : {"NOTES.TXT", "readme.txt", ".hidden.txt", "Photo.Bmp", "a.JPG", "noext", "list.lst"})
        root.writeFile(QString::fromUtf8(name), "x");
    root.makeFolder(QStringLiteral("My Documents"));

    const DialogRun cancelled = RunDialog([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("開く"));
        auto* types = dialog.findChild<QComboBox*>();
        QStringList descriptions;
        for (int i = 0; i < types->count(); ++i)
            descriptions.append(types->itemText(i));
        EXPECT_EQ(descriptions, QStringList({"text file(*.txt)", "Bitmap(*.bmp)", "AllFile(*.*)"}));
        EXPECT_EQ(types->currentIndex(), 0);

        const auto& list = *dialog.findChild<QListView*>();
        EXPECT_EQ(ShownNames(list, "My Documents|NOTES.TXT|readme.txt"), "My Documents|NOTES.TXT|readme.txt");
        types->setCurrentIndex(1);
        EXPECT_EQ(ShownNames(list, "My Documents|Photo.Bmp"), "My Documents|Photo.Bmp");
        types->setCurrentIndex(2);  // "*.*" is every file, names without a dot too
        const std::string all = "My Documents|NOTES.TXT|Photo.Bmp|a.JPG|list.lst|noext|readme.txt";
        EXPECT_EQ(ShownNames(list, all), all);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(cancelled.leftOpen);
    EXPECT_EQ(cancelled.result, std::nullopt);

    // One choice listing several patterns.
    RunDialog(
        [](QDialog& dialog) {
            EXPECT_EQ(ShownNames(*dialog.findChild<QListView*>(), "My Documents|Photo.Bmp|a.JPG"),
                "My Documents|Photo.Bmp|a.JPG");
        },
        QStringLiteral("Picture(*.bmp;*.jpg)|*.BMP; *.jpg||"));
}

TEST(FileOpenDialog, GivesTheDevicePathOfTheFileChosen_WithTheNamesAsOnDisk)
{
    TemporaryDeviceRoot root;
    root.writeFile(QStringLiteral("My Documents/Photo.JPG"), "x");
    root.writeFile(QStringLiteral("My Documents/memo.txt"), "x");
    const QString allFiles = QStringLiteral("AllFile(*.*)|*.*||");

    // Into the folder from the list, then a double click on the file.
    const DialogRun picked = RunDialog(
        [](QDialog& dialog) {
            auto& list = *dialog.findChild<QListView*>();
            list.setCurrentIndex(Item(list, QStringLiteral("My Documents")));
            QTest::keyClick(&list, Qt::Key_Return);
            EXPECT_EQ(ShownNames(list, "Photo.JPG|memo.txt"), "Photo.JPG|memo.txt");
            const QRect photo = list.visualRect(Item(list, QStringLiteral("Photo.JPG")));
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, photo.center());
            QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, photo.center());
        },
        allFiles);
    EXPECT_FALSE(picked.leftOpen);
    EXPECT_EQ(picked.result, "\\My Documents\\Photo.JPG");

    // A typed name finds the file ignoring case; the up button goes back to the root.
    const DialogRun typed = RunDialog(
        [](QDialog& dialog) {
            TypeAndEnter(dialog, QStringLiteral("my documents"));
            auto& list = *dialog.findChild<QListView*>();
            EXPECT_EQ(ShownNames(list, "Photo.JPG|memo.txt"), "Photo.JPG|memo.txt");
            dialog.findChild<QToolButton*>()->click();
            EXPECT_EQ(ShownNames(list, "My Documents"), "My Documents");
            TypeAndEnter(dialog, QStringLiteral("\\MY DOCUMENTS\\photo.jpg"));
        },
        allFiles);
    EXPECT_FALSE(typed.leftOpen);
    EXPECT_EQ(typed.result, "\\My Documents\\Photo.JPG");
}

TEST(FileOpenDialog, RefusesWhatLiesOutsideTheDeviceRoot_AndStaysOpen)
{
    TemporaryDeviceRoot root;
    root.writeFile(QStringLiteral("My Documents/memo.txt"), "x");
    QTemporaryDir outside;
    QFile secret(outside.filePath(QStringLiteral("secret.txt")));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.close();

    ScriptedMessageBoxes boxes;
    boxes.expect(MessageAnswer::Ok).expect(MessageAnswer::Ok).expect(MessageAnswer::Ok);
    const QDialog* shownOver = nullptr;
    const DialogRun run = RunDialog([&](QDialog& dialog) {
        shownOver = &dialog;
        EXPECT_FALSE(dialog.findChild<QToolButton*>()->isEnabled()) << "the up button at the root";
        // A host path, a climb above the root back into it, a name that is not there.
        TypeAndEnter(dialog, secret.fileName());
        TypeAndEnter(dialog,
            QStringLiteral("My Documents\\..\\..\\") + QFileInfo(root.hostPath()).fileName()
                + QStringLiteral("\\My Documents\\memo.txt"));
        TypeAndEnter(dialog, QStringLiteral("nothing.txt"));
    });
    EXPECT_TRUE(run.leftOpen);
    EXPECT_EQ(run.result, std::nullopt);
    ASSERT_EQ(boxes.texts().size(), 3);
    EXPECT_TRUE(boxes.texts()[2].contains(QStringLiteral("nothing.txt")));
    for (const MessageRequest& shown : boxes.shown())
        EXPECT_EQ(shown.owner, shownOver) << "a refusal shows over the dialog";
}

}  // namespace tavik
