#include "project/ProjectFileFormat.h"

namespace qn {
namespace {

std::uint32_t Low(int v) {
  return static_cast<std::uint32_t>(v) & 0xFFFFu;
}
std::int32_t Pack(std::uint32_t high, std::uint32_t low) {
  return static_cast<std::int32_t>((high << 16) | low);
}
// A level limit: 0 is kept as 0xFFFF so that the word is never 0 (the mark of a file
// from before the level limits were stored).
std::int32_t PackLevel(int max, int on) {
  return Pack(max == 0 ? 0xFFFFu : Low(max), Low(on));
}
void UnpackLevel(std::uint32_t w, int& max, int& on) {
  if (w == 0) return;
  on = static_cast<int>(w & 0xFFFFu);
  max = w >= 0xFFFF0000u ? 0 : static_cast<int>(w >> 16);
}

}  // namespace

QNPackedWords PackWords(const CQNSettings& s) {
  return {
      s.QN_TIMEOUT,
      s.QN_RETRIES,
      s.QN_TR_EXTBR != 0 ? 1 : 0,
      PackLevel(s.QN_MAX_L, s.QN_LIM_L),
      PackLevel(s.QN_MAX_OL, s.QN_LIM_OL),
      Pack(Low(s.QN_PROTOCOL), s.QN_DOWN != 0 ? 1 : 0),
      static_cast<std::int32_t>(Low(s.DownloadState)),
      Pack(Low(s.QN_KEEPHTML), Low(s.QN_DETPREV)),
      Pack(Low(s.AgentVersion), Low(s.AgentKind)),
      Pack(Low(s.QN_TR_MAX_F), Low(s.QN_TR_LIMIT_F)),
  };
}

void UnpackWords(const QNPackedWords& words, CQNSettings& s) {
  std::array<std::uint32_t, 10> w;
  for (std::size_t i = 0; i < w.size(); ++i) w[i] = static_cast<std::uint32_t>(words[i]);
  const auto low = [](std::uint32_t v) { return static_cast<int>(v & 0xFFFFu); };
  const auto high = [](std::uint32_t v) { return static_cast<int>(v >> 16); };

  if (words[0] >= 10 && words[0] <= 600) s.QN_TIMEOUT = words[0];
  if (words[1] >= 0 && words[1] <= 100) s.QN_RETRIES = words[1];
  if (w[2] <= 1) s.QN_TR_EXTBR = words[2];
  UnpackLevel(w[3], s.QN_MAX_L, s.QN_LIM_L);
  UnpackLevel(w[4], s.QN_MAX_OL, s.QN_LIM_OL);
  if (low(w[5]) <= 1) s.QN_DOWN = low(w[5]);
  s.QN_PROTOCOL = w[5] >= 0x10000u && w[5] <= 0xFFFFFu ? high(w[5]) : 15;
  if (low(w[6]) <= 4) s.DownloadState = low(w[6]);
  if (low(w[7]) <= 1) s.QN_DETPREV = low(w[7]);
  if (high(w[7]) <= 1) s.QN_KEEPHTML = high(w[7]);
  if (low(w[8]) <= 5) s.AgentKind = low(w[8]);
  if (s.AgentKind >= 2 && s.AgentKind <= 4) s.AgentVersion = high(w[8]);
  if (w[9] != 0) {
    if (low(w[9]) <= 1) s.QN_TR_LIMIT_F = low(w[9]);
    s.QN_TR_MAX_F = high(w[9]);
  }
}

}  // namespace qn
