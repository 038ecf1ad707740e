#pragma once
// What a catalogue page shares with its workers. Workers hold it by a
// shared pointer, so a worker that outlives its page (at exit) touches
// only this, never the page; the page itself they reach only through
// posted messages, which the dispatcher drops once the page is gone.
#include <stdint.h>

#include <atomic>
#include <string>

#include "client/windows/catalogue/catalogue_page.h"

struct Page::Shared {
    std::wstring title;                   // written before any worker starts
    std::atomic<int32_t> main_type_id{0};  // the category found by the title
};
