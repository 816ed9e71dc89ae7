#pragma once

#include <sys/socket.h>
#include <sys/types.h>
#include <sys/un.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/sim/machine/FileDescriptor.h"

namespace lumora::sim {

// The address of a Unix-domain socket at `path`; none when the path is too long for one.
std::optional<sockaddr_un> socketAddress(const std::filesystem::path& path);

// A non-blocking, close-on-exec connection to the socket; invalid, with errno telling why, when
// there is none.
FileDescriptor connectToSocket(const sockaddr_un& address);

// The user at the other end of a connection; none when the system cannot tell.
std::optional<uid_t> peerUser(int fd);

// A Unix-domain stream socket that listens for this user alone: in a folder of mode 0700 that
// is this user's, itself of mode 0600. There is one per process. It is removed when destroyed,
// at exit, and by removeListeningSocketForExit on the way out from a signal.
class ListeningSocket {
 public:
  // Makes the folder when it is missing, and its parents. A socket left at the path by an app
  // that is gone is replaced; one that answers, and anything that is not a socket, is left as it
  // is. None, and `problem` says why, when the socket cannot be made.
  static std::unique_ptr<ListeningSocket> open(const std::filesystem::path& path,
                                               std::string& problem);
  ListeningSocket(const ListeningSocket&) = delete;
  ListeningSocket& operator=(const ListeningSocket&) = delete;
  ~ListeningSocket();

  int fd() const { return fd_.get(); }
  // The next connection waiting, non-blocking and close-on-exec; invalid when none is.
  FileDescriptor accept();

 private:
  explicit ListeningSocket(FileDescriptor fd) : fd_(std::move(fd)) {}

  FileDescriptor fd_;
};

// Removes the socket of this process, if it is still the one this process made. Async-signal-safe,
// from any thread.
void removeListeningSocketForExit();

}  // namespace lumora::sim
