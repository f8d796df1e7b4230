#include "platform/command_callbacks.h"
#include "platform/command_route.h"
#include "platform/command_table.h"

#include <QCoreApplication>
#include <QObject>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavik {
namespace {

constexpr int kOnlyInView = 10;
constexpr int kInViewAndFrame = 11;
constexpr int kOnlyInFrame = 12;
constexpr int kNowhere = 13;
constexpr int kDisabledByView = 14;
constexpr int kUpdateOnlyInFrame = 15;
constexpr int kRelabelled = 16;

// A view-like target that is a QObject.
class TestView : public QObject, public CommandTarget {
public:
    std::vector<std::string>* log = nullptr;

    void OnOnlyInView() { log->push_back("view:only"); }
    void OnShared() { log->push_back("view:shared"); }
    void OnDisabled() { log->push_back("view:disabled"); }
    void OnUpdateDisabled(CommandUi& ui) { ui.setEnabled(false); }
    void OnUpdateRelabelled(CommandUi& ui) {
        ui.setText(QStringLiteral("保存 & 終了"));
        ui.setChecked(true);
    }
    void OnRelabelled() {}

protected:
    const CommandMap& commandMap() const override {
        static const CommandTable<TestView> table{
            {kOnlyInView, &TestView::OnOnlyInView},
            {kInViewAndFrame, &TestView::OnShared},
            {kDisabledByView, &TestView::OnDisabled},
            {kDisabledByView, &TestView::OnUpdateDisabled},
            {kRelabelled, &TestView::OnRelabelled},
            {kRelabelled, &TestView::OnUpdateRelabelled},
            {kUpdateOnlyInFrame, &TestView::OnOnlyInView},
        };
        return table;
    }
};

// A frame-like target that is a plain class.
class TestFrame : public CommandTarget {
public:
    std::vector<std::string>* log = nullptr;

    void OnShared() { log->push_back("frame:shared"); }
    void OnOnlyInFrame() { log->push_back("frame:only"); }
    void OnUpdateOnlyInFrame(CommandUi& ui) { ui.setEnabled(false); }

protected:
    const CommandMap& commandMap() const override {
        static const CommandTable<TestFrame> table{
            {kInViewAndFrame, &TestFrame::OnShared},
            {kOnlyInFrame, &TestFrame::OnOnlyInFrame},
            {kUpdateOnlyInFrame, &TestFrame::OnUpdateOnlyInFrame},
        };
        return table;
    }
};

class CommandRouteTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.log = &log;
        frame.log = &log;
        route.append(view);
        route.append(document);
        route.append(frame);
        route.append(application);
    }

    std::vector<std::string> log;
    TestView view;
    CommandCallbacks document;
    TestFrame frame;
    CommandCallbacks application;
    CommandRoute route;
};

TEST_F(CommandRouteTest, Execute_GoesToTheFirstTargetThatHandlesTheCommand) {
    EXPECT_TRUE(route.execute(kInViewAndFrame));
    EXPECT_TRUE(route.execute(kOnlyInFrame));
    EXPECT_TRUE(route.execute(kOnlyInView));
    EXPECT_FALSE(route.execute(kNowhere));

    EXPECT_EQ(log, (std::vector<std::string>{"view:shared", "frame:only", "view:only"}));
}

TEST_F(CommandRouteTest, Update_FollowsTheFirstUpdateHandlerElseWhetherAnythingHandlesTheCommand) {
    struct Case {
        int id;
        bool enabled;
        const char* why;
    };
    const Case cases[] = {
        {kNowhere, false, "nothing handles it"},
        {kOnlyInFrame, true, "a handler without an update handler"},
        {kOnlyInView, true, "a handler without an update handler, first on the route"},
        {kDisabledByView, false, "the update handler disables it although a handler exists"},
        {kUpdateOnlyInFrame, false, "an update handler further down decides over a handler up front"},
    };
    for (const Case& c : cases) {
        const CommandUi ui = route.update(c.id);
        EXPECT_EQ(ui.isEnabled(), c.enabled) << c.why;
        EXPECT_FALSE(ui.isChecked()) << c.why;
        EXPECT_FALSE(ui.hasText()) << c.why;
    }
    EXPECT_TRUE(log.empty()) << "asking for a state runs no command";
}

TEST_F(CommandRouteTest, Update_CarriesTextAndCheckMarkFromTheUpdateHandler) {
    const CommandUi ui = route.update(kRelabelled);
    EXPECT_TRUE(ui.isEnabled());
    EXPECT_TRUE(ui.isChecked());
    EXPECT_TRUE(ui.hasText());
    EXPECT_EQ(ui.text(), QStringLiteral("保存 & 終了"));
}

TEST_F(CommandRouteTest, Post_RunsAfterTheCurrentHandlerReturns_InOrder) {
    document.addHandler(100, [this] {
        route.post(kOnlyInFrame);
        route.post(kOnlyInView);
        route.post(kNowhere);  // nothing handles it; it is dropped quietly
        log.push_back("handler returns");
    });

    route.execute(100);
    EXPECT_EQ(log, std::vector<std::string>{"handler returns"});

    QCoreApplication::processEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"handler returns", "frame:only", "view:only"}));
}

TEST_F(CommandRouteTest, DestroyedTarget_LeavesTheRoute) {
    {
        CommandCallbacks shortLived;
        shortLived.addHandler(kNowhere, [] {});
        route.append(shortLived);
        EXPECT_TRUE(route.execute(kNowhere));
    }
    EXPECT_FALSE(route.execute(kNowhere));
    EXPECT_FALSE(route.update(kNowhere).isEnabled());
}

TEST(CommandRoutePosting, CommandsStillQueuedWhenTheRouteEnds_AreDropped) {
    int runs = 0;
    CommandCallbacks target;
    target.addHandler(1, [&runs] { ++runs; });
    {
        CommandRoute route;
        route.append(target);
        route.post(1);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0);
}

}  // namespace
}  // namespace tavik
