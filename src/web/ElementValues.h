#pragma once

// How the attributes of today's markup are read: single addresses (src, poster,
// href, the lazy-loading data-src and data-original) and candidate lists (srcset,
// data-srcset, imagesrcset). Every value is placed (QNTagValues::Place).

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "web/ScanText.h"
#include "web/ValueRules.h"

namespace qn {

// The addresses of a candidate list ("a.jpg 480w, b.jpg 800w"), as places
// [begin, end) in `list`: every candidate's address without its descriptor. An
// address may hold commas; one that ends in commas loses them.
std::vector<std::pair<std::size_t, std::size_t>> SrcsetAddresses(std::string_view list);

// The value of every attribute `name` in [from, to) (xlink:href counts as href).
void PlaceAttribute(QNScanText& text, std::size_t from, std::size_t to, std::string_view name,
                    QNTagValues& out, bool page = false);

// Every address of every candidate list attribute `name` in [from, to).
void PlaceCandidates(QNScanText& text, std::size_t from, std::size_t to, std::string_view name,
                     QNTagValues& out);

}  // namespace qn
