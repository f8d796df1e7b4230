// The program with a large checklist open, beside the checklist model alone:
//
//   window_bench                        the whole table, on a 1,000,000-item checklist made
//                                       on the fly (or the file named by TAVIK_BENCH_FILE)
//   window_bench --memory-model FILE    reads FILE into a checklist, nothing else
//   window_bench --memory-window FILE   starts the program with FILE as its remembered
//                                       checklist, up to the list's first paint
//
// The table:
//   model-only load     reading the file and parsing it into a fresh checklist (median of 5)
//   open in the window  from just before InitInstance(), with the file remembered, to the
//                       end of the list's first paint (median of 5 in this process)
//   one mark            pressing "○" on row 500,000, to the end of the repaint of the list
//                       and the counter (median of 20), and the counter's recount alone
//   one undo            Ctrl+Z of one of those marks, to the repaint (median of 20)
//   history memory      the heap the history holds after 10,000 marks on as many rows
//   one edit            "編集" on row 500,000 answered with OK in the editor (through the
//                       dialog seam), to the file written and the list repainted (median
//                       of 5), beside `tavik-lst rewrite` of the same file (median of 5)
//   identity check      what each write adds to see whether another program changed the
//                       file (median of 1000), beside a whole write (median of 5)
//   one move            "下へ移動" on row 500,000, to the repaint (median of 20)
//   fresh process       each --memory mode run in a fresh process of this program (median
//                       of 5): its time to the checklist read or the list painted, and its
//                       resident and peak memory then; they print "memory RSS_KB PEAK_KB MS"
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise. Every run has
// its own device root, settings and runtime folders. Message boxes are answered at
// once and counted; reading this file should show none.
#include "app/tavik_app.h"
#include "bench/median.h"
#include "model/checklist.h"
#include "model/checklist_file.h"
#include "platform/device_file_system.h"
#include "platform/fileio/file_io.h"
#include "platform/message_box.h"
#include "platform/modal_dialog.h"
#include "platform/profile_store.h"
#include "platform/qt_text.h"
#include "res/resources.h"
#include "samples/large_checklist.h"
#include "view/checklist_table_model.h"
#include "view/tavik_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavik {
namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr std::size_t kItems = 1'000'000;
constexpr int kLoadRuns = 5;
constexpr int kOpenRuns = 5;
constexpr int kMarkPresses = 20;
constexpr int kChildRuns = 5;
constexpr int kEditRuns = 5;
constexpr int kMoveRuns = 20;
constexpr int kRewriteRuns = 5;
constexpr int kMarkedRow = 500'000;
constexpr int kHistorySteps = 10'000;
constexpr auto kPaintTimeout = std::chrono::seconds(30);
constexpr int kChildTimeoutMs = 120'000;

// Where the checklist lies on the device, as the settings remember it.
const QString kDeviceFolder = QStringLiteral("\\bench");
const QString kFileName = QStringLiteral("large.lst");

int g_messageBoxes = 0;
QtMessageHandler g_qtMessageHandler = nullptr;

// The offscreen platform notes every window call it cannot carry out; here those say nothing.
void QuietQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    g_qtMessageHandler(type, context, message);
}

double MsSince(SteadyClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

std::string Samples(const std::vector<double>& samples)
{
    std::string text;
    for (const double sample : samples) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%s%.1f", text.empty() ? "" : " ", sample);
        text += buffer;
    }
    return text;
}

struct MemoryUse {
    long long residentKb = 0;
    long long peakKb = 0;
};

// VmRSS and VmHWM of this process.
MemoryUse ReadMemoryUse()
{
    MemoryUse use;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        long long kb = 0;
        if (std::sscanf(line.c_str(), "VmRSS: %lld kB", &kb) == 1)
            use.residentKb = kb;
        else if (std::sscanf(line.c_str(), "VmHWM: %lld kB", &kb) == 1)
            use.peakKb = kb;
    }
    return use;
}

void PrintMemoryLine(const MemoryUse& use, double ms)
{
    std::printf("memory %lld %lld %.1f\n", use.residentKb, use.peakKb, ms);
    std::fflush(stdout);
}

