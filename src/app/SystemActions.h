#pragma once

namespace qn {

// What the end of a run may ask of the computer beyond the program. The dial-up
// and shutdown support implements it; without it a shutdown only closes the
// program, as one that failed does.
class IQNSystemActions {
 public:
  virtual ~IQNSystemActions() = default;
  // Asks the system to power the computer off; false when it refused.
  virtual bool PowerOff() = 0;
};

}  // namespace qn
