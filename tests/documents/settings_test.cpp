// The settings file: defaults, the readable forms of values, the written text, and writing that
// fails without harming the old file.
#include "documents/settings.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("kestrova_settings_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    file_ = folder_ / "kv.ini";
  }
  void TearDown() override {
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(folder_);
  }
  void Put(const std::string& text) const { std::ofstream(file_, std::ios::binary) << text; }
  std::string Get() const {
    std::ifstream in(file_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  size_t FilesInFolder() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {}));
  }

  fs::path folder_;
  fs::path file_;
};

TEST_F(SettingsFile, MissingOrForeignFileGivesTheDefaults) {
  Settings expected;
  expected.BitmapPath = folder_.string();
  EXPECT_EQ(LoadSettings(file_), expected);
  EXPECT_EQ(expected.Page, 1);  // the "View" tab
  EXPECT_FALSE(expected.DescriptionStayOnTop);
  EXPECT_FALSE(expected.MonitorStayOnTop);

  Put(std::string("\x00\xFF[[[=\n=5\n[MainForm\nTop\n", 24));
  EXPECT_EQ(LoadSettings(file_), expected);

  // The caller's defaults are what it holds when reading starts.
  Settings mine;
  mine.MainWidth = 900;
  mine.BitmapPath = "/pictures";
  EXPECT_EQ(LoadSettings(file_, mine), mine);

  // A named pipe would hold the start until someone wrote to it: it counts as no file.
  fs::remove(file_);
  ASSERT_EQ(::mkfifo(file_.c_str(), 0600), 0);
  EXPECT_EQ(LoadSettings(file_), expected);
}

TEST_F(SettingsFile, WritesEveryKeyInItsOrderAndReadsThemBack) {
  Settings s;
  s.MainTop = -4;
  s.MainLeft = 0;
  s.MainWidth = 1024;
  s.MainHeight = 700;
  s.Page = 2;
  s.DescriptionTop = 1;
  s.DescriptionLeft = 2;
  s.DescriptionWidth = 3;
  s.DescriptionHeight = 4;
  s.DescriptionStayOnTop = true;
  s.MonitorTop = 5;
  s.MonitorLeft = 6;
  s.MonitorStayOnTop = true;
  s.BgColor = 0x123456;
  s.GridColor = 0x505050;
  s.BitmapSize = 1000;
  s.BitmapPath = "/home/u/Bilder";
  SaveSettings(file_, s);
  EXPECT_EQ(Get(),
            "[MainForm]\nTop=-4\nLeft=0\nWidth=1024\nHeight=700\nPage=2\nMaximized=0\n"
            "[DescriptionForm]\nTop=1\nLeft=2\nWidth=3\nHeight=4\nStayOnTop=1\n"
            "[MonitorForm]\nTop=5\nLeft=6\nStayOnTop=1\n"
            "[Colors]\nColor0=0\nColor1=1193046\nColor2=5263440\n"
            "[Bitmap]\nSize=1000\nPath=/home/u/Bilder\n");

  // Colours are never read back: they belong to the document.
  Settings expected = s;
  expected.BgColor = Settings{}.BgColor;
  EXPECT_EQ(LoadSettings(file_), expected);
  EXPECT_EQ(FilesInFolder(), 1u) << "no temporary file left behind";
}

TEST(Settings, ReadsTheFormsOfValues) {
  struct Case {
    const char* value;
    int32_t size;  // "Size", default 500
  };
  const Case cases[] = {
      {"0x3E8", 1000},
      {"0X3e8", 1000},
      {"-0x10", -16},
      {"0xFFFFFFFF", -1},
      {" 42 ", 42},
      {"+7", 7},
      {"-2147483648", INT32_MIN},
      {"12abc", 500},
      {"", 500},
      {"0x", 500},
      {"2147483648", 500},
      {"0x1FFFFFFFF", 500},
      {"1e3", 500},
      {"- 5", 500},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseSettings(std::string("[Bitmap]\nSize=") + c.value + "\n", {}).BitmapSize, c.size)
        << c.value;
  }
  // Booleans are integers: any number but 0 is true; an unreadable one keeps the default.
  const auto stays = [](const char* value) {
    Settings defaults;
    defaults.MonitorStayOnTop = true;
    return ParseSettings(std::string("[MonitorForm]\r\nStayOnTop=") + value + "\r\n", defaults)
        .MonitorStayOnTop;
  };
  EXPECT_TRUE(stays("2"));
  EXPECT_TRUE(stays("0x10"));
  EXPECT_FALSE(stays("0"));
  EXPECT_TRUE(stays("yes"));

  // Names are matched without regard to case; a key under another section does not count.
  const Settings s = ParseSettings(
      "; kept by hand\n[mainform]\n  WIDTH = 800 \n[Other]\nHeight=9\n[MainForm]\nWidth=1\n", {});
  EXPECT_EQ(s.MainWidth, 800);
  EXPECT_EQ(s.MainHeight, 631);

  // Only three tabs exist.
  EXPECT_EQ(ParseSettings("[MainForm]\nPage=3\n", {}).Page, 1);
  EXPECT_EQ(ParseSettings("[MainForm]\nPage=-1\n", {}).Page, 1);
  EXPECT_EQ(ParseSettings("[MainForm]\nPage=0\n", {}).Page, 0);
}

