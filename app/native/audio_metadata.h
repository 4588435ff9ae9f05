// What libsndfile reads of a file besides its samples (text tags, the broadcast-wave record, cue
// points), kept in HostAudio and written back where OUT's format can hold it. No state.
#pragma once
#include <sndfile.h>
#include "app/audio_file.h"

// Reads the tags, the broadcast-wave record and the cue points of an open file into audio.
void readAudioMetadata(SNDFILE *file, HostAudio *audio);

// Sets them on a file opened for writing, before its first sample; what the format cannot hold is
// left out without a word, as libsndfile refuses it.
void writeAudioMetadata(SNDFILE *file, const HostAudio &audio);
