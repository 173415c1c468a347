#pragma once

#include "platform/platform.h"

namespace platform {

// The simulated backend: the clock runs flat out from one event to the next,
// with no windows, no wall clock and no sound; all input is posted by the
// program (a script).
class SimPlatform : public Platform {
  public:
    void attach(Form& /*form*/) override {}

  protected:
    std::int64_t pace(std::int64_t until) override { return until; }
    void sound() override {}
};

}  // namespace platform
