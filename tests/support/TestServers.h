#pragma once

// Servers on 127.0.0.1 for the network tests: HTTP and HTTPS with cpp-httplib in
// this process, a raw socket server for answers no well-behaved server gives, and
// an FTP server run by Debian's Python with pyftpdlib.

#include <httplib.h>
#include <sys/types.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qn::test {

// An HTTP (or, with a certificate, HTTPS) server on a free port. Register handlers on
// server() and call Start(); the destructor stops it.
class HttpTestServer {
 public:
  HttpTestServer();
  HttpTestServer(const std::string& certFile, const std::string& keyFile);
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  httplib::Server& server() { return *server_; }
  void Start();
  void Stop();
  int port() const { return port_; }
  // "http://127.0.0.1:port" (or https) followed by `path`.
  std::string Url(const std::string& path) const;

 private:
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
  bool secure_ = false;
};

// A proxy that asks for Basic credentials (407 until they match), records each
// address it was asked for and lets `answer` reply for the addressed site.
class ProxyTestServer {
 public:
  using Answer = std::function<void(const httplib::Request&, httplib::Response&)>;
  ProxyTestServer(std::string authorization, Answer answer);
  int port() const { return server_.port(); }
  std::vector<std::string> Targets();

 private:
  std::mutex mutex_;
  std::vector<std::string> targets_;
  Answer answer_;
  HttpTestServer server_;  // last: its handlers stop before the members they use go
};

// Accepts connections one after another and hands each, with the request head it
// sent, to the handler, which writes whatever it likes to the socket.
class RawHttpServer {
 public:
  using Handler = std::function<void(int socket, const std::string& requestHead)>;
  explicit RawHttpServer(Handler handler);
  ~RawHttpServer();
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  int port() const { return port_; }
  std::string Url(const std::string& path) const;
  // Writes all of `bytes`; false once the peer has gone.
  static bool Send(int socket, const std::string& bytes);

 private:
  void Run();
  Handler handler_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

// A server that accepts requests and never answers until released (at the latest
// when it goes): for stops that must give up on a transfer.
class SilentHttpServer {
 public:
  SilentHttpServer();
  ~SilentHttpServer() { Release(); }

  std::string Url(const std::string& path) const { return server_.Url(path); }
  // Requests that have arrived so far.
  int Connections() const { return connections_; }
  // Lets every held request go: the connection is shut down without an answer.
  void Release() { release_ = true; }

 private:
  std::atomic<bool> release_{false};
  std::atomic<int> connections_{0};
  RawHttpServer server_;  // last: its handler uses the members above
};

// A port on 127.0.0.1 on which nothing listens.
int UnusedPort();

// A socket listening on a free port of 127.0.0.1 (its number in `port`); throws when
// none can be made.
int ListenOnFreePort(int& port);
// The head of the request a client sent: up to its empty line, or whatever came
// before the client closed.
std::string ReadRequestHead(int socket);

// pyftpdlib serving `root` to `user` with `password` (and to anonymous users).
class FtpTestServer {
 public:
  FtpTestServer(const std::filesystem::path& root, const std::string& user,
                const std::string& password);
  ~FtpTestServer();
  FtpTestServer(const FtpTestServer&) = delete;
  FtpTestServer& operator=(const FtpTestServer&) = delete;

  // False when Debian's Python or pyftpdlib is missing.
  bool running() const { return port_ > 0; }
  int port() const { return port_; }
  std::string Url(const std::string& path) const;

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

// Makes a self-signed certificate and its key in `dir` with the openssl program;
// false when that fails.
bool MakeSelfSignedCertificate(const std::filesystem::path& dir, std::string& certFile,
                               std::string& keyFile);

}  // namespace qn::test