// The device root, the settings and the runtime folder of one run, made before the
// application exists (Qt reads the settings location once) and removed afterwards.
class RunFolders {
public:
    RunFolders()
    {
        qputenv("TAVIK_ROOT", m_root.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    }

    bool valid() const { return m_root.isValid() && m_config.isValid() && m_runtime.isValid(); }

    // Where the remembered checklist has to lie: $TAVIK_ROOT/bench/large.lst.
    std::filesystem::path checklistPath() const
    {
        return std::filesystem::path(m_root.path().toStdString()) / "bench" / kFileName.toStdString();
    }

private:
    QTemporaryDir m_root;
    QTemporaryDir m_config;
    QTemporaryDir m_runtime;
};

bool PlaceBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

// A copy made by the kernel: the copying process's own memory stays as it was.
bool PlaceCopy(const std::filesystem::path& path, const std::filesystem::path& source)
{
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    return std::filesystem::copy_file(source, path, std::filesystem::copy_options::overwrite_existing, error);
}

// Once the application exists: message boxes answered and counted, the checklist remembered.
void PrepareProgram()
{
    MessageBox::standIn.set([](const MessageRequest& request) {
        ++g_messageBoxes;
        std::fprintf(stderr, "window_bench: message box: %s\n", qPrintable(request.text));
        return MessageAnswer::Ok;
    });
    ProfileStore::writeString(QStringLiteral("MRU"), QStringLiteral("Folder"), kDeviceFolder);
    ProfileStore::writeString(QStringLiteral("MRU"), QStringLiteral("FileName"), kFileName);
}

// Watches every widget for a paint of a list's viewport; the program has one list.
class ListPaintWatcher : public QObject {
public:
    ListPaintWatcher() { QCoreApplication::instance()->installEventFilter(this); }
    ~ListPaintWatcher() override { QCoreApplication::instance()->removeEventFilter(this); }

    void reset() { m_painted = false; }
    bool painted() const { return m_painted; }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            auto* widget = qobject_cast<QWidget*>(watched);
            auto* list = widget ? qobject_cast<QTableView*>(widget->parentWidget()) : nullptr;
            if (list && list->viewport() == widget)
                m_painted = true;
        }
        return false;
    }

private:
    bool m_painted = false;
};

