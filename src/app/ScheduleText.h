#pragma once

// How an entry's recurrence reads for a person: "Weekly Wednesday 09:30:00",
// "Every 01:00:00", "Following Previous".

#include <string>

#include "app/ScheduleEntry.h"
#include "text/Texts.h"

namespace qn {

std::string ScheduleWhenText(const QNTexts& texts, const QNScheduleEntry& entry);

}  // namespace qn
