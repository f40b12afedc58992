#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane::platform {

// The value of a %NAME% reference, or none when the name is not set.
using ReferenceValue = std::function<std::optional<std::string>(std::string_view name)>;

// What becomes of a reference to a name that is not set.
enum class UnknownReference {
  Kept,     // stays as written, as ExpandEnvironmentStrings leaves it; its
            // closing "%" may open the next reference
  Dropped,  // expands to nothing, as the command interpreter does in a batch file
};

// Expands the %NAME% references of the text left to right, each with `value`,
// as every machine reads them.
std::string ExpandReferences(std::string_view text, const ReferenceValue& value,
                             UnknownReference unknown = UnknownReference::Kept);

}  // namespace kelvane::platform
