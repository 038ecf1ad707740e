// Transfer timings of the client's fetch functions against the local
// services; run.sh compares them with curl on the same files.
//   http_bench download <host> <path> <file>   HttpDownloadFile, whole file
//   http_bench small <host> <path> <rounds>    HttpFetchFile vs HttpDownloadMem
#include <windows.h>
#include <stdio.h>
#include <algorithm>
#include <memory>
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

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 5 && std::wstring(argv[1]) == L"download") {
        DeleteFileW(argv[4]);
        CountingObserver observer;
        LARGE_INTEGER a, b, c;
        QueryPerformanceCounter(&a);
        bool ok = HttpDownloadFile(argv[2], argv[3], argv[4], &observer, 0);
        QueryPerformanceCounter(&b);
        // Its first stage again on its own: the Location look-up.
        std::wstring location;
        HttpGetLocation(argv[2], argv[3], &location);
        QueryPerformanceCounter(&c);
        double s = Seconds(a, b);
        printf("download_ok: %d\ndownload_bytes: %lld\ndownload_seconds: %.3f\n", ok ? 1 : 0,
               observer.received, s);
        printf("download_stage_location_ms: %.2f\ndownload_stage_body_ms: %.2f\n", Seconds(b, c) * 1000,
               (s - Seconds(b, c)) * 1000);
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
        // Where each one's time goes, stage by stage, with the same readers
        // the two functions use: opening (send and headers), reading the
        // body, and for the file its write and rename.
        std::vector<double> f_open, f_read, f_file, m_open, m_read;
        std::unique_ptr<char[]> body(new char[4 << 20]);
        DWORD total = 0;
        // Opens `url` with `reader` and reads its body into `body`, as the
        // two functions do (the file fetch reads in place).
        auto open_and_read = [&](SimpleHttpReader& reader, std::vector<double>* open, std::vector<double>* read) {
            LARGE_INTEGER a, b, c;
            QueryPerformanceCounter(&a);
            ok &= reader.OpenUrl(url);
            QueryPerformanceCounter(&b);
            DWORD got = 0;
            total = 0;
            while (reader.ReadInPlace(body.get() + total, (4 << 20) - total, &got) && got) total += got;
            QueryPerformanceCounter(&c);
            open->push_back(Seconds(a, b));
            read->push_back(Seconds(b, c));
        };
        for (int i = 0; i < rounds; ++i) {
            {
                SimpleHttpReader timed(5000, INTERNET_FLAG_NO_COOKIES);  // as HttpFetchFile
                open_and_read(timed, &f_open, &f_read);
            }
            LARGE_INTEGER c, d;
            QueryPerformanceCounter(&c);
            std::wstring t = std::wstring(temp) + L"kelvora-bench-t.bin";
            HANDLE h = CreateFileW(t.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            WriteFile(h, body.get(), total, &written, nullptr);
            CloseHandle(h);
            MoveFileExW(t.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
            QueryPerformanceCounter(&d);
            f_file.push_back(Seconds(c, d));
            SimpleHttpReader plain(0);
            open_and_read(plain, &m_open, &m_read);
        }
        printf("fetch_file_stage_open_ms: %.2f\nfetch_file_stage_read_ms: %.2f\nfetch_file_stage_file_ms: %.2f\n",
               Median(f_open) * 1000, Median(f_read) * 1000, Median(f_file) * 1000);
        printf("download_mem_stage_open_ms: %.2f\ndownload_mem_stage_read_ms: %.2f\n", Median(m_open) * 1000,
               Median(m_read) * 1000);
        DeleteFileW(file.c_str());
        printf("small_ok: %d\nfetch_file_ms: %.2f\ndownload_mem_ms: %.2f\n", ok ? 1 : 0,
               rounds ? fetch[rounds / 2] * 1000 : 0.0, rounds ? mem[rounds / 2] * 1000 : 0.0);
        return ok ? 0 : 1;
    }
    fprintf(stderr, "usage: http_bench download <host> <path> <file> | small <host> <path> <rounds>\n");
    return 2;
}
