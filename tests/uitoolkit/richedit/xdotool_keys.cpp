// Real key presses for the tests: xdotool runs on the virtual display,
// started through Wine's way of starting a host program.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/uitoolkit/richedit/rich_edit_window.h"

namespace uitest {

namespace {

typedef LONG(CDECL* UnixSpawn)(char* const argv[], int wait);

UnixSpawn FindUnixSpawn() {
  HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll ? reinterpret_cast<UnixSpawn>(::GetProcAddress(ntdll, "__wine_unix_spawnvp"))
               : nullptr;
}

}  // namespace

bool RunXdotool(const std::vector<std::string>& args) {
  static const UnixSpawn spawn = FindUnixSpawn();
  if (!spawn) return false;
  std::vector<std::string> words = {"xdotool"};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(&word[0]);
  argv.push_back(nullptr);
  return spawn(argv.data(), 1) == 0;
}

bool FocusForTyping(RichEditWindow& w, CControlUI* control) {
  ::SetForegroundWindow(w.hwnd());
  ::SetFocus(w.hwnd());
  HANDLE x_window = ::GetPropA(w.hwnd(), "__wine_x11_whole_window");
  if (!x_window) return false;
  char id[32];
  snprintf(id, sizeof id, "%llu", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(x_window)));
  if (!RunXdotool({"windowfocus", "--sync", id})) return false;
  PumpFor(50);
  control->SetFocus();
  w.Paint();
  return ::GetFocus() == w.hwnd() && control->IsFocused();
}

}  // namespace uitest
