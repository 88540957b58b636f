#pragma once

#include "document/Raster.h"
#include "import/Dithering.h"
#include "import/PictureRoad.h"

#include <array>

namespace vemurion {

inline constexpr int kCandidateCount = 9;
inline constexpr int kFirstChosenCandidate = 4; // the middle one, until the user picks another

// How a picture larger than the frame fills it.
enum class AspectFit {
    Stretch, // the whole picture on 48 x 32, its shape not kept
    Contain, // the whole picture in its own shape, centred on the background colour
    Cover,   // the centred part of 3 : 2 shape, the rest cut off
};
inline constexpr int kAspectFitCount = 3;

// The conversion's two choices; the defaults convert as the nine thresholds always have.
struct ConversionChoice {
    DitherMethod method = DitherMethod::Threshold;
    AspectFit fit = AspectFit::Stretch;
};

// The captions the conversion dialog shows for the choices.
const char* ditherCaption(DitherMethod method);
const char* fitCaption(AspectFit fit);

// The grey level of a colour, 0 .. 255: (333 blue + 334 green + 333 red) / 1000, truncated.
int greyLevel(Rgb colour);
// The lowest grey level that candidate `candidate` (0 .. 8) renders white: 26 + 25 x candidate.
// Candidate 0 is the lightest rendering, candidate 8 the darkest.
int candidateThreshold(int candidate);

// The nine black-and-white renderings of a 48 x 32 picture: in candidate i a dot is white when
// its grey level is at least candidateThreshold(i).
std::array<Raster, kCandidateCount> thresholdCandidates(const Raster& reduced);

// The nine renderings of a picture that goes through the conversion, lightest first, each on a
// 48 x 32 frame of `background`. The method works on the grey levels of the picture as it fits
// the frame (`choice.fit` for a picture larger than the frame, centred and unscaled for one that
// fits); what the picture does not cover stays `background`. Candidate 4 of a patterned method
// keeps the picture's mean grey level as closely as the method can.
std::array<Raster, kCandidateCount> conversionCandidates(const ImportedPicture& picture,
                                                         ConversionChoice choice, Rgb background);

// The frame that adding `picture` gives when candidate `candidate` is chosen in the conversion
// dialog: a plain picture centred on `background` as it is, any other the chosen candidate.
Raster frameToAdd(const ImportedPicture& picture, int candidate, Rgb background,
                  ConversionChoice choice = {});

} // namespace vemurion
