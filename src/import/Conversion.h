#pragma once

#include "document/Raster.h"
#include "import/PictureRoad.h"

#include <array>

namespace vemurion {

inline constexpr int kCandidateCount = 9;
inline constexpr int kFirstChosenCandidate = 4; // the middle one, until the user picks another

// The grey level of a colour, 0 .. 255: (333 blue + 334 green + 333 red) / 1000, truncated.
int greyLevel(Rgb colour);
// The lowest grey level that candidate `candidate` (0 .. 8) renders white: 26 + 25 x candidate.
// Candidate 0 is the lightest rendering, candidate 8 the darkest.
int candidateThreshold(int candidate);

// The nine black-and-white renderings of a 48 x 32 picture: in candidate i a dot is white when
// its grey level is at least candidateThreshold(i).
std::array<Raster, kCandidateCount> thresholdCandidates(const Raster& reduced);

// The frame that adding `picture` gives when candidate `candidate` is chosen in the conversion
// dialog: a plain picture centred on `background` as it is, any other the chosen candidate.
Raster frameToAdd(const ImportedPicture& picture, int candidate, Rgb background);

} // namespace vemurion
