#ifndef ZENTROVA_SOUNDBANK_H
#define ZENTROVA_SOUNDBANK_H

#include <SDL_mixer.h>
#include <vector>

// A numbered list of short effects; a sound's id is its place in the list.
// The music bank holds the one looping piece instead.
class CSoundBank {
public:
    static CSoundBank SoundControl;  // the game's five effects
    static CSoundBank MusicControl;  // the music switch and the music

    CSoundBank() = default;
    CSoundBank(const CSoundBank&) = delete;
    CSoundBank& operator=(const CSoundBank&) = delete;

    int OnLoad(const char* file);
    // Keeps an id for a sound that failed to load, so later ids stay put.
    void addEmptySlot();
    void Play(int id);
    // A piece that will not load is reported and leaves the game silent.
    bool loadMusic(const char* file);
    // Loops the loaded piece while the switch is on.
    void playMusic();
    // Switching off also stops the music.
    void setSound(bool on);
    bool isEnabled() const { return enabled; }
    void OnCleanup();

    size_t size() const { return chunks.size(); }
    Mix_Chunk* chunkAt(size_t id) const { return id < chunks.size() ? chunks[id] : nullptr; }

private:
    bool enabled = true;
    std::vector<Mix_Chunk*> chunks;
    Mix_Music* music = nullptr;
};

#endif
