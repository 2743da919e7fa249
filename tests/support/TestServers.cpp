#include "support/TestServers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

extern char** environ;

namespace qn::test {
namespace {

constexpr const char* kLoopback = "127.0.0.1";

}  // namespace

int ListenOnFreePort(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket failed");
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 16) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    ::close(fd);
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  port = ntohs(addr.sin_port);
  return fd;
}

std::string ReadRequestHead(int socket) {
  std::string head;
  char buf[4096];
  while (head.find("\r\n\r\n") == std::string::npos) {
    const ssize_t n = ::recv(socket, buf, sizeof buf, 0);
    if (n <= 0) break;
    head.append(buf, static_cast<std::size_t>(n));
  }
  return head;
}

HttpTestServer::HttpTestServer() : server_(std::make_unique<httplib::Server>()) {
  server_->set_keep_alive_timeout(1);
}

HttpTestServer::HttpTestServer(const std::string& certFile, const std::string& keyFile)
    : server_(std::make_unique<httplib::SSLServer>(certFile.c_str(), keyFile.c_str())),
      secure_(true) {
  server_->set_keep_alive_timeout(1);
}

HttpTestServer::~HttpTestServer() {
  Stop();
}

void HttpTestServer::Start() {
  port_ = server_->bind_to_any_port(kLoopback);
  if (port_ <= 0) throw std::runtime_error("cannot bind the test server");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  // The socket already listens; wait until the accept loop runs so that Stop works.
  for (int i = 0; i < 2000 && !server_->is_running(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void HttpTestServer::Stop() {
  if (!thread_.joinable()) return;
  server_->stop();
  thread_.join();
}

std::string HttpTestServer::Url(const std::string& path) const {
  return std::string(secure_ ? "https://" : "http://") + kLoopback + ":" + std::to_string(port_) +
         path;
}

RawHttpServer::RawHttpServer(Handler handler) : handler_(std::move(handler)) {
  listener_ = ListenOnFreePort(port_);
  thread_ = std::thread([this] { Run(); });
}

SilentHttpServer::SilentHttpServer()
    : server_([this](int socket, const std::string&) {
        ++connections_;
        while (!release_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ::shutdown(socket, SHUT_RDWR);
      }) {}

RawHttpServer::~RawHttpServer() {
  stopping_ = true;
  ::shutdown(listener_, SHUT_RDWR);
  thread_.join();
  ::close(listener_);
}

void RawHttpServer::Run() {
  while (!stopping_) {
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    handler_(fd, ReadRequestHead(fd));
    ::close(fd);
  }
}

bool RawHttpServer::Send(int socket, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

std::string RawHttpServer::Url(const std::string& path) const {
  return std::string("http://") + kLoopback + ":" + std::to_string(port_) + path;
}

int UnusedPort() {
  int port = 0;
  ::close(ListenOnFreePort(port));
  return port;
}

FtpTestServer::FtpTestServer(const std::filesystem::path& root, const std::string& user,
                             const std::string& password) {
  static constexpr const char* kScript = R"(
import logging, sys
logging.basicConfig(level=logging.WARNING)
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
root, user, password = sys.argv[1], sys.argv[2], sys.argv[3]
auth = DummyAuthorizer()
auth.add_user(user, password, root, perm='elr')
auth.add_anonymous(root)
FTPHandler.authorizer = auth
FTPHandler.auth_failed_timeout = 0
server = FTPServer(('127.0.0.1', 0), FTPHandler)
print(server.address[1], flush=True)
server.serve_forever()
)";
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  const std::string rootText = root.string();
  const char* argv[] = {"/usr/bin/python3", "-c",   kScript, rootText.c_str(), user.c_str(),
                        password.c_str(),   nullptr};
  const int rc =
      posix_spawn(&pid_, argv[0], &actions, nullptr, const_cast<char* const*>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (rc != 0) {
    pid_ = -1;
    ::close(pipeFds[0]);
    return;
  }
  std::string line;
  char c = 0;
  while (::read(pipeFds[0], &c, 1) == 1 && c != '\n') line += c;
  ::close(pipeFds[0]);
  port_ = std::atoi(line.c_str());
}

FtpTestServer::~FtpTestServer() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  int status = 0;
  ::waitpid(pid_, &status, 0);
}

std::string FtpTestServer::Url(const std::string& path) const {
  return std::string("ftp://") + kLoopback + ":" + std::to_string(port_) + path;
}

bool MakeSelfSignedCertificate(const std::filesystem::path& dir, std::string& certFile,
                               std::string& keyFile) {
  certFile = (dir / "cert.pem").string();
  keyFile = (dir / "key.pem").string();
  const std::string command =
      "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
      "-subj /CN=quillorne.test -keyout '" +
      keyFile + "' -out '" + certFile + "' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0 && std::filesystem::exists(certFile);
}

ProxyTestServer::ProxyTestServer(std::string authorization, Answer answer)
    : answer_(std::move(answer)) {
  server_.server().Get(".*",
                       [this, authorization](const httplib::Request& req, httplib::Response& res) {
                         if (req.get_header_value("Proxy-Authorization") != authorization) {
                           res.status = 407;
                           res.set_header("Proxy-Authenticate", "Basic realm=\"proxy\"");
                           return;
                         }
                         {
                           std::lock_guard lock(mutex_);
                           targets_.push_back(req.path);
                         }
                         answer_(req, res);
                       });
  server_.Start();
}

std::vector<std::string> ProxyTestServer::Targets() {
  std::lock_guard lock(mutex_);
  return targets_;
}

}  // namespace qn::test
