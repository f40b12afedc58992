#pragma once

// <windows.h> without the macros that would rename the platform interfaces'
// own methods (CopyFile, DeleteFile, ExpandEnvironmentStrings) and WMI's
// IWbemServices::GetObject to their ...A or ...W forms. Included instead of
// <windows.h> where those names are defined or called; the wide functions
// are then called by their own names.
#include <windows.h>

#undef CopyFile
#undef DeleteFile
#undef ExpandEnvironmentStrings
#undef GetObject
