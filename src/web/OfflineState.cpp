#include "web/OfflineState.h"

#include <atomic>

namespace qn {
namespace {
std::atomic<bool> g_offline{false};
}

bool IsOffline() {
  return g_offline;
}

void SetOffline(bool offline) {
  g_offline = offline;
}

}  // namespace qn
