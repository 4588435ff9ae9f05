// OUT's format natively: its extension names the container, as with sox; without one (or for "-")
// IN's format is kept. The samples keep their depth; a lossy encoding is written only when the user
// asks for it, since encoding again loses quality even where nothing was repaired.
#include <sndfile.h>
#include <cctype>
#include "app/audio_file.h"
#include "sndfile_probe.h"

struct ExtensionFormat {
    const char *extension; // lower case, without the dot
    int32_t major;         // libsndfile container
    int32_t codec;         // the encoding the name implies, 0 = the samples' own depth
};

static const ExtensionFormat extensionFormats[] = {
    {"wav", SF_FORMAT_WAV, 0},   {"wave", SF_FORMAT_WAV, 0},   {"bwf", SF_FORMAT_WAV, 0},
    {"w64", SF_FORMAT_W64, 0},   {"rf64", SF_FORMAT_RF64, 0},  {"aif", SF_FORMAT_AIFF, 0},
    {"aiff", SF_FORMAT_AIFF, 0}, {"aifc", SF_FORMAT_AIFF, 0},  {"au", SF_FORMAT_AU, 0},
    {"snd", SF_FORMAT_AU, 0},    {"caf", SF_FORMAT_CAF, 0},    {"flac", SF_FORMAT_FLAC, 0},
    {"voc", SF_FORMAT_VOC, 0},   {"sph", SF_FORMAT_NIST, 0},   {"nist", SF_FORMAT_NIST, 0},
    {"sf", SF_FORMAT_IRCAM, 0},  {"paf", SF_FORMAT_PAF, 0},    {"svx", SF_FORMAT_SVX, 0},
    {"ogg", SF_FORMAT_OGG, SF_FORMAT_VORBIS}, {"oga", SF_FORMAT_OGG, SF_FORMAT_VORBIS},
    {"opus", SF_FORMAT_OGG, SF_FORMAT_OPUS},  {"mp3", SF_FORMAT_MPEG, SF_FORMAT_MPEG_LAYER_III},
};

// Encodings whose decoded samples do not come back exactly when encoded again.
static bool isLossy(int32_t subtype)
{
    switch (subtype) {
    case SF_FORMAT_VORBIS: case SF_FORMAT_OPUS: case SF_FORMAT_MPEG_LAYER_I: case SF_FORMAT_MPEG_LAYER_II:
    case SF_FORMAT_MPEG_LAYER_III: case SF_FORMAT_GSM610: case SF_FORMAT_IMA_ADPCM: case SF_FORMAT_MS_ADPCM:
    case SF_FORMAT_VOX_ADPCM: case SF_FORMAT_G721_32: case SF_FORMAT_G723_24: case SF_FORMAT_G723_40:
    case SF_FORMAT_NMS_ADPCM_16: case SF_FORMAT_NMS_ADPCM_24: case SF_FORMAT_NMS_ADPCM_32:
        return true;
    default:
        return false;
    }
}

// The extension of the last part of name, in lower case; "" when it has none.
static std::string extensionOf(const std::string &name)
{
    size_t slash = name.find_last_of('/');
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot + 1 == name.size() ||
        dot == (slash == std::string::npos ? 0 : slash + 1))
        return "";
    std::string extension = name.substr(dot + 1);
    for (char &c : extension)
        c = (char)tolower((unsigned char)c);
    return extension;
}

static bool formatFits(const HostAudio &audio, int32_t format)
{
    SF_INFO info = {};
    info.channels = audio.channels;
    info.samplerate = audio.sampleRate;
    info.format = format;
    return sf_format_check(&info) != 0;
}

// The plain PCM or float encoding that holds the host's samples as they are.
static int32_t sampleEncoding(const HostAudio &audio, int32_t major)
{
    if (audio.isFloat)
        return audio.bitsPerSample == 64 ? SF_FORMAT_DOUBLE : SF_FORMAT_FLOAT;
    switch (audio.bitsPerSample) {
    case 8:
        return formatFits(audio, major | SF_FORMAT_PCM_U8) ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_S8;
    case 24:
        return SF_FORMAT_PCM_24;
    case 32:
        return SF_FORMAT_PCM_32;
    default:
        return SF_FORMAT_PCM_16;
    }
}

static std::string formatName(int32_t format, int32_t command)
{
    SF_FORMAT_INFO info = {};
    info.format = format;
    return sf_command(nullptr, command, &info, (int)sizeof info) == 0 && info.name ? info.name : "this format";
}

// The format the extension asks for, or false when it names none this host writes.
static bool formatForExtension(const std::string &extension, const HostAudio &audio, int32_t *format)
{
    int32_t in = audio.fileFormat;
    for (const ExtensionFormat &entry : extensionFormats) {
        if (extension != entry.extension)
            continue;
        int32_t major = entry.major;
        // A .wav name keeps IN's extensible header (many channels, 24 bits) when IN had one.
        if (major == SF_FORMAT_WAV && (in & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAVEX)
            major = SF_FORMAT_WAVEX;
        // The same container keeps IN's encoding, unless that is lossy and the name asks for none;
        // ".ogg" keeps an Ogg file's own codec.
        int32_t inMajor = in & SF_FORMAT_TYPEMASK, inCodec = in & SF_FORMAT_SUBMASK;
        int32_t subtype;
        if (entry.codec)
            subtype = inMajor == major && entry.codec == SF_FORMAT_VORBIS ? inCodec : entry.codec;
        else
            subtype = inMajor == major && !isLossy(inCodec) ? inCodec : sampleEncoding(audio, major);
        *format = major | subtype | (inMajor == major ? in & SF_FORMAT_ENDMASK : 0);
        return true;
    }
    return false;
}

bool chooseOutputFormat(const std::string &outName, bool lossyAllowed, HostAudio *audio, std::string *error)
{
    std::string extension = outName == "-" ? "" : extensionOf(outName);
    int32_t format = audio->fileFormat;
    if (!extension.empty() && !formatForExtension(extension, *audio, &format)) {
        *error = outName + ": no audio format is known by the extension \"." + extension +
                 "\"; name OUT .wav, .flac, .aiff, .caf, .w64, .au, .ogg, .opus or .mp3, or leave the extension off "
                 "to keep IN's format";
        return false;
    }
    if (!formatFits(*audio, format)) {
        *error = outName + ": " + formatName(format & SF_FORMAT_TYPEMASK, SFC_GET_FORMAT_INFO) + " cannot hold this audio (" +
                 std::to_string(audio->channels) + " channel(s), " + std::to_string(audio->bitsPerSample) +
                 (audio->isFloat ? "-bit float" : "-bit") + " at " + std::to_string(audio->sampleRate) +
                 " Hz); name OUT .wav, .w64 or .caf";
        return false;
    }
    int32_t subtype = format & SF_FORMAT_SUBMASK;
    if (isLossy(subtype) && !lossyAllowed) {
        *error = outName + ": " + formatName(subtype, SFC_GET_FORMAT_INFO) +
                 " is lossy: writing it encodes the audio again and loses quality even where nothing was repaired; "
                 "name a lossless OUT such as .wav or .flac, or add --lossy";
        return false;
    }
    int32_t chosenBefore = audio->fileFormat;
    audio->fileFormat = format;
    std::string reason;
    if (!sndfileCanWrite(*audio, &reason)) {
        audio->fileFormat = chosenBefore;
        *error = outName + ": " + reason;
        return false;
    }
    return true;
}
