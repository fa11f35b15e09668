#include "SqlHistory.h"

#include <stdexcept>

#include "ReplacingFile.h"

namespace {

void AppendLine(std::string& text, std::string_view line)
{
    text += line;
    text += "\r\n";
}

} // namespace

int TSqlHistory::Add(const TStringList& entry)
{
    entries_.push_back(EntryText(entry));
    return Count() - 1;
}

int TSqlHistory::AddText(std::string_view text)
{
    std::string entry;
    ForEachLine(text, TNulHandling::EndsText, [&entry](std::string_view line) {
        AppendLine(entry, line);
        return true;
    });
    entries_.push_back(std::move(entry));
    return Count() - 1;
}

const std::string& TSqlHistory::ItemText(int index) const
{
    if (index < 0 || index >= Count())
        throw std::runtime_error("List index out of bounds (" + std::to_string(index) + ")");
    return entries_[static_cast<size_t>(index)];
}

TStringList TSqlHistory::GetItem(int index) const
{
    return SplitLines(ItemText(index), TNulHandling::Keep);
}

void TSqlHistory::LoadFromFile(const std::string& fileName)
{
    const std::string bytes = ReadFileBytes(fileName);
    std::string entry;
    bool open = false;  // lines were taken since the last separator
    ForEachLine(bytes, TNulHandling::EndsText, [&](std::string_view line) {
        if (line == kSeparator) {
            entries_.push_back(std::move(entry));
            entry.clear();
            open = false;
        } else {
            AppendLine(entry, line);
            open = true;
        }
        return true;
    });
    if (open)
        entries_.push_back(std::move(entry));
}

void TSqlHistory::SaveToFile(const std::string& fileName) const
{
    TReplacingFile file(fileName);
    for (const auto& entry : entries_) {
        file.Append(entry);
        file.Append(kSeparator);
        file.Append("\r\n");
    }
    file.Commit();
}

std::string TSqlHistory::EntryText(const TStringList& entry)
{
    std::string text;
    for (const auto& line : entry)
        AppendLine(text, line);
    return text;
}
