#include "CloseOnExec.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "LibraryLog.h"

namespace {

// A file of /proc, or what could be read of it: one that vanishes while it
// is read must not throw as a stream would.
std::string ReadText(const std::string& path) {
  std::string text;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return text;
  char buffer[4096];
  ssize_t length = 0;
  while ((length = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(length));
  close(fd);
  return text;
}

// The sockets open now, each descriptor with the inode of its socket, read
// through /proc by path only: the listing must not touch descriptors other
// threads own, which may be closed and reused while it runs. The inode tells
// a number another thread closed and libcurl got again from an old one.
std::map<int, ino_t> OpenSockets() {
  std::map<int, ino_t> sockets;
  if (DIR* dir = opendir("/proc/self/fd")) {
    // NOLINTNEXTLINE(concurrency-mt-unsafe): the stream is this call's own
    while (const dirent* entry = readdir(dir)) {
      const int fd = static_cast<int>(std::strtol(entry->d_name, nullptr, 10));
      if (entry->d_name[0] == '.' || fd == dirfd(dir)) continue;
      char target[64] = {};
      const std::string link = std::string("/proc/self/fd/") + entry->d_name;
      unsigned long inode = 0;
      // NOLINTNEXTLINE(cert-err34-c): a target that is no socket is skipped
      if (readlink(link.c_str(), target, sizeof target - 1) > 0 && std::sscanf(target, "socket:[%lu]", &inode) == 1) {
        sockets[fd] = inode;
      }
    }
    closedir(dir);
  }
  return sockets;
}

// The inodes of the process's local stream sockets (type 0001 in the kernel's
// table of local sockets).
std::set<ino_t> LocalStreamSockets() {
  std::set<ino_t> inodes;
  std::istringstream table(ReadText("/proc/self/net/unix"));
  std::string line;
  std::getline(table, line);  // the heading
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    std::string slot, references, protocol, flags, type, state;
    unsigned long inode = 0;
    if (fields >> slot >> references >> protocol >> flags >> type >> state >> inode && type == "0001") {
      inodes.insert(inode);
    }
  }
  return inodes;
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
  const std::map<int, ino_t> before = OpenSockets();
  CURLM* multi = curl_multi_init();
  if (multi == nullptr) return nullptr;
  // The pair is among the local stream sockets that are new and inheritable;
  // only those descriptors are touched. Other threads may open sockets
  // meanwhile; the wake-up tells the pair apart: its byte shows in the queues
  // of both its ends and of nothing else.
  const std::set<ino_t> local = LocalStreamSockets();
  std::vector<Candidate> candidates;
  for (const auto& [fd, inode] : OpenSockets()) {
    const auto old = before.find(fd);
    const bool isNew = old == before.end() || old->second != inode;
    if (isNew && local.count(inode) != 0 && (fcntl(fd, F_GETFD) & FD_CLOEXEC) == 0) {
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