// Runs the event loop until the list has painted. The paint is seen as it starts;
// the loop returns once the whole window has been painted and flushed with it.
bool ProcessEventsUntilPainted(const ListPaintWatcher& watcher)
{
    const auto deadline = SteadyClock::now() + kPaintTimeout;
    while (!watcher.painted()) {
        if (SteadyClock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

// One start of the program with the checklist remembered, timed from just before
// InitInstance() to the end of the list's first paint. The program stays open in `app`.
std::optional<double> OpenInWindow(std::unique_ptr<CTavikApp>& app, ListPaintWatcher& watcher)
{
    watcher.reset();
    const auto started = SteadyClock::now();
    app = std::make_unique<CTavikApp>();
    if (!app->InitInstance() || !app->view()) {
        app.reset();
        std::fprintf(stderr, "window_bench: the program did not start\n");
        return std::nullopt;
    }
    if (!ProcessEventsUntilPainted(watcher)) {
        std::fprintf(stderr, "window_bench: the list was not painted within %lld s\n",
            static_cast<long long>(kPaintTimeout.count()));
        return std::nullopt;
    }
    return MsSince(started);
}

// Ends the program without writing anything back.
void CloseWindow(std::unique_ptr<CTavikApp>& app)
{
    if (!app)
        return;
    if (CTavikView* view = app->view())
        view->checklist().setModified(false);
    app->ExitInstance();
    app.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool HasAllRows(const CTavikApp& app, std::size_t rows)
{
    const CTavikView* view = app.view();
    if (view && view->listModel()->rowCount() == static_cast<int>(rows))
        return true;
    std::fprintf(stderr, "window_bench: the list shows %d rows, the file has %zu\n",
        view ? view->listModel()->rowCount() : -1, rows);
    return false;
}

std::optional<std::vector<double>> TimeModelLoads(const std::filesystem::path& path, std::size_t& rows)
{
    std::vector<double> samples;
    for (int run = 0; run < kLoadRuns; ++run) {
        Checklist checklist;
        const auto started = SteadyClock::now();
        {
            // The bytes go once parsed, as when the program opens a file.
            const auto bytes = FileIo::readWholeFile(path.string());
            if (!bytes) {
                std::fprintf(stderr, "window_bench: %s\n", bytes.reason().reason.c_str());
                return std::nullopt;
            }
            ReadChecklist(bytes->bytes, checklist);
        }
        samples.push_back(MsSince(started));
        rows = checklist.rowCount();
    }
    return samples;
}

// Presses "○" on row kMarkedRow again and again, each time up to the end of the repaint.
std::optional<std::vector<double>> TimeMarks(CTavikApp& app, ListPaintWatcher& watcher)
{
    CTavikView& view = *app.view();
    QTableView& list = *view.list();
    const QModelIndex target = view.listModel()->index(kMarkedRow, 0);
    watcher.reset();
    list.setCurrentIndex(target);
    if (!ProcessEventsUntilPainted(watcher) || view.GetSelectedRow() != kMarkedRow
        || !list.viewport()->rect().intersects(list.visualRect(target))) {
        std::fprintf(stderr, "window_bench: row %d is not selected and shown\n", kMarkedRow);
        return std::nullopt;
    }
    QPushButton* button = view.findControl<QPushButton>(res::IDC_MARK_BUTTON);
    std::vector<double> samples;
    for (int press = 0; press < kMarkPresses; ++press) {
        watcher.reset();
        const auto started = SteadyClock::now();
        button->click();
        if (!ProcessEventsUntilPainted(watcher)) {
            std::fprintf(stderr, "window_bench: the list was not repainted after a mark\n");
            return std::nullopt;
        }
        samples.push_back(MsSince(started));
    }
    return samples;
}

// Selects `row`, shown in the list, and waits for the repaint.
bool SelectShown(CTavikView& view, ListPaintWatcher& watcher, int row)
{
    QTableView& list = *view.list();
    const QModelIndex target = view.listModel()->index(row, 0);
    const bool shown = view.GetSelectedRow() == row && list.viewport()->rect().intersects(list.visualRect(target));
    if (!shown) {
        watcher.reset();
        list.setCurrentIndex(target);
        list.scrollTo(target);
    }
    if ((shown || ProcessEventsUntilPainted(watcher)) && view.GetSelectedRow() == row
        && list.viewport()->rect().intersects(list.visualRect(target)))
        return true;
    std::fprintf(stderr, "window_bench: row %d is not selected and shown\n", row);
    return false;
}

// Runs `command` on the view and waits for the list's repaint; gives the time taken.
std::optional<double> TimeCommand(CTavikView& view, ListPaintWatcher& watcher, int command)
{
    watcher.reset();
    const auto started = SteadyClock::now();
    view.executeCommand(command);
    if (!ProcessEventsUntilPainted(watcher)) {
        std::fprintf(stderr, "window_bench: the list was not repainted after command %d\n", command);
        return std::nullopt;
    }
    return MsSince(started);
}

// Takes back the marks TimeMarks() made, one Ctrl+Z at a time, each up to the repaint.
std::optional<std::vector<double>> TimeUndos(CTavikView& view, ListPaintWatcher& watcher)
{
    std::vector<double> samples;
    for (int press = 0; press < kMarkPresses; ++press) {
        const std::optional<double> ms = TimeCommand(view, watcher, res::ID_EDIT_UNDO);
        if (!ms)
            return std::nullopt;
        samples.push_back(*ms);
    }
    if (view.checklist().modified() || view.history().canUndo()) {
        std::fprintf(stderr, "window_bench: the undos did not bring the checklist back to its file\n");
        return std::nullopt;
    }
    return samples;
}

// The heap the history takes for kHistorySteps marks, each on a row of its own, in bytes.
double HistoryBytes(CTavikView& view)
{
    const std::size_t before = mallinfo2().uordblks;
    QTableView& list = *view.list();
    for (int step = 0; step < kHistorySteps; ++step) {
        list.setCurrentIndex(view.listModel()->index(step * 97, 0));
        view.executeCommand(res::IDC_MARK_BUTTON);
    }
    const std::size_t after = mallinfo2().uordblks;
    if (view.history().count() != kHistorySteps)
        return 0;
    return static_cast<double>(after) - static_cast<double>(before);
}

// "編集" on row kMarkedRow, the editor answered with OK as soon as it is up: the row is
// re-dated and the whole file written before the list repaints.
std::optional<std::vector<double>> TimeEdits(CTavikView& view, ListPaintWatcher& watcher)
{
    if (!SelectShown(view, watcher, kMarkedRow))
        return std::nullopt;
    ModalDialog::standIn.set([](ModalDialog& dialog) {
        dialog.findControl<QAbstractButton>(IDOK)->click();
        return dialog.endResult().value_or(IDCANCEL);
    });
    std::vector<double> samples;
    for (int run = 0; run < kEditRuns; ++run) {
        const std::optional<double> ms = TimeCommand(view, watcher, res::IDC_EDIT_ITEM);
        if (!ms || view.checklist().modified())
            break;
        samples.push_back(*ms);
    }
    ModalDialog::standIn.set(nullptr);
    if (samples.size() != kEditRuns) {
        std::fprintf(stderr, "window_bench: an edit was not written\n");
        return std::nullopt;
    }
    return samples;
}

// What a write adds to find out whether another program changed the file: the identity
// of the file on disk (median of 1000, in microseconds), beside a whole write of the
// checklist (median of 5, in milliseconds).
std::pair<double, double> TimeIdentityCheck(CTavikView& view)
{
    const QString devicePath = kDeviceFolder + QLatin1Char('\\') + kFileName;
    std::vector<double> checks;
    for (int run = 0; run < 1000; ++run) {
        const auto started = SteadyClock::now();
        const std::optional<FileIdentity> identity = DeviceFileSystem::identity(devicePath);
        checks.push_back(MsSince(started) * 1000.0);
        if (!identity)
            return {0, 0};
    }
    std::vector<double> writes;
    for (int run = 0; run < kEditRuns; ++run) {
        view.checklist().setModified(true);
        const auto started = SteadyClock::now();
        view.SaveCurrentFile();
        writes.push_back(MsSince(started));
    }
    return {Median(checks), Median(writes)};
}

// "下へ移動" on row kMarkedRow; the row is chosen again before each move, untimed.
std::optional<std::vector<double>> TimeMoves(CTavikView& view, ListPaintWatcher& watcher)
{
    std::vector<double> samples;
    for (int run = 0; run < kMoveRuns; ++run) {
        if (!SelectShown(view, watcher, kMarkedRow))
            return std::nullopt;
        const std::optional<double> ms = TimeCommand(view, watcher, res::ID_MOVE_DOWN);
        if (!ms)
            return std::nullopt;
        samples.push_back(*ms);
    }
    return samples;
}

// The command-line tool reading and writing the same file in place, process start included.
std::optional<std::vector<double>> TimeToolRewrites(const std::filesystem::path& file)
{
    std::vector<double> samples;
    for (int run = 0; run < kRewriteRuns; ++run) {
        QProcess tool;
        const auto started = SteadyClock::now();
        tool.start(QStringLiteral(TAVIK_LST), {QStringLiteral("rewrite"), QString::fromStdString(file.string())});
        if (!tool.waitForFinished(kChildTimeoutMs) || tool.exitStatus() != QProcess::NormalExit
            || tool.exitCode() != 0) {
            std::fprintf(stderr, "window_bench: tavik-lst rewrite failed: %s\n", tool.readAllStandardError().data());
            return std::nullopt;
        }
        samples.push_back(MsSince(started));
    }
    return samples;
}

// The part of a mark that recounts the whole checklist for the counter, alone.
struct ChildRun {
    MemoryUse use;
    double ms = 0;
};

// Runs this program again in `mode` on `file` and reads the line it prints.
std::optional<ChildRun> RunChild(const QString& mode, const std::filesystem::path& file)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {mode, QString::fromStdString(file.string())});
    if (!child.waitForFinished(kChildTimeoutMs) || child.exitStatus() != QProcess::NormalExit
        || child.exitCode() != 0) {
        const QString error = child.errorString();
        const int exitCode = child.exitCode();
        child.kill();
        child.waitForFinished();
        std::fprintf(stderr, "window_bench: %s failed (%s, exit code %d):\n%s\n", qPrintable(mode), qPrintable(error),
            exitCode, child.readAllStandardError().data());
        return std::nullopt;
    }
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        ChildRun result;
        if (std::sscanf(
                line.constData(), "memory %lld %lld %lf", &result.use.residentKb, &result.use.peakKb, &result.ms)
            == 3)
            return result;
    }
    std::fprintf(stderr, "window_bench: %s printed no memory line\n", qPrintable(mode));
    return std::nullopt;
}

const char* Verdict(bool reached)
{
    return reached ? "reached" : "NOT reached";
}

double Mb(double kb)
{
    return kb / 1024.0;
}

// The medians of several fresh processes in one mode.
struct ChildMedians {
    double residentKb = 0;
    double peakKb = 0;
    double ms = 0;
};

std::optional<ChildMedians> RunChildren(const QString& mode, const std::filesystem::path& file)
{
    std::vector<double> resident;
    std::vector<double> peak;
    std::vector<double> ms;
    for (int run = 0; run < kChildRuns; ++run) {
        const std::optional<ChildRun> child = RunChild(mode, file);
        if (!child)
            return std::nullopt;
        resident.push_back(static_cast<double>(child->use.residentKb));
        peak.push_back(static_cast<double>(child->use.peakKb));
        ms.push_back(child->ms);
    }
    return ChildMedians{Median(resident), Median(peak), Median(ms)};
}

// --memory-model FILE: the checklist alone, as load_peak_memory does, without Qt started.
int MeasureModelMemory(const char* file)
{
    Checklist checklist;
    const auto started = SteadyClock::now();
    {
        const auto bytes = FileIo::readWholeFile(file);
        if (!bytes) {
            std::fprintf(stderr, "window_bench: %s\n", bytes.reason().reason.c_str());
            return 2;
        }
        ReadChecklist(bytes->bytes, checklist);
    }
    const double loadMs = MsSince(started);
    if (checklist.rowCount() == 0) {
        std::fprintf(stderr, "window_bench: %s holds no rows\n", file);
        return 2;
    }
    PrintMemoryLine(ReadMemoryUse(), loadMs);
    return 0;
}

// --memory-window FILE: the program with FILE open, measured after the list's first paint.
int MeasureWindowMemory(int argc, char** argv, const char* file)
{
    RunFolders folders;
    if (!folders.valid() || !PlaceCopy(folders.checklistPath(), file)) {
        std::fprintf(stderr, "window_bench: cannot set up the device root\n");
        return 2;
    }
    QApplication application(argc, argv);
    PrepareProgram();
    ListPaintWatcher watcher;
    std::unique_ptr<CTavikApp> app;
    const std::optional<double> openMs = OpenInWindow(app, watcher);
    if (!openMs)
        return 2;
    PrintMemoryLine(ReadMemoryUse(), *openMs);
    CloseWindow(app);
    return g_messageBoxes == 0 ? 0 : 2;
}

int RunTable(int argc, char** argv)
{
    RunFolders folders;
    const std::filesystem::path path = folders.checklistPath();
    bool placed = false;
    if (const char* source = std::getenv("TAVIK_BENCH_FILE"); source && *source)
        placed = folders.valid() && PlaceCopy(path, source);
    else
        placed = folders.valid() && PlaceBytes(path, MakeLargeChecklistFile(kItems));
    if (!placed) {
        std::fprintf(stderr, "window_bench: cannot place the checklist at %s\n", path.c_str());
        return 2;
    }

    QApplication application(argc, argv);
    PrepareProgram();
    std::printf("window_bench on %s (%.1f MB), platform %s\n", path.filename().c_str(),
        static_cast<double>(std::filesystem::file_size(path)) / 1e6, qPrintable(QGuiApplication::platformName()));

    std::size_t rows = 0;
    const auto loads = TimeModelLoads(path, rows);
    if (!loads)
        return 1;
    const double loadMs = Median(*loads);
    std::printf(
        "model-only load (read + parse, %zu rows)     %8.1f ms   [%s]\n", rows, loadMs, Samples(*loads).c_str());
    std::fflush(stdout);

    ListPaintWatcher watcher;
    std::unique_ptr<CTavikApp> app;
    std::vector<double> opens;
    for (int run = 0; run < kOpenRuns; ++run) {
        if (run > 0)
            CloseWindow(app);
        const std::optional<double> ms = OpenInWindow(app, watcher);
        if (!ms || !HasAllRows(*app, rows))
            return 1;
        opens.push_back(*ms);
    }
    const double openMs = Median(opens);
    std::printf("open in the window (to the list's first paint)%8.1f ms   [%s]  %.2f x model-only, goal <= 2 x: %s\n",
        openMs, Samples(opens).c_str(), openMs / loadMs, Verdict(openMs <= 2 * loadMs));
    std::fflush(stdout);

    const auto marks = TimeMarks(*app, watcher);
    if (!marks)
        return 1;
    const double markMs = Median(*marks);
    std::printf("one mark on row %d (to the repaint)        %8.2f ms   [min %.2f, max %.2f]  goal <= 1 ms: %s\n",
        kMarkedRow, markMs, *std::min_element(marks->begin(), marks->end()),
        *std::max_element(marks->begin(), marks->end()), Verdict(markMs <= 1));
    const ItemRow marked = app->view()->checklist().row(kMarkedRow);
    std::printf("  row %d now marked \"%s\" dated %s; counter \"%s\"\n", kMarkedRow,
        qPrintable(ToQString(MarkText(marked.mark))), qPrintable(ToQString(marked.date)),
        qPrintable(app->view()->counter()->text().replace(QLatin1Char('\n'), QLatin1Char(' '))));
    std::fflush(stdout);

    const auto undos = TimeUndos(*app->view(), watcher);
    if (!undos)
        return 1;
    const double undoMs = Median(*undos);
    std::printf("one undo of a mark (Ctrl+Z, to the repaint)  %8.2f ms   [min %.2f, max %.2f]  goal <= 1 ms: %s\n",
        undoMs, *std::min_element(undos->begin(), undos->end()), *std::max_element(undos->begin(), undos->end()),
        Verdict(undoMs <= 1));
    const double historyBytes = HistoryBytes(*app->view());
    std::printf("history after %d marks: %.2f MB, %.0f bytes a step (the checklist holds %zu rows)\n", kHistorySteps,
        historyBytes / 1e6, historyBytes / kHistorySteps, rows);
    std::fflush(stdout);

    // The marks left the checklist unsaved; written once, so each edit below starts alike.
    app->view()->SaveCurrentFile();
    const auto edits = TimeEdits(*app->view(), watcher);
    // Before the tool's rewrites, which to the program are another program's changes.
    const auto [checkUs, writeMs] = TimeIdentityCheck(*app->view());
    const auto rewrites = TimeToolRewrites(path);
    if (!edits || !rewrites)
        return 1;
    const double editMs = Median(*edits);
    const double rewriteMs = Median(*rewrites);
    std::printf("one edit on row %d (OK, to written and repainted)%6.1f ms   [%s]\n", kMarkedRow, editMs,
        Samples(*edits).c_str());
    std::printf(
        "  tavik-lst rewrite of the same file          %8.1f ms   [%s]  edit %.2f x rewrite, goal <= 1.3 x: %s\n",
        rewriteMs, Samples(*rewrites).c_str(), editMs / rewriteMs, Verdict(editMs <= 1.3 * rewriteMs));
    std::printf("  the identity check before each write (one stat) %6.1f us, the write itself %6.1f ms: %.3f %%, "
                "goal < 1 %%: %s\n",
        checkUs, writeMs, checkUs / 10.0 / writeMs, Verdict(checkUs / 1000.0 < 0.01 * writeMs));
    const auto moves = TimeMoves(*app->view(), watcher);
    if (!moves)
        return 1;
    const double moveMs = Median(*moves);
    std::printf("one move down on row %d (to the repaint)     %8.2f ms   [min %.2f, max %.2f]  goal <= 16 ms: %s\n",
        kMarkedRow, moveMs, *std::min_element(moves->begin(), moves->end()),
        *std::max_element(moves->begin(), moves->end()), Verdict(moveMs <= 16));
    std::fflush(stdout);
    CloseWindow(app);

    const auto model = RunChildren(QStringLiteral("--memory-model"), path);
    const auto window = RunChildren(QStringLiteral("--memory-window"), path);
    if (!model || !window)
        return 1;
    std::printf("fresh processes, median of %d:\n", kChildRuns);
    std::printf("  model-only: load %.1f ms, resident %.1f MB, peak %.1f MB\n", model->ms, Mb(model->residentKb),
        Mb(model->peakKb));
    std::printf("  program:    open to the first paint %.1f ms (%.2f x), resident %.1f MB (%.2f x), peak %.1f MB "
                "(%.2f x)\n",
        window->ms, window->ms / model->ms, Mb(window->residentKb), window->residentKb / model->residentKb,
        Mb(window->peakKb), window->peakKb / model->peakKb);
    std::printf("  resident memory goal <= 160 MB: %s\n", Verdict(Mb(window->residentKb) <= 160));
    std::printf("message boxes shown: %d\n", g_messageBoxes);
    return g_messageBoxes == 0 ? 0 : 1;
}

}  // namespace
}  // namespace tavik

int main(int argc, char** argv)
{
    // No display is needed unless the caller asks for one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    tavik::g_qtMessageHandler = qInstallMessageHandler(tavik::QuietQtMessages);
    if (argc == 3 && std::strcmp(argv[1], "--memory-model") == 0)
        return tavik::MeasureModelMemory(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--memory-window") == 0)
        return tavik::MeasureWindowMemory(argc, argv, argv[2]);
    if (argc != 1) {
        std::fprintf(stderr, "usage: window_bench [--memory-model FILE | --memory-window FILE]\n");
        return 2;
    }
    return tavik::RunTable(argc, argv);
}
