#include "app/widgets/extensions.h"

#include "app/widgets/main_window.h"

namespace pelvoro {

void installExtensions(TfrmMainForm& window) {
    // Each subsystem adds one call here: installFileCommands(window); ...
    (void)window;
}

}  // namespace pelvoro
