// Opens a skinned window whose skin cannot be had, so that the test can
// watch the message box and the exit code. Argument: "file" (a missing skin
// file) or "zipres" (a missing zip resource).
#include <windows.h>

#include <string>

#include "tests/uitoolkit/builder/skinned_test_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR args, int) {
  UiToolkit::CWindowManagerUI::SetInstance(instance);
  std::wstring mode = args ? args : L"";
  SkinnedTestWindow window(mode == L"zipres" ? UiToolkit::UISKIN_ZIP_RESOURCE
                                             : UiToolkit::UISKIN_FILE,
                           L"no_such_skin.xml", L"NO_SUCH_ZIP");
  UiToolkit::CWindowManagerUI::SetResourceFolder(L"C:\\no_such_folder");
  window.Create(nullptr, L"fatal", WS_POPUP | WS_VISIBLE, 0, 10, 10, 200, 100);
  // Reached only when the skin loaded after all.
  return 0;
}
