#include "net/InternetGlobal.h"

#include <curl/curl.h>

namespace flk {

bool InitInternet() { return curl_global_init(CURL_GLOBAL_ALL) == CURLE_OK; }

void CleanupInternet() { curl_global_cleanup(); }

}  // namespace flk
