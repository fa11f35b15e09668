#include "SafeFileName.h"

#include <algorithm>

namespace {

bool IsUnsafeInFileName(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code < 32 || code == 127 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
}

} // namespace

std::string SafeFileName(std::string_view name)
{
    std::string safe(name);
    std::replace_if(safe.begin(), safe.end(), IsUnsafeInFileName, '_');
    return safe.empty() ? "_" : safe;
}
