#include "music/alogg.h"

// Scaffolding: replaced by the music layer.
ALOGG_OGG* alogg_create_ogg_from_buffer(void*, int) { return nullptr; }
int alogg_play_ex_ogg(ALOGG_OGG*, int, int, int, int, int) { return -1; }
int alogg_start_autopoll_ogg(ALOGG_OGG*, int) { return -1; }
void alogg_stop_ogg(ALOGG_OGG*) {}
void alogg_destroy_ogg(ALOGG_OGG*) {}
