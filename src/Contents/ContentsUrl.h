// Which contents file the TV language asks for, and where it is fetched from.
#ifndef VARNIO_CONTENTSURL_H_
#define VARNIO_CONTENTSURL_H_

#include <string>

// The URL for the language the TV has now; logs nothing (CContents::GetURL
// is the same with its log lines).
std::string CurrentContentsUrl();

// Scheme, host and port the contents files are fetched from, for tests and
// benchmarks that serve them elsewhere; empty restores the built-in host.
void SetContentsOrigin(const std::string& origin);

#endif  // VARNIO_CONTENTSURL_H_
