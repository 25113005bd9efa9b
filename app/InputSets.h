#pragma once
// The pieces of saving and loading input sets (TORVServerForm::SaveButtonClick,
// LoadButtonClick and FillLoadFilesBox, in InputSets.cpp) that do not need a page.
// Plain functions without state; safe from any thread.
#include <optional>
#include <string>
#include <string_view>

namespace orv::detail {

// The file name of a set from the name a visitor typed: only its file-name part counts
// ("/" and "\" both separate folders, so "..\x.txt" and "../x.txt" both give "x.OWS"),
// its extension (from its last ".") is replaced by ".OWS", or ".OWS" is appended when it
// has none. Nothing when no file-name part is left, when it holds a control character,
// or when the resulting name would be longer than 255 characters.
std::optional<std::string> inputSetFileName(std::string_view typed);

// The entry a directory listing shows for a file name: the name up to its first ".OWS"
// (upper case only), when the name ends in ".OWS" in any letter case and holds ".OWS" in
// upper case; nothing for any other name ("old.ows" is not a set).
std::optional<std::string> inputSetEntry(std::string_view fileName);

}  // namespace orv::detail
