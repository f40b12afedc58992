#pragma once

#include <span>
#include <string_view>

namespace kelvane::platform {

// The platform operations a failure is named by, and a test machine can be
// made to fail. One list for the names in the tool's messages, for every
// machine that injects failures (the simulated machine's faults.ini, the
// recording platform) and for the table of them in the docs, so that an
// operation misspelt in code does not compile and one misspelt in faults.ini
// is refused by name. Each has its entry in Operations(), in this order: the
// table checks that when it compiles.
enum class Operation {
  CreateObject, GetObject, ExpandEnvironmentStrings, run, WaitForExit, CreateShortcut, SetTargetPath,
  SetWindowStyle, Save, FileExists, GetFolder, GetFolderToEmpty, GetFile, Delete, DeleteFile, OpenTextFile,
  WriteLine, Close, SubFolders, Files, Name, Path, ComputerName, EnumKey, DeleteKey, DeleteKeyDenied, ExecQuery,
  Uninstall, ExecutablePath, Show, Hide, SetProgressCaption, RepaintProgress, ShowErrorBox, CreateFolder, CopyFile,
  DeleteAtRestart, OpenLog, EnumValues, GetStringValue, GetMultiStringValue, SetMultiStringValue, DeleteValue,
  EnumPatches, DecomposeDescriptor, InstallerFolder, DeleteInstallerCache, EditionViews, ProductCode, StartElevated,
  ImpersonateUser,
  // Not an operation: how many there are. New ones go above it.
  Count,
};

struct OperationEntry {
  Operation operation;
  std::string_view name;
};

// Every operation, in the order of the enumeration.
std::span<const OperationEntry> Operations();
std::string_view OperationName(Operation operation);

}  // namespace kelvane::platform
