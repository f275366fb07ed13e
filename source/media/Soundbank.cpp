#include "Soundbank.h"

#include <cstdio>

CSoundBank CSoundBank::SoundControl;
CSoundBank CSoundBank::MusicControl;

namespace {

// The piece starts on echoes of its own end, so it fades in rather than
// starting on a click; later rounds of the loop play at full volume.
constexpr int musicFadeInMs = 2000;
constexpr int loopForever = -1;

}  // namespace

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

bool CSoundBank::loadMusic(const char* file) {
    Mix_Music* loaded = Mix_LoadMUS(file);
    if (!loaded) {
        fprintf(stderr, "Music not loaded from %s: %s", file, Mix_GetError());
        return false;
    }
    if (music) Mix_FreeMusic(music);
    music = loaded;
    printf("Loaded music %s\n", file);
    return true;
}

void CSoundBank::playMusic() {
    if (!enabled || !music || Mix_PlayingMusic()) return;
    Mix_FadeInMusic(music, loopForever, musicFadeInMs);
}

void CSoundBank::setSound(bool on) {
    enabled = on;
    if (!on && music) Mix_HaltMusic();
}

void CSoundBank::OnCleanup() {
    for (Mix_Chunk* chunk : chunks) {
        if (chunk) Mix_FreeChunk(chunk);
    }
    chunks.clear();
    if (music) {
        Mix_HaltMusic();
        Mix_FreeMusic(music);
        music = nullptr;
    }
}
