#pragma once

// What a server's robots.txt allows one agent: the rules of the groups that name the
// agent's product token (or of the "*" group when none does), matched as the Robots
// Exclusion Protocol says: the longest matching pattern decides, and "allow" wins a
// tie; "*" stands for any run of characters and a final "$" anchors the pattern at
// the end of the path.

#include <string>
#include <string_view>
#include <vector>

namespace qn {

class CQNRobotsRules {
 public:
  // Rules that allow everything (no robots.txt, or one the server does not have).
  CQNRobotsRules() = default;
  // Rules that refuse everything (the server could not say what it allows).
  static CQNRobotsRules RefuseAll();
  // The rules of `text` for the agent with product token `agentToken`.
  static CQNRobotsRules Parse(std::string_view text, std::string_view agentToken);

  // Whether the path of an address (with its query, starting with "/") may be fetched.
  bool Allows(std::string_view path) const;
  std::size_t RuleCount() const { return rules_.size(); }

 private:
  struct Rule {
    std::string pattern;
    bool allow = false;
  };
  std::vector<Rule> rules_;
};

// The product token of a user agent, as groups name it: the text up to the first
// "/", blank or ";" ("Quillorne" of "Quillorne v2.8a", "Mozilla" of "Mozilla/4.0 ...").
std::string RobotsProductToken(std::string_view agent);

// robots.txt files are read up to this size; the rest is ignored.
constexpr std::size_t kMaxRobotsSize = 512 * 1024;

}  // namespace qn
