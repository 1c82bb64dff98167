// Screenshots: the current frame written as a PNG into the user folder's "screenshots/", under
// the first free name "quillory-0001.png", "quillory-0002.png", ... so that nothing is ever
// overwritten.
#pragma once

#include <cstdint>
#include <string>

namespace Tuvo {

// Highest number tried before giving up: a folder that full is someone else's problem.
constexpr int kMaxScreenshots = 9999;

// Writes `pixels` (width x height, 0xAARRGGBB, alpha ignored: the frame is opaque) into `folder`
// (created when missing) under the first free numbered name. Returns the path written, or empty
// (with `error` set) when nothing could be written.
std::string WriteScreenshot(const std::string& folder, const uint32_t* pixels, int width,
                            int height, std::string& error);

}  // namespace Tuvo
