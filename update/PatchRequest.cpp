#include "update/PatchRequest.h"

#include "settings/Settings.h"

namespace flk {

bool HandlePatchRequest(Settings& settings, int message, const LocalDate& today) {
    if (message != kPatchRequestMessage) return false;
    WriteDate(settings, kPatchDateKeys, today);
    return true;
}

}  // namespace flk
