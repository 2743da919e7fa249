// A web server for the latency benchmark: serves the files of a folder on
// 127.0.0.1 and waits a fixed time before every answer, as a distant server would.
//
//   bench_slow_server FOLDER PORT DELAY_MS
//
// Prints "ready" once it listens and runs until it is killed. Every connection has a
// thread of its own, so the wait of one answer never delays another; the listening
// queue is long, so that a hundred clients connecting at once are all accepted; and
// headers and body leave in one write, so that no answer waits for a delayed
// acknowledgement. Only what the mirror tools send is understood: GET and HEAD with
// keep-alive.

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

namespace {

constexpr int kListenQueue = 1024;
constexpr std::size_t kMaxRequest = 64 * 1024;

class Socket {
 public:
  explicit Socket(int fd) : fd_(fd) {}
  ~Socket() {
    if (fd_ >= 0) close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

std::string ContentType(const std::filesystem::path& file) {
  const std::string ext = file.extension().string();
  if (ext == ".html" || ext == ".htm") return "text/html";
  if (ext == ".css") return "text/css";
  if (ext == ".png") return "image/png";
  if (ext == ".gif") return "image/gif";
  return "application/octet-stream";
}

// The path of a request target inside the folder, or empty when it leaves it.
std::string LocalPath(const std::string& folder, std::string target) {
  target = target.substr(0, target.find_first_of("?#"));
  std::string decoded;
  for (std::size_t i = 0; i < target.size(); ++i) {
    if (target[i] == '%' && i + 2 < target.size()) {
      decoded += static_cast<char>(std::strtol(target.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else {
      decoded += target[i];
    }
  }
  if (decoded.empty() || decoded[0] != '/' || decoded.find("..") != std::string::npos) return {};
  return folder + decoded;
}

bool SendAll(int fd, const std::string& head, const std::string& body) {
  iovec parts[2] = {{const_cast<char*>(head.data()), head.size()},
                    {const_cast<char*>(body.data()), body.size()}};
  std::size_t left = head.size() + body.size();
  int first = 0;
  while (left > 0) {
    const ssize_t sent = writev(fd, parts + first, 2 - first);
    if (sent <= 0) return false;
    left -= static_cast<std::size_t>(sent);
    std::size_t n = static_cast<std::size_t>(sent);
    while (first < 2 && n >= parts[first].iov_len) n -= parts[first++].iov_len;
    if (first < 2) {
      parts[first].iov_base = static_cast<char*>(parts[first].iov_base) + n;
      parts[first].iov_len -= n;
    }
  }
  return true;
}

void Serve(int fd, const std::string& folder, std::chrono::milliseconds delay) {
  const Socket connection(fd);
  std::string pending;
  char buffer[16384];
  for (;;) {
    std::size_t end;
    while ((end = pending.find("\r\n\r\n")) == std::string::npos) {
      const ssize_t got = read(fd, buffer, sizeof buffer);
      if (got <= 0 || pending.size() > kMaxRequest) return;
      pending.append(buffer, static_cast<std::size_t>(got));
    }
    std::istringstream request(pending.substr(0, end));
    pending.erase(0, end + 4);
    std::string method, target, version;
    request >> method >> target >> version;
    bool keepAlive = version == "HTTP/1.1";
    for (std::string line; std::getline(request, line);) {
      for (char& c : line) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (line.rfind("connection:", 0) == 0) keepAlive = line.find("close") == std::string::npos;
    }

    std::this_thread::sleep_for(delay);
    const std::string path = LocalPath(folder, target);
    std::error_code ec;
    std::string head, body;
    if (!path.empty() && std::filesystem::is_regular_file(path, ec)) {
      std::ifstream in(path, std::ios::binary);
      body.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      head = "HTTP/1.1 200 OK\r\nContent-Type: " + ContentType(path) + "\r\n";
    } else {
      body = "not found\n";
      head = "HTTP/1.1 404 Not Found\r\nContent-Type: text/plain\r\n";
    }
    head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    head += keepAlive ? "\r\n" : "Connection: close\r\n\r\n";
    if (method == "HEAD") body.clear();
    if (!SendAll(fd, head, body) || !keepAlive) return;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s FOLDER PORT DELAY_MS\n", argv[0]);
    return 2;
  }
  const std::string folder = std::filesystem::path(argv[1]).lexically_normal().string();
  const int port = std::atoi(argv[2]);
  const auto delay = std::chrono::milliseconds(std::atoi(argv[3]));

  const Socket listener(socket(AF_INET, SOCK_STREAM, 0));
  const int on = 1;
  setsockopt(listener.fd(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(listener.fd(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener.fd(), kListenQueue) != 0) {
    std::perror("bench_slow_server");
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  for (;;) {
    const int fd = accept(listener.fd(), nullptr, nullptr);
    if (fd < 0) continue;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    std::thread(Serve, fd, folder, delay).detach();
  }
}
