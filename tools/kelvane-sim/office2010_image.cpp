#include "office2010_image.h"

#include <cstdint>
#include <cstdio>

#include "platform/shared/installer_guid.h"
#include <vector>

namespace kelvane::sim_tool {

// The tool drives and builds the simulated machine.
using namespace platform::sim;

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
const std::string kOfficePatch = "{3A1C8E24-5B9D-4F0E-8C6A-71D2E9B04F35}";
const std::string kPublishedCategory = "{8E2F6A7B-9C0D-4E1F-A2B3-C4D5E6F7A8B9}";

const std::vector<OfficeProduct> kProducts{
    {"{90140000-0011-0000-0000-0000000FF1CE}", "Microsoft Office Professional Plus 2010", kOffice14 + "\\1033", kVersion},
    {"{90140000-002C-0409-0000-0000000FF1CE}", "Microsoft Office Proofing (English) 2010", kOffice14 + "\\PROOF",
     kVersion},
    {"{90140000-0116-0409-1000-0000000FF1CE}", "Microsoft Office Shared Setup Metadata MUI (English) 2010",
     kShared + "\\OFFICE14\\Office Setup Controller", kVersion},
    // Of the family, not named "Microsoft Office": its program in Office14.
    {"{90140000-0057-0000-0000-0000000FF1CE}", "Microsoft Visio Premium 2010", kOffice14 + "\\VISIO.EXE", kVersion},
    // Installed by other programs, with its file in the shared OFFICE14.
    {"{90140000-00D1-0409-0000-0000000FF1CE}", "Microsoft Office Access database engine 2010 (English)",
     kShared + "\\OFFICE14\\ACEDAO.DLL", kVersion},
};

const std::string kSevenZip = "{23170F69-40C1-2701-0920-000001000000}";
const std::string kInstaller = "C:\\Windows\\Installer";
const std::string kMachineData = kHklm + "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\";

// The cached package's name in the Installer folder: random on Windows,
// derived from the product code here so that images are alike.
std::string LocalPackage(const std::string& code) {
  std::uint32_t hash = 2166136261u;
  for (char c : code) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  char name[16];
  std::snprintf(name, sizeof name, "%06x.msi", hash & 0xFFFFFFu);
  return kInstaller + "\\" + name;
}

// The Installer's records of the components, a patch and a published
// component, as a machine with Office 2010 holds them: each component's
// clients by packed product code, with the key path each installed.
void AddInstallerData(ImageBuilder& image) {
  const std::string proPlus = PackedGuid(kProducts[0].code);
  const std::string proofing = PackedGuid(kProducts[1].code);
  const std::string setup = PackedGuid(kProducts[2].code);
  const auto component = [&](const char* code, const std::vector<std::pair<std::string, std::string>>& clients) {
    std::vector<std::string> values;
    for (const auto& [client, keyPath] : clients) values.push_back(V::StringValue(client, keyPath));
    image.AddKey(kMachineComponents + PackedGuid(code), values);
  };
  component("{0638C49D-BB8B-4CD1-B191-051E8F325736}", {{proPlus, kOffice14 + "\\WINWORD.EXE"}});
  component("{A3B2F6E1-3C4D-4E5F-8A9B-0C1D2E3F4A50}", {{proPlus, kShared + "\\OFFICE14\\MSO.DLL"},
                                                       {setup, kShared + "\\OFFICE14\\MSO.DLL"}});
  component("{C1D2E3F4-A5B6-4C7D-8E9F-A0B1C2D3E4F5}", {{proofing, kOffice14 + "\\PROOF\\MSSP7EN.LEX"}});
  // Shared with a product that is not Office: its value is its own.
  component("{4E5F6A7B-8C9D-4E0F-A1B2-C3D4E5F6A7B8}", {{proPlus, kShared + "\\VBA\\VBA7\\VBE7.DLL"},
                                                       {PackedGuid(kSevenZip), kShared + "\\VBA\\VBA7\\VBE7.DLL"}});
  // A permanent component: the Installer's all-zero client keeps it.
  component("{5F6A7B8C-9D0E-4F1A-B2C3-D4E5F6A7B8C9}", {{proPlus, kShared + "\\OFFICE14\\Cultures\\OFFICE.ODF"},
                                                       {std::string(32, '0'), kShared + "\\OFFICE14\\Cultures\\OFFICE.ODF"}});
  component("{6A7B8C9D-0E1F-4A2B-C3D4-E5F6A7B8C9D0}", {{PackedGuid(kProducts[3].code), kOffice14 + "\\VISIO.EXE"}});
  component("{7B8C9D0E-1F2A-4B3C-D4E5-F6A7B8C9D0E1}", {{PackedGuid(kProducts[4].code), kShared + "\\OFFICE14\\ACEDAO.DLL"}});

  // One patch applied to two products: cached once, listed by both.
  const std::string patch = PackedGuid(kOfficePatch);
  image.AddKey(kMachineData + "Patches\\" + patch, {V::StringValue("LocalPackage", kInstaller + "\\3f2a1c.msp")});
  image.AddFile(kInstaller + "\\3f2a1c.msp", "msp");
  image.AddKey(kHkcr + "Installer\\Patches\\" + patch + "\\SourceList",
               {V::StringValue("PackageName", "mso2010-kb2553347-fullfile-x86-glb.msp")});
  for (const auto& product : {proPlus, proofing}) {
    image.AddKey(kMachineData + "Products\\" + product + "\\Patches", {V::MultiStringValue("AllPatches", {patch})});
    image.AddKey(kMachineData + "Products\\" + product + "\\Patches\\" + patch,
                 {V::DwordValue("State", 1), V::StringValue("DisplayName", "Update for Microsoft Office 2010 (KB2553347)")});
    image.AddKey(kHkcr + "Installer\\Products\\" + product + "\\Patches", {V::MultiStringValue("Patches", {patch})});
  }

  // A published component whose qualifier lists an Office product's
  // descriptor beside another product's.
  namespace guid = platform::installer_guid;
  image.AddKey(kHkcr + "Installer\\Components\\" + PackedGuid(kPublishedCategory),
               {V::MultiStringValue("1033", {*guid::Descriptor(kProducts[0].code, "WORDFiles",
                                                               "{0638C49D-BB8B-4CD1-B191-051E8F325736}"),
                                             *guid::Descriptor(kSevenZip, "Complete",
                                                               "{4E5F6A7B-8C9D-4E0F-A1B2-C3D4E5F6A7B8}")})});
}

void AddProgramFiles(ImageBuilder& image) {
  for (const char* file : {"WINWORD.EXE", "EXCEL.EXE", "POWERPNT.EXE", "OUTLOOK.EXE", "MSACCESS.EXE", "OIS.EXE"}) {
    image.AddFile(kOffice14 + "\\" + file, "MZ");
  }
  image.AddFile(kOffice14 + "\\OSPP.VBS", "' licensing", true);
  image.AddFile(kOffice14 + "\\VISIO.EXE", "MZ visio");
  image.AddFile(kShared + "\\OFFICE14\\ACEDAO.DLL", "MZ ace");
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
  image.AddKey(kUninstall + "Office14.PROPLUS",
               {V::StringValue("DisplayName", "Microsoft Office Professional Plus 2010"),
                V::StringValue("UninstallString", "\"" + kShared +
                                                      "\\OFFICE14\\Office Setup Controller\\setup.exe\" /uninstall "
                                                      "PROPLUS /dll OSETUP.DLL")});
  image.AddKey(kUninstall + "{91140000-0011-0000-0000-0000000ff1ce}", {V::StringValue("Note", "near miss: lower case")});
  const std::string upgrade = kOffice2010UpgradeCode;
  image.AddKey(kHklm + "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UpgradeCodes\\" + upgrade,
               {"\"" + PackedGuid(kProducts[0].code) + "\"=\"\""});
  // Its cached package names the user's own file: never the Installer's.
  image.AddKey(kSystemProducts + PackedGuid(orphan) + "\\InstallProperties",
               {V::StringValue("LocalPackage", "C:\\Users\\Demo User\\Documents\\Budget 2011.xlsx")});
  image.AddKey(kHkcr + "Installer\\Features\\" + PackedGuid(orphan), {V::StringValue("ProductFiles", "")});
  image.AddKey(kHkcr + "Installer\\Products\\" + PackedGuid(orphan) + "\\SourceList\\Media");
  image.AddKey(kHkcr + "Installer\\UpgradeCodes\\" + upgrade, {"\"" + PackedGuid(kProducts[0].code) + "\"=\"\""});
  std::string nearMiss = PackedGuid("{90140000-0016-0409-0000-0000000FF1CE}");
  nearMiss.back() = 'c';
  image.AddKey(kHkcr + "Installer\\Products\\" + nearMiss, {V::StringValue("Note", "near miss: lower case")});

  // Another program's registrations.
  const std::string sevenZip = kSevenZip;
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
  image.AddKey(kHkcr + "Installer\\Features\\" + packed, {V::StringValue("ProductFiles", "")});
  image.AddKey(keys[2] + "\\InstallProperties", {V::StringValue("DisplayName", product.name),
                                                  V::StringValue("LocalPackage", LocalPackage(product.code))});
  image.AddFile(LocalPackage(product.code), "msi");
  image.AddFile(kInstaller + "\\" + product.code + "\\icons.exe", "MZ icons");
  image.AddFile(kInstaller + "\\$PatchCache$\\Managed\\" + packed + "\\14.0.6029\\MSO.DLL", "MZ baseline");
  image.AddKey(keys[2] + "\\Features");
  image.AddKey(keys[2] + "\\Usage", {V::DwordValue("ProductFiles", 0x1d2)});
  image.AddProduct({product.code, product.name, keys, {product.removesFolder}, std::nullopt});
}

std::string PackedGuid(const std::string& braced) { return platform::installer_guid::Packed(braced).value(); }

void AddOffice2010(ImageBuilder& image) {
  image.config().services.emplace_back("ose", "running");
  image.config().services.emplace_back("osppsvc", "running");
  for (const auto& product : kProducts) AddInstalledProduct(image, product);
  AddProgramFiles(image);
  AddStartMenuAndCaches(image);
  AddUserFiles(image);
  AddRegistry(image);
  AddInstallerData(image);
}

}  // namespace kelvane::sim_tool
