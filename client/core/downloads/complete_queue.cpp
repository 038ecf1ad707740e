#include "client/core/downloads/complete_queue.h"
#include <windows.h>
#include <shellapi.h>
#include "client/core/downloads/download_sources.h"
#include "foundation/ke/thread_single.h"

CompleteQueue& CompleteQueue::Instance() {
    static CompleteQueue* queue = new CompleteQueue();
    return *queue;
}

CompleteQueue::CompleteQueue() : loop_(nullptr, "CompleteQueueTaskLoop"), started_(0) {
    // Test seam: process tests have downloads "opened" by a recorder
    // program instead of the shell.
    wchar_t program[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"VANTREL_TEST_OPEN_PROGRAM", program, MAX_PATH);
    if (n > 0 && n < MAX_PATH) open_program_ = program;
}

bool CompleteQueue::Start() {
    ke::scoped_lock guard(lock_);
    if (started_ != 0) return started_ > 0;
    ke::thread_single* worker = new ke::thread_single([this] { loop_.run(); });
    worker->set_auto_delete(nullptr);
    if (worker->create_threads(1) != 1) {
        delete worker;
        started_ = -1;
        return false;
    }
    // From here on the thread owns the worker object.
    started_ = worker->resume_all() ? 1 : -1;
    return started_ > 0;
}

bool CompleteQueue::Post(const ke::task& job) { return loop_.loop().post(job); }

bool CompleteQueue::PostOpenInstaller(int soft_id) {
    return Post([this, soft_id] { OpenInstaller(soft_id); });
}

void CompleteQueue::SetOpenProgram(const std::wstring& program) {
    ke::scoped_lock guard(lock_);
    open_program_ = program;
}

void CompleteQueue::OpenInstaller(int soft_id) {
    DownloadSources& sources = CurrentDownloadSources();
    std::shared_ptr<Software> soft = sources.get_soft(soft_id);
    if (!soft) return;
    std::wstring path;
    if (!sources.download_file_path(*soft, &path) || path.empty()) return;
    std::wstring program;
    {
        ke::scoped_lock guard(lock_);
        program = open_program_;
    }
    // The result is deliberately ignored: nobody is waiting for it.
    if (program.empty()) {
        ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOW);
    } else {
        std::wstring argument = L"\"" + path + L"\"";
        ShellExecuteW(nullptr, L"open", program.c_str(), argument.c_str(), nullptr, SW_SHOW);
    }
}
