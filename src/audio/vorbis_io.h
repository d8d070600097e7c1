#pragma once

// Ogg Vorbis decoding over a ResourceStream: the four decoder callbacks, through which the
// library reads an archive member or a disk file as one whole seekable file, and the looping
// decode the music stream uses.

// The library's stdio callbacks are unused here and would warn in every file that includes it.
#ifndef OV_EXCLUDE_STATIC_CALLBACKS
#define OV_EXCLUDE_STATIC_CALLBACKS
#endif
#include <vorbis/vorbisfile.h>

#include <cstdint>

class ResourceStream;

// The callbacks for ov_open_callbacks; the data source is a ResourceStream*.
ov_callbacks resourceStreamCallbacks();

// Decodes `bytes` bytes of 16-bit little-endian signed PCM into `out`. At the end of the track
// it seeks back to the first byte and goes on, so a short track repeats without a gap. Stops
// early at a decode error, a failed seek, or a track that yields nothing from its start;
// returns the bytes written.
uint32_t decodeLooping(OggVorbis_File& decoder, uint8_t* out, uint32_t bytes);
