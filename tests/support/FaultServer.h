#pragma once

// A web site on 127.0.0.1 that misbehaves on request: connections reset in the middle
// of a body, bodies shorter or longer than their Content-Length, chunked bodies that
// break off, answers that stall or trickle, and storms of 429 or 5xx answers. Every
// connection has a thread of its own, so a stalled answer holds up no other request,
// and every request is recorded for the test to look at.

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace qn::test {

enum class Fault {
  None,
  Reset,         // the head and half the body, then the connection is reset
  Short,         // the whole body's Content-Length, half the body, then closed
  Long,          // the whole body and as much again beyond its Content-Length
  BrokenChunks,  // chunked: half the body, then closed without the last chunk
  Stall,         // the head and half the body, then nothing until released
  Trickle,       // the whole body, one byte every `interval`
  Status,        // the answer `status` with a short page of its own
};

struct FaultyPage {
  std::string body;
  std::string type = "text/html";
  Fault fault = Fault::None;
  // How many requests meet the fault before the page is served whole; -1: all.
  int faultyAnswers = -1;
  int status = 503;                         // for Fault::Status
  std::chrono::milliseconds interval{100};  // for Fault::Trickle
  std::chrono::milliseconds delay{0};       // before every answer: a slow server
  // Sent as Last-Modified, so that an unchanged file can be recognised.
  std::string lastModified = "Wed, 01 Jan 2020 00:00:00 GMT";
};

class FaultyHttpServer {
 public:
  FaultyHttpServer();
  // Releases the stalls and waits for every connection to end.
  ~FaultyHttpServer();
  FaultyHttpServer(const FaultyHttpServer&) = delete;
  FaultyHttpServer& operator=(const FaultyHttpServer&) = delete;

  // Serves `page` at `path` (with its query, if any); any other path gets 404.
  void Serve(const std::string& path, FaultyPage page);
  int port() const { return port_; }
  std::string Url(const std::string& path) const;

  // Requests that arrived for `path`, and those of them answered with the whole body.
  int Requests(const std::string& path) const;
  int WholeAnswers(const std::string& path) const;
  // Every path requested so far, in the order the requests arrived.
  std::vector<std::string> RequestedPaths() const;
  // Lets stalled answers end: their connections are closed.
  void ReleaseStalls();

 private:
  struct Record {
    int requests = 0;
    int whole = 0;
  };

  void Accept();
  void Answer(int socket);
  bool Wait(std::chrono::milliseconds pause);
  void Stall();

  int listener_ = -1;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  bool released_ = false;
  std::map<std::string, FaultyPage> pages_;
  std::map<std::string, Record> records_;
  std::vector<std::string> order_;
  std::set<int> open_;
  std::vector<std::thread> connections_;
  std::thread acceptor_;
};

}  // namespace qn::test
