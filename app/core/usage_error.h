#pragma once

#include <stdexcept>

namespace core {

// A command line that cannot be followed; the message says why.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace core
