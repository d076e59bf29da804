// varnio_contents_host: the local HTTPS contents host as a program, for the
// demo and for trying the library by hand.
//   varnio_contents_host [--port N] [--root DIR] [--tls-dir DIR] [--mode M]
// Prints "listening on https://localhost:<port>" once it accepts
// connections; stops on SIGTERM or SIGINT.
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "ContentsHost.h"

namespace {

const std::map<std::string, ContentsHost::Mode>& Modes() {
  static const std::map<std::string, ContentsHost::Mode> modes = {
      {"serve", ContentsHost::Mode::kServe},         {"404", ContentsHost::Mode::kNotFound},
      {"stall", ContentsHost::Mode::kStall},         {"cut", ContentsHost::Mode::kCutMidBody},
      {"reset", ContentsHost::Mode::kReset},         {"trickle", ContentsHost::Mode::kTrickle},
      {"huge", ContentsHost::Mode::kHuge},           {"malformed", ContentsHost::Mode::kMalformed},
  };
  return modes;
}

int Usage() {
  std::fprintf(stderr,
               "usage: varnio-contents-host [--port N] [--root DIR] [--tls-dir DIR]\n"
               "       [--mode serve|404|stall|cut|reset|trickle|huge|malformed]\n"
               "Serves ROOT/service-quorvel-app.json (general) and ROOT/kr/service-quorvel-app.json\n"
               "(Korean) as /quorvel-plax/tv/..., over TLS with server.pem and server.key of the TLS dir.\n"
               "Defaults: port %d, the one the library built with it fetches from;\n"
               "root %s; TLS dir %s\n",
               VARNIO_CONTENTS_HOST_PORT, DefaultContentsRoot().c_str(), DefaultTlsDir().c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  ContentsHost::Options options;
  options.root = DefaultContentsRoot();
  options.tlsDir = DefaultTlsDir();
  ContentsHost::Mode mode = ContentsHost::Mode::kServe;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (i + 1 >= argc) return Usage();
    const std::string value = argv[++i];
    if (flag == "--port") {
      options.port = std::atoi(value.c_str());
    } else if (flag == "--root") {
      options.root = value;
    } else if (flag == "--tls-dir") {
      options.tlsDir = value;
    } else if (flag == "--mode" && Modes().count(value) != 0) {
      mode = Modes().at(value);
    } else {
      return Usage();
    }
  }
  if (options.port <= 0 || options.port > 65535) return Usage();

  // Blocked before any thread starts, so that only sigwait sees them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  ContentsHost host(options);
  host.SetMode(mode);
  if (!host.Start()) return 1;
  std::printf("listening on https://localhost:%d\n", options.port);
  std::fflush(stdout);
  int signal = 0;
  sigwait(&stopSignals, &signal);
  host.Stop();
  return 0;
}
