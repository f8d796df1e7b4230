#include "speech/worker_thread.h"

#include <chrono>
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
    // Linux has no priority to lend the worker here; joining is the whole wait.
    m_thread.join();
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
