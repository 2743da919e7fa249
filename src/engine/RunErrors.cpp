#include "engine/RunErrors.h"

#include <system_error>

namespace qn {

int ExceptionCode(const std::exception& e) {
  if (const auto* system = dynamic_cast<const std::system_error*>(&e))
    return system->code().value();
  return 0;
}

}  // namespace qn
