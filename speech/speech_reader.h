#pragma once

#include "speech/worker_thread.h"

#include <QString>

#include <mutex>

namespace tavik {

// Has a text read aloud by the speech program, on the worker thread: finds the program
// (starting it when nobody listens), hands it the text, tells it to read and waits
// until it has finished. The caller's thread never waits for the program: Stop() leaves
// a reading in progress to the program and returns. Nothing is reported: a program that
// cannot be reached ends the job quietly and the text waits for the next one.
class CSpeechReader : public CWorkerThread {
public:
    // The speech program, as a device path.
    static const QString kProgram;

    // Stops the thread before the reader goes, so a job never runs on a half-destroyed reader.
    ~CSpeechReader() override;

    // Replaces the text to read and signals a job.
    void Speak(const QString& text);

protected:
    void DoJob() override;

private:
    void bringOwnerToFront();

    QString m_text;
    std::mutex m_textLock;
};

}  // namespace tavik
