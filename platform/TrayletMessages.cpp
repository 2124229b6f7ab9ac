#include "platform/TrayletMessages.h"

#include "platform/ProgramMessages.h"

namespace flk {

bool PostToTraylet(int message) { return SendProgramMessage(kTrayletMessageName, message); }

}  // namespace flk
