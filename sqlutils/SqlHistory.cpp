#include "SqlHistory.h"

#include <stdexcept>

int TSqlHistory::Add(TStringList entry)
{
    entries_.push_back(std::move(entry));
    return Count() - 1;
}

int TSqlHistory::AddText(std::string_view text)
{
    return Add(SplitLines(text));
}

const TStringList& TSqlHistory::GetItem(int index) const
{
    if (index < 0 || index >= Count())
        throw std::runtime_error("List index out of bounds (" + std::to_string(index) + ")");
    return entries_[static_cast<size_t>(index)];
}

void TSqlHistory::LoadFromFile(const std::string& fileName)
{
    const TStringList lines = SplitLines(ReadFileBytes(fileName));
    auto line = lines.begin();
    while (line != lines.end()) {
        TStringList entry;
        while (line != lines.end() && *line != kSeparator)
            entry.push_back(*line++);
        entries_.push_back(std::move(entry));
        if (line != lines.end())
            ++line;
    }
}

void TSqlHistory::SaveToFile(const std::string& fileName) const
{
    TStringList lines;
    for (const auto& entry : entries_) {
        lines.insert(lines.end(), entry.begin(), entry.end());
        lines.emplace_back(kSeparator);
    }
    WriteLinesToFile(fileName, lines);
}

std::string TSqlHistory::EntryText(const TStringList& entry)
{
    std::string text;
    for (const auto& line : entry) {
        text += line;
        text += "\r\n";
    }
    return text;
}
