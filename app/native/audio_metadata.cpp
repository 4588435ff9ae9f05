// Tags, broadcast-wave record and cue points through libsndfile's commands, held as the bytes of its
// own records so they go back exactly as they came.
#include "audio_metadata.h"
#include <cstddef>
#include <cstring>

// Room for the longest coding history a broadcast-wave record is expected to carry.
typedef SF_BROADCAST_INFO_VAR(16384) BroadcastRecord;

void readAudioMetadata(SNDFILE *file, HostAudio *audio)
{
    for (int32_t id = SF_STR_FIRST; id <= SF_STR_LAST; id++) {
        const char *text = sf_get_string(file, id);
        if (text && *text)
            audio->tags.push_back({id, text});
    }
    BroadcastRecord broadcast;
    memset(&broadcast, 0, sizeof broadcast);
    if (sf_command(file, SFC_GET_BROADCAST_INFO, &broadcast, (int)sizeof broadcast) == SF_TRUE) {
        // libsndfile takes back no more than the record's used part (and no less than its plain one).
        size_t used = offsetof(BroadcastRecord, coding_history) + broadcast.coding_history_size;
        size_t size = used < sizeof(SF_BROADCAST_INFO) ? sizeof(SF_BROADCAST_INFO) : used;
        const uint8_t *bytes = reinterpret_cast<const uint8_t *>(&broadcast);
        audio->broadcastInfo.assign(bytes, bytes + (size < sizeof broadcast ? size : sizeof broadcast));
    }
    uint32_t cues = 0;
    if (sf_command(file, SFC_GET_CUE_COUNT, &cues, (int)sizeof cues) == SF_TRUE && cues > 0 && cues <= 0xFFFF) {
        std::vector<uint8_t> record(sizeof(uint32_t) + (size_t)cues * sizeof(SF_CUE_POINT));
        if (sf_command(file, SFC_GET_CUE, record.data(), (int)record.size()) == SF_TRUE)
            audio->cuePoints = record;
    }
}

void writeAudioMetadata(SNDFILE *file, const HostAudio &audio)
{
    for (const auto &tag : audio.tags)
        sf_set_string(file, tag.first, tag.second.c_str());
    if (!audio.broadcastInfo.empty())
        sf_command(file, SFC_SET_BROADCAST_INFO, const_cast<uint8_t *>(audio.broadcastInfo.data()),
                   (int)audio.broadcastInfo.size());
    if (!audio.cuePoints.empty())
        sf_command(file, SFC_SET_CUE, const_cast<uint8_t *>(audio.cuePoints.data()), (int)audio.cuePoints.size());
}
