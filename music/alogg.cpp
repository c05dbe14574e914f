// built by the music layer
