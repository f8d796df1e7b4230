// Starts the program exactly as its own main does and, the moment the main window
// has first been shown (exposed and painted), prints CLOCK_REALTIME in nanoseconds
// on stdout and ends at once. startup_bench runs it and takes the time between its
// own fork and this line.
#include "app/main_frame.h"
#include "app/tavik_app.h"
#include "platform/message_box.h"

#include <QApplication>
#include <QEvent>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace tavik {
namespace {

[[noreturn]] void reportShownAndExit()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec);
    std::fflush(stdout);
    // Nothing of the shutdown belongs to the start-up time.
    std::_Exit(0);
}

// Watches the main window for its first expose. The window paints itself while
// handling that event, so the time is taken in a queued call that runs right after it.
class ShownWatcher : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed() && !m_seen) {
            m_seen = true;
            QMetaObject::invokeMethod(
                this, [] { reportShownAndExit(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool m_seen = false;
};

}  // namespace
}  // namespace tavik

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // A message box at start-up (a device root without a checklist, say) would wait for a
    // person: that is not the start measured here, so the run fails at once and says why.
    tavik::MessageBox::standIn.set([](const tavik::MessageRequest& request) -> tavik::MessageAnswer {
        std::fprintf(stderr, "startup_probe: message box before the main window: %s\n", qPrintable(request.text));
        std::_Exit(3);
    });
    tavik::CTavikApp app;
    if (!app.InitInstance()) {
        std::fprintf(stderr, "startup_probe: the program did not start (another copy runs?)\n");
        return 2;
    }
    QWindow* window = app.mainFrame() ? app.mainFrame()->windowHandle() : nullptr;
    if (!window) {
        std::fprintf(stderr, "startup_probe: the main window has no native window\n");
        return 2;
    }
    // Should start-up have run the event loop already, the window may be shown by now.
    if (window->isExposed())
        tavik::reportShownAndExit();
    tavik::ShownWatcher watcher;
    window->installEventFilter(&watcher);
    return app.Run();
}
