#pragma once
// Reads settings from an INI file: "[Section]" header lines followed by
// Name=Value lines. Section and key names match without regard to letter
// case; blanks around names and values are ignored. The file is read anew at
// every call and never written.

#include <optional>
#include <string>
#include <string_view>

class TIniFile {
public:
    // A settings file is a few lines: a larger one is refused.
    static constexpr size_t kMaxFileSize = 1 << 20;

    explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

    const std::string& FileName() const { return fileName_; }

    // The value, or nothing when the file, the section or the key is missing.
    // Throws when the file cannot be read or is too large.
    std::optional<std::string> ReadValue(std::string_view section, std::string_view key) const;

    // A decimal integer with an optional sign, or a hexadecimal one after
    // "0x", "0X" or "$"; the default when the key is missing or its value is
    // not an integer that fits in an int.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;

private:
    std::string fileName_;
};

// The integer rule of ReadInteger, on its own.
std::optional<int> ParseIniInteger(std::string_view text);
