#include "windows7_image.h"

namespace kelvane::sim_tool {

// The tool drives and builds the simulated machine.
using namespace platform::sim;

void AddWindows7(ImageBuilder& image, bool sixtyFourBit) {
  const std::string profile = std::string("C:\\Users\\") + kDemoUser;
  MachineConfig& config = image.config();
  config.computerName = "DEMO-PC";
  config.exePath = profile + "\\Downloads\\kelvane2010.exe";
  config.environment = {
      {"ALLUSERSPROFILE", "C:\\ProgramData"},
      {"APPDATA", profile + "\\AppData\\Roaming"},
      {"CommonProgramFiles", "C:\\Program Files\\Common Files"},
      {"COMPUTERNAME", "DEMO-PC"},
      {"ComSpec", "C:\\Windows\\system32\\cmd.exe"},
      {"HOMEDRIVE", "C:"},
      {"HOMEPATH", std::string("\\Users\\") + kDemoUser},
      {"LOCALAPPDATA", profile + "\\AppData\\Local"},
      {"OS", "Windows_NT"},
      {"PATHEXT", ".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC"},
      {"ProgramData", "C:\\ProgramData"},
      {"ProgramFiles", "C:\\Program Files"},
      {"PUBLIC", "C:\\Users\\Public"},
      {"SystemDrive", "C:"},
      {"SystemRoot", "C:\\Windows"},
      {"TEMP", profile + "\\AppData\\Local\\Temp"},
      {"TMP", profile + "\\AppData\\Local\\Temp"},
      {"USERNAME", kDemoUser},
      {"USERPROFILE", profile},
      {"windir", "C:\\Windows"},
  };
  config.services = {{"Spooler", "running"}, {"wuauserv", "running"}};
  if (sixtyFourBit) {
    config.windows64 = true;
    for (auto& [name, value] : config.environment) {
      if (name == "ProgramFiles" || name == "CommonProgramFiles") value.insert(std::string("C:\\Program Files").size(), " (x86)");
    }
    config.environment.insert(config.environment.end(),
                              {{"CommonProgramFiles(x86)", "C:\\Program Files (x86)\\Common Files"},
                               {"CommonProgramW6432", "C:\\Program Files\\Common Files"},
                               {"PROCESSOR_ARCHITEW6432", "AMD64"},
                               {"ProgramFiles(x86)", "C:\\Program Files (x86)"},
                               {"ProgramW6432", "C:\\Program Files"}});
    image.AddFile("C:\\Windows\\SysWOW64\\cmd.exe", "MZ");
    image.AddFile("C:\\Program Files (x86)\\Internet Explorer\\iexplore.exe", "MZ");
    image.AddFolder("C:\\Program Files (x86)\\Common Files\\Microsoft Shared");
  }

  image.AddFile("C:\\Windows\\System32\\cmd.exe", "MZ");
  image.AddFolder("C:\\Windows\\Temp");
  image.AddFile("C:\\Windows\\System32\\net.exe", "MZ");
  image.AddFile("C:\\Windows\\System32\\shutdown.exe", "MZ");
  image.AddFile("C:\\Program Files\\Internet Explorer\\iexplore.exe", "MZ");
  image.AddFolder("C:\\Program Files\\Common Files\\Microsoft Shared\\ink");
  image.AddFile("C:\\Program Files\\Common Files\\Microsoft Shared\\ink\\TabTip.exe", "MZ");
  const std::string commonStartMenu = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
  image.AddFolder(commonStartMenu + "\\Programs\\Startup");
  image.AddShortcut(commonStartMenu + "\\Programs\\Accessories\\Notepad.lnk", "C:\\Windows\\System32\\notepad.exe");
  image.AddJunction("C:\\ProgramData\\Start Menu", commonStartMenu);
  image.AddJunction("C:\\Documents and Settings", "C:\\Users");
  image.AddFolder(profile + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup");
  image.AddFolder(profile + "\\AppData\\Local\\Temp");
  image.AddFolder(profile + "\\Documents");
  image.AddFolder(profile + "\\Desktop");
  image.AddFile(config.exePath, "MZ kelvane2010");
  image.AddFolder("C:\\Users\\Public\\Documents");

  image.AddKey("HKEY_CLASSES_ROOT\\.txt", {ImageBuilder::StringValue("", "txtfile")});
  image.AddKey("HKEY_CLASSES_ROOT\\Installer\\Features");
  image.AddKey("HKEY_CLASSES_ROOT\\Installer\\Products");
  image.AddKey("HKEY_CLASSES_ROOT\\Installer\\UpgradeCodes");
  image.AddKey("HKEY_CLASSES_ROOT\\Installer\\Win32Assemblies\\Global");
  image.AddKey("HKEY_CURRENT_USER\\Control Panel\\Desktop", {ImageBuilder::StringValue("Wallpaper", "")});
  image.AddKey("HKEY_CURRENT_USER\\Environment",
               {ImageBuilder::ExpandStringValue("TEMP", "%USERPROFILE%\\AppData\\Local\\Temp")});
  image.AddKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer");
  const std::string currentVersion = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  image.AddKey(currentVersion, {ImageBuilder::StringValue("ProgramFilesDir", "C:\\Program Files")});
  if (sixtyFourBit) {
    image.AddKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
  }
  image.AddKey(currentVersion + "\\Installer\\UpgradeCodes");
  image.AddKey(currentVersion + "\\Installer\\UserData\\S-1-5-18\\Products");
  image.AddKey(currentVersion + "\\Uninstall");
  image.AddKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
               {ImageBuilder::StringValue("ProductName", "Windows 7 Professional"),
                ImageBuilder::StringValue("CurrentVersion", "6.1")});
  image.AddKey("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Spooler",
               {ImageBuilder::StringValue("DisplayName", "Print Spooler"), ImageBuilder::DwordValue("Start", 2)});
  image.AddKey("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\wuauserv",
               {ImageBuilder::StringValue("DisplayName", "Windows Update"), ImageBuilder::DwordValue("Start", 2)});
}

}  // namespace kelvane::sim_tool
