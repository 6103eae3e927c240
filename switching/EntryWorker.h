#pragma once
#include "framework/CWorkerThread.h"
#include "framework/CString.h"
#include <windows.h>

// One entry of a package extracted on a second thread, from a reader of its own, while the
// launcher's thread extracts the others: inflating is most of a switch, and the largest game
// file takes as long as all the rest together. Without a thread it is extracted when asked for.
class EntryWorker {
public:
    // Starts extracting entry index of the package into target, a name below folder.
    EntryWorker(const void* package, unsigned long size, const CString& folder, int index, const CString& target);
    // Waits for the thread: nothing of it writes once the worker is gone.
    ~EntryWorker();
    EntryWorker(const EntryWorker&) = delete;
    EntryWorker& operator=(const EntryWorker&) = delete;

    // Waits; the reader's result for the entry (ZIPRES_OK when it was written whole).
    DWORD Result();

private:
    DWORD Extract() const;

    const void* m_package;
    unsigned long m_size;
    CString m_folder;
    int m_index;
    CString m_target;
    DWORD m_result = 0;
    bool m_done = false;
    // Last, so that it is waited for before anything it uses goes.
    CWorkerThread m_thread;
};
