// The programs installed into a prefix of their own, as a package would put them,
// find their data there and integrate with the desktop.
#include <gtest/gtest.h>

#include <fstream>

#include "TestPaths.h"
#include "desktop/DesktopRun.h"
#include "support/TempDir.h"

namespace qn::test {
namespace {

// The width and height in a PNG file's header.
std::pair<int, int> PngSize(const std::filesystem::path& file) {
  const std::string bytes = ReadFile(file);
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {0, 0};
  auto word = [&bytes](std::size_t at) {
    int n = 0;
    for (std::size_t i = 0; i < 4; ++i) n = n * 256 + static_cast<unsigned char>(bytes[at + i]);
    return n;
  };
  return {word(16), word(20)};
}

bool Contains(const std::filesystem::path& file, const std::string& text) {
  return ReadFile(file).find(text) != std::string::npos;
}

TEST(InstalledProgram, FindsItsDataInItsOwnPrefix) {
  TempDir dir;
  const std::filesystem::path prefix = dir / "prefix";
  ASSERT_EQ(RunProgram(QN_CMAKE_COMMAND, {"--install", QN_BUILD_DIR, "--prefix", prefix.string()},
                       dir.path()),
            0);
  const std::filesystem::path share = prefix / "share";
  EXPECT_TRUE(std::filesystem::exists(prefix / "bin" / "quillorne"));
  EXPECT_TRUE(Contains(share / "quillorne" / "welcome" / "Welcome.htm", "qnlogo.svg"));
  EXPECT_TRUE(Contains(share / "quillorne" / "welcome" / "qnlogo.svg", "<svg"));
  EXPECT_TRUE(Contains(share / "man" / "man1" / "quillorne-cli.1", ".SH NAME"));
  EXPECT_TRUE(
      Contains(share / "icons" / "hicolor" / "scalable" / "apps" / "quillorne.svg", "<svg"));
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    EXPECT_EQ(PngSize(share / "icons" / "hicolor" / folder / "apps" / "quillorne.png"),
              std::make_pair(size, size));
  }

  // A double click on a project or template opens it in the program: the desktop
  // entry and the file types it names are valid for the desktop's own tools.
  const std::filesystem::path entry = share / "applications" / "quillorne.desktop";
  EXPECT_TRUE(Contains(entry, "\nExec=quillorne %f\n"));
  EXPECT_TRUE(Contains(entry, "application/x-quillorne-project;application/x-quillorne-template;"));
  EXPECT_EQ(RunProgram("/usr/bin/desktop-file-validate", {entry.string()}, dir.path()), 0);
  ASSERT_EQ(RunProgram("/usr/bin/update-mime-database", {(share / "mime").string()}, dir.path()),
            0);
  EXPECT_TRUE(Contains(share / "mime" / "globs2", "application/x-quillorne-project:*.qnp"));
  EXPECT_TRUE(Contains(share / "mime" / "globs2", "application/x-quillorne-template:*.qnt"));

  // The installed quillorne-cli runs; its manual and its help agree on the options file.
  const std::filesystem::path out = dir / "cli";
  std::filesystem::create_directories(out);
  ChildProcess help((prefix / "bin" / "quillorne-cli").string(), {"--help"}, out);
  ASSERT_EQ(help.Wait(std::chrono::seconds(30)), 0);
  EXPECT_NE(help.Out().find("Quillorne.conf"), std::string::npos);

  // The installed desktop program finds its welcome page in the prefix and writes
  // its copy into the user's data folder, never beside itself in bin/.
  std::string err;
  EXPECT_EQ(RunProgram((prefix / "bin" / "quillorne").string(),
                       {(dir / "none.qnp").string(), "-D", "-E"}, dir.path(), &err),
            2)
      << err;
  const std::filesystem::path copy = dir / "data" / "Lumbrook" / "Quillorne" / "_QNwelcome";
  EXPECT_TRUE(Contains(copy / "Welcome.htm", "qnlogo.svg"));
  EXPECT_TRUE(std::filesystem::exists(copy / "qnlogo.svg"));
  EXPECT_FALSE(std::filesystem::exists(prefix / "bin" / "_QNwelcome"));
}

}  // namespace
}  // namespace qn::test
