// ReadOut.exe: the speech program bundled with tavik. Reads the text of its window
// aloud in Japanese; tavik fills the window and starts readings over a local channel.
// With READOUT_WAV set, the speech goes into that wave file instead of the speakers.

#include "platform/termination_signals.h"
#include "speech/readout/channel_server.h"
#include "speech/readout/readout_window.h"
#include "speech/readout/speech_engine.h"
#include "speech/speech_channel.h"

#include <QApplication>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace {

// At the end a sentence may still be playing on the speakers; it may finish, but the
// program does not wait for a stuck audio device longer than this.
constexpr int kWorkerStopTimeoutMs = 10000;

}  // namespace

int main(int argc, char** argv)
{
    using namespace tavik::readout;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ReadOut"));

    ReadOutWindow window;
    ChannelServer server([&window] { return window.isReadOnly(); });
    switch (server.listen(tavik::SpeechChannel::serverPath())) {
    case ChannelServer::Start::Listening:
        break;
    case ChannelServer::Start::AlreadyRunning:
        return EXIT_SUCCESS;
    case ChannelServer::Start::Failed:
        std::fprintf(stderr, "ReadOut: cannot listen: %s\n", qPrintable(server.errorString()));
        return EXIT_FAILURE;
    }

    QThread worker;
    worker.setObjectName(QStringLiteral("speech"));
    auto* engine = new SpeechEngine(qEnvironmentVariable("READOUT_WAV"));
    engine->moveToThread(&worker);
    QObject::connect(&worker, &QThread::started, engine, &SpeechEngine::prepare);
    QObject::connect(&worker, &QThread::finished, engine, &QObject::deleteLater);
    QObject::connect(&window, &ReadOutWindow::readingStarted, engine, &SpeechEngine::read);
    QObject::connect(engine, &SpeechEngine::finished, &window, &ReadOutWindow::endReading);
    QObject::connect(&server, &ChannelServer::textReceived, &window, &ReadOutWindow::setText);
    QObject::connect(&server, &ChannelServer::readRequested, &window, &ReadOutWindow::startReading);
    worker.start();

    tavik::TerminationSignals::install([] { QCoreApplication::quit(); });
    window.show();
    const int status = app.exec();

    server.close();
    engine->requestStop();
    worker.quit();
    if (!worker.wait(kWorkerStopTimeoutMs)) {
        std::fprintf(stderr, "ReadOut: the speech does not stop; ending without it\n");
        std::_Exit(status);
    }
    return status;
}
