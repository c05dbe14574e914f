// Ogg Vorbis music streaming on top of the library's audio streams.
// A stream is made from a whole file held in memory (which the caller keeps
// alive), played looped through an AUDIOSTREAM, and kept fed by a timer.
// Every call is safe on a null stream and when no digital driver plays.
#pragma once

struct ALOGG_OGG;

// Returns null when the bytes are not Ogg Vorbis (an empty buffer included).
ALOGG_OGG* alogg_create_ogg_from_buffer(void* data, int dataLength);

// bufferLength in bytes, volume 0..255, pan 0..255 (127 centre),
// speed in thousandths (1000 normal; other speeds change the playback rate,
// and the pitch with it), loop non-zero to go on from the start at the end
// (an unlooped piece falls silent there until stopped). Playing again
// starts over from the beginning. Returns 0 when the stream plays, a
// negative value when it cannot: always so with the null digital driver.
int alogg_play_ex_ogg(ALOGG_OGG* ogg, int bufferLength, int volume, int pan, int speed, int loop);

// Refills the stream from the library's timer every intervalMs milliseconds.
// Returns 0 on success, a negative value when the stream is not playing.
int alogg_start_autopoll_ogg(ALOGG_OGG* ogg, int intervalMs);

// A playing stream's volume (0..255) from now on; nothing when it does not play.
void alogg_set_volume_ogg(ALOGG_OGG* ogg, int volume);

void alogg_stop_ogg(ALOGG_OGG* ogg);
void alogg_destroy_ogg(ALOGG_OGG* ogg);
