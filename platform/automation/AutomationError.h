#pragma once
#include <stdexcept>
#include <string>

namespace automation {

// A failed late-bound call: which member was called and what the server said.
class AutomationError : public std::runtime_error {
public:
    AutomationError(std::string member, std::string serverText);
    const std::string& member() const { return member_; }
    const std::string& serverText() const { return serverText_; }

private:
    std::string member_;
    std::string serverText_;
};

} // namespace automation
