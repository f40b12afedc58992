// What the whole cycle deletes and what it leaves, on machines that hold
// links, awkward names, files in use and very many items.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "platform/sim/image/atomic_write.h"
#include "platform/sim/machine.h"
#include "sim_test_image.h"

namespace kelvane::platform::sim {
namespace {

namespace fs = std::filesystem;
using testing::TestImage;

const std::string kTemp = "C:\\Users\\Demo User\\AppData\\Local\\Temp";
const std::string kOffice14 = "C:\\Program Files\\Microsoft Office\\Office14";
const std::string kCache = "C:\\MSOCache\\All Users\\{90140000-0011-0000-0000-0000000FF1CE}-C";
const std::string kDocuments = "C:\\Users\\Demo User\\Documents";

void MakeLink(const TestImage& image, const std::string& linkPath, const std::string& targetPath) {
  fs::create_directories(image.Host(linkPath).parent_path());
  if (fs::is_directory(image.Host(targetPath))) {
    fs::create_directory_symlink(image.Host(targetPath), image.Host(linkPath));
  } else {
    fs::create_symlink(image.Host(targetPath), image.Host(linkPath));
  }
}

bool LinkExists(const TestImage& image, const std::string& windowsPath) {
  return fs::exists(fs::symlink_status(image.Host(windowsPath)));
}

bool Announced(const TestImage& image, const std::string& text) {
  const auto progress = image.Events("progress");
  return std::find(progress.begin(), progress.end(), "progress\t" + text) != progress.end();
}

// Folders full of the user's and the system's files, each reached by a link
// from a place the tool empties.
TEST(Links, EachIsRemovedAsALinkAndWhatItLeadsToStays) {
  TestImage image;
  const std::vector<std::string> precious = {
      kDocuments + "\\Precious\\thesis.docx", kDocuments + "\\Precious\\photos\\2010\\beach.jpg",
      "C:\\Windows\\System32\\kernel32.dll", "C:\\Windows\\System32\\drivers\\ntfs.sys"};
  for (const auto& file : precious) image.MakeFile(file, "keep me");
  const std::vector<std::pair<std::string, std::string>> links = {
      {kTemp + "\\documents", kDocuments + "\\Precious"},                    // swept by the clean-up
      {kTemp + "\\thesis shortcut.docx", kDocuments + "\\Precious\\thesis.docx"},  // a link to a file
      {kTemp + "\\deep\\er\\system", "C:\\Windows\\System32"},              // inside a swept folder
      {kOffice14 + "\\Linked System", "C:\\Windows"},                       // removed by the batch file
      {kCache + "\\system32", "C:\\Windows\\System32"},                     // inside a cache folder
      {"C:\\MSOCache\\All Users\\{90140000-0044-0000-0000-0000000FF1CE}-C", kDocuments + "\\Precious"},
  };
  for (const auto& [link, target] : links) MakeLink(image, link, target);

  ASSERT_EQ(image.Run({"cycle", "IMAGE"}), 0) << image.err();
  for (const auto& file : precious) {
    EXPECT_TRUE(image.Exists(file)) << file;
    std::ifstream in(image.Host(file));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep me") << file;
  }
  for (const auto& [link, target] : links) EXPECT_FALSE(LinkExists(image, link)) << link;
  EXPECT_TRUE(Announced(image, "Removing documents"));
  EXPECT_TRUE(Announced(image, "Removing: C:\\MSOCache\\All Users\\{90140000-0044-0000-0000-0000000FF1CE}-C"));
}

// A temporary folder that is itself a link, or leads (through a link above
// it) to a folder of the system or a whole profile, is not emptied; the
// batch file and the shortcut still go.
TEST(Links, ATemporaryFolderThatIsALinkOrLeadsToASystemFolderIsNotSwept) {
  // The link itself; a profile's root; the Windows folder, through a link
  // to the drive's root.
  for (const std::string& temp : {kTemp, std::string("C:\\Users\\Demo User"), std::string("C:\\Stage\\Windows")}) {
    TestImage image;
    image.MakeFile(kDocuments + "\\Precious\\thesis.docx", "keep me");
    image.MakeFile("C:\\Windows\\System32\\kernel32.dll");
    fs::create_directory_symlink(image.Host("C:\\"), image.Host("C:\\Stage"));
    if (temp == kTemp) {
      fs::remove_all(image.Host(kTemp));
      MakeLink(image, kTemp, kDocuments + "\\Precious");
    }
    std::string ini = image.ReadImageFile("machine.ini");
    for (const std::string variable : {"TEMP=", "TMP="}) {
      const auto at = ini.find("\n" + variable);
      if (at != std::string::npos) ini.replace(at + 1, ini.find('\n', at + 1) - at - 1, variable + temp);
    }
    image.WriteImageFile("machine.ini", ini);
    ASSERT_EQ(image.Run({"cycle", "IMAGE"}), 0) << image.err();
    EXPECT_TRUE(image.Exists(kDocuments + "\\Precious\\thesis.docx")) << temp;
    EXPECT_TRUE(image.Exists("C:\\Windows\\System32\\kernel32.dll")) << temp;
    EXPECT_FALSE(image.Exists(temp + "\\deleteoffice.bat")) << temp;
    EXPECT_TRUE(image.Exists("C:\\Users\\Demo User\\AppData")) << temp;
  }
}

// Names as users and installers make them: each goes where the tool
// deletes, stays where it does not, and is announced as it is spelt.
TEST(Names, AreDeletedOrKeptAndAnnouncedIntact) {
  TestImage image;
  const std::string longFolder = std::string(120, 'L') + "\\" + std::string(120, 'M');
  const std::vector<std::string> names = {
      "Ελληνικά έγγραφα.docx", "中文文件夹", "😀 smile.txt", "a b & c %PATH% 100%.txt",
      "~$Budget 2011.xlsx", "empty.tmp", longFolder};
  for (const auto& name : names) {
    image.MakeFile(kTemp + "\\" + name + (name == longFolder ? "\\deep.txt" : ""),
             name == "empty.tmp" ? "" : "data");
    image.MakeFile(kDocuments + "\\" + name + (name == longFolder ? "\\deep.txt" : ""), "mine");
    image.MakeFile(kOffice14 + "\\" + name + (name == longFolder ? "\\deep.txt" : ""), "office");
  }
  // A large file: 64 MiB, as a mail archive or a log might be.
  std::ofstream(image.Host(kTemp + "\\Outlook Logging\\big.pst"), std::ios::binary)
      .seekp(64 << 20).write("", 1);
  ASSERT_GT(kTemp.size() + 1 + longFolder.size() + 10, 260u);

  ASSERT_EQ(image.Run({"cycle", "IMAGE"}), 0) << image.err();
  EXPECT_TRUE(fs::is_empty(image.Host(kTemp)));
  EXPECT_FALSE(image.Exists(kOffice14));
  for (const auto& name : names) {
    const std::string top = name.substr(0, name.find('\\'));
    EXPECT_TRUE(image.Exists(kDocuments + "\\" + name)) << name;
    EXPECT_TRUE(Announced(image, "Removing " + top)) << top;
  }
}

TEST(Scale, ATemporaryFolderOfAHundredThousandFilesIsSweptCompletely) {
  TestImage image(true, TestImage::MemoryScratch());
  const auto temp = image.Host(kTemp);
  for (int folder = 0; folder < 10000; ++folder) {
    const auto path = temp / ("folder " + std::to_string(folder));
    fs::create_directory(path);
    for (int file = 0; file < 5; ++file) std::ofstream(path / ("f" + std::to_string(file) + ".tmp"));
  }
  for (int file = 0; file < 50000; ++file) std::ofstream(temp / ("loose " + std::to_string(file) + ".tmp"));

  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(image.Run({"cycle", "IMAGE"}), 0) << image.err();
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_TRUE(fs::is_empty(temp));
  EXPECT_EQ(image.Events("progress\tRemoving folder ").size(), 10000u);
  EXPECT_EQ(image.Events("progress\tRemoving loose ").size(), 50000u);
  RecordProperty("cycle_seconds", std::to_string(seconds));
}

TEST(AtomicWrite, AWriteThatFailsLeavesTheOldFileWhole) {
  TestImage image(false);
  const fs::path file = image.path() / "registry.reg";
  const std::string before = ReadWholeFile(file);
  fs::create_directory(file.string() + ".tmp");  // the temporary file cannot be made
  EXPECT_ANY_THROW(WriteFileAtomically(file, "new"));
  EXPECT_EQ(ReadWholeFile(file), before);
  fs::remove(file.string() + ".tmp");
  WriteFileAtomically(file, "new");
  EXPECT_EQ(ReadWholeFile(file), "new");
  EXPECT_FALSE(fs::exists(file.string() + ".tmp"));
}

// kelvane-sim as a process of its own, told to end abruptly before the
// rename of the given write (see atomic_write.cpp); its exit status.
int RunDyingBeforeWrite(const TestImage& image, int write) {
  const pid_t child = fork();
  if (child == 0) {
    setenv("KELVANE_SIM_DIE_BEFORE_RENAME", std::to_string(write).c_str(), 1);
    freopen("/dev/null", "w", stdout);
    freopen("/dev/null", "w", stderr);
    execl(KELVANE_SIM_BINARY, KELVANE_SIM_BINARY, "cycle", image.path().c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The image's files are replaced whole, by a rename: kelvane-sim ended
// between any write's temporary file and its rename leaves each of them old
// or new, never cut short, and the image loads and finishes its cycle.
TEST(Binary, KilledAtAnyMomentItLeavesAnImageThatLoads) {
  int died = 0;
  for (int write = 1; write <= 12; ++write) {
    TestImage image;
    const int status = RunDyingBeforeWrite(image, write);
    if (status == 0) break;  // the cycle makes fewer writes than that
    ASSERT_EQ(status, 137) << "before write " << write;
    ++died;
    EXPECT_NE(image.Run({"report", "IMAGE"}), 2) << "ended before write " << write << ": " << image.err();
    EXPECT_EQ(image.Run({"cycle", "IMAGE"}), 0) << "ended before write " << write << ": " << image.err();
  }
  EXPECT_GE(died, 3) << "a cycle writes the registry, the products and the machine at least once";
}

}  // namespace
}  // namespace kelvane::platform::sim
