// Parses a 1 MiB skin document repeatedly and prints the parse speed, with
// the cost of the UTF-8 conversion alone (the floor any parse pays) as peer.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/uitoolkit/fixtures/skin_fixtures.h"
#include "tests/uitoolkit/fixtures/stopwatch.h"
#include "uitoolkit/markup/xml_markup.h"

namespace {

template <typename F>
double Median(int rounds, F f) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        double t0 = fixtures::Seconds();
        f();
        times.push_back(fixtures::Seconds() - t0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    int named = 0;
    const std::string doc = fixtures::MakeSkinDocument(1 << 20, &named);
    const double mb = doc.size() / (1024.0 * 1024.0);
    const int rounds = 21;

    UiToolkit::CXmlMarkup markup;
    int elements = 0;
    const double parse = Median(rounds, [&] {
        if (!markup.LoadFromUtf8(doc.data(), static_cast<int>(doc.size()))) {
            fprintf(stderr, "parse failed: %ls\n", markup.LastError());
            exit(1);
        }
    });
    while (markup.Element(elements + 1)) ++elements;

    std::vector<wchar_t> wide(doc.size() + 1);
    const double convert = Median(rounds, [&] {
        MultiByteToWideChar(CP_UTF8, 0, doc.data(), static_cast<int>(doc.size()), wide.data(),
                            static_cast<int>(wide.size()));
    });

    printf("markup_document_bytes: %u\n", static_cast<unsigned>(doc.size()));
    printf("markup_elements: %d\n", elements);
    printf("markup_named_controls: %d\n", named);
    printf("markup_parse_ms: %.2f\n", parse * 1000);
    printf("markup_parse_mb_per_s: %.1f\n", mb / parse);
    printf("utf8_conversion_mb_per_s: %.1f\n", mb / convert);
    printf("markup_parse_vs_conversion_ratio: %.2f\n", parse / convert);
    return 0;
}
