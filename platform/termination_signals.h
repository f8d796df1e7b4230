#pragma once

#include <functional>

namespace tavik {

// SIGTERM, SIGINT and SIGHUP (a session that ends, Ctrl+C in the terminal that
// started the program, a dropped remote connection) become one call on the event
// loop, so the program can close as the user would close it and write its
// changes back, instead of ending on the spot. Once the application's event loop
// has ended, the program has closed and a signal ends the process at once.
class TerminationSignals {
public:
    // Installs the handlers, once the application object exists; later calls replace
    // the callback.
    static bool install(std::function<void()> onSignal);
};

}  // namespace tavik
