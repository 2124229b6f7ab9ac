#include "update/ServerRequests.h"

#include "platform/Notifier.h"
#include "platform/TextUtil.h"

namespace flk {

namespace {

constexpr std::string_view kVersionMarker = "mdl=checkver";

RequestQueueOptions QueueOptions(const ServerRequestsOptions& options) {
    RequestQueueOptions q;
    q.agent = kServerAgent;
    q.workers = options.workers;
    q.network = options.network;
    return q;
}

}  // namespace

ServerRequests::ServerRequests(InternetShare& share, Notifier& notifier, std::string serverBase,
                               ServerRequestsOptions options)
    : notifier_(notifier),
      base_(std::move(serverBase)),
      options_(std::move(options)),
      queue_(share, QueueOptions(options_)) {}

ServerRequests::~ServerRequests() { queue_.Shutdown(); }

std::string ServerRequests::FullAddress(const std::string& address) const {
    if (StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://")) return address;
    return base_ + address;
}

bool ServerRequests::Queue(const std::string& address) {
    WebRequest request;
    request.url = FullAddress(address);
    request.maxRedirects = options_.maxRedirects;
    request.maxBodyBytes = options_.maxAnswerBytes;
    request.bodyOnlyOnSuccess = true;
    request.done = [this](const WebReply& reply) { OnReply(reply); };
    return queue_.Queue(std::move(request));
}

void ServerRequests::OnReply(const WebReply& reply) {
    if (reply.url.find(kVersionMarker) == std::string::npos) return;
    if (!reply.Success() || !reply.complete) return;
    Notification n;
    n.code = notify::ServerText;
    n.text = reply.body;
    notifier_.Send(n);
}

}  // namespace flk
