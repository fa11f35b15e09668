#pragma once
// The message of the error an action raises, or "(no error)", so a test can
// compare the user's message in one expectation.

#include <functional>
#include <stdexcept>
#include <string>

inline std::string ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(no error)";
}
