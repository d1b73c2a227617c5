#pragma once
// Mutations of a data file: bytes flipped, elements cut, duplicated or nested deeply,
// values out of range or huge, names huge or invalid, attributes and markup broken,
// the encoding changed, the file truncated. The same seed always gives the same bytes.
#include <cstdint>
#include <string>

namespace fuzz {

// The document mutated one to four times, chosen by seed. `applied` names the
// mutations in order ("cut Frames, flip 3") for the case's report.
std::string Mutate(const std::string& document, uint64_t seed, std::string& applied);

} // namespace fuzz
