// Times the link scanner on pathological pages: discovery and conversion of each
// page, with the peak memory of the process that ran it. Each page runs in a child
// process of its own so that the memory figures do not mix.
//
//   bench_scan            all pages
//   bench_scan <name>     one page

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "web/HtmlConverter.h"
#include "web/HtmlScanner.h"

namespace {

constexpr std::size_t kTenMegabytes = 10 * 1024 * 1024;

std::string Repeat(std::string_view piece, std::size_t size) {
  std::string text;
  text.reserve(size + piece.size());
  while (text.size() < size) text += piece;
  return text;
}

// Lines of `piece` repeated up to about `lineLength` characters, each closed by `close`.
std::string Lines(std::string_view piece, std::size_t lineLength, std::string_view close) {
  return Repeat(Repeat(piece, lineLength) + std::string(close) + "\n", kTenMegabytes);
}

struct Page {
  const char* name;
  std::function<std::string()> make;
};

const std::vector<Page>& Pages() {
  static const std::vector<Page> pages = {
      {"ordinary",
       [] {
         return Repeat("<P>Text <A HREF=\"page1.htm\">link</A> <IMG SRC=i.gif>\n", kTenMegabytes);
       }},
      {"no-gt",
       [] { return "<A HREF=first.htm " + Repeat("x<y ", kTenMegabytes) + "url(tail.gif)"; }},
      {"no-gt-img", [] { return Repeat("<IMG ", kTenMegabytes); }},
      {"nested-a-100000", [] { return Repeat("<A ", 300000) + "HREF=deep.htm>"; }},
      {"nested-a-10mb", [] { return Repeat("<A ", kTenMegabytes) + "HREF=deep.htm>"; }},
      {"line-4mb", [] { return Repeat("<A HREF=p123.htm>", 4 * 1024 * 1024); }},
      {"nul-bytes",
       [] {
         return Repeat(std::string("<A HREF=a.htm>\0\0<IMG\0SRC=b.gif>\0", 32), kTenMegabytes);
       }},
      {"overlap-img", [] { return Lines("<IMG ", 4000, ">"); }},
      {"overlap-a-td", [] { return Lines("<A <TD ", 4000, ">"); }},
      {"td-equals", [] { return Lines("=a.", 4000, "<TD "); }},
      {"form-nested-td", [] { return "<FORM " + Repeat("<TD ", kTenMegabytes) + ">/FORM>"; }},
      {"script-strings",
       [] {
         std::string page = "<SCRIPT LANGUAGE=js> ";
         for (int i = 0; page.size() < kTenMegabytes; ++i)
           page += "'a" + std::to_string(i) + ".gif' ";
         return page + "</SCRIPT>";
       }},
      {"comments-in-tags", [] { return Lines("<IMG <!-- x --> ", 4000, ">"); }},
      {"quotes-no-close", [] { return Lines("<IMG SRC=\"", 4000, ">"); }},
  };
  return pages;
}

struct CountingSink : qn::IQNLinkSink {
  std::size_t links = 0;
  void AddFoundLink(const qn::QNScannedLink&) override { ++links; }
};

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Run(const Page& page) {
  const std::string html = page.make();
  qn::CQNSettings settings;
  settings.ProcessForms = settings.SubmitLoginForms = 1;
  CountingSink sink;
  const double discovery = Seconds([&] {
    std::istringstream in(html);
    qn::ScanHtml(in, "http://host/dir/page.htm", settings, {}, sink);
  });
  std::size_t converted = 0;
  const double conversion = Seconds([&] {
    std::istringstream in(html);
    std::ostringstream out;
    const qn::QNConvertPage target{"http://host/dir/page.htm", "http://host/dir/", "/s/page.htm",
                                   qn::QNLinkForm::Relative};
    qn::ConvertHtmlFile(in, out, target, settings, [&](const qn::QNLinkToConvert& link) {
      ++converted;
      return std::optional<std::string>("L/" + std::string(link.value));
    });
  });
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf(
      "%-18s %9.2f MB  discovery %7.3f s (%8zu links)  conversion %7.3f s (%8zu values)  peak "
      "%6.1f MB\n",
      page.name, html.size() / 1048576.0, discovery, sink.links, conversion, converted,
      usage.ru_maxrss / 1024.0);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  for (const Page& page : Pages()) {
    if (argc > 1 && std::string_view(argv[1]) != page.name) continue;
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
      Run(page);
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
  }
  return 0;
}
