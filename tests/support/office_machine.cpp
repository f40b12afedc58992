#include "support/office_machine.h"

namespace kelvane::testing {

void AddOffice2010(platform::recording::MachineState& machine) {
  AddWindowsEnvironment(machine);
  machine.AddFile("C:\\Program Files\\Common Files\\Microsoft Shared\\Office14\\MSO.DLL");
  machine.AddFile("C:\\Program Files\\Common Files\\Microsoft Shared\\Source Engine\\OSE.EXE", "", true);
  machine.AddFile("C:\\Program Files\\Common Files\\Microsoft Shared\\VBA\\VBE7.DLL");
  machine.AddFile("C:\\ProgramData\\Start Menu\\Programs\\Microsoft Office\\Microsoft Word 2010.lnk");
  machine.AddFile("C:\\Program Files\\Microsoft Office\\Office14\\WINWORD.EXE");
  machine.AddFile("C:\\MSOCache\\All Users\\{90140000-0011-0000-0000-0000000FF1CE}-C\\ProPlusWW.msi");
  machine.AddFile("C:\\MSOCache\\All Users\\{90140000-0115-0409-0000-0000000FF1CE}-C\\Setup.xml");
  machine.AddFile("C:\\Users\\Demo User\\AppData\\Roaming\\Microsoft\\Templates\\Normal.dotm", "", true);
  machine.AddFile("C:\\Users\\Demo User\\AppData\\Roaming\\Microsoft\\Templates\\Normalemail.dotm");
  machine.AddFile(
      "C:\\Users\\Demo User\\AppData\\Roaming\\Microsoft\\document building blocks\\1033\\Building Blocks.dotx");
  machine.AddFile("C:\\Users\\Demo User\\AppData\\Roaming\\Microsoft\\Templates\\My Letter.dotx");

  machine.AddKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0\\Word\\Options");
  machine.AddKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\Common");
  machine.AddKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\14.0\\Common\\InstallRoot");
  machine.AddKey("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\ose");
  machine.AddKey(
      "HKEY_CLASSES_ROOT\\Installer\\Win32Assemblies\\C:|Program Files|Microsoft Office|Office12|ADDINS|MSOSEC.DLL");
  machine.AddKey(
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\Delivery\\SourceEngine\\Downloads\\"
      "{90140000-0011-0000-0000-0000000FF1CE}-C\\Sources");
  machine.AddKey(
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
      "{90140000-0011-0000-0000-0000000FF1CE}");
  machine.AddKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\7-Zip");
  machine.AddKey("HKEY_CLASSES_ROOT\\Installer\\Products\\00002109110000000000000000F01FEC\\SourceList\\Media");
  machine.AddKey("HKEY_CLASSES_ROOT\\Installer\\Products\\00002109110000000000000000F01FEd");

  machine.products = {
      {"Microsoft Office Professional Plus 2010", true},
      {"7-Zip 9.20", true},
      {"Microsoft Office Proofing (English) 2010", true},
  };
}

}  // namespace kelvane::testing
