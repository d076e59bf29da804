// Keeps libcurl's sockets out of programs the host process starts: a home
// screen that runs a program with system() or posix_spawn must not hand it
// the library's connections.
#ifndef VARNIO_CLOSEONEXEC_H_
#define VARNIO_CLOSEONEXEC_H_

#include <curl/curl.h>

// CURLOPT_OPENSOCKETFUNCTION: the socket libcurl asks for, close-on-exec
// from the start.
curl_socket_t OpenCloseOnExecSocket(void* userData, curlsocktype purpose, curl_sockaddr* address);

// curl_multi_init, with the socket pair the multi handle wakes itself with
// made close-on-exec: libcurl before 8.8 makes it without, and offers no
// way to reach it. Null when libcurl gives no handle.
CURLM* NewCloseOnExecMulti();

#endif  // VARNIO_CLOSEONEXEC_H_
