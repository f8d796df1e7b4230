#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class QWidget;

namespace tavik {

// One worker thread that waits for two manual-reset signals, stop and job, and runs
// DoJob() for each job. A job signalled while DoJob() runs is served after it; several
// collapse into one. When both are signalled, stop wins. A job waits only through
// pause(), so that a stop ends it at once. Order of use: construct, Start(),
// setOwnerWindow(), any number of Trigger(); at the end Stop(), then destroy.
class CWorkerThread {
public:
    CWorkerThread() = default;
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;
    // Ends a thread still running, waiting for a job in progress.
    virtual ~CWorkerThread();

    // Creates the thread and returns once it waits for its signals; false when it
    // exists already or cannot be created.
    bool Start();
    // Signals the job.
    void Trigger();
    // Drops a pending job, signals stop and returns when the thread has ended: a job in
    // progress gives up at its next pause. The only wait of the caller's thread on the worker.
    void Stop();

    // The window the worker brings back to the front; set right after Start().
    void setOwnerWindow(QWidget* owner) { m_hOwnerWnd = owner; }

protected:
    // Runs on the worker thread, once for each job.
    virtual void DoJob() = 0;
    QWidget* ownerWindow() const { return m_hOwnerWnd; }
    // Waits `duration` on the worker thread; false, at once, when stop has been signalled:
    // the job is to give up.
    bool pause(std::chrono::milliseconds duration);
    bool stopSignalled();

private:
    void ThreadProc();

    std::atomic<bool> m_bFinished{false};
    std::atomic<bool> m_bWaiting{false};
    std::thread m_thread;
    // The two manual-reset signals, under one lock so the thread waits for either.
    std::mutex m_eventLock;
    std::condition_variable m_eventChanged;
    bool m_stopSignalled = false;
    bool m_jobSignalled = false;
    std::atomic<QWidget*> m_hOwnerWnd{nullptr};
};

}  // namespace tavik
