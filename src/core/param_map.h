#ifndef VALO_CORE_PARAM_MAP_H_
#define VALO_CORE_PARAM_MAP_H_

#include <map>
#include <string>

namespace valo {

// Ordered map from narrow-text key to narrow-text value, ordered by byte-wise key
// comparison. Carries gateway request parameters, reply fields, the configuration
// store and certificate information.
using ParamMap = std::map<std::string, std::string>;

}  // namespace valo

#endif  // VALO_CORE_PARAM_MAP_H_
