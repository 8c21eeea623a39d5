// Pictures a person has looked at, kept as PNGs in the repository: a test compares what the
// platform draws with one, pixel for pixel. Where they differ (or there is none yet) the picture
// as drawn is written to NAME.png in the test's working folder, for a person to look at; run with
// FONTLOOM_REVIEWED=write to put it in the repository's place once it has been looked at.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

// `reviewed` is the PNG's path below the source tree (tests/prefs/reviewed/x.png); pixels are
// ARGB rows of `width`, composed over magenta so that what is left transparent shows too.
::testing::AssertionResult LooksAsReviewed(const std::string& reviewed, const uint32_t* pixels, int width, int height);
