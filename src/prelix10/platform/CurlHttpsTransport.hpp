#pragma once

#include "prelix10/platform/HttpsTransport.hpp"

namespace Prelix10 {

// HTTPS over libcurl's easy interface, one handle per request, run on the caller's thread. Only https
// URLs are accepted, peer and host verification stay on, redirects are not followed, and the reply body
// is capped while it arrives.
class CurlHttpsTransport : public HttpsTransport {
  public:
    CurlHttpsTransport();
    HttpsResponse perform(const HttpsRequest& request, const HttpsOptions& options,
                          const std::atomic<bool>* cancelled) override;
};

}  // namespace Prelix10
