#pragma once
// Lowered limits of this process, for tests that make the system refuse a
// write or an open where no full disk or locked folder can be arranged (the
// tests may run as root). Each restores the old limit when it goes.

#include <csignal>

#include <sys/resource.h>

// Files may not grow past `bytes`; the signal that would end the process is
// ignored, so a write beyond the limit fails with "File too large".
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

// No further file can be opened ("Too many open files"); the files open now
// stay usable, and closing one does not make room for another.
class NoMoreOpenFiles {
public:
    NoMoreOpenFiles() {
        getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = 3;  // standard input, output and error
        setrlimit(RLIMIT_NOFILE, &lowered);
    }
    ~NoMoreOpenFiles() { setrlimit(RLIMIT_NOFILE, &saved_); }
    NoMoreOpenFiles(const NoMoreOpenFiles&) = delete;
    NoMoreOpenFiles& operator=(const NoMoreOpenFiles&) = delete;

private:
    rlimit saved_{};
};
