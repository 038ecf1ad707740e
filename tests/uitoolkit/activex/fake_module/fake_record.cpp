#include "tests/uitoolkit/activex/fake_module/fake_record.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <map>
#include <mutex>
#include <string>

namespace fake_activex {

namespace {

std::mutex g_lock;
std::string g_record;
std::map<std::string, long> g_options;
volatile LONG g_live = 0;
volatile LONG g_parts = 0;
volatile LONG g_hostRefs = 0;
volatile LONG g_openAdvises = 0;

}  // namespace

void Record(const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof(line), format, args);
  va_end(args);
  std::lock_guard<std::mutex> hold(g_lock);
  g_record += line;
  g_record += '\n';
}

long Option(const char* name, long fallback) {
  std::lock_guard<std::mutex> hold(g_lock);
  auto found = g_options.find(name);
  return found == g_options.end() ? fallback : found->second;
}

void ObjectBorn() { ::InterlockedIncrement(&g_live); }
void ObjectGone() { ::InterlockedDecrement(&g_live); }
void PartBorn() { ::InterlockedIncrement(&g_parts); }
void PartGone() { ::InterlockedDecrement(&g_parts); }
void AdviseOpened() { ::InterlockedIncrement(&g_openAdvises); }
void AdviseClosed() { ::InterlockedDecrement(&g_openAdvises); }
void HostRefTaken() { ::InterlockedIncrement(&g_hostRefs); }
void HostRefGiven() { ::InterlockedDecrement(&g_hostRefs); }

HINSTANCE ModuleInstance() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
  return module;
}

}  // namespace fake_activex

using namespace fake_activex;

extern "C" __declspec(dllexport) int fake_record(char* buffer, int capacity) {
  std::lock_guard<std::mutex> hold(g_lock);
  int length = static_cast<int>(g_record.size());
  if (buffer && capacity > 0) {
    int n = length < capacity - 1 ? length : capacity - 1;
    memcpy(buffer, g_record.data(), n);
    buffer[n] = 0;
  }
  return length;
}

extern "C" __declspec(dllexport) void fake_reset() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_record.clear();
  g_options.clear();
}

extern "C" __declspec(dllexport) long fake_live_objects() { return g_live; }
extern "C" __declspec(dllexport) long fake_live_parts() { return g_parts; }
extern "C" __declspec(dllexport) long fake_held_host_refs() { return g_hostRefs; }
extern "C" __declspec(dllexport) long fake_open_advises() { return g_openAdvises; }

extern "C" __declspec(dllexport) void fake_set_option(const char* name, long value) {
  if (!name) return;
  std::lock_guard<std::mutex> hold(g_lock);
  g_options[name] = value;
}
