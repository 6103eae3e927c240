#pragma once
#include "framework/CHandle.h"
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
    static DWORD WINAPI Run(void* self);
    DWORD Extract() const;

    const void* m_package;
    unsigned long m_size;
    CString m_folder;
    int m_index;
    CString m_target;
    CHandle m_thread;
    // Set once the result is in and the files are closed: a thread's own ending, which a wait for
    // the thread would wait out too, takes another millisecond or two under Wine.
    CHandle m_finished;
    DWORD m_result = 0;
    bool m_done = false;
};
