#pragma once
#include <string>
#include "foundation/ke/critical_section.h"
#include "foundation/ke/task.h"
#include "foundation/ke/task_mgr.h"

// Work that follows a finished download (install jobs, opening a download
// that no view watches) runs one job at a time, in posting order, on one
// dedicated thread that lives as long as the process.
class CompleteQueue {
public:
    // Created on first use, never destroyed.
    static CompleteQueue& Instance();

    // Starts the worker; true when exactly one thread was created and
    // resumed. Later calls return the first call's result and start nothing.
    bool Start();
    // Queues a task; false only when the queue cannot take it. Any thread.
    bool Post(const ke::task& job);
    // Queues opening the downloaded installer of the soft id.
    bool PostOpenInstaller(int soft_id);

    // Test seam: when set, "opening" a file runs this program with the
    // file's path as its one argument instead of the file itself.
    void SetOpenProgram(const std::wstring& program);

private:
    CompleteQueue();
    void OpenInstaller(int soft_id);

    ke::thread_task_mgr loop_;
    ke::critical_section lock_;
    int started_;  // 0 not yet, 1 running, -1 failed
    std::wstring open_program_;
};
