#include "web/RobotsRules.h"

#include "text/NoCase.h"

namespace qn {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// Whether `pattern` ("*" any run, a final "$" the end) matches the start of `path`.
bool PatternMatches(std::string_view pattern, std::string_view path) {
  const bool anchored = !pattern.empty() && pattern.back() == '$';
  if (anchored) pattern.remove_suffix(1);
  std::size_t at = 0;
  bool first = true;
  for (;;) {
    const std::size_t star = pattern.find('*');
    const std::string_view piece = pattern.substr(0, star);
    const bool last = star == std::string_view::npos;
    if (first) {
      if (!path.starts_with(piece)) return false;
      at = piece.size();
      first = false;
    } else if (last && anchored) {
      // The last piece must end the path, after everything matched so far.
      return path.size() >= at + piece.size() && path.ends_with(piece);
    } else {
      const std::size_t hit = path.find(piece, at);
      if (hit == std::string_view::npos) return false;
      at = hit + piece.size();
    }
    if (last) return !anchored || at == path.size();
    pattern.remove_prefix(star + 1);
  }
}

struct Group {
  std::vector<std::string> agents;
  std::vector<std::pair<std::string, bool>> rules;
};

}  // namespace

CQNRobotsRules CQNRobotsRules::RefuseAll() {
  CQNRobotsRules rules;
  rules.rules_.push_back(Rule{"/", false});
  return rules;
}

CQNRobotsRules CQNRobotsRules::Parse(std::string_view text, std::string_view agentToken) {
  text = text.substr(0, kMaxRobotsSize);
  std::vector<Group> groups;
  bool readingAgents = false;
  while (!text.empty()) {
    const std::size_t lineEnd = text.find('\n');
    std::string_view line = text.substr(0, lineEnd);
    text.remove_prefix(lineEnd == std::string_view::npos ? text.size() : lineEnd + 1);
    line = Trim(line.substr(0, line.find('#')));
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, colon));
    const std::string_view value = Trim(line.substr(colon + 1));
    if (EqualNoCase(key, "user-agent")) {
      // Agent lines in a row share one group; an agent after rules starts a new one.
      if (!readingAgents || groups.empty()) groups.emplace_back();
      groups.back().agents.emplace_back(value);
      readingAgents = true;
    } else if (EqualNoCase(key, "allow") || EqualNoCase(key, "disallow")) {
      readingAgents = false;
      // Rules before any agent line belong to no group; "Disallow:" alone allows all.
      if (groups.empty() || value.empty()) continue;
      groups.back().rules.emplace_back(std::string(value), EqualNoCase(key, "allow"));
    }
  }

  // The groups that name the agent apply, all of them; without one, the "*" groups.
  CQNRobotsRules result;
  for (const bool anyAgent : {false, true}) {
    bool found = false;
    for (const Group& group : groups) {
      bool named = false;
      for (const std::string& agent : group.agents)
        named =
            named || (anyAgent ? agent == "*" : EqualNoCase(RobotsProductToken(agent), agentToken));
      if (!named) continue;
      found = true;
      for (const auto& [pattern, allow] : group.rules)
        result.rules_.push_back(Rule{pattern, allow});
    }
    if (found) break;
  }
  return result;
}

bool CQNRobotsRules::Allows(std::string_view path) const {
  if (path == "/robots.txt") return true;
  std::size_t best = 0;
  bool matched = false;
  bool allow = true;
  for (const Rule& rule : rules_) {
    if (!PatternMatches(rule.pattern, path)) continue;
    const std::size_t length = rule.pattern.size();
    if (!matched || length > best || (length == best && rule.allow)) {
      best = length;
      allow = rule.allow;
      matched = true;
    }
  }
  return allow;
}

std::string RobotsProductToken(std::string_view agent) {
  agent = Trim(agent);
  return std::string(agent.substr(0, agent.find_first_of("/ ;\t")));
}

}  // namespace qn
