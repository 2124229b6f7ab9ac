#pragma once
#include "net/InternetSession.h"

namespace flk {

class Settings;

// The request options of section `modern` that pages and media checks
// share: the per-host limit, the User-Agent and the cookies file. The
// cookies file is read here; one that cannot be used is logged once as a
// problem and the requests go without cookies.
InternetOptions WithPoliteRequests(InternetOptions options, const Settings& settings);

}  // namespace flk
