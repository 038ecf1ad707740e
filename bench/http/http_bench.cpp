// Transfer timings of the client's fetch functions against the local
// services; run.sh compares them with curl on the same files.
//   http_bench download <host> <path> <file>   HttpDownloadFile, whole file
//   http_bench small <host> <path> <rounds>    HttpFetchFile vs HttpDownloadMem
#include <windows.h>
#include <stdio.h>
#include <algorithm>
#include <string>
#include <vector>
#include "client/core/http/download_observer.h"
#include "client/core/http/http_fetch.h"
#include "client/core/http/http_reader.h"

namespace {

class CountingObserver : public DownloadObserver {
public:
    bool OnProgress(int bytes, int) override {
        received += bytes;
        return true;
    }
    long long received = 0;
};

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(to.QuadPart - from.QuadPart) / f.QuadPart;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 5 && std::wstring(argv[1]) == L"download") {
        DeleteFileW(argv[4]);
        CountingObserver observer;
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        bool ok = HttpDownloadFile(argv[2], argv[3], argv[4], &observer, 0);
        QueryPerformanceCounter(&b);
        double s = Seconds(a, b);
        printf("download_ok: %d\ndownload_bytes: %lld\ndownload_seconds: %.3f\n", ok ? 1 : 0,
               observer.received, s);
        return ok ? 0 : 1;
    }
    if (argc >= 5 && std::wstring(argv[1]) == L"small") {
        int rounds = _wtoi(argv[4]);
        std::wstring url = std::wstring(L"http://") + argv[2] + argv[3];
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        std::wstring file = std::wstring(temp) + L"kelvora-bench-small.bin";
        std::vector<double> fetch, mem;
        bool ok = true;
        // Interleaved, so both see the same machine load.
        for (int i = 0; i < rounds; ++i) {
            LARGE_INTEGER a, b, c;
            QueryPerformanceCounter(&a);
            ok &= HttpFetchFile(url, file);
            QueryPerformanceCounter(&b);
            std::string body;
            ok &= HttpDownloadMem(url, &body);
            QueryPerformanceCounter(&c);
            fetch.push_back(Seconds(a, b));
            mem.push_back(Seconds(b, c));
        }
        // Medians: the machine is shared, and a stray pause should not decide.
        std::sort(fetch.begin(), fetch.end());
        std::sort(mem.begin(), mem.end());
        // Where the file fetch's extra time goes: a timed reader (its worker
        // thread) and the temporary file with its rename.
        double reader_s = 0, temp_s = 0;
        for (int i = 0; i < rounds; ++i) {
            LARGE_INTEGER a, b, c;
            QueryPerformanceCounter(&a);
            { SimpleHttpReader timed(5000); }
            QueryPerformanceCounter(&b);
            std::wstring t = std::wstring(temp) + L"kelvora-bench-t.bin";
            HANDLE h = CreateFileW(t.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            CloseHandle(h);
            MoveFileExW(t.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
            QueryPerformanceCounter(&c);
            reader_s += Seconds(a, b);
            temp_s += Seconds(b, c);
        }
        printf("timed_reader_start_ms: %.2f\ntemp_file_rename_ms: %.2f\n", reader_s * 1000 / rounds,
               temp_s * 1000 / rounds);
        DeleteFileW(file.c_str());
        printf("small_ok: %d\nfetch_file_ms: %.2f\ndownload_mem_ms: %.2f\n", ok ? 1 : 0,
               rounds ? fetch[rounds / 2] * 1000 : 0.0, rounds ? mem[rounds / 2] * 1000 : 0.0);
        return ok ? 0 : 1;
    }
    fprintf(stderr, "usage: http_bench download <host> <path> <file> | small <host> <path> <rounds>\n");
    return 2;
}
