#include "net/InternetSession.h"

#include "platform/TextUtil.h"
#include "net/UrlSplit.h"

namespace flk {

InternetSession::InternetSession(InternetShare& share, std::string agent, InternetOptions options)
    : share_(share), agent_(std::move(agent)), options_(std::move(options)) {}

std::unique_ptr<InternetRequest> InternetSession::OpenRequest(const std::string& url,
                                                              const std::atomic<bool>* stop,
                                                              const Credentials& credentials,
                                                              RequestMethod method) const {
    if (!share_.Valid()) return nullptr;
    UrlParts parts;
    if (!SplitUrl(url, parts)) return nullptr;
    const bool http = parts.service == UrlService::Http || parts.service == UrlService::Https;
    if (!http && parts.service != UrlService::Ftp) return nullptr;
    const std::string origin =
        ToLowerAscii(parts.scheme) + "://" + ToLowerAscii(parts.server) + ":" + std::to_string(parts.port);
    std::unique_ptr<InternetRequest> request(new InternetRequest(share_, stop));
    if (!request->Prepare(*this, EncodeUrlForRequest(url), origin, ToLowerAscii(parts.server), http, credentials,
                           method))
        return nullptr;
    return request;
}

}  // namespace flk
