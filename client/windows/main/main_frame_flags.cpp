#include "client/windows/main/main_frame_flags.h"

#include <atomic>

namespace {
std::atomic<bool> g_shown(true);
std::atomic<bool> g_login_announced(false);
std::atomic<bool> g_opened_from_home(false);
}  // namespace

namespace MainFrameFlags {

bool Shown() { return g_shown; }
void SetShown(bool on) { g_shown = on; }
bool LoginAnnounced() { return g_login_announced; }
void SetLoginAnnounced(bool on) { g_login_announced = on; }
bool OpenedFromHome() { return g_opened_from_home; }
void SetOpenedFromHome(bool on) { g_opened_from_home = on; }

void ResetForTests() {
    g_shown = true;
    g_login_announced = false;
    g_opened_from_home = false;
}

}  // namespace MainFrameFlags
