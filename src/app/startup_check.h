#ifndef VALO_APP_STARTUP_CHECK_H_
#define VALO_APP_STARTUP_CHECK_H_

#include <functional>
#include <string>

#include "session/context.h"

namespace valo {

// Asks the front end to close the program. It must not block; asking twice is harmless.
using CloseProgram = std::function<void()>;

// Asks the gateway whether it still accepts this client (`checkVersion`, RSA envelope,
// `version` = "1.3"). Returns 0 when `rtnCode` is exactly "0"; 53701 when the post fails;
// 53703 when the reply cannot be read; 53705 for any other `rtnCode`. `message` is the
// error text of the code.
int checkClientVersion(Context& context, std::string& message);

// The check run once before the page is shown. It removes the retired executable of an
// earlier update (up to 20 tries 500 ms apart), then checks the version:
//  - accepted: nothing more; the program starts normally;
//  - outdated (53705): announces the update, downloads `app.dlUrl` into the ".new" file,
//    swaps it in (see swapInUpdate: the old program stays as ".dpc", the new one takes
//    its path in one step), starts the new program detached and closes this one; each
//    failure is shown and closes the program, with the running executable left in place;
//  - any other failure: shows the version-check message and closes the program.
// Every message box has an OK button only; every wait goes through the context's clock.
// Returns the version-check code.
int runStartupCheck(Context& context, const CloseProgram& closeProgram);

}  // namespace valo

#endif  // VALO_APP_STARTUP_CHECK_H_
