#pragma once
#include "framework/CHandle.h"
#include "framework/CWorkerThread.h"
#include <windows.h>
#include <string>

// Puts what a large entry's file holds so far on the disk from a second thread while the rest is
// still being inflated, so that the flush its caller makes once the file is whole finds little
// left to write. Flushing after the last byte alone would keep the caller waiting for all of it.
class ZipFlushBehind {
public:
    // Bytes written between two flushes.
    static const unsigned long long kStep = 4ull << 20;

    // The file at path must be open for writing and shared for writing: the thread flushes through
    // a handle of its own, since one handle's writes and flushes would wait for each other.
    explicit ZipFlushBehind(const std::wstring& path);
    // Returns once the thread has stopped flushing and its handle of the file is closed, so that the
    // file may be renamed.
    ~ZipFlushBehind();
    ZipFlushBehind(const ZipFlushBehind&) = delete;
    ZipFlushBehind& operator=(const ZipFlushBehind&) = delete;

    void Written(unsigned long long bytes);

private:
    void Run();

    CHandle m_file;
    CHandle m_wake;
    volatile LONG m_stopping = 0;
    unsigned long long m_unflushed = 0;
    // Last, so that it is waited for before anything it uses goes.
    CWorkerThread m_thread;
};
