#include "platform/command_table.h"
#include "platform/modal_dialog.h"
#include "res/resources.h"
#include "tests/support/scripted_dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>

namespace tavik {
namespace {

using enum res::ControlKind;

constexpr int kNext = 6;

constexpr res::ControlTemplate kEditorControls[] = {
    {1, DefaultPushButton, "OK", 57, 0, 24, 10, res::kTabStop},
    {2, PushButton, "ｷｬﾝｾﾙ", 81, 0, 34, 10, res::kTabStop},
    {1022, PushButton, "次", 35, 0, 15, 10, res::kTabStop},
    {1010, Edit, "", 1, 11, 108, 12, res::kBorder | res::kTabStop},
};
constexpr res::DialogTemplate kEditor{731, "項目", "Sans Serif", 9, 115, 156,
                                      res::kModalFrame | res::kCaption | res::kSystemMenu, kEditorControls};

constexpr res::ControlTemplate kAboutControls[] = {
    {-1, Static, "tavik Version 1.28", 40, 10, 65, 8, res::kNoPrefix},
};
constexpr res::DialogTemplate kAbout{700, "バージョン情報", "Sans Serif", 9, 139, 87,
                                     res::kModalFrame | res::kCaption | res::kCaptionOkButton, kAboutControls};

// An editor like the item dialog: "次" ends it with 6 after taking the text.
class EditorDialog : public ModalDialog {
public:
    explicit EditorDialog(QWidget* owner = nullptr) : ModalDialog(kEditor, owner) {}

    QString text;
    int initialisations = 0;

    void OnNext() {
        text = findControl<QLineEdit>(1010)->text();
        endDialog(kNext);
    }

protected:
    void OnInitDialog() override {
        ModalDialog::OnInitDialog();
        ++initialisations;
        findControl<QLineEdit>(1010)->setText(text);
    }
    void OnOK() override {
        text = findControl<QLineEdit>(1010)->text();
        ModalDialog::OnOK();
    }
    const CommandMap& commandMap() const override {
        static const CommandTable<EditorDialog> table{{1022, &EditorDialog::OnNext}};
        return table;
    }
};

// Runs the real modal loop and does `act` on the dialog once it is up.
int runWithUser(ModalDialog& dialog, std::function<void(QWidget& active)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* active = QApplication::activeModalWidget();
        if (!active) {
            ADD_FAILURE() << "no modal dialog is up";
            return;
        }
        act(*active);
    });
    return dialog.runModal();
}

TEST(ModalDialog, KeysAndButtons_EndTheDialogWithTheirIds) {
    struct Case {
        const char* what;
        std::function<void(QWidget&)> act;
        int expected;
    };
    const Case cases[] = {
        {"Escape", [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Escape); }, 2},
        {"the close button", [](QWidget& w) { w.close(); }, 2},
        {"Return presses the default button",
         [](QWidget& w) { QTest::keyClick(w.findChild<QLineEdit*>("control_1010"), Qt::Key_Return); }, 1},
        {"the OK button", [](QWidget& w) { w.findChild<QPushButton*>("control_1")->click(); }, 1},
        {"the cancel button", [](QWidget& w) { w.findChild<QPushButton*>("control_2")->click(); }, 2},
        {"a button the dialog handles itself", [](QWidget& w) { w.findChild<QPushButton*>("control_1022")->click(); },
         kNext},
    };
    for (const Case& c : cases) {
        EditorDialog dialog;
        EXPECT_EQ(runWithUser(dialog, c.act), c.expected) << c.what;
        EXPECT_FALSE(dialog.isVisible()) << c.what;
    }
}

TEST(ModalDialog, StandIn_GetsTheLiveInitialisedDialogOnEveryRun_WithoutAnEventLoop) {
    EditorDialog dialog;
    dialog.text = QStringLiteral("牛乳");
    bool loopRan = false;
    QTimer::singleShot(0, [&loopRan] { loopRan = true; });
    ScriptedDialogs script;
    script.expect(kEditor.id, [](ModalDialog& live) {
        EXPECT_EQ(live.windowTitle(), QStringLiteral("項目"));
        EXPECT_EQ(live.findControl<QLineEdit>(1010)->text(), QStringLiteral("牛乳"));
        live.findControl<QLineEdit>(1010)->setText(QStringLiteral("卵"));
        return ScriptedDialogs::press(live, 1);
    });
    script.expectAnswer(kEditor.id, 2);

    EXPECT_EQ(dialog.runModal(), 1);
    EXPECT_EQ(dialog.text, QStringLiteral("卵"));
    EXPECT_EQ(dialog.runModal(), 2);
    EXPECT_EQ(dialog.initialisations, 2);
    EXPECT_EQ(script.shown(), (QList<int>{kEditor.id, kEditor.id}));
    EXPECT_FALSE(loopRan);
    QCoreApplication::processEvents();
}

TEST(ModalDialog, CaptionOkDialog_HasAnOkButtonTopRight_AndEveryWayOutIsOk) {
    struct Case {
        const char* what;
        std::function<void(QWidget&)> act;
    };
    const Case cases[] = {
        {"Escape", [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"the close button", [](QWidget& w) { w.close(); }},
        {"Return", [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Return); }},
        {"the OK button", [](QWidget& w) { w.findChild<QPushButton*>("control_1")->click(); }},
    };
    for (const Case& c : cases) {
        ModalDialog about(kAbout);
        auto* ok = about.findControl<QPushButton>(1);
        ASSERT_TRUE(ok);
        EXPECT_EQ(ok->text(), QStringLiteral("OK"));
        EXPECT_LT(about.width() - ok->geometry().right(), 10);
        EXPECT_LT(ok->y(), 10);

        EXPECT_EQ(runWithUser(about, c.act), 1) << c.what;
    }
}

TEST(ModalDialog, OpensCentredOverItsOwner) {
    QWidget owner;
    owner.setGeometry(120, 80, 480, 400);
    owner.show();
    EditorDialog dialog(&owner);
    ScriptedDialogs script;
    script.expect(kEditor.id, [&owner](ModalDialog& live) {
        const QPoint offset = live.frameGeometry().center() - owner.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 1) << "dialog at " << live.x() << "," << live.y();
        EXPECT_TRUE(live.isVisible());
        return 2;
    });

    EXPECT_EQ(dialog.runModal(), 2);
}

TEST(ScriptedDialogs, AnUnexpectedDialog_FailsTheTestAndIsCancelled) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs script;
            ModalDialog about(kAbout);
            EXPECT_EQ(about.runModal(), 2);
        },
        "unexpected dialog on template 700");
}

TEST(ScriptedDialogs, AScriptedDialogThatNeverCame_FailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs script;
            script.expectAnswer(kAbout.id, 1);
        },
        "never came");
}

TEST(ModalDialogResources, AboutBox_GetsItsOkButtonAndIcons) {
    const res::DialogTemplate* dialog = res::FindDialog(res::IDD_ABOUTBOX);
    ASSERT_TRUE(dialog);
    ModalDialog about(*dialog);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("tavik のバージョン情報"));
    EXPECT_TRUE(about.findControl<QPushButton>(1));

    const QList<QLabel*> labels = about.findChildren<QLabel*>();
    const long pictures = std::count_if(labels.begin(), labels.end(),
                                        [](const QLabel* label) { return !label->pixmap().isNull(); });
    EXPECT_EQ(pictures, 2) << "icons 128 and 130 from the program's resources";

    ScriptedDialogs script;
    script.expectPress(res::IDD_ABOUTBOX, 1);
    EXPECT_EQ(about.runModal(), 1);
}

}  // namespace
}  // namespace tavik
