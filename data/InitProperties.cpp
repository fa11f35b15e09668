#include "ProviderApi.h"

#include <algorithm>
#include <cctype>

bool TInitProperties::NoCase::operator()(const std::string& a, const std::string& b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) < std::tolower(y);
    });
}

void TInitProperties::Set(const std::string& key, const std::string& value)
{
    values_[key] = value;
}

std::string TInitProperties::Get(const std::string& key) const
{
    auto it = values_.find(key);
    return it == values_.end() ? std::string() : it->second;
}

bool TInitProperties::Has(const std::string& key) const
{
    return values_.count(key) != 0;
}