TEST(Settings, ValuesAreCutAt2047Characters) {
  const std::string ascii(3000, 'a');
  EXPECT_EQ(ParseSettings("[Bitmap]\nPath=" + ascii + "\n", {}).BitmapPath, ascii.substr(0, 2047));
  std::string accented;
  for (int i = 0; i < 2100; ++i) accented += "\xC3\xA9";
  EXPECT_EQ(ParseSettings("[Bitmap]\nPath=" + accented + "\n", {}).BitmapPath,
            accented.substr(0, 2 * 2047));
  const std::string exact(2047, 'b');
  EXPECT_EQ(ParseSettings("[Bitmap]\nPath=" + exact + "\n", {}).BitmapPath, exact);
}

TEST(Settings, PathsSurviveTheirOwnFile) {
  for (const char* path : {" /tmp/lead space", "/tmp/trail ", "'quoted'", "\"q\"", "a=b;c",
                           "/home/M\xC3\xA9ssier", ""}) {
    Settings s;
    s.BitmapPath = path;
    Settings defaults;
    defaults.BitmapPath = "unset";
    EXPECT_EQ(ParseSettings(FormatSettings(s), defaults).BitmapPath, path);
  }
  // Files of older versions hold 8-bit text.
  EXPECT_EQ(ParseSettings("[Bitmap]\r\nPath=C:\\M\xE9ssier\r\n", {}).BitmapPath,
            "C:\\M\xC3\xA9ssier");
}

TEST(Settings, KeepsWhatItDoesNotKnow) {
  const std::string old =
      "; desk of the user\n[Other]\nA=1\n[Bitmap]\nExtra=x\nsize=7\n[MainForm]\nTop=1\n";
  const std::string text = FormatSettings(Settings{}, old);
  EXPECT_EQ(text,
            "; desk of the user\n"
            "[MainForm]\nTop=260\nLeft=508\nWidth=744\nHeight=631\nPage=1\nMaximized=0\n"
            "[DescriptionForm]\nTop=130\nLeft=635\nWidth=335\nHeight=292\nStayOnTop=0\n"
            "[MonitorForm]\nTop=478\nLeft=891\nStayOnTop=0\n"
            "[Colors]\nColor0=0\nColor1=0\nColor2=5263440\n"
            "[Bitmap]\nSize=500\nPath=\nExtra=x\n"
            "[Other]\nA=1\n");
}

TEST(Settings, RewritingItsOwnTextChangesNothing) {
  const std::string texts[] = {
      "\xEF\xBB\xBF[Bitmap]\r\nSize=7\r\n",
      // A mark inside the text, in front of what would become the first line of the next file.
      "\r\r\xEF\xBB\xBF[a=i\n8:M\x0C"
      "e\x01\n[\n\r-",
      "[]\nA=1\n[Bitmap\nPath='x\n;[MainForm]\n",
  };
  for (const std::string& text : texts) {
    const Settings read = ParseSettings(text, {});
    const std::string written = FormatSettings(read, text);
    EXPECT_EQ(ParseSettings(written, {}), read) << text;
    EXPECT_EQ(FormatSettings(read, written), written) << text;
  }
  EXPECT_EQ(ParseSettings("\xEF\xBB\xBF[Bitmap]\r\nSize=7\r\n", {}).BitmapSize, 7);
}

TEST_F(SettingsFile, UnwritableFileReportsAndKeepsTheOldOne) {
  const fs::path nowhere = folder_ / "missing" / "kv.ini";
  try {
    SaveSettings(nowhere, Settings{});
    ADD_FAILURE() << "no error";
  } catch (const ESettingsWriteError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + nowhere.string());
  }
  fs::create_directory(folder_ / "dir.ini");
  EXPECT_THROW(SaveSettings(folder_ / "dir.ini", Settings{}), ESettingsWriteError);
  // A FIFO (or a device) in the settings file's place is refused and stays what it is; a
  // rename would have put a regular file there.
  ASSERT_EQ(::mkfifo((folder_ / "fifo.ini").c_str(), 0600), 0);
  EXPECT_THROW(SaveSettings(folder_ / "fifo.ini", Settings{}), ESettingsWriteError);
  EXPECT_TRUE(fs::is_fifo(folder_ / "fifo.ini"));
  fs::remove(folder_ / "fifo.ini");

  // A disk that fills up half-way: the old file stays whole and no temporary file is left.
  const std::string old = "[MainForm]\nTop=1\n";
  Put(old);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto handler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(SaveSettings(file_, Settings{}), ESettingsWriteError);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, handler);
  EXPECT_EQ(Get(), old);
  EXPECT_EQ(FilesInFolder(), 2u);  // kv.ini and dir.ini

  if (::geteuid() != 0) {  // permissions do not stop root
    fs::permissions(folder_, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_THROW(SaveSettings(file_, Settings{}), ESettingsWriteError);
    EXPECT_EQ(Get(), old);
  }
}

}  // namespace
}  // namespace kestrova
