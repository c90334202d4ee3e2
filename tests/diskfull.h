#pragma once

#include <sys/resource.h>

#include <csignal>

// While it lives, writes that would make a file larger than `bytes` fail as they do on a full
// disk. A file size limit binds root too, where permissions would not.
class DiskFullGuard
{
public:
    explicit DiskFullGuard(rlim_t bytes)
    {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (getrlimit(RLIMIT_FSIZE, &m_saved) != 0)
            return;
        rlimit small = m_saved;
        small.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~DiskFullGuard()
    {
        if (m_active)
            setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    DiskFullGuard(const DiskFullGuard &) = delete;
    DiskFullGuard &operator=(const DiskFullGuard &) = delete;

    bool active() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_previousHandler)(int) = nullptr;
    bool m_active = false;
};
