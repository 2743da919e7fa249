#include "support/FaultServer.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>

#include "support/TestServers.h"

namespace qn::test {
namespace {

// The path of "GET /a/b?c HTTP/1.1", empty when the head has no request line.
std::string RequestPath(const std::string& head) {
  const std::size_t start = head.find(' ');
  if (start == std::string::npos) return {};
  const std::size_t end = head.find(' ', start + 1);
  if (end == std::string::npos) return {};
  return head.substr(start + 1, end - start - 1);
}

std::string Head(int status, const std::string& type, const std::string& lastModified,
                 const std::string& framing) {
  return "HTTP/1.1 " + std::to_string(status) + " Status\r\nContent-Type: " + type +
         "\r\nLast-Modified: " + lastModified + "\r\n" + framing + "Connection: close\r\n\r\n";
}

std::string Length(std::size_t n) {
  return "Content-Length: " + std::to_string(n) + "\r\n";
}

std::string Chunk(std::string_view data) {
  char size[32];
  std::snprintf(size, sizeof size, "%zx\r\n", data.size());
  return size + std::string(data) + "\r\n";
}

// Closing with a linger time of zero sends a reset instead of the orderly end.
void Reset(int socket) {
  const linger hard{1, 0};
  ::setsockopt(socket, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
}

}  // namespace

FaultyHttpServer::FaultyHttpServer() {
  listener_ = ListenOnFreePort(port_);
  acceptor_ = std::thread([this] { Accept(); });
}

FaultyHttpServer::~FaultyHttpServer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    // Unblocks every connection still reading or writing.
    for (const int socket : open_) ::shutdown(socket, SHUT_RDWR);
  }
  wake_.notify_all();
  ::shutdown(listener_, SHUT_RDWR);
  acceptor_.join();
  ::close(listener_);
  // No new connection thread starts once the acceptor has ended.
  for (std::thread& connection : connections_) connection.join();
}

void FaultyHttpServer::Serve(const std::string& path, FaultyPage page) {
  std::lock_guard lock(mutex_);
  pages_[path] = std::move(page);
}

std::string FaultyHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int FaultyHttpServer::Requests(const std::string& path) const {
  std::lock_guard lock(mutex_);
  const auto it = records_.find(path);
  return it == records_.end() ? 0 : it->second.requests;
}

int FaultyHttpServer::WholeAnswers(const std::string& path) const {
  std::lock_guard lock(mutex_);
  const auto it = records_.find(path);
  return it == records_.end() ? 0 : it->second.whole;
}

std::vector<std::string> FaultyHttpServer::RequestedPaths() const {
  std::lock_guard lock(mutex_);
  return order_;
}

void FaultyHttpServer::ReleaseStalls() {
  {
    std::lock_guard lock(mutex_);
    released_ = true;
  }
  wake_.notify_all();
}

void FaultyHttpServer::Accept() {
  for (;;) {
    const int socket = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (socket < 0) return;
    std::lock_guard lock(mutex_);
    if (stopping_) {
      ::close(socket);
      return;
    }
    open_.insert(socket);
    connections_.emplace_back([this, socket] {
      Answer(socket);
      std::lock_guard done(mutex_);
      open_.erase(socket);
      ::close(socket);
    });
  }
}

// Sleeps for `pause`; false when the server is going.
bool FaultyHttpServer::Wait(std::chrono::milliseconds pause) {
  std::unique_lock lock(mutex_);
  return !wake_.wait_for(lock, pause, [this] { return stopping_; });
}

void FaultyHttpServer::Stall() {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [this] { return stopping_ || released_; });
}

void FaultyHttpServer::Answer(int socket) {
  const std::string path = RequestPath(ReadRequestHead(socket));
  if (path.empty()) return;
  FaultyPage page;
  bool known = false;
  Fault fault = Fault::None;
  {
    std::lock_guard lock(mutex_);
    ++records_[path].requests;
    order_.push_back(path);
    const auto it = pages_.find(path);
    if (it != pages_.end()) {
      known = true;
      page = it->second;
      if (it->second.faultyAnswers != 0) fault = page.fault;
      if (it->second.faultyAnswers > 0) --it->second.faultyAnswers;
    }
  }
  if (!known) {
    RawHttpServer::Send(socket, Head(404, "text/html", page.lastModified, Length(9)) + "Not found");
    return;
  }
  if (page.delay.count() > 0 && !Wait(page.delay)) return;

  const std::string& body = page.body;
  const std::string_view half = std::string_view(body).substr(0, body.size() / 2);
  const std::string plainHead = Head(200, page.type, page.lastModified, Length(body.size()));
  bool whole = false;
  switch (fault) {
    case Fault::None:
      whole = RawHttpServer::Send(socket, plainHead + body);
      break;
    case Fault::Reset:
      RawHttpServer::Send(socket, plainHead + std::string(half));
      Reset(socket);
      break;
    case Fault::Short:
      RawHttpServer::Send(socket, plainHead + std::string(half));
      break;
    case Fault::Long:
      RawHttpServer::Send(socket, plainHead + body + body);
      break;
    case Fault::BrokenChunks:
      RawHttpServer::Send(
          socket,
          Head(200, page.type, page.lastModified, "Transfer-Encoding: chunked\r\n") + Chunk(half));
      break;
    case Fault::Stall:
      if (RawHttpServer::Send(socket, plainHead + std::string(half))) Stall();
      break;
    case Fault::Trickle: {
      whole = RawHttpServer::Send(socket, plainHead);
      for (std::size_t i = 0; whole && i < body.size(); ++i)
        whole = Wait(page.interval) && RawHttpServer::Send(socket, body.substr(i, 1));
      break;
    }
    case Fault::Status: {
      const std::string text = "Status " + std::to_string(page.status);
      RawHttpServer::Send(
          socket, Head(page.status, "text/html", page.lastModified, Length(text.size())) + text);
      break;
    }
  }
  if (whole) {
    std::lock_guard lock(mutex_);
    ++records_[path].whole;
  }
}

}  // namespace qn::test
