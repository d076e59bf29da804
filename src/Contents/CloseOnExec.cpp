#include "CloseOnExec.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "LibraryLog.h"

namespace {

// The descriptors open now, but for the one this listing reads through, each
// with the inode it is open on: a number another thread closed and libcurl
// got again is then not taken for an old descriptor.
std::map<int, ino_t> OpenDescriptors() {
  std::map<int, ino_t> fds;
  if (DIR* dir = opendir("/proc/self/fd")) {
    // NOLINTNEXTLINE(concurrency-mt-unsafe): the stream is this call's own
    while (const dirent* entry = readdir(dir)) {
      struct stat status {};
      const int fd = static_cast<int>(std::strtol(entry->d_name, nullptr, 10));
      if (entry->d_name[0] != '.' && fd != dirfd(dir) && fstat(fd, &status) == 0) fds[fd] = status.st_ino;
    }
    closedir(dir);
  }
  return fds;
}

bool IsLocalStreamSocket(int fd) {
  int domain = 0;
  int type = 0;
  socklen_t size = sizeof(int);
  if (getsockopt(fd, SOL_SOCKET, SO_DOMAIN, &domain, &size) != 0) return false;
  size = sizeof(int);
  return getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &size) == 0 && domain == AF_UNIX && type == SOCK_STREAM;
}

// Bytes waiting to be read at `fd` plus bytes it sent that its peer has not
// read yet.
int Queued(int fd) {
  int in = 0;
  int out = 0;
  ioctl(fd, SIOCINQ, &in);
  ioctl(fd, SIOCOUTQ, &out);
  return in + out;
}

struct Candidate {
  int fd;
  int queued;
};

}  // namespace

curl_socket_t OpenCloseOnExecSocket(void* /*userData*/, curlsocktype /*purpose*/, curl_sockaddr* address) {
  return socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
}

CURLM* NewCloseOnExecMulti() {
  const std::map<int, ino_t> before = OpenDescriptors();
  CURLM* multi = curl_multi_init();
  if (multi == nullptr) return nullptr;
  // The pair is among the local stream sockets that are new and inheritable.
  // Other threads may open descriptors meanwhile; the wake-up tells the pair
  // apart: its byte shows in the queues of both its ends and of nothing else.
  std::vector<Candidate> candidates;
  for (const auto& [fd, inode] : OpenDescriptors()) {
    const auto old = before.find(fd);
    const bool isNew = old == before.end() || old->second != inode;
    if (isNew && (fcntl(fd, F_GETFD) & FD_CLOEXEC) == 0 && IsLocalStreamSocket(fd)) {
      candidates.push_back({fd, Queued(fd)});
    }
  }
  if (candidates.empty()) return multi;  // a libcurl that makes the pair close-on-exec itself
  curl_multi_wakeup(multi);
  int marked = 0;
  for (const Candidate& candidate : candidates) {
    if (Queued(candidate.fd) > candidate.queued && fcntl(candidate.fd, F_SETFD, FD_CLOEXEC) == 0) ++marked;
  }
  if (marked != 2) VARNIO_LOG(2, "libcurl's wake-up sockets: %d of 2 made close-on-exec", marked);
  return multi;
}
