#pragma once

// The pieces of the project file shared by its writer and reader.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "project/BinaryStream.h"
#include "records/DocTree.h"
#include "settings/ProjectSettings.h"

namespace qn {

// Nodes a project file can hold: the root and kMaxNodes others.
constexpr int kMaxReadNodes = 100001;
// Cuts applied to node texts on reading.
constexpr std::size_t kMaxTitleLength = 127;

using QNPackedWords = std::array<std::int32_t, 10>;

// The ten packed words of block 1 and their acceptance rules on reading.
QNPackedWords PackWords(const CQNSettings& s);
void UnpackWords(const QNPackedWords& w, CQNSettings& s);

// The settings blocks. Block 1 follows the magic; the tree sits between blocks 1
// and 2, the node levels between blocks 2, 3 and 4.
void WriteBlock1(QNBinaryWriter& w, const CQNSettings& s);
void WriteBlock2(QNBinaryWriter& w, const CQNSettings& s);
void WriteBlock3(QNBinaryWriter& w, const CQNSettings& s);
void WriteBlock4(QNBinaryWriter& w, const CQNSettings& s);
void ReadBlock1(QNBinaryReader& r, CQNSettings& s);
void ReadBlock2(QNBinaryReader& r, CQNSettings& s);
void ReadBlock3(QNBinaryReader& r, CQNSettings& s);
void ReadBlock4(QNBinaryReader& r, CQNSettings& s);

// The named records after block 4: the crawling settings and the validators of the
// saved files (the nodes in file order). ReadAddedBlocks reads to the end of the
// file and tells whether it met any record: a file without them was written before
// they existed.
void WriteAddedBlocks(QNBinaryWriter& w, const CQNSettings& s,
                      const std::vector<CQNDocNode*>& nodes);
bool ReadAddedBlocks(QNBinaryReader& r, CQNSettings& s, const std::vector<CQNDocNode*>& nodes);

// The folder against which node addresses are stored: the base directory of the
// first start address, empty when there is none.
std::string StartFolder(const CQNSettings& s);
// The folder of the project file, its final separator included.
std::string ProjectFolder(const std::string& projectPath);
// A stored node address made absolute again against the start folder.
std::string JoinStoredAddress(std::string_view stored, std::string_view startFolder);

// The nodes of the tree in pre-order, each with its own ordinal and those of its four
// neighbours (-1 for none) set.
std::vector<CQNDocNode*> NumberNodes(const CQNDocTree& tree);
// Links nodes read from a file through their stored ordinals; a reference to an
// ordinal that was not read is none. False when the links do not form one tree with
// the first node as its root, every node in it exactly once.
bool LinkNodesByOrdinal(const std::vector<CQNDocNode*>& nodes);

}  // namespace qn
