#include "platform/TrayletMessages.h"

#include "platform/ProgramMessages.h"

namespace flk {

bool PostToTraylet(const std::string& runtimeFolder, int message) {
    return SendProgramMessage(runtimeFolder, kTrayletMessageName, message);
}

}  // namespace flk
