#pragma once
#include "settings/Settings.h"
#include "support/LoopbackServer.h"

#include <string>

namespace flk::test {

// Points the engines, the directory, the maker's host, the update data and
// the server module at one loopback server, so a whole program run stays local.
inline void PointHostsAt(Settings& settings, LoopbackServer& services) {
    const std::string here = "127.0.0.1:" + std::to_string(services.Port());
    settings.Set(hosts::Altavista, here);
    settings.Set(hosts::Directory, here);
    settings.Set(hosts::Maker, here);
    settings.Set(hosts::UpdateBase, services.Url("/update/"));
    settings.Set(hosts::ServerBase, services.Url("/trn/"));
}

}  // namespace flk::test
