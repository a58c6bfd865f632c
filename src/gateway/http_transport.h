#ifndef VALO_GATEWAY_HTTP_TRANSPORT_H_
#define VALO_GATEWAY_HTTP_TRANSPORT_H_

#include <string>

#include "core/param_map.h"
#include "platform/ui.h"

namespace valo {

// Server certificates of https URLs are verified against the system trust store plus the
// PEM certificates of `pinnedCaPem` (may be empty), host name included.

// One form POST (body from buildFormBody, the single header line "Content-Type:
// application/x-www-form-urlencoded; charset: UTF-8", connect time-out 20000 ms, one
// connection attempt, nothing cached). Returns 0 when the status was 200 and the body is
// not empty (`response` holds it, raw); 1 when the request cannot be made, the status is
// not 200 or the body is empty (`response` empty); 59999 on a network error, after the
// message box "與伺服器(host:port)間網路連線發生錯誤!!\n[curl error number]curl error text".
int httpPostForm(platform::Ui& ui, const std::string& pinnedCaPem, const std::string& url,
                 const ParamMap& params, std::string& response);

// One GET with a connect time-out of 2000 ms and nothing shown on failure. Returns 0 with
// the body, 1 for a request that cannot be made, a status other than 200 or an empty
// body, 59999 for a network error.
int httpGetBytes(const std::string& pinnedCaPem, const std::string& url, std::string& body);

}  // namespace valo

#endif  // VALO_GATEWAY_HTTP_TRANSPORT_H_
