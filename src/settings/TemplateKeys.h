#pragma once

// The keys a template file knows, in the order the writer uses, each with the kind
// of value it carries and the settings member it names.

#include <span>
#include <string>

#include "settings/ProjectSettings.h"

namespace qn {

enum class QNKeyKind {
  kText,        // quoted text
  kInteger,     // whole number, written as it stands
  kSwitch,      // whole number, written as 0 or 1
  kReal,        // bytes with six decimals
  kStartUrl,    // one line per start address
  kAgentId,     // the identification string
  kTreeHtml,    // QN_TR_HTML: 1 "Only HTML Files", otherwise all files
  kTreeUpdate,  // QN_TR_UPDATE: 3 is read as 2
  kThreads,     // QN_THREADS: read within 1 to 100
  kFileExt,     // one changed or removed extension
  kUrlFilter,   // one URL filter
};

struct QNTemplateKey {
  const char* name;
  QNKeyKind kind;
  int CQNSettings::*intMember = nullptr;
  double CQNSettings::*realMember = nullptr;
  std::string CQNSettings::*textMember = nullptr;
  // Not one of the 46 keys every template reader knows: a template holding one was
  // written since the crawling settings exist.
  bool later = false;
};

// All keys in table order: the 46 keys every template reader knows, with the keys
// of the crawling settings after QN_FASTPARSE.
std::span<const QNTemplateKey> TemplateKeys();

}  // namespace qn
