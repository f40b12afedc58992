#include "office2010_image.h"

#include <algorithm>
#include <vector>

namespace kelvane::platform::sim {

namespace {

using V = ImageBuilder;

const std::string kHklm = "HKEY_LOCAL_MACHINE\\";
const std::string kHkcr = "HKEY_CLASSES_ROOT\\";
const std::string kHkcu = "HKEY_CURRENT_USER\\";
const std::string kUninstall = kHklm + "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kSystemProducts =
    kHklm + "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products\\";
const std::string kOffice14 = "C:\\Program Files\\Microsoft Office\\Office14";
const std::string kShared = "C:\\Program Files\\Common Files\\Microsoft Shared";

const std::string kVersion = "14.0.6029.1000";

const std::vector<OfficeProduct> kProducts{
    {"{90140000-0011-0000-0000-0000000FF1CE}", "Microsoft Office Professional Plus 2010", kOffice14 + "\\1033", kVersion},
    {"{90140000-002C-0409-0000-0000000FF1CE}", "Microsoft Office Proofing (English) 2010", kOffice14 + "\\PROOF",
     kVersion},
    {"{90140000-0116-0409-1000-0000000FF1CE}", "Microsoft Office Shared Setup Metadata MUI (English) 2010",
     kShared + "\\OFFICE14\\Office Setup Controller", kVersion},
};

void AddProgramFiles(ImageBuilder& image) {
  for (const char* file : {"WINWORD.EXE", "EXCEL.EXE", "POWERPNT.EXE", "OUTLOOK.EXE", "MSACCESS.EXE", "OIS.EXE"}) {
    image.AddFile(kOffice14 + "\\" + file, "MZ");
  }
  image.AddFile(kOffice14 + "\\OSPP.VBS", "' licensing", true);
  image.AddFile(kOffice14 + "\\1033\\WWINTL.DLL", "MZ");
  image.AddFile(kOffice14 + "\\1033\\XLINTL32.DLL", "MZ");
  image.AddFile(kOffice14 + "\\PROOF\\MSSP7EN.LEX", "lex");
  image.AddFile(kOffice14 + "\\STARTUP\\readme.txt", "", false);
  image.AddFolder(kOffice14 + "\\STARTUP", true);
  image.AddFile("C:\\Program Files\\Microsoft Office\\Office12\\GRAPH.EXE", "MZ");

  image.AddFile(kShared + "\\OFFICE14\\MSO.DLL", "MZ");
  image.AddFile(kShared + "\\OFFICE14\\Cultures\\OFFICE.ODF", "odf");
  image.AddFile(kShared + "\\OFFICE14\\Office Setup Controller\\SETUP.EXE", "MZ");
  image.AddFile(kShared + "\\Source Engine\\OSE.EXE", "MZ", true);
  image.AddFile(kShared + "\\OFFICE12\\MSO.DLL", "MZ");
  image.AddFile(kShared + "\\VBA\\VBA7\\VBE7.DLL", "MZ");
  image.AddFile("C:\\Program Files\\7-Zip\\7z.exe", "MZ");
}

void AddStartMenuAndCaches(ImageBuilder& image) {
  const std::string group = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Microsoft Office";
  for (const char* program : {"Word", "Excel", "PowerPoint", "Outlook"}) {
    image.AddShortcut(group + "\\Microsoft " + program + " 2010.lnk", kOffice14 + "\\WINWORD.EXE");
  }
  image.AddShortcut(group + "\\Microsoft Office 2010 Tools\\Microsoft Office 2010 Language Preferences.lnk",
                    kOffice14 + "\\SETLANG.EXE");
  image.AddFolder(group + "\\Microsoft Office 2010 Tools", true);
  image.AddShortcut("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\7-Zip\\7-Zip File Manager.lnk",
                    "C:\\Program Files\\7-Zip\\7zFM.exe");

  const std::string caches = "C:\\MSOCache\\All Users\\";
  image.AddFile(caches + "{90140000-0011-0000-0000-0000000FF1CE}-C\\ProPlusWW.msi", "msi");
  image.AddFile(caches + "{90140000-0011-0000-0000-0000000FF1CE}-C\\ProPsWW.cab", "cab");
  image.AddFile(caches + "{90140000-0011-0000-0000-0000000FF1CE}-C\\setup.xml", "<Setup/>", true);
  image.AddFile(caches + "{90140000-002C-0409-0000-0000000FF1CE}-C\\Proof.msi", "msi");
  // Near misses the sweep must leave: a lower-case c, another letter, and
  // no "-C" at all (NTFS would not hold two names that differ only in case).
  image.AddFile(caches + "{90140000-002A-0000-1000-0000000FF1CE}-c\\keep.txt", "near miss");
  image.AddFile(caches + "{90140000-0011-0000-0000-0000000FF1CE}-D\\keep.txt", "near miss");
  image.AddFile(caches + "{90140000-0011-0000-0000-0000000FF1CE}\\keep.txt", "near miss");
}

void AddUserFiles(ImageBuilder& image) {
  const std::string roaming = image.Variable("APPDATA") + "\\Microsoft";
  image.AddFile(roaming + "\\Templates\\Normal.dotm", "PK", true);
  image.AddFile(roaming + "\\Templates\\NormalEmail.dotm", "PK");
  image.AddFile(roaming + "\\Templates\\My Letter.dotx", "PK", true);
  image.AddFile(roaming + "\\Document Building Blocks\\1033\\14\\Building Blocks.dotx", "PK");
  image.AddFile(roaming + "\\Document Building Blocks\\1033\\Building Blocks.dotx", "PK");
  const std::string documents = image.Variable("USERPROFILE") + "\\Documents";
  image.AddFile(documents + "\\Budget 2011.xlsx", "PK");
  image.AddFile(documents + "\\Quarterly Report.docx", "PK", true);
  image.AddFile(documents + "\\Talks\\Launch.pptx", "PK");

  const std::string temp = image.Variable("TEMP");
  image.AddFile(temp + "\\SetupExe(201105031011124B4).log", "setup log");
  image.AddFile(temp + "\\~WRL0001.tmp", "", true);
  image.AddFile(temp + "\\FXSAPIDebugLogFile.txt", "");
  image.AddFile(temp + "\\Outlook Logging\\Firstrun.log", "log");
  image.AddFile(temp + "\\{2F4C7B1A-13E5-4DA0-9C3B-7E1A0C1D2E3F}\\extract.cab", "cab", true);
  image.AddFolder(temp + "\\Low");
}

void AddRegistry(ImageBuilder& image) {
  const std::string userOffice = kHkcu + "Software\\Microsoft\\Office\\";
  image.AddKey(userOffice + "14.0\\Common\\General", {V::DwordValue("ShownFirstRunOptin", 1)});
  image.AddKey(userOffice + "14.0\\Common\\Internet", {V::DwordValue("UseOnlineContent", 2)});
  image.AddKey(userOffice + "14.0\\Word\\Options", {V::StringValue("AUTOSAVE-PATH", "C:\\Users\\Demo User\\AppData")});
  image.AddKey(userOffice + "14.0\\Word\\File MRU", {V::StringValue("Item 1", "[F00000000][T01CC0A]*C:\\Users\\Demo User\\Documents\\Quarterly Report.docx")});
  image.AddKey(userOffice + "14.0\\Excel\\Options", {V::DwordValue("Options", 0x1e3)});
  image.AddKey(userOffice + "12.0\\Common\\General", {V::DwordValue("ShownOptIn", 1)});
  image.AddKey(userOffice + "Common\\LanguageResources", {V::DwordValue("UILanguage", 1033)});

  const std::string machineOffice = kHklm + "SOFTWARE\\Microsoft\\Office\\";
  image.AddKey(machineOffice + "14.0\\Common\\InstallRoot", {V::StringValue("Path", kOffice14 + "\\")});
  image.AddKey(machineOffice + "14.0\\Common\\ProductVersion", {V::StringValue("LastProduct", "14.0.6029.1000")});
  image.AddKey(machineOffice + "14.0\\Word\\InstallRoot", {V::StringValue("Path", kOffice14 + "\\")});
  image.AddKey(machineOffice + "14.0\\Excel\\Addins");
  image.AddKey(machineOffice + "12.0\\Common\\InstallRoot", {V::StringValue("Path", "C:\\Program Files\\Microsoft Office\\Office12\\")});
  const std::string downloads = machineOffice + "Delivery\\SourceEngine\\Downloads\\";
  image.AddKey(downloads + "{90140000-0011-0000-0000-0000000FF1CE}-C\\Sources\\ProPlus14",
               {V::StringValue("Path", "C:\\MSOCache\\All Users\\{90140000-0011-0000-0000-0000000FF1CE}-C\\")});
  image.AddKey(downloads + "{90140000-002C-0409-0000-0000000FF1CE}-C\\Sources\\Proof14");
  image.AddKey(downloads + "{90140000-0011-0000-0000-0000000FF1CE}", {V::StringValue("Note", "near miss: no -C")});

  image.AddKey(kHklm + "SYSTEM\\CurrentControlSet\\Services\\ose",
               {V::StringValue("DisplayName", "Office Source Engine"),
                V::StringValue("ImagePath", "\"" + kShared + "\\Source Engine\\OSE.EXE\""), V::DwordValue("Start", 3)});
  image.AddKey(kHklm + "SYSTEM\\CurrentControlSet\\Services\\ose\\Security");
  image.AddKey(kHklm + "SYSTEM\\CurrentControlSet\\Services\\osppsvc", {V::StringValue("DisplayName", "Office Software Protection Platform")});

  const std::string assemblies = kHkcr + "Installer\\Win32Assemblies\\";
  image.AddKey(assemblies + "C:|Program Files|Microsoft Office|Office12|ADDINS|MSOSEC.DLL",
               {V::StringValue("", "")});
  image.AddKey(assemblies + "C:|Program Files|Microsoft Office|Office12|ADDINS|MSOSEC.DLL\\Microsoft.Office.MsoSec");
  image.AddKey(assemblies + "C:|Program Files|Microsoft Office|Office14|ADDINS|MSOSEC.DLL");

  // Registrations the uninstallers leave behind, for the enumeration steps.
  const std::string orphan = "{90140000-0015-0409-0000-0000000FF1CE}";
  image.AddKey(kUninstall + orphan, {V::StringValue("DisplayName", "Microsoft Office Access MUI (English) 2010")});
  image.AddKey(kUninstall + "0FF1CE.Office14.PROPLUS\\Setup", {V::StringValue("Note", "begins with the signature")});
  image.AddKey(kUninstall + "Office14.PROPLUS", {V::StringValue("DisplayName", "Microsoft Office Professional Plus 2010")});
  image.AddKey(kUninstall + "{91140000-0011-0000-0000-0000000ff1ce}", {V::StringValue("Note", "near miss: lower case")});
  const std::string upgrade = PackedGuid("{000C1101-0000-0000-0000-0000000FF1CE}");
  image.AddKey(kHklm + "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UpgradeCodes\\" + upgrade,
               {"\"" + PackedGuid(kProducts[0].code) + "\"=\"\""});
  image.AddKey(kSystemProducts + PackedGuid(orphan) + "\\InstallProperties");
  image.AddKey(kHkcr + "Installer\\Features\\" + PackedGuid(kProducts[0].code), {V::StringValue("ProductFiles", "")});
  image.AddKey(kHkcr + "Installer\\Features\\" + PackedGuid(orphan), {V::StringValue("ProductFiles", "")});
  image.AddKey(kHkcr + "Installer\\Products\\" + PackedGuid(orphan) + "\\SourceList\\Media");
  image.AddKey(kHkcr + "Installer\\UpgradeCodes\\" + upgrade, {"\"" + PackedGuid(kProducts[0].code) + "\"=\"\""});
  std::string nearMiss = PackedGuid("{90140000-0016-0409-0000-0000000FF1CE}");
  nearMiss.back() = 'c';
  image.AddKey(kHkcr + "Installer\\Products\\" + nearMiss, {V::StringValue("Note", "near miss: lower case")});

  // Another program's registrations.
  const std::string sevenZip = "{23170F69-40C1-2701-0920-000001000000}";
  image.AddKey(kUninstall + sevenZip, {V::StringValue("DisplayName", "7-Zip 9.20")});
  image.AddKey(kHkcr + "Installer\\Products\\" + PackedGuid(sevenZip), {V::StringValue("ProductName", "7-Zip 9.20")});
  image.AddKey(kHkcr + "Installer\\Features\\" + PackedGuid(sevenZip));
  image.AddProduct({sevenZip, "7-Zip 9.20", {kUninstall + sevenZip, kHkcr + "Installer\\Products\\" + PackedGuid(sevenZip)},
                    {"C:\\Program Files\\7-Zip"}, std::nullopt});
}

}  // namespace

void AddInstalledProduct(ImageBuilder& image, const OfficeProduct& product) {
  const std::string packed = PackedGuid(product.code);
  const std::vector<std::string> keys{kUninstall + product.code, kHkcr + "Installer\\Products\\" + packed,
                                      kSystemProducts + packed};
  image.AddKey(keys[0], {V::StringValue("DisplayName", product.name), V::StringValue("DisplayVersion", product.version),
                         V::StringValue("InstallLocation", "C:\\Program Files\\Microsoft Office\\"),
                         V::StringValue("Publisher", "Microsoft Corporation"), V::DwordValue("SystemComponent", 1)});
  image.AddKey(keys[1], {V::StringValue("ProductName", product.name), V::DwordValue("Language", 1033)});
  image.AddKey(keys[1] + "\\SourceList", {V::StringValue("PackageName", "ProPlusWW.msi")});
  image.AddKey(keys[1] + "\\SourceList\\Media", {V::StringValue("1", ";1")});
  image.AddKey(keys[1] + "\\SourceList\\Net", {V::StringValue("1", "C:\\MSOCache\\All Users\\" + product.code + "-C\\")});
  image.AddKey(keys[2] + "\\InstallProperties", {V::StringValue("DisplayName", product.name)});
  image.AddKey(keys[2] + "\\Features");
  image.AddKey(keys[2] + "\\Usage", {V::DwordValue("ProductFiles", 0x1d2)});
  image.AddProduct({product.code, product.name, keys, {product.removesFolder}, std::nullopt});
}

std::string PackedGuid(const std::string& braced) {
  std::vector<std::string> groups{""};
  for (char c : braced) {
    if (c == '-') groups.emplace_back();
    else if (c != '{' && c != '}') groups.back() += c;
  }
  std::string packed;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    std::string group = groups[i];
    if (i < 3) {
      std::reverse(group.begin(), group.end());
    } else {
      for (std::size_t k = 0; k + 1 < group.size(); k += 2) std::swap(group[k], group[k + 1]);
    }
    packed += group;
  }
  return packed;
}

void AddOffice2010(ImageBuilder& image) {
  image.config().services.emplace_back("ose", "running");
  image.config().services.emplace_back("osppsvc", "running");
  for (const auto& product : kProducts) AddInstalledProduct(image, product);
  AddProgramFiles(image);
  AddStartMenuAndCaches(image);
  AddUserFiles(image);
  AddRegistry(image);
}

}  // namespace kelvane::platform::sim
