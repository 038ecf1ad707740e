#include "uitoolkit/activex/activex_objects.h"

namespace UiToolkit {
namespace {

volatile LONG g_liveObjects = 0;

}  // namespace

long ActiveXLiveObjectCount() { return ::InterlockedCompareExchange(&g_liveObjects, 0, 0); }

CCountedComObject::CCountedComObject() { ::InterlockedIncrement(&g_liveObjects); }
CCountedComObject::~CCountedComObject() { ::InterlockedDecrement(&g_liveObjects); }

}  // namespace UiToolkit
