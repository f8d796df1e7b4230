// The item editor's link buttons on four 12-megapixel JPEG photos:
//
//   link_button_bench            writes four 4000 × 3000 photo-like JPEGs into a
//                                device root of its own and opens the editor on a
//                                comment naming them, five times
//
// The table:
//   first paint      from opening the editor to the end of its first paint, the four
//                    buttons with it, each photo decoded and shrunk on the way (median of 5)
//   repaint          all four buttons painted again (median of 20)
//   full-size decode the four photos decoded at full size, one after the other: what
//                    every paint would cost if the buttons decoded at full size each time
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "bench/median.h"
#include "itemdlg/item_dlg.h"
#include "platform/message_box.h"
#include "platform/modal_dialog.h"
#include "res/command_ids.h"
#include "tests/support/test_jpeg.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace tavik {
namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kOpenRuns = 5;
constexpr int kRepaintRuns = 20;
const int kButtons[] = {res::IDC_LINK1, res::IDC_LINK2, res::IDC_LINK3, res::IDC_LINK4};

double MsSince(SteadyClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

// A smooth scene with fine grain, so the file holds about as much detail as a camera's.
QColor PhotoPixel(int x, int y, int seed)
{
    unsigned grain = static_cast<unsigned>(x * 7919 + y * 104729 + seed * 1299709);
    grain ^= grain >> 13;
    grain *= 0x5bd1e995u;
    grain ^= grain >> 15;
    const int noise = static_cast<int>(grain % 41) - 20;
    return QColor(std::clamp(x * 255 / kWidth + noise, 0, 255), std::clamp(y * 255 / kHeight + noise, 0, 255),
        std::clamp((x + y) * 255 / (kWidth + kHeight) + seed * 40 + noise, 0, 255));
}

int Run()
{
    QTemporaryDir root;
    qputenv("TAVIK_ROOT", QFile::encodeName(root.path()));
    QDir(root.path()).mkpath(QStringLiteral("My Documents"));
    QString comment;
    QStringList devicePaths;
    for (int i = 0; i < 4; ++i) {
        TestJpeg photo{.width = kWidth, .height = kHeight};
        photo.pixel = [i](int x, int y) { return PhotoPixel(x, y, i); };
        const QString name = QStringLiteral("photo%1.jpg").arg(i + 1);
        const QString host = root.filePath(QStringLiteral("My Documents/") + name);
        if (!WriteTestJpeg(host, photo)) {
            std::fprintf(stderr, "link_button_bench: cannot write %s\n", qPrintable(host));
            return 1;
        }
        std::printf("photo %d: %d x %d, %.1f MB\n", i + 1, kWidth, kHeight, QFileInfo(host).size() / 1e6);
        devicePaths << QStringLiteral("\\My Documents\\") + name;
        comment += devicePaths.last() + QStringLiteral("\r\n");
    }
    MessageBox::standIn.set([](const MessageRequest& request) {
        std::fprintf(stderr, "link_button_bench: message box: %s\n", qPrintable(request.text));
        return MessageAnswer::Ok;
    });

    std::vector<double> firstPaints;
    std::vector<double> repaints;
    double fullSize = 0;
    for (int run = 0; run < kOpenRuns; ++run) {
        CItemDlg dialog;
        dialog.m_strComment = comment;
        const auto opened = SteadyClock::now();
        ModalDialog::standIn.set([&](ModalDialog& live) {
            live.grab();  // the whole editor painted once, the four buttons with it
            firstPaints.push_back(MsSince(opened));
            for (int i = 0; i < kRepaintRuns / kOpenRuns; ++i) {
                const auto start = SteadyClock::now();
                for (int id : kButtons)
                    live.findControl(id)->grab();
                repaints.push_back(MsSince(start));
            }
            if (run == 0) {
                const auto start = SteadyClock::now();
                QStringList messages;
                for (const QString& path : devicePaths)
                    CItemDlg::LoadJpegBitmap(path, messages);
                fullSize = MsSince(start);
            }
            return IDCANCEL;
        });
        dialog.runModal();
        ModalDialog::standIn.set(nullptr);
    }
    std::printf("first paint of the four buttons   %8.1f ms (median of %d)\n", Median(firstPaints), kOpenRuns);
    std::printf("repaint of the four buttons       %8.2f ms (median of %d)\n", Median(repaints), kRepaintRuns);
    std::printf("full-size decode of the four      %8.1f ms\n", fullSize);
    return 0;
}

}  // namespace
}  // namespace tavik

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return tavik::Run();
}
