// Stands in for the add-to-scheme flow until it is built.
#include "client/windows/favourites/add_to_scheme.h"
#include "foundation/log/log.h"

void RunAddToScheme(int soft_id) {
    log_trace("%s: adding to a scheme is not built yet (soft %d)", "RunAddToScheme", soft_id);
}
