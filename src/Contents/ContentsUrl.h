// Which contents file the current TV language asks for.
#ifndef VARNIO_CONTENTSURL_H_
#define VARNIO_CONTENTSURL_H_

#include <string>

// The URL for the language the TV has now; logs nothing.
std::string CurrentContentsUrl();

#endif  // VARNIO_CONTENTSURL_H_
