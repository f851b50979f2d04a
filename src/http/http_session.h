#pragma once

#include <curl/curl.h>

namespace quillmere {

// The process-wide share through which every exchange reuses kept-alive connections and DNS
// answers; set up on first use together with libcurl itself. nullptr when libcurl could not
// be set up, in which case no request can be made.
CURLSH* sharedConnections();

}  // namespace quillmere
