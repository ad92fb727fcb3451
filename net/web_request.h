// A reusable HTTP request object. The settings made on it (time-outs, proxy, credentials,
// redirect and certificate options) stay from one exchange to the next; the verb, address,
// headers and answer belong to one exchange. Not for use by two threads at once.
#pragma once

#include <optional>

#include "net/transport.h"
#include "text/types.h"

namespace lumoset {

class WebRequest {
  public:
    // setCredentials flags.
    static constexpr int credentialsForServer = 0;
    static constexpr int credentialsForProxy = 1;
    // Certificate problems that setIgnoredCertificateErrors may pass over.
    static constexpr int unknownAuthority = 0x100;
    static constexpr int wrongUsage = 0x200;
    static constexpr int wrongName = 0x1000;
    static constexpr int outOfDate = 0x2000;
    static constexpr int anyCertificateError = 0x3300;

    // Fresh objects resolve and connect within a minute together and give up after half a
    // minute without a byte sent or received; they go direct, follow redirects and check
    // certificates.
    WebRequest() = default;

    void setTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs);
    // An HTTP proxy "host:port" for every exchange; empty goes direct.
    void setProxy(Text server);
    // Credentials for the server (flags 0) or the proxy (flags 1); false, and no effect, for
    // other flags.
    bool setCredentials(Text user, Text password, int flags);
    void setRedirectsEnabled(bool enabled);
    // The certificate problems to pass over, a sum of the constants above. The transport can
    // only pass over the name check on its own: any of the others passes over the whole chain.
    void setIgnoredCertificateErrors(int flags);

    const Timeouts& timeouts() const { return timeouts_; }
    const Text& proxy() const { return proxy_; }
    const std::optional<Credentials>& proxyCredentials() const { return proxyCredentials_; }
    const std::optional<Credentials>& serverCredentials() const { return serverCredentials_; }
    bool redirectsEnabled() const { return redirectsEnabled_; }
    int ignoredCertificateErrors() const { return ignoredCertificateErrors_; }

    // Starts an exchange with `verb` ("GET" or "POST") to `url` ("http://" or "https://"),
    // forgetting the headers and the answer of the last one.
    void open(Text verb, Text url);
    // Sets a header of this exchange. A name set before (in any case) keeps its place and
    // takes the new value. An empty name is refused.
    bool setRequestHeader(Text name, Text value);
    // Carries out the exchange; an empty GET body sends no body. False when the exchange
    // failed, was cut short or was never opened; the answer is then empty.
    bool send(const Bytes& body);

    const Bytes& responseBody() const { return responseBody_; }
    // The answer's header lines without its status line, each ended by CR LF.
    const Text& allResponseHeaders() const { return responseHeaders_; }

  private:
    Timeouts timeouts_;
    Text proxy_;
    std::optional<Credentials> proxyCredentials_;
    std::optional<Credentials> serverCredentials_;
    bool redirectsEnabled_ = true;
    int ignoredCertificateErrors_ = 0;

    Text verb_;
    Text url_;
    std::vector<std::pair<Text, Text>> headers_;
    Bytes responseBody_;
    Text responseHeaders_;
};

}  // namespace lumoset
