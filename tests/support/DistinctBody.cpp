#include "support/DistinctBody.h"

namespace flk::test {

std::string DistinctBody(const std::string& label, std::size_t bytes, char fill) {
    std::string body = label.substr(0, bytes);
    body.resize(bytes, fill);
    return body;
}

}  // namespace flk::test
