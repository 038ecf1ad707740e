#pragma once

// Lets the logged-in user add a software to schemes: the scheme picker
// over the main window, then the requests behind a loading window.
void RunAddToScheme(int soft_id);
