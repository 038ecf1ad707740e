#pragma once
// The favourites list for the favourites page, on a loading window's
// worker: the user's favourite ids from the user service, then their
// catalogue records, in ascending id order.
#include <vector>

#include "client/core/catalogue/software.h"

// Appends the records to `softs`. One fetch at a time: a second call while
// one runs returns at once and appends nothing. A failed fetch is logged
// and appends nothing.
void GetCollectSoftThreadProc(std::vector<SoftwarePtr>* softs);
