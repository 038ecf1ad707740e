#pragma once
// Which live rows still wait for a late result of an id (a software icon,
// a category icon). A row adds itself, under an identity no other row ever
// had, before it asks; the worker that produces the result posts it only
// while the row still waits, and under the same lock that the row's
// destructor takes to remove itself, so nothing is posted for a row whose
// destructor has finished. Several rows of one id wait side by side.
#include <stdint.h>

#include <functional>
#include <map>
#include <set>

#include "foundation/ke/critical_section.h"

// A fresh identity for a row: never 0, never repeated in the process.
uint64_t NewRowIdentity();

class RowWaits {
public:
    void Add(int32_t id, uint64_t row);
    void Remove(int32_t id, uint64_t row);
    // When `row` waits for `id`: removes the entry and runs `post` while the
    // lock is held; true. Otherwise nothing; false.
    bool TakeAndRun(int32_t id, uint64_t row, const std::function<void()>& post);
    bool Holds(int32_t id, uint64_t row);
    // Entries of every id (tests: a destroyed row leaves none).
    size_t Size();

private:
    ke::critical_section lock_;
    std::map<int32_t, std::set<uint64_t>> waits_;
};

// The process-wide registries: software icons of catalogue rows, and
// category icons of sub-category rows.
RowWaits& SoftIconWaits();
RowWaits& TypeIconWaits();
