#pragma once

namespace qn {

// The program's "work offline" state. It belongs to the whole process: the page view
// refuses network pages while it is set, and the start of a run clears it.
bool IsOffline();
void SetOffline(bool offline);

}  // namespace qn
