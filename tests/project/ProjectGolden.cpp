#include "project/ProjectGolden.h"

#include "project/ProjectTestSupport.h"

namespace qn::test {

namespace {
constexpr const char* kStart = "http://example.com/docs/index.htm";
}

CQNSettings GoldenSettings() {
  CQNSettings s;
  s.ResetToDefaults("", "/proj");
  s.QN_START_URL[0] = kStart;
  s.QN_TITLE = "Demo";
  auto& images = s.QN_FILE_EXT[1];
  images.erase(images.begin() + 4);  // bmp
  images.push_back({"heic", 1, 1, 2097152.0, 0, 0});
  s.QN_URL_FILTER.push_back({0, 15, "ads.example.com", "", ""});
  s.QN_DELAY_MS = 1500;
  s.QN_LIM_CONN = 1;
  s.QN_COOKIES = "/proj/cookies.txt";
  s.DownloadDir = "/proj/Download/";
  return s;
}

void BuildGoldenTree(CQNDocTree& tree) {
  tree.CreateRoot("Demo");
  CQNDocNode* page = AddNode(tree, tree.root, kNodeFolder, "Index", kStart,
                             "/proj/Download/example.com/docs/index.htm");
  page->type = 1;
  page->state = kStateDone;
  page->level = 0;
  page->size = 1234;
  page->sitePos = 0;
  page->etag = "\"v1\"";
  CQNDocNode* logo = AddNode(tree, page, kNodeLink, "Logo", "http://example.com/img/logo.gif",
                             "/proj/Download/example.com/img/logo.gif");
  logo->type = 2;
  logo->level = 1;
  logo->size = 99;
  logo->sitePos = -1;
}

GoldenFile GoldenBytes() {
  Bytes b;
  b.Byte(0x1B).Raw("Quillorne Project File v1.0");
  // Block 1: first start address, user, password, project folder, title.
  b.Str(kStart).Str("").Str("").Str("/proj/Download/").Str("Demo");
  b.Int(5).Int(511).Int(0).Int(1);  // threads, file types, offsite, disk-space switch
  b.Int(30);                        // 30 MB of disk space, whole megabytes
  b.Int(1).Int(1000).Int(1);        // file-count switch and limit, maximum-size switch
  b.Real(1048576.0);                // maximum size
  // Time switch and limit, tree update, spare flag, tree file types, initialise,
  // link order, directory structure, update method, link conversion.
  b.Int(1).Int(120).Int(3).Int(1).Int(511).Int(0).Int(0).Int(0).Int(0).Int(1);
  b.Int(60);          // W0 timeout
  b.Int(5);           // W1 retries
  b.Int(0);           // W2 external browser
  b.Int(0x00030000);  // W3 main-link levels 3, switch off
  b.Int(0x00010001);  // W4 offsite levels 1, switch on
  b.Int(0x000F0000);  // W5 protocols 15, within directory off
  b.Int(0);           // W6 download state
  b.Int(0);           // W7 keep HTML, detailed preview
  b.Int(0x0FA00000);  // W8 agent version 4000, kind 0
  b.Int(0x27100001);  // W9 tree shows 10000 files, switch on

  // Contents tree in pre-order: kind, title, [local file, address, type, state],
  // then the ordinals of the node, previous, next, parent and first child.
  b.Int(3);
  b.Int(1).Counted("Demo").Int(0).Int(-1).Int(-1).Int(-1).Int(1);
  b.Int(2).Counted("Index").Counted("Download/example.com/docs/index.htm").Counted("index.htm");
  b.Int(1).Int(2).Int(1).Int(-1).Int(-1).Int(0).Int(2);
  b.Int(3).Counted("Logo").Counted("Download/example.com/img/logo.gif").Counted("../img/logo.gif");
  b.Int(2).Int(0).Int(2).Int(-1).Int(-1).Int(1).Int(-1);
  const std::size_t treeEnd = b.size();

  // Block 2: exact disk space, minimum-size switch and value, ten spare ints.
  b.Real(31457280.0).Int(0).Real(0.0);
  for (int i = 0; i < 10; ++i) b.Int(0);
  // Extension differences by category 1, 2, 8, 16, 32, 128, 256, 64, counted from
  // the lists the format started with: the later defaults come as added entries.
  b.Int(0);
  b.Int(6);
  for (const char* ext : {"webp", "avif", "svg", "ico", "heic"}) b.Int(2).Byte(1).Str(ext);
  b.Int(2).Byte(2).Str("bmp");
  b.Int(3);
  for (const char* ext : {"ogg", "m4a", "opus"}) b.Int(8).Byte(1).Str(ext);
  b.Int(4);
  for (const char* ext : {"webm", "mp4", "m4v", "ogv"}) b.Int(16).Byte(1).Str(ext);
  b.Int(2);
  for (const char* ext : {"mjs", "wasm"}) b.Int(32).Byte(1).Str(ext);
  b.Int(3);
  for (const char* ext : {"json", "webmanifest", "vtt"}) b.Int(128).Byte(1).Str(ext);
  b.Int(0);
  b.Int(5);
  for (const char* ext : {"woff", "woff2", "ttf", "otf", "eot"}) b.Int(64).Byte(1).Str(ext);
  b.Int(1).Int(0).Int(15).Str("ads.example.com").Str("").Str("");
  // Node levels A: ordinal, level, size.
  b.Int(3).Int(0).Int(2147483647).Int(0).Int(1).Int(0).Int(1234).Int(2).Int(1).Int(99);
  // Block 3: agent string, download folder.
  b.Str("").Str("/proj/Download/");
  // Node levels B: ordinal, site position, 0.
  b.Int(3).Int(0).Int(2147483647).Int(0).Int(1).Int(0).Int(0).Int(2).Int(-1).Int(0);
  // Block 4: default file name, size limits of every entry of every list.
  b.Str("default.htm");
  for (int entries : {23, 13, 11, 11, 4, 10, 11, 7}) {
    b.Int(entries);
    for (int i = 0; i < entries; ++i) {
      const bool heic = entries == 13 && i == 12;
      b.Byte(0).Real(0.0).Byte(heic ? 1 : 0).Real(heic ? 2097152.0 : 0.0);
    }
  }
  b.Int(1).Int(1).Str(kStart);  // single site, one start address
  // Report, rename HTML, page break, login forms, forms, encrypt project, encrypt
  // downloads, fast parsing.
  b.Int(0).Int(1).Int(1).Int(0).Int(0).Int(0).Int(0).Int(1);
  // Named records: the crawling settings (robots, delay, connection cap switch and
  // value, cookies file), then the validators by node position.
  b.Str("Crawling").Int(4 * 4 + 1 + 17).Int(0).Int(1500).Int(1).Int(2).Str("/proj/cookies.txt");
  b.Str("Validators").Int(4 + 4 + 1 + 4).Int(1).Int(1).Str("\"v1\"");
  return {b.str(), treeEnd};
}

}  // namespace qn::test
