#include "speech/worker_thread.h"

#include <system_error>

namespace tavik {

CWorkerThread::~CWorkerThread()
{
    Stop();
}

bool CWorkerThread::Start()
{
    if (m_thread.joinable())
        return false;
    m_bWaiting = false;
    try {
        m_thread = std::thread([this] { ThreadProc(); });
    } catch (const std::system_error&) {
        return false;
    }
    // Returns once the thread is in its wait, so that a Trigger() right after is served.
    while (!m_bWaiting && !m_bFinished)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return true;
}

void CWorkerThread::Trigger()
{
    {
        const std::lock_guard lock(m_eventLock);
        m_jobSignalled = true;
    }
    m_eventChanged.notify_all();
}

void CWorkerThread::Stop()
{
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard lock(m_eventLock);
        m_jobSignalled = false;
        m_stopSignalled = true;
    }
    m_eventChanged.notify_all();
    // A job in progress notices the stop at its next pause, so this wait is short however
    // long the speech program goes on reading.
    m_thread.join();
}

bool CWorkerThread::pause(std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_eventLock);
    return !m_eventChanged.wait_for(lock, duration, [this] { return m_stopSignalled; });
}

bool CWorkerThread::stopSignalled()
{
    const std::lock_guard lock(m_eventLock);
    return m_stopSignalled;
}

void CWorkerThread::ThreadProc()
{
    std::unique_lock lock(m_eventLock);
    for (;;) {
        m_bWaiting = true;
        m_eventChanged.wait(lock, [this] { return m_stopSignalled || m_jobSignalled; });
        m_bWaiting = false;
        if (m_stopSignalled)
            break;
        // Reset before the job: a job signalled while it runs is served afterwards.
        m_jobSignalled = false;
        lock.unlock();
        DoJob();
        lock.lock();
    }
    m_bFinished = true;
}

}  // namespace tavik
