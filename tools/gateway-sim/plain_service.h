#ifndef VALO_GATEWAY_SIM_PLAIN_SERVICE_H_
#define VALO_GATEWAY_SIM_PLAIN_SERVICE_H_

#include <httplib.h>

#include "journal.h"
#include "sim_state.h"

namespace valo::sim {

// The plain-HTTP listener: the two address echo services, the deployment template and
// file downloads, each request journalled.
//
//   GET /echo/1, /echo/2    scenario echo."1" / echo."2": {status, body}; by default 200
//                           and the caller's address followed by "\r\n"
//   GET|POST /template      scenario template (text/html)
//   GET /download/<name>    scenario downloads.<name>: the content is `text`, the file
//                           `file`, or `size` bytes of the pattern 'a'..'z' repeated;
//                           `status` other than 200 answers that status;
//                           `truncateAt` N announces the full length but closes the
//                           connection after N bytes; `noContentLength` sends the body
//                           chunked, without a length
void installPlainRoutes(httplib::Server& server, SimState& state, Journal& journal);

}  // namespace valo::sim

#endif  // VALO_GATEWAY_SIM_PLAIN_SERVICE_H_
