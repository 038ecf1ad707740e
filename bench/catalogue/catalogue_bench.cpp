// Loads one catalogue page's data the way a page worker does: the category
// list, one ranking page, and the page's 20 records on one connection.
// Caches are refreshed every round so each round does the whole exchange.
//   catalogue_bench.exe <rounds> <category id>
// Prints "name: value" lines.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <vector>
#include "client/core/catalogue/rank_page.h"
#include "client/core/catalogue/soft_class_mgr.h"
#include "client/core/catalogue/soft_info_mgr.h"

int wmain(int argc, wchar_t** argv) {
    int rounds = argc > 1 ? _wtoi(argv[1]) : 20;
    int category = argc > 2 ? _wtoi(argv[2]) : 2;
    if (rounds < 1) rounds = 1;
    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    std::vector<double> times, class_times, rank_times, record_times;
    LARGE_INTEGER mark1, mark2;
    size_t records = 0;
    for (int i = 0; i <= rounds; ++i) {
        QueryPerformanceCounter(&start);
        if (!SoftClassMgr::Instance().Load(true)) {
            fprintf(stderr, "catalogue_bench: category list failed\n");
            return 1;
        }
        QueryPerformanceCounter(&mark1);
        std::vector<RankEntry> entries;
        int32_t total = 0, count = 0;
        if (!GetRankPage(category, 1, true, &entries, &total, &count)) {
            fprintf(stderr, "catalogue_bench: ranking page failed\n");
            return 1;
        }
        QueryPerformanceCounter(&mark2);
        SoftMap ids;
        for (const RankEntry& e : entries) ids[e.first] = SoftwarePtr();
        if (!SoftInfoMgr::Instance().FetchSofts(&ids, true)) {
            fprintf(stderr, "catalogue_bench: records failed\n");
            return 1;
        }
        QueryPerformanceCounter(&end);
        records = ids.size();
        if (i == 0) continue;  // round 0 warms up
        auto ms = [&](LARGE_INTEGER a, LARGE_INTEGER b) { return (b.QuadPart - a.QuadPart) * 1000.0 / freq.QuadPart; };
        times.push_back(ms(start, end));
        class_times.push_back(ms(start, mark1));
        rank_times.push_back(ms(mark1, mark2));
        record_times.push_back(ms(mark2, end));
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    double sum = 0;
    for (double t : times) sum += t;
    printf("catalogue_page_records: %u\n", static_cast<unsigned>(records));
    printf("catalogue_class_list_median_ms: %.2f\n", median(class_times));
    printf("catalogue_rank_page_median_ms: %.2f\n", median(rank_times));
    printf("catalogue_records_median_ms: %.2f\n", median(record_times));
    printf("catalogue_page_median_ms: %.2f\n", median(times));
    printf("catalogue_page_mean_ms: %.2f\n", sum / times.size());
    return 0;
}
