// What a RIFF WAV file's header announces, read independently of libsndfile: libsndfile
// quietly shortens a data chunk that runs past the end of the file to what is there, and the
// user deserves to hear that their file is damaged.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmora::render {

// The number of frames the data chunk of the RIFF WAV file at path claims to hold; nothing
// when the file is not a RIFF WAV file or its header is incomplete.
std::optional<int64_t> AnnouncedWavFrames(const std::string& path);

}  // namespace velmora::render
