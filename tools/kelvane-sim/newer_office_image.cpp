#include "newer_office_image.h"

#include "office2010_image.h"

namespace kelvane::sim_tool {

// The tool drives and builds the simulated machine.
using namespace platform::sim;

namespace {

using V = ImageBuilder;

const std::string kOffice16 = "C:\\Program Files\\Microsoft Office\\Office16";
const std::string kVersion = "16.0.4266.1001";
const OfficeProduct kProPlus{"{90160000-0011-0000-1000-0000000FF1CE}", "Microsoft Office Professional Plus 2016",
                             kOffice16 + "\\1033", kVersion};
const OfficeProduct kExtensibility{"{90160000-008C-0000-0000-0000000FF1CE}",
                                   "Office 16 Click-to-Run Extensibility Component",
                                   "C:\\Program Files\\Microsoft Office\\root\\Integration", kVersion};

}  // namespace

void AddNewerOffice(ImageBuilder& image) {
  for (const auto& product : {kProPlus, kExtensibility}) AddInstalledProduct(image, product);
  // Office 2016 is listed under Office 2010's upgrade code too: its value
  // there is its own.
  for (const char* upgradeCodes : {"HKEY_CLASSES_ROOT\\Installer\\UpgradeCodes\\",
                                          "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UpgradeCodes\\"}) {
    image.AddKey(std::string(upgradeCodes) + kOffice2010UpgradeCode, {"\"" + PackedGuid(kProPlus.code) + "\"=\"\""});
  }
  image.AddKey(kMachineComponents + PackedGuid("{B2FE0B5A-5C5F-4A4B-9E16-6F1D7A2C0016}"),
               {V::StringValue(PackedGuid(kProPlus.code), kOffice16 + "\\WINWORD.EXE")});
  image.AddFile(kOffice16 + "\\WINWORD.EXE", "MZ 2016");
  image.AddFile(kOffice16 + "\\1033\\WWINTL.DLL", "MZ 2016");
  image.AddFile(kExtensibility.removesFolder + "\\C2RManifest.officemuiset.msi.16.en-us.xml", "<Manifest/>");
  image.AddFile("C:\\Program Files\\Common Files\\Microsoft Shared\\OFFICE16\\MSO.DLL", "MZ 2016");
  image.AddShortcut("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Word 2016.lnk",
                    kOffice16 + "\\WINWORD.EXE");
  const std::string cache = "C:\\MSOCache\\All Users\\" + kProPlus.code + "-C";
  image.AddFile(cache + "\\ProPlusWW.msi", "msi 2016");
  image.AddFile(cache + "\\setup.xml", "<Setup/>", true);

  image.AddKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\16.0\\Word\\Options",
               {V::DwordValue("AutoSaveInterval", 10)});
  image.AddKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\16.0\\Common\\InstallRoot",
               {V::StringValue("Path", kOffice16 + "\\")});
  image.AddKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\Delivery\\SourceEngine\\Downloads\\" + kProPlus.code +
                   "-C\\Sources\\ProPlus16",
               {V::StringValue("Path", cache + "\\")});
}

}  // namespace kelvane::sim_tool
