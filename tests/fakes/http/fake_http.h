// Loopback stand-ins for web servers, for tests that must see what a client really sends.
//
// Every server listens on 127.0.0.1 on a free port, serves each connection on a thread of its
// own, records every request (ReceivedRequest: exact bytes, method, target, headers in order,
// body) and stops, joining its threads, when destroyed. Nothing here reaches beyond the machine.
//
//   RawServer    bare socket, plain or TLS: exact request bytes in, scripted Reply out
//                (fixed bytes, a delay, a stall after some bytes, or silence), one request per
//                connection.
//   HttpServer   cpp-httplib routing, plain or TLS, for services that parse forms and paths.
//   ProxyServer  HTTP proxy that demands Basic credentials, forwards to loopback servers and
//                tunnels CONNECT.
//   TlsIdentity  a self-signed certificate made at run time for the TLS servers.
//
// httpResponse() and redirectResponse() write the raw answers a RawServer script returns, with
// any header lines (Set-Cookie, Location, Content-Location ...). unusedPort() gives a port that
// refuses connections.
//
//   fake::RawServer server([](const fake::ReceivedRequest& r) {
//       return fake::Reply{fake::httpResponse(200, {{"Set-Cookie", "a=1"}}, "body")};
//   });
//   ... fetch server.url("/path") ...; server.requests()[0].header("Cookie");
#pragma once

#include "tests/fakes/http/http_server.h"
#include "tests/fakes/http/proxy_server.h"
#include "tests/fakes/http/raw_server.h"
#include "tests/fakes/http/received_request.h"
#include "tests/fakes/http/tls_identity.h"
