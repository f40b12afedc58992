#include "platform/shared/fault_operation.h"

#include <array>

namespace kelvane::platform {

namespace {

using enum Operation;

constexpr std::array kOperations{
    OperationEntry{CreateObject, "CreateObject"},
    OperationEntry{GetObject, "GetObject"},
    OperationEntry{ExpandEnvironmentStrings, "ExpandEnvironmentStrings"},
    OperationEntry{run, "run"},
    OperationEntry{WaitForExit, "WaitForExit"},
    OperationEntry{CreateShortcut, "CreateShortcut"},
    OperationEntry{SetTargetPath, "SetTargetPath"},
    OperationEntry{SetWindowStyle, "SetWindowStyle"},
    OperationEntry{Save, "Save"},
    OperationEntry{FileExists, "FileExists"},
    OperationEntry{GetFolder, "GetFolder"},
    OperationEntry{GetFolderToEmpty, "GetFolderToEmpty"},
    OperationEntry{GetFile, "GetFile"},
    OperationEntry{Delete, "Delete"},
    OperationEntry{DeleteFile, "DeleteFile"},
    OperationEntry{OpenTextFile, "OpenTextFile"},
    OperationEntry{WriteLine, "WriteLine"},
    OperationEntry{Close, "Close"},
    OperationEntry{SubFolders, "SubFolders"},
    OperationEntry{Files, "Files"},
    OperationEntry{Name, "Name"},
    OperationEntry{Path, "Path"},
    OperationEntry{ComputerName, "ComputerName"},
    OperationEntry{EnumKey, "EnumKey"},
    OperationEntry{DeleteKey, "DeleteKey"},
    OperationEntry{DeleteKeyDenied, "DeleteKeyDenied"},
    OperationEntry{ExecQuery, "ExecQuery"},
    OperationEntry{Uninstall, "Uninstall"},
    OperationEntry{ExecutablePath, "ExecutablePath"},
    OperationEntry{Show, "Show"},
    OperationEntry{Hide, "Hide"},
    OperationEntry{SetProgressCaption, "SetProgressCaption"},
    OperationEntry{RepaintProgress, "RepaintProgress"},
    OperationEntry{ShowErrorBox, "ShowErrorBox"},
    OperationEntry{CreateFolder, "CreateFolder"},
    OperationEntry{CopyFile, "CopyFile"},
    OperationEntry{DeleteAtRestart, "DeleteAtRestart"},
    OperationEntry{OpenLog, "OpenLog"},
    OperationEntry{EnumValues, "EnumValues"},
    OperationEntry{GetStringValue, "GetStringValue"},
    OperationEntry{GetMultiStringValue, "GetMultiStringValue"},
    OperationEntry{SetMultiStringValue, "SetMultiStringValue"},
    OperationEntry{DeleteValue, "DeleteValue"},
    OperationEntry{EnumPatches, "EnumPatches"},
    OperationEntry{DecomposeDescriptor, "DecomposeDescriptor"},
    OperationEntry{InstallerFolder, "InstallerFolder"},
    OperationEntry{DeleteInstallerCache, "DeleteInstallerCache"},
    OperationEntry{EditionViews, "EditionViews"},
    OperationEntry{ProductCode, "ProductCode"},
    OperationEntry{StartElevated, "StartElevated"},
    OperationEntry{ImpersonateUser, "ImpersonateUser"},
};

// Each entry sits at its operation's own index, so a name is one lookup and
// an operation added to the enumeration without its entry fails here.
constexpr bool InEnumerationOrder() {
  for (std::size_t i = 0; i < kOperations.size(); ++i) {
    if (static_cast<std::size_t>(kOperations[i].operation) != i) return false;
  }
  return static_cast<std::size_t>(Count) == kOperations.size();
}
static_assert(InEnumerationOrder());

}  // namespace

std::span<const OperationEntry> Operations() { return kOperations; }

std::string_view OperationName(Operation operation) { return kOperations[static_cast<std::size_t>(operation)].name; }

}  // namespace kelvane::platform
