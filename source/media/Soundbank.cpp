#include "Soundbank.h"

#include <cstdio>

CSoundBank CSoundBank::SoundControl;
CSoundBank CSoundBank::MusicControl;

int CSoundBank::OnLoad(const char* file) {
    Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(file, "rb"), 1);
    if (!chunk) {
        puts("Sound Not Loaded!");
        return -1;
    }
    chunks.push_back(chunk);
    return static_cast<int>(chunks.size()) - 1;
}

void CSoundBank::addEmptySlot() { chunks.push_back(nullptr); }

void CSoundBank::Play(int id) {
    if (!enabled || id < 0 || static_cast<size_t>(id) >= chunks.size() || !chunks[id]) return;
    Mix_PlayChannelTimed(-1, chunks[id], 0, -1);
}

void CSoundBank::setSound(bool on) { enabled = on; }

void CSoundBank::OnCleanup() {
    for (Mix_Chunk* chunk : chunks) {
        if (chunk) Mix_FreeChunk(chunk);
    }
    chunks.clear();
}
